#pragma once
#include <windows.h>

#include <string>

namespace base {

// The system's own sentence for a Win32 error code.
std::wstring SystemErrorText(DWORD code);

}  // namespace base
