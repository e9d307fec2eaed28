#pragma once
// Files the user asks to open other than through the open dialog: a path on
// the command line (as a double-click on a file passes it) and a drop.
#include <windows.h>
#include <shellapi.h>

#include <string>

namespace app {

// The file named first on a whole command line (the program's own name comes
// first and is skipped), as a full path; "" when there is none. A path with
// spaces may come without quotes: when the first word names no file but the
// whole rest of the line does, that is the path. Later arguments are ignored.
std::wstring FileFromCommandLine(const std::wstring& commandLine);

// The first file of a drop, however long its name; the drop is finished.
std::wstring FirstDroppedFile(HDROP drop);

}  // namespace app
