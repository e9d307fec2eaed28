// The waveform window's Import Cue Sheet... and Export Cue Sheet... as a user runs
// them: from its menu, the file dialog answered with a real file, on a real 8 kHz
// MP3 (where a cue frame of 1/75 s is no whole number of samples), and the names
// a sheet gives reaching the saved pieces' tags.
#include <windows.h>

#include <gtest/gtest.h>

#include <mutex>

#include "SaveFixtures.h"
#include "app/Form1.h"
#include "app/Shortcuts.h"
#include "app/waveform/SavePieces.h"
#include "app/waveform/WaveformWindow.h"
#include "support/DialogWatcher.h"
#include "support/WindowTesting.h"

namespace {

using save_tests::ReadAll;
using save_tests::ScratchFolder;
using save_tests::WriteAll;
using Points = std::vector<std::uint64_t>;

class CueSheetCommands : public ::testing::Test {
protected:
    void SetUp() override {
        form.OpenMp3(save_tests::ExactSource(L"mpeg25-mono.mp3"));  // 2.5 s at 8,000 samples a second
        ASSERT_TRUE(
            testing_support::PumpUntil([&] { return form.player().PlayState() == app::MediaPlayer::kPlaying; }, 10000));
        form.player().Pause();
        ASSERT_EQ(form.Splits().Length(), 20000u);
        form.ShowWaveform();
        ASSERT_NE(form.Waveform(), nullptr);
    }

    // Runs a command of the waveform window's File menu; its file dialog is given `file`.
    void Run(WORD command, const std::wstring& file) {
        {
            std::lock_guard lock(mutex_);
            file_ = file;
        }
        ::SendMessageW(form.Waveform()->Handle(), WM_COMMAND, command, 0);
    }
    // The message boxes shown since `before` of them.
    std::vector<testing_support::MessageBoxSeen> Messages(std::size_t before) const {
        std::vector<testing_support::MessageBoxSeen> seen = watcher.Seen();
        seen.erase(seen.begin(), seen.begin() + static_cast<std::ptrdiff_t>(before));
        return seen;
    }
    std::vector<std::wstring> Titles() {
        std::vector<std::wstring> titles;
        for (std::size_t k = 0; k < form.Splits().Pieces(); ++k)
            titles.push_back(form.Splits().Names(k).title + L"/" + form.Splits().Names(k).performer);
        return titles;
    }

    std::mutex mutex_;
    std::wstring file_;
    testing_support::DialogWatcher watcher{[this](HWND dialog) {
        const std::wstring title = testing_support::WindowText(dialog);
        if (title != L"Import Cue Sheet" && title != L"Export Cue Sheet") return false;
        std::lock_guard lock(mutex_);
        testing_support::ChooseFile(dialog, file_);
        return true;
    }};
    app::Form1 form;
};

std::string Narrow(const std::wstring& text) { return std::string(text.begin(), text.end()); }

}  // namespace

TEST_F(CueSheetCommands, ASheetSplitsAnEightKilohertzFileAndItsNamesReachThePiecesTags) {
    ScratchFolder folder(L"cue");
    WriteAll(folder / L"album.cue",
             "PERFORMER \"The Band\"\r\nTITLE \"Album\"\r\nFILE \"album.mp3\" MP3\r\n"
             "  TRACK 01 AUDIO\r\n    TITLE \"First\"\r\n    INDEX 01 00:00:50\r\n"
             "  TRACK 02 AUDIO\r\n    TITLE \"Second\"\r\n    PERFORMER \"Guest\"\r\n    INDEX 01 00:01:37\r\n");
    Run(app::kImportCueSheet, folder / L"album.cue");
    // 50/75 s is 5,333 1/3 samples and 1 37/75 s 11,946 2/3: each to its nearest sample. The first
    // track starts after the file's start, so the piece ahead of it has no names of its own.
    EXPECT_EQ(form.Splits().Points(), (Points{5333, 11947}));
    EXPECT_EQ(Titles(), (std::vector<std::wstring>{L"/", L"First/", L"Second/Guest"}));
    EXPECT_EQ(form.Splits().Album().title, L"Album");

    // A sheet with a track past the file's end is refused, and nothing changes.
    WriteAll(folder / L"late.cue",
             "TRACK 01 AUDIO\nTITLE \"Other\"\nINDEX 01 00:01:00\n"
             "TRACK 02 AUDIO\nINDEX 01 00:02:40\n");
    std::size_t before = watcher.Seen().size();
    Run(app::kImportCueSheet, folder / L"late.cue");
    ASSERT_EQ(Messages(before).size(), 1u);
    EXPECT_EQ(Messages(before)[0].text,
              L"The cue sheet names a track at 00:02:40, past the end of the file. "
              L"Nothing was changed.\r\n\r\n" +
                  (folder / L"late.cue"));
    EXPECT_EQ(form.Splits().Points(), (Points{5333, 11947}));
    EXPECT_EQ(Titles(), (std::vector<std::wstring>{L"/", L"First/", L"Second/Guest"}));

    // Exported, a track for each piece: the first at the file's start, the others at the same 1/75 s.
    Run(app::kExportCueSheet, folder / L"out.cue");
    EXPECT_EQ(ReadAll(folder / L"out.cue"),
              "\xEF\xBB\xBFPERFORMER \"The Band\"\r\nTITLE \"Album\"\r\nFILE \"mpeg25-mono.mp3\" MP3\r\n"
              "  TRACK 01 AUDIO\r\n    INDEX 01 00:00:00\r\n"
              "  TRACK 02 AUDIO\r\n    TITLE \"First\"\r\n    INDEX 01 00:00:50\r\n"
              "  TRACK 03 AUDIO\r\n    TITLE \"Second\"\r\n    PERFORMER \"Guest\"\r\n    INDEX 01 00:01:37\r\n");

    // Saved, each piece's tag carries its number and the sheet's names (the recording's performer
    // where a track names none), and each piece holds its own samples.
    before = watcher.Seen().size();
    app::SavePiecesAs(form, form.Handle(), folder / L"Piece");
    ASSERT_EQ(Messages(before).size(), 1u);
    EXPECT_EQ(Messages(before)[0].title, L"Success!") << Narrow(Messages(before)[0].text);
    struct Saved {
        const wchar_t* name;
        const char* track;
        const char* title;
        const char* artist;
        std::uint64_t samples;
    };
    const Saved pieces[] = {{L"Piece 01.mp3", "track=1/3", nullptr, "artist=The Band", 5333},
                            {L"Piece 02 First.mp3", "track=2/3", "title=First", "artist=The Band", 11947 - 5333},
                            {L"Piece 03 Second.mp3", "track=3/3", "title=Second", "artist=Guest", 20000 - 11947}};
    for (const Saved& piece : pieces) {
        SCOPED_TRACE(Narrow(piece.name));
        const std::string tags =
            save_tests::RunOnHost("ffprobe -v error -show_entries format_tags=track,title,artist -of compact '" +
                                  save_tests::HostPath(folder / piece.name) + "'");
        EXPECT_NE(tags.find(piece.track), std::string::npos) << tags;
        if (piece.title)
            EXPECT_NE(tags.find(piece.title), std::string::npos) << tags;
        else
            EXPECT_EQ(tags.find("title="), std::string::npos) << tags;  // the source has none
        EXPECT_NE(tags.find(piece.artist), std::string::npos) << tags;
        EXPECT_EQ(save_tests::ReadIndex(folder / piece.name).PlayableSampleCount(), piece.samples);
    }
}

// A cue sheet numbers its tracks with two digits: a file of more pieces is not exported.
TEST_F(CueSheetCommands, ExportStopsAtNinetyNineTracksAndSaysSo) {
    ScratchFolder folder(L"cue99");
    struct Case {
        std::size_t pieces;
        bool written;
    };
    for (const Case& c : {Case{99, true}, Case{100, false}}) {
        SCOPED_TRACE(c.pieces);
        Points points;
        for (std::uint64_t k = 1; k < c.pieces; ++k) points.push_back(k * 200);
        form.Splits().Replace(points);
        const std::wstring sheet = folder / (std::to_wstring(c.pieces) + L".cue");
        const std::size_t before = watcher.Seen().size();
        Run(app::kExportCueSheet, sheet);
        const std::string text = ReadAll(sheet);
        if (c.written) {
            EXPECT_TRUE(Messages(before).empty());
            EXPECT_NE(text.find("  TRACK 99 AUDIO\r\n"), std::string::npos);
            EXPECT_EQ(text.find("TRACK 100"), std::string::npos);
        } else {
            EXPECT_EQ(::GetFileAttributesW(sheet.c_str()), INVALID_FILE_ATTRIBUTES);
            ASSERT_EQ(Messages(before).size(), 1u);
            EXPECT_EQ(Messages(before)[0].text,
                      L"A cue sheet holds at most 99 tracks, and the file is split into 100 "
                      L"pieces.\r\n\r\nNo cue sheet was written.");
        }
    }
}
