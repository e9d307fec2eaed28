#include "app/modCloseBtn.h"

#include <gtest/gtest.h>

#include <vector>

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

// Switch sequences on a fresh window: what each call returns, and where the item ends up.
TEST(SwitchCloseCommand, Sequences) {
    constexpr bool off = false, on = true;
    struct Case {
        const char* name;
        std::vector<bool> switches;
        std::vector<int> results;
        bool closeAvailable;  // the item is Close, enabled; otherwise moved away and greyed
    };
    const Case cases[] = {
        {"off moves the item and greys it", {off}, {0}, false},
        {"off twice finds nothing the second time", {off, off}, {0, -1}, false},
        {"on without off finds nothing", {on}, {-1}, true},
        {"off then on restores the item", {off, on}, {0, 0}, true},
    };
    for (const Case& c : cases) {
        PlainWindow window;
        std::vector<int> results;
        for (bool state : c.switches) results.push_back(app::SwitchCloseCommand(window.Handle(), state));
        EXPECT_EQ(results, c.results) << c.name;
        if (c.closeAvailable) {
            EXPECT_EQ(StateOf(window.Handle(), SC_CLOSE) & MF_GRAYED, 0u) << c.name;
            EXPECT_EQ(StateOf(window.Handle(), kClosedId), static_cast<UINT>(-1)) << c.name;
        } else {
            EXPECT_EQ(StateOf(window.Handle(), SC_CLOSE), static_cast<UINT>(-1)) << c.name;
            EXPECT_EQ(StateOf(window.Handle(), kClosedId) & MF_GRAYED, static_cast<UINT>(MF_GRAYED)) << c.name;
        }
    }
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
