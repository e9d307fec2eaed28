#include "app/waveform/SavePieces.h"

#include <algorithm>
#include <cmath>

#include "app/Files.h"
#include "app/Form1.h"
#include "app/SaveRules.h"
#include "app/TemporaryOutput.h"
#include "app/components/CommonDialog.h"
#include "app/frmDOSOutput.h"
#include "app/waveform/LevelCommands.h"
#include "base/MessageLoop.h"
#include "base/SystemErrorText.h"
#include "media/Media.h"

namespace app {

namespace {

constexpr std::size_t kListedFiles = 20;  // names the replace question lists before "and n more"

struct Piece {
    double start;  // seconds
    double length;
    std::wstring target;
    media::PieceTags tags;
};

std::wstring WithoutMp3(std::wstring path) {
    if (path.size() > 4 && _wcsicmp(path.c_str() + path.size() - 4, L".mp3") == 0) path.resize(path.size() - 4);
    return path;
}

media::SplitLayout LayoutOf(const SplitPoints& splits, double rate) {
    media::SplitLayout layout;
    layout.length = splits.Length();
    layout.points = splits.Points();
    for (std::size_t i = 0; i < splits.Points().size(); ++i) {
        const std::optional<Pause>& pause = splits.PauseAt(i);
        layout.pauses.push_back(pause ? std::optional(media::SampleRange{pause->first, pause->end}) : std::nullopt);
    }
    layout.leavePausesOut = splits.LeavePausesOut();
    layout.keptOfPause = static_cast<std::uint64_t>(std::llround(kPauseKeptSeconds * rate));
    for (std::size_t k = 0; k < splits.Pieces(); ++k) {
        layout.titles.push_back(splits.Names(k).title);
        // A piece with no performer of its own has the recording's.
        const std::wstring& performer = splits.Names(k).performer;
        layout.performers.push_back(performer.empty() ? splits.Album().performer : performer);
    }
    return layout;
}

std::vector<Piece> PlanPieces(Form1& main, const std::wstring& base) {
    const double rate = main.player().Index()->format.sampleRate;
    std::vector<Piece> pieces;
    const std::wstring folder = FolderOf(base);
    const std::vector<media::PlannedPiece> planned = media::PlanPieces(LayoutOf(main.Splits(), rate), CommonDialog::TitleOf(base));
    const media::SampleRange album{planned.front().range.first, planned.back().range.end};
    for (const media::PlannedPiece& piece : planned) {
        pieces.push_back({static_cast<double>(piece.range.first) / rate,
                          static_cast<double>(piece.range.end - piece.range.first) / rate,
                          folder.empty() ? piece.fileName : folder + L"\\" + piece.fileName, piece.tags});
        pieces.back().tags.replayGain = ReplayGainFor(main, piece.range, album);
    }
    return pieces;
}

// One message lists the files that exist; true when they may be replaced.
bool MayReplace(HWND owner, const std::vector<Piece>& pieces) {
    std::vector<std::wstring> existing;
    for (const Piece& piece : pieces)
        if (::GetFileAttributesW(ExtendedLengthPath(piece.target).c_str()) != INVALID_FILE_ATTRIBUTES)
            existing.push_back(piece.target);
    if (existing.empty()) return true;
    std::wstring list;
    for (std::size_t i = 0; i < existing.size() && i < kListedFiles; ++i) list += existing[i] + L"\r\n";
    if (existing.size() > kListedFiles) list += L"and " + std::to_wstring(existing.size() - kListedFiles) + L" more\r\n";
    const std::wstring text = (existing.size() == 1 ? L"This file exists already:\r\n\r\n"
                                                    : L"These files exist already:\r\n\r\n") +
                              list + L"\r\nDo you want to replace " + (existing.size() == 1 ? L"it?" : L"them?");
    return base::ShowMessage(owner, text, MB_YESNO | MB_ICONWARNING | MB_DEFBUTTON2) == IDYES;
}

std::wstring PiecesSaved(std::size_t placed, const std::wstring& folder) {
    return (placed == 1 ? std::wstring(L"1 piece was") : std::to_wstring(placed) + L" pieces were") +
           L" saved in\r\n" + folder;
}

}  // namespace

void SavePieces(Form1& main, HWND owner) {
    const std::wstring input = main.Text1().Text();
    MediaPlayer& player = main.player();
    if (input.empty() || !player.Index() || main.RefuseWhileSaving(owner)) return;
    if (player.PlayState() == MediaPlayer::kPlaying) player.Pause();

    CommonDialog dialog(owner);
    dialog.SetDialogTitle(L"Save Pieces");
    dialog.SetFilter(L"Audio Files (*.mp3)|*.mp3");
    dialog.SetDefaultExt(L"mp3");
    dialog.SetOverwritePrompt(false);  // the pieces' own names are checked below
    dialog.SetFileName(WithoutMp3(CommonDialog::TitleOf(input)));
    if (dialog.ShowSave()) SavePiecesAs(main, owner, WithoutMp3(dialog.FileName()));
}

void SavePiecesAs(Form1& main, HWND owner, const std::wstring& base) {
    const std::wstring input = main.Text1().Text();
    MediaPlayer& player = main.player();
    if (input.empty() || !player.Index()) return;
    if (player.PlayState() == MediaPlayer::kPlaying) player.Pause();
    // Everything the save uses is taken now: a file opened or a level changed
    // while it runs reaches none of its pieces.
    const std::vector<Piece> pieces = PlanPieces(main, base);
    const std::shared_ptr<const media::Mp3Index> index = player.URL() == input ? player.Index() : nullptr;
    // The selection's level goes to every piece, and no fade: the pieces still join without a gap.
    const media::LevelChange level{0, 0, main.Levels().Steps()};
    for (const Piece& piece : pieces) {
        if (IsSameFile(input, piece.target)) {
            base::ShowMessage(owner,
                              L"A piece cannot be saved over the file it comes from:\r\n" + piece.target +
                                  L"\r\n\r\nPlease choose another name for the pieces.",
                              MB_OK | MB_ICONERROR);
            return;
        }
        if (const std::wstring name = CommonDialog::TitleOf(piece.target); name.size() > media::kLongestFileName) {
            base::ShowMessage(owner,
                              L"The pieces' names would be too long for a file:\r\n" + name +
                                  L"\r\n\r\nPlease choose a shorter name for the pieces.",
                              MB_OK | MB_ICONERROR);
            return;
        }
    }
    if (!MayReplace(owner, pieces)) return;

    frmDOSOutput& window = main.DOSOutput();
    window.Show();
    const std::wstring folder = FolderOf(pieces.front().target);
    std::size_t placed = 0;
    std::wstring failure;
    std::wstring notices;  // of the pieces put in place
    bool canceled = false;
    for (std::size_t first = 0; first < pieces.size() && failure.empty() && !canceled && !window.EndingQuietly();) {
        // As many pieces as the command line and the bound allow, at least one.
        std::vector<std::unique_ptr<TemporaryOutput>> files;
        std::vector<PieceCopy> copies;
        std::wstring command;
        for (std::size_t k = first; k < pieces.size() && files.size() < kPiecesPerRun; ++k) {
            // A piece is exact or not saved: the pieces join sample for sample.
            auto file = std::make_unique<TemporaryOutput>(pieces[k].target, input, pieces[k].start, pieces[k].length,
                                                          index, level, true);
            file->SetTags(pieces[k].tags);
            if (file->Error()) {
                failure = L"piece " + std::to_wstring(k + 1) + L" cannot be saved as\r\n" + pieces[k].target +
                          L"\r\n(" + base::SystemErrorText(file->Error()) + L")";
                break;
            }
            copies.push_back({pieces[k].start, pieces[k].length, ExtendedLengthPath(file->Path())});
            std::wstring longer = EncoderPiecesCommandLine(ProgramFolder(), ExtendedLengthPath(input), copies);
            if (longer.size() > kCommandLimit && !files.empty()) break;
            command = std::move(longer);
            files.push_back(std::move(file));
        }
        if (files.empty()) break;
        PiecesRun run;
        for (const auto& file : files) run.files.push_back(file.get());
        run.first = first;
        run.total = pieces.size();
        window.RunPieces(command, run);
        for (std::size_t i = 0; i < run.placed; ++i)
            if (!files[i]->Notice().empty())
                notices += (notices.empty() ? L"Piece " : L"\r\nPiece ") + std::to_wstring(first + i + 1) + L": " +
                           files[i]->Notice();
        placed += run.placed;
        canceled = run.canceled;
        if (!run.failure.empty())
            failure = L"piece " + std::to_wstring(first + run.placed + 1) + L" could not be saved: " + run.failure;
        first += files.size();
    }
    window.Hide();
    if (window.EndingQuietly()) return main.ExitIfAskedDuringSave();
    const std::wstring saved = PiecesSaved(placed, folder) + (notices.empty() ? L"" : L"\r\n\r\n" + notices);
    if (canceled)
        base::ShowMessage(owner, L"Saving the pieces was cancelled. " + saved, MB_OK | MB_ICONINFORMATION);
    else if (!failure.empty())
        base::ShowMessage(owner, L"Saving the pieces stopped: " + failure + L"\r\n\r\n" + saved,
                          MB_OK | MB_ICONERROR, L"Error");
    else
        base::ShowMessage(owner, saved, MB_OK | (notices.empty() ? MB_ICONINFORMATION : MB_ICONWARNING), L"Success!");
}

}  // namespace app
