#include "app/SaveRules.h"

#include <algorithm>
#include <cwchar>

#include "app/TimeText.h"
#include "runner/CommandLine.h"

namespace app {

std::wstring SelectionRefusal(std::wstring_view start, std::wstring_view end, std::wstring_view length) {
    if (start == kTimeNotSet) return L"Please select a start point before saving a selection";
    if (end == kTimeNotSet) return L"Please select a end point before saving a selection";
    if (ParseSeconds(end) < ParseSeconds(start)) return L"End point must be greater than the start point";
    // The encoder takes a length of 0 as "to the end of the file".
    if (ParseSeconds(length) <= 0)
        return L"The selection is empty: please set an end point after the start point before saving";
    return {};
}

std::wstring DefaultOutputName(const SYSTEMTIME& localTime, const wchar_t* localeName) {
    const wchar_t* locale = localeName ? localeName : LOCALE_NAME_USER_DEFAULT;
    wchar_t date[128] = {};
    wchar_t time[128] = {};
    ::GetDateFormatEx(locale, DATE_SHORTDATE, &localTime, nullptr, date, 128, nullptr);
    ::GetTimeFormatEx(locale, 0, &localTime, nullptr, time, 128);
    std::wstring stamp = std::wstring(date) + L" " + time;
    for (wchar_t removed : {L':', L'/', L' '}) std::erase(stamp, removed);
    return L"TavrinCut" + stamp + L".mp3";
}

namespace {
// The labels' text of a number, except that the encoder's time syntax has no
// exponent: the few values the labels write as 1E-05 go as 0.00001.
std::wstring EncoderSeconds(double seconds) {
    std::wstring text = FormatSeconds(seconds);
    if (text.find(L'E') == std::wstring::npos) return text;
    wchar_t plain[64] = {};
    std::swprintf(plain, 64, L"%.20f", seconds);
    text = plain;
    text.erase(text.find_last_not_of(L'0') + 1);
    if (text.back() == L'.') text.pop_back();
    return text;
}
}  // namespace

std::wstring EncoderCommandLine(const std::wstring& programFolder, double start, double length,
                                const std::wstring& input, const std::wstring& output) {
    using runner::QuoteArgument;
    return QuoteArgument(programFolder + L"\\ffmpeg.exe") + L" -nostdin -y -ss " + EncoderSeconds(start) + L" -t " +
           EncoderSeconds(length) + L" -i " + QuoteArgument(input) + L" -c copy " + QuoteArgument(output);
}

// The input is named once for each piece, so that each is read from its own start
// as the single copy reads it; the k-th output takes all of the k-th input's streams.
std::wstring EncoderPiecesCommandLine(const std::wstring& programFolder, const std::wstring& input,
                                      const std::vector<PieceCopy>& pieces) {
    using runner::QuoteArgument;
    std::wstring command = QuoteArgument(programFolder + L"\\ffmpeg.exe") + L" -nostdin -y";
    for (const PieceCopy& piece : pieces)
        command += L" -ss " + EncoderSeconds(piece.start) + L" -t " + EncoderSeconds(piece.length) + L" -i " +
                   QuoteArgument(input);
    for (std::size_t k = 0; k < pieces.size(); ++k)
        command += L" -map " + std::to_wstring(k) + L" -c copy " + QuoteArgument(pieces[k].output);
    return command;
}

}  // namespace app
