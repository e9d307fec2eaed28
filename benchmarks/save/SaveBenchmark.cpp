// How long saving a selection takes through the program's own save path (the
// output window, the runner, the step that makes the encoder's copy exact, the
// check of the new file and its move into place), and how much of it is left
// once the encoder has ended, next to the same encoder command started bare and
// started through the command interpreter as the program must start it, the
// exact step alone, a re-encoding cut of the same selection, and a plain copy of
// the same bytes.
//
//   scripts/benchmark save
//
// Cuts 30 minutes out of the 60-minute fixture and 10 seconds out of the
// 3-minute one. Goals: the program's save within 1.15 x the bare command, and
// the same save with a fade in, a fade out and a change of level within 1.05 x
// the save without them.
#include <windows.h>
#include <commctrl.h>
#include <shellapi.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

#include "app/Files.h"
#include "app/Form1.h"
#include "app/SaveRules.h"
#include "app/SaveSelection.h"
#include "app/TimeText.h"
#include "base/Handles.h"
#include "media/Media.h"
#include "runner/CommandLine.h"
#include "benchmarks/support/Runs.h"

namespace {

using benchmarks::Bare;
using benchmarks::Median;
using benchmarks::Now;

constexpr int kRuns = 7;

// When the output of the encoder the program started last ended.
double encoderEnded = 0;

struct SaveTimes {
    double total;         // from handing the selection over to the report "MP3 has been cut!"
    double afterEncoder;  // from the end of the encoder's output to the report
};

SaveTimes ProgramSave(app::Form1& form, const std::wstring& output) {
    benchmarks::ReportWatch watch;
    const double start = Now();
    app::SaveSelectionAs(form, output);
    if (watch.Text() != L"MP3 has been cut!") {
        std::fwprintf(stderr, L"the save failed: %ls\n", watch.Text().c_str());
        std::exit(1);
    }
    return {watch.ShownAt() - start, watch.ShownAt() - encoderEnded};
}

// Seconds the step that makes a stream copy exact takes on its own, given the
// player's index of the input: preparing the audio (with `change`), then writing it into the copy.
double Finishing(const std::wstring& input, const std::wstring& copy, double start, double length,
                 std::shared_ptr<const media::Mp3Index> index, const media::LevelChange& change = {}) {
    const double begin = Now();
    media::ExactCut exact(input, start, length, std::move(index), change);
    if (!exact.Finish(copy)) {
        std::fwprintf(stderr, L"the cut could not be made exact\n");
        std::exit(1);
    }
    return Now() - begin;
}

// Seconds the exact step takes once the encoder has ended, its audio prepared
// while the encoder ran (bare): writing that audio into the encoder's copy.
double ExactStepLeft(const std::wstring& input, const std::wstring& encoderCommand, const std::wstring& copy,
                     double start, double length, std::shared_ptr<const media::Mp3Index> index) {
    media::ExactCut cut(input, start, length, std::move(index));
    Bare(encoderCommand);
    const double begin = Now();
    if (!cut.Finish(copy)) {
        std::fwprintf(stderr, L"the cut could not be made exact\n");
        std::exit(1);
    }
    return Now() - begin;
}

// The command as the program's runner starts it: "ComSpec" /c "command".
std::wstring ThroughInterpreter(const std::wstring& commandLine) {
    wchar_t interpreter[MAX_PATH] = {};
    ::GetEnvironmentVariableW(L"ComSpec", interpreter, MAX_PATH);
    return std::wstring(interpreter) + L" /c \"" + commandLine + L"\"";
}

struct Cut {
    const wchar_t* name;
    const wchar_t* file;
    double fileSeconds;
    double start;
    double length;
};

void Measure(app::Form1& form, const std::wstring& fixtures, const std::wstring& work, const Cut& cut,
             bool withSlowerCuts) {
    const std::wstring input = fixtures + L"\\" + cut.file;
    // Saves are made from the file the player holds, as in the program: the exact step takes its index.
    if (!form.player().SetURL(input)) {
        std::fwprintf(stderr, L"the player cannot open %ls\n", input.c_str());
        std::exit(1);
    }
    form.player().Stop();
    form.Text1().SetText(input);
    form.Label(5).SetCaption(app::FormatSeconds(cut.start));
    form.Label(7).SetCaption(app::FormatSeconds(cut.start + cut.length));
    form.Label(9).SetCaption(app::FormatSeconds(cut.length));
    const std::wstring programOutput = work + L"\\program.mp3";
    const std::wstring bareOutput = work + L"\\bare.mp3";
    const std::wstring bareCommand =
        app::EncoderCommandLine(app::ProgramFolder(), cut.start, cut.length, input, bareOutput);

    // A first round each to bring the files and the encoder into the cache.
    ProgramSave(form, programOutput);
    Bare(bareCommand);
    std::vector<double> program, afterEncoder, bare, interpreted, leveled;
    // The same save with a fade in, a fade out and a change of level, before or after the plain one by turns.
    auto saveLeveled = [&] {
        form.Levels().SetFadeIn(1);
        form.Levels().SetFadeOut(2);
        form.Levels().SetLevelDb(-3);
        leveled.push_back(ProgramSave(form, programOutput).total);
        form.Levels().Clear();
    };
    for (int run = 0; run < kRuns; ++run) {
        if (run % 2 == 1) saveLeveled();
        const SaveTimes save = ProgramSave(form, programOutput);
        program.push_back(save.total);
        afterEncoder.push_back(save.afterEncoder);
        if (run % 2 == 0) saveLeveled();
        bare.push_back(Bare(bareCommand));
        interpreted.push_back(Bare(ThroughInterpreter(bareCommand)));
    }
    std::vector<double> finishing, finishingLeveled;
    for (int run = 0; run < kRuns; ++run) {
        finishing.push_back(Finishing(input, bareOutput, cut.start, cut.length, form.player().Index()));
        finishingLeveled.push_back(
            Finishing(input, bareOutput, cut.start, cut.length, form.player().Index(), media::LevelChange{1, 2, -2}));
    }
    std::vector<double> left;
    for (int run = 0; run < kRuns; ++run)
        left.push_back(ExactStepLeft(input, bareCommand, bareOutput, cut.start, cut.length, form.player().Index()));
    std::vector<double> copies;
    for (int run = 0; run < kRuns; ++run)
        copies.push_back(benchmarks::ByteCopy(input, work + L"\\bytes.mp3", cut.start / cut.fileSeconds,
                                  (cut.start + cut.length) / cut.fileSeconds));
    const double programTime = Median(program), bareTime = Median(bare), interpretedTime = Median(interpreted);
    std::wprintf(L"\n%ls (median of %d runs)\n", cut.name, kRuns);
    std::wprintf(L"  program's save (runner, exact, check, move) %8.3f s\n", programTime);
    std::wprintf(L"  of it, left after the encoder ended         %8.3f s\n", Median(afterEncoder));
    std::wprintf(L"  same stream copy started bare               %8.3f s\n", bareTime);
    std::wprintf(L"  same, through ComSpec /c as the program     %8.3f s\n", interpretedTime);
    std::wprintf(L"  the exact step left once the encoder ended  %8.3f s\n", Median(left));
    std::wprintf(L"  making the copy exact, alone                %8.3f s\n", Median(finishing));
    std::wprintf(L"  the same with fades and a level             %8.3f s\n", Median(finishingLeveled));
    std::wprintf(L"  plain copy of the same bytes                %8.3f s\n", Median(copies));
    if (withSlowerCuts) {
        using runner::QuoteArgument;
        const std::wstring reencode = QuoteArgument(app::ProgramFolder() + L"\\ffmpeg.exe") + L" -nostdin -y -ss " +
                                      app::FormatSeconds(cut.start) + L" -t " + app::FormatSeconds(cut.length) +
                                      L" -i " + QuoteArgument(input) + L" -c:a libmp3lame -b:a 128k " +
                                      QuoteArgument(work + L"\\reencoded.mp3");
        std::wprintf(L"  re-encoding cut (one run)                   %8.3f s\n", Bare(reencode));
    }
    std::wprintf(L"  program's save with fades and a level       %8.3f s\n", Median(leveled));
    std::wprintf(L"  program / bare                              %8.3f x (goal: within 1.15 x)\n",
                 programTime / bareTime);
    std::wprintf(L"  program / through ComSpec /c                %8.3f x\n", programTime / interpretedTime);
    std::wprintf(L"  with fades and a level / without            %8.3f x (goal: within 1.05 x)\n",
                 Median(leveled) / programTime);
    std::fflush(stdout);
}


}  // namespace

int main() {
    INITCOMMONCONTROLSEX controls{sizeof controls, ICC_BAR_CLASSES | ICC_STANDARD_CLASSES};
    ::InitCommonControlsEx(&controls);
    const std::wstring fixtures = benchmarks::FixturesFolder(L"save");
    wchar_t temp[MAX_PATH] = {};
    ::GetTempPathW(MAX_PATH, temp);
    const std::wstring work = std::wstring(temp) + L"snipmill-save-benchmark";
    ::CreateDirectoryW(work.c_str(), nullptr);

    app::Form1 form;
    form.Show();
    form.DOSOutput().ReadOutput1().GotChunk.Subscribe([](const std::wstring&, bool last) {
        if (last) encoderEnded = Now();
    });
    Measure(form, fixtures, work, Cut{L"30 minutes out of a 60-minute MP3", L"save-60min.mp3", 3601.76, 900, 1800},
            true);
    Measure(form, fixtures, work, Cut{L"10 seconds out of a 3-minute MP3", L"save-3min.mp3", 180.04, 60, 10}, false);

    for (const wchar_t* name : {L"program.mp3", L"bare.mp3", L"bytes.mp3", L"reencoded.mp3"})
        ::DeleteFileW((work + L"\\" + name).c_str());
    ::RemoveDirectoryW(work.c_str());
    return 0;
}
