#pragma once
// The waveform window's Level menu: fades, a change of level and normalizing (to
// the loudest sample or to a loudness target), set on the main window's selection;
// the loudness measured; whether saves write ReplayGain tags.
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "app/Shortcuts.h"
#include "media/Media.h"

namespace app {

class Form1;
class WaveformWindow;

// The user settings behind the menu: the last loudness target (tenths of a LUFS),
// and whether saves write ReplayGain tags (off at first).
inline constexpr const wchar_t* kLoudnessTargetSetting = L"LoudnessTarget";
inline constexpr const wchar_t* kReplayGainTagsSetting = L"WriteReplayGainTags";
bool WritesReplayGainTags();

// The ReplayGain frames for the samples `track` of the loaded file saved with the
// selection's level, and for `album` (the span of a set of pieces) where given: none
// unless the setting asks for them and the waveform has measured the file.
std::vector<std::pair<std::string, std::string>> ReplayGainFor(Form1& main, media::SampleRange track,
                                                               std::optional<media::SampleRange> album = {});

void RunLevelCommand(Form1& main, WaveformWindow& window, WaveformCommand command);

}  // namespace app
