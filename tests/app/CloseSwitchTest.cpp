#include "app/modCloseBtn.h"

#include <gtest/gtest.h>

#include "forms/Form.h"

namespace {

class PlainWindow : public forms::Form {
public:
    PlainWindow() { CreateForm(L"Snipmill.Test.Plain", L"Plain", 200, 100, WS_OVERLAPPEDWINDOW, 0); }
};

constexpr UINT kClosedId = static_cast<UINT>(-10);

UINT StateOf(HWND hwnd, UINT id) {
    return ::GetMenuState(::GetSystemMenu(hwnd, FALSE), id, MF_BYCOMMAND);
}

}  // namespace

TEST(SwitchCloseCommand, OffMovesTheItemAndGreysIt) {
    PlainWindow window;
    const bool off = false;
    ASSERT_EQ(app::SwitchCloseCommand(window.Handle(), off), 0);
    EXPECT_EQ(StateOf(window.Handle(), SC_CLOSE), static_cast<UINT>(-1));
    EXPECT_EQ(StateOf(window.Handle(), kClosedId) & MF_GRAYED, static_cast<UINT>(MF_GRAYED));
}

TEST(SwitchCloseCommand, OffTwiceFindsNothingTheSecondTime) {
    PlainWindow window;
    const bool off = false;
    ASSERT_EQ(app::SwitchCloseCommand(window.Handle(), off), 0);
    EXPECT_EQ(app::SwitchCloseCommand(window.Handle(), off), -1);
    EXPECT_EQ(StateOf(window.Handle(), kClosedId) & MF_GRAYED, static_cast<UINT>(MF_GRAYED));
}

TEST(SwitchCloseCommand, OnWithoutOffFindsNothing) {
    PlainWindow window;
    const bool on = true;
    EXPECT_EQ(app::SwitchCloseCommand(window.Handle(), on), -1);
    EXPECT_EQ(StateOf(window.Handle(), SC_CLOSE) & MF_GRAYED, 0u);
}

TEST(SwitchCloseCommand, OffThenOnRestoresTheItem) {
    PlainWindow window;
    const bool off = false, on = true;
    ASSERT_EQ(app::SwitchCloseCommand(window.Handle(), off), 0);
    ASSERT_EQ(app::SwitchCloseCommand(window.Handle(), on), 0);
    EXPECT_EQ(StateOf(window.Handle(), kClosedId), static_cast<UINT>(-1));
    EXPECT_EQ(StateOf(window.Handle(), SC_CLOSE) & MF_GRAYED, 0u);
}

TEST(SwitchCloseCommand, OtherStateBitsAreKept) {
    PlainWindow window;
    HMENU menu = ::GetSystemMenu(window.Handle(), FALSE);
    MENUITEMINFOW item{};
    item.cbSize = sizeof item;
    item.fMask = MIIM_STATE;
    item.fState = MFS_DEFAULT;
    ASSERT_TRUE(::SetMenuItemInfoW(menu, SC_CLOSE, FALSE, &item));
    const bool off = false, on = true;
    ASSERT_EQ(app::SwitchCloseCommand(window.Handle(), off), 0);
    EXPECT_EQ(StateOf(window.Handle(), kClosedId) & (MF_DEFAULT | MF_GRAYED), static_cast<UINT>(MF_DEFAULT | MF_GRAYED));
    ASSERT_EQ(app::SwitchCloseCommand(window.Handle(), on), 0);
    EXPECT_EQ(StateOf(window.Handle(), SC_CLOSE) & (MF_DEFAULT | MF_GRAYED), static_cast<UINT>(MF_DEFAULT));
}

TEST(SwitchCloseCommand, NonWindowGivesMinusOne) {
    const bool off = false;
    EXPECT_EQ(app::SwitchCloseCommand(reinterpret_cast<HWND>(0x12345678), off), -1);
    EXPECT_EQ(app::SwitchCloseCommand(nullptr, off), -1);
}
