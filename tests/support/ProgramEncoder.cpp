#include "support/ProgramEncoder.h"

#include <windows.h>

#include <string>

#include "media/MediaError.h"
#include "media/MediaFile.h"
#include "runner/ChildProcess.h"
#include "runner/CommandLine.h"

namespace testing_support {

namespace {

// Far longer than any seam encoding takes; only a hung encoder meets it.
constexpr DWORD kEncoderTimeoutMs = 120000;

std::wstring BesideThisProgram(const std::wstring& name) {
    wchar_t module[MAX_PATH] = {};
    ::GetModuleFileNameW(nullptr, module, MAX_PATH);
    std::wstring path = module;
    return path.substr(0, path.find_last_of(L'\\') + 1) + name;
}

}  // namespace

ProgramEncoder::ProgramEncoder(std::wstring program)
    : program_(program.empty() ? BesideThisProgram(L"ffmpeg.exe") : std::move(program)) {}

void ProgramEncoder::Encode(const std::wstring& pcm, const media::FrameHeader& format,
                            const std::vector<Output>& outputs) {
    ++runs_;
    const std::wstring log = pcm + L".log";
    SECURITY_ATTRIBUTES inherit{sizeof inherit, nullptr, TRUE};
    std::wstring command = runner::QuoteArgument(program_) + L" -nostdin -y -hide_banner -loglevel error -f s16le -ar " +
                           std::to_wstring(format.sampleRate) + L" -ac " + std::to_wstring(format.channels) + L" -i " +
                           runner::QuoteArgument(pcm);
    for (const Output& output : outputs)
        command += L" -c:a libmp3lame -b:a " + std::to_wstring(output.bitrate) + L" -reservoir 0 -f mp3 " +
                   runner::QuoteArgument(output.mp3);
    DWORD error = 0;
    DWORD code = 1;
    {
        base::KernelHandle output(::CreateFileW(log.c_str(), GENERIC_WRITE, FILE_SHARE_READ, &inherit, CREATE_ALWAYS,
                                                FILE_ATTRIBUTE_NORMAL, nullptr));
        const runner::ChildProcess child = runner::ChildProcess::Start(command, output.Get(), error);
        if (child) {
            if (!child.WaitForExit(kEncoderTimeoutMs)) child.EndAll(1, kEncoderTimeoutMs);
            ::GetExitCodeProcess(child.Process(), &code);
        }
    }
    std::string said;
    {
        const media::MediaFile file(log);
        said.resize(static_cast<std::size_t>(file.Size()));
        said.resize(file.ReadAt(0, said.data(), said.size()));
    }
    ::DeleteFileW(log.c_str());
    if (code == 0) return;
    for (const Output& output : outputs) ::DeleteFileW(output.mp3.c_str());
    if (error != 0) throw media::MediaError(L"The encoder could not be started (error " + std::to_wstring(error) + L").");
    throw media::MediaError(L"The encoder failed: " + std::wstring(said.begin(), said.end()));
}

}  // namespace testing_support
