// ReplayGain tags written by Save Selection and Save Pieces, read back with the
// host's ffprobe and held against ffmpeg's own loudness meter on the saved audio.
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <map>
#include <sstream>

#include "SaveFixtures.h"
#include "app/Form1.h"
#include "app/SaveSelection.h"
#include "app/UserSettings.h"
#include "app/waveform/LevelCommands.h"
#include "app/waveform/SavePieces.h"
#include "app/waveform/WaveformWindow.h"
#include "support/DialogWatcher.h"
#include "support/WindowTesting.h"

namespace {

using save_tests::ScratchFolder;

// A file's tags as ffprobe reads them, upper-cased names, and ffmpeg's integrated
// loudness and true peak of its audio.
struct Measured {
    std::map<std::string, std::string> tags;
    double integrated = 0, truePeak = 0;
};

Measured Measure(const std::wstring& path) {
    const std::string file = save_tests::HostPath(path);
    const std::string report = save_tests::RunOnHost(
        "ffprobe -v error -show_entries format_tags -of default=nw=1 '" + file +
        "'; ffmpeg -nostdin -hide_banner -nostats -i '" + file +
        "' -af ebur128=peak=true -f null - 2>&1 | grep -E '^ +(I|Peak):' | tail -2");
    Measured measured;
    std::istringstream lines(report);
    bool truePeakNext = false;
    for (std::string line; std::getline(lines, line);) {
        if (line.rfind("TAG:", 0) == 0) {
            std::string name = line.substr(4, line.find('=') - 4);
            std::transform(name.begin(), name.end(), name.begin(), ::toupper);
            measured.tags[name] = line.substr(line.find('=') + 1);
        } else if (line.find("I:") != std::string::npos) {
            measured.integrated = std::atof(line.c_str() + line.find(':') + 1);
            truePeakNext = true;
        } else if (truePeakNext && line.find("Peak:") != std::string::npos) {
            measured.truePeak = std::atof(line.c_str() + line.find(':') + 1);
        }
    }
    return measured;
}

// How often ReplayGain frames stand in the file's bytes, in any case.
int ReplayGainFrames(const std::wstring& path) {
    std::string bytes = save_tests::ReadAll(path);
    std::transform(bytes.begin(), bytes.end(), bytes.begin(), ::toupper);
    int count = 0;
    for (std::size_t at = bytes.find("REPLAYGAIN_"); at != std::string::npos; at = bytes.find("REPLAYGAIN_", at + 1)) ++count;
    return count;
}

double Gain(const std::string& text) { return std::atof(text.c_str()); }  // "-3.21 dB"
double PeakDb(const std::string& text) { return 20 * std::log10(std::atof(text.c_str())); }

}  // namespace

// The source carries ReplayGain frames of its own (a track gain, peak and album gain).
TEST(ReplayGain, SavesWriteTheSavedAudiosGainAndPeakInPlaceOfTheSources) {
    app::UserSettings().SetNumber(app::kReplayGainTagsSetting, 1);
    testing_support::DialogWatcher watcher;
    app::Form1 form;
    const std::wstring source = testing_support::FixturePath(L"loudness\\pink_tagged.mp3");
    form.Show();
    form.OpenMp3(source);
    ASSERT_TRUE(testing_support::PumpUntil([&] { return form.player().PlayState() == app::MediaPlayer::kPlaying; }, 10000));
    form.player().Pause();
    form.ShowWaveform();
    ASSERT_TRUE(testing_support::PumpUntil([&] { return form.Waveform()->Peaks()->Finished(); }, 20000));
    ASSERT_TRUE(form.MoveStart(1));
    ASSERT_TRUE(form.MoveEnd(13));
    ASSERT_TRUE(form.Levels().SetLevelDb(-3));

    ScratchFolder folder(L"replaygain");
    app::SaveSelectionAs(form, folder / L"cut.mp3");
    ASSERT_FALSE(watcher.Seen().empty());
    ASSERT_EQ(watcher.Seen().back().text, L"MP3 has been cut!");
    form.Splits().Add(7 * 44100);
    app::SavePiecesAs(form, form.Handle(), folder / L"Part");
    ASSERT_EQ(watcher.Seen().back().text, L"2 pieces were saved in\r\n" + folder.Path());
    app::UserSettings().Clear();

    const Measured whole = Measure(source);
    struct Case {
        const wchar_t* file;
        int frames;  // of ReplayGain
    } cases[] = {{L"cut.mp3", 2}, {L"Part 01.mp3", 4}, {L"Part 02.mp3", 4}};
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::PrintToString(std::wstring(c.file)));
        Measured saved = Measure(folder / c.file);
        ASSERT_EQ(saved.tags.count("REPLAYGAIN_TRACK_GAIN"), 1u);
        EXPECT_NEAR(Gain(saved.tags["REPLAYGAIN_TRACK_GAIN"]), -18 - saved.integrated, 0.15);
        EXPECT_NE(saved.tags["REPLAYGAIN_TRACK_GAIN"].find(" dB"), std::string::npos);
        EXPECT_NEAR(PeakDb(saved.tags["REPLAYGAIN_TRACK_PEAK"]), saved.truePeak, 0.25);
        EXPECT_EQ(ReplayGainFrames(folder / c.file), c.frames);  // the source's are gone, none doubled
        if (c.frames == 4) {
            // The album: both pieces together, the whole file 3 dB quieter.
            EXPECT_NEAR(Gain(saved.tags["REPLAYGAIN_ALBUM_GAIN"]), -18 - (whole.integrated - 3), 0.15);
            EXPECT_NEAR(PeakDb(saved.tags["REPLAYGAIN_ALBUM_PEAK"]), whole.truePeak - 3, 0.25);
        }
    }
}
