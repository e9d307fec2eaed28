#include "app/ProgramEncoder.h"

#include <windows.h>

#include <algorithm>
#include <cwctype>
#include <optional>

#include "app/Files.h"
#include "base/SystemErrorText.h"
#include "runner/ChildProcess.h"
#include "runner/CommandLine.h"
#include "runner/PipeReader.h"

namespace app {

namespace {

// Far longer than the seams of any save take to encode; only a hung encoder meets it.
constexpr ULONGLONG kEncoderTimeoutMs = 120000;
// How often a run looks at whether the save was given up.
constexpr DWORD kStopCheckMs = 50;
constexpr DWORD kEndTimeoutMs = 5000;
// The encoder's last words are the reason; more than this is not read.
constexpr std::size_t kMostKept = 2000;

std::wstring Widened(const std::string& text) {
    if (text.empty()) return {};
    std::wstring wide(text.size(), L'\0');
    const int length = ::MultiByteToWideChar(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), wide.data(),
                                             static_cast<int>(wide.size()));
    wide.resize(static_cast<std::size_t>(std::max(length, 0)));
    return wide;
}

std::wstring Trimmed(std::wstring text) {
    while (!text.empty() && std::iswspace(text.back())) text.pop_back();
    return text;
}

}  // namespace

ProgramEncoder::ProgramEncoder(const std::atomic<bool>& stop, std::wstring program)
    : stop_(stop), program_(program.empty() ? ProgramFolder() + L"\\ffmpeg.exe" : std::move(program)) {}

void ProgramEncoder::Encode(const std::wstring& pcm, const media::FrameHeader& format,
                            const std::vector<Output>& outputs) {
    ++runs_;
    std::wstring command = runner::QuoteArgument(program_) + L" -nostdin -y -hide_banner -loglevel error -f s16le -ar " +
                           std::to_wstring(format.sampleRate) + L" -ac " + std::to_wstring(format.channels) + L" -i " +
                           runner::QuoteArgument(pcm);
    for (const Output& output : outputs)
        command += L" -c:a libmp3lame -b:a " + std::to_wstring(output.bitrate) + L" -reservoir 0 -f mp3 " +
                   runner::QuoteArgument(output.mp3);
    auto removeOutputs = [&outputs] {
        for (const Output& output : outputs) ::DeleteFileW(output.mp3.c_str());
    };

    runner::OutputPipe pipe = runner::OutputPipe::Create();
    DWORD error = pipe.error;
    runner::ChildProcess child;
    if (pipe) child = runner::ChildProcess::Start(command, pipe.writeEnd.Get(), error);
    // Only the child holds the write end now, so the pipe ends when it does.
    pipe.writeEnd.Reset();
    if (!child)
        throw media::MediaError(L"The encoder " + media::FileNameOf(program_) + L" could not be started: " +
                                Trimmed(base::SystemErrorText(error)));
    runner::PipeReader reader(std::move(pipe.readEnd), child.Process());
    if (!reader.Started()) {
        child.EndAll(1, kEndTimeoutMs);
        throw media::MediaError(L"The encoder's messages could not be read: " + Trimmed(base::SystemErrorText(reader.Error())));
    }

    std::string said;
    std::optional<std::uint32_t> code;
    bool ended = false;
    const ULONGLONG deadline = ::GetTickCount64() + kEncoderTimeoutMs;
    while (!ended) {
        if (stop_ || ::GetTickCount64() > deadline) {
            child.EndAll(1, kEndTimeoutMs);
            removeOutputs();
            if (stop_) return;
            throw media::MediaError(L"The encoder " + media::FileNameOf(program_) + L" did not finish and was ended.");
        }
        ::WaitForSingleObject(reader.BlockReady(), kStopCheckMs);
        while (auto block = reader.Take()) {
            said += block->bytes;
            if (said.size() > kMostKept) said.erase(0, said.size() - kMostKept);
            if (!block->readSucceeded) {
                ended = true;
                code = block->exitCode;
            }
        }
    }
    if (code == 0u) return;
    removeOutputs();
    const std::wstring reason = Trimmed(Widened(said));
    throw media::MediaError(L"The encoder " + media::FileNameOf(program_) + L" failed" +
                            (code ? L" (exit code " + std::to_wstring(*code) + L")" : std::wstring()) +
                            (reason.empty() ? L"." : L": " + reason));
}

}  // namespace app
