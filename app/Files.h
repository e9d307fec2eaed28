#pragma once
// File names and file identity as the save command needs them.
#include <windows.h>

#include <cstdint>
#include <span>
#include <string>
#include <vector>

namespace app {

// The folder of the program's executable: no trailing backslash, except that
// a drive's root folder ends in one ("C:\").
std::wstring ProgramFolder();

// The folder part of a path, without the separator ("" when there is none).
std::wstring FolderOf(const std::wstring& path);

// The path made absolute against the current folder, as the file dialogs give
// paths; "" when the system cannot tell.
std::wstring FullPath(const std::wstring& path);

// The path in the "\\?\" form when it is too long for the classic calls, so
// that long paths open everywhere, also in programs that know nothing of them.
std::wstring ExtendedLengthPath(const std::wstring& path);

// Whether both names lead to the same existing file, however they are spelled
// (case, "..", "/" or short names, links): compares the volume and file index.
bool IsSameFile(const std::wstring& first, const std::wstring& second);

bool FileExists(const std::wstring& path);

// Has the system write what it holds of the file to the disk, so that a power
// cut after a rename cannot leave the new name on an empty or short file.
// The system's code when it cannot, otherwise 0.
DWORD FlushToDisk(const std::wstring& path);

// A small file read whole, or written whole in place of what it held; the
// system's error code when that fails, otherwise 0.
DWORD ReadWholeFile(const std::wstring& path, std::vector<std::uint8_t>& bytes);
DWORD WriteWholeFile(const std::wstring& path, std::span<const std::uint8_t> bytes);

}  // namespace app
