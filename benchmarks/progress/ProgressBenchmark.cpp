// What one DrawProgressBar costs per style at the output window's 481 x 25,
// next to a baseline measured in the same run: one BitBlt of that size to the
// same window. Goal: every style within 20 times the baseline (gradients keep
// their one pen per line), also at a value far below Min. Also counts the GDI objects over 10,000 draws, and
// writes a contact sheet of every style for people to look at:
// artifacts/progress-contact-sheet.png in the build folder.
// Run with: scripts/benchmark progress
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <memory>
#include <string>

#include "benchmarks/support/BenchForm.h"
#include "benchmarks/support/Measure.h"
#include "controls/progress/XP_ProgressBar.h"
#include "support/ContactSheet.h"
#include "support/WindowTesting.h"

namespace {

constexpr int kWidth = 481;
constexpr int kHeight = 25;
constexpr int kSamples = 301;
constexpr int kLeakDraws = 10000;
constexpr double kGoal = 20;
constexpr forms::OleColor kBarColor = 11034163;  // the output window's

const char* const kStyleNames[] = {"segmented blocks", "smooth", "sliding blocks", "flat",
                                   "sunken gradient",  "glass",  "dark",           "hatched",
                                   "pattern",          "glossy"};

using benchmarks::BenchForm;

double Median(const std::function<void()>& work) { return benchmarks::MedianMicroseconds(kSamples, work); }

// An 8 x 8 two-colour tile for style 8.
std::shared_ptr<forms::Picture> Tile() {
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = 8;
    info.bmiHeader.biHeight = 8;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    void* data = nullptr;
    base::BitmapHandle bitmap(::CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &data, nullptr, 0));
    auto* pixels = static_cast<std::uint32_t*>(data);
    for (int i = 0; i < 64; ++i) pixels[i] = ((i / 8 + i % 8) % 4 < 2) ? 0x3060C0 : 0xA0C0F0;
    return forms::Picture::FromBitmap(std::move(bitmap));
}

std::unique_ptr<controls::XP_ProgressBar> MakeBar(BenchForm& form, int style, int width, int height,
                                                  int orientation = 0) {
    auto bar = std::make_unique<controls::XP_ProgressBar>(form, L"pb", RECT{10, 10, 10 + width, 10 + height});
    bar->SetColor(kBarColor);
    bar->SetBrushStyle(HS_CROSS);
    bar->SetImage(Tile());
    bar->SetOrientation(orientation);
    bar->SetScrolling(style);
    return bar;
}

// ---- The contact sheet

// A bar as the sheet draws it: redrawn, then copied from its back buffer.
struct SheetBar {
    controls::XP_ProgressBar& bar;
    void DrawTo(HDC dc) {
        bar.DrawProgressBar();
        bar.pDraw(dc, 0, 0, 0, 0, 0, 0);
    }
};

// Every style at 0, 33 and 100 % and at 33 % with its text, then styles 0 to 2 upright.
std::wstring WriteContactSheet(BenchForm& form) {
    constexpr int kLabel = 130, kGap = 12, kRow = kHeight + kGap;
    constexpr int kUprightWidth = 25, kUprightHeight = 120;
    const int values[] = {0, 33, 100};
    const int width = kLabel + 4 * (kWidth + kGap);
    const int uprightTop = 28 + 10 * kRow + 20;
    testing_support::ContactSheet sheet(width, uprightTop + 24 + kUprightHeight + kGap);
    const wchar_t* const headers[] = {L"0 %", L"33 %", L"100 %", L"33 %, ShowText"};
    for (int c = 0; c < 4; ++c) sheet.Label(kLabel + c * (kWidth + kGap), 4, kWidth, 20, headers[c]);
    for (int style = 0; style <= 9; ++style) {
        const int y = 28 + style * kRow;
        const std::string name = kStyleNames[style];
        sheet.Label(4, y, kLabel, kHeight, std::to_wstring(style) + L" " + std::wstring(name.begin(), name.end()));
        for (int c = 0; c < 4; ++c) {
            auto bar = MakeBar(form, style, kWidth, kHeight);
            bar->SetShowText(c == 3);
            bar->SetValue(c == 3 ? 33 : values[c]);
            SheetBar cell{*bar};
            sheet.Draw(kLabel + c * (kWidth + kGap), y, cell);
        }
    }
    sheet.Label(4, uprightTop, width, 20, L"Orientation 1 (upright), styles 0 to 2 at 0, 33 and 100 %");
    for (int style = 0; style <= 2; ++style)
        for (int c = 0; c < 3; ++c) {
            auto bar = MakeBar(form, style, kUprightWidth, kUprightHeight, 1);
            bar->SetValue(values[c]);
            SheetBar cell{*bar};
            sheet.Draw(kLabel + (style * 3 + c) * (kUprightWidth + 2 * kGap), uprightTop + 24, cell);
        }
    const std::wstring path = testing_support::ArtifactPath(L"progress-contact-sheet.png");
    return sheet.Save(path) ? path : L"(not written)";
}

}  // namespace

int main() {
    BenchForm form(L"Snipmill.ProgressBenchmark", L"Progress bar benchmark", 900, 400);

    double baseline = 0;
    {
        auto probe = MakeBar(form, 0, kWidth, kHeight);
        baseline = Median([&] {
            base::WindowDC dc(probe->hWnd());
            ::BitBlt(dc.Get(), 0, 0, kWidth, kHeight, probe->hdc(), 0, 0, SRCCOPY);
        });
    }
    std::printf("Progress bar: median of %d DrawProgressBar calls at %d x %d\n", kSamples, kWidth, kHeight);
    std::printf("baseline (one BitBlt of that size to the window): %.1f us\n\n", baseline);
    std::printf("%-22s %8s %7s %8s %7s %12s %7s %12s %7s\n", "style", "50 %", "x base", "100 %", "x base", "50 %, text",
                "x base", "-5,000,000", "x base");
    int overGoal = 0;
    for (int style = 0; style <= 9; ++style) {
        auto bar = MakeBar(form, style, kWidth, kHeight);
        bar->SetValue(50);
        const double half = Median([&] { bar->DrawProgressBar(); });
        bar->SetValue(100);
        const double full = Median([&] { bar->DrawProgressBar(); });
        bar->SetValue(50);
        bar->SetShowText(true);
        const double text = Median([&] { bar->DrawProgressBar(); });
        bar->SetShowText(false);
        bar->SetValue(-5'000'000);
        const double farBelow = Median([&] { bar->DrawProgressBar(); });
        overGoal += std::max({half, full, text, farBelow}) > kGoal * baseline;
        std::printf("%d %-20s %8.1f %7.1f %8.1f %7.1f %12.1f %7.1f %12.1f %7.1f\n", style, kStyleNames[style], half,
                    half / baseline, full, full / baseline, text, text / baseline, farBelow, farBelow / baseline);
    }
    std::printf("\nstyles over %.0f x the baseline in any column: %d\n", kGoal, overGoal);

    {
        auto bar = MakeBar(form, 0, kWidth, kHeight);
        bar->SetShowText(true);
        bar->DrawProgressBar();
        const DWORD before = testing_support::GdiObjects();
        for (int i = 0; i < kLeakDraws; ++i) {
            if (i % 1000 == 0) bar->SetScrolling(i / 1000);
            bar->SetValue(i % 101);
        }
        std::printf("GDI objects before and after %d draws of every style: %lu and %lu\n", kLeakDraws, before,
                    testing_support::GdiObjects());
    }
    std::wprintf(L"contact sheet: %ls\n", WriteContactSheet(form).c_str());
    return 0;
}
