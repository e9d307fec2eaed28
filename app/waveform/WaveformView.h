#pragma once
// Which samples of a file a waveform window shows where: the mapping between its
// columns and the file's samples, zooming and scrolling. Column c of the plot
// shows the samples [First() + c * SamplesPerPixel(), First() + (c + 1) * SamplesPerPixel()).
#include <cstdint>

namespace app {

class WaveformView {
public:
    // The room left and right of the plot.
    static constexpr int kMargin = 8;
    // The closest zoom: one sample to four pixels.
    static constexpr double kClosestSamplesPerPixel = 0.25;

    // A new file, shown whole.
    void SetLength(std::uint64_t samples);
    // The whole file, at the zoom that fits it.
    void ShowWhole();
    // A new window width; the zoom and the left edge stay where they can, and a whole view stays whole.
    void SetClientWidth(int width);

    std::uint64_t Length() const noexcept { return length_; }
    int PlotLeft() const noexcept { return kMargin; }
    int PlotWidth() const noexcept { return plotWidth_; }
    double First() const noexcept { return first_; }
    double SamplesPerPixel() const noexcept { return samplesPerPixel_; }
    double VisibleSamples() const noexcept { return samplesPerPixel_ * plotWidth_; }
    bool ShowsWholeFile() const noexcept { return samplesPerPixel_ >= WholeFileSamplesPerPixel(); }

    // The sample (fractional) at client x, and the client x of a sample.
    double SampleAt(double x) const noexcept;
    double XOf(double sample) const noexcept;

    // Zooms by `factor` (below 1 closer) keeping the sample at client x in place.
    void ZoomAround(double factor, double x);
    // Scrolls so the plot starts at `first`, as far as the file allows.
    void ScrollTo(double first);
    void ScrollByPixels(double pixels) { ScrollTo(first_ + pixels * samplesPerPixel_); }
    // The first sample the plot can start with at this zoom.
    double LastFirst() const noexcept;

private:
    double WholeFileSamplesPerPixel() const noexcept;

    std::uint64_t length_ = 0;
    int plotWidth_ = 1;
    double first_ = 0;
    double samplesPerPixel_ = 1;
};

}  // namespace app
