// A piece's bounds through the save's seconds, and the tags a saved piece gets.
#include <gtest/gtest.h>

#include <map>
#include <random>
#include <vector>

#include "MediaFixtures.h"
#include "media/Media.h"

using media_test::Fixture;
using media_test::ReadBytes;
using media_test::ScratchFile;

namespace {

// The text frames of a file's leading ID3v2.3 or 2.4 tag, decoded, and the bytes of every frame.
struct TagFrames {
    int version = 0;
    std::map<std::string, std::wstring> text;
    std::map<std::string, std::vector<std::uint8_t>> bytes;
};

TagFrames ReadTag(const std::vector<std::uint8_t>& file) {
    TagFrames tag;
    if (file.size() < 10 || file[0] != 'I' || file[1] != 'D' || file[2] != '3') return tag;
    tag.version = file[3];
    auto size = [&](std::size_t at, bool syncsafe) {
        std::uint32_t value = 0;
        for (std::size_t i = 0; i < 4; ++i) value = (value << (syncsafe ? 7 : 8)) | file[at + i];
        return value;
    };
    const std::size_t end = 10 + size(6, true);
    for (std::size_t at = 10; at + 10 <= end && file[at] != 0;) {
        const std::string id(file.begin() + static_cast<std::ptrdiff_t>(at), file.begin() + static_cast<std::ptrdiff_t>(at) + 4);
        const std::size_t length = size(at + 4, tag.version == 4);
        const std::vector<std::uint8_t> data(file.begin() + static_cast<std::ptrdiff_t>(at) + 10,
                                             file.begin() + static_cast<std::ptrdiff_t>(at + 10 + length));
        tag.bytes[id] = data;
        if (id[0] == 'T' && !data.empty()) {
            std::wstring text;
            if (data[0] == 0) text.assign(data.begin() + 1, data.end());
            if (data[0] == 1)
                for (std::size_t i = 3; i + 1 < data.size(); i += 2) text.push_back(static_cast<wchar_t>(data[i] | (data[i + 1] << 8)));
            if (data[0] == 3) {
                const std::string utf8(data.begin() + 1, data.end());
                text.resize(utf8.size());
                text.resize(static_cast<std::size_t>(::MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()),
                                                                           text.data(), static_cast<int>(text.size()))));
            }
            while (!text.empty() && text.back() == 0) text.pop_back();
            tag.text[id] = text;
        }
        at += 10 + length;
    }
    return tag;
}

}  // namespace

TEST(Pieces, BoundsGoThroughSecondsToTheSameSamples) {
    // The save takes a piece's start and length in seconds: each must come back as the same samples.
    std::mt19937_64 random(24);
    for (int rate : {8000, 11025, 22050, 24000, 44100, 48000}) {
        for (int i = 0; i < 20000; ++i) {
            const std::uint64_t first = random() % (static_cast<std::uint64_t>(rate) * 7200);
            const std::uint64_t end = first + 1 + random() % (static_cast<std::uint64_t>(rate) * 3600);
            const auto range = media::SelectionSamples(static_cast<double>(first) / rate,
                                                       static_cast<double>(end - first) / rate, rate);
            ASSERT_EQ(range.first, first) << rate;
            ASSERT_EQ(range.end, end) << rate;
        }
    }
}

TEST(Pieces, APiecesTagGetsItsNumberTitleAndPerformerAndKeepsTheRest) {
    struct Case {
        const wchar_t* copy;  // the encoder's copy: its tags stand before the source's audio
        bool bare;  // with its tag taken off
        media::PieceTags tags;
        int version;  // of the tag after, or 0 for the copy's
        std::map<std::string, std::wstring> expected;
    } cases[] = {
        {L"id3_cover.mp3", false, {2, 5, L"Zweites St\u00fcck", L"\u65E5\u672C", {}}, 0,
         {{"TRCK", L"2/5"}, {"TIT2", L"Zweites St\u00fcck"}, {"TPE1", L"\u65E5\u672C"}}},
        {L"..\\split\\album.mp3", false, {3, 3, L"", L"", {}}, 3,
         {{"TRCK", L"3/3"}, {"TIT2", L"Album in one"}, {"TPE1", L"The Test Band"}}},  // unknown names kept
        {L"cbr128_noinfo.mp3", false, {1, 2, L"First", L"", {}}, 0, {{"TRCK", L"1/2"}, {"TIT2", L"First"}}},
        {L"cbr128_noinfo.mp3", true, {1, 2, L"First", L"\u00C5se", {}}, 4,
         {{"TRCK", L"1/2"}, {"TIT2", L"First"}, {"TPE1", L"\u00C5se"}}},  // a new tag where there is none
    };
    for (const Case& c : cases) {
        auto before = ReadBytes(Fixture(c.copy));
        if (c.bare) before.erase(before.begin(), before.begin() + 10 + (before[6] << 21 | before[7] << 14 | before[8] << 7 | before[9]));
        ScratchFile copy(L"piece.mp3", before);
        media::ExactCut cut(Fixture(L"cbr128_info.mp3"), 0.5, 1.25, nullptr);
        cut.SetPieceTags(c.tags);
        ASSERT_TRUE(cut.Finish(copy.Path())) << c.copy;
        const auto after = ReadBytes(copy.Path());
        const TagFrames old = ReadTag(before);
        const TagFrames tag = ReadTag(after);
        EXPECT_EQ(tag.version, c.version ? c.version : old.version) << c.copy;
        for (const auto& [id, text] : c.expected) EXPECT_EQ(tag.text.count(id) ? tag.text.at(id) : L"-", text) << c.copy << " " << id;
        for (const auto& [id, bytes] : old.bytes) {  // every other frame as it was, the cover too
            if (c.expected.count(id) == 0) {
                EXPECT_EQ(tag.bytes.count(id) ? tag.bytes.at(id) : std::vector<std::uint8_t>{}, bytes) << id;
            }
        }

        // The audio is what the cut writes without new tags.
        ScratchFile plain(L"plain.mp3", before);
        ASSERT_TRUE(media::MakeCutExact(Fixture(L"cbr128_info.mp3"), plain.Path(), 0.5, 1.25));
        const auto expected = ReadBytes(plain.Path());
        const media::Mp3Index index = [&] {
            media::Player player(media::Player::Output::Silent);
            player.Open(copy.Path());
            return *player.Index();
        }();
        EXPECT_EQ(index.PlayableSampleCount(), 55125u) << c.copy;
        EXPECT_TRUE(std::equal(after.end() - 20000, after.end(), expected.end() - 20000)) << c.copy;
    }
}

// A long title gives way so that "<base> NN <title>.mp3" is a name Windows accepts,
// cut between whole characters, without the blank or dot a cut may end on.
TEST(Pieces, ALongTitleIsShortenedToFitTheNameWithoutSplittingACharacter) {
    const std::wstring face = L"\U0001F600";  // two halves in UTF-16
    std::wstring faces;
    for (int i = 0; i < 150; ++i) faces += face;
    struct Case {
        const char* what;
        std::wstring title;
        std::size_t length;  // of the file name
        std::wstring ending;
    } const kCases[] = {
        {"a short title as it is", L"Intro", 18, L"01 Intro.mp3"},
        {"cut to the longest name", std::wstring(300, L'a'), 255, L"aaa.mp3"},
        {"cut after a whole pair", faces, 255, face + L".mp3"},
        {"cut before a pair's second half", L"x" + faces, 254, face + L".mp3"},
        {"cut at a blank", std::wstring(241, L'a') + L" bbbb", 254, L"aaa.mp3"},
    };
    for (const Case& c : kCases) {
        SCOPED_TRACE(c.what);
        media::SplitLayout layout;
        layout.length = 100000;
        layout.points = {50000};
        layout.titles = {c.title, c.title};
        const auto pieces = media::PlanPieces(layout, L"Album");
        ASSERT_EQ(pieces.size(), 2u);
        const std::wstring& name = pieces[0].fileName;
        EXPECT_EQ(name.size(), c.length);
        EXPECT_TRUE(name.ends_with(c.ending));
        for (std::size_t i = 0; i < name.size(); ++i) {
            const bool halfOfAPair = IS_HIGH_SURROGATE(name[i]) || IS_LOW_SURROGATE(name[i]);
            const bool whole = (i + 1 < name.size() && IS_HIGH_SURROGATE(name[i]) && IS_LOW_SURROGATE(name[i + 1])) ||
                               (i > 0 && IS_HIGH_SURROGATE(name[i - 1]) && IS_LOW_SURROGATE(name[i]));
            EXPECT_TRUE(!halfOfAPair || whole) << i;
        }
        // The tag keeps the whole title.
        EXPECT_EQ(pieces[0].tags.title, c.title);
    }
}
