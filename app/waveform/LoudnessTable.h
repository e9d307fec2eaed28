#pragma once
// The "Loudness" window: a table of the loudness of the file, of the selection
// and of each piece (the selection and the pieces as they will be saved, with the
// level's change), with their loudness range and true peak.
#include <windows.h>

#include <optional>
#include <string>
#include <vector>

#include "app/SplitPoints.h"
#include "media/Media.h"

namespace app {

struct LoudnessRow {
    std::wstring name;  // "File", "Selection", "Piece 3"
    media::Loudness loudness;
    double changeDb = 0;  // the level it will be saved with
};

// The table's rows for a file measured in `waveform`.
std::vector<LoudnessRow> LoudnessRows(const media::Waveform& waveform, std::optional<media::SampleRange> selection,
                                      double levelDb, const SplitPoints& splits);

// A row's cells after its name: loudness, loudness range, true peak.
std::vector<std::wstring> LoudnessCells(const LoudnessRow& row);

// Shows the table over `owner` until closed; `note` (may be empty) stands under it.
void ShowLoudnessTable(HWND owner, const std::vector<LoudnessRow>& rows, const std::wstring& note);

}  // namespace app
