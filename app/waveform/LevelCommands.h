#pragma once
// The waveform window's Level menu: fades, a change of level and normalizing (to
// the loudest sample or to a loudness target), set on the main window's selection;
// the loudness measured; whether saves write ReplayGain tags.
#include "app/Shortcuts.h"

namespace app {

class Form1;
class WaveformWindow;

// The user settings behind the menu: the last loudness target (tenths of a LUFS),
// and whether saves write ReplayGain tags (off at first).
inline constexpr const wchar_t* kLoudnessTargetSetting = L"LoudnessTarget";
inline constexpr const wchar_t* kReplayGainTagsSetting = L"WriteReplayGainTags";
bool WritesReplayGainTags();

void RunLevelCommand(Form1& main, WaveformWindow& window, WaveformCommand command);

}  // namespace app
