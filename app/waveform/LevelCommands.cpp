#include "app/waveform/LevelCommands.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "app/Form1.h"
#include "app/TimeText.h"
#include "app/UserSettings.h"
#include "app/waveform/DialogIds.h"
#include "app/waveform/LoudnessTable.h"
#include "app/waveform/LoudnessText.h"
#include "app/waveform/NumberDialog.h"
#include "app/waveform/WaveformWindow.h"
#include "base/MessageLoop.h"

namespace app {

namespace {

// The selection's peak, once the window has the file's peaks.
media::Peak LoudestSample(Form1& main, WaveformWindow& window) {
    return media::LoudestSample(*window.Peaks(), *main.SelectionSamples());
}

bool AskFade(HWND owner, int dialog, const wchar_t* name, double proposal, double& seconds) {
    NumberField field{IDC_FIELD1, name, proposal, 0, LevelSettings::kLongestFade};
    if (!RunNumberDialog(owner, dialog, std::span(&field, 1))) return false;
    seconds = field.value;
    return true;
}

// The fades and the level belong to a selection. It is looked for again once a
// dialog is answered: a file opened meanwhile, or New Selection, takes it away.
bool HasSelection(Form1& main, WaveformWindow& window) { return window.Peaks() && main.SelectionSamples(); }

// A rise that would clip the selection's loudest sample is made only once the user
// agrees. Only the steps change: the fades are read afresh, not from before the dialog.
void ChangeLevel(Form1& main, WaveformWindow& window) {
    NumberField field{IDC_FIELD1,           L"The change of level",     main.Levels().LevelDb(),
                      LevelSettings::kLowestDb, LevelSettings::kHighestDb, LevelSettings::kStepDb};
    LevelSettings trial;
    if (!RunNumberDialog(window.Handle(), IDD_CHANGE_LEVEL, std::span(&field, 1)) || !trial.SetLevelDb(field.value) ||
        !HasSelection(main, window))
        return;
    if (trial.Steps() > main.Levels().Steps()) {
        const double clipping = media::ClippingDb(LoudestSample(main, window), trial.Steps());
        wchar_t text[200];
        std::swprintf(text, 200,
                      L"A level of %ls would clip the selection's loudest sample by %.1f dB.\r\n\r\n"
                      L"Change the level anyway?",
                      LevelSettings::DbText(trial.Steps()).c_str(), clipping);
        if (clipping > 0 && (base::ShowMessage(window.Handle(), text, MB_YESNO | MB_ICONWARNING) != IDYES ||
                             !HasSelection(main, window)))
            return;
    }
    main.Levels().SetSteps(trial.Steps());
    main.LevelsChanged();
}

void Normalize(Form1& main, WaveformWindow& window) {
    const media::Peak loudest = LoudestSample(main, window);
    if (loudest.high <= 0 && loudest.low >= 0) {  // no sample either side of zero
        base::ShowMessage(window.Handle(), L"The selection is silent: there is no level to normalize it to.",
                          MB_ICONINFORMATION);
        return;
    }
    main.Levels().SetSteps(media::NormalizingSteps(loudest));
    main.LevelsChanged();
}

// The level in whole steps nearest to what brings the selection to a loudness target
// (remembered, in tenths of a LUFS), asking first where its true peak would pass full scale.
void NormalizeLoudness(Form1& main, WaveformWindow& window) {
    if (!window.Peaks()->Finished()) {
        base::ShowMessage(window.Handle(), L"The audio is still being read: try again once it is done.", MB_ICONINFORMATION);
        return;
    }
    const media::SampleRange selection = *main.SelectionSamples();
    const media::Loudness loudness = window.Peaks()->LoudnessOf(selection.first, selection.end);
    if (!loudness.measured) {
        base::ShowMessage(window.Handle(), std::wstring(L"The selection is ") + kNotMeasured + L".", MB_ICONINFORMATION);
        return;
    }
    const UserSettings settings;
    static constexpr double kOffered[] = {-16, -18, -23};
    NumberField field{IDC_FIELD1, L"The target", settings.Number(kLoudnessTargetSetting, -160) / 10.0, -40, -5, 0,
                      kOffered};
    if (!RunNumberDialog(window.Handle(), IDD_NORMALIZE_LOUDNESS, std::span(&field, 1))) return;
    settings.SetNumber(kLoudnessTargetSetting, static_cast<int>(std::lround(field.value * 10)));
    // The figure is the selection's as it was measured: one changed under the dialog is not normalized.
    const auto stillSelected = [&] { return HasSelection(main, window) && *main.SelectionSamples() == selection; };
    if (!stillSelected()) return;
    LevelSettings trial;
    const double wanted = std::clamp(field.value - loudness.integrated, LevelSettings::kLowestDb, LevelSettings::kHighestDb);
    trial.SetLevelDb(std::round(wanted / LevelSettings::kStepDb) * LevelSettings::kStepDb);
    const double peak = loudness.truePeak + trial.LevelDb();
    if (peak > 0) {
        const std::wstring text = L"A level of " + LevelSettings::DbText(trial.Steps()) +
                                  L" would bring the selection's true peak to " + FigureText(peak, L"dBTP", true) +
                                  L", so it would clip.\r\n\r\nChange the level anyway?";
        if (base::ShowMessage(window.Handle(), text, MB_YESNO | MB_ICONWARNING) != IDYES || !stillSelected()) return;
    }
    main.Levels().SetSteps(trial.Steps());
    main.LevelsChanged();
}

void MeasureLoudness(Form1& main, WaveformWindow& window) {
    const media::Waveform& waveform = *window.Peaks();
    if (!waveform.Finished()) {
        base::ShowMessage(window.Handle(), L"The audio is still being read: try again once it is done.", MB_ICONINFORMATION);
        return;
    }
    std::wstring note;
    if (main.Levels().Steps() != 0 && (main.SelectionSamples() || !main.Splits().Points().empty()))
        note = L"The selection and the pieces as they will be saved, with the level " +
               LevelSettings::DbText(main.Levels().Steps()) + L". ";
    if (waveform.ReadyLength() < waveform.Length())
        note += L"The file cannot be decoded after " +
                FormatClock(static_cast<double>(waveform.ReadyLength()) / waveform.SampleRate()) +
                L": what follows is not measured.";
    ShowLoudnessTable(window.Handle(),
                      LoudnessRows(waveform, main.SelectionSamples(), main.Levels().LevelDb(), main.Splits()), note);
}

}  // namespace

bool WritesReplayGainTags() { return UserSettings().Number(kReplayGainTagsSetting, 0) != 0; }

std::vector<std::pair<std::string, std::string>> ReplayGainFor(Form1& main, media::SampleRange track,
                                                               std::optional<media::SampleRange> album) {
    const media::Waveform* waveform = main.Waveform() ? main.Waveform()->Peaks() : nullptr;
    if (!WritesReplayGainTags() || !waveform || !waveform->Finished() || waveform->Path() != main.player().URL())
        return {};
    const double levelDb = main.Levels().LevelDb();
    const media::Loudness whole = album ? waveform->LoudnessOf(album->first, album->end) : media::Loudness{};
    return media::ReplayGainFrames(waveform->LoudnessOf(track.first, track.end), levelDb, album ? &whole : nullptr);
}

void RunLevelCommand(Form1& main, WaveformWindow& window, WaveformCommand command) {
    if (command == kReplayGainTags) {
        UserSettings().SetNumber(kReplayGainTagsSetting, WritesReplayGainTags() ? 0 : 1);
        return;
    }
    if (!window.Peaks()) return;
    if (command == kMeasureLoudness) {
        MeasureLoudness(main, window);
        return;
    }
    // The fades and the level belong to a selection (the menu greys them without one).
    if (!HasSelection(main, window)) return;
    LevelSettings& levels = main.Levels();
    double seconds = 0;
    switch (command) {
    case kFadeIn:
        if (AskFade(window.Handle(), IDD_FADE_IN, L"The fade in", levels.FadeInProposal(), seconds) &&
            HasSelection(main, window) && levels.SetFadeIn(seconds))
            main.LevelsChanged();
        break;
    case kFadeOut:
        if (AskFade(window.Handle(), IDD_FADE_OUT, L"The fade out", levels.FadeOutProposal(), seconds) &&
            HasSelection(main, window) && levels.SetFadeOut(seconds))
            main.LevelsChanged();
        break;
    case kChangeLevel: ChangeLevel(main, window); break;
    case kNormalize: Normalize(main, window); break;
    case kNormalizeLoudness: NormalizeLoudness(main, window); break;
    case kNoLevelChange:
        levels.Clear();
        main.LevelsChanged();
        break;
    default: break;
    }
}

}  // namespace app
