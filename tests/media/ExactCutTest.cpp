// Exact cuts made from the media fixtures, read back with our own reader and
// held against the source's own samples.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <optional>
#include <tuple>

#include "MediaFixtures.h"
#include "base/Handles.h"
#include "media/ExactCut.h"
#include "media/FileError.h"
#include "media/FrameHeader.h"
#include "media/InfoFrame.h"
#include "media/LameCrc16.h"
#include "media/MediaFile.h"
#include "media/Mp3Reader.h"
#include "media/Mp3Stream.h"
#include "media/OutputFile.h"
#include "media/VbrHeader.h"
#include "support/WindowTesting.h"

using media::MakeCutExact;
using media::Mp3Index;
using media::Mp3Stream;
using media_test::Fixture;
using media_test::ReadBytes;
using media_test::ReadIndex;
using media_test::Samples;
using media_test::ScratchFile;

namespace {

// The system's codec rounds its sums by where a frame stands in a cycle of its
// own, so the same frames decoded after a different number of frames may differ
// by a few steps (a sample out of place would differ by hundreds here). The host's
// decoders, which the save tests use, agree to the bit or within one step.
constexpr int kCodecRounding = 4;

int LargestDifference(const std::vector<std::int16_t>& a, const std::vector<std::int16_t>& b) {
    int largest = 0;
    for (std::size_t i = 0; i < std::min(a.size(), b.size()); ++i) largest = std::max(largest, std::abs(a[i] - b[i]));
    return largest;
}

// Cuts [first, end) of `source` into a copy of `encoderCopy` and checks it with our reader.
void CheckCut(const std::wstring& source, std::uint64_t first, std::uint64_t end, const std::wstring& encoderCopy) {
    const Mp3Index index = ReadIndex(source);
    const double rate = index.format.sampleRate;
    ScratchFile copy(L"cut.mp3", ReadBytes(encoderCopy));
    const std::optional<double> seconds = MakeCutExact(source, copy.Path(), first / rate, (end - first) / rate);
    ASSERT_TRUE(seconds);

    const Mp3Index cut = ReadIndex(copy.Path());
    EXPECT_EQ(cut.PlayableSampleCount(), end - first);
    EXPECT_EQ(*seconds, static_cast<double>(cut.PlayableSampleCount()) / rate);  // as a reader of the copy finds it
    ASSERT_TRUE(cut.declaredFrames);
    EXPECT_EQ(*cut.declaredFrames, cut.FrameCount());
    EXPECT_GE(cut.encoderPadding, media::FrameHeader::kDecoderDelay);
    const auto theirs = Samples(source, first, end - first);
    const auto ours = Samples(copy.Path(), 0, end - first);
    ASSERT_EQ(ours.size(), theirs.size());
    EXPECT_LE(LargestDifference(ours, theirs), kCodecRounding);
}

struct Selection {
    const char* what;
    std::int64_t first;  // negative: counted back from the end of the audio
    std::int64_t length;
};

const Selection kSelections[] = {
    {"from the start", 0, 20000},         {"to the end", -15000, 15000},
    {"in the middle", 3456, 14567},       {"one sample", 12000, 1},
    {"across a frame's edge", 1100, 300}, {"on frame boundaries", 2 * 1152 - 576 - 529, 5 * 1152},
};

std::string Narrow(const std::wstring& text) { return std::string(text.begin(), text.end()); }

}  // namespace

// (The fixtures' encoder sums the first 190 bytes of every tag, right only for MPEG-1 stereo.)
TEST(LameCrc16, MatchesTheChecksumTheEncoderGaveItsTag) {
    for (const wchar_t* name : {L"cbr128_info.mp3", L"vbr_xing.mp3", L"cbr192_48k.mp3"}) {
        SCOPED_TRACE(Narrow(name));
        const Mp3Index index = ReadIndex(Fixture(name));
        const auto bytes = ReadBytes(Fixture(name));
        ASSERT_TRUE(index.infoFrame);
        const std::uint8_t* frame = bytes.data() + *index.infoFrame;
        auto header = media::FrameHeader::Parse(frame);
        auto vbr = media::VbrHeader::Read(*header, frame);
        ASSERT_TRUE(vbr && vbr->lameTag > 0);
        const int covered = vbr->lameTag + 34;
        EXPECT_EQ(media::LameCrc16(frame, covered), (frame[covered] << 8) | frame[covered + 1]);
        // Piece by piece, in odd pieces, it comes to the same.
        std::uint16_t crc = 0;
        for (int at = 0; at < covered; at += 13) crc = media::LameCrc16(frame + at, std::min(13, covered - at), crc);
        EXPECT_EQ(crc, media::LameCrc16(frame, covered));
    }
}

TEST(ExactCut, HoldsExactlyTheSelectedSamplesOfEveryKindOfSource) {
    for (const wchar_t* name : media_test::kStreams) {
        const std::uint64_t length = Mp3Stream(Fixture(name)).Length();
        for (const Selection& selection : kSelections) {
            SCOPED_TRACE(Narrow(name) + ", " + selection.what);
            const std::uint64_t first = selection.first < 0 ? length + selection.first : selection.first;
            CheckCut(Fixture(name), first, std::min<std::uint64_t>(length, first + selection.length), Fixture(name));
        }
    }
}

TEST(ExactCut, KeepsTheTagsTheEncoderWrote) {
    const auto before = ReadBytes(Fixture(L"id3_cover.mp3"));
    ScratchFile copy(L"cut.mp3", before);
    ASSERT_TRUE(MakeCutExact(Fixture(L"cbr128_info.mp3"), copy.Path(), 0.5, 1.25));
    const Mp3Index original = ReadIndex(Fixture(L"id3_cover.mp3"));
    const auto after = ReadBytes(copy.Path());
    const std::size_t tags = static_cast<std::size_t>(*original.infoFrame);
    ASSERT_GT(tags, 100000u);  // the title and the cover picture
    EXPECT_TRUE(std::equal(before.begin(), before.begin() + tags, after.begin()));
    const Mp3Index cut = ReadIndex(copy.Path());
    EXPECT_EQ(cut.title, L"Gr\u00fc\u00dfe vom Band");
    EXPECT_EQ(cut.PlayableSampleCount(), 55125u);
}

TEST(ExactCut, ACutOfACutIsExactAgain) {
    const std::wstring source = Fixture(L"vbr_xing.mp3");
    ScratchFile once(L"once.mp3", ReadBytes(source));
    ASSERT_TRUE(MakeCutExact(source, once.Path(), 10000 / 44100.0, 90000 / 44100.0));
    ScratchFile twice(L"twice.mp3", ReadBytes(once.Path()));
    ASSERT_TRUE(MakeCutExact(once.Path(), twice.Path(), 1234 / 44100.0, 50000 / 44100.0));
    EXPECT_EQ(ReadIndex(twice.Path()).PlayableSampleCount(), 50000u);
    EXPECT_LE(LargestDifference(Samples(twice.Path(), 0, 50000), Samples(source, 11234, 50000)), kCodecRounding);
}

TEST(ExactCut, AHundredCutsLeaveNoThreadOrHandleBehind) {
    const std::wstring source = Fixture(L"cbr128_info.mp3");
    ScratchFile copy(L"repeat.mp3", ReadBytes(source));
    ASSERT_TRUE(MakeCutExact(source, copy.Path(), 0.5, 1.25));  // sets up what the process keeps
    const std::size_t handles = testing_support::KernelHandles().size();
    const DWORD threads = testing_support::Threads();
    for (int i = 0; i < 100; ++i) ASSERT_TRUE(MakeCutExact(source, copy.Path(), 0.5, 1.25));
    EXPECT_EQ(testing_support::KernelHandles().size(), handles);
    EXPECT_EQ(testing_support::Threads(), threads);
    EXPECT_EQ(ReadIndex(copy.Path()).PlayableSampleCount(), 55125u);
}

TEST(ExactCut, TakesTheSourceIndexItIsGivenWhileTheFileKeepsItsSize) {
    const std::wstring source = Fixture(L"cbr128_info.mp3");
    auto cut = [&](const Mp3Index* sourceIndex) {
        ScratchFile copy(L"given.mp3", ReadBytes(source));
        EXPECT_TRUE(MakeCutExact(source, copy.Path(), 0.5, 1.25, sourceIndex));
        return ReadBytes(copy.Path());
    };
    const auto unaided = cut(nullptr);
    const Mp3Index index = ReadIndex(source);
    EXPECT_EQ(cut(&index), unaided);
    const Mp3Index other = ReadIndex(Fixture(L"vbr_xing.mp3"));  // another size: the file is read again
    ASSERT_NE(other.fileSize, index.fileSize);
    EXPECT_EQ(cut(&other), unaided);
    // An index of the same size is taken as it is: one without frames leaves nothing to cut.
    Mp3Index emptied = index;
    emptied.frameOffsets.clear();
    ScratchFile copy(L"given.mp3", ReadBytes(source));
    EXPECT_FALSE(MakeCutExact(source, copy.Path(), 0.5, 1.25, &emptied));
}

TEST(ExactCut, WritesALameTagThatChecksOut) {
    ScratchFile copy(L"cut.mp3", ReadBytes(Fixture(L"mpeg2_22k_mono.mp3")));
    ASSERT_TRUE(MakeCutExact(Fixture(L"mpeg2_22k_mono.mp3"), copy.Path(), 0.3, 1.1));
    const Mp3Index cut = ReadIndex(copy.Path());
    const auto bytes = ReadBytes(copy.Path());
    const std::uint8_t* frame = bytes.data() + *cut.infoFrame;
    auto header = media::FrameHeader::Parse(frame);
    auto vbr = media::VbrHeader::Read(*header, frame);
    ASSERT_TRUE(vbr && vbr->lameTag == 4 + 9 + 120);
    const std::uint8_t* tag = frame + vbr->lameTag;
    const auto source = ReadBytes(Fixture(L"mpeg2_22k_mono.mp3"));
    const std::uint8_t* sourceTag = source.data() + *ReadIndex(Fixture(L"mpeg2_22k_mono.mp3")).infoFrame + vbr->lameTag;
    EXPECT_TRUE(std::equal(tag, tag + 9, sourceTag));  // the encoder's name, kept
    EXPECT_EQ(media::LameCrc16(frame, vbr->lameTag + 34), (tag[34] << 8) | tag[35]);
    // The music's length and checksum: every byte from this frame to the last frame's end.
    const std::uint64_t end =
        cut.frameOffsets.back() + media::FrameHeader::Parse(bytes.data() + cut.frameOffsets.back())->frameSize;
    const std::uint32_t length = (tag[28] << 24) | (tag[29] << 16) | (tag[30] << 8) | tag[31];
    EXPECT_EQ(length, end - *cut.infoFrame);
    const std::size_t music = static_cast<std::size_t>(cut.frameOffsets.front());
    EXPECT_EQ(media::LameCrc16(bytes.data() + music, static_cast<std::size_t>(end) - music), (tag[32] << 8) | tag[33]);
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(frame + 4 + 9), 4), "Xing");
}

TEST(ExactCut, LeavesTheCopyAsItWasWhenItCannotBeExact) {
    const auto source = ReadBytes(Fixture(L"cbr128_info.mp3"));
    const Mp3Index index = ReadIndex(Fixture(L"cbr128_info.mp3"));
    // Foreign bytes between two frames inside the selection.
    auto damaged = source;
    damaged.insert(damaged.begin() + static_cast<std::ptrdiff_t>(index.frameOffsets[50]), 300, 0x55);
    ScratchFile damagedSource(L"damaged.mp3", damaged);
    ScratchFile text(L"text.mp3", ReadBytes(Fixture(L"text.mp3")));
    const auto before = ReadBytes(Fixture(L"id3_cover.mp3"));
    ScratchFile copy(L"cut.mp3", before);
    EXPECT_FALSE(MakeCutExact(damagedSource.Path(), copy.Path(), 1.0, 1.0));
    EXPECT_FALSE(MakeCutExact(Fixture(L"cbr128_info.mp3"), copy.Path(), 3.5, 1.0));  // beyond the end
    EXPECT_FALSE(MakeCutExact(text.Path(), copy.Path(), 1.0, 1.0));
    EXPECT_FALSE(MakeCutExact(Fixture(L"missing.mp3"), copy.Path(), 1.0, 1.0));
    EXPECT_EQ(ReadBytes(copy.Path()), before);
    // Before and after the damage the cut is exact.
    EXPECT_TRUE(MakeCutExact(damagedSource.Path(), copy.Path(), 0.1, 1.0));
}

TEST(ExactCut, SilencesFramesWhoseReservoirTheSourceLacks) {
    // A frame-snapped copy from the middle: its first frame reads main data it does not have.
    const auto whole = ReadBytes(Fixture(L"cbr128_noinfo.mp3"));
    const Mp3Index wholeIndex = ReadIndex(Fixture(L"cbr128_noinfo.mp3"));
    ScratchFile snapped(L"snapped.mp3",
                        {whole.begin() + static_cast<std::ptrdiff_t>(wholeIndex.frameOffsets[20]), whole.end()});
    const auto bytes = ReadBytes(snapped.Path());
    ASSERT_GT(media::FrameHeader::Parse(bytes.data())->MainDataBegin(bytes.data()), 0);

    ScratchFile copy(L"cut.mp3", bytes);
    ASSERT_TRUE(MakeCutExact(snapped.Path(), copy.Path(), 0, 20000 / 44100.0));
    const Mp3Index cut = ReadIndex(copy.Path());
    EXPECT_EQ(cut.PlayableSampleCount(), 20000u);
    const auto written = ReadBytes(copy.Path());
    const std::uint8_t* first = written.data() + cut.frameOffsets.front();
    EXPECT_TRUE(std::all_of(first + 4, first + 4 + 32, [](std::uint8_t b) { return b == 0; }));  // no side information
    // A few frames after the silent ones the audio is what the frames hold: the
    // whole file's from where the snapped copy began.
    const auto ours = Samples(copy.Path(), 5 * 1152, 20000 - 5 * 1152);
    EXPECT_LE(LargestDifference(ours, Samples(Fixture(L"cbr128_noinfo.mp3"), 25 * 1152, 20000 - 5 * 1152)),
              kCodecRounding);
    EXPECT_EQ(ours.size(), 2u * (20000 - 5 * 1152));
}

TEST(ExactCut, TakesSelectionTimesToTheNearestSample) {
    EXPECT_EQ(media::SelectionSamples(1.0, 2.0, 44100).first, 44100u);
    EXPECT_EQ(media::SelectionSamples(1.0, 2.0, 44100).end, 3 * 44100u);
    EXPECT_EQ(media::SelectionSamples(12345 / 44100.0, 1 / 44100.0, 44100).end, 12346u);
    EXPECT_EQ(media::SelectionSamples(0.5 / 8000, 2.5 / 8000, 8000).first, 0u);  // halves to even
    EXPECT_EQ(media::SelectionSamples(1.5 / 8000, 2.5 / 8000, 8000).end, 4u);
    EXPECT_EQ(media::SelectionSamples(-1, 1, 8000).end, 8000u);
}

TEST(Mp3Stream, ASingleFramePlaysTheLengthItReports) {
    const auto source = ReadBytes(Fixture(L"cbr128_noinfo.mp3"));
    const Mp3Index index = ReadIndex(Fixture(L"cbr128_noinfo.mp3"));
    std::vector<std::uint8_t> one(source.begin() + static_cast<std::ptrdiff_t>(index.frameOffsets[10]),
                                  source.begin() + static_cast<std::ptrdiff_t>(index.frameOffsets[11]));
    ScratchFile file(L"one.mp3", one);
    Mp3Stream stream(file.Path());
    EXPECT_EQ(stream.Length(), 1152u - 529u);
    const auto pcm = Samples(file.Path(), 0, stream.Length());
    EXPECT_EQ(pcm.size(), 2 * stream.Length());
    EXPECT_NE(std::count(pcm.begin(), pcm.end(), 0), static_cast<std::ptrdiff_t>(pcm.size()));
}

TEST(ExactCut, FinishesCopiesWhoseTagsDifferInSizeFromTheSourcesInPlace) {
    using testing_support::Bytes;
    const std::wstring source = Fixture(L"cbr128_info.mp3");
    const Bytes bytes = ReadBytes(source);
    const auto frames = ReadIndex(source).frameOffsets;
    auto join = [&](Bytes leading, std::size_t first, std::size_t last, const Bytes& trailing) {
        leading.insert(leading.end(), bytes.begin() + static_cast<std::ptrdiff_t>(frames[first]),
                       bytes.begin() + static_cast<std::ptrdiff_t>(frames[last]));
        leading.insert(leading.end(), trailing.begin(), trailing.end());
        return leading;
    };
    ScratchFile bare(L"bare.mp3", join({}, 0, 2, {}));  // the exact audio alone
    ASSERT_TRUE(MakeCutExact(source, bare.Path(), 0.5, 1.25));
    Bytes smallTag = testing_support::Id3Header(10);
    smallTag.resize(20);
    Bytes largeTag = testing_support::Id3Header(200000);
    largeTag.resize(200010);
    Bytes apeAndId3v1 = {'A', 'P', 'E', 'T', 'A', 'G', 'E', 'X', 0xD0, 0x07, 0, 0, 32, 0, 0, 0};
    apeAndId3v1.resize(32);
    apeAndId3v1.insert(apeAndId3v1.end(), {'T', 'A', 'G'});
    apeAndId3v1.resize(160, 'x');
    // The encoder's audio shorter, then longer than the exact audio.
    for (const auto& [leading, first, last] : {std::tuple{smallTag, 40, 42}, std::tuple{largeTag, 0, 100}}) {
        ScratchFile copy(L"copy.mp3", join(leading, first, last, apeAndId3v1));
        ASSERT_TRUE(MakeCutExact(source, copy.Path(), 0.5, 1.25));
        Bytes expected = leading;
        const Bytes audio = ReadBytes(bare.Path());
        expected.insert(expected.end(), audio.begin(), audio.end());
        expected.insert(expected.end(), apeAndId3v1.begin(), apeAndId3v1.end());
        EXPECT_TRUE(ReadBytes(copy.Path()) == expected) << leading.size();
    }
}

TEST(ExactCut, ReadsTheSourceAgainWhenItWasRewrittenToTheSameSize) {
    const auto original = ReadBytes(Fixture(L"cbr128_info.mp3"));
    auto cut = [&](const std::wstring& source, const Mp3Index* sourceIndex) {
        ScratchFile copy(L"copy.mp3", original);
        EXPECT_TRUE(MakeCutExact(source, copy.Path(), 0.5, 1.25, sourceIndex));
        return ReadBytes(copy.Path());
    };
    auto withId3v1 = original;
    withId3v1.insert(withId3v1.end(), {'T', 'A', 'G'});
    withId3v1.resize(original.size() + 128, 'x');
    ScratchFile source(L"song.mp3", withId3v1);
    const Mp3Index before = ReadIndex(source.Path());
    // As a tag editor does: the ID3v1 tag's bytes go to a new tag in front, and the frames move.
    auto moved = testing_support::Id3Header(118);
    moved.resize(128, 0);
    moved.insert(moved.end(), original.begin(), original.end());
    base::KernelHandle file(
        ::CreateFileW(source.Path().c_str(), GENERIC_WRITE, 0, nullptr, TRUNCATE_EXISTING, 0, nullptr));
    DWORD written = 0;
    ASSERT_TRUE(::WriteFile(file.Get(), moved.data(), static_cast<DWORD>(moved.size()), &written, nullptr));
    file.Reset();
    const Mp3Index after = ReadIndex(source.Path());
    ASSERT_EQ(after.fileSize, before.fileSize);
    ASSERT_NE(after.frameOffsets.front(), before.frameOffsets.front());
    ASSERT_NE(after.lastWriteTime, before.lastWriteTime);
    EXPECT_EQ(cut(source.Path(), &before), cut(source.Path(), nullptr));
}

// A system that takes none of what it is given to write: the save fails instead of
// asking it for ever; one that takes a little at a time gets all of it.
TEST(OutputFile, AWriteThatMakesNoProgressFailsInsteadOfLoopingForEver) {
    const std::vector<std::uint8_t> bytes(1000, 7);
    std::vector<std::uint8_t> taken;
    media::WriteInFull(bytes.data(), bytes.size(), [&](const std::uint8_t* part, std::size_t size) {
        const std::size_t some = std::min<std::size_t>(size, 300);
        taken.insert(taken.end(), part, part + some);
        return some;
    });
    EXPECT_EQ(taken, bytes);
    int calls = 0;
    EXPECT_THROW(media::WriteInFull(bytes.data(), bytes.size(),
                                    [&](const std::uint8_t*, std::size_t size) { return ++calls < 3 ? size / 4 : 0; }),
                 media::FileError);
    EXPECT_EQ(calls, 3);
}

TEST(ExactCut, ASelectionInAMonoPartOfAJoinedFileSavesExactlyAsAMonoFile) {
    const std::wstring source = Fixture(L"joined_channels.mp3");
    const Mp3Index index = ReadIndex(source);
    ASSERT_EQ(index.channelChanges.size(), 1u);
    const std::uint64_t first = index.channelChanges[0] * 1152 + 10000;
    const std::uint64_t end = first + 30000;
    ScratchFile copy(L"cut.mp3", ReadBytes(source));
    ASSERT_TRUE(MakeCutExact(source, copy.Path(), first / 44100.0, (end - first) / 44100.0));

    const Mp3Index cut = ReadIndex(copy.Path());
    EXPECT_EQ(cut.format.channels, 1);
    EXPECT_TRUE(cut.channelChanges.empty());
    EXPECT_EQ(cut.PlayableSampleCount(), end - first);
    // The source plays the part on both channels alike.
    const auto both = Samples(source, first, end - first);
    std::vector<std::int16_t> theirs;
    for (std::size_t i = 0; i < both.size(); i += 2) theirs.push_back(both[i]);
    const auto ours = Samples(copy.Path(), 0, end - first);
    ASSERT_EQ(ours.size(), theirs.size());
    EXPECT_LE(LargestDifference(ours, theirs), kCodecRounding);
}

