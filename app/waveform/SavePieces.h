#pragma once
// The waveform window's "Save Pieces" command: every piece of the split file
// saved as its own file, each exactly as Save Selection saves a selection with
// the same bounds, numbered and named after a base name the user gives.
#include <windows.h>

#include <string>

namespace app {

class Form1;

// Asks for the base name over `owner`, then saves the pieces as SavePiecesAs does.
void SavePieces(Form1& main, HWND owner);

// Asks before files that exist are replaced, saves the pieces as "<base> 01.mp3"...
// through the output window and tells how it went.
void SavePiecesAs(Form1& main, HWND owner, const std::wstring& base);

}  // namespace app
