#include "app/FineMarks.h"

#include <algorithm>
#include <cmath>

#include "app/Form1.h"

namespace app {

namespace {

void SnapToQuiet(Form1& form, const Marks& m) {
    const auto index = form.player().Index();
    if (!index || (!m.start && !m.end)) return;
    const double playhead = form.player().CurrentPosition();
    const bool moveStart = m.start && (!m.end || std::abs(*m.start - playhead) <= std::abs(*m.end - playhead));
    const double mark = moveStart ? *m.start : *m.end;
    const double rate = index->format.sampleRate;
    auto sampleAt = [rate](double seconds) { return static_cast<std::uint64_t>(std::llround(seconds * rate)); };
    const double lowest = moveStart ? m.StartBounds(mark - kQuietReachSeconds) : m.EndBounds(mark - kQuietReachSeconds);
    const double highest = moveStart ? m.StartBounds(mark + kQuietReachSeconds) : m.EndBounds(mark + kQuietReachSeconds);
    const std::uint64_t quiet =
        media::QuietestPoint(form.player().URL(), index, sampleAt(lowest), sampleAt(highest), sampleAt(mark),
                             static_cast<std::size_t>(std::llround(kQuietStretchSeconds * rate)));
    const double seconds = static_cast<double>(quiet) / rate;
    if (moveStart)
        form.MoveStart(seconds);
    else
        form.MoveEnd(seconds);
}

}  // namespace

void RunMarkCommand(Form1& form, MarkCommand command) {
    const Marks m = form.CurrentMarks();
    switch (command) {
    case kStartEarlier:
    case kStartLater:
        if (m.start) form.MoveStart(m.StartBounds(*m.start + (command == kStartLater ? kNudgeSeconds : -kNudgeSeconds)));
        break;
    case kEndEarlier:
    case kEndLater:
        if (m.end) form.MoveEnd(m.EndBounds(*m.end + (command == kEndLater ? kNudgeSeconds : -kNudgeSeconds)));
        break;
    case kHearStart:
        if (m.start) form.player().PlayRange(*m.start, std::min(*m.start + kHearSeconds, m.duration), form.SelectionGains());
        break;
    case kHearEnd:
        if (m.end) form.player().PlayRange(std::max(*m.end - kHearSeconds, 0.0), *m.end, form.SelectionGains());
        break;
    case kSnapToQuiet:
        SnapToQuiet(form, m);
        break;
    case kShowWaveform:
    case kSplitHere:
        break;
    }
}

}  // namespace app
