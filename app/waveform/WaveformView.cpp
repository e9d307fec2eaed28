#include "app/waveform/WaveformView.h"

#include <algorithm>

namespace app {

void WaveformView::SetLength(std::uint64_t samples) {
    length_ = samples;
    ShowWhole();
}

void WaveformView::ShowWhole() {
    first_ = 0;
    samplesPerPixel_ = WholeFileSamplesPerPixel();
}

void WaveformView::SetClientWidth(int width) {
    const bool whole = ShowsWholeFile();
    plotWidth_ = std::max(1, width - 2 * kMargin);
    if (whole)
        samplesPerPixel_ = WholeFileSamplesPerPixel();
    else
        samplesPerPixel_ = std::min(samplesPerPixel_, WholeFileSamplesPerPixel());
    ScrollTo(first_);
}

double WaveformView::WholeFileSamplesPerPixel() const noexcept {
    return std::max(static_cast<double>(length_), 1.0) / plotWidth_;
}

double WaveformView::SampleAt(double x) const noexcept { return first_ + (x - kMargin) * samplesPerPixel_; }

double WaveformView::XOf(double sample) const noexcept { return kMargin + (sample - first_) / samplesPerPixel_; }

void WaveformView::ZoomAround(double factor, double x) {
    const double anchor = SampleAt(x);
    const double whole = WholeFileSamplesPerPixel();
    samplesPerPixel_ = std::clamp(samplesPerPixel_ * factor, std::min(kClosestSamplesPerPixel, whole), whole);
    ScrollTo(anchor - (x - kMargin) * samplesPerPixel_);
}

double WaveformView::LastFirst() const noexcept { return std::max(0.0, static_cast<double>(length_) - VisibleSamples()); }

void WaveformView::ScrollTo(double first) { first_ = std::clamp(first, 0.0, LastFirst()); }

}  // namespace app
