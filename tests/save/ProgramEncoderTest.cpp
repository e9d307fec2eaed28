// The program's seam encoder run as it is in use: the real ffmpeg.exe beside
// the program, in folders with names no code page holds.
#include <windows.h>

#include <gtest/gtest.h>

#include <cmath>
#include <cwchar>
#include <vector>

#include "SaveFixtures.h"
#include "app/ProgramEncoder.h"
#include "media/MediaError.h"
#include "media/MediaFile.h"
#include "media/Mp3Reader.h"

namespace {

using save_tests::ScratchFolder;

// A second of a tone, as the writer hands the encoder its seams' audio.
void WriteTone(const std::wstring& path, int rate, int channels) {
    std::vector<std::int16_t> samples;
    for (int i = 0; i < rate; ++i)
        for (int c = 0; c < channels; ++c)
            samples.push_back(static_cast<std::int16_t>(8000 * std::sin(2 * 3.14159265 * 440 * i / rate)));
    base::KernelHandle file(::CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));
    DWORD written = 0;
    ASSERT_TRUE(::WriteFile(file.Get(), samples.data(), static_cast<DWORD>(samples.size() * 2), &written, nullptr));
}

media::FrameHeader Format(int rate, int channels) {
    media::FrameHeader format{};
    format.sampleRate = rate;
    format.channels = channels;
    return format;
}

TEST(ProgramEncoder, EncodesEachOutputOrSaysWhyItCannot) {
    struct Case {
        const char* what;
        const wchar_t* folder;
        bool missingProgram;
        bool missingAudio;
        bool givenUp;
        const wchar_t* said;  // the start of the message, or none where the encoding is made or given up
        const wchar_t* reason;  // a part of the reason the message gives
    } const cases[] = {
        {"plain names", L"encoder", false, false, false, nullptr, nullptr},
        {"names beyond any code page", L"encoder \u0436\u00fc\u4e2d \u2713", false, false, false, nullptr, nullptr},
        {"the encoder is missing", L"encoder", true, false, false, L"The encoder ffmpeg.exe could not be started: ",
         L""},
        {"the encoder fails", L"encoder \u0436", false, true, false, L"The encoder ffmpeg.exe failed (exit code ",
         L"seams.pcm"},
        {"the save is given up", L"encoder", false, false, true, nullptr, nullptr},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        ScratchFolder folder(c.folder);
        const std::wstring pcm = folder / L"seams.pcm";
        if (!c.missingAudio) WriteTone(pcm, 44100, 2);
        std::atomic<bool> stop{c.givenUp};
        app::ProgramEncoder encoder(stop, c.missingProgram ? folder / L"ffmpeg.exe" : std::wstring());
        const std::vector<media::SeamEncoder::Output> outputs{{320000, folder / L"best \u00e9.mp3"},
                                                               {128000, folder / L"carrier.mp3"}};
        try {
            encoder.Encode(pcm, Format(44100, 2), outputs);
            EXPECT_EQ(c.said, nullptr);
        } catch (const media::MediaError& error) {
            ASSERT_NE(c.said, nullptr) << testing::PrintToString(error.Reason());
            EXPECT_EQ(error.Reason().rfind(c.said, 0), 0u) << testing::PrintToString(error.Reason());
            EXPECT_NE(error.Reason().find(c.reason, std::wcslen(c.said)), std::wstring::npos) << testing::PrintToString(error.Reason());
            EXPECT_GT(error.Reason().size(), std::wcslen(c.said) + 2) << "a reason is given";
        }
        const bool made = c.said == nullptr && !c.givenUp;
        for (const auto& output : outputs) {
            SCOPED_TRACE(testing::PrintToString(output.mp3));
            const DWORD attributes = ::GetFileAttributesW(output.mp3.c_str());
            ASSERT_EQ(attributes != INVALID_FILE_ATTRIBUTES, made);
            if (!made) continue;
            const media::MediaFile file(output.mp3);
            const auto index = media::Mp3Reader(file).Read();
            EXPECT_EQ(index.format.bitrate, output.bitrate) << "each output at its own bitrate";
            EXPECT_GE(index.FrameCount(), 38u) << "a second of audio";
        }
    }
}

}  // namespace
