// The main window's links to the maker's site, clicked as a user clicks them.
// Each address goes through the shell to the desktop's opener, which the tests
// replace with one that writes it down (see tests/CMakeLists.txt).
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "app/Form1.h"
#include "app/MakerSite.h"
#include "app/SaveSelection.h"
#include "support/DialogWatcher.h"
#include "support/WindowTesting.h"

using testing_support::FixturePath;
using testing_support::PumpUntil;

namespace {

// The host this build was made with, as the build set it for the tests.
const std::string kHost = SNIPMILL_MAKER_HOST;

struct Link {
    bool isLabel;
    int number;
    std::wstring pathAndQuery;  // what the handler adds to the host
    std::string opened;         // what reaches the desktop's opener
};

// The shell hands the root on in its canonical form: an empty path is "/".
const Link kLinks[] = {
    {false, 9, L"", "http://" + kHost + "/"},
    {true, 1, L"", "http://" + kHost + "/"},
    {true, 10, L"", "http://" + kHost + "/"},
    {true, 11, L"", "http://" + kHost + "/"},
    {false, 10, L"/?q=node/8", "http://" + kHost + "/?q=node/8"},
    {false, 11, L"/checkupdates.php?name=SNPML&ver=1.1", "http://" + kHost + "/checkupdates.php?name=SNPML&ver=1.1"},
};

// This program's name, as the file it was built into has it ("tests_app").
std::wstring ProgramName() {
    wchar_t path[MAX_PATH] = {};
    ::GetModuleFileNameW(nullptr, path, MAX_PATH);
    return std::filesystem::path(path).stem().wstring();
}

std::string NameOf(const Link& link) { return (link.isLabel ? "Label" : "zembutton") + std::to_string(link.number); }

class Links : public ::testing::Test {
protected:
    void SetUp() override {
        wchar_t named[MAX_PATH] = {};
        if (!::GetEnvironmentVariableW(L"SNIPMILL_OPENED_LINKS", named, MAX_PATH))
            GTEST_SKIP() << "run through ctest, which puts the recording opener on PATH";
        // Its own file: another program deleting and writing one at the same time would mix them.
        ASSERT_TRUE(std::wstring(named).ends_with(L"/opened-links-" + ProgramName() + L".txt"));
        ::DeleteFileW(log.c_str());
        form.Show();
    }

    // The addresses handed to the opener so far.
    std::vector<std::string> Opened() const {
        std::vector<std::string> lines;
        std::ifstream file{std::filesystem::path(log)};
        for (std::string line; std::getline(file, line);) lines.push_back(line);
        return lines;
    }
    bool WaitForOpened(std::size_t count) {
        return PumpUntil([&] { return Opened().size() >= count; }, 20000);
    }

    // Posts the mouse's press and release, as the window gets them from a click.
    void Click(const Link& link) {
        if (link.isLabel) {
            const RECT& bounds = form.Label(link.number).Bounds();
            const LPARAM point = MAKELPARAM(bounds.left + 4, bounds.top + 4);
            ::PostMessageW(form.Handle(), WM_LBUTTONDOWN, MK_LBUTTON, point);
            ::PostMessageW(form.Handle(), WM_LBUTTONUP, 0, point);
        } else {
            HWND button = form.zembutton(link.number).hWnd();
            ::PostMessageW(button, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
            ::PostMessageW(button, WM_LBUTTONUP, 0, MAKELPARAM(5, 5));
        }
    }
    // Each link clicked in turn: exactly its address reaches the opener.
    void ClickEachAndCheck() {
        std::size_t opened = 0;
        for (const Link& link : kLinks) {
            Click(link);
            ASSERT_TRUE(WaitForOpened(++opened)) << NameOf(link);
            EXPECT_EQ(Opened().back(), link.opened) << NameOf(link);
        }
        testing_support::PumpFor(300);
        EXPECT_EQ(Opened().size(), opened);  // and nothing else
    }
    void Load() {
        form.OpenMp3(FixturePath(L"media\\tone440_12s.mp3"));
        ASSERT_EQ(form.Label(11).Caption(), L"Loaded tone440_12s.mp3");
    }

    const std::wstring log = testing_support::ArtifactPath(L"opened-links-" + ProgramName() + L".txt");
    app::Form1 form;
    testing_support::DialogWatcher watcher;
};

}  // namespace

TEST(LinkControls, AddressesAreBuiltOnTheHostOfTheBuild) {
    const std::wstring host(kHost.begin(), kHost.end());
    EXPECT_EQ(app::MakerHost(), host);
    EXPECT_TRUE(host.ends_with(L".example")) << "a name reserved for documentation";
    for (const Link& link : kLinks)
        EXPECT_EQ(app::MakerAddress(link.pathAndQuery), L"http://" + host + link.pathAndQuery);
}

TEST(LinkControls, AreOnTheWindowAsBuilt) {
    app::Form1 form;
    EXPECT_EQ(form.Label(10).Caption(), std::wstring(kHost.begin(), kHost.end()));
    EXPECT_FALSE(::IsWindowVisible(form.ThemedButton1().hWnd()));
    EXPECT_EQ(form.ThemedButton1().Caption(), L"ThemedButton");
    EXPECT_EQ(form.ThemedButton1().Font()->Name(), L"Verdana");
    EXPECT_EQ(form.ThemedButton1().Font()->Size(), 8.25);
    EXPECT_EQ(form.ThemedButton5().Caption(), L"ThemedButton");
    RECT twin{};
    ::GetWindowRect(form.ThemedButton5().hWnd(), &twin);
    ::MapWindowPoints(nullptr, form.Handle(), reinterpret_cast<POINT*>(&twin), 2);
    EXPECT_GE(twin.top, app::Form1::kClientHeight);  // below the client area
}

TEST_F(Links, OpenTheMakersPagesBeforeAFileIsLoaded) { ClickEachAndCheck(); }

TEST_F(Links, OpenTheMakersPagesWithAFileLoaded) {
    Load();
    ClickEachAndCheck();
}

TEST_F(Links, OpenTheMakersPagesWhileASaveRuns) {
    Load();
    form.Label(5).SetCaption(L"1");
    form.Label(7).SetCaption(L"3");
    form.Label(9).SetCaption(L"2");
    app::frmDOSOutput& output = form.DOSOutput();
    std::vector<std::string> clickedDuringTheRun;
    for (const Link& link : kLinks) {
        auto note = [&, link] {
            if (output.ReadOutput1().Processing()) clickedDuringTheRun.push_back(NameOf(link));
        };
        if (link.isLabel)
            form.Label(link.number).Click.Subscribe(note);
        else
            form.zembutton(link.number).Click.Subscribe(note);
    }
    for (const Link& link : kLinks) Click(link);  // handled by the loop that runs while the encoder works
    const std::wstring target = testing_support::ArtifactPath(L"links during a save.mp3");
    app::SaveSelectionAs(form, target);

    EXPECT_EQ(clickedDuringTheRun.size(), std::size(kLinks));
    ASSERT_TRUE(WaitForOpened(std::size(kLinks)));
    std::vector<std::string> opened = Opened();
    std::vector<std::string> expected;
    for (const Link& link : kLinks) expected.push_back(link.opened);
    std::sort(opened.begin(), opened.end());  // the openers run side by side
    std::sort(expected.begin(), expected.end());
    EXPECT_EQ(opened, expected);
    EXPECT_EQ(watcher.Seen().back().text, L"MP3 has been cut!");
}
