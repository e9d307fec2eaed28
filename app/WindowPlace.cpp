#include "app/WindowPlace.h"

#include <algorithm>
#include <climits>
#include <cstdlib>
#include <tuple>

namespace app {

namespace {

// The nearest start in [low, high - length], or low where the length does not fit.
int Within(int start, int length, int low, int high) { return std::max(low, std::min(start, high - length)); }

bool Inside(const RECT& area, const RECT& r) {
    return r.left >= area.left && r.top >= area.top && r.right <= area.right && r.bottom <= area.bottom;
}

RECT At(int x, int y, SIZE size) { return {x, y, x + size.cx, y + size.cy}; }

}  // namespace

RECT PlaceBeside(const RECT& main, SIZE size, const RECT& workArea, const std::vector<RECT>& controls) {
    const int alongX = Within(main.left, size.cx, workArea.left, workArea.right);
    const int alongY = Within(main.top, size.cy, workArea.top, workArea.bottom);
    for (const RECT& place : {At(main.right, alongY, size), At(alongX, main.bottom, size),
                              At(main.left - size.cx, alongY, size), At(alongX, main.top - size.cy, size)})
        if (Inside(workArea, place)) return place;

    // A free place, if there is one, touches a control or the work area's edge
    // on its left or right side and on its top or bottom side.
    std::vector<int> xs = {workArea.left, workArea.right - size.cx, main.left};
    std::vector<int> ys = {workArea.top, workArea.bottom - size.cy, main.bottom};
    for (const RECT& c : controls) {
        xs.insert(xs.end(), {c.right, c.left - size.cx});
        ys.insert(ys.end(), {c.bottom, c.top - size.cy});
    }
    const int wantedY = Within(main.bottom, size.cy, workArea.top, workArea.bottom);
    RECT best{};
    std::tuple<int, int> bestScore{INT_MAX, INT_MAX};
    for (int x : xs) {
        for (int y : ys) {
            const RECT place = At(Within(x, size.cx, workArea.left, workArea.right),
                                  Within(y, size.cy, workArea.top, workArea.bottom), size);
            const int covered = static_cast<int>(std::ranges::count_if(controls, [&](const RECT& c) {
                RECT common{};
                return ::IntersectRect(&common, &place, &c) != FALSE;
            }));
            const std::tuple<int, int> score{covered, std::abs(place.left - alongX) + std::abs(place.top - wantedY)};
            if (score < bestScore) {
                bestScore = score;
                best = place;
            }
        }
    }
    return best;
}

}  // namespace app
