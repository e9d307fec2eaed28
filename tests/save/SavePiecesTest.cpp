// Recordings taken apart with "Save Pieces": through the output window and the
// encoder, each piece made exact, from sources of every kind; the pieces' host
// decodes joined give back the source's decode, sample for sample.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstring>

#include "SaveFixtures.h"
#include "app/Files.h"
#include "app/Form1.h"
#include "app/SaveSelection.h"
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
    Load(Source(L"vbr-stereo.mp3"));
    const std::uint64_t length = form.Splits().Length();
    for (std::uint64_t k = 1; k < 300; ++k) form.Splits().Add(length * k / 300);
    app::SavePiecesAs(form, form.Handle(), folder / L"Many");
    ASSERT_FALSE(watcher.Seen().empty());
    EXPECT_EQ(watcher.Seen().back().title, L"Success!") << Narrow(watcher.Seen().back().text);
    const std::vector<std::wstring> files = Pieces(folder);
    ASSERT_EQ(files.size(), 300u);
    EXPECT_EQ(files.front(), L"Many 001.mp3");
    EXPECT_EQ(files.back(), L"Many 300.mp3");
    std::uint64_t total = 0;
    for (const std::wstring& file : files) total += ReadIndex(folder / file).PlayableSampleCount();
    EXPECT_EQ(total, length);
}

namespace {
// Clicks the output window's Cancel as soon as it says it is saving the third
// piece: looked at whenever the program takes a message from its queue.
app::frmDOSOutput* cancelledWindow = nullptr;
LRESULT CALLBACK CancelAtThirdPiece(int code, WPARAM wParam, LPARAM lParam) {
    if (cancelledWindow && cancelledWindow->Label1().Caption() == L"Piece 3 of 5") {
        save_tests::PostClick(cancelledWindow->zembutton1().hWnd());
        cancelledWindow = nullptr;
    }
    return ::CallNextHookEx(nullptr, code, wParam, lParam);
}
}  // namespace

TEST_F(SavePieces, CancelledDuringTheThirdOfFiveTheFinishedOnesStayAndNothingElse) {
    ScratchFolder folder(L"pieces4");
    Load(Source(L"cbr-cover.mp3"));
    const std::uint64_t length = form.Splits().Length();
    for (std::uint64_t k = 1; k < 5; ++k) form.Splits().Add(length * k / 5);
    cancelledWindow = &form.DOSOutput();
    HHOOK hook = ::SetWindowsHookExW(WH_GETMESSAGE, CancelAtThirdPiece, nullptr, ::GetCurrentThreadId());
    app::SavePiecesAs(form, form.Handle(), folder / L"Part");
    ::UnhookWindowsHookEx(hook);
    EXPECT_EQ(cancelledWindow, nullptr);
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
