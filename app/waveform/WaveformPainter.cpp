#include "app/waveform/WaveformPainter.h"

#include <algorithm>
#include <cmath>
#include <string>
#include <vector>

#include "app/TimeText.h"
#include "base/Rounding.h"
#include "forms/Font.h"
#include "forms/SolidFill.h"

namespace app {

namespace {

constexpr int kRulerHeight = 36;  // the time labels above, the piece numbers below
constexpr int kStatusHeight = 20;
constexpr int kLabelRoom = 84;  // pixels a ruler label needs, "1:23:45.678" and a gap
constexpr int kMarkHandle = 4;  // half the width of a mark's handle at the top of the plot
constexpr COLORREF kChrome = RGB(240, 240, 240);
constexpr COLORREF kRulerInk = RGB(90, 90, 90);
constexpr COLORREF kCentreLine = RGB(210, 210, 210);
constexpr COLORREF kUnreadable = RGB(170, 170, 170);

// Ruler steps in seconds, the first that leaves room for a label is used.
constexpr double kRulerSteps[] = {0.001, 0.002, 0.005, 0.01, 0.02, 0.05, 0.1, 0.2, 0.5, 1, 2, 5, 10, 15, 30,
                                  60,    120,   300,   600,  900,  1800, 3600, 7200, 14400, 28800, 86400};

// One pixel wide vertical line from y0 to y1, both drawn.
void VerticalLine(HDC dc, long x, long y0, long y1, COLORREF color) {
    forms::FillSolid(dc, RECT{x, std::min(y0, y1), x + 1, std::max(y0, y1) + 1}, color);
}

int SampleRateOf(const WaveformScene& scene) { return scene.peaks ? scene.peaks->SampleRate() : 1; }

}  // namespace

WaveformLayout::WaveformLayout(const RECT& client)
    : ruler{client.left, client.top, client.right, client.top + kRulerHeight},
      plot{client.left, ruler.bottom, client.right, std::max(ruler.bottom, client.bottom - kStatusHeight)},
      status{client.left, plot.bottom, client.right, client.bottom} {}

WaveformPainter::WaveformPainter()
    : font_(forms::Font(L"Tahoma", 8).CreateHandle(96)), hatch_(::CreateHatchBrush(HS_BDIAGONAL, kUnreadable)) {}

RECT WaveformPainter::Lane(const RECT& plot, int channel, int channels) noexcept {
    const long height = plot.bottom - plot.top;
    return RECT{plot.left, plot.top + height * channel / channels, plot.right, plot.top + height * (channel + 1) / channels};
}

int WaveformPainter::YOf(const RECT& lane, int value) const noexcept {
    const double middle = (lane.top + lane.bottom - 1) / 2.0;
    const double half = (lane.bottom - lane.top) / 2.0 - 2;
    double height = value / 32768.0;
    if (decibels_ && value != 0) {
        const double db = 20 * std::log10(std::abs(height));
        height = std::copysign(std::max(0.0, (db - kFloorDb) / -kFloorDb), height);
    }
    return base::RoundToInt(middle - height * half);
}

void WaveformPainter::Paint(HDC dc, const RECT& client, const RECT& dirty, const WaveformScene& scene) const {
    const WaveformLayout layout(client);
    const WaveformView& view = scene.view;
    forms::FillSolid(dc, dirty, kChrome);
    base::SelectedObject font(dc, font_.Get());
    ::SetBkMode(dc, TRANSPARENT);
    if (RECT area; ::IntersectRect(&area, &dirty, &layout.ruler)) PaintRuler(dc, layout.ruler, scene);
    if (RECT area; ::IntersectRect(&area, &dirty, &layout.status)) PaintStatus(dc, layout.status, scene);
    if (!scene.peaks) return;

    // The plot's columns that need drawing.
    RECT plot = layout.plot;
    plot.left = view.PlotLeft();
    plot.right = std::min<long>(plot.left + view.PlotWidth(), client.right);
    RECT area{};
    if (!::IntersectRect(&area, &dirty, &plot)) return;
    forms::FillSolid(dc, area, kPlotBack);

    auto clampX = [&](double x) { return base::FloorWithin(x, area.left, area.right); };
    if (scene.start && scene.cutEnd) {
        RECT band{clampX(view.XOf(*scene.start)), area.top, clampX(view.XOf(*scene.cutEnd)), area.bottom};
        if (band.right > band.left) forms::FillSolid(dc, band, kSelection);
    }
    PaintFades(dc, plot, true, scene);
    // What the saved pieces leave out of each pause: all but the ends they keep.
    const double kept = kPauseKeptSeconds * SampleRateOf(scene);
    for (const Pause& pause : scene.leftOut) {
        RECT band{clampX(view.XOf(static_cast<double>(pause.first) + kept)), area.top,
                  clampX(view.XOf(static_cast<double>(pause.end) - kept)), area.bottom};
        if (band.right > band.left) forms::FillSolid(dc, band, kLeftOut);
    }
    const media::Waveform& peaks = *scene.peaks;
    for (int channel = 0; channel < peaks.Channels(); ++channel) {
        const int middle = YOf(Lane(plot, channel, peaks.Channels()), 0);
        if (middle >= area.top && middle < area.bottom)
            forms::FillSolid(dc, RECT{area.left, middle, area.right, middle + 1}, kCentreLine);
    }
    if (peaks.Finished() && peaks.ReadyLength() < peaks.Length()) {
        // Where the file stopped decoding: hatched to its end.
        RECT lost{clampX(view.XOf(static_cast<double>(peaks.ReadyLength()))), area.top, area.right, area.bottom};
        if (lost.right > lost.left) {
            ::SetBkColor(dc, kPlotBack);
            ::SetBkMode(dc, OPAQUE);
            ::FillRect(dc, &lost, hatch_.Get());
            ::SetBkMode(dc, TRANSPARENT);
        }
    }
    for (int channel = 0; channel < peaks.Channels(); ++channel) {
        const RECT lane = Lane(plot, channel, peaks.Channels());
        if (view.SamplesPerPixel() <= kPointsFrom)
            PaintPoints(dc, lane, channel, scene);
        else
            PaintEnvelope(dc, lane, channel, area.left, area.right, scene);
        PaintFades(dc, lane, false, scene);
    }

    auto markLine = [&](std::optional<double> sample, COLORREF color) {
        if (!sample) return;
        const long x = base::FloorWithin(view.XOf(*sample), area.left - kMarkHandle - 1, area.right + kMarkHandle);
        if (x < area.left - kMarkHandle || x >= area.right + kMarkHandle) return;
        VerticalLine(dc, x, plot.top, plot.bottom - 1, color);
        forms::FillSolid(dc, RECT{x - kMarkHandle, plot.top, x + kMarkHandle + 1, plot.top + 6}, color);
    };
    for (std::uint64_t split : scene.splits) {
        const long x = base::FloorWithin(view.XOf(static_cast<double>(split)), area.left - 1, area.right);
        if (x >= area.left && x < area.right) VerticalLine(dc, x, plot.top, plot.bottom - 1, kSplit);
    }
    markLine(scene.start, kStartMark);
    markLine(scene.end, kEndMark);
    const long head = base::FloorWithin(view.XOf(scene.playhead), area.left - 1, area.right);
    if (head >= area.left && head < area.right) VerticalLine(dc, head, plot.top, plot.bottom - 1, kPlayhead);
}

// One channel's peaks in its lane, a vertical line a column, and its RMS inside them in a second shade.
void WaveformPainter::PaintEnvelope(HDC dc, const RECT& lane, int channel, long fromX, long toX,
                                    const WaveformScene& scene) const {
    const WaveformView& view = scene.view;
    const media::Waveform& peaks = *scene.peaks;
    const bool fromPeaks = view.SamplesPerPixel() >= kPeaksFrom;
    const std::size_t channels = static_cast<std::size_t>(peaks.Channels());
    const std::uint64_t decoded = scene.samples.size() / channels;
    std::vector<POINT> points, rmsPoints;
    std::vector<DWORD> counts, rmsCounts;
    for (long x = fromX; x < toX; ++x) {
        const double first = view.SampleAt(x);
        const auto begin = static_cast<std::uint64_t>(std::max(0.0, std::floor(first)));
        const auto end = std::min(static_cast<std::uint64_t>(std::ceil(first + view.SamplesPerPixel())), peaks.Length());
        media::Level level;
        if (fromPeaks) {
            level = peaks.LevelOf(begin, end, channel);
        } else {
            // The decoded samples that fall in this column.
            const std::uint64_t from = std::max(begin, scene.samplesFirst);
            const std::uint64_t to = std::min(end, scene.samplesFirst + decoded);
            double squares = 0;
            for (std::uint64_t s = from; s < to; ++s) {
                const std::int16_t sample = scene.samples[static_cast<std::size_t>((s - scene.samplesFirst) * channels) +
                                                          static_cast<std::size_t>(channel)];
                level.peak.Add(sample);
                squares += static_cast<double>(sample) * sample;
            }
            if (to > from) level.rms = std::sqrt(squares / static_cast<double>(to - from));
        }
        if (level.peak.Empty()) continue;
        if (scene.gains) {
            // As it will be saved: the level and the fades' curve at the column's middle.
            const double middle = first + view.SamplesPerPixel() / 2;
            const double gain = scene.gains->Curve(middle) * std::exp2(scene.gains->Change().steps / 4.0);
            auto scaled = [gain](int value) { return static_cast<std::int16_t>(std::clamp(value * gain, -32768.0, 32767.0)); };
            level.peak.high = scaled(level.peak.high);
            level.peak.low = scaled(level.peak.low);
            level.rms = std::min(level.rms * gain, 32767.0);
        }
        // A line's end point is not drawn: end one below the lowest value.
        points.push_back(POINT{x, YOf(lane, level.peak.high)});
        points.push_back(POINT{x, YOf(lane, level.peak.low) + 1});
        counts.push_back(2);
        const int rms = static_cast<int>(std::lround(level.rms));
        if (rms > 0) {
            rmsPoints.push_back(POINT{x, YOf(lane, rms)});
            rmsPoints.push_back(POINT{x, YOf(lane, -rms) + 1});
            rmsCounts.push_back(2);
        }
    }
    auto draw = [dc](COLORREF color, const std::vector<POINT>& lines, const std::vector<DWORD>& lineCounts) {
        if (lineCounts.empty()) return;
        base::PenHandle pen(::CreatePen(PS_SOLID, 1, color));
        base::SelectedObject selected(dc, pen.Get());
        ::PolyPolyline(dc, lines.data(), lineCounts.data(), static_cast<DWORD>(lineCounts.size()));
    };
    draw(kInk, points, counts);
    draw(kRms, rmsPoints, rmsCounts);
}

// The fades over the selection's edges: the part of the plot above and below
// their lines shaded, then the lines from the centre at the silent end to the
// plot's top and bottom at the full one.
void WaveformPainter::PaintFades(HDC dc, const RECT& plot, bool shade, const WaveformScene& scene) const {
    if (!scene.gains) return;
    const WaveformView& view = scene.view;
    const media::SampleRange range = scene.gains->Range();
    const double rate = SampleRateOf(scene);
    const long middle = YOf(plot, 0);
    auto draw = [&](double silentSample, double fullSample) {
        const long silent = static_cast<long>(std::floor(view.XOf(silentSample)));
        const long full = static_cast<long>(std::floor(view.XOf(fullSample)));
        if (silent == full) return;
        if (shade) {
            base::BrushHandle brush(::CreateSolidBrush(kFadeShade));
            base::PenHandle pen(::CreatePen(PS_SOLID, 1, kFadeShade));
            base::SelectedObject selectedBrush(dc, brush.Get());
            base::SelectedObject selectedPen(dc, pen.Get());
            const POINT top[] = {{silent, plot.top}, {full, plot.top}, {silent, middle}};
            const POINT bottom[] = {{silent, plot.bottom - 1}, {full, plot.bottom - 1}, {silent, middle}};
            ::Polygon(dc, top, 3);
            ::Polygon(dc, bottom, 3);
            return;
        }
        base::PenHandle pen(::CreatePen(PS_SOLID, 2, kFade));
        base::SelectedObject selected(dc, pen.Get());
        const POINT lines[] = {{full, plot.top}, {silent, middle}, {full, plot.bottom - 1}};
        ::Polyline(dc, lines, 3);
    };
    const media::LevelChange& change = scene.gains->Change();
    const auto first = static_cast<double>(range.first);
    const auto end = static_cast<double>(range.end);
    if (change.fadeIn > 0) draw(first, first + change.fadeIn * rate);
    if (change.fadeOut > 0) draw(end, end - change.fadeOut * rate);
}

void WaveformPainter::PaintPoints(HDC dc, const RECT& lane, int channel, const WaveformScene& scene) const {
    const WaveformView& view = scene.view;
    const std::size_t channels = static_cast<std::size_t>(scene.peaks->Channels());
    const std::size_t count = scene.samples.size() / channels;
    std::vector<POINT> line;
    line.reserve(count);
    for (std::size_t i = 0; i < count; ++i) {
        const double x = view.XOf(static_cast<double>(scene.samplesFirst + i) + 0.5);
        if (x < lane.left - 4 || x > lane.right + 4) continue;
        line.push_back(POINT{static_cast<long>(std::floor(x)),
                             YOf(lane, scene.samples[i * channels + static_cast<std::size_t>(channel)])});
    }
    base::PenHandle pen(::CreatePen(PS_SOLID, 1, kInk));
    base::SelectedObject selected(dc, pen.Get());
    if (line.size() > 1) ::Polyline(dc, line.data(), static_cast<int>(line.size()));
    for (const POINT& p : line) forms::FillSolid(dc, RECT{p.x - 1, p.y - 1, p.x + 2, p.y + 2}, kInk);
}

void WaveformPainter::PaintRuler(HDC dc, const RECT& ruler, const WaveformScene& scene) const {
    forms::FillSolid(dc, RECT{ruler.left, ruler.bottom - 1, ruler.right, ruler.bottom}, kRulerInk);
    if (!scene.peaks) return;
    const WaveformView& view = scene.view;
    const double rate = SampleRateOf(scene);
    const double secondsPerPixel = view.SamplesPerPixel() / rate;
    double step = kRulerSteps[std::size(kRulerSteps) - 1];
    for (double candidate : kRulerSteps) {
        if (candidate / secondsPerPixel >= kLabelRoom) {
            step = candidate;
            break;
        }
    }
    const double firstSecond = view.First() / rate;
    const double lastSecond = std::min(view.First() + view.VisibleSamples(), static_cast<double>(view.Length())) / rate;
    ::SetTextColor(dc, kRulerInk);
    for (long long k = static_cast<long long>(std::ceil(firstSecond / step)); k * step <= lastSecond; ++k) {
        const double seconds = static_cast<double>(k) * step;
        const long x = static_cast<long>(std::floor(view.XOf(seconds * rate)));
        VerticalLine(dc, x, ruler.bottom - 7, ruler.bottom - 1, kRulerInk);
        const std::wstring text = FormatClock(seconds);
        SIZE size{};
        ::GetTextExtentPoint32W(dc, text.c_str(), static_cast<int>(text.size()), &size);
        if (x + 3 + size.cx <= ruler.right)  // a label that would be cut off is left out
            ::TextOutW(dc, x + 3, ruler.top + 3, text.c_str(), static_cast<int>(text.size()));
    }
    if (!scene.splits.empty()) PaintPieceNumbers(dc, ruler, scene);
}

// Each piece's number on a tag at its start, below the time labels.
void WaveformPainter::PaintPieceNumbers(HDC dc, const RECT& ruler, const WaveformScene& scene) const {
    const WaveformView& view = scene.view;
    ::SetTextColor(dc, RGB(255, 255, 255));
    for (std::size_t piece = 0; piece <= scene.splits.size(); ++piece) {
        const double first = piece == 0 ? 0.0 : static_cast<double>(scene.splits[piece - 1]);
        const double x = view.XOf(first);
        if (x >= ruler.right || x < ruler.left - kLabelRoom) continue;
        const std::wstring text = std::to_wstring(piece + 1);
        SIZE size{};
        ::GetTextExtentPoint32W(dc, text.c_str(), static_cast<int>(text.size()), &size);
        const long left = static_cast<long>(std::floor(x));
        const RECT tag{left, ruler.top + 19, left + size.cx + 6, ruler.bottom - 2};
        forms::FillSolid(dc, tag, kSplit);
        ::TextOutW(dc, tag.left + 3, tag.top + 1, text.c_str(), static_cast<int>(text.size()));
    }
}

std::vector<StatusItem> StatusItems(const WaveformScene& scene) {
    std::vector<StatusItem> items;
    if (!scene.peaks) return items;
    const double rate = scene.peaks->SampleRate();
    auto clock = [rate](std::optional<double> sample) { return sample ? FormatClock(*sample / rate) : std::wstring(); };
    items.push_back({L"Playhead", FormatClock(scene.playhead / rate)});
    items.push_back({L"Start", clock(scene.start)});
    items.push_back({L"End", clock(scene.end)});
    items.push_back(
        {L"Length", scene.start && scene.cutEnd ? FormatClock((*scene.cutEnd - *scene.start) / rate) : std::wstring()});
    if (!scene.levels.empty()) items.push_back({L"Level", scene.levels, false});
    if (!scene.loudness.empty()) items.push_back({L"Loudness", scene.loudness, false});
    if (!scene.splits.empty()) {
        const auto piece = std::ranges::upper_bound(scene.splits, static_cast<std::uint64_t>(std::max(0.0, scene.playhead))) -
                           scene.splits.begin();
        items.push_back({L"Piece", std::to_wstring(piece + 1) + L" of " + std::to_wstring(scene.splits.size() + 1)});
    }
    return items;
}

void WaveformPainter::PaintStatus(HDC dc, const RECT& status, const WaveformScene& scene) const {
    if (!scene.peaks) return;
    const double rate = scene.peaks->SampleRate();
    std::wstring text;
    for (const StatusItem& item : StatusItems(scene))
        if (!item.value.empty())
            text += (text.empty() ? L"" : L"     ") + (item.shownNamed ? std::wstring(item.name) + L" " : L"") + item.value;
    const media::Waveform& peaks = *scene.peaks;
    std::wstring state;
    if (!peaks.Finished())
        state = L"Reading the audio: " +
                std::to_wstring(peaks.Length() ? peaks.ReadyLength() * 100 / peaks.Length() : 100) + L" %";
    else if (peaks.ReadyLength() < peaks.Length())
        state = L"Cannot be decoded after " + FormatClock(static_cast<double>(peaks.ReadyLength()) / rate);
    RECT box{status.left + WaveformView::kMargin, status.top, status.right - WaveformView::kMargin, status.bottom};
    ::SetTextColor(dc, RGB(0, 0, 0));
    ::DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &box, DT_LEFT | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
    ::DrawTextW(dc, state.c_str(), static_cast<int>(state.size()), &box, DT_RIGHT | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
}

}  // namespace app
