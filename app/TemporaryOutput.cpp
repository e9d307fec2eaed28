#include "app/TemporaryOutput.h"

#include <windows.h>

#include <cstdio>

#include "app/AudioCheck.h"
#include "app/Files.h"
#include "base/SystemErrorText.h"

namespace app {

namespace {

// A stream copy starts and ends on frame boundaries: a cut may come out a few
// frames short of the selection, but no more.
constexpr double kShortfallAllowed = 0.25;

std::wstring Seconds(double seconds) {
    wchar_t text[32];
    std::swprintf(text, 32, L"%.2f seconds", seconds);
    return text;
}

// A short name, so it fits in any folder the target's own name fits in.
std::wstring CandidateName(const std::wstring& folder, unsigned attempt) {
    wchar_t name[32];
    const unsigned mark = ::GetTickCount() ^ (::GetCurrentProcessId() << 16) ^ (attempt * 2654435761u);
    std::swprintf(name, 32, L"~snipmill-%08x.mp3", mark);
    return folder.empty() ? std::wstring(name) : folder + L"\\" + name;
}

}  // namespace

TemporaryOutput::TemporaryOutput(std::wstring target, double seconds) : target_(std::move(target)), seconds_(seconds) {
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
    const double written = AudioSeconds(path_);
    if (written <= 0) return L"the encoder wrote no audio. The start point may lie beyond the end of the file.";
    if (written < seconds_ - kShortfallAllowed)
        return L"the new file would hold only " + Seconds(written) + L" of the " + Seconds(seconds_) +
               L" selected. The selection may reach beyond the end of the file.";
    if (!::MoveFileExW(ExtendedLengthPath(path_).c_str(), ExtendedLengthPath(target_).c_str(),
                       MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
        return L"the new file could not replace " + target_ + L" (" + base::SystemErrorText(::GetLastError()) + L").";
    placed_ = true;
    return {};
}

}  // namespace app
