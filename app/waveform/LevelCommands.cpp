#include "app/waveform/LevelCommands.h"

#include <cstdio>

#include "app/Form1.h"
#include "app/waveform/DialogIds.h"
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

}  // namespace

void RunLevelCommand(Form1& main, WaveformWindow& window, WaveformCommand command) {
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
    case kNoLevelChange:
        levels.Clear();
        main.LevelsChanged();
        break;
    default: break;
    }
}

}  // namespace app
