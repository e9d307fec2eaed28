#include "forms/Picture.h"

namespace forms {

std::shared_ptr<Picture> Picture::FromBitmap(base::BitmapHandle bitmap) {
    BITMAP info{};
    if (!bitmap || !::GetObjectW(bitmap.Get(), sizeof info, &info)) return nullptr;
    std::shared_ptr<Picture> picture(new Picture());
    picture->type_ = Type::Bitmap;
    picture->width_ = info.bmWidth;
    picture->height_ = info.bmHeight < 0 ? -info.bmHeight : info.bmHeight;
    picture->bitsPerPixel_ = info.bmBitsPixel;
    picture->bitmap_ = std::move(bitmap);
    return picture;
}

std::shared_ptr<Picture> Picture::FromIcon(base::IconHandle icon) {
    ICONINFO info{};
    if (!icon || !::GetIconInfo(icon.Get(), &info)) return nullptr;
    base::BitmapHandle color(info.hbmColor);
    base::BitmapHandle mask(info.hbmMask);
    BITMAP bm{};
    std::shared_ptr<Picture> picture(new Picture());
    picture->type_ = Type::Icon;
    if (color && ::GetObjectW(color.Get(), sizeof bm, &bm)) {
        picture->width_ = bm.bmWidth;
        picture->height_ = bm.bmHeight;
        picture->bitsPerPixel_ = bm.bmBitsPixel;
    } else if (mask && ::GetObjectW(mask.Get(), sizeof bm, &bm)) {
        picture->width_ = bm.bmWidth;
        picture->height_ = bm.bmHeight / 2;  // a monochrome icon stacks AND and XOR masks
        picture->bitsPerPixel_ = 1;
    }
    picture->icon_ = std::move(icon);
    return picture;
}

void Picture::Draw(HDC dc, int x, int y) const {
    if (type_ == Type::Icon) {
        ::DrawIconEx(dc, x, y, icon_.Get(), width_, height_, 0, nullptr, DI_NORMAL);
        return;
    }
    base::MemoryDC source(::CreateCompatibleDC(dc));
    if (!source) return;
    base::SelectedObject selected(source.Get(), bitmap_.Get());
    if (bitsPerPixel_ == 32) {  // premultiplied alpha
        BLENDFUNCTION blend{AC_SRC_OVER, 0, 255, AC_SRC_ALPHA};
        ::AlphaBlend(dc, x, y, width_, height_, source.Get(), 0, 0, width_, height_, blend);
        return;
    }
    ::BitBlt(dc, x, y, width_, height_, source.Get(), 0, 0, SRCCOPY);
}

}  // namespace forms
