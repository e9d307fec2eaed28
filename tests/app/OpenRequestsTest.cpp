// Files opened other than through the open dialog: the path on the command
// line and files dropped on the main window.
#include "app/OpenRequests.h"

#include <windows.h>
#include <shlobj.h>

#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "UserFiles.h"
#include "app/Form1.h"
#include "app/SaveSelection.h"
#include "support/DialogWatcher.h"
#include "support/WindowTesting.h"

using testing_support::FixturePath;
using testing_support::PumpUntil;

namespace {

// A drop as the shell hands it to a window: DROPFILES followed by the names.
HDROP MakeDrop(const std::vector<std::wstring>& files) {
    std::wstring names;
    for (const std::wstring& file : files) names += file + L'\0';
    names += L'\0';
    const std::size_t bytes = sizeof(DROPFILES) + names.size() * sizeof(wchar_t);
    HGLOBAL memory = ::GlobalAlloc(GHND, bytes);
    auto* drop = static_cast<DROPFILES*>(::GlobalLock(memory));
    drop->pFiles = sizeof(DROPFILES);
    drop->fWide = TRUE;
    std::memcpy(reinterpret_cast<char*>(drop) + sizeof(DROPFILES), names.data(), names.size() * sizeof(wchar_t));
    ::GlobalUnlock(memory);
    return static_cast<HDROP>(memory);
}

std::wstring CurrentFolder() {
    wchar_t folder[MAX_PATH]{};
    ::GetCurrentDirectoryW(MAX_PATH, folder);
    return folder;
}

}  // namespace

TEST(CommandLine, NamesTheFileToOpen) {
    const std::wstring odd = app_tests::CopyOfFixture(L"cbr128_info.mp3", app_tests::kOddName);
    const std::wstring plain = app_tests::CopyOfFixture(L"cbr128_info.mp3", L"plain.mp3");
    const std::wstring oddFolder = odd.substr(0, odd.rfind(L'\\'));
    const std::wstring here = CurrentFolder();
    struct Case {
        std::wstring line;
        std::wstring file;
    };
    const Case cases[] = {
        {L"snipmill.exe", L""},
        {L"\"C:\\Program Files\\Snipmill\\snipmill.exe\"", L""},
        {L"\"C:\\Program Files\\Snipmill\\snipmill.exe\" \"\"", L""},
        {L"\"C:\\Program Files\\Snipmill\\snipmill.exe\" \"" + odd + L"\"", odd},
        {L"snipmill.exe " + plain, plain},
        {L"snipmill.exe " + plain + L" /extra \"" + odd + L"\"", plain},
        {L"snipmill.exe \"" + odd + L"\" " + plain, odd},
        // Without quotes: the whole rest of the line, when it names a file.
        {L"snipmill.exe " + odd, odd},
        {L"snipmill.exe   " + odd + L"  ", odd},
        // A file that is not there is still handed on, so that opening it can say why it fails.
        {L"snipmill.exe \"" + oddFolder + L"\\missing 100%.mp3\"", oddFolder + L"\\missing 100%.mp3"},
        {L"snipmill.exe song.mp3", here + L"\\song.mp3"},
        {L"snipmill.exe .\\sub\\..\\song.mp3", here + L"\\song.mp3"},
    };
    for (const Case& c : cases) EXPECT_EQ(app::FileFromCommandLine(c.line), c.file) << c.line;
}

TEST(CommandLine, TakesPathsPastTheClassicLimit) {
    const std::wstring longPath = app_tests::CopyOfFixture(L"cbr128_info.mp3", app_tests::LongName());
    ASSERT_GT(longPath.size(), 300u);  // MAX_PATH is 260
    EXPECT_EQ(app::FileFromCommandLine(L"snipmill.exe \"" + longPath + L"\""), longPath);
}

TEST(Drop, TheFirstFileIsTakenWhateverItsLength) {
    const std::wstring longName = L"C:\\" + std::wstring(400, L'x') + L".mp3";
    struct Case {
        std::vector<std::wstring> files;
        std::wstring first;
    };
    const Case cases[] = {
        {{L"C:\\Music\\Été 100%.mp3"}, L"C:\\Music\\Été 100%.mp3"},
        {{L"C:\\a.mp3", L"C:\\b.mp3", L"C:\\c.mp3"}, L"C:\\a.mp3"},
        {{longName, L"C:\\b.mp3"}, longName},
        {{}, L""},
    };
    for (const Case& c : cases) EXPECT_EQ(app::FirstDroppedFile(MakeDrop(c.files)), c.first);
}

namespace {

class DropOnForm1 : public ::testing::Test {
protected:
    void SetUp() override {
        form.Show();
        // Another program is in front: messages must still belong to this window.
        other = ::CreateWindowExW(0, L"STATIC", L"Another program", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 600, 0, 200, 100,
                                  nullptr, nullptr, nullptr, nullptr);
        ::SetActiveWindow(other);
    }
    void TearDown() override { ::DestroyWindow(other); }

    void Drop(const std::vector<std::wstring>& files) {
        ::PostMessageW(form.Handle(), WM_DROPFILES, reinterpret_cast<WPARAM>(MakeDrop(files)), 0);
    }
    bool Loaded(const std::wstring& path) {
        return PumpUntil([&] { return form.Text1().Text() == path; }, 5000);
    }

    app::Form1 form;
    HWND other = nullptr;
    testing_support::DialogWatcher watcher;
};

}  // namespace

TEST_F(DropOnForm1, OpensTheFirstFileAsSelectMp3Would) {
    const std::wstring odd = app_tests::CopyOfFixture(L"cbr128_info.mp3", app_tests::kOddName);
    Drop({odd, FixturePath(L"media\\tone440.mp3")});
    ASSERT_TRUE(Loaded(odd));
    auto boxes = watcher.Seen();
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].text, std::wstring(L"Playing the file ") + app_tests::kOddTitle);
    EXPECT_EQ(boxes[0].owner, form.Handle());
    EXPECT_FALSE(boxes[0].ownerEnabled);  // modal for the main window
    EXPECT_EQ(form.Label(11).Caption(), L"Loaded Chanson d'été 100% ü.mp3");
    EXPECT_EQ(form.Slider1().Max(), 3);
    for (int number : {2, 7}) EXPECT_TRUE(form.zembutton(number).Enabled());
    EXPECT_TRUE(PumpUntil([&] { return form.player().PlayState() == app::MediaPlayer::kPlaying; }, 3000));
}

TEST_F(DropOnForm1, AFileThatCannotBeOpenedIsReportedAndTheLoadedOneStays) {
    const std::wstring first = FixturePath(L"media\\cbr128_info.mp3");
    Drop({first});
    ASSERT_TRUE(Loaded(first));
    Drop({FixturePath(L"media\\text.mp3")});
    ASSERT_TRUE(PumpUntil([&] { return watcher.Seen().size() == 2; }, 5000));
    auto boxes = watcher.Seen();
    EXPECT_EQ(boxes[1].icon, static_cast<UINT>(MB_ICONERROR));
    EXPECT_NE(boxes[1].text.find(L"text.mp3"), std::wstring::npos) << boxes[1].text;
    EXPECT_EQ(boxes[1].owner, form.Handle());
    EXPECT_EQ(form.Text1().Text(), first);
}

TEST_F(DropOnForm1, IsIgnoredWhileSelectMp3CannotBeClicked) {
    form.zembutton(1).SetEnabled(false);
    Drop({FixturePath(L"media\\cbr128_info.mp3")});
    testing_support::PumpFor(500);
    EXPECT_EQ(form.Text1().Text(), L"Text1");
    EXPECT_TRUE(watcher.Seen().empty());
}

TEST_F(DropOnForm1, DuringASaveOpensTheFileAsTheButtonWouldThen) {
    const std::wstring first = FixturePath(L"media\\tone440_12s.mp3");
    const std::wstring second = FixturePath(L"media\\cbr128_info.mp3");
    Drop({first});
    ASSERT_TRUE(Loaded(first));
    form.Label(5).SetCaption(L"1");
    form.Label(7).SetCaption(L"3");
    form.Label(9).SetCaption(L"2");

    app::frmDOSOutput& output = form.DOSOutput();
    std::wstring loadedWhenTheRunEnded;
    output.ReadOutput1().Complete.Subscribe([&] { loadedWhenTheRunEnded = form.Text1().Text(); });
    const std::wstring target = testing_support::ArtifactPath(L"dropped during a save.mp3");
    ::DeleteFileW(target.c_str());
    Drop({second});  // handled by the message loop that runs while the encoder works
    app::SaveSelectionAs(form, target);

    EXPECT_EQ(loadedWhenTheRunEnded, second);
    EXPECT_EQ(form.Text1().Text(), second);
    EXPECT_EQ(::GetFileAttributesW(target.c_str()) != INVALID_FILE_ATTRIBUTES, true);
    std::vector<std::wstring> texts;
    for (const auto& box : watcher.Seen()) texts.push_back(box.text);
    EXPECT_EQ(texts, (std::vector<std::wstring>{L"Playing the file tone440_12s", L"Playing the file cbr128_info",
                                                L"MP3 has been cut!"}));
}
