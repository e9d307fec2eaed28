// Draws the themed button in every look (rows) and state (columns), plain and
// with an icon, into one picture for people to look at:
// <folder given>\themedbutton-contact-sheet.png. Run with: scripts/contact-sheet themedbutton-sheet
#include <windows.h>

#include <commctrl.h>
#include <uxtheme.h>

#include <cstdio>
#include <memory>
#include <optional>
#include <string>

#include "base/MessageLoop.h"
#include "controls/themedbutton/ThemedButton.h"
#include "forms/Form.h"
#include "support/ContactSheet.h"
#include "support/Icons.h"

namespace {

constexpr int kCellWidth = 97;
constexpr int kCellHeight = 25;
constexpr int kGap = 8;
constexpr int kLabelWidth = 120;
constexpr int kHeaderHeight = 36;

class SheetForm : public forms::Form {
public:
    SheetForm() {
        CreateForm(L"Snipmill.ThemedButtonSheet", L"Themed button sheet", 300, 120, WS_OVERLAPPEDWINDOW, 0);
        Show(SW_SHOW);
        base::DoEvents();
    }
};

struct Row {
    const wchar_t* label;
    int style;
    bool withoutTheme = false;
};

const Row kRows[] = {{L"0 raised", 0}, {L"1 soft", 1},     {L"2 flat", 2},     {L"3 etched", 3},
                     {L"4 office", 4}, {L"5 skin", 5},     {L"6 theme", 6},    {L"6 no theme: 5", 6, true},
                     {L"7 shaded", 7}, {L"8 bevelled", 8}, {L"9 cylinder", 9}, {L"10 large", 10}};

const wchar_t* const kColumns[] = {L"1 normal", L"2 hot", L"3 pressed", L"4 disabled", L"5 focused"};

// A 16 x 16 icon: a green disc with a white shine, transparent around it.
std::shared_ptr<forms::Picture> Disc() {
    return testing_support::MakeIcon(16, [](int x, int y) -> std::optional<std::uint32_t> {
        const int dx = 2 * x - 15, dy = 2 * y - 15;
        if (dx * dx + dy * dy > 14 * 14) return std::nullopt;
        const bool shine = x >= 4 && x < 7 && y >= 4 && y < 7;
        return shine ? 0xFFFFFFFFu : 0xFF30A030u;
    });
}

std::unique_ptr<controls::ThemedButton> MakeButton(SheetForm& form, const Row& row, int column,
                                                   const std::shared_ptr<forms::Picture>& icon) {
    auto b = std::make_unique<controls::ThemedButton>(form, L"ThemedButton1",
                                                      RECT{10, 10, 10 + kCellWidth, 10 + kCellHeight});
    if (row.withoutTheme) ::SetWindowTheme(b->hWnd(), L" ", L" ");
    b->SetCaption(L"Visit site");
    b->SetShowFocus(true);
    b->SetNonThemeStyle(5);
    b->SetStyle(row.style);
    if (icon) b->SetIcon(icon);
    switch (column) {
    case 1:  // the hook hears the mouse come in
        ::SendMessageW(b->hWnd(), WM_MOUSEMOVE, 0, MAKELPARAM(5, 5));
        break;
    case 2:  // a toggle that is on is drawn pressed
        b->SetButtonType(1);
        b->SetValue(true);
        break;
    case 3:
        b->SetEnabled(false);
        break;
    case 4:
        ::SetFocus(b->hWnd());
        break;
    default:
        break;
    }
    return b;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    INITCOMMONCONTROLSEX controls{sizeof controls, ICC_BAR_CLASSES | ICC_STANDARD_CLASSES};
    ::InitCommonControlsEx(&controls);
    const std::wstring folder = argc > 1 ? argv[1] : L".";
    SheetForm form;
    ::SetForegroundWindow(form.Handle());
    const auto icon = Disc();

    constexpr int kColumnCount = 5;
    const int rows = static_cast<int>(std::size(kRows));
    const int cellsWide = kColumnCount * 2;
    testing_support::ContactSheet sheet(kLabelWidth + cellsWide * (kCellWidth + kGap) + kGap,
                                        kHeaderHeight + rows * (kCellHeight + kGap) + kGap);
    for (int column = 0; column < kColumnCount; ++column)
        for (int withIcon = 0; withIcon < 2; ++withIcon) {
            const int x = kLabelWidth + (column * 2 + withIcon) * (kCellWidth + kGap);
            sheet.Label(x, 2, kCellWidth, 16, kColumns[column]);
            sheet.Label(x, 18, kCellWidth, 16, withIcon ? L"with icon" : L"plain");
        }
    for (int r = 0; r < rows; ++r) {
        const int y = kHeaderHeight + r * (kCellHeight + kGap);
        sheet.Label(8, y, kLabelWidth - 8, kCellHeight, kRows[r].label);
        for (int column = 0; column < kColumnCount; ++column)
            for (int withIcon = 0; withIcon < 2; ++withIcon) {
                auto b = MakeButton(form, kRows[r], column, withIcon ? icon : nullptr);
                sheet.Draw(kLabelWidth + (column * 2 + withIcon) * (kCellWidth + kGap), y, *b);
            }
    }
    const std::wstring path = folder + L"\\themedbutton-contact-sheet.png";
    if (!sheet.Save(path)) {
        std::fwprintf(stderr, L"could not write %ls\n", path.c_str());
        return 1;
    }
    std::wprintf(L"%ls\n", path.c_str());
    return 0;
}
