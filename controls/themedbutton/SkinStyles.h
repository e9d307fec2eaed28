#pragma once
// The skins behind DrawSkin, one file each, and what they share.
#include <windows.h>

#include "controls/themedbutton/Skins.h"

namespace controls::themedbutton::skins {

void DrawStyle5(HDC dc, const SkinInput& input, long& surfaceBackground);
void DrawCustomStyle5(HDC dc, const SkinInput& input, long& surfaceBackground);
void DrawStyle7(HDC dc, const SkinInput& input, long& surfaceBackground);
void DrawStyle8(HDC dc, const SkinInput& input, long& surfaceBackground);
void DrawStyle9(HDC dc, const SkinInput& input, long& surfaceBackground);
void DrawStyle10(HDC dc, const SkinInput& input, long& surfaceBackground);

long ButtonFace() noexcept;
long SystemHighlight() noexcept;

// Fills the surface with the colour and records it as the surface's background.
void SetSurfaceBackground(HDC dc, const SkinInput& input, long color, long& surfaceBackground);

// A one-pixel border round the surface, its four corner pixels left out.
void CutCornerBorder(HDC dc, const SkinInput& input, long color);

// The pixel (x, y) and its mirror images in the other three corners.
void CornerPixels(HDC dc, const SkinInput& input, int x, int y, long color);

}  // namespace controls::themedbutton::skins
