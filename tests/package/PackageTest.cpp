// The release package as a user has it: check-package unpacks the zip into
// C:\Program Files\Snipmill of a fresh Wine prefix and runs these tests there.
#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include <cstdint>
#include <cstdio>
#include <cwchar>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "app/Artwork.h"
#include "base/Handles.h"
#include "runner/DOSOutputs.h"
#include "save/SaveFixtures.h"
#include "support/DialogWatcher.h"
#include "support/StartedProgram.h"
#include "support/WindowTesting.h"
#include "Version.h"  // generated from the project's version

namespace {

// The version as the fixed version block holds it: major in the high word, minor in the low.
constexpr DWORD kVersion = (SNIPMILL_VERSION_MAJOR << 16) | SNIPMILL_VERSION_MINOR;

const std::wstring kFolder = L"C:\\Program Files\\Snipmill";

std::wstring Installed(const std::wstring& name) { return kFolder + L"\\" + name; }

// The line of a text that starts with the given words, without its line end.
std::string LineStartingWith(const std::string& text, const std::string& start) {
    std::istringstream lines(text);
    for (std::string line; std::getline(lines, line);)
        if (line.rfind(start, 0) == 0) return line.substr(0, line.find_last_not_of('\r') + 1);
    return {};
}

// The library version the packaged encoder writes into a file's encoder tag ("Lavf58.20.100").
std::wstring WriterTag(const std::string& versionText) {
    const std::string line = LineStartingWith(versionText, "libavformat");
    int major = 0, minor = 0, micro = 0;
    if (std::sscanf(line.c_str(), "libavformat %d.%d.%d", &major, &minor, &micro) != 3) return L"(not printed)";
    return L"Lavf" + std::to_wstring(major) + L"." + std::to_wstring(minor) + L"." + std::to_wstring(micro);
}

using LibraryTraits = base::NullHandleTraits<HMODULE, &::FreeLibrary>;

const BYTE* ResourceBytes(HMODULE module, const wchar_t* name, const wchar_t* type) {
    HRSRC found = ::FindResourceW(module, name, type);
    HGLOBAL loaded = found ? ::LoadResource(module, found) : nullptr;
    return loaded ? static_cast<const BYTE*>(::LockResource(loaded)) : nullptr;
}

}  // namespace

TEST(Package, VersionResourceNamesTheProgramItsMakerAndItsLicence) {
    const std::wstring exe = Installed(L"snipmill.exe");
    DWORD ignored = 0;
    const DWORD size = ::GetFileVersionInfoSizeW(exe.c_str(), &ignored);
    ASSERT_GT(size, 0u);
    std::vector<BYTE> info(size);
    ASSERT_TRUE(::GetFileVersionInfoW(exe.c_str(), 0, size, info.data()));
    VS_FIXEDFILEINFO* fixed = nullptr;
    UINT length = 0;
    ASSERT_TRUE(::VerQueryValueW(info.data(), L"\\", reinterpret_cast<void**>(&fixed), &length));
    EXPECT_EQ((std::vector{fixed->dwFileVersionMS, fixed->dwFileVersionLS, fixed->dwProductVersionMS,
                           fixed->dwProductVersionLS}),
              (std::vector<DWORD>{kVersion, 0, kVersion, 0}));

    // The strings of the language the resource lists first, as Explorer reads them.
    WORD* translation = nullptr;
    ASSERT_TRUE(::VerQueryValueW(info.data(), L"\\VarFileInfo\\Translation", reinterpret_cast<void**>(&translation),
                                 &length));
    wchar_t block[32];
    std::swprintf(block, 32, L"\\StringFileInfo\\%04x%04x\\", translation[0], translation[1]);
    const std::string licence = save_tests::ReadAll(Installed(L"LICENSE.txt"));
    const std::string copyright = LineStartingWith(licence, "Copyright");
    ASSERT_FALSE(copyright.empty()) << licence;
    const std::pair<const wchar_t*, std::wstring> expected[] = {
        {L"ProductName", L"Snipmill"},
        {L"ProductVersion", L"" SNIPMILL_FILE_VERSION},
        {L"FileVersion", L"" SNIPMILL_FILE_VERSION},
        {L"FileDescription", L"Snipmill MP3 cutter"},
        {L"CompanyName", L"Tavrin"},  // as the main window's caption names the maker
        {L"LegalCopyright", std::wstring(copyright.begin(), copyright.end())},
    };
    for (const auto& [name, value] : expected) {
        wchar_t* text = nullptr;
        const bool found =
            ::VerQueryValueW(info.data(), (block + std::wstring(name)).c_str(), reinterpret_cast<void**>(&text), &length);
        EXPECT_EQ(found ? std::wstring(text) : L"(none)", value) << name;
    }
}

TEST(Package, IconResourceHoldsTheWindowIconAtEverySize) {
    base::UniqueHandle<LibraryTraits> exe(::LoadLibraryExW(Installed(L"snipmill.exe").c_str(), nullptr,
                                                           LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_IMAGE_RESOURCE));
    ASSERT_TRUE(exe);
    // The shell shows the first icon group.
    WORD first = 0;
    ::EnumResourceNamesW(
        exe.Get(), RT_GROUP_ICON,
        [](HMODULE, LPCWSTR, LPWSTR name, LONG_PTR found) -> BOOL {
            if (IS_INTRESOURCE(name)) *reinterpret_cast<WORD*>(found) = LOWORD(reinterpret_cast<ULONG_PTR>(name));
            return FALSE;
        },
        reinterpret_cast<LONG_PTR>(&first));
    ASSERT_NE(first, 0);
    const BYTE* group = ResourceBytes(exe.Get(), MAKEINTRESOURCEW(first), RT_GROUP_ICON);
    ASSERT_NE(group, nullptr);
    const WORD count = reinterpret_cast<const WORD*>(group)[2];
    std::set<int> sizes;
    for (WORD i = 0; i < count; ++i) {
        const BYTE* entry = group + 6 + i * 14;  // its width first (0 for 256), the image's id last
        const int size = entry[0] == 0 ? 256 : entry[0];
        const WORD id = static_cast<WORD>(entry[12] | entry[13] << 8);
        SCOPED_TRACE(size);
        sizes.insert(size);
        // The one the system picks for that size, drawn from the artwork the window's icon uses.
        EXPECT_EQ(::LookupIconIdFromDirectoryEx(const_cast<BYTE*>(group), TRUE, size, size, LR_DEFAULTCOLOR), id);
        const BYTE* image = ResourceBytes(exe.Get(), MAKEINTRESOURCEW(id), RT_ICON);
        ASSERT_NE(image, nullptr);
        const auto* header = reinterpret_cast<const BITMAPINFOHEADER*>(image);
        ASSERT_EQ(header->biWidth, size);
        ASSERT_EQ(header->biHeight, 2 * size);
        ASSERT_EQ(header->biBitCount, 32);
        const auto* rows = reinterpret_cast<const std::uint32_t*>(image + header->biSize);
        std::vector<std::uint32_t> pixels;  // top row first, as the artwork gives them
        for (int y = size - 1; y >= 0; --y) pixels.insert(pixels.end(), rows + y * size, rows + (y + 1) * size);
        EXPECT_TRUE(pixels == app::ProgramIconPixels(size));
    }
    EXPECT_EQ(sizes, (std::set<int>{16, 20, 24, 32, 40, 48, 64, 256}));
}

// Driven from outside, as a user drives it: each mark is set with playback held
// by Pause/Play and put back on the slider's second, so it falls on a whole second.
TEST(Package, SavesAnExactCutThroughThePackagedEncoder) {
    // The capture shows a message box when the program cannot be started: it must be there.
    ASSERT_NE(::GetFileAttributesW(Installed(L"ffmpeg.exe").c_str()), INVALID_FILE_ATTRIBUTES);
    const std::wstring printed = runner::DOSOutputs().ExecuteCommand(L"\"" + Installed(L"ffmpeg.exe") + L"\" -version");
    const std::string encoderVersion(printed.begin(), printed.end());  // it prints ASCII
    const std::string versionLine = LineStartingWith(encoderVersion, "ffmpeg version");
    ASSERT_FALSE(versionLine.empty()) << encoderVersion;
    EXPECT_NE(save_tests::ReadAll(Installed(L"ffmpeg-SOURCE.txt")).find(versionLine), std::string::npos);

    save_tests::ScratchFolder folder(L"package");
    const std::wstring source = save_tests::Fixture(L"save-beeps.mp3");
    const std::wstring target = folder / L"cut.mp3";
    testing_support::StartedProgram program(Installed(L"snipmill.exe"), L"\"" + source + L"\"");
    ASSERT_TRUE(program);
    testing_support::DialogWatcher watcher(
        [&](HWND dialog) {
            if (testing_support::WindowText(dialog) != L"Save As") return false;
            testing_support::ChooseFile(dialog, target);
            return true;
        },
        program.Id());
    HWND window = program.MainWindow(30000);
    ASSERT_NE(window, nullptr);
    HWND slider = ::FindWindowExW(window, nullptr, TRACKBAR_CLASSW, nullptr);
    ASSERT_NE(slider, nullptr);
    auto second = [&] { return static_cast<int>(::SendMessageW(slider, TBM_GETPOS, 0, 0)); };
    auto enabled = [&](const wchar_t* caption) {
        return ::IsWindowEnabled(::FindWindowExW(window, nullptr, L"Snipmill.zembutton", caption)) != FALSE;
    };
    auto markAfter = [&](int from, const wchar_t* mark, const wchar_t* enables) {
        if (!testing_support::PumpUntil([&] { return enabled(L"Pause/Play") && second() >= from; }, 60000)) return -1;
        testing_support::ClickButton(window, L"Pause/Play");
        ::PostMessageW(window, WM_HSCROLL, MAKEWPARAM(TB_THUMBPOSITION, 0), reinterpret_cast<LPARAM>(slider));
        testing_support::ClickButton(window, mark);
        if (!testing_support::PumpUntil([&] { return enabled(enables); }, 10000)) return -1;
        return second();
    };

    const int start = markAfter(2, L"Set Start", L"Set End");
    ASSERT_GT(start, 0);
    ASSERT_TRUE(testing_support::ClickButton(window, L"Pause/Play"));  // plays on from the start
    const int end = markAfter(start + 2, L"Set End", L"Save Selection");
    ASSERT_GT(end, start);
    ASSERT_TRUE(testing_support::ClickButton(window, L"Save Selection"));
    // "Playing the file", then the save's report.
    ASSERT_TRUE(testing_support::PumpUntil([&] { return watcher.Seen().size() >= 2; }, 120000));
    EXPECT_EQ(watcher.Seen().back().text, L"MP3 has been cut!");
    ASSERT_TRUE(testing_support::ClickButton(window, L"Exit"));
    EXPECT_TRUE(program.Ended(10000));

    const save_tests::Probe sourceProbe = save_tests::ProbeFile(source);
    const save_tests::Probe cut = save_tests::ProbeFile(target);
    ASSERT_TRUE(cut.ok) << cut.raw;
    EXPECT_NEAR(cut.duration, end - start, 0.5 / 44100);  // to the sample
    EXPECT_NEAR(save_tests::MeasuredStart(sourceProbe, cut, start), start, 1152.0 / 44100) << cut.raw;
    EXPECT_EQ(cut.encoder, WriterTag(encoderVersion));  // the packaged encoder wrote it, not another
}
