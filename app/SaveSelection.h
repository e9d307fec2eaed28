#pragma once
// The main window's "Save Selection" command.
namespace app {

class Form1;

// Checks the selection, pauses playback, asks for the new file's name and has
// the output window cut the selection into it; returns when the run is over.
void SaveSelection(Form1& form);

}  // namespace app
