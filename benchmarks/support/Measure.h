#pragma once
// The median time of a piece of work, as the drawing benchmarks measure it.
#include <windows.h>

#include <algorithm>
#include <functional>
#include <vector>

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

}  // namespace benchmarks
