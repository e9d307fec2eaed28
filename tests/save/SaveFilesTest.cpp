#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <sstream>

#include "SaveFixtures.h"
#include "app/AudioCheck.h"
#include "app/Files.h"
#include "app/TemporaryOutput.h"
#include "base/Handles.h"
#include "base/SystemErrorText.h"
#include "support/BadMp3.h"
#include "support/WindowTesting.h"

namespace {

using save_tests::Fixture;
using save_tests::ReadAll;
using save_tests::ScratchFolder;
using save_tests::WriteAll;
using testing_support::FrameStarts;
using testing_support::ReadFileBytes;

std::wstring ShortName(const std::wstring& path) {
    wchar_t name[MAX_PATH] = {};
    ::GetShortPathNameW(path.c_str(), name, MAX_PATH);
    return name;
}

std::wstring Upper(std::wstring text) {
    for (wchar_t& c : text) c = static_cast<wchar_t>(::towupper(c));
    return text;
}

TEST(IsSameFile, SeesThroughOtherSpellingsOfTheSameFile) {
    ScratchFolder folder(L"identity");
    const std::wstring file = folder / L"Some Long Song Name.mp3";
    WriteAll(file, "not really audio");
    ::CreateDirectoryW((folder / L"sub").c_str(), nullptr);
    std::wstring slashes = file;
    for (wchar_t& c : slashes)
        if (c == L'\\') c = L'/';
    EXPECT_TRUE(app::IsSameFile(file, file));
    EXPECT_TRUE(app::IsSameFile(file, Upper(file)));
    EXPECT_TRUE(app::IsSameFile(file, slashes));
    EXPECT_TRUE(app::IsSameFile(file, folder / L"sub\\..\\Some Long Song Name.mp3"));
    const std::wstring shortName = ShortName(file);
    ASSERT_FALSE(shortName.empty());
    EXPECT_NE(shortName, file);
    EXPECT_TRUE(app::IsSameFile(file, shortName));
}

TEST(IsSameFile, TellsOtherFilesAndMissingOnesApart) {
    ScratchFolder folder(L"identity2");
    WriteAll(folder / L"a.mp3", "same bytes");
    WriteAll(folder / L"b.mp3", "same bytes");
    EXPECT_FALSE(app::IsSameFile(folder / L"a.mp3", folder / L"b.mp3"));
    EXPECT_FALSE(app::IsSameFile(folder / L"a.mp3", folder / L"missing.mp3"));
}

TEST(ExtendedLengthPath, LeavesShortPathsAndLengthensLongOnes) {
    EXPECT_EQ(app::ExtendedLengthPath(L"C:\\music\\a.mp3"), L"C:\\music\\a.mp3");
    std::wstring deep = L"C:\\" + std::wstring(300, L'x') + L"\\a.mp3";
    EXPECT_EQ(app::ExtendedLengthPath(deep), L"\\\\?\\" + deep);
    std::wstring share = L"\\\\server\\share\\" + std::wstring(300, L'y') + L".mp3";
    EXPECT_EQ(app::ExtendedLengthPath(share), L"\\\\?\\UNC\\server\\share\\" + std::wstring(300, L'y') + L".mp3");
}

TEST(ProgramFolder, IsTheFolderOfTheRunningProgram) {
    wchar_t path[MAX_PATH] = {};
    ::GetModuleFileNameW(nullptr, path, MAX_PATH);
    EXPECT_EQ(app::ProgramFolder() + L"\\tests_save.exe", std::wstring(path));
}

TEST(AudioSeconds, CountsWhatPlaysOfAnMp3WithTagsAndCover) {
    // Whole frames of 1152 samples, less the encoder's delay and padding the LAME tag gives: the 20 s encoded.
    EXPECT_NEAR(app::AudioSeconds(Fixture(L"save-beeps.mp3")), 20.0, 1e-9);
}

TEST(AudioSeconds, WalksTheFramesWhereNoCountIsGiven) {
    ScratchFolder folder(L"walk");
    std::string beeps = ReadAll(Fixture(L"save-beeps.mp3"));
    // Blank out the information frame's tag: its count is then unknown, and it counts
    // as one more frame; without a LAME tag only the decoder's delay is left out.
    std::size_t info = beeps.find("Info");
    ASSERT_NE(info, std::string::npos);
    beeps.replace(info, 4, "None");
    WriteAll(folder / L"uncounted.mp3", beeps);
    // As many frames as the host's encoder wrote, the information frame included.
    const std::size_t frames = FrameStarts(ReadFileBytes(Fixture(L"save-beeps.mp3"))).size();
    EXPECT_NEAR(app::AudioSeconds(folder / L"uncounted.mp3"), (frames * 1152.0 - 529) / 44100.0, 1e-9);
}

TEST(AudioSeconds, IsZeroForTagsWithoutAudioAndOtherFiles) {
    ScratchFolder folder(L"audio");
    // A tag and the encoder's information frame, as an encoder writes when there was nothing to copy.
    std::string beeps = ReadAll(Fixture(L"save-beeps.mp3"));
    WriteAll(folder / L"tag.mp3", beeps.substr(0, FrameStarts(ReadFileBytes(Fixture(L"save-beeps.mp3"))).at(1)));
    WriteAll(folder / L"text.mp3", std::string(5000, 'x'));
    WriteAll(folder / L"empty.mp3", "");
    EXPECT_EQ(app::AudioSeconds(folder / L"tag.mp3"), 0);
    EXPECT_EQ(app::AudioSeconds(folder / L"text.mp3"), 0);
    EXPECT_EQ(app::AudioSeconds(folder / L"empty.mp3"), 0);
    EXPECT_EQ(app::AudioSeconds(folder / L"missing.mp3"), 0);
}

TEST(TemporaryOutput, LiesBesideTheTargetWithTheMp3EndingAndGoesAwayUnlessPutInPlace) {
    ScratchFolder folder(L"temporary");
    std::wstring path;
    {
        app::TemporaryOutput output(folder / L"cut.mp3", Fixture(L"save-beeps.mp3"), 0, 20);
        path = output.Path();
        EXPECT_EQ(app::FolderOf(path), folder.Path());
        EXPECT_EQ(path.substr(path.size() - 4), L".mp3");
        WriteAll(path, "half written");
    }
    EXPECT_FALSE(app::FileExists(path));
    EXPECT_TRUE(folder.Files().empty());
}

TEST(TemporaryOutput, ReplacesTheTargetOnlyWithAFileHoldingTheSelection) {
    const std::string beeps = ReadAll(Fixture(L"save-beeps.mp3"));
    // What the encoder wrote for a cut of the first `seconds` of the beeps, and why it cannot replace the target.
    const struct {
        std::string written;
        double seconds;
        const wchar_t* refusal;
    } cuts[] = {
        {std::string(227, '\0'), 20,
         L"the encoder wrote no audio. The start point may lie beyond the end of the file."},
        {beeps, 25,
         L"the new file would hold only 20.00 seconds of the 25.00 seconds selected. The selection may reach beyond "
         L"the end of the file."},
        {beeps, 19.5, L""},
    };
    for (const auto& cut : cuts) {
        SCOPED_TRACE(cut.seconds);
        ScratchFolder folder(L"placed");
        WriteAll(folder / L"cut.mp3", "the user's older file");
        {
            app::TemporaryOutput output(folder / L"cut.mp3", Fixture(L"save-beeps.mp3"), 0, cut.seconds);
            WriteAll(output.Path(), cut.written);
            EXPECT_EQ(output.PutInPlace(), cut.refusal);
        }
        if (*cut.refusal) {
            EXPECT_EQ(ReadAll(folder / L"cut.mp3"), "the user's older file");
        } else {  // made exact to the sample from the encoder's whole frames, its tags kept
            EXPECT_EQ(app::AudioSeconds(folder / L"cut.mp3"), cut.seconds);
            EXPECT_EQ(ReadAll(folder / L"cut.mp3").substr(0, 200), beeps.substr(0, 200));
        }
        EXPECT_EQ(folder.Files(), std::vector<std::wstring>{L"cut.mp3"});
    }
}

// A power cut after the rename must not leave the target's name on an empty file:
// the copy is flushed to the disk under its own name, before it takes the target's.
TEST(TemporaryOutput, FlushesTheCopyToTheDiskBeforeItTakesTheTargetsName) {
    ScratchFolder folder(L"flushed");
    WriteAll(folder / L"cut.mp3", "the user's older file");
    app::TemporaryOutput output(folder / L"cut.mp3", Fixture(L"save-beeps.mp3"), 0, 19.5);
    WriteAll(output.Path(), ReadAll(Fixture(L"save-beeps.mp3")));
    // The host names the file by its real folder; its own name is unique enough.
    const std::string copy = save_tests::HostPath(output.Path());
    const std::string name = copy.substr(copy.rfind('/'));
    save_tests::HostSystemCallTrace trace("fsync,fdatasync,rename,renameat,renameat2");
    // The set-up installs strace: a host that refuses it fails the test, for a skip would pass unseen.
    ASSERT_TRUE(trace.Tracing()) << "the process's system calls cannot be traced: " << trace.Refusal();
    ASSERT_EQ(output.PutInPlace(), L"");
    const std::string seen = trace.Stop();
    // Line by line: a flush of the file under its own name, then its rename.
    std::istringstream lines(seen);
    int line = 0, flushed = -1, renamed = -1;
    for (std::string text; std::getline(lines, text); ++line) {
        if (text.find(name) == std::string::npos) continue;
        if (flushed < 0 && text.find("sync(") != std::string::npos && text.find(name + ">") != std::string::npos)
            flushed = line;
        if (renamed < 0 && text.find("rename") != std::string::npos) renamed = line;
    }
    EXPECT_GE(flushed, 0) << seen;
    EXPECT_GT(renamed, flushed) << seen;
}

// Saves 6.5 s of the beeps over an older file in `folder` from an encoder's copy of a
// few frames, shorter than the exact one; once the copy is written, `fail` makes the
// save fail while what it returns lives. The save must fail with `failure` and leave
// the older file and nothing else.
void ExpectFailedSave(const std::wstring& folder,
                      const std::function<std::shared_ptr<void>(const std::wstring& copy)>& fail,
                      const std::wstring& failure) {
    const std::wstring target = folder + L"\\cut.mp3";
    WriteAll(target, "the user's older file");
    const std::string beeps = ReadAll(Fixture(L"save-beeps.mp3"));
    {
        app::TemporaryOutput output(target, Fixture(L"save-beeps.mp3"), 3.25, 6.5);
        WriteAll(output.Path(), beeps.substr(0, FrameStarts(ReadFileBytes(Fixture(L"save-beeps.mp3"))).at(11)));
        const std::shared_ptr<void> failing = fail(output.Path());
        EXPECT_EQ(output.PutInPlace(), failure);
    }
    EXPECT_TRUE(ReadAll(target) == "the user's older file");
    EXPECT_EQ(save_tests::ScratchFolder::FilesIn(folder), std::vector<std::wstring>{L"cut.mp3"});
}

std::shared_ptr<void> Held(const std::wstring& path) {
    // Others may read it, no one may write it or take its place.
    HANDLE held = ::CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    EXPECT_NE(held, INVALID_HANDLE_VALUE);
    return std::shared_ptr<void>(held, ::CloseHandle);
}

TEST(TemporaryOutput, AFullDiskFailsTheSaveWithTheSystemsReason) {
    ScratchFolder folder(L"full");
    const std::wstring volume = folder / L"volume";
    ::CreateDirectoryW(volume.c_str(), nullptr);
    std::string host = "'";
    host += save_tests::HostPath(volume);
    host += "'";
    if (save_tests::RunOnHost("mount -t tmpfs -o size=1m snipmill-full " + host + " && echo mounted") != "mounted\n")
        GTEST_SKIP() << "this host cannot mount a small volume";
    const std::shared_ptr<void> mounted(nullptr, [&](void*) { save_tests::RunOnHost("umount " + host); });
    ExpectFailedSave(
        volume,
        [&](const std::wstring&) {
            const std::wstring filler = volume + L"\\filler";
            base::KernelHandle file(::CreateFileW(filler.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                                  FILE_FLAG_DELETE_ON_CLOSE, nullptr));
            const std::vector<char> block(4096);
            DWORD written = 0;
            while (::WriteFile(file.Get(), block.data(), 4096, &written, nullptr) && written == 4096) {
            }
            return std::shared_ptr<void>(file.Release(), ::CloseHandle);
        },
        L"the new file could not be made exact (" + base::SystemErrorText(ERROR_DISK_FULL) + L").");
}

TEST(TemporaryOutput, ACopyOrTargetHeldByAnotherProgramFailsTheSaveWithTheSystemsReason) {
    ScratchFolder folder(L"held");
    ExpectFailedSave(
        folder.Path(), Held,
        L"the new file could not be made exact (" + base::SystemErrorText(ERROR_SHARING_VIOLATION) + L").");
    ExpectFailedSave(
        folder.Path(), [&](const std::wstring&) { return Held(folder / L"cut.mp3"); },
        L"the new file could not replace " + (folder / L"cut.mp3") + L" (" +
            base::SystemErrorText(ERROR_ACCESS_DENIED) + L").");
}

}  // namespace

namespace {

constexpr wchar_t kSessionManager[] = L"System\\CurrentControlSet\\Control\\Session Manager";

// The files the system is to remove when it next starts, as one text.
std::wstring PendingRemovals() {
    DWORD size = 0;
    if (::RegGetValueW(HKEY_LOCAL_MACHINE, kSessionManager, L"PendingFileRenameOperations", RRF_RT_REG_MULTI_SZ,
                       nullptr, nullptr, &size) != ERROR_SUCCESS)
        return {};
    std::wstring text(size / sizeof(wchar_t), L'\0');
    ::RegGetValueW(HKEY_LOCAL_MACHINE, kSessionManager, L"PendingFileRenameOperations", RRF_RT_REG_MULTI_SZ, nullptr,
                   text.data(), &size);
    return text;
}

TEST(TemporaryOutput, ACopyHeldOpenElsewhereGoesAtTheNextSaveOrWhenTheSystemNextStarts) {
    ScratchFolder folder(L"leftover");
    std::wstring path;
    std::shared_ptr<void> held;
    auto abandonHeld = [&] {
        app::TemporaryOutput output(folder / L"cut.mp3", Fixture(L"save-beeps.mp3"), 0, 20);
        path = output.Path();
        held = Held(path);
    };
    abandonHeld();
    EXPECT_TRUE(app::FileExists(path));
    held.reset();
    {
        app::TemporaryOutput next(folder / L"next.mp3", Fixture(L"save-beeps.mp3"), 0, 20);
        EXPECT_FALSE(app::FileExists(path));
    }

    // Held as the program exits: the system is asked to remove it.
    const std::wstring before = PendingRemovals();
    abandonHeld();
    app::TemporaryOutput::RemoveLeftovers();
    EXPECT_TRUE(app::FileExists(path));
    const std::wstring pending = PendingRemovals();
    EXPECT_NE(pending.find(path.substr(path.rfind(L'\\'))), std::wstring::npos);
    held.reset();
    HKEY key = nullptr;
    ASSERT_EQ(::RegOpenKeyExW(HKEY_LOCAL_MACHINE, kSessionManager, 0, KEY_SET_VALUE, &key), ERROR_SUCCESS);
    if (before.empty())
        ::RegDeleteValueW(key, L"PendingFileRenameOperations");
    else
        ::RegSetValueExW(key, L"PendingFileRenameOperations", 0, REG_MULTI_SZ,
                         reinterpret_cast<const BYTE*>(before.data()), static_cast<DWORD>(before.size() * 2));
    ::RegCloseKey(key);
}

}  // namespace

// A selection across the join of a stereo and a mono part cannot be cut exactly: the
// encoder's frame-snapped copy is kept only where the caller does not need exactness,
// and otherwise refused, saying why, with nothing left behind.
TEST(TemporaryOutput, ACutThatMustBeExactIsRefusedWhereItCannotBe) {
    const std::wstring source = testing_support::FixturePath(L"media\\joined_channels.mp3");
    struct Case {
        const char* what;
        media::LevelChange levels;
        bool mustBeExact;
        std::wstring failure;
    } const kCases[] = {
        {"frame-exact will do", {}, false, L""},
        {"a piece", {}, true,
         L"it cannot be cut exactly from the source's own frames (they are damaged or missing there, or the file's "
         L"format changes within it)."},
        {"fades", {0.5, 0, 0}, true,
         L"the fades and the change of level could not be made: the selection cannot be cut from the source's own "
         L"frames (they are damaged or missing there)."},
    };
    for (const Case& c : kCases) {
        SCOPED_TRACE(c.what);
        ScratchFolder folder(L"must-be-exact");
        {
            app::TemporaryOutput output(folder / L"cut.mp3", source, 0.5, 1.5, nullptr, c.levels, c.mustBeExact);
            WriteAll(output.Path(), ReadAll(source));  // the encoder's copy, as frame-snapped as can be
            EXPECT_EQ(output.PutInPlace(), c.failure);
        }
        EXPECT_EQ(folder.Files(), c.failure.empty() ? std::vector<std::wstring>{L"cut.mp3"} : std::vector<std::wstring>{});
    }
}
