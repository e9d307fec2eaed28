// Every skin in every state, at three sizes, in one picture for people to look
// at: artifacts/themedbutton-skins.png in the build folder (and a four times
// enlarged copy of the 97 x 25 row, themedbutton-skins-zoom.png). Outside each
// style's window outline the form's colour shows, as on a form.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "controls/themedbutton/Skins.h"
#include "controls/themedbutton/WindowRegion.h"
#include "support/WindowTesting.h"
#include "themedbutton/SkinSurface.h"

using namespace controls::themedbutton;
using skin_testing::SkinSurface;

namespace {

constexpr long kUnpainted = 0xFF00FF;
constexpr std::uint32_t kForm = 0xF0F0F0;
constexpr std::uint32_t kSheet = 0xFFFFFF;

struct Variant {
    int style;
    bool custom;
};
struct Condition {
    int state;
    bool focus;
    bool defaultHint;
};

const Variant kVariants[] = {{5, false}, {5, true},  {7, false}, {7, true},  {8, false},
                             {8, true},  {9, false}, {9, true},  {10, false}};
const Condition kConditions[] = {{1, false, false}, {1, true, false},  {1, false, true}, {2, false, false},
                                 {3, false, false}, {4, false, false}, {5, false, false}};
const SIZE kSizes[] = {{97, 25}, {120, 40}, {200, 60}};

SkinInput InputFor(const Variant& v, const Condition& c, SIZE size) {
    return SkinInput{.width = static_cast<int>(size.cx),
                     .height = static_cast<int>(size.cy),
                     .state = c.state,
                     .hasFocus = c.focus,
                     .defaultHint = c.defaultHint,
                     .showFocus = true,
                     .useCustomColors = v.custom,
                     .backColor = 0xC8E0D0,        // a sage green
                     .highlightColor = 0x3080E0};  // an orange
}

class Sheet {
public:
    Sheet(int width, int height) {
        pixels_.width = width;
        pixels_.height = height;
        pixels_.data.assign(static_cast<std::size_t>(width) * height, kSheet);
    }
    void Put(int left, int top, int style, const SkinSurface& tile, int zoom) {
        const base::RegionHandle outline = RegionForStyle(style, tile.Width(), tile.Height());
        for (int y = 0; y < tile.Height(); ++y)
            for (int x = 0; x < tile.Width(); ++x) {
                const std::uint32_t bgr = static_cast<std::uint32_t>(tile.At(x, y));
                const std::uint32_t rgb = ((bgr & 0xFF) << 16) | (bgr & 0xFF00) | (bgr >> 16);
                const std::uint32_t shown = ::PtInRegion(outline.Get(), x, y) ? rgb : kForm;
                for (int dy = 0; dy < zoom; ++dy) {
                    const int row = top + y * zoom + dy;
                    for (int dx = 0; dx < zoom; ++dx)
                        pixels_.data[static_cast<std::size_t>(row) * pixels_.width + left + x * zoom + dx] = shown;
                }
            }
    }
    bool Save(const std::wstring& name) {
        return testing_support::WritePng(testing_support::ArtifactPath(name), pixels_);
    }

private:
    testing_support::Pixels pixels_;
};

}  // namespace

TEST(SkinSheet, EverySkinPaintsItsWholeSurfaceInEveryState) {
    constexpr int kGap = 6;
    const int columns = static_cast<int>(std::size(kConditions));
    int sheetHeight = kGap;
    const int rows = static_cast<int>(std::size(kVariants));
    for (const auto& size : kSizes) sheetHeight += (size.cy + kGap) * rows;
    Sheet sheet(kGap + columns * (kSizes[2].cx + kGap), sheetHeight);
    constexpr int kZoom = 4;
    Sheet zoom(kGap + columns * (kSizes[0].cx * kZoom + kGap), kGap + rows * (kSizes[0].cy * kZoom + kGap));

    int top = kGap;
    for (const auto& size : kSizes) {
        for (std::size_t v = 0; v < std::size(kVariants); ++v) {
            for (int c = 0; c < columns; ++c) {
                SkinSurface tile(size.cx, size.cy, kUnpainted);
                long background = kUnpainted;
                const SkinInput input = InputFor(kVariants[v], kConditions[c], size);
                DrawSkin(tile.Dc(), kVariants[v].style, input, background);
                int unpainted = 0;
                for (int y = 0; y < size.cy; ++y)
                    for (int x = 0; x < size.cx; ++x) unpainted += tile.At(x, y) == kUnpainted;
                // Style 5 with custom colours keeps the previous background when pressed.
                if (kVariants[v].style == 5 && kVariants[v].custom && kConditions[c].state == 3)
                    EXPECT_EQ(background, kUnpainted);
                else
                    EXPECT_EQ(unpainted, 0) << "style " << kVariants[v].style << " state " << kConditions[c].state;
                sheet.Put(kGap + c * (kSizes[2].cx + kGap), top, kVariants[v].style, tile, 1);
                if (size.cx == kSizes[0].cx)
                    zoom.Put(kGap + c * (size.cx * kZoom + kGap), kGap + static_cast<int>(v) * (size.cy * kZoom + kGap),
                             kVariants[v].style, tile, kZoom);
            }
            top += size.cy + kGap;
        }
    }
    EXPECT_TRUE(sheet.Save(L"themedbutton-skins.png"));
    EXPECT_TRUE(zoom.Save(L"themedbutton-skins-zoom.png"));
}

TEST(SkinSheet, SkinsKeepNoGdiObjectAndLeaveTheDcAsTheyFoundIt) {
    SkinSurface tile(97, 25);
    const HGDIOBJ pen = ::GetCurrentObject(tile.Dc(), OBJ_PEN);
    const HGDIOBJ brush = ::GetCurrentObject(tile.Dc(), OBJ_BRUSH);
    const DWORD before = testing_support::GdiObjects();
    for (int round = 0; round < 200; ++round)
        for (const auto& variant : kVariants)
            for (const auto& condition : kConditions) {
                long background = 0;
                DrawSkin(tile.Dc(), variant.style, InputFor(variant, condition, SIZE{97, 25}), background);
            }
    EXPECT_EQ(testing_support::GdiObjects(), before);
    EXPECT_EQ(::GetCurrentObject(tile.Dc(), OBJ_PEN), pen);
    EXPECT_EQ(::GetCurrentObject(tile.Dc(), OBJ_BRUSH), brush);
}
