#pragma once
// What the save tests share: the generated input files, a scratch folder of
// their own, and measuring a written MP3 with the host's ffprobe and ffmpeg.
#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

#include "media/Mp3Index.h"

namespace save_tests {

// A file the save fixture script made (build\fixtures\save).
std::wstring Fixture(const std::wstring& name);
// A source of the exact-cut tests (build\fixtures\exact).
std::wstring ExactSource(const std::wstring& name);
// The engine's index of an MP3 file.
media::Mp3Index ReadIndex(const std::wstring& path);

// A fresh, empty folder for one test, removed with everything in it when the
// object goes away.
class ScratchFolder {
public:
    explicit ScratchFolder(const std::wstring& name);
    ScratchFolder(const ScratchFolder&) = delete;
    ScratchFolder& operator=(const ScratchFolder&) = delete;
    ~ScratchFolder();
    const std::wstring& Path() const noexcept { return path_; }
    std::wstring operator/(const std::wstring& name) const { return path_ + L"\\" + name; }
    // The names of the files in it, or in another folder.
    std::vector<std::wstring> Files() const { return FilesIn(path_); }
    static std::vector<std::wstring> FilesIn(const std::wstring& folder);

private:
    std::wstring path_;
};

// The host's own name for a file or folder of the Windows side.
std::string HostPath(const std::wstring& path);
// Runs a shell command on the host and returns what it printed.
std::string RunOnHost(const std::string& script);

// The system calls of this process that `calls` names (strace's -e trace=), with the
// file behind each descriptor, traced by the host's strace while the object lives.
class HostSystemCallTrace {
public:
    explicit HostSystemCallTrace(const std::string& calls);
    HostSystemCallTrace(const HostSystemCallTrace&) = delete;
    HostSystemCallTrace& operator=(const HostSystemCallTrace&) = delete;
    ~HostSystemCallTrace() { Stop(); }
    // False where the host cannot trace; then why not.
    bool Tracing() const noexcept { return !tracer_.empty(); }
    const std::string& Refusal() const noexcept { return refusal_; }
    // Ends the tracing and returns what it saw.
    std::string Stop();

private:
    std::wstring log_;
    std::string tracer_;  // the host's process id of the tracer
    std::string refusal_;
};

std::string ReadAll(const std::wstring& path);
// A raw decode's samples (16-bit, as the host's decoders write them).
std::vector<std::int16_t> ReadPcm(const std::wstring& path);
void WriteAll(const std::wstring& path, const std::string& bytes);

// What the host's tools say about an MP3 file.
struct Probe {
    bool ok = false;
    double duration = 0;  // of the decoded audio, in seconds
    std::wstring title;
    std::wstring encoder;  // the library that wrote the file, as its tag names it
    bool hasCover = false;
    int audioStreams = 0;
    // Where each silence begins, in seconds from the start of the decoded audio.
    std::vector<double> silenceStarts;
    std::string raw;
};
Probe ProbeFile(const std::wstring& path);

// The source time at which a cut's audio begins, measured by matching the
// silences of the cut against those of the source; NaN when they do not match.
double MeasuredStart(const Probe& source, const Probe& cut, double expectedStart);

}  // namespace save_tests
