// Reading and writing cue sheets, and the split points they give a file.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "media/Media.h"

namespace {

std::vector<std::uint8_t> Bytes(const std::string& text) { return {text.begin(), text.end()}; }

const std::string kAlbum =
    "REM GENRE Rock\r\n"
    "PERFORMER \"The Band\"\r\n"
    "TITLE \"Live at Home\"\r\n"
    "FILE \"live.mp3\" MP3\r\n"
    "  TRACK 01 AUDIO\r\n"
    "    TITLE \"Opening\"\r\n"
    "    INDEX 01 00:00:00\r\n"
    "  TRACK 02 AUDIO\r\n"
    "    TITLE \"Second Song\"\r\n"
    "    PERFORMER \"Guest\"\r\n"
    "    INDEX 00 03:58:10\r\n"
    "    INDEX 01 04:00:74\r\n"
    "  track 3 audio\n"  // keywords in any case, lines ended any way
    "    title Unquoted words\n"
    "    index 01 125:01:01\r";

}  // namespace

TEST(CueSheet, ReadsTracksTitlesAndPerformers) {
    const media::CueSheet sheet = media::ReadCueSheet(Bytes(kAlbum));
    EXPECT_EQ(sheet.file, L"live.mp3");
    EXPECT_EQ(sheet.title, L"Live at Home");
    EXPECT_EQ(sheet.performer, L"The Band");
    ASSERT_EQ(sheet.tracks.size(), 3u);
    EXPECT_EQ(sheet.tracks[0].start, 0u);
    EXPECT_EQ(sheet.tracks[1].start, 240u * 75 + 74);
    EXPECT_EQ(sheet.tracks[2].start, (125u * 60 + 1) * 75 + 1);
    EXPECT_EQ(sheet.tracks[1].title, L"Second Song");
    EXPECT_EQ(sheet.tracks[1].performer, L"Guest");
    EXPECT_EQ(sheet.tracks[2].title, L"Unquoted words");
    EXPECT_EQ(sheet.tracks[2].line, 13);
}

TEST(CueSheet, ReadsEveryEncodingItMeets) {
    struct Case {
        const char* name;
        std::vector<std::uint8_t> title;  // the bytes between the quotation marks
        std::vector<std::uint8_t> before;  // before the sheet
        std::wstring expected;
    } cases[] = {
        {"UTF-8 with its mark", {'C', 'a', 'f', 0xC3, 0xA9}, {0xEF, 0xBB, 0xBF}, L"Caf\u00E9"},
        {"UTF-8 without", {0xE6, 0x97, 0xA5, 0xE6, 0x9C, 0xAC}, {}, L"\u65E5\u672C"},
        {"ANSI", {'C', 'a', 'f', 0xE9}, {}, L"Caf\u00E9"},
    };
    for (const Case& c : cases) {
        std::vector<std::uint8_t> bytes = c.before;
        for (char ch : std::string("TITLE \"")) bytes.push_back(static_cast<std::uint8_t>(ch));
        bytes.insert(bytes.end(), c.title.begin(), c.title.end());
        for (char ch : std::string("\"\nTRACK 01 AUDIO\nINDEX 01 00:00:00\n")) bytes.push_back(static_cast<std::uint8_t>(ch));
        EXPECT_EQ(media::ReadCueSheet(bytes).title, c.expected) << c.name;
    }
    // UTF-16 with its mark.
    std::vector<std::uint8_t> utf16{0xFF, 0xFE};
    for (wchar_t ch : std::wstring(L"TITLE \"\u00C5\"\r\nTRACK 01 AUDIO\r\nINDEX 01 00:00:00\r\n")) {
        utf16.push_back(static_cast<std::uint8_t>(ch & 0xFF));
        utf16.push_back(static_cast<std::uint8_t>(ch >> 8));
    }
    EXPECT_EQ(media::ReadCueSheet(utf16).title, L"\u00C5");
}

TEST(CueSheet, AMalformedSheetNamesItsLine) {
    struct Case {
        const char* sheet;
        int line;
        const wchar_t* reason;  // part of what the message says
    } cases[] = {
        {"FILE a.mp3 MP3\nTRACK AUDIO\n", 2, L"TRACK needs the track's number"},
        {"TRACK 01 AUDIO\nINDEX 01 3:61:00\n", 2, L"minutes:seconds:frames"},
        {"TRACK 01 AUDIO\nINDEX 01 00:10:75\n", 2, L"minutes:seconds:frames"},
        {"TRACK 01 AUDIO\nINDEX 01 00:10\n", 2, L"minutes:seconds:frames"},
        {"TRACK 01 AUDIO\nINDEX 01\n", 2, L"INDEX needs"},
        {"INDEX 01 00:00:00\nTRACK 01 AUDIO\n", 1, L"before the first TRACK"},
        {"TRACK 01 AUDIO\nTITLE \"Open\nINDEX 01 00:00:00\n", 2, L"quotation mark is not closed"},
        {"TRACK 01 AUDIO\nTITLE\nINDEX 01 00:00:00\n", 2, L"TITLE needs a name"},
        {"TRACK 01 AUDIO\nINDEX 01 00:00:00\nINDEX 01 00:01:00\n", 3, L"second INDEX 01"},
        {"REM\nTRACK 01 AUDIO\nTITLE x\nTRACK 02 AUDIO\nINDEX 01 00:01:00\n", 2, L"no INDEX 01"},
        {"TRACK 01 AUDIO\nINDEX 01 00:05:00\nTRACK 02 AUDIO\nINDEX 01 00:05:00\n", 3, L"no later than the one before"},
        {"FILE a.mp3 MP3\nTRACK 01 AUDIO\nINDEX 01 00:00:00\nFILE b.mp3 MP3\n", 4, L"more than one audio file"},
        {"FILE\n", 1, L"FILE needs"},
        {"REM only a remark\n", 0, L"no TRACK"},
        {"", 0, L"no TRACK"},
    };
    for (const Case& c : cases) {
        try {
            media::ReadCueSheet(Bytes(c.sheet));
            ADD_FAILURE() << c.sheet;
        } catch (const media::CueSheetError& e) {
            EXPECT_EQ(e.Line(), c.line) << c.sheet;
            EXPECT_NE(e.Reason().find(c.reason), std::wstring::npos) << c.sheet;
            const std::wstring prefix = c.line > 0 ? L"Line " + std::to_wstring(c.line) + L": " : L"";
            EXPECT_EQ(e.Reason().rfind(prefix, 0), 0u) << c.sheet;
        }
    }
}

TEST(CueSheet, ExportThenImportGivesTheSameSplitPoints) {
    struct Case {
        int rate;
        std::vector<std::uint64_t> points;
        std::vector<media::PieceNames> pieces;
        bool ascii;
    } cases[] = {
        {44100, {1000, 44099, 12345678, 317520000}, {{L"One", L"A"}, {}, {L"Three \"quoted\"", L""}, {}, {L"", L"B"}}, true},
        {48000, {640}, {{L"\u65E5\u672C\u8A9E", L"Caf\u00E9"}, {L"Zwei", L""}}, false},
        {8000, {}, {{L"Whole", L"Reader"}}, true},
    };
    for (const Case& c : cases) {
        const std::uint64_t length = 317520000 + 1000;
        const media::SplitPoints splits{c.points, c.pieces};
        const std::vector<std::uint8_t> bytes = media::WriteCueSheet(media::CueSheetOf(L"Book.mp3", splits, c.rate));
        const std::string text(bytes.begin(), bytes.end());
        EXPECT_EQ(text.rfind("\xEF\xBB\xBF", 0) == 0, !c.ascii) << text;
        EXPECT_EQ(text.find("\n"), text.find("\r\n") + 1) << text;
        EXPECT_NE(text.find("FILE \"Book.mp3\" MP3\r\n"), std::string::npos) << text;

        const media::SplitPoints back = media::SplitPointsOf(media::ReadCueSheet(bytes), c.rate, length);
        ASSERT_EQ(back.points.size(), c.points.size()) << text;
        for (std::size_t i = 0; i < c.points.size(); ++i) {
            const double apart = std::abs(static_cast<double>(back.points[i]) - static_cast<double>(c.points[i]));
            EXPECT_LE(apart, c.rate / 150.0) << text;  // the nearest 75th of a second
        }
        ASSERT_EQ(back.pieces.size(), c.pieces.size());
        for (std::size_t i = 0; i < c.pieces.size(); ++i) {
            std::wstring title = c.pieces[i].title;
            for (wchar_t& ch : title) ch = ch == L'"' ? L'\'' : ch;
            EXPECT_EQ(back.pieces[i].title, title);
            EXPECT_EQ(back.pieces[i].performer, c.pieces[i].performer);
        }
    }
}

TEST(CueSheet, PointsCloserThanTheFormatHoldsStillGiveOneTrackEach) {
    const media::SplitPoints crowded{{1, 2, 300}, std::vector<media::PieceNames>(4)};
    const media::SplitPoints back =
        media::SplitPointsOf(media::ReadCueSheet(media::WriteCueSheet(media::CueSheetOf(L"a.mp3", crowded, 44100))), 44100, 44100);
    EXPECT_EQ(back.points, (std::vector<std::uint64_t>{588, 1176, 1764}));
}

TEST(CueSheet, TracksBecomeTheFilesSplitPoints) {
    const media::CueSheet sheet = media::ReadCueSheet(Bytes(kAlbum));
    const std::uint64_t rate = 44100;
    // Track 3 starts at 125:01:01; a file that ends just after it and one that ends before it.
    const std::uint64_t third = ((125 * 60 + 1) * 75 + 1) * rate / 75;
    const media::SplitPoints splits = media::SplitPointsOf(sheet, 44100, third + 1);
    ASSERT_EQ(splits.points.size(), 2u);
    EXPECT_EQ(splits.points[0], (240 * 75 + 74) * rate / 75);
    EXPECT_EQ(splits.points[1], third);
    ASSERT_EQ(splits.pieces.size(), 3u);
    EXPECT_EQ(splits.pieces[0].title, L"Opening");
    EXPECT_EQ(splits.pieces[0].performer, L"The Band");  // the sheet's performer
    EXPECT_EQ(splits.pieces[1].performer, L"Guest");
    try {
        media::SplitPointsOf(sheet, 44100, third);
        ADD_FAILURE();
    } catch (const media::CueSheetError& e) {
        EXPECT_EQ(e.Line(), 13);
        EXPECT_NE(e.Reason().find(L"after the end of the file"), std::wstring::npos);
    }

    // A first track after the file's start leaves a piece before it without names.
    const media::SplitPoints late =
        media::SplitPointsOf(media::ReadCueSheet(Bytes("TRACK 01 AUDIO\nTITLE A\nINDEX 01 00:02:00\n")), 8000, 80000);
    EXPECT_EQ(late.points, std::vector<std::uint64_t>{16000});
    ASSERT_EQ(late.pieces.size(), 2u);
    EXPECT_EQ(late.pieces[0].title, L"");
    EXPECT_EQ(late.pieces[1].title, L"A");
}
