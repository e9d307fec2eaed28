#include "app/waveform/SplitCommands.h"

#include "app/Form1.h"

namespace app {

void RunSplitCommand(Form1&, WaveformWindow&, WaveformCommand) {}

}  // namespace app
