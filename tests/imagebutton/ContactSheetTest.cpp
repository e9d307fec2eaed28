// Draws every style in every state into one picture for people to look at:
// artifacts/imagebutton-contact-sheet.png in the build folder.
#include <gtest/gtest.h>

#include "ButtonStates.h"
#include "ButtonTestSupport.h"
#include "base/Handles.h"
#include "controls/imagebutton/ButtonProperties.h"
#include "controls/imagebutton/PixelBlock.h"

using namespace imagebutton_test;

namespace {
constexpr int kCellWidth = 97;
constexpr int kCellHeight = 25;
constexpr int kGap = 8;
constexpr int kLabelWidth = 110;
constexpr int kHeaderHeight = 22;

const wchar_t* const kStyleNames[] = {L"0 Standard",      L"1 SoftEdge",      L"2 RoundedGradient", L"3 RoundedBands",
                                      L"4 FlatHighlight", L"5 SplitGradient", L"6 RoundedPanel",    L"7 RoundedSimple",
                                      L"8 SquareBands",   L"9 RoundedShaded", L"10 RoundedBlend",   L"11 FlatEdge",
                                      L"12 FlatThin",     L"13 Themed"};

// A 16 x 16 picture of 24 bits: a green disc with a white shine on the mask colour.
std::shared_ptr<forms::Picture> Disc() {
    auto disc = MakeBitmap(0xE0E0E0, {}, 24, 255, 16);
    base::WindowDC screen(nullptr);
    base::MemoryDC dc(::CreateCompatibleDC(screen.Get()));
    base::SelectedObject selected(dc.Get(), disc->Bitmap());
    base::BrushHandle green(::CreateSolidBrush(0x30A030));
    base::PenHandle edge(::CreatePen(PS_SOLID, 1, 0x206020));
    base::SelectedObject brush(dc.Get(), green.Get());
    base::SelectedObject pen(dc.Get(), edge.Get());
    ::Ellipse(dc.Get(), 1, 1, 15, 15);
    base::BrushHandle white(::CreateSolidBrush(0xFFFFFF));
    const RECT shine{4, 4, 7, 7};
    ::FillRect(dc.Get(), &shine, white.Get());
    return disc;
}


// The sheet's canvas: white, with a label font.
class Sheet {
public:
    Sheet(int width, int height) : block_(base::WindowDC(nullptr).Get(), width, height, 32) {
        font_.Reset(::CreateFontW(-11, 0, 0, 0, FW_NORMAL, 0, 0, 0, DEFAULT_CHARSET, 0, 0, 0, 0, L"Tahoma"));
        const RECT all{0, 0, width, height};
        ::FillRect(block_.Dc(), &all, static_cast<HBRUSH>(::GetStockObject(WHITE_BRUSH)));
    }

    void Label(int x, int y, int w, int h, const std::wstring& text) {
        base::SelectedObject font(block_.Dc(), font_.Get());
        RECT at{x, y, x + w, y + h};
        ::SetBkMode(block_.Dc(), TRANSPARENT);
        ::DrawTextW(block_.Dc(), text.c_str(), -1, &at, DT_LEFT | DT_VCENTER | DT_SINGLELINE);
    }
    void Button(int x, int y, controls::zembutton& button) {
        POINT old{};
        ::SetViewportOrgEx(block_.Dc(), x, y, &old);
        button.DrawTo(block_.Dc());
        ::SetViewportOrgEx(block_.Dc(), old.x, old.y, nullptr);
    }
    bool Save(const std::wstring& path) {
        testing_support::Pixels pixels;
        pixels.width = block_.Width();
        pixels.height = block_.Height();
        ::GdiFlush();
        for (int y = 0; y < block_.Height(); ++y) {
            const auto* row = reinterpret_cast<const std::uint32_t*>(block_.Row(y));
            pixels.data.insert(pixels.data.end(), row, row + block_.Width());
        }
        return testing_support::WritePng(path, pixels);
    }

private:
    controls::imagebutton::PixelBlock block_;
    base::FontHandle font_;
};
}  // namespace

TEST(ContactSheet, EveryStyleInEveryState) {
    const auto& states = AllStates();
    const int columns = static_cast<int>(states.size());
    const int width = kLabelWidth + columns * (kCellWidth + kGap);
    const int block = kHeaderHeight + controls::imagebutton::Styles::kCount * (kCellHeight + kGap);
    const int height = 2 * block + kGap;
    Sheet sheet(width, height);
    TestForm& form = SharedForm();
    const auto disc = Disc();
    // The second block: a picture beside the caption, a caption effect and a drop-down symbol.
    for (int part = 0; part < 2; ++part) {
        const int top = part * block;
        for (int c = 0; c < columns; ++c)
            sheet.Label(kLabelWidth + c * (kCellWidth + kGap), top + 2, kCellWidth, kHeaderHeight - 4,
                        states[static_cast<std::size_t>(c)].name + (part ? L" +" : L""));
        for (int style = 0; style < controls::imagebutton::Styles::kCount; ++style) {
            const int y = top + kHeaderHeight + style * (kCellHeight + kGap);
            sheet.Label(4, y, kLabelWidth - 8, kCellHeight, kStyleNames[style]);
            for (int c = 0; c < columns; ++c) {
                MoveMouseAway();
                auto button =
                    std::make_unique<controls::zembutton>(form, L"zembutton1", Bounds(10, 10, kCellWidth, kCellHeight));
                button->SetButtonStyle(style);
                button->SetCaption(part ? L"&Select" : L"Save Selection");
                if (part) {
                    button->SetPictureNormal(disc);
                    button->SetPictureEffectOnOver(1);
                    button->SetPictureEffectOnDown(2);
                    button->SetPictureShadow(style % 2 == 1);
                    button->SetCaptionEffects(1 + style % 5);
                    button->SetDropDownSymbol(6);
                    button->SetDropDownSeparator(true);
                }
                states[static_cast<std::size_t>(c)].apply(form, *button);
                sheet.Button(kLabelWidth + c * (kCellWidth + kGap), y, *button);
                form.defaultButton = nullptr;
                if (::GetCapture()) ::ReleaseCapture();
            }
        }
    }
    MoveMouseAway();
    EXPECT_TRUE(sheet.Save(testing_support::ArtifactPath(L"imagebutton-contact-sheet.png")));
}
