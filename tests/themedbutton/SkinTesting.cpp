#include "themedbutton/SkinTesting.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace skin_testing {

long Resolve(long expected) {
    if (expected == kFace) return static_cast<long>(::GetSysColor(COLOR_BTNFACE));
    if (expected == kHighlight) return static_cast<long>(::GetSysColor(COLOR_HIGHLIGHT));
    return expected;
}

long ShiftRef(long color, int d) {
    long result = 0;
    for (int bits = 0; bits < 24; bits += 8) {
        const long channel = std::clamp((color >> bits & 0xFF) + d, 0L, 255L);
        result |= channel << bits;
    }
    return result;
}

std::unique_ptr<SkinSurface> Draw(int style, const controls::themedbutton::SkinInput& input, long* surfaceBackground) {
    auto surface = std::make_unique<SkinSurface>(input.width, input.height, kUnpainted);
    long background = kUnpainted;
    controls::themedbutton::DrawSkin(surface->Dc(), style, input, background);
    if (surfaceBackground) *surfaceBackground = background;
    return surface;
}

void ExpectProbes(const SkinSurface& surface, const std::vector<Probe>& probes, const char* name) {
    for (const auto& p : probes) {
        const long want = Resolve(p.expected);
        const long got = surface.At(p.x, p.y);
        EXPECT_EQ(got, want) << name << " at (" << p.x << ", " << p.y << "): expected " << std::hex << want
                             << ", got " << got;
    }
}

}  // namespace skin_testing
