#include "app/SaveRules.h"

#include <algorithm>

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

std::wstring EncoderCommandLine(const std::wstring& programFolder, double start, double length,
                                const std::wstring& input, const std::wstring& output) {
    using runner::QuoteArgument;
    return QuoteArgument(programFolder + L"\\ffmpeg.exe") + L" -nostdin -y -ss " + FormatSeconds(start) + L" -t " +
           FormatSeconds(length) + L" -i " + QuoteArgument(input) + L" -c copy " + QuoteArgument(output);
}

}  // namespace app
