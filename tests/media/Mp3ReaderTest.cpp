#include <gtest/gtest.h>

#include <cstring>
#include <string_view>

#include "MediaFixtures.h"
#include "media/MediaError.h"
#include "media/MediaFile.h"
#include "media/Mp3Reader.h"
#include "support/BadMp3.h"
#include "support/WindowTesting.h"

using media::MediaError;
using media::MediaFile;
using media::Mp3Index;
using media::Mp3Reader;
using media::MpegVersion;
using media_test::Fixture;
using media_test::ReadBytes;
using media_test::ScratchFile;
using namespace testing_support;

namespace {

Mp3Index ReadIndex(const std::wstring& path) {
    MediaFile file(path);
    return Mp3Reader(file).Read();
}

std::wstring ReasonFor(const std::wstring& path) {
    try {
        ReadIndex(path);
    } catch (const MediaError& error) {
        return error.Reason();
    }
    return L"";
}

struct Expected {
    const wchar_t* name;
    std::uint64_t frames;
    int rate;
    int channels;
    MpegVersion version;
    bool declared;
};

// Frame counts as ffprobe counts the packets of each file.
const Expected kFixtures[] = {
    {L"cbr128_info.mp3", 116, 44100, 2, MpegVersion::Mpeg1, true},
    {L"cbr128_noinfo.mp3", 116, 44100, 2, MpegVersion::Mpeg1, false},
    {L"vbr_xing.mp3", 116, 44100, 2, MpegVersion::Mpeg1, true},
    {L"vbr_noxing.mp3", 116, 44100, 2, MpegVersion::Mpeg1, false},
    {L"cbr192_48k.mp3", 126, 48000, 2, MpegVersion::Mpeg1, true},
    {L"mpeg2_22k_mono.mp3", 117, 22050, 1, MpegVersion::Mpeg2, true},
    {L"mpeg2_8kbps.mp3", 117, 22050, 1, MpegVersion::Mpeg2, true},
    {L"mpeg25_8k_mono.mp3", 44, 8000, 1, MpegVersion::Mpeg25, true},
    {L"tone440.mp3", 193, 44100, 2, MpegVersion::Mpeg1, true},
    {L"id3_cover.mp3", 116, 44100, 2, MpegVersion::Mpeg1, true},
};

}  // namespace

TEST(Mp3Reader, CountsEveryFrameAndTakesTheDurationFromThem) {
    for (const Expected& expected : kFixtures) {
        SCOPED_TRACE(::testing::Message() << std::string(expected.name, expected.name + wcslen(expected.name)));
        Mp3Index index = ReadIndex(Fixture(expected.name));
        EXPECT_EQ(index.FrameCount(), expected.frames);
        EXPECT_EQ(index.format.sampleRate, expected.rate);
        EXPECT_EQ(index.format.channels, expected.channels);
        EXPECT_EQ(index.format.version, expected.version);
        int samples = expected.version == MpegVersion::Mpeg1 ? 1152 : 576;
        EXPECT_DOUBLE_EQ(index.Duration(), static_cast<double>(expected.frames) * samples / expected.rate);
        EXPECT_EQ(index.declaredFrames.has_value(), expected.declared);
        // The information frame counts the frames after it only.
        if (index.declaredFrames) {
            EXPECT_EQ(*index.declaredFrames, expected.frames);
        }
    }
}

TEST(Mp3Reader, ReadsTheEncoderDelayAndPaddingFromTheLameTag) {
    Mp3Index index = ReadIndex(Fixture(L"cbr128_info.mp3"));
    EXPECT_EQ(index.encoderDelay, 576);
    EXPECT_EQ(index.encoderPadding, 756);
    // Three seconds of audio were encoded.
    EXPECT_EQ(index.AudioSampleCount(), 3u * 44100u);

    Mp3Index plain = ReadIndex(Fixture(L"cbr128_noinfo.mp3"));
    EXPECT_EQ(plain.encoderDelay, 0);
    EXPECT_EQ(plain.AudioSampleCount(), plain.SampleCount());
}

TEST(Mp3Reader, FramesFollowEachOtherFromTheFirstOneAfterTheInformationFrame) {
    Mp3Index index = ReadIndex(Fixture(L"cbr128_info.mp3"));
    std::vector<std::uint8_t> bytes = ReadBytes(Fixture(L"cbr128_info.mp3"));
    ASSERT_FALSE(index.frameOffsets.empty());
    // After the ID3 tag (which holds the encoder's version) and the Info frame.
    EXPECT_EQ(index.frameOffsets[0], FrameStarts(bytes).at(1));
    for (std::size_t i = 0; i + 1 < index.frameOffsets.size(); ++i) {
        auto header = media::FrameHeader::Parse(bytes.data() + index.frameOffsets[i]);
        ASSERT_TRUE(header);
        EXPECT_EQ(index.frameOffsets[i] + header->frameSize, index.frameOffsets[i + 1]);
    }
}

TEST(Mp3Reader, SkipsALargeId3TagWithACoverAndReadsItsTitle) {
    Mp3Index index = ReadIndex(Fixture(L"id3_cover.mp3"));
    EXPECT_GT(index.frameOffsets.front(), 100000u);
    EXPECT_EQ(index.title, L"Gr\u00fc\u00dfe vom Band");
    EXPECT_EQ(ReadIndex(Fixture(L"cbr128_info.mp3")).title, L"");
}

TEST(Mp3Reader, ReadsAFileWithAJapaneseName) {
    EXPECT_EQ(ReadIndex(Fixture(L"\u65e5\u672c\u8a9e.mp3")).FrameCount(), 193u);
}

TEST(Mp3Reader, KeepsTheWholeFramesOfATruncatedFile) {
    // 20000 bytes hold the Info frame and 46 whole frames; the 47th is cut.
    EXPECT_EQ(ReadIndex(Fixture(L"truncated.mp3")).FrameCount(), 46u);
}

TEST(Mp3Reader, RefusesFilesWithoutPlayableAudio) {
    EXPECT_EQ(ReasonFor(Fixture(L"empty.mp3")), L"The file is empty.");
    EXPECT_NE(ReasonFor(Fixture(L"text.mp3")).find(L"not an MP3 file"), std::wstring::npos);
    EXPECT_NE(ReasonFor(Fixture(L"truncated_in_tag.mp3")).find(L"cut short"), std::wstring::npos);
}

TEST(Mp3Reader, GivesTheSystemsReasonForFilesThatCannotBeOpened) {
    EXPECT_NE(ReasonFor(Fixture(L"no such file.mp3")), L"");

    ScratchFile locked(L"locked.mp3", ReadBytes(Fixture(L"cbr128_info.mp3")));
    base::KernelHandle exclusive(
        ::CreateFileW(locked.Path().c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr));
    ASSERT_TRUE(exclusive);
    std::wstring reason = ReasonFor(locked.Path());
    EXPECT_NE(reason, L"");
    EXPECT_EQ(reason.find(L"MP3"), std::wstring::npos);  // the system's words, not ours
}

namespace {

std::vector<std::uint8_t> Syncsafe(std::uint32_t size) {
    return {static_cast<std::uint8_t>((size >> 21) & 0x7F), static_cast<std::uint8_t>((size >> 14) & 0x7F),
            static_cast<std::uint8_t>((size >> 7) & 0x7F), static_cast<std::uint8_t>(size & 0x7F)};
}

void Append(std::vector<std::uint8_t>& to, const std::vector<std::uint8_t>& bytes) {
    to.insert(to.end(), bytes.begin(), bytes.end());
}

void Append(std::vector<std::uint8_t>& to, const char* text, std::size_t size) {
    to.insert(to.end(), text, text + size);
}

// An ID3v2.4 tag with a footer whose body holds a UTF-8 title and padding full
// of what looks like frame headers.
std::vector<std::uint8_t> Id3v24TagWithFooter() {
    std::vector<std::uint8_t> frames;
    const char title[] = "\x03Tokyo \xe6\x9d\xb1\xe4\xba\xac";
    Append(frames, "TIT2", 4);
    Append(frames, Syncsafe(sizeof title - 1));
    Append(frames, {0, 0});
    Append(frames, title, sizeof title - 1);
    std::vector<std::uint8_t> padding(300, 0);
    for (std::size_t i = 10; i + 4 < padding.size(); i += 40) {
        padding[i] = 0xFF;
        padding[i + 1] = 0xFB;
        padding[i + 2] = 0x90;
    }
    Append(frames, padding);

    std::vector<std::uint8_t> tag;
    Append(tag, "ID3", 3);
    Append(tag, {4, 0, 0x10});
    Append(tag, Syncsafe(static_cast<std::uint32_t>(frames.size())));
    Append(tag, frames);
    Append(tag, "3DI", 3);
    Append(tag, {4, 0, 0x10});
    Append(tag, Syncsafe(static_cast<std::uint32_t>(frames.size())));
    return tag;
}

std::vector<std::uint8_t> ApeTagWithHeader() {
    std::vector<std::uint8_t> item;
    Append(item, {5, 0, 0, 0, 0, 0, 0, 0});
    Append(item, "Title\0\xff\xfb\x90\x00\x00", 11);
    auto block = [&](std::uint32_t flags) {
        std::vector<std::uint8_t> b;
        Append(b, "APETAGEX", 8);
        Append(b, {0xD0, 0x07, 0, 0});
        std::uint32_t size = static_cast<std::uint32_t>(item.size() + 32);
        Append(b, {static_cast<std::uint8_t>(size), static_cast<std::uint8_t>(size >> 8), 0, 0});
        Append(b, {1, 0, 0, 0});
        Append(b, {0, 0, 0, static_cast<std::uint8_t>(flags >> 24)});
        Append(b, std::vector<std::uint8_t>(8, 0));
        return b;
    };
    std::vector<std::uint8_t> tag = block(0xA0000000u);
    Append(tag, item);
    Append(tag, block(0x80000000u));
    return tag;
}

std::vector<std::uint8_t> Id3v1Tag() {
    std::vector<std::uint8_t> tag(128, 0xFF);
    std::memcpy(tag.data(), "TAG", 3);
    return tag;
}

}  // namespace

TEST(Mp3Reader, SkipsAnId3v24TagWithAFooterAndTagsAtTheEnd) {
    std::vector<std::uint8_t> audio = ReadBytes(Fixture(L"cbr128_noinfo.mp3"));
    Mp3Index plain = ReadIndex(Fixture(L"cbr128_noinfo.mp3"));
    std::uint64_t plainStart = plain.frameOffsets.front();

    std::vector<std::uint8_t> tag = Id3v24TagWithFooter();
    std::vector<std::uint8_t> bytes = tag;
    bytes.insert(bytes.end(), audio.begin() + static_cast<std::ptrdiff_t>(plainStart), audio.end());
    Append(bytes, ApeTagWithHeader());
    Append(bytes, Id3v1Tag());
    ScratchFile file(L"tagged.mp3", bytes);

    Mp3Index index = ReadIndex(file.Path());
    EXPECT_EQ(index.FrameCount(), 116u);
    EXPECT_EQ(index.frameOffsets.front(), tag.size());
    EXPECT_EQ(index.audioEnd, tag.size() + audio.size() - plainStart);
    EXPECT_EQ(index.title, L"Tokyo \u6771\u4eac");
}

TEST(Mp3Reader, SkipsDamagedAndFreeFormatDataToTheNextGoodFrame) {
    std::vector<std::uint8_t> audio = ReadBytes(Fixture(L"cbr128_noinfo.mp3"));
    Mp3Index plain = ReadIndex(Fixture(L"cbr128_noinfo.mp3"));
    std::size_t cut = static_cast<std::size_t>(plain.frameOffsets[50]);

    // Noise with sync bytes in it, then a free-format frame (bitrate index 0) of 300 bytes.
    std::vector<std::uint8_t> damage(1000);
    std::uint32_t seed = 12345;
    for (auto& b : damage) {
        seed = seed * 1103515245u + 12345u;
        b = static_cast<std::uint8_t>(seed >> 16);
    }
    for (std::size_t i = 0; i + 4 < damage.size(); i += 97) {
        damage[i] = 0xFF;
        damage[i + 1] = 0xFB;
    }
    std::vector<std::uint8_t> freeFormat(300, 0x55);
    freeFormat[0] = 0xFF;
    freeFormat[1] = 0xFB;
    freeFormat[2] = 0x00;
    freeFormat[3] = 0x44;

    std::vector<std::uint8_t> bytes(audio.begin(), audio.begin() + static_cast<std::ptrdiff_t>(cut));
    Append(bytes, damage);
    Append(bytes, freeFormat);
    bytes.insert(bytes.end(), audio.begin() + static_cast<std::ptrdiff_t>(cut), audio.end());
    ScratchFile file(L"damaged.mp3", bytes);

    Mp3Index index = ReadIndex(file.Path());
    ASSERT_EQ(index.FrameCount(), 116u);
    EXPECT_EQ(index.frameOffsets[49], plain.frameOffsets[49]);
    EXPECT_EQ(index.frameOffsets[50], plain.frameOffsets[50] + damage.size() + freeFormat.size());
}

TEST(Mp3Reader, LeavesAVbriFrameOutOfTheIndex) {
    std::vector<std::uint8_t> audio = ReadBytes(Fixture(L"cbr128_noinfo.mp3"));
    Mp3Index plain = ReadIndex(Fixture(L"cbr128_noinfo.mp3"));
    std::size_t start = static_cast<std::size_t>(plain.frameOffsets[0]);
    std::size_t size = static_cast<std::size_t>(plain.frameOffsets[1] - plain.frameOffsets[0]);

    std::vector<std::uint8_t> vbri(audio.begin() + static_cast<std::ptrdiff_t>(start),
                                   audio.begin() + static_cast<std::ptrdiff_t>(start + size));
    std::fill(vbri.begin() + 4, vbri.end(), 0);
    std::memcpy(vbri.data() + 36, "VBRI", 4);
    vbri[36 + 17] = 116;  // frame count, big-endian, at byte 14 of the header
    std::vector<std::uint8_t> bytes(audio.begin(), audio.begin() + static_cast<std::ptrdiff_t>(start));
    Append(bytes, vbri);
    bytes.insert(bytes.end(), audio.begin() + static_cast<std::ptrdiff_t>(start), audio.end());
    ScratchFile file(L"vbri.mp3", bytes);

    Mp3Index index = ReadIndex(file.Path());
    EXPECT_EQ(index.FrameCount(), 116u);
    ASSERT_TRUE(index.declaredFrames);
    EXPECT_EQ(*index.declaredFrames, 116u);
    EXPECT_EQ(index.frameOffsets.front(), start + size);
}

namespace {

struct BadFile {
    const char* what;
    const wchar_t* fixture;
    Bytes (*make)(const Bytes& mp3);
    std::uint64_t frames;  // the frames that play; 0: the file is refused
};

constexpr std::size_t kPicture = 1536000;  // a tag body of about 1.5 MB

// Where ffprobe (5.1) reads the file, it counts these frames and a few false ones in
// the damage; it refuses the damaged VBR file, whose every good header is counted here.
const BadFile kBadFiles[] = {
    {"every other frame header damaged", L"tone440.mp3", EveryOtherHeaderDamaged, 97},
    {"every other frame header of a VBR stream damaged", L"vbr_xing.mp3", EveryOtherHeaderDamaged, 58},
    {"an APE footer without header whose size reaches into the audio", L"tone440.mp3",
     [](const Bytes& mp3) {
         return WithApeFooterClaiming(mp3, static_cast<std::uint32_t>(mp3.size() - FrameStarts(mp3)[97]));
     },
     193},
    {"an empty ID3 header between every two frames", L"tone440.mp3", TagBetweenEveryTwoFrames, 193},
    {"an ID3 header after frame 20 whose size runs past the end", L"tone440.mp3",
     [](const Bytes& mp3) { return BogusTagBefore(mp3, 21, 0x0FFFFFFF); }, 193},
    {"an ID3 header after frame 20 whose size ends inside a frame", L"tone440.mp3",
     [](const Bytes& mp3) { return BogusTagBefore(mp3, 21, 5000); }, 193},
    {"an ID3 header after frame 20 whose size ends where a later frame starts", L"tone440.mp3",
     [](const Bytes& mp3) {
         std::vector<std::size_t> starts = FrameStarts(mp3);
         return BogusTagBefore(mp3, 21, static_cast<std::uint32_t>(starts[121] - starts[21]));
     },
     193},
    {"a leading tag that declares too small a size", L"cbr128_noinfo.mp3",
     [](const Bytes& mp3) { return AfterPictureTag(mp3, kPicture, 20, false); }, 116},
    {"a leading tag whose size is a plain number", L"cbr128_noinfo.mp3",
     [](const Bytes& mp3) { return AfterPictureTag(mp3, kPicture, PictureTagBodySize(kPicture), true); }, 116},
    {"a leading tag whose plain size has bytes no syncsafe number has", L"cbr128_noinfo.mp3",
     [](const Bytes& mp3) { return AfterPictureTag(mp3, kPicture + 4000, PictureTagBodySize(kPicture + 4000), true); },
     116},
    {"1.2 MB of zero padding after a tag", L"cbr128_noinfo.mp3",
     [](const Bytes& mp3) { return AfterPictureTag(mp3, 1000, PictureTagBodySize(1000), false, 1200000); }, 116},
    {"1.2 MB of zeros before the audio", L"cbr128_noinfo.mp3",
     [](const Bytes& mp3) {
         Bytes out(1200000, 0);
         out.insert(out.end(), mp3.begin(), mp3.end());
         return out;
     },
     116},
    {"100,000 empty ID3 headers before the audio", L"cbr128_info.mp3",
     [](const Bytes& mp3) {
         Bytes out;
         for (int i = 0; i < 100000; ++i) Append(out, Id3Header(0));
         out.insert(out.end(), mp3.begin(), mp3.end());
         return out;
     },
     116},
    {"1.5 MB of foreign bytes before the audio", L"cbr128_noinfo.mp3",
     [](const Bytes& mp3) {
         Bytes out = Noise(3 << 19, true);
         out.insert(out.end(), mp3.begin(), mp3.end());
         return out;
     },
     0},
};

}  // namespace

TEST(Mp3Reader, KeepsEveryFrameOfDamagedFilesThatACarefulDecoderKeeps) {
    for (const BadFile& bad : kBadFiles) {
        SCOPED_TRACE(bad.what);
        ScratchFile file(L"bad.mp3", bad.make(ReadBytes(Fixture(bad.fixture))));
        if (bad.frames == 0) {
            EXPECT_NE(ReasonFor(file.Path()).find(L"not an MP3 file"), std::wstring::npos);
            continue;
        }
        Mp3Index index;
        try {
            index = ReadIndex(file.Path());
        } catch (const MediaError& error) {
            ADD_FAILURE() << "refused: " << std::string(error.Reason().begin(), error.Reason().end());
            continue;
        }
        EXPECT_EQ(index.FrameCount(), bad.frames);
        // Every frame kept is a whole frame of the stream.
        std::vector<std::uint8_t> bytes = ReadBytes(file.Path());
        for (std::uint64_t offset : index.frameOffsets) {
            auto header = media::FrameHeader::Parse(bytes.data() + offset);
            ASSERT_TRUE(header) << offset;
            ASSERT_TRUE(header->SameStreamAs(index.format));
            ASSERT_LE(offset + header->frameSize, bytes.size());
        }
    }
}

TEST(Mp3Reader, ReadsFilesJoinedEndToEndAsOne) {
    // Its parts hold 41 and 79 frames, each an information frame first.
    Mp3Index joined = ReadIndex(Fixture(L"joined.mp3"));
    EXPECT_EQ(joined.FrameCount(), 40u + 78u);
    EXPECT_EQ(joined.title, L"Part one");
    EXPECT_FALSE(joined.otherFormat);
    // The first part's padding lies mid-file: the delay alone is left out.
    EXPECT_EQ(joined.AudioSampleCount(), joined.SampleCount() - 576);
    const Bytes bytes = ReadBytes(Fixture(L"joined.mp3"));
    const std::size_t secondInfo =
        std::string_view(reinterpret_cast<const char*>(bytes.data()), bytes.size()).find("Xing");
    ASSERT_NE(secondInfo, std::string_view::npos);
    for (std::uint64_t offset : joined.frameOffsets) {
        auto header = media::FrameHeader::Parse(bytes.data() + offset);
        ASSERT_TRUE(header && header->SameStreamAs(joined.format)) << offset;
        EXPECT_FALSE(offset < secondInfo && secondInfo < offset + header->frameSize) << "the second part's Xing frame";
    }

    // A part with another channel count is taken, its own information frame left out.
    Mp3Index channels = ReadIndex(Fixture(L"joined_channels.mp3"));
    const Mp3Index stereo = ReadIndex(Fixture(L"part_stereo.mp3"));
    const Mp3Index mono = ReadIndex(Fixture(L"part_mono.mp3"));
    EXPECT_FALSE(channels.otherFormat);
    EXPECT_EQ(channels.FrameCount(), stereo.FrameCount() + mono.FrameCount());
    EXPECT_EQ(channels.channelChanges, std::vector<std::uint64_t>{stereo.FrameCount()});
    EXPECT_EQ(channels.ChannelsOf(stereo.FrameCount() - 1), 2);
    EXPECT_EQ(channels.ChannelsOf(stereo.FrameCount()), 1);
    EXPECT_EQ(channels.RunEnd(0), stereo.FrameCount());
    EXPECT_EQ(channels.RunStart(channels.FrameCount() - 1), stereo.FrameCount());

    Mp3Index formats = ReadIndex(Fixture(L"joined_formats.mp3"));
    EXPECT_EQ(formats.FrameCount(), 40u);
    ASSERT_TRUE(formats.otherFormat);
    EXPECT_EQ(formats.otherFormat->sampleRate, 22050);
    EXPECT_EQ(formats.otherFormat->channels, 1);
    EXPECT_EQ(formats.framesBeforeOtherFormat, 40u);
}

TEST(Mp3Reader, AnswersAtOnceForAHugeFileWithoutAudioWhereItMustBegin) {
    SparseFile zeros(L"zeros.mp3", {}, 8ull << 30);
    EXPECT_NE(ReasonFor(zeros.Path()).find(L"not an MP3 file"), std::wstring::npos);
    SparseFile tagged(L"tagged.mp3", Id3Header(100), 8ull << 30);
    EXPECT_NE(ReasonFor(tagged.Path()).find(L"not an MP3 file"), std::wstring::npos);
}

TEST(Mp3Reader, GrowsTheFrameListByTheFramesFound) {
    // The smallest frame there is (MPEG-2, 8 kbit/s, 24 kHz: 24 bytes).
    Bytes frame(24, 0);
    frame[0] = 0xFF;
    frame[1] = 0xF3;
    frame[2] = 0x14;
    frame[3] = 0xC0;
    auto frames = [&](std::size_t count) {
        Bytes bytes;
        for (std::size_t i = 0; i < count; ++i) Append(bytes, frame);
        return bytes;
    };
    // The list takes 8 bytes a frame and at most half a block (256 KB) of room more:
    // a file of tiny frames just past a power of two does not double it.
    const std::size_t justPast = (std::size_t{1} << 17) + 1000;
    const struct {
        const wchar_t* name;
        Bytes head;
        std::uint64_t size;
        Bytes tail;
        std::uint64_t frames;
    } cases[] = {
        {L"hole.mp3", frames(2), 64 << 20, frames(2), 4},  // two, a 64 MB hole, two more
        {L"tiny.mp3", frames(justPast), justPast * 24, {}, justPast},
    };
    for (const auto& c : cases) {
        SparseFile file(c.name, c.head, c.size, c.tail);
        Mp3Index index = ReadIndex(file.Path());
        EXPECT_EQ(index.FrameCount(), c.frames);
        EXPECT_LE(index.frameOffsets.Bytes(), c.frames * 8 + 257 * 1024);
        for (std::size_t i = 0; i + 1 < c.frames; i += 4099)
            EXPECT_EQ(index.frameOffsets[i], i < c.head.size() / 24 ? i * 24 : c.size - (c.frames - i) * 24) << i;
    }
}

// LAME writes the information frame of a protected stream with its signature
// where it would be without the checksum; the host's decoders find it there.
TEST(Mp3Reader, FindsTheLameTagOfAProtectedStreamWhereLameWritesIt) {
    for (const wchar_t* name : {L"exact\\crc-stereo.mp3", L"exact\\crc-mpeg2.mp3"}) {
        const Mp3Index index = ReadIndex(testing_support::FixturePath(name));
        ASSERT_TRUE(index.infoFrame);
        EXPECT_TRUE(index.format.hasCrc);
        EXPECT_EQ(index.declaredFrames, index.FrameCount());
        EXPECT_EQ(index.encoderDelay, 576);
        EXPECT_EQ(index.AudioSampleCount(), static_cast<std::uint64_t>(index.format.sampleRate) * 5 / 2);
    }
}
