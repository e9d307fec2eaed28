// The button's model on a real window: a new button's values, what setters do,
// restoring and saving through the host's store, the minimum size and the
// window outline of each style, and the buttons of both windows as they are set up.
#include <windows.h>

#include <uxtheme.h>

#include <gtest/gtest.h>

#include "ButtonTestSupport.h"
#include "ColorRules.h"
#include "app/Form1.h"
#include "app/frmDOSOutput.h"
#include "forms/Dib.h"
#include "forms/Units.h"

using namespace imagebutton_test;
using controls::zembutton;

namespace {
constexpr int W = 97;
constexpr int H = 25;

class ControlModel : public ::testing::Test {
protected:
    void SetUp() override { MoveMouseAway(); }
    std::unique_ptr<zembutton> Make(const wchar_t* name = L"zembutton7") {
        return std::make_unique<zembutton>(form, name, Bounds(10, 10, W, H));
    }
    TestForm& form = SharedForm();
};

std::shared_ptr<forms::Picture> SmallBitmap() {
    base::WindowDC screen(nullptr);
    return forms::Picture::FromBitmap(base::BitmapHandle(::CreateCompatibleBitmap(screen.Get(), 8, 8)));
}

RECT RegionBox(HWND window) {
    base::RegionHandle region(::CreateRectRgn(0, 0, 0, 0));
    RECT box{};
    if (::GetWindowRgn(window, region.Get()) != ERROR) ::GetRgnBox(region.Get(), &box);
    return box;
}

bool InRegion(HWND window, int x, int y) {
    base::RegionHandle region(::CreateRectRgn(0, 0, 0, 0));
    return ::GetWindowRgn(window, region.Get()) != ERROR && ::PtInRegion(region.Get(), x, y);
}
}  // namespace

TEST_F(ControlModel, ANewButton) {
    auto b = Make();
    EXPECT_EQ(b->ButtonStyle(), ::IsAppThemed() ? 13 : 2);
    EXPECT_EQ(b->ColorScheme(), 0);
    EXPECT_EQ(b->Caption(), L"zembutton7");
    EXPECT_EQ(b->Font()->Name(), L"Tahoma");
    EXPECT_FALSE(b->ShowFocusRect()) << "the themed style turns it off";
    EXPECT_TRUE(b->Enabled());
    EXPECT_EQ(b->Mode(), 0);
    EXPECT_FALSE(b->Value());
    EXPECT_EQ(b->ForeColor(), forms::SystemColor(COLOR_BTNTEXT));
    EXPECT_EQ(b->ForeColorHover(), 0u);
    EXPECT_EQ(b->PictureOpacity(), 255);
    EXPECT_EQ(b->PictureOpacityOnOver(), 255);
    EXPECT_EQ(b->PictureAlign(), 1);
    EXPECT_EQ(b->CaptionAlign(), 1);
    EXPECT_TRUE(b->UseMaskColor());
    EXPECT_EQ(b->MaskColor(), 0xE0E0E0u);
    EXPECT_EQ(b->PictureEffectOnOver(), 0);
    EXPECT_EQ(b->PictureEffectOnDown(), 0);
    EXPECT_EQ(b->DropDownSymbol(), 0);
    EXPECT_EQ(b->TooltipBackColor(), 0u);
    if (::IsAppThemed()) {
        EXPECT_EQ(b->BackColor(), 0u);
    }
}

TEST_F(ControlModel, BackColorMakesTheSchemeCustomExceptForFlatHighlight) {
    auto b = Make();
    b->SetButtonStyle(4);
    b->SetColorScheme(1);
    b->SetBackColor(0x102030);
    EXPECT_EQ(b->ColorScheme(), 1);
    b->SetButtonStyle(8);
    EXPECT_EQ(b->ColorScheme(), 0);
    EXPECT_EQ(b->BackColor(), 0xFFD1ADu);
    b->SetBackColor(0x102030);
    EXPECT_EQ(b->ColorScheme(), 3);
    b->SetColorScheme(2);
    EXPECT_EQ(b->BackColor(), 0xE3DFE0u);
}

TEST_F(ControlModel, PicturesHotAndDownNeedANormalOne) {
    auto b = Make();
    auto first = SmallBitmap();
    auto second = SmallBitmap();
    b->SetPictureHot(first);
    EXPECT_EQ(b->PictureNormal(), first);
    EXPECT_EQ(b->PictureHot(), nullptr);
    b->SetPictureHot(second);
    EXPECT_EQ(b->PictureHot(), second);
    b->SetPictureDown(second);
    EXPECT_EQ(b->PictureDown(), second);
    b->SetPictureNormal(nullptr);
    EXPECT_EQ(b->PictureHot(), nullptr);
    EXPECT_EQ(b->PictureDown(), nullptr);
    b->SetPictureDown(first);
    EXPECT_EQ(b->PictureNormal(), first);
}

TEST_F(ControlModel, SettersTellTheHost) {
    auto b = Make();
    form.changes.clear();
    b->SetCaption(L"Go");
    b->SetShowFocusRect(true);
    b->SetMousePointer(2);
    b->SetPictureOpacity(9);
    b->SetTooltipTitle(L"Title");
    EXPECT_EQ(form.changes, (std::vector<std::wstring>{L"Caption", L"ShowFocusRect", L"MousePointer", L"PictureOpacity",
                                                       L"TooltipTitle"}));
}

TEST_F(ControlModel, HandPointerAndMouseIcon) {
    auto b = Make();
    b->SetMousePointer(5);
    b->SetHandPointer(true);
    EXPECT_EQ(b->MousePointer(), 0);
    EXPECT_TRUE(b->HandPointer());
    b->SetMouseIcon(SmallBitmap());
    EXPECT_FALSE(b->HandPointer());
    EXPECT_EQ(b->MousePointer(), 99);
    EXPECT_NE(b->MouseIcon(), nullptr) << "a cursor made from the bitmap";
    b->SetMouseIcon(std::shared_ptr<forms::Picture>());
    EXPECT_EQ(b->MousePointer(), 0);
}

TEST_F(ControlModel, PointersRestoreAsSaved) {
    struct Case {
        short pointer;
        bool hand;
        bool icon;
    };
    for (const Case c : {Case{5, false, false}, Case{99, false, true}, Case{0, true, false}, Case{3, false, true}}) {
        forms::PropertyBag bag;
        bag.Write(L"MousePointer", std::int32_t{c.pointer});
        bag.Write(L"HandPointer", c.hand);
        if (c.icon) bag.Write(L"MouseIcon", SmallBitmap());
        zembutton b(form, L"zembutton1", Bounds(10, 10, W, H), bag);
        EXPECT_EQ(b.MousePointer(), c.pointer) << c.pointer;
        EXPECT_EQ(b.HandPointer(), c.hand) << c.pointer;
        EXPECT_EQ(b.MouseIcon() != nullptr, c.icon) << c.pointer;
    }
}

TEST_F(ControlModel, ABitmapMouseIconShowsItsOwnColours) {
    auto b = Make();
    b->SetMouseIcon(MakeBitmap(0xFFFFFF, {{2, 2, 0x0000FF}}));
    base::WindowDC screen(nullptr);
    void* bits = nullptr;
    base::BitmapHandle surface = forms::CreateTopDownDib(8, 8, &bits, screen.Get());
    base::MemoryDC dc(::CreateCompatibleDC(screen.Get()));
    base::SelectedObject selected(dc.Get(), surface.Get());
    const RECT all{0, 0, 8, 8};
    base::BrushHandle blue(::CreateSolidBrush(0xFF0000));
    ::FillRect(dc.Get(), &all, blue.Get());
    ASSERT_TRUE(::DrawIconEx(dc.Get(), 0, 0, b->MouseIcon(), 8, 8, 0, nullptr, DI_NORMAL));
    ::GdiFlush();
    const auto* pixels = static_cast<const std::uint32_t*>(bits);  // 0xAARRGGBB
    EXPECT_EQ(pixels[0] & 0xFFFFFF, 0xFFFFFFu) << "white stays white over the screen";
    EXPECT_EQ(pixels[2 * 8 + 2] & 0xFFFFFF, 0xFF0000u) << "red stays red";
}

TEST_F(ControlModel, NeverSmallerThan220Twips) {
    const int tiny = static_cast<int>(forms::TwipsToPixels(100));
    zembutton b(form, L"zembutton1", Bounds(10, 10, tiny, tiny));
    RECT client{};
    ::GetClientRect(b.hWnd(), &client);
    EXPECT_GE(forms::PixelsToTwips(client.right), 220);
    EXPECT_GE(forms::PixelsToTwips(client.bottom), 220);
    EXPECT_LT(forms::PixelsToTwips(client.right - 1), 220) << "and no larger than needed";
    ::SetWindowPos(b.hWnd(), nullptr, 0, 0, 60, tiny, SWP_NOMOVE | SWP_NOZORDER);
    ::GetClientRect(b.hWnd(), &client);
    EXPECT_EQ(client.right, 60);
    EXPECT_GE(forms::PixelsToTwips(client.bottom), 220);
}

TEST_F(ControlModel, WindowOutlinePerStyle) {
    auto b = Make();
    for (int style : {0, 1, 4, 5, 8, 11, 12}) {
        b->SetButtonStyle(style);
        const RECT box = RegionBox(b->hWnd());
        EXPECT_EQ(box.right, W) << style;
        EXPECT_EQ(box.bottom, H) << style;
        EXPECT_TRUE(InRegion(b->hWnd(), 0, 0)) << style;
        EXPECT_TRUE(InRegion(b->hWnd(), W - 1, H - 1)) << style;
    }
    for (int style : {2, 3, 6, 7, 9, 10}) {
        b->SetButtonStyle(style);
        EXPECT_FALSE(InRegion(b->hWnd(), 0, 0)) << style;
        EXPECT_TRUE(InRegion(b->hWnd(), 2, 2)) << style;
        EXPECT_TRUE(InRegion(b->hWnd(), W / 2, H - 1)) << style;
        EXPECT_TRUE(InRegion(b->hWnd(), W - 1, H / 2)) << style;
        EXPECT_FALSE(InRegion(b->hWnd(), W, H / 2)) << style;
    }
    // The rounded outlines, pixel by pixel: a rectangle one pixel larger than the
    // button with a corner ellipse of 3 or 4.
    for (const auto& [style, ellipse] : {std::pair{2, 3}, {3, 3}, {7, 3}, {9, 3}, {6, 4}, {10, 4}}) {
        b->SetButtonStyle(style);
        const base::RegionHandle rule(::CreateRoundRectRgn(0, 0, W + 1, H + 1, ellipse, ellipse));
        int differing = 0;
        for (int y = 0; y < H; ++y)
            for (int x = 0; x < W; ++x)
                differing += InRegion(b->hWnd(), x, y) != (::PtInRegion(rule.Get(), x, y) != FALSE) ? 1 : 0;
        EXPECT_EQ(differing, 0) << style;
    }
}

TEST_F(ControlModel, ThemedOutlineComesFromTheTheme) {
    if (!::IsAppThemed()) GTEST_SKIP() << "no visual theme is active";
    auto b = Make();
    b->SetButtonStyle(8);
    b->SetButtonStyle(13);
    const RECT box = RegionBox(b->hWnd());
    EXPECT_NE(box.right, 0);
    EXPECT_GE(box.right, W);
    EXPECT_LE(box.left, 0);
}

TEST_F(ControlModel, RestoringWithoutAStyleGivesSoftEdge) {
    forms::PropertyBag bag;
    bag.Write(L"Caption", std::wstring(L"Saved"));
    bag.Write(L"BackColor", std::int32_t{0x345678});
    bag.Write(L"Enabled", false);
    bag.Write(L"HandPointer", true);
    zembutton b(form, L"zembutton1", Bounds(10, 10, W, H), bag);
    EXPECT_EQ(b.ButtonStyle(), 1);
    EXPECT_EQ(b.BackColor(), 0x345678u) << "no scheme colours on restoring";
    EXPECT_FALSE(b.ShowFocusRect());
    EXPECT_FALSE(::IsWindowEnabled(b.hWnd()));
    EXPECT_TRUE(b.HandPointer());
    EXPECT_EQ(b.Caption(), L"Saved");
    EXPECT_EQ(b.PictureEffectOnOver(), 1);
    EXPECT_EQ(b.PictureEffectOnDown(), 2);
    EXPECT_TRUE(b.Intercepting());
}

TEST_F(ControlModel, SavedAndRestored) {
    auto b = Make();
    b->SetButtonStyle(10);
    b->SetCaption(L"&Round trip");
    b->SetFont(forms::Font::Create(L"Verdana", 9, true));
    b->SetMode(1);
    b->SetValue(true);
    b->SetPictureNormal(SmallBitmap());
    b->SetPictureOpacity(100);
    b->SetDropDownSymbol(6);
    b->SetToolTip(L"A tip");
    b->SetTooltipBackColor(0x00FFFF);
    b->SetRightToLeft(true);
    forms::PropertyBag bag;
    b->WriteProperties(bag);
    zembutton copy(form, L"zembutton2", Bounds(10, 40, W, H), bag);
    EXPECT_EQ(copy.ButtonStyle(), 10);
    EXPECT_EQ(copy.Caption(), L"&Round trip");
    EXPECT_EQ(copy.AccessKeys(), L"r");
    EXPECT_TRUE(copy.Font()->SameAs(*b->Font()));
    EXPECT_TRUE(copy.Value());
    EXPECT_EQ(copy.PictureNormal(), b->PictureNormal());
    EXPECT_EQ(copy.PictureOpacity(), 100);
    EXPECT_EQ(copy.DropDownSymbol(), 6);
    EXPECT_EQ(copy.ToolTip(), L"A tip");
    EXPECT_EQ(copy.TooltipBackColor(), 0x00FFFFu);
    EXPECT_TRUE(copy.RightToLeft());
    EXPECT_EQ(copy.BackColor(), b->BackColor());
    EXPECT_EQ(copy.ColorScheme(), b->ColorScheme());
}

TEST_F(ControlModel, AChangeInsideTheFontRedraws) {
    auto font = forms::Font::Create(L"Tahoma", 8);
    auto b = Make();
    b->SetButtonStyle(8);
    b->SetFont(font);
    b->SetCaption(L"Wide caption");
    Snapshot before(*b);
    const LONG small = b->Layout().caption.right - b->Layout().caption.left;
    font->SetSize(10);
    const LONG large = b->Layout().caption.right - b->Layout().caption.left;
    EXPECT_GT(large, small) << "the font's own change notification redrew the button";
}

TEST_F(ControlModel, AboutNamesTheControlAndItsVersion) {
    static std::wstring title;
    static std::wstring text;
    title.clear();
    text.clear();
    const UINT_PTR timer = ::SetTimer(nullptr, 0, 50, [](HWND, UINT, UINT_PTR, DWORD) {
        HWND box = ::FindWindowW(L"#32770", L"About");
        if (!box) return;
        wchar_t buffer[128] = {};
        ::GetWindowTextW(box, buffer, 128);
        title = buffer;
        ::GetDlgItemTextW(box, 0xFFFF, buffer, 128);
        text = buffer;
        ::PostMessageW(box, WM_COMMAND, IDOK, 0);
    });
    auto b = Make();
    b->About();
    ::KillTimer(nullptr, timer);
    EXPECT_EQ(title, L"About");
    EXPECT_EQ(text, L"ZEMButton v 1.02");
}

TEST(AppButtons, MainWindowButtonsAreSquareBands) {
    MoveMouseAway();
    app::Form1 window;
    const long back = 0xFFD1AD;
    const long border = rule::Shift(back, -0.34f);
    for (int number = 1; number <= 11; ++number) {
        zembutton& b = window.zembutton(number);
        EXPECT_EQ(b.ButtonStyle(), 8) << number;
        EXPECT_EQ(b.BackColor(), 0xFFD1ADu) << number;
        EXPECT_TRUE(b.PicturePushOnHover()) << number;
        EXPECT_EQ(b.CaptionEffects(), 0) << number;
        EXPECT_EQ(b.Font()->Name(), L"MS Sans Serif") << number;
        EXPECT_DOUBLE_EQ(b.Font()->Size(), 8.25) << number;
        Snapshot look(b);
        EXPECT_EQ(look.Width(), 97);
        EXPECT_EQ(look.Height(), 25);
        EXPECT_EQ(look.At(0, 12), border) << number;
        EXPECT_EQ(look.At(3, 9), back) << number << ": the lower band starts at the back colour";
    }
    EXPECT_FALSE(window.zembutton(5).Enabled());
    EXPECT_EQ(window.zembutton(9).MouseIcon(), ::LoadCursorW(nullptr, IDC_HAND)) << "Home shows the pointing hand";
}

TEST(AppButtons, OutputWindowCancelButtonIsThemed) {
    MoveMouseAway();
    app::frmDOSOutput window;
    zembutton& cancel = window.zembutton1();
    EXPECT_EQ(cancel.Caption(), L"Cancel");
    EXPECT_EQ(cancel.ButtonStyle(), ::IsAppThemed() ? 13 : 2);
    EXPECT_EQ(cancel.Font()->Name(), L"Tahoma");
    EXPECT_EQ(cancel.PictureEffectOnOver(), 0);
    EXPECT_EQ(cancel.TooltipBackColor(), 0u);
    Snapshot look(cancel);
    EXPECT_EQ(look.Width(), 105);
    EXPECT_EQ(look.Height(), 25);
    const RECT caption = cancel.Layout().caption;
    EXPECT_GE(caption.left, 4);
    EXPECT_LE(caption.right, 105 - 4);
}
