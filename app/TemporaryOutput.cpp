#include "app/TemporaryOutput.h"

#include <windows.h>

#include <cstdio>

#include "app/AudioCheck.h"
#include "app/Files.h"

namespace app {

namespace {

// A short name, so it fits in any folder the target's own name fits in.
std::wstring CandidateName(const std::wstring& folder, unsigned attempt) {
    wchar_t name[32];
    const unsigned mark = ::GetTickCount() ^ (::GetCurrentProcessId() << 16) ^ (attempt * 2654435761u);
    std::swprintf(name, 32, L"~snipmill-%08x.mp3", mark);
    return folder.empty() ? std::wstring(name) : folder + L"\\" + name;
}

}  // namespace

TemporaryOutput::TemporaryOutput(std::wstring target) : target_(std::move(target)) {
    const std::wstring folder = FolderOf(target_);
    unsigned attempt = 0;
    do {
        path_ = CandidateName(folder, attempt++);
    } while (FileExists(path_) && attempt < 100);
}

TemporaryOutput::~TemporaryOutput() {
    if (!placed_) ::DeleteFileW(ExtendedLengthPath(path_).c_str());
}

std::wstring TemporaryOutput::PutInPlace() {
    if (!HoldsAudio(path_))
        return L"the encoder wrote no audio. The start point may lie beyond the end of the file.";
    if (!::MoveFileExW(ExtendedLengthPath(path_).c_str(), ExtendedLengthPath(target_).c_str(),
                       MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
        return L"the new file could not replace " + target_ + L" (" + SystemErrorText(::GetLastError()) + L").";
    placed_ = true;
    return {};
}

}  // namespace app
