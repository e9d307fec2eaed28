#include "runner/DOSOutputs.h"

#include "base/MessageLoop.h"
#include "runner/AnsiDecoder.h"
#include "runner/ChildProcess.h"
#include "runner/PipeReader.h"

namespace runner {

namespace {
constexpr UINT kFailureFlags = MB_OK | MB_ICONERROR;
}

std::wstring DOSOutputs::ExecuteCommand(const std::wstring& commandLine) {
    if (!commandLine.empty()) commandLine_ = commandLine;
    if (commandLine_.empty()) {
        base::ShowMessage(L"Command Line empty", kFailureFlags);
        return {};
    }
    OutputPipe pipe = OutputPipe::Create();
    if (!pipe) {
        base::ShowMessage(L"CreatePipe failed. Error: " + std::to_wstring(pipe.error), kFailureFlags);
        return {};
    }
    DWORD error = 0;
    ChildProcess child = ChildProcess::Start(commandLine_, pipe.writeEnd.Get(), error);
    if (!child) {
        pipe = OutputPipe{};
        base::ShowMessage(L"File or command not found", kFailureFlags);
        return {};
    }
    pipe.writeEnd.Reset();
    output_.clear();
    AnsiDecoder decoder;
    char buffer[PipeReader::kBlockSize];
    for (;;) {
        DWORD read = 0;
        bool ok = ::ReadFile(pipe.readEnd.Get(), buffer, sizeof buffer, &read, nullptr) != FALSE;
        std::wstring block = decoder.Decode(std::string_view(buffer, read));
        if (!ok) block += decoder.Flush();
        output_ += block;
        ReceiveOutputs.Raise(block);
        if (!ok) break;
    }
    return output_;
}

}  // namespace runner
