// Recordings taken apart with "Save Pieces": through the output window and the
// encoder, each piece made exact, from sources of every kind; the pieces' host
// decodes joined give back the source's decode, sample for sample.
#include <windows.h>

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <functional>

#include "SaveFixtures.h"
#include "app/Files.h"
#include "app/Form1.h"
#include "app/SaveSelection.h"
#include "app/Shortcuts.h"
#include "app/TimeText.h"
#include "app/waveform/SavePieces.h"
#include "media/MediaFile.h"
#include "media/Mp3Reader.h"
#include "UserActions.h"
#include "support/DialogWatcher.h"
#include "support/WindowTesting.h"

namespace {

using save_tests::ReadAll;
using save_tests::RunOnHost;
using save_tests::ScratchFolder;

using save_tests::ReadIndex;
std::wstring Source(const std::wstring& name) { return save_tests::ExactSource(name); }

std::string Narrow(const std::wstring& text) { return std::string(text.begin(), text.end()); }

class SavePieces : public ::testing::Test {
protected:
    void Load(const std::wstring& source) {
        ASSERT_TRUE(form.player().SetURL(source));
        form.Text1().SetText(source);
        form.player().Pause();
        form.Splits().Reset(form.player().Index()->PlayableSampleCount());
    }
    // The pieces' names in the folder, in order.
    static std::vector<std::wstring> Pieces(const ScratchFolder& folder) {
        std::vector<std::wstring> names;
        for (const std::wstring& name : folder.Files())
            if (name.ends_with(L".mp3")) names.push_back(name);
        std::sort(names.begin(), names.end());
        return names;
    }
    // The host decoder's samples of the files joined, as raw 16-bit bytes.
    static std::string JoinedDecode(const ScratchFolder& folder, const std::vector<std::wstring>& files,
                                    const std::string& decoder) {
        // (Single quotes only: the script reaches the host's shell inside double ones.)
        std::string script = "cd '" + save_tests::HostPath(folder.Path()) + "' && rm -f joined";
        for (const std::wstring& f : files)
            script += decoder == "ffmpeg" ? " && ffmpeg -v error -nostdin -i '" + Narrow(f) + "' -f s16le -c:a pcm_s16le - >> joined"
                                          : " && mpg123 -q -s '" + Narrow(f) + "' >> joined";
        RunOnHost(script);
        return ReadAll(folder / L"joined");
    }

    testing_support::DialogWatcher watcher;
    app::Form1 form;
};

int LargestDifference(const std::string& a, const std::string& b) {
    int largest = 0;
    for (std::size_t i = 0; i + 1 < std::min(a.size(), b.size()); i += 2) {
        std::int16_t x, y;
        std::memcpy(&x, a.data() + i, 2);
        std::memcpy(&y, b.data() + i, 2);
        largest = std::max(largest, std::abs(x - y));
    }
    return largest;
}

// Does something once, as the program takes a message from its queue, when `when` first holds.
class OnceWhen {
public:
    OnceWhen(std::function<bool()> when, std::function<void()> action)
        : when_(std::move(when)), action_(std::move(action)) {
        active_ = this;
        hook_ = ::SetWindowsHookExW(WH_GETMESSAGE, Look, nullptr, ::GetCurrentThreadId());
    }
    OnceWhen(const OnceWhen&) = delete;
    OnceWhen& operator=(const OnceWhen&) = delete;
    ~OnceWhen() {
        ::UnhookWindowsHookEx(hook_);
        active_ = nullptr;
    }
    bool Done() const { return done_; }

private:
    static LRESULT CALLBACK Look(int code, WPARAM wParam, LPARAM lParam) {
        if (OnceWhen* self = active_; self && !self->done_ && self->when_()) {
            self->done_ = true;
            self->action_();
        }
        return ::CallNextHookEx(nullptr, code, wParam, lParam);
    }

    static inline OnceWhen* active_ = nullptr;
    std::function<bool()> when_;
    std::function<void()> action_;
    HHOOK hook_ = nullptr;
    bool done_ = false;
};

// Whether the encoder still writes the run whose output window says `label`.
bool EncoderWrites(app::frmDOSOutput& window, const std::wstring& label) {
    return window.ReadOutput1().Processing() && !window.ReadOutput1().ExitCode() && window.Label1().Caption() == label;
}

}  // namespace

TEST_F(SavePieces, JoinedTheyGiveBackTheSourceSampleForSampleFromEveryKindOfSource) {
    const wchar_t* const sources[] = {L"cbr-cover.mp3",    L"vbr-stereo.mp3", L"vbr-mono.mp3",
                                      L"mpeg2-stereo.mp3", L"mpeg2-mono.mp3", L"mpeg25-mono.mp3",
                                      L"mpeg25-stereo.mp3"};
    for (const wchar_t* name : sources) {
        SCOPED_TRACE(Narrow(name));
        ScratchFolder folder(L"pieces");
        Load(Source(name));
        const std::uint64_t length = form.Splits().Length();
        // Three split points, none on a frame's edge.
        for (std::uint64_t point : {length / 5 + 17, length / 2 + 311, length * 4 / 5 + 1000}) form.Splits().Add(point);
        const std::size_t before = watcher.Seen().size();
        app::SavePiecesAs(form, form.Handle(), folder / L"Part");
        ASSERT_EQ(watcher.Seen().size(), before + 1);
        EXPECT_EQ(watcher.Seen().back().title, L"Success!");
        EXPECT_EQ(watcher.Seen().back().text, L"4 pieces were saved in\r\n" + folder.Path());
        const std::vector<std::wstring> files = Pieces(folder);
        ASSERT_EQ(files, (std::vector<std::wstring>{L"Part 01.mp3", L"Part 02.mp3", L"Part 03.mp3", L"Part 04.mp3"}));
        for (std::size_t k = 0; k < files.size(); ++k)
            EXPECT_EQ(ReadIndex(folder / files[k]).PlayableSampleCount(),
                      form.Splits().PieceEnd(k) - form.Splits().PieceFirst(k));
        const std::string ffmpeg = JoinedDecode(folder, files, "ffmpeg");
        EXPECT_EQ(ffmpeg.size(), ReadAll(Source(name) + L".ffmpeg.s16").size());
        EXPECT_TRUE(ffmpeg == ReadAll(Source(name) + L".ffmpeg.s16"));  // (equal sample for sample)
        const std::string mpg123 = JoinedDecode(folder, files, "mpg123");
        EXPECT_EQ(mpg123.size(), ReadAll(Source(name) + L".mpg123.s16").size());
        // Its sums round by where a frame stands in a cycle of the decoder's own, so one step may differ.
        EXPECT_LE(LargestDifference(mpg123, ReadAll(Source(name) + L".mpg123.s16")), 1);
    }
}

TEST_F(SavePieces, APieceIsByteForByteTheSavedSelectionAndCarriesItsNumberAndNames) {
    ScratchFolder folder(L"pieces2");
    Load(Source(L"cbr-cover.mp3"));
    const std::uint64_t length = form.Splits().Length();
    form.Splits().Replace({length / 3, length * 2 / 3}, {{}, {L"Middle: \"one\"", L"Someone"}, {}});
    app::SavePiecesAs(form, form.Handle(), folder / L"Song");
    const std::wstring middle = L"Song 02 Middle_ _one_.mp3";
    ASSERT_TRUE(app::FileExists(folder / middle)) << Narrow(watcher.Seen().back().text);

    // The same bounds saved as a selection hold the same audio: only the tags differ.
    form.Label(5).SetCaption(app::FormatSeconds(static_cast<double>(length / 3) / 44100));
    form.Label(9).SetCaption(app::FormatSeconds(static_cast<double>(length * 2 / 3 - length / 3) / 44100));
    app::SaveSelectionAs(form, folder / L"selection.mp3");
    const std::string piece = ReadAll(folder / middle);
    const std::string selection = ReadAll(folder / L"selection.mp3");
    const media::Mp3Index pieceIndex = ReadIndex(folder / middle);
    const media::Mp3Index selectionIndex = ReadIndex(folder / L"selection.mp3");
    ASSERT_TRUE(pieceIndex.infoFrame && selectionIndex.infoFrame);
    EXPECT_EQ(piece.substr(static_cast<std::size_t>(*pieceIndex.infoFrame)),
              selection.substr(static_cast<std::size_t>(*selectionIndex.infoFrame)));

    // With fades and a level set, each piece takes the level and no fade: the selection saved with the level alone.
    form.Levels().SetFadeIn(0.2);
    form.Levels().SetLevelDb(-6);
    app::SavePiecesAs(form, form.Handle(), folder / L"Quieter");
    form.Levels().SetFadeIn(0);
    app::SaveSelectionAs(form, folder / L"quieter.mp3");
    const std::string quieter = ReadAll(folder / L"Quieter 02 Middle_ _one_.mp3").substr(*pieceIndex.infoFrame);
    EXPECT_EQ(quieter, ReadAll(folder / L"quieter.mp3").substr(*selectionIndex.infoFrame));  // tags alike: same place
    EXPECT_NE(quieter, piece.substr(*pieceIndex.infoFrame));
    form.Levels().Clear();

    const std::string tags = RunOnHost("ffprobe -v error -show_entries format_tags=track,title,artist -of compact '" +
                                       save_tests::HostPath(folder / middle) + "'");
    EXPECT_NE(tags.find("track=2/3"), std::string::npos) << tags;
    EXPECT_NE(tags.find("title=Middle: \"one\""), std::string::npos) << tags;
    EXPECT_NE(tags.find("artist=Someone"), std::string::npos) << tags;
    // The first piece has no title of its own: the source's stays, and so does the cover.
    const save_tests::Probe first = save_tests::ProbeFile(folder / L"Song 01.mp3");
    EXPECT_EQ(first.title, L"Exact cut");
    EXPECT_TRUE(first.hasCover);
}

TEST_F(SavePieces, ThreeHundredPiecesSaveThroughTheEncodersCommandLineLimit) {
    ScratchFolder folder(L"pieces3");
    Load(save_tests::Fixture(L"save-3min.mp3"));
    const std::uint64_t length = form.Splits().Length();
    // Pieces of one to seven shares of the recording, in turn: no two neighbours alike.
    std::vector<std::uint64_t> ends;
    for (std::uint64_t k = 0, shares = 0; k < 300; ++k) ends.push_back(shares += k % 7 + 1);
    for (std::size_t k = 0; k + 1 < ends.size(); ++k) form.Splits().Add(length * ends[k] / ends.back());
    app::SavePiecesAs(form, form.Handle(), folder / L"Many");
    ASSERT_FALSE(watcher.Seen().empty());
    EXPECT_EQ(watcher.Seen().back().title, L"Success!") << Narrow(watcher.Seen().back().text);
    const std::vector<std::wstring> files = Pieces(folder);
    ASSERT_EQ(files.size(), 300u);
    EXPECT_EQ(files.front(), L"Many 001.mp3");
    EXPECT_EQ(files.back(), L"Many 300.mp3");
    std::uint64_t total = 0;
    for (std::size_t k = 0; k < files.size(); ++k) {
        const std::uint64_t samples = ReadIndex(folder / files[k]).PlayableSampleCount();
        EXPECT_EQ(samples, form.Splits().PieceEnd(k) - form.Splits().PieceFirst(k)) << k;
        total += samples;
    }
    EXPECT_EQ(total, length);
    // A sample of them, first and last among them, decoded by the host: each its own range of the source.
    RunOnHost("ffmpeg -v error -nostdin -i '" + save_tests::HostPath(save_tests::Fixture(L"save-3min.mp3")) +
              "' -f s16le -c:a pcm_s16le '" + save_tests::HostPath(folder / L"source.s16") + "'");
    const std::string source = ReadAll(folder / L"source.s16");
    ASSERT_EQ(source.size(), length * 4);
    for (std::size_t k : {0, 1, 2, 3, 97, 148, 149, 150, 222, 298, 299}) {
        SCOPED_TRACE(k);
        const std::string decoded = JoinedDecode(folder, {files[k]}, "ffmpeg");
        const std::size_t first = static_cast<std::size_t>(form.Splits().PieceFirst(k)) * 4;
        const std::size_t end = static_cast<std::size_t>(form.Splits().PieceEnd(k)) * 4;
        ASSERT_EQ(decoded.size(), end - first);
        EXPECT_TRUE(decoded == source.substr(first, end - first));  // (equal sample for sample)
    }
}

TEST_F(SavePieces, CancelledDuringTheThirdOfFiveTheFinishedOnesStayAndNothingElse) {
    ScratchFolder folder(L"pieces4");
    Load(Source(L"cbr-cover.mp3"));
    const std::uint64_t length = form.Splits().Length();
    for (std::uint64_t k = 1; k < 5; ++k) form.Splits().Add(length * k / 5);
    // Clicked as soon as the window says it is saving the third piece, once the encoder is done.
    app::frmDOSOutput& window = form.DOSOutput();
    OnceWhen cancel([&] { return window.Label1().Caption() == L"Piece 3 of 5"; },
                    [&] { save_tests::PostClick(window.zembutton1().hWnd()); });
    app::SavePiecesAs(form, form.Handle(), folder / L"Part");
    EXPECT_TRUE(cancel.Done());
    EXPECT_EQ(watcher.Seen().back().text, L"Saving the pieces was cancelled. 2 pieces were saved in\r\n" + folder.Path());
    // Each finished piece complete and exact; no other file, temporary or not.
    EXPECT_EQ(folder.Files(), (std::vector<std::wstring>{L"Part 01.mp3", L"Part 02.mp3"}));
    for (std::size_t k = 0; k < 2; ++k)
        EXPECT_EQ(ReadIndex(folder / (L"Part 0" + std::to_wstring(k + 1) + L".mp3")).PlayableSampleCount(),
                  form.Splits().PieceEnd(k) - form.Splits().PieceFirst(k));
}

TEST_F(SavePieces, FilesThatExistAreListedAndNoKeepsThemAndSavesNothing) {
    ScratchFolder folder(L"pieces5");
    Load(Source(L"cbr-cover.mp3"));
    form.Splits().Add(form.Splits().Length() / 2);
    save_tests::WriteAll(folder / L"Part 02.mp3", "older");
    app::SavePiecesAs(form, form.Handle(), folder / L"Part");
    EXPECT_EQ(watcher.Seen().back().text, L"This file exists already:\r\n\r\n" + (folder / L"Part 02.mp3") +
                                              L"\r\n\r\nDo you want to replace it?");
    EXPECT_EQ(watcher.Seen().back().defaultButton, IDNO) << "Enter keeps the files";
    EXPECT_EQ(folder.Files(), std::vector<std::wstring>{L"Part 02.mp3"});
    EXPECT_EQ(ReadAll(folder / L"Part 02.mp3"), "older");
    // The loaded file itself is never a piece.
    save_tests::WriteAll(folder / L"Part 01.mp3", ReadAll(Source(L"cbr-cover.mp3")));
    Load(folder / L"Part 01.mp3");
    const std::size_t before = watcher.Seen().size();
    app::SavePiecesAs(form, form.Handle(), folder / L"Part");
    ASSERT_EQ(watcher.Seen().size(), before + 1);
    EXPECT_NE(watcher.Seen().back().text.find(L"cannot be saved over the file it comes from"), std::wstring::npos);
}

// Cancel while the encoder still writes the first run: it is stopped there, and no
// piece, whole or part, and no temporary file is left.
TEST_F(SavePieces, CancelledWhileTheEncoderRunsLeavesNothing) {
    ScratchFolder folder(L"pieces6");
    Load(save_tests::Fixture(L"save-60min.mp3"));
    const std::uint64_t length = form.Splits().Length();
    for (std::uint64_t k = 1; k < 3; ++k) form.Splits().Add(length * k / 3);
    app::frmDOSOutput& window = form.DOSOutput();
    OnceWhen cancel([&] { return EncoderWrites(window, L"Piece 1 of 3"); },
                    [&] { save_tests::PostClick(window.zembutton1().hWnd()); });
    app::SavePiecesAs(form, form.Handle(), folder / L"Hour");
    EXPECT_TRUE(cancel.Done());
    // The run ended by the cancellation, not by the encoder's own end.
    EXPECT_FALSE(window.ReadOutput1().ExitCode());
    EXPECT_EQ(watcher.Seen().back().text, L"Saving the pieces was cancelled. 0 pieces were saved in\r\n" + folder.Path());
    EXPECT_TRUE(folder.Files().empty());
}

// A piece that cannot be exact (here it crosses the seam where a joined file turns
// from stereo to mono) stops the save there, saying which piece; the pieces before it
// stay, and no frame-snapped copy of it is left.
TEST_F(SavePieces, APieceThatCannotBeExactStopsTheSaveNamingIt) {
    ScratchFolder folder(L"pieces7");
    Load(testing_support::FixturePath(L"media\\joined_channels.mp3"));
    form.Splits().Add(22050);   // 0.5 s
    form.Splits().Add(88200);   // 2 s: the second piece holds the seam at 1.05 s
    app::SavePiecesAs(form, form.Handle(), folder / L"Part");
    EXPECT_EQ(watcher.Seen().back().text,
              L"Saving the pieces stopped: piece 2 could not be saved: it cannot be cut exactly from the source's own "
              L"frames (they are damaged or missing there, or the file's format changes within it).\r\n\r\n"
              L"1 piece was saved in\r\n" + folder.Path());
    EXPECT_EQ(folder.Files(), std::vector<std::wstring>{L"Part 01.mp3"});
}

// Save Selection or Save Pieces asked for while Save Pieces runs is refused with a
// message, and the running save goes on to its end as if nothing had been asked.
TEST_F(SavePieces, ASecondSaveWhileOneRunsIsRefusedAndTheFirstGoesOn) {
    struct Case {
        const char* what;
        bool mainWindow;  // Ctrl+S there, or Ctrl+Shift+S in the waveform window
        WORD command;
    } const kCases[] = {{"Save Selection", true, 5}, {"Save Pieces", false, app::kSavePieces}};
    for (const Case& c : kCases) {
        SCOPED_TRACE(c.what);
        ScratchFolder folder(L"pieces8");
        Load(Source(L"cbr-cover.mp3"));
        form.zembutton(5).SetEnabled(true);
        form.ShowWaveform();
        const std::uint64_t length = form.Splits().Length();
        for (std::uint64_t k = 1; k < 3; ++k) form.Splits().Add(length * k / 3);
        const HWND asked = c.mainWindow ? form.Handle() : form.Waveform()->Handle();
        const std::size_t before = watcher.Seen().size();
        {
            OnceWhen second([&] { return EncoderWrites(form.DOSOutput(), L"Piece 1 of 3"); },
                            [&] { ::PostMessageW(asked, WM_COMMAND, MAKEWPARAM(c.command, 1), 0); });
            app::SavePiecesAs(form, form.Handle(), folder / L"Part");
            EXPECT_TRUE(second.Done());
        }
        const auto boxes = watcher.Seen();
        ASSERT_EQ(boxes.size(), before + 2);
        EXPECT_EQ(boxes[before].text, L"A save is running. Please wait until it has finished, or cancel it.");
        EXPECT_EQ(boxes.back().title, L"Success!");
        EXPECT_EQ(boxes.back().text, L"3 pieces were saved in\r\n" + folder.Path());
        EXPECT_EQ(Pieces(folder), (std::vector<std::wstring>{L"Part 01.mp3", L"Part 02.mp3", L"Part 03.mp3"}));
        form.Waveform()->Hide();
    }
}

// The level is taken once, as the save starts: New Selection while the first run's
// encoder writes changes no piece, those of the second run neither.
TEST_F(SavePieces, EveryPieceHasTheLevelTheSaveStartedWith) {
    ScratchFolder folder(L"pieces9");
    Load(Source(L"cbr-cover.mp3"));
    form.zembutton(6).SetEnabled(true);
    const std::uint64_t length = form.Splits().Length();
    for (std::uint64_t k = 1; k < 20; ++k) form.Splits().Add(length * k / 20);  // two runs of the encoder
    form.Levels().SetLevelDb(-6);
    {
        OnceWhen newSelection([&] { return EncoderWrites(form.DOSOutput(), L"Piece 1 of 20"); },
                              [&] { ::PostMessageW(form.Handle(), WM_COMMAND, MAKEWPARAM(6, 1), 0); });
        app::SavePiecesAs(form, form.Handle(), folder / L"Part");
        EXPECT_TRUE(newSelection.Done());
    }
    EXPECT_TRUE(form.Levels().None());
    EXPECT_EQ(watcher.Seen().back().text, L"20 pieces were saved in\r\n" + folder.Path());
    // Joined, half the source's samples throughout.
    const std::string joined = JoinedDecode(folder, Pieces(folder), "ffmpeg");
    const std::string source = ReadAll(Source(L"cbr-cover.mp3") + L".ffmpeg.s16");
    ASSERT_EQ(joined.size(), source.size());
    int largest = 0;
    for (std::size_t i = 0; i + 1 < source.size(); i += 2) {
        std::int16_t piece, whole;
        std::memcpy(&piece, joined.data() + i, 2);
        std::memcpy(&whole, source.data() + i, 2);
        largest = std::max(largest, static_cast<int>(std::lround(std::abs(piece - whole / 2.0))));
    }
    EXPECT_LE(largest, 1);
}

// What the level could not change is told in the final message, piece by piece, as
// Save Selection tells it.
TEST_F(SavePieces, TheFinalMessageTellsOfFramesTheLevelDidNotReach) {
    ScratchFolder folder(L"pieces10"), sources(L"damaged");
    // Three frames of the first piece whose checksums no longer hold.
    std::string bytes = ReadAll(Source(L"crc-stereo.mp3"));
    const media::Mp3Index index = ReadIndex(Source(L"crc-stereo.mp3"));
    for (std::size_t k = 20; k < 23; ++k) bytes[static_cast<std::size_t>(index.frameOffsets[k]) + 5] ^= 0x5A;
    save_tests::WriteAll(sources / L"damaged.mp3", bytes);
    Load(sources / L"damaged.mp3");
    form.Splits().Add(form.Splits().Length() / 2);
    form.Levels().SetLevelDb(-6);
    app::SavePiecesAs(form, form.Handle(), folder / L"Part");
    form.Levels().Clear();
    EXPECT_EQ(watcher.Seen().back().title, L"Success!");
    EXPECT_EQ(watcher.Seen().back().icon, static_cast<UINT>(MB_ICONWARNING));
    EXPECT_EQ(watcher.Seen().back().text, L"2 pieces were saved in\r\n" + folder.Path() +
                                              L"\r\n\r\nPiece 1: 3 frames were damaged and kept the level they had: "
                                              L"the fades and the change of level do not reach them.");
}
