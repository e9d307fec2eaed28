#pragma once
// Commands the runner tests start as real child processes.
#include <windows.h>

#include <string>

namespace runner_tests {

// The folder of the running test program, where the build puts ffmpeg.exe too.
inline std::wstring ProgramFolder() {
    wchar_t path[MAX_PATH] = {};
    ::GetModuleFileNameW(nullptr, path, MAX_PATH);
    std::wstring folder(path);
    return folder.substr(0, folder.find_last_of(L'\\'));
}

inline std::wstring Encoder() { return L"\"" + ProgramFolder() + L"\\ffmpeg.exe\""; }

// The tests' own child program (tests/child) with the given arguments.
inline std::wstring TestChild(const std::wstring& arguments) {
    return L"\"" + ProgramFolder() + L"\\testchild.exe\" " + arguments;
}

// An encoder run that prints nothing and lasts about the given seconds (it
// produces silence at its real pace and throws it away).
inline std::wstring SilentEncoderRun(double seconds) {
    return Encoder() + L" -nostdin -loglevel quiet -re -f lavfi -i anullsrc=r=8000 -t " + std::to_wstring(seconds) +
           L" -f null -";
}

}  // namespace runner_tests
