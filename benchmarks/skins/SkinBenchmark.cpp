// What drawing one skin costs, per skin and state, straight to the window DC of
// a shown 97 x 25 window, next to a baseline measured in the same run: one solid
// fill and one caption draw on the same DC. The skins are only the background
// and border of a repaint; the whole repaint has its own figures.
// Run with: scripts/benchmark skins
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <vector>

#include "controls/themedbutton/Skins.h"
#include "forms/Handles.h"

namespace {

constexpr int kWidth = 97;
constexpr int kHeight = 25;
constexpr int kSamples = 301;
constexpr wchar_t kCaption[] = L"Save Selection";

double Median(const std::function<void()>& work) {
    LARGE_INTEGER frequency;
    ::QueryPerformanceFrequency(&frequency);
    std::vector<double> times;
    for (int i = 0; i < kSamples; ++i) {
        LARGE_INTEGER start;
        LARGE_INTEGER end;
        ::QueryPerformanceCounter(&start);
        work();
        ::QueryPerformanceCounter(&end);
        times.push_back(static_cast<double>(end.QuadPart - start.QuadPart) * 1e6 / static_cast<double>(frequency.QuadPart));
    }
    std::nth_element(times.begin(), times.begin() + kSamples / 2, times.end());
    return times[kSamples / 2];
}

}  // namespace

int main() {
    WNDCLASSW windowClass{};
    windowClass.lpfnWndProc = ::DefWindowProcW;
    windowClass.hInstance = ::GetModuleHandleW(nullptr);
    windowClass.lpszClassName = L"Snipmill.SkinBenchmark";
    ::RegisterClassW(&windowClass);
    RECT frame{0, 0, kWidth, kHeight};
    ::AdjustWindowRect(&frame, WS_OVERLAPPEDWINDOW, FALSE);
    const HWND window = ::CreateWindowW(windowClass.lpszClassName, L"Skin benchmark", WS_OVERLAPPEDWINDOW | WS_VISIBLE,
                                        40, 40, frame.right - frame.left, frame.bottom - frame.top, nullptr, nullptr,
                                        windowClass.hInstance, nullptr);
    forms::WindowDC dc(window);
    forms::FontHandle font(::CreateFontW(-11, 0, 0, 0, FW_NORMAL, 0, 0, 0, DEFAULT_CHARSET, 0, 0, 0, 0, L"Tahoma"));

    const double baseline = Median([&] {
        RECT client{0, 0, kWidth, kHeight};
        ::SetDCBrushColor(dc.Get(), 0xFFD1AD);
        ::FillRect(dc.Get(), &client, static_cast<HBRUSH>(::GetStockObject(DC_BRUSH)));
        forms::SelectedObject selected(dc.Get(), font.Get());
        ::SetBkMode(dc.Get(), TRANSPARENT);
        ::DrawTextW(dc.Get(), kCaption, -1, &client, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
    });
    std::printf("Skins: median of %d draws at %d x %d on a window DC\n", kSamples, kWidth, kHeight);
    std::printf("baseline (one solid fill + one caption draw): %.1f us\n\n", baseline);
    std::printf("%-6s %-7s %6s %8s %8s %8s %8s\n", "style", "custom", "state", "us", "x base", "", "");

    struct Skin {
        int style;
        bool custom;
    };
    for (const Skin skin : {Skin{5, false}, Skin{5, true}, Skin{7, false}, Skin{8, false}, Skin{9, false}, Skin{10, false}}) {
        for (int state = 1; state <= 4; ++state) {
            controls::themedbutton::SkinInput input;
            input.width = kWidth;
            input.height = kHeight;
            input.state = state;
            input.defaultHint = true;
            input.useCustomColors = skin.custom;
            input.backColor = 0xC8E0D0;
            input.highlightColor = 0x3080E0;
            long background = 0;
            const double time = Median([&] { controls::themedbutton::DrawSkin(dc.Get(), skin.style, input, background); });
            std::printf("%-6d %-7s %6d %8.1f %8.2f\n", skin.style, skin.custom ? "yes" : "no", state, time, time / baseline);
        }
    }
    ::DestroyWindow(window);
    return 0;
}
