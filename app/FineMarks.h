#pragma once
// Marking finely without playing the file again: moving a mark by 10 ms,
// hearing how the cut begins and ends, and moving a mark to a pause.
#include "app/Shortcuts.h"

namespace app {

class Form1;

// How far one press moves a mark, and how much of the cut the hearing keys play.
inline constexpr double kNudgeSeconds = 0.010;
inline constexpr double kHearSeconds = 2.0;
// How far from a mark a pause is looked for, and how long a pause is.
inline constexpr double kQuietReachSeconds = 0.150;
inline constexpr double kQuietStretchSeconds = 0.005;

// Runs one of the fine-marking commands on the form's marks; does nothing where
// the mark it needs is not set.
void RunMarkCommand(Form1& form, MarkCommand command);

}  // namespace app
