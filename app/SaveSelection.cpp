#include "app/SaveSelection.h"

#include "app/Files.h"
#include "app/Form1.h"
#include "app/SaveRules.h"
#include "app/TemporaryOutput.h"
#include "app/waveform/LevelCommands.h"
#include "app/TimeText.h"
#include "app/frmDOSOutput.h"
#include "base/MessageLoop.h"
#include "base/SystemErrorText.h"

namespace app {

void SaveSelection(Form1& form) {
    if (form.RefuseWhileSaving(form.Handle())) return;
    const std::wstring start = form.Label(5).Caption();
    const std::wstring length = form.Label(9).Caption();
    if (std::wstring refusal = SelectionRefusal(start, form.Label(7).Caption(), length); !refusal.empty()) {
        base::ShowMessage(form.Handle(), refusal, MB_OK | MB_ICONERROR);
        return;
    }
    if (form.player().PlayState() == MediaPlayer::kPlaying) form.player().Pause();

    CommonDialog& dialog = form.cdb();
    dialog.SetFilter(L"Audio Files (*.mp3)|*.mp3");
    dialog.SetDefaultExt(L"mp3");
    SYSTEMTIME now{};
    ::GetLocalTime(&now);
    dialog.SetFileName(DefaultOutputName(now));
    if (dialog.ShowSave()) SaveSelectionAs(form, dialog.FileName());
}

void SaveSelectionAs(Form1& form, const std::wstring& output) {
    const std::wstring input = form.Text1().Text();
    if (IsSameFile(input, output)) {
        base::ShowMessage(form.Handle(),
                          L"The selection cannot be saved over the file it comes from:\r\n" + output +
                              L"\r\n\r\nPlease choose another name for the new file.",
                          MB_OK | MB_ICONERROR);
        return;
    }
    const double start = ParseSeconds(form.Label(5).Caption());
    const double length = ParseSeconds(form.Label(9).Caption());
    const MediaPlayer& player = form.player();
    // The fades and the level are made in the source's own frames, which only an exact cut holds.
    const media::LevelChange& levels = form.Levels().Change();
    TemporaryOutput file(output, input, start, length, player.URL() == input ? player.Index() : nullptr, levels,
                         !levels.None());
    if (file.Error()) {
        base::ShowMessage(
            form.Handle(),
            L"The selection cannot be saved as\r\n" + output + L"\r\n\r\n" + base::SystemErrorText(file.Error()),
            MB_OK | MB_ICONERROR);
        return;
    }
    if (const auto selection = form.SelectionSamples()) {
        media::PieceTags tags;
        tags.replayGain = ReplayGainFor(form, *selection);
        if (!tags.replayGain.empty()) file.SetTags(tags);
    }
    const std::wstring command =
        EncoderCommandLine(ProgramFolder(), start, length, ExtendedLengthPath(input), ExtendedLengthPath(file.Path()));
    frmDOSOutput& window = form.DOSOutput();
    window.Show();
    window.Text2().SetText(L"T");
    window.txtCommand().SetText(command);
    window.SetOutputFile(&file);
    window.cmdExecute_Click();
}

}  // namespace app
