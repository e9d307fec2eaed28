#include "app/TemporaryOutput.h"

#include <windows.h>

#include <cstdio>
#include <new>
#include <optional>
#include <vector>

#include "app/AudioCheck.h"
#include "app/Files.h"
#include "base/Handles.h"
#include "base/SystemErrorText.h"
#include "media/Media.h"

namespace app {

namespace {

// A stream copy starts and ends on frame boundaries: a cut that could not be
// made exact may come out a few frames short of the selection, but no more.
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

// Temporary files whose removal failed, by their extended-length paths.
std::vector<std::wstring>& Leftovers() {
    static std::vector<std::wstring> paths;
    return paths;
}

void RetryLeftovers() noexcept {
    std::erase_if(Leftovers(), [](const std::wstring& path) {
        return ::DeleteFileW(path.c_str()) || ::GetLastError() == ERROR_FILE_NOT_FOUND;
    });
}

}  // namespace

void TemporaryOutput::RemoveLeftovers() noexcept {
    RetryLeftovers();
    for (const std::wstring& path : Leftovers()) ::MoveFileExW(path.c_str(), nullptr, MOVEFILE_DELAY_UNTIL_REBOOT);
    Leftovers().clear();
}

TemporaryOutput::TemporaryOutput(std::wstring target, std::wstring source, double start, double length,
                                 std::shared_ptr<const media::Mp3Index> sourceIndex, const media::LevelChange& levels,
                                 bool mustBeExact)
    : target_(std::move(target)), seconds_(length), levels_(!levels.None()), mustBeExact_(mustBeExact) {
    RetryLeftovers();
    const std::wstring folder = FolderOf(target_);
    for (unsigned attempt = 0; attempt < 100; ++attempt) {
        path_ = CandidateName(folder, attempt);
        base::KernelHandle file(::CreateFileW(ExtendedLengthPath(path_).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                              FILE_ATTRIBUTE_NORMAL, nullptr));
        if (file) {
            error_ = 0;
            owned_ = true;
            exactCut_ = std::make_unique<media::ExactCut>(ExtendedLengthPath(source), start, length,
                                                          std::move(sourceIndex), levels);
            return;
        }
        error_ = ::GetLastError();
        if (error_ != ERROR_FILE_EXISTS && error_ != ERROR_ALREADY_EXISTS) return;
    }
}

TemporaryOutput::~TemporaryOutput() {
    Abandon();
    if (!owned_) return;
    try {
        Leftovers().push_back(ExtendedLengthPath(path_));
    } catch (const std::bad_alloc&) {  // then only this file stays behind
    }
}

void TemporaryOutput::SetTags(const media::PieceTags& tags) {
    if (exactCut_) exactCut_->SetPieceTags(tags);
}

void TemporaryOutput::Abandon() noexcept {
    if (exactCut_) exactCut_->Stop();
    // A name never created, or let go, may be another's file; a file still
    // held open elsewhere is tried again when the object goes, and after that
    // among the leftovers.
    if (owned_ && ::DeleteFileW(ExtendedLengthPath(path_).c_str())) owned_ = false;
}

std::wstring TemporaryOutput::PutInPlace() {
    std::optional<double> exact;
    try {
        exact = exactCut_->Finish(ExtendedLengthPath(path_));
    } catch (const media::MediaError& error) {
        return L"the new file could not be made exact (" + error.Reason() + L").";
    }
    // The fades and the level are made in the source's own frames, which only an exact cut holds.
    if (!exact && mustBeExact_ && levels_)
        return L"the fades and the change of level could not be made: the selection cannot be cut from the "
               L"source's own frames (they are damaged or missing there).";
    if (!exact && mustBeExact_)
        return L"it cannot be cut exactly from the source's own frames (they are damaged or missing there, or the "
               L"file's format changes within it).";
    if (const std::uint64_t left = exact ? exactCut_->Report().framesLeft : 0; left > 0)
        notice_ = std::to_wstring(left) + (left == 1 ? L" frame was" : L" frames were") +
                  L" damaged and kept the level they had: the fades and the change of level do not reach them.";
    // An exact copy's length is known; only the encoder's own copy is read to learn it.
    const double written = exact ? *exact : AudioSeconds(path_);
    if (written <= 0) return L"the encoder wrote no audio. The start point may lie beyond the end of the file.";
    if (written < seconds_ - kShortfallAllowed)
        return L"the new file would hold only " + Seconds(written) + L" of the " + Seconds(seconds_) +
               L" selected. The selection may reach beyond the end of the file.";
    // Windows refuses to replace a read-only file, but not every file system
    // does: the user's protection holds either way.
    const DWORD attributes = ::GetFileAttributesW(ExtendedLengthPath(target_).c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY))
        return L"the new file could not replace " + target_ + L" (the file is read-only).";
    // A rename reaches the disk before the data it names unless the data is flushed first.
    if (const DWORD error = FlushToDisk(path_))
        return L"the new file could not be written to the disk (" + base::SystemErrorText(error) + L").";
    if (!::MoveFileExW(ExtendedLengthPath(path_).c_str(), ExtendedLengthPath(target_).c_str(),
                       MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
        return L"the new file could not replace " + target_ + L" (" + base::SystemErrorText(::GetLastError()) + L").";
    owned_ = false;
    return {};
}

}  // namespace app
