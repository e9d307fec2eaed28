// Draws every style in every state into one picture for people to look at:
// artifacts/imagebutton-contact-sheet.png in the build folder.
#include <gtest/gtest.h>

#include "ButtonStates.h"
#include "ButtonTestSupport.h"
#include "support/ContactSheet.h"
#include "controls/imagebutton/ButtonProperties.h"

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


}  // namespace

TEST(ContactSheet, EveryStyleInEveryState) {
    const auto& states = AllStates();
    const int columns = static_cast<int>(states.size());
    const int width = kLabelWidth + columns * (kCellWidth + kGap);
    const int block = kHeaderHeight + controls::imagebutton::Styles::kCount * (kCellHeight + kGap);
    const int height = 2 * block + kGap;
    testing_support::ContactSheet sheet(width, height);
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
                sheet.Draw(kLabelWidth + c * (kCellWidth + kGap), y, *button);
                form.defaultButton = nullptr;
                if (::GetCapture()) ::ReleaseCapture();
            }
        }
    }
    MoveMouseAway();
    EXPECT_TRUE(sheet.Save(testing_support::ArtifactPath(L"imagebutton-contact-sheet.png")));
}
