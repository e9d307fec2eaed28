#pragma once
// The program's own images, drawn when first needed: the main window's
// background and logo, the output window's background, and the window icon.
#include <cstdint>
#include <memory>
#include <vector>

#include "base/Handles.h"
#include "forms/Picture.h"

namespace app {

std::shared_ptr<forms::Picture> BackgroundPicture(int width, int height);
std::shared_ptr<forms::Picture> LogoPicture(int size);
// The output window's background: 24 bits per pixel, no transparency.
std::shared_ptr<forms::Picture> OutputBackgroundPicture(int width, int height);
base::IconHandle ProgramIcon(int size);
// The window icon's picture as an icon holds it: 0xAARRGGBB pixels, alpha not
// multiplied in, top row first. The build writes these into the program's icon file.
std::vector<std::uint32_t> ProgramIconPixels(int size);

}  // namespace app
