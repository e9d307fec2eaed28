#include "app/SaveRules.h"

#include <windows.h>
#include <shellapi.h>

#include <gtest/gtest.h>

#include "app/OutputText.h"
#include "runner/CommandLine.h"

namespace {

using app::EncoderCommandLine;
using app::SelectionRefusal;

TEST(SelectionRefusal, NamesTheFirstThingWrongWithTheReadOuts) {
    struct Case {
        const wchar_t *start, *end, *length, *refusal;
    };
    const Case cases[] = {
        {L"00:00", L"00:00", L"00:00", L"Please select a start point before saving a selection"},
        {L"0", L"00:00", L"00:00", L"Please select a end point before saving a selection"},
        {L"12.5", L"3", L"4", L"End point must be greater than the start point"},
        {L"7.25", L"7.25", L"0",
         L"The selection is empty: please set an end point after the start point before saving"},
        {L"0", L"3.5", L"3.5", L""},  // a start of zero counts as set
    };
    for (const Case& c : cases) EXPECT_EQ(SelectionRefusal(c.start, c.end, c.length), c.refusal) << c.start;
}

TEST(DefaultOutputName, IsTheGeneralDateAndTimeWithoutSeparators) {
    // To the second: the milliseconds do not count.
    SYSTEMTIME time{2026, 12, 0, 6, 15, 41, 21, 0};  // 6 December 2026, 15:41:21
    for (WORD milliseconds : {0, 999}) {
        time.wMilliseconds = milliseconds;
        EXPECT_EQ(app::DefaultOutputName(time, L"en-US"), L"TavrinCut126202634121PM.mp3");
    }
}

TEST(EncoderCommandLine, CopiesTheSelectionWithoutAskingAnything) {
    EXPECT_EQ(EncoderCommandLine(L"C:\\Tools", 12.5, 30.25, L"D:\\Music\\song.mp3", L"D:\\Music\\cut.mp3"),
              L"\"C:\\Tools\\ffmpeg.exe\" -nostdin -y -ss 12.5 -t 30.25 -i \"D:\\Music\\song.mp3\" -c copy "
              L"\"D:\\Music\\cut.mp3\"");
}

TEST(EncoderCommandLine, WritesTheFolderAndTheNumbersAsTheyAre) {
    struct Case {
        const wchar_t* folder;
        double start, length;
        const wchar_t* expected;  // a part of the line
    };
    const Case cases[] = {
        {L"C:\\", 0, 1, L"\"C:\\\\ffmpeg.exe\" -nostdin -y -ss 0 -t 1 -i "},        // a drive root's doubled backslash
        {L"C:\\Tools", 12.5391383, 83.4567891, L" -ss 12.5391383 -t 83.4567891 "},  // every decimal kept
        {L"C:\\Tools", 0.00001, 0.0000125, L" -ss 0.00001 -t 0.0000125 "},          // no exponent
    };
    for (const Case& c : cases) {
        const std::wstring line = EncoderCommandLine(c.folder, c.start, c.length, L"a.mp3", L"b.mp3");
        EXPECT_NE(line.find(c.expected), std::wstring::npos) << line;
    }
}

TEST(EncoderCommandLine, UnusualNamesAreQuotedAsTheyAre) {
    std::wstring input = L"D:\\%PATH% 100% ! ^ & (x) \u65E5\u672C\u8A9E \U0001F3B5.mp3";
    std::wstring line = EncoderCommandLine(L"C:\\Tools", 1, 2, input, L"D:\\out.mp3");
    EXPECT_NE(line.find(L" -i \"" + input + L"\" -c copy "), std::wstring::npos);
}

TEST(QuoteArgument, KeepsBackslashesBeforeTheClosingQuoteLiteral) {
    EXPECT_EQ(runner::QuoteArgument(L"C:\\"), L"\"C:\\\\\"");
    EXPECT_EQ(runner::QuoteArgument(L"a\\b c"), L"\"a\\b c\"");
    EXPECT_EQ(runner::QuoteArgument(L"say \"hi\""), L"\"say \\\"hi\\\"\"");
}

TEST(QuoteArgument, IsReadBackExactlyByThePlatformsParser) {
    for (std::wstring argument : {L"C:\\dir\\", L"x \\\"y\\\\\" z", L"plain", L"", L"100% & ^!"}) {
        std::wstring line = L"program.exe " + runner::QuoteArgument(argument);
        int count = 0;
        LPWSTR* parsed = ::CommandLineToArgvW(line.c_str(), &count);
        ASSERT_EQ(count, 2) << line;
        EXPECT_EQ(parsed[1], argument);
        ::LocalFree(parsed);
    }
}

TEST(ChunkText, DropsCarriageReturnsThenDoublesLineFeeds) {
    EXPECT_EQ(app::ChunkText(L"a\r\nb\n"), L"a\r\nb\r\n");
    EXPECT_EQ(app::ChunkText(L"\r"), L"");
    EXPECT_EQ(app::ChunkText(L"\n"), L"\r\n");
    EXPECT_EQ(app::ChunkText(L"size=1\rsize=2\r"), L"size=1size=2");
}

TEST(LastLines, KeepsTheLastNonBlankLinesAndOnlyTheLastStateOfARewrittenOne) {
    EXPECT_EQ(app::LastLines(L"one\r\ntwo\r\n\r\nthree\rfour\n", 3), L"two\r\nthree\r\nfour");
    EXPECT_EQ(app::LastLines(L"only", 5), L"only");
    EXPECT_EQ(app::LastLines(L"\r\n  \r\n", 5), L"");
}

}  // namespace
