#pragma once
// What the skin tests share: drawing one skin on a fresh surface, probing its
// pixels, and colour references written apart from the code under test.
#include <windows.h>

#include <memory>
#include <vector>

#include "controls/themedbutton/Skins.h"
#include "themedbutton/SkinSurface.h"

namespace skin_testing {

// Colours a test expects; the system's colours are looked up when compared.
constexpr long kFace = -2;       // the system button face
constexpr long kHighlight = -3;  // the system highlight
constexpr long kUnpainted = 0x123456;

struct Probe {
    int x, y;
    long expected;
};

long Resolve(long expected);

// Each channel + d, held to 0..255.
long ShiftRef(long color, int d);

// A surface of the input's size, first filled with kUnpainted, with the skin on it.
std::unique_ptr<SkinSurface> Draw(int style, const controls::themedbutton::SkinInput& input,
                                  long* surfaceBackground = nullptr);

void ExpectProbes(const SkinSurface& surface, const std::vector<Probe>& probes, const char* name);

}  // namespace skin_testing
