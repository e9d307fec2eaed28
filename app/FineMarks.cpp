#include "app/FineMarks.h"

#include <algorithm>
#include <cmath>

#include "app/Form1.h"
#include "app/TimeText.h"

namespace app {

namespace {

struct Marks {
    bool startSet;
    bool endSet;
    double start;  // 0 where not set, as the save reads it
    double end;
    double duration;
};

Marks MarksOf(Form1& form) {
    const std::wstring start = form.Label(5).Caption();
    const std::wstring end = form.Label(7).Caption();
    return {IsTimeSet(start), IsTimeSet(end), ParseSeconds(start), ParseSeconds(end),
            form.player().CurrentMedia().duration};
}

// The start stays within 0 and the end (or the file's end where none is set).
double StartBounds(const Marks& m, double seconds) { return std::clamp(seconds, 0.0, m.endSet ? m.end : m.duration); }
double EndBounds(const Marks& m, double seconds) { return std::clamp(seconds, std::min(m.start, m.duration), m.duration); }

void SnapToQuiet(Form1& form, const Marks& m) {
    const auto index = form.player().Index();
    if (!index || (!m.startSet && !m.endSet)) return;
    const double playhead = form.player().CurrentPosition();
    const bool moveStart = m.startSet && (!m.endSet || std::abs(m.start - playhead) <= std::abs(m.end - playhead));
    const double mark = moveStart ? m.start : m.end;
    const double rate = index->format.sampleRate;
    auto sampleAt = [rate](double seconds) { return static_cast<std::uint64_t>(std::llround(seconds * rate)); };
    const double lowest = moveStart ? StartBounds(m, mark - kQuietReachSeconds) : EndBounds(m, mark - kQuietReachSeconds);
    const double highest = moveStart ? StartBounds(m, mark + kQuietReachSeconds) : EndBounds(m, mark + kQuietReachSeconds);
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
    const Marks m = MarksOf(form);
    switch (command) {
    case kStartEarlier:
    case kStartLater:
        if (m.startSet) form.MoveStart(StartBounds(m, m.start + (command == kStartLater ? kNudgeSeconds : -kNudgeSeconds)));
        break;
    case kEndEarlier:
    case kEndLater:
        if (m.endSet) form.MoveEnd(EndBounds(m, m.end + (command == kEndLater ? kNudgeSeconds : -kNudgeSeconds)));
        break;
    case kHearStart:
        if (m.startSet) form.player().PlayRange(m.start, std::min(m.start + kHearSeconds, m.duration), form.SelectionGains());
        break;
    case kHearEnd:
        if (m.endSet) form.player().PlayRange(std::max(m.end - kHearSeconds, 0.0), m.end, form.SelectionGains());
        break;
    case kSnapToQuiet:
        SnapToQuiet(form, m);
        break;
    case kShowWaveform:
        break;
    }
}

}  // namespace app
