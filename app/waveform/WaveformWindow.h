#pragma once
// The waveform window: the loaded file's audio drawn across the window, the
// selection, the split points and the playhead on it, zooming and scrolling,
// clicking to seek and dragging the marks, and the commands that split the file
// into pieces. It holds no selection of its own: the marks are the main window's,
// read for every picture and moved through the main window, and the split points
// are the main window's too.
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <tuple>
#include <vector>

#include "app/RememberedPlace.h"
#include "app/waveform/WaveformPainter.h"
#include "app/waveform/WaveformView.h"
#include "base/Handles.h"
#include "forms/BackBuffer.h"
#include "forms/Form.h"
#include "forms/Timer.h"
#include "media/Media.h"

namespace app {

class Form1;

class WaveformWindow : public forms::Form {
public:
    static constexpr int kClientWidth = 900;
    static constexpr int kClientHeight = 260;
    // How often the playhead and the filling envelope are brought up to date.
    static constexpr UINT kRefreshMs = 25;

    explicit WaveformWindow(Form1& main);
    ~WaveformWindow() override;

    // Shows this file, whole; its peaks are computed from here on.
    void ShowFile(const std::wstring& path, std::shared_ptr<const media::Mp3Index> index);
    // The marks or the selection changed in the main window.
    void MarksChanged();

    const WaveformView& View() const noexcept { return view_; }
    const media::Waveform* Peaks() const noexcept { return peaks_.get(); }
    media::Waveform* Peaks() noexcept { return peaks_.get(); }
    // Zooms by `factor` (below 1 closer) around client x, as the wheel does.
    void ZoomAround(double factor, double x);
    // Scrolls so the plot starts at this sample.
    void ScrollTo(double first);

protected:
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
    void OnShortcut(WORD command) override;
    bool ShortcutRepeats(WORD command) const override;
    std::vector<DrawnPart> DrawnParts() const override;

private:
    enum class Mark { None, Start, End, Split };
    // What a press on the plot took hold of.
    struct Grab {
        Mark kind = Mark::None;
        std::uint64_t split = 0;  // the split point's sample, for Mark::Split: keys may renumber the points meanwhile
    };
    // The marks in samples of the file.
    struct MarkSamples {
        std::optional<double> start, end, cutEnd;
    };

    WaveformScene Scene();
    std::wstring LevelsText(const media::GainPlan& gains) const;
    std::wstring StatusLoudness() const;
    // The scene without the decoded samples.
    WaveformScene MarkedScene() const;
    void Paint(HDC dc, const RECT& area);
    void Refresh();
    void ViewChanged();
    void UpdateScrollBar();
    void OnScroll(int request);
    void DecodeVisible();
    RECT PlotArea() const;
    double Rate() const;
    double PlayheadSample() const;
    MarkSamples CurrentMarkSamples() const;
    Grab MarkAt(int x) const;
    void OnDoubleClick(int x, int y);
    void InvalidateColumn(double x);
    void SplitPointsChanged();
    void OnLeftDown(int x, int y);
    void OnMouseMove(int x);
    void OnLeftUp(int x);
    // Where the user last left the window, or else beside the main window.
    void OpenInPlace(SIZE size);

    Form1& main_;
    RememberedPlace place_;
    base::IconHandle smallIcon_;
    base::IconHandle bigIcon_;
    WaveformView view_;
    WaveformPainter painter_;
    forms::BackBuffer buffer_;
    forms::Timer refresh_{kRefreshMs, false};
    std::unique_ptr<media::Waveform> peaks_;
    // Decoded samples around the view, for views closer than a stored peak.
    std::vector<std::int16_t> samples_;
    std::uint64_t samplesFirst_ = 0;
    // What the last refresh drew, to redraw only what changed.
    double shownPlayhead_ = 0;
    std::uint64_t shownReady_ = 0;
    bool shownFinished_ = false;
    double scrollScale_ = 1;  // samples to a scroll bar unit
    Grab dragging_;
    double dragX_ = 0;
    std::optional<int> panX_;  // where a drag with the right button last was
    // The selection's fades and level as last drawn, and how many granules they hold at the highest gain.
    // Brought up to date whenever a scene is made.
    mutable std::shared_ptr<const media::GainPlan> gains_;
    mutable std::optional<media::LevelChange> heldFor_;
    mutable media::SampleRange heldRange_;
    mutable std::uint64_t held_ = 0;
    // The status line's loudness and what it was measured for (the range and the level's steps).
    mutable std::optional<std::tuple<std::uint64_t, std::uint64_t, int>> loudnessFor_;
    mutable std::wstring loudness_;
};

}  // namespace app
