#pragma once
// The waveform window's commands that take the file apart: saving the pieces,
// finding the pauses, splitting every few minutes and the cue sheets.
#include "app/Shortcuts.h"

namespace app {

class Form1;
class WaveformWindow;

// Runs one of them, asking what it needs in dialogs over `window`.
void RunSplitCommand(Form1& main, WaveformWindow& window, WaveformCommand command);

}  // namespace app
