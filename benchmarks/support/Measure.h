#pragma once
// The median time of a piece of work, as the drawing benchmarks measure it.
#include <windows.h>

#include <algorithm>
#include <functional>
#include <vector>

#include "base/Handles.h"

namespace benchmarks {

// The median of `samples` runs of the work, in microseconds.
inline double MedianMicroseconds(int samples, const std::function<void()>& work) {
    LARGE_INTEGER frequency;
    ::QueryPerformanceFrequency(&frequency);
    std::vector<double> times;
    for (int i = 0; i < samples; ++i) {
        LARGE_INTEGER start;
        LARGE_INTEGER end;
        ::QueryPerformanceCounter(&start);
        work();
        ::QueryPerformanceCounter(&end);
        times.push_back(static_cast<double>(end.QuadPart - start.QuadPart) * 1e6 /
                        static_cast<double>(frequency.QuadPart));
    }
    std::nth_element(times.begin(), times.begin() + samples / 2, times.end());
    return times[static_cast<std::size_t>(samples / 2)];
}

// What a button's redraw is measured against: the median of one solid fill of
// the window's client area and one caption drawn on it.
inline double CaptionBaseline(int samples, HWND window, HFONT font, COLORREF face, const wchar_t* caption,
                              UINT format) {
    base::BrushHandle brush(::CreateSolidBrush(face));
    RECT client{};
    ::GetClientRect(window, &client);
    return MedianMicroseconds(samples, [&] {
        base::WindowDC dc(window);
        ::FillRect(dc.Get(), &client, brush.Get());
        base::SelectedObject selected(dc.Get(), font);
        ::SetBkMode(dc.Get(), TRANSPARENT);
        ::DrawTextW(dc.Get(), caption, -1, &client, format);
    });
}

}  // namespace benchmarks
