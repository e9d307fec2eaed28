// What one full repaint of a themed button costs, per style and state, at the
// main window's 97 x 25, next to a baseline measured in the same run: one solid
// fill and one caption draw on the same window. Goal: every style within 10
// times the baseline, Style 10 within 20 times. Run with: scripts/benchmark themedbutton
#include <windows.h>

#include <cstdio>
#include <functional>
#include <memory>
#include <optional>

#include "benchmarks/support/BenchForm.h"
#include "benchmarks/support/Measure.h"
#include "controls/themedbutton/ThemedButton.h"
#include "support/Icons.h"

namespace {

constexpr int kWidth = 97;
constexpr int kHeight = 25;
constexpr int kSamples = 301;
constexpr wchar_t kCaption[] = L"Visit the site";

double Median(const std::function<void()>& work) { return benchmarks::MedianMicroseconds(kSamples, work); }

// A 16 x 16 icon: a green square with a grey frame.
std::shared_ptr<forms::Picture> Icon() {
    return testing_support::MakeIcon(16, [](int x, int y) -> std::optional<std::uint32_t> {
        return (x == 0 || y == 0 || x == 15 || y == 15) ? 0xFF808080u : 0xFF30A030u;
    });
}

const char* const kStates[] = {"normal", "hot", "pressed", "disabled"};

std::unique_ptr<controls::ThemedButton> MakeButton(benchmarks::BenchForm& form, int style, int state,
                                                   const std::shared_ptr<forms::Picture>& icon, bool masked = false) {
    auto b = std::make_unique<controls::ThemedButton>(form, L"ThemedButton1", RECT{10, 10, 10 + kWidth, 10 + kHeight});
    b->SetCaption(kCaption);
    b->SetStyle(style);
    if (icon) b->SetIcon(icon);
    if (masked) {
        b->SetMaskColor(0xC0C0C0);
        b->SetUseMaskColor(true);
    }
    if (state == 2) ::SendMessageW(b->hWnd(), WM_MOUSEMOVE, 0, MAKELPARAM(5, 5));
    if (state == 3) {
        b->SetButtonType(1);
        b->SetValue(true);
    }
    if (state == 4) b->SetEnabled(false);
    return b;
}

double Baseline(controls::ThemedButton& b) {
    base::FontHandle font = b.Font()->CreateHandle(96);
    return benchmarks::CaptionBaseline(kSamples, b.hWnd(), font.Get(), ::GetSysColor(COLOR_BTNFACE), kCaption,
                                       DT_CENTER | DT_VCENTER | DT_WORDBREAK);
}

}  // namespace

int main() {
    benchmarks::BenchForm form(L"Snipmill.ThemedButtonBenchmark", L"Themed button benchmark", 300, 120);
    const auto icon = Icon();

    double baseline = 0;
    {
        auto probe = MakeButton(form, 0, 1, nullptr);
        baseline = Baseline(*probe);
    }
    std::printf("Themed button: median of %d full repaints at %d x %d\n", kSamples, kWidth, kHeight);
    std::printf("baseline (one solid fill + one caption draw): %.1f us\n\n", baseline);
    std::printf("%-6s %-9s %9s %7s %9s %7s %9s %7s\n", "style", "state", "us", "x base", "+icon", "x base", "+masked",
                "x base");

    int over = 0;
    for (int style = 0; style <= 10; ++style) {
        const double goal = style == 10 ? 20 : 10;
        for (int state = 1; state <= 4; ++state) {
            auto plain = MakeButton(form, style, state, nullptr);
            const double time = Median([&] { plain->Refresh(); });
            const int drawnStyle = plain->Style();  // Style 6 without a theme draws its fallback
            plain.reset();
            auto withIcon = MakeButton(form, style, state, icon);
            const double iconTime = Median([&] { withIcon->Refresh(); });
            withIcon.reset();
            auto masked = MakeButton(form, style, state, icon, true);
            const double maskedTime = Median([&] { masked->Refresh(); });
            masked.reset();
            for (double t : {time, iconTime, maskedTime}) over += t / baseline > goal ? 1 : 0;
            std::printf("%-2d%-4s %-9s %9.1f %7.1f %9.1f %7.1f %9.1f %7.1f\n", style, drawnStyle == style ? "" : "(fb)",
                        kStates[state - 1], time, time / baseline, iconTime, iconTime / baseline, maskedTime,
                        maskedTime / baseline);
        }
    }
    std::printf("\n%d repaints over their goal (10 x the baseline, Style 10: 20 x)\n", over);
    return 0;
}
