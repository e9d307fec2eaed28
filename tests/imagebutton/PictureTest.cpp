// Pictures on the button, pixel by pixel: opacity, effects, grey and faded
// drawing, the mask colour, icons, 32-bit alpha, shadow and push-on-hover.
// The face behind the picture is black: FlatHighlight with a black back colour.
#include <gtest/gtest.h>

#include <optional>

#include "ButtonTestSupport.h"
#include "controls/imagebutton/ColorMath.h"

using namespace imagebutton_test;
using controls::imagebutton::RgbOf;
using controls::zembutton;

namespace {
constexpr int W = 97;
constexpr int H = 25;
constexpr int P = 8;             // picture size
constexpr int X0 = (W - P) / 2;  // where a picture on a captionless button goes
constexpr int Y0 = (H - P) / 2;

// A 16 x 16 icon: a red square inside a transparent frame four pixels wide.
std::shared_ptr<forms::Picture> MakeIcon() {
    base::WindowDC screen(nullptr);
    base::BitmapHandle color(::CreateCompatibleBitmap(screen.Get(), 16, 16));
    base::BitmapHandle mask(::CreateBitmap(16, 16, 1, 1, nullptr));
    {
        base::MemoryDC dc(::CreateCompatibleDC(screen.Get()));
        RECT all{0, 0, 16, 16};
        RECT inner{4, 4, 12, 12};
        base::SelectedObject c(dc.Get(), color.Get());
        ::FillRect(dc.Get(), &all, static_cast<HBRUSH>(::GetStockObject(BLACK_BRUSH)));
        base::BrushHandle red(::CreateSolidBrush(0x0000FF));
        ::FillRect(dc.Get(), &inner, red.Get());
        base::MemoryDC maskDc(::CreateCompatibleDC(screen.Get()));
        base::SelectedObject m(maskDc.Get(), mask.Get());
        ::FillRect(maskDc.Get(), &all, static_cast<HBRUSH>(::GetStockObject(WHITE_BRUSH)));
        ::FillRect(maskDc.Get(), &inner, static_cast<HBRUSH>(::GetStockObject(BLACK_BRUSH)));
    }
    ICONINFO info{TRUE, 0, 0, mask.Get(), color.Get()};
    return forms::Picture::FromIcon(base::IconHandle(::CreateIconIndirect(&info)));
}

long Gray(int v) { return RgbOf(v, v, v); }

class Pictures : public ::testing::Test {
protected:
    void SetUp() override {
        MoveMouseAway();
        button = std::make_unique<zembutton>(form, L"zembutton1", Bounds(10, 10, W, H));
        button->SetButtonStyle(4);
        button->SetColorScheme(3);
        button->SetBackColor(0x000000);
        button->SetPicturePushOnHover(false);
        button->SetCaption(L"");
    }
    void TearDown() override {
        if (::GetCapture()) ::ReleaseCapture();
        MoveMouseAway();
    }
    long At(int dx, int dy) { return Snapshot(*button).At(X0 + dx, Y0 + dy); }

    TestForm& form = SharedForm();
    std::unique_ptr<zembutton> button;
};
}  // namespace

TEST_F(Pictures, OpacityBlendsDividingBy256) {
    button->SetPictureNormal(MakeBitmap(0xFFFFFF));
    EXPECT_EQ(At(3, 3), 0xFFFFFF) << "255 draws unblended";
    button->SetPictureOpacity(128);
    EXPECT_EQ(At(3, 3), Gray(127)) << "white at 128 over black: 128 x 255 div 256";
    button->SetPictureOpacity(0);
    EXPECT_EQ(At(3, 3), 0x000000) << "0 leaves the face as it was";
    EXPECT_EQ(At(-1, 3), 0x000000);
}

TEST_F(Pictures, TheMaskColourIsTransparent) {
    button->SetPictureNormal(MakeBitmap(0xFFFFFF, {{2, 2, 0xE0E0E0}}));
    EXPECT_EQ(At(2, 2), 0x000000);
    EXPECT_EQ(At(3, 2), 0xFFFFFF);
    button->SetUseMaskColor(false);
    EXPECT_EQ(At(2, 2), 0xE0E0E0);
    button->SetUseMaskColor(true);
    button->SetMaskColor(0xFFFFFF);
    EXPECT_EQ(At(3, 2), 0x000000);
    EXPECT_EQ(At(2, 2), 0xE0E0E0);
}

TEST_F(Pictures, DisabledFadedKeepsColoursAtOpacity52) {
    button->SetPictureNormal(MakeBitmap(0x0000FF, {{1, 1, 0xFFFFFF}}));
    button->SetPictureEffectOnDown(1);
    button->SetEnabled(false);
    EXPECT_EQ(At(3, 3), RgbOf(52 * 255 / 256, 0, 0));
    EXPECT_EQ(At(1, 1), Gray(51));
}

TEST_F(Pictures, DisabledGrayscaleIsGreyAtThreeQuarters) {
    button->SetPictureNormal(MakeBitmap(0x0000FF, {{1, 1, 0xFFFFFF}}));
    button->SetDisabledPictureMode(1);
    button->SetEnabled(false);
    // 255 x 0.75 = 191.25 -> 191; red's grey is round(0.3 x 255) = 76; white's is 254.
    EXPECT_EQ(At(3, 3), Gray(191 * 76 / 256));
    EXPECT_EQ(At(1, 1), Gray(191 * 254 / 256));
    button->SetPictureOpacity(100);
    EXPECT_EQ(At(1, 1), Gray(75 * 254 / 256));
}

TEST_F(Pictures, EffectsWhenHotAndDown) {
    button->SetPictureNormal(MakeBitmap(RgbOf(100, 200, 250)));
    button->SetPictureEffectOnOver(1);
    button->SetPictureEffectOnDown(2);
    button->SetPictureOpacityOnOver(255);
    MoveMouse(*button, 5, 5);
    ASSERT_EQ(button->State(), 1);
    EXPECT_EQ(At(3, 3), RgbOf(114, 229, 255)) << "x 293 div 255, at most 255";
    Press(*button, 5, 5);
    ASSERT_EQ(button->State(), 2);
    EXPECT_EQ(At(3, 3), RgbOf(85, 170, 212)) << "x 217 div 255";
    Release(*button, 5, 5);
    MoveMouseAway();
    button->SetPictureEffectOnOver(0);
    button->SetPictureOpacityOnOver(128);
    MoveMouse(*button, 5, 5);
    // Over the hot face of a black FlatHighlight button, black shifted by 0.03 x 255 = 7.65: 8.
    EXPECT_EQ(At(3, 3), RgbOf((128 * 100 + 127 * 8) / 256, (128 * 200 + 127 * 8) / 256, (128 * 250 + 127 * 8) / 256));
}

TEST_F(Pictures, EachStateShowsItsPicture) {
    button->SetPictureNormal(MakeBitmap(0x0000FF));
    button->SetPictureHot(MakeBitmap(0x00FF00));
    button->SetPictureDown(MakeBitmap(0xFF0000));
    EXPECT_EQ(At(3, 3), 0x0000FF);
    MoveMouse(*button, 5, 5);
    EXPECT_EQ(At(3, 3), 0x00FF00);
    Press(*button, 5, 5);
    EXPECT_EQ(At(3, 3), 0xFF0000);
    Release(*button, 5, 5);
    MoveMouseAway();
    button->SetMode(1);
    button->SetValue(true);
    EXPECT_EQ(At(3, 3), 0xFF0000) << "checked shows the pressed picture";
    button->SetPictureDown(nullptr);
    EXPECT_EQ(At(3, 3), 0x00FF00) << "or the hot one when there is none";
}

TEST_F(Pictures, PushOnHoverLiftsThePictureOverASilhouette) {
    button->SetPictureNormal(MakeBitmap(0x0000FF));
    button->SetPicturePushOnHover(true);
    button->SetPictureShadow(true);
    MoveMouse(*button, 5, 5);
    EXPECT_EQ(At(-2, -2), 0x0000FF);
    EXPECT_EQ(At(P - 3, P - 3), 0x0000FF);
    EXPECT_EQ(At(P - 1, P - 1), 0xC0C0C0);
    EXPECT_EQ(At(P - 2, 3), 0xC0C0C0);
    EXPECT_EQ(At(P, P), Gray(8)) << "the hot face: no shadow while lifted";
}

TEST_F(Pictures, ShadowFallsDownRight) {
    button->SetPictureNormal(MakeBitmap(0x0000FF));
    button->SetPictureShadow(true);
    // The average of 0x808080 and black is 64; shifted by 0.05 x 255 = 12.75 each way.
    EXPECT_EQ(At(P + 1, P + 1), Gray(77));
    EXPECT_EQ(At(P, P), Gray(51));
    EXPECT_EQ(At(P - 1, P - 1), 0x0000FF);
    EXPECT_EQ(At(P + 2, P + 2), 0x000000);
}

TEST_F(Pictures, IconsAreKeyedBySilver) {
    button->SetPictureNormal(MakeIcon());
    const Snapshot shot(*button);
    const int x = (W - 16) / 2;
    const int y = (H - 16) / 2;
    EXPECT_EQ(shot.At(x + 8, y + 8), 0x0000FF);
    EXPECT_EQ(shot.At(x + 1, y + 1), 0x000000) << "the icon's transparent part";
    button->SetUseMaskColor(false);
    const Snapshot square(*button);
    EXPECT_EQ(square.At(x + 1, y + 1), 0xC0C0C0) << "without the mask colour the icon sits on a silver square";
    EXPECT_EQ(square.At(x + 8, y + 8), 0x0000FF);
}

TEST_F(Pictures, ThirtyTwoBitBitmapsUseTheirPremultipliedAlpha) {
    // (100, 50, 0) at alpha 128 is (199, 100, 0) premultiplied; over black it comes out as it is stored.
    button->SetPictureNormal(MakeBitmap(0xFFFFFF,
                                        {{1, 1, Gray(128), 128},
                                         {2, 2, 0xFFFFFF, 0},
                                         {3, 3, 0xE0E0E0, 255},
                                         {4, 4, RgbOf(100, 50, 0), 128}},
                                        32));
    EXPECT_EQ(At(5, 5), 0xFFFFFF);
    EXPECT_EQ(At(1, 1), Gray(127));
    EXPECT_EQ(At(2, 2), 0x000000);
    EXPECT_EQ(At(3, 3), 0xE0E0E0) << "no mask colour on the alpha path";
    EXPECT_EQ(At(4, 4), RgbOf(99, 50, 0)) << "128 x 199 div 256, 128 x 100 div 256";
    button->SetPictureOpacity(128);
    EXPECT_EQ(At(5, 5), Gray(127));
    EXPECT_EQ(At(1, 1), Gray(64 * 255 / 256));  // 128 x 128 div 255 = 64
    button->SetPictureOpacity(255);
    button->SetDisabledPictureMode(1);
    button->SetEnabled(false);
    // Grey of the colour itself, (199, 100, 0): round(0.59 x 100 + 60) = 119, at 191 x 128 div 255 = 95.
    EXPECT_EQ(At(4, 4), Gray(95 * 119 / 256));
}

TEST_F(Pictures, ThirtyTwoBitBitmapsWithoutAlphaAreOpaque) {
    button->SetPictureNormal(MakeBitmap(0x0000FF, {{1, 1, 0xFFFFFF, 0}}, 32, 0));
    EXPECT_EQ(At(3, 3), 0x0000FF);
    EXPECT_EQ(At(1, 1), 0xFFFFFF);
    button->SetPictureOpacity(128);
    EXPECT_EQ(At(3, 3), RgbOf(127, 0, 0));
}

TEST_F(Pictures, BesideTheCaption) {
    button->SetPictureNormal(MakeBitmap(0x0000FF));
    button->SetCaption(L"Go");
    const Snapshot shot(*button);
    const RECT picture = button->Layout().picture;
    const RECT caption = button->Layout().caption;
    EXPECT_EQ(picture.right, caption.left - 4);
    EXPECT_EQ(picture.top, Y0);
    EXPECT_EQ(shot.At(picture.left + 1, picture.top + 1), 0x0000FF);
    button->SetPictureAlign(4);
    button->Redraw();
    EXPECT_EQ(button->Layout().picture.left, X0);
}

TEST_F(Pictures, PressedStylesMoveThePicture) {
    button->SetButtonStyle(1);
    button->SetPictureNormal(MakeBitmap(0x0000FF));
    const RECT up = button->Layout().picture;
    MoveMouse(*button, 5, 5);
    Press(*button, 5, 5);
    button->Redraw();
    EXPECT_EQ(button->Layout().picture.left, up.left + 1);
    EXPECT_EQ(button->Layout().picture.top, up.top + 1);
}
