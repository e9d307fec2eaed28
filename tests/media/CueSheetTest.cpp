#include "media/CueSheet.h"

#include <windows.h>

#include <gtest/gtest.h>

#include "media/Pieces.h"

namespace {

std::vector<std::uint8_t> Bytes(const std::string& text) { return {text.begin(), text.end()}; }

TEST(CueSheet, ReadsTracksTimesAndNamesAtBothLevels) {
    const media::CueSheet sheet = media::ReadCueSheet(Bytes(
        "\xEF\xBB\xBFREM GENRE Live\r\n"
        "PERFORMER \"The Band\"\r\n"
        "TITLE \"Live at the H\xC3\xA4lle\"\r\n"
        "FILE \"live.mp3\" MP3\r\n"
        "  TRACK 01 AUDIO\r\n"
        "    TITLE \"Opening\"\r\n"
        "    INDEX 01 00:00:00\r\n"
        "  TRACK 02 AUDIO\r\n"
        "    TITLE \"Second Song\"\r\n"
        "    PERFORMER \"Guest\"\r\n"
        "    INDEX 00 03:58:00\r\n"
        "    INDEX 01 04:00:37\r\n"
        "  track 03 audio\n"
        "    INDEX 01 125:01:74\n"));
    EXPECT_EQ(sheet.performer, L"The Band");
    EXPECT_EQ(sheet.title, L"Live at the H\u00e4lle");
    EXPECT_EQ(sheet.file, L"live.mp3");
    ASSERT_EQ(sheet.tracks.size(), 3u);
    EXPECT_EQ(sheet.tracks[1].title, L"Second Song");
    EXPECT_EQ(sheet.tracks[1].performer, L"Guest");
    EXPECT_EQ(sheet.tracks[1].start, (4u * 60) * 75 + 37);  // INDEX 01, not 00
    EXPECT_EQ(sheet.tracks[2].start, (125u * 60 + 1) * 75 + 74);
}

TEST(CueSheet, TextThatIsNotUtf8IsReadInTheAnsiCodePage) {
    // 0xE9 alone is no UTF-8; in the Western code page it is "e" with an acute accent.
    const media::CueSheet sheet = media::ReadCueSheet(Bytes("TRACK 01 AUDIO\nTITLE \"Caf\xE9\"\nINDEX 01 00:00:00\n"));
    wchar_t expected[8] = {};
    ::MultiByteToWideChar(CP_ACP, 0, "Caf\xE9", 4, expected, 8);
    EXPECT_EQ(sheet.tracks[0].title, expected);
}

std::vector<std::uint8_t> Utf16(const std::wstring& text, bool bigEndian) {
    std::vector<std::uint8_t> bytes{0xFF, 0xFE};
    if (bigEndian) std::swap(bytes[0], bytes[1]);
    for (wchar_t c : text) {
        const auto low = static_cast<std::uint8_t>(c & 0xFF), high = static_cast<std::uint8_t>(c >> 8);
        bytes.push_back(bigEndian ? high : low);
        bytes.push_back(bigEndian ? low : high);
    }
    return bytes;
}

TEST(CueSheet, ReadsUtf16AnyLineEndsAndRemarksHoldingAnything) {
    const std::wstring sheet =
        L"REM COMMENT \"a \"live\" take, \"unbalanced\nTRACK 01 AUDIO\nTITLE \"\u00c9t\u00e9 \u65e5\"\n"
        L"INDEX 01 00:00:00\nTRACK 02 AUDIO\nINDEX 01 01:02:03\n";
    auto ends = [&](const wchar_t* end) {
        std::wstring text;
        for (wchar_t c : sheet) {
            if (c == L'\n')
                text += end;
            else
                text += c;
        }
        return text;
    };
    auto utf8 = [](const std::wstring& text) {
        std::string bytes(text.size() * 3, '\0');
        const int size = static_cast<int>(text.size());
        const int length = ::WideCharToMultiByte(CP_UTF8, 0, text.data(), size, bytes.data(),
                                                 static_cast<int>(bytes.size()), nullptr, nullptr);
        bytes.resize(static_cast<std::size_t>(length));
        return Bytes(bytes);
    };
    const std::pair<const char*, std::vector<std::uint8_t>> cases[] = {
        {"UTF-8, LF", utf8(sheet)},
        {"UTF-8, CR", utf8(ends(L"\r"))},
        {"UTF-8, CRLF", utf8(ends(L"\r\n"))},
        {"UTF-16, little-endian", Utf16(ends(L"\r\n"), false)},
        {"UTF-16, big-endian", Utf16(ends(L"\r"), true)},
    };
    for (const auto& [what, bytes] : cases) {
        SCOPED_TRACE(what);
        media::CueSheet read;
        ASSERT_NO_THROW(read = media::ReadCueSheet(bytes));
        ASSERT_EQ(read.tracks.size(), 2u);
        EXPECT_EQ(read.tracks[0].title, L"\u00c9t\u00e9 \u65e5");
        EXPECT_EQ(read.tracks[1].start, (62u * 75) + 3);
    }
}

TEST(CueSheet, AMalformedSheetIsRefusedNamingItsLine) {
    const std::pair<const char*, int> cases[] = {
        {"TRACK 01 AUDIO\nINDEX 01 00:61:00\n", 2},
        {"TRACK 01 AUDIO\nINDEX 01 00:01:75\n", 2},
        {"TRACK 01 AUDIO\nINDEX 01 1:2\n", 2},
        {"TRACK AUDIO\nINDEX 01 00:00:00\n", 1},
        {"INDEX 01 00:00:00\n", 1},
        {"TRACK 01 AUDIO\nTITLE \"Open\nINDEX 01 00:00:00\n", 2},
        {"TRACK 01 AUDIO\nINDEX 01 00:10:00\nTRACK 02 AUDIO\nINDEX 01 00:09:00\n", 4},
        {"TRACK 01 AUDIO\nTITLE \"No start\"\nTRACK 02 AUDIO\nINDEX 01 00:09:00\n", 1},
        {"REM nothing but remarks\n", 2},
        {"FILE \"a.mp3\" MP3\nTRACK 01 AUDIO\nINDEX 01 00:00:00\nFILE \"b.mp3\" MP3\n", 4},  // a second file
        {"TRACK 01 AUDIO\rINDEX 01 1:2\r", 2},                   // lines that end in CR alone
        {"TRACK 01 AUDIO\r\nREM x\rINDEX 01 00:61:00\r\n", 3},  // a lone CR among CRLF
        {"TRACK 01 AUDIO\n\rINDEX 01 00:61:00\n", 3},            // LF then CR: two line ends
    };
    for (const auto& [text, line] : cases) {
        try {
            media::ReadCueSheet(Bytes(text));
            ADD_FAILURE() << text;
        } catch (const media::CueSheetError& error) {
            EXPECT_EQ(error.Line(), line) << text;
        }
    }
}

TEST(CueSheet, WrittenThenReadGivesTheSameSheet) {
    media::CueSheet sheet{L"Album \"X\"", L"Band", L"rec.mp3", {}};
    for (std::uint64_t start : {0u, 75u * 61 + 3, 75u * 3600 * 2 + 74})
        sheet.tracks.push_back({L"Track \u00e9" + std::to_wstring(start), start ? L"" : L"Solo", start});
    const std::string text = media::WriteCueSheet(sheet);
    EXPECT_EQ(text.substr(0, 3), "\xEF\xBB\xBF");
    EXPECT_NE(text.find("INDEX 01 120:00:74\r\n"), std::string::npos);
    const media::CueSheet read = media::ReadCueSheet(Bytes(text));
    EXPECT_EQ(read.title, L"Album 'X'");  // a quotation mark cannot stand inside a value
    EXPECT_EQ(read.performer, sheet.performer);
    EXPECT_EQ(read.file, sheet.file);
    ASSERT_EQ(read.tracks.size(), sheet.tracks.size());
    for (std::size_t k = 0; k < read.tracks.size(); ++k) {
        EXPECT_EQ(read.tracks[k].start, sheet.tracks[k].start);
        EXPECT_EQ(read.tracks[k].title, sheet.tracks[k].title);
        EXPECT_EQ(read.tracks[k].performer, sheet.tracks[k].performer);
    }
}

TEST(PiecePlan, PiecesAreNumberedNamedAndLeaveThePausesOutWhenAsked) {
    media::SplitLayout layout;
    layout.length = 10000;
    layout.points = {3000, 7000};
    layout.pauses = {media::SampleRange{2000, 4000}, std::nullopt};
    layout.keptOfPause = 100;
    layout.titles = {L"", L"What? A/B", L"Last. "};
    auto plan = media::PlanPieces(layout, L"Show");
    ASSERT_EQ(plan.size(), 3u);
    const wchar_t* names[] = {L"Show 01.mp3", L"Show 02 What_ A_B.mp3", L"Show 03 Last.mp3"};
    for (std::size_t k = 0; k < 3; ++k) {
        EXPECT_EQ(plan[k].fileName, names[k]);
        EXPECT_EQ(plan[k].tags.track, k + 1);
        EXPECT_EQ(plan[k].tags.tracks, 3u);
    }
    // Gapless unless the pauses are left out: then each side keeps a little of its pause.
    EXPECT_EQ(plan[0].range.end, 3000u);
    EXPECT_EQ(plan[1].range.first, 3000u);
    layout.leavePausesOut = true;
    plan = media::PlanPieces(layout, L"Show");
    EXPECT_EQ(plan[0].range.end, 2100u);
    EXPECT_EQ(plan[1].range.first, 3900u);
    EXPECT_EQ(plan[1].range.end, 7000u);  // a point without a pause splits as it is
    EXPECT_EQ(plan[2].range.first, 7000u);
}

TEST(PiecePlan, NumbersHaveAsManyDigitsAsTheCountSoTheNamesSortInOrder) {
    struct Case {
        std::size_t count;
        std::size_t piece;  // from 1
        const wchar_t* name;
    };
    const Case cases[] = {
        {2, 1, L"Show 01.mp3"},       {99, 99, L"Show 99.mp3"},       {100, 7, L"Show 007.mp3"},
        {999, 10, L"Show 010.mp3"},   {1000, 7, L"Show 0007.mp3"},    {1000, 1000, L"Show 1000.mp3"},
        {12345, 12, L"Show 00012.mp3"},
    };
    for (const Case& c : cases) {
        media::SplitLayout layout;
        layout.length = 100 * c.count;
        for (std::size_t k = 1; k < c.count; ++k) layout.points.push_back(100 * k);
        EXPECT_EQ(media::PlanPieces(layout, L"Show")[c.piece - 1].fileName, c.name) << c.count;
    }
}

TEST(PiecePlan, NoPieceEndsBeforeItStartsWhateverThePausesHold) {
    struct Case {
        const char* what;
        std::vector<std::uint64_t> points;
        std::vector<std::optional<media::SampleRange>> pauses;
    };
    const Case cases[] = {
        {"a pause holding the next point", {3000, 3500}, {media::SampleRange{2000, 4000}, std::nullopt}},
        {"a pause holding the point before", {3000, 3500}, {std::nullopt, media::SampleRange{2000, 4000}}},
        {"pauses that overlap", {3000, 5000}, {media::SampleRange{2000, 4800}, media::SampleRange{3200, 6000}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        media::SplitLayout layout;
        layout.length = 10000;
        layout.points = c.points;
        layout.pauses = c.pauses;
        layout.leavePausesOut = true;
        layout.keptOfPause = 100;
        for (const media::PlannedPiece& piece : media::PlanPieces(layout, L"Show"))
            EXPECT_LT(piece.range.first, piece.range.end) << piece.fileName;
    }
}

}  // namespace
