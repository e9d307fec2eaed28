#pragma once
// The rules of the "Save Selection" command that need no window: which
// selections can be saved, the proposed file name and the encoder's command line.
#include <windows.h>

#include <string>
#include <string_view>
#include <vector>

namespace app {

// Why the selection in the start, end and length labels cannot be saved, or
// an empty text when it can.
std::wstring SelectionRefusal(std::wstring_view start, std::wstring_view end, std::wstring_view length);

// "TavrinCut" + the date and time in the locale's general form (short date, a
// space, long time) less every ":", "/" and " " + ".mp3". A null locale name
// means the user's own.
std::wstring DefaultOutputName(const SYSTEMTIME& localTime, const wchar_t* localeName = nullptr);

// The encoder's command line: a stream copy of `length` seconds from `start`,
// with the numbers written as the labels write them.
std::wstring EncoderCommandLine(const std::wstring& programFolder, double start, double length,
                                const std::wstring& input, const std::wstring& output);

// Every run of the encoder keeps within the command interpreter's limit, however
// it is started; and a run copies at most so many pieces, whose exact audio is
// prepared meanwhile.
inline constexpr std::size_t kCommandLimit = 8191;
inline constexpr std::size_t kPiecesPerRun = 16;

// One stream copy of several pieces of the input in one run of the encoder, each
// read as the single copy reads its selection.
struct PieceCopy {
    double start;
    double length;
    std::wstring output;
};
std::wstring EncoderPiecesCommandLine(const std::wstring& programFolder, const std::wstring& input,
                                      const std::vector<PieceCopy>& pieces);

}  // namespace app
