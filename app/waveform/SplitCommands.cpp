#include "app/waveform/SplitCommands.h"

#include <cmath>

#include "app/Files.h"
#include "app/Form1.h"
#include "app/components/CommonDialog.h"
#include "app/waveform/DialogIds.h"
#include "app/waveform/NumberDialog.h"
#include "app/waveform/SavePieces.h"
#include "app/waveform/WaveformWindow.h"
#include "base/MessageLoop.h"
#include "base/SystemErrorText.h"
#include "media/Media.h"

namespace app {

namespace {

constexpr wchar_t kCueFilter[] = L"Cue Sheets (*.cue)|*.cue";

double RateOf(Form1& main) { return main.player().Index()->format.sampleRate; }

std::uint64_t CueFrames(std::uint64_t sample, double rate) {
    return static_cast<std::uint64_t>(std::llround(static_cast<double>(sample) * media::kCueFramesPerSecond / rate));
}

void ImportCueSheet(Form1& main, HWND owner) {
    CommonDialog dialog(owner);
    dialog.SetDialogTitle(L"Import Cue Sheet");
    dialog.SetFilter(kCueFilter);
    if (!dialog.ShowOpen()) return;
    std::vector<std::uint8_t> bytes;
    if (const DWORD error = ReadWholeFile(dialog.FileName(), bytes)) {
        base::ShowMessage(owner,
                          L"The cue sheet cannot be read:\r\n" + dialog.FileName() + L"\r\n\r\n" +
                              base::SystemErrorText(error),
                          MB_OK | MB_ICONERROR);
        return;
    }
    media::CueSheet sheet;
    try {
        sheet = media::ReadCueSheet(bytes);
    } catch (const media::CueSheetError& error) {
        base::ShowMessage(owner,
                          L"The cue sheet cannot be used: line " + std::to_wstring(error.Line()) + L": " +
                              error.Problem() + L".\r\n\r\n" + dialog.FileName(),
                          MB_OK | MB_ICONERROR);
        return;
    }
    const double rate = RateOf(main);
    SplitPoints& splits = main.Splits();
    std::vector<std::uint64_t> points;
    std::vector<PieceNames> names;
    for (const media::CueTrack& track : sheet.tracks) {
        const auto sample = static_cast<std::uint64_t>(std::llround(static_cast<double>(track.start) * rate /
                                                                     media::kCueFramesPerSecond));
        if (sample >= splits.Length()) {
            base::ShowMessage(owner,
                              L"The cue sheet names a track at " + media::CueTime(track.start) +
                                  L", past the end of the file. Nothing was changed.\r\n\r\n" + dialog.FileName(),
                              MB_OK | MB_ICONERROR);
            return;
        }
        // A first track after the file's start leaves a piece ahead of it with no names.
        if (sample == 0 && points.empty() && names.empty()) {
            names.push_back({track.title, track.performer});
            continue;
        }
        if (names.empty()) names.push_back({});
        points.push_back(sample);
        names.push_back({track.title, track.performer});
    }
    splits.Replace(std::move(points), std::move(names));
    splits.SetAlbum({sheet.title, sheet.performer});
}

void ExportCueSheet(Form1& main, HWND owner) {
    const std::wstring source = main.player().URL();
    const SplitPoints& splits = main.Splits();
    if (splits.Pieces() > media::kCueMostTracks) {
        base::ShowMessage(owner,
                          L"A cue sheet holds at most " + std::to_wstring(media::kCueMostTracks) +
                              L" tracks, and the file is split into " + std::to_wstring(splits.Pieces()) +
                              L" pieces.\r\n\r\nNo cue sheet was written.",
                          MB_OK | MB_ICONINFORMATION);
        return;
    }
    CommonDialog dialog(owner);
    dialog.SetDialogTitle(L"Export Cue Sheet");
    dialog.SetFilter(kCueFilter);
    dialog.SetDefaultExt(L"cue");
    dialog.SetFileName(source + L".cue");
    if (!dialog.ShowSave()) return;
    const double rate = RateOf(main);
    media::CueSheet sheet{splits.Album().title, splits.Album().performer, CommonDialog::TitleOf(source), {}};
    for (std::size_t k = 0; k < splits.Pieces(); ++k)
        sheet.tracks.push_back({splits.Names(k).title, splits.Names(k).performer, CueFrames(splits.PieceFirst(k), rate)});
    const std::string text = media::WriteCueSheet(sheet);
    if (const DWORD error = WriteWholeFile(dialog.FileName(), std::span(reinterpret_cast<const std::uint8_t*>(text.data()), text.size())))
        base::ShowMessage(owner,
                          L"The cue sheet cannot be written:\r\n" + dialog.FileName() + L"\r\n\r\n" +
                              base::SystemErrorText(error),
                          MB_OK | MB_ICONERROR);
}

// What the dialogs held last, offered again the next time.
struct PauseChoices {
    double thresholdDb = -45;
    double pauseSeconds = 1.0;
    double pieceSeconds = 5;
    bool leaveOut = false;
} pauseChoices;
struct EveryChoices {
    double minutes = 10;
    double reachSeconds = 10;
} everyChoices;

// The levels the searches read: the waveform's, waited for while they are computed.
const media::Waveform* Levels(WaveformWindow& window) {
    const media::Waveform* levels = window.Peaks();
    if (!levels) return nullptr;
    HCURSOR previous = ::SetCursor(::LoadCursorW(nullptr, IDC_WAIT));
    levels->Wait();
    ::SetCursor(previous);
    return levels;
}

void FindPauses(Form1& main, WaveformWindow& window) {
    NumberField fields[] = {{IDC_FIELD1, L"Quieter than", pauseChoices.thresholdDb, -120, 0},
                            {IDC_FIELD2, L"For at least", pauseChoices.pauseSeconds, 0.01, 3600},
                            {IDC_FIELD3, L"Pieces at least", pauseChoices.pieceSeconds, 0, 86400}};
    bool leaveOut = pauseChoices.leaveOut;
    if (!RunNumberDialog(window.Handle(), IDD_FIND_PAUSES, fields, &leaveOut)) return;
    pauseChoices = {fields[0].value, fields[1].value, fields[2].value, leaveOut};
    const media::Waveform* levels = Levels(window);
    if (!levels) return;
    const std::vector<media::Pause> found =
        media::FindPauses(*levels, {pauseChoices.thresholdDb, pauseChoices.pauseSeconds, pauseChoices.pieceSeconds});
    if (found.empty()) {
        base::ShowMessage(window.Handle(),
                          L"No pauses were found: nowhere is the file quieter than " + NumberText(fields[0].value) +
                              L" dB for " + NumberText(fields[1].value) +
                              L" seconds or longer.\r\n\r\nThe split points stay as they were.",
                          MB_OK | MB_ICONINFORMATION);
        return;
    }
    std::vector<std::uint64_t> points;
    std::vector<std::optional<Pause>> pauses;
    for (const media::Pause& pause : found) {
        points.push_back(pause.split);
        pauses.push_back(Pause{pause.first, pause.end});
    }
    SplitPoints& splits = main.Splits();
    splits.Replace(std::move(points), {}, std::move(pauses));
    splits.SetLeavePausesOut(leaveOut);
}

void SplitEvery(Form1& main, WaveformWindow& window) {
    NumberField fields[] = {{IDC_FIELD1, L"Every", everyChoices.minutes, 0.05, 1440},
                            {IDC_FIELD2, L"Move each to the quietest point within", everyChoices.reachSeconds, 0, 600}};
    if (!RunNumberDialog(window.Handle(), IDD_SPLIT_EVERY, fields)) return;
    everyChoices = {fields[0].value, fields[1].value};
    const media::Waveform* levels = Levels(window);
    if (!levels) return;
    main.Splits().Replace(media::SplitEvery(*levels, everyChoices.minutes * 60, everyChoices.reachSeconds));
}

}  // namespace

void RunSplitCommand(Form1& main, WaveformWindow& window, WaveformCommand command) {
    if (!main.player().Index()) return;
    const HWND owner = window.Handle();
    switch (command) {
    case kSavePieces: SavePieces(main, owner); break;
    case kImportCueSheet: ImportCueSheet(main, owner); break;
    case kExportCueSheet: ExportCueSheet(main, owner); break;
    case kFindPauses: FindPauses(main, window); break;
    case kSplitEvery: SplitEvery(main, window); break;
    default: break;
    }
}

}  // namespace app
