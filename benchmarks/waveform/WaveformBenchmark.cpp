// Figures of the waveform on the two-hour file: computing the whole envelope
// against the engine's plain decode, how soon the first columns are drawn, a full
// repaint 1,000 pixels wide at each zoom, and the memory the peaks take. Run with
// `scripts/benchmark waveform`.
#include <windows.h>

#include <chrono>
#include <cstdio>
#include <memory>
#include <vector>

#include "app/Form1.h"
#include "base/MessageLoop.h"
#include "benchmarks/support/Measure.h"
#include "media/Mp3Stream.h"
#include "support/DialogWatcher.h"
#include "support/WindowTesting.h"

namespace {

using Clock = std::chrono::steady_clock;

double Seconds(Clock::duration d) { return std::chrono::duration<double>(d).count(); }

// The engine's plain decode of the whole file, from its index.
double PlainDecodeSeconds(const std::wstring& path, std::shared_ptr<const media::Mp3Index> index) {
    media::Mp3Stream stream(path, std::move(index));
    std::vector<std::int16_t> block(8192 * static_cast<std::size_t>(stream.Channels()));
    const auto start = Clock::now();
    while (stream.Read(block.data(), 8192) > 0) {
    }
    return Seconds(Clock::now() - start);
}

double EnvelopeSeconds(const std::wstring& path, std::shared_ptr<const media::Mp3Index> index, bool loudness = true) {
    const auto start = Clock::now();
    media::Waveform waveform(path, std::move(index), loudness);
    while (!waveform.Finished()) ::Sleep(1);
    return Seconds(Clock::now() - start);
}

}  // namespace

int main() {
    std::setvbuf(stdout, nullptr, _IONBF, 0);
    const std::wstring path = testing_support::FixturePath(L"media\\long_2h.mp3");
    testing_support::DialogWatcher watcher;  // answers "Playing the file" with OK
    app::Form1 form;
    form.Show();
    form.OpenMp3(path);
    const auto index = form.player().Index();
    if (!index) {
        std::fwprintf(stderr, L"%ls cannot be opened\n", path.c_str());
        return 1;
    }
    form.player().Pause();

    // The better of two rounds each, taking turns.
    double decode = 1e9;
    double envelope = 1e9;
    double levelsOnly = 1e9;
    for (int round = 0; round < 2; ++round) {
        decode = std::min(decode, PlainDecodeSeconds(path, index));
        envelope = std::min(envelope, EnvelopeSeconds(path, index));
        levelsOnly = std::min(levelsOnly, EnvelopeSeconds(path, index, false));
    }
    std::printf("whole envelope of %.0f min: %.2f s; the engine's plain decode: %.2f s (%.2f x; goal 1.25 x)\n",
                index->Duration() / 60, envelope, decode, envelope / decode);
    std::printf("the envelope with the loudness: %.2f s; without it: %.2f s (%.2f x; goal 1.1 x)\n", envelope,
                levelsOnly, envelope / levelsOnly);

    // From the key press to the first column of ink on the screen, as the window's own refresh draws it.
    const auto opened = Clock::now();
    form.ShowWaveform();
    app::WaveformWindow& window = *form.Waveform();
    const COLORREF ink = app::WaveformPainter::kInk;
    const std::uint32_t inkPixel = (GetRValue(ink) << 16) | (GetGValue(ink) << 8) | GetBValue(ink);
    // The second column: the playhead stands on the first.
    auto firstColumnDrawn = [&] {
        const testing_support::Pixels screen = testing_support::CaptureClient(window.Handle());
        for (int y = 0; y < screen.height; ++y)
            if (screen.At(window.View().PlotLeft() + 1, y) == inkPixel) return true;
        return false;
    };
    while (!firstColumnDrawn() && Clock::now() - opened < std::chrono::seconds(10)) {
        base::DoEvents();
        ::Sleep(1);
    }
    std::printf("first columns on the screen %.1f ms after opening the window (goal 100 ms)\n",
                Seconds(Clock::now() - opened) * 1e3);
    while (!window.Peaks()->Finished()) base::DoEvents();
    std::printf("memory for the peaks: %.1f MB (goal 16 MB)\n", window.Peaks()->PeakBytes() / 1048576.0);

    // A full repaint with the client area 1,000 pixels wide.
    RECT frame{0, 0, 1000, app::WaveformWindow::kClientHeight};
    ::AdjustWindowRectEx(&frame, static_cast<DWORD>(::GetWindowLongW(window.Handle(), GWL_STYLE)), FALSE, 0);
    ::SetWindowPos(window.Handle(), nullptr, 0, 0, frame.right - frame.left, frame.bottom - frame.top,
                   SWP_NOMOVE | SWP_NOZORDER);
    base::DoEvents();
    const app::WaveformView& view = window.View();
    const double rate = window.Peaks()->SampleRate();
    const struct {
        const char* name;
        double samplesShown;
    } zooms[] = {{"whole file", static_cast<double>(view.Length())},
                 {"1 minute", 60 * rate},
                 {"1 second", rate},
                 {"single samples", view.PlotWidth() * app::WaveformView::kClosestSamplesPerPixel}};
    for (const auto& zoom : zooms) {
        const double middle = view.First() + view.VisibleSamples() / 2;
        window.ZoomAround(zoom.samplesShown / view.VisibleSamples(), view.XOf(middle));
        window.ScrollTo(3600 * rate);
        ::RedrawWindow(window.Handle(), nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
        const double median = benchmarks::MedianMicroseconds(51, [&] {
            ::RedrawWindow(window.Handle(), nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
        });
        std::printf("full repaint at %d px, %s (%.4g samples to a pixel): %.2f ms (goal 16 ms)\n",
                    view.PlotWidth() + 2 * app::WaveformView::kMargin, zoom.name, view.SamplesPerPixel(), median / 1e3);
    }
    return 0;
}
