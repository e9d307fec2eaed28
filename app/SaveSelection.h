#pragma once
// The main window's "Save Selection" command.
#include <string>

namespace app {

class Form1;

// Checks the selection, pauses playback, asks for the new file's name and has
// the output window cut the selection into it; returns when the run is over.
void SaveSelection(Form1& form);

// The second half of it, once the name is known: refuses the loaded file
// itself as the target, then has the output window cut the selection into a
// temporary file that replaces the target only when it turned out well.
void SaveSelectionAs(Form1& form, const std::wstring& output);

}  // namespace app
