#pragma once
// A picture object: a bitmap or an icon that the picture owns.
#include <windows.h>

#include <memory>

#include "base/Handles.h"

namespace forms {

class Picture {
public:
    enum class Type { Bitmap = 1, Icon = 3 };

    static std::shared_ptr<Picture> FromBitmap(base::BitmapHandle bitmap);
    static std::shared_ptr<Picture> FromIcon(base::IconHandle icon);

    Picture(const Picture&) = delete;
    Picture& operator=(const Picture&) = delete;

    Type Kind() const noexcept { return type_; }
    HBITMAP Bitmap() const noexcept { return bitmap_.Get(); }
    HICON Icon() const noexcept { return icon_.Get(); }
    int Width() const noexcept { return width_; }
    int Height() const noexcept { return height_; }
    int BitsPerPixel() const noexcept { return bitsPerPixel_; }

    // Draws the picture at its own size with its top-left corner at (x, y).
    void Draw(HDC dc, int x, int y) const;

private:
    Picture() = default;

    Type type_ = Type::Bitmap;
    base::BitmapHandle bitmap_;
    base::IconHandle icon_;
    int width_ = 0;
    int height_ = 0;
    int bitsPerPixel_ = 0;
};

}  // namespace forms
