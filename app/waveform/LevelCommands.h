#pragma once
// The waveform window's Level menu: fades, a change of level and normalizing,
// set on the main window's selection.
#include "app/Shortcuts.h"

namespace app {

class Form1;
class WaveformWindow;

void RunLevelCommand(Form1& main, WaveformWindow& window, WaveformCommand command);

}  // namespace app
