// How long saving the pieces of a split recording takes through the program's
// own path (the output window, the encoder's runs, each piece made exact, checked
// and moved into place), next to the same encoder runs started bare, and next to
// saving each piece as a selection of its own.
//
//   scripts/benchmark split
//
// The two-hour fixture cut into 30 pieces. Goals: the program's save of all the
// pieces within 1.3 x the bare encoder's runs, and within a fifth of 30 single saves.
// The figures of the envelope and the pause search come first (LevelFigures.cpp).
#include <windows.h>
#include <commctrl.h>
#include <shellapi.h>

#include <cstdio>
#include <functional>
#include <string>
#include <vector>

#include "app/Files.h"
#include "app/Form1.h"
#include "app/SaveRules.h"
#include "app/SaveSelection.h"
#include "app/TimeText.h"
#include "app/waveform/SavePieces.h"
#include "benchmarks/support/Runs.h"

namespace {

using benchmarks::Bare;
using benchmarks::Median;
using benchmarks::Now;

constexpr int kPieces = 30;
constexpr int kRuns = 3;

double Timed(const std::function<void()>& save, const wchar_t* expected) {
    benchmarks::ReportWatch watch;
    const double start = Now();
    save();
    if (watch.Text().find(expected) == std::wstring::npos) {
        std::fwprintf(stderr, L"the save failed: %ls\n", watch.Text().c_str());
        std::exit(1);
    }
    return watch.ShownAt() - start;
}

// The encoder's runs for the pieces, as many to a run as the program puts in one.
std::vector<std::wstring> BareRuns(const std::wstring& input, const std::wstring& work, double rate,
                                   const app::SplitPoints& splits) {
    std::vector<std::wstring> runs;
    std::vector<app::PieceCopy> copies;
    auto endRun = [&] {
        runs.push_back(app::EncoderPiecesCommandLine(app::ProgramFolder(), input, copies));
        copies.clear();
    };
    for (std::size_t k = 0; k < splits.Pieces(); ++k) {
        const app::PieceCopy copy{static_cast<double>(splits.PieceFirst(k)) / rate,
                                  static_cast<double>(splits.PieceEnd(k) - splits.PieceFirst(k)) / rate,
                                  work + L"\\~snipmill-" + std::to_wstring(10000000 + k) + L".mp3"};
        copies.push_back(copy);
        if (copies.size() > 1 && app::EncoderPiecesCommandLine(app::ProgramFolder(), input, copies).size() > app::kCommandLimit) {
            copies.pop_back();
            endRun();
            copies.push_back(copy);
        }
        if (copies.size() == app::kPiecesPerRun) endRun();
    }
    if (!copies.empty()) endRun();
    return runs;
}

void RemoveFiles(const std::wstring& folder) {
    WIN32_FIND_DATAW found{};
    HANDLE search = ::FindFirstFileW((folder + L"\\*.mp3").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE) return;
    do ::DeleteFileW((folder + L"\\" + found.cFileName).c_str());
    while (::FindNextFileW(search, &found));
    ::FindClose(search);
}

std::wstring FixturesFolder() {
    int argc = 0;
    wchar_t** argv = ::CommandLineToArgvW(::GetCommandLineW(), &argc);
    std::wstring named = argv && argc > 1 ? argv[1] : L"";
    ::LocalFree(argv);
    return (named.empty() ? app::FolderOf(app::ProgramFolder()) + L"\\fixtures" : named) + L"\\media";
}

}  // namespace

int LevelFigures();

int main() {
    std::setvbuf(stdout, nullptr, _IONBF, 0);
    if (const int failed = LevelFigures()) return failed;
    INITCOMMONCONTROLSEX controls{sizeof controls, ICC_BAR_CLASSES | ICC_STANDARD_CLASSES};
    ::InitCommonControlsEx(&controls);
    const std::wstring input = FixturesFolder() + L"\\long_2h.mp3";
    wchar_t temp[MAX_PATH] = {};
    ::GetTempPathW(MAX_PATH, temp);
    const std::wstring work = std::wstring(temp) + L"snipmill-split-benchmark";
    ::CreateDirectoryW(work.c_str(), nullptr);

    app::Form1 form;
    form.Show();
    if (!form.player().SetURL(input)) {
        std::fwprintf(stderr, L"the player cannot open %ls\n", input.c_str());
        return 1;
    }
    form.player().Stop();
    form.Text1().SetText(input);
    const double rate = form.player().Index()->format.sampleRate;
    app::SplitPoints& splits = form.Splits();
    splits.Reset(form.player().Index()->PlayableSampleCount());
    for (int k = 1; k < kPieces; ++k) splits.Add(splits.Length() * static_cast<std::uint64_t>(k) / kPieces);
    const std::vector<std::wstring> runs = BareRuns(input, work, rate, splits);

    // A first round each to bring the file and the encoder into the cache.
    Timed([&] { app::SavePiecesAs(form, form.Handle(), work + L"\\Piece"); }, L"pieces were saved");
    RemoveFiles(work);
    std::vector<double> program, bare;
    for (int run = 0; run < kRuns; ++run) {
        program.push_back(Timed([&] { app::SavePiecesAs(form, form.Handle(), work + L"\\Piece"); }, L"pieces were saved"));
        RemoveFiles(work);
        double encoder = 0;
        for (const std::wstring& command : runs) encoder += Bare(command);
        bare.push_back(encoder);
        RemoveFiles(work);
    }
    // Each piece saved as a selection of its own, once.
    double singles = 0;
    for (std::size_t k = 0; k < splits.Pieces(); ++k) {
        const double start = static_cast<double>(splits.PieceFirst(k)) / rate;
        const double end = static_cast<double>(splits.PieceEnd(k)) / rate;
        form.Label(5).SetCaption(app::FormatSeconds(start));
        form.Label(7).SetCaption(app::FormatSeconds(end));
        form.Label(9).SetCaption(app::FormatSeconds(end - start));
        singles += Timed([&] { app::SaveSelectionAs(form, work + L"\\single.mp3"); }, L"MP3 has been cut!");
    }
    RemoveFiles(work);
    ::RemoveDirectoryW(work.c_str());

    const double programTime = Median(program), bareTime = Median(bare);
    std::wprintf(L"\nThe two-hour MP3 cut into %d pieces (median of %d runs)\n", kPieces, kRuns);
    std::wprintf(L"  program's save of all pieces              %8.3f s\n", programTime);
    std::wprintf(L"  the same encoder runs (%zu) started bare    %8.3f s\n", runs.size(), bareTime);
    std::wprintf(L"  30 single saves of the same pieces        %8.3f s\n", singles);
    std::wprintf(L"  program / bare                            %8.3f x (goal: within 1.3 x)\n", programTime / bareTime);
    std::wprintf(L"  program / 30 single saves                 %8.3f x (goal: within 0.2 x)\n", programTime / singles);
    return 0;
}
