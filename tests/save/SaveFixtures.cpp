#include "SaveFixtures.h"

#include <cmath>
#include <cstdlib>
#include <cstring>
#include <limits>
#include <sstream>

#include "app/Files.h"
#include "base/Handles.h"
#include "media/MediaFile.h"
#include "media/Mp3Reader.h"
#include "support/WindowTesting.h"

namespace save_tests {

namespace {

// How long the host's tools may take before a command counts as failed.
constexpr DWORD kHostTimeoutMs = 120000;
// Decoded audio is measured as 16-bit mono samples at this rate.
constexpr double kProbeRate = 44100;

std::wstring Widen(const std::string& text) {
    int length = ::MultiByteToWideChar(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
    std::wstring wide(static_cast<std::size_t>(length), L'\0');
    ::MultiByteToWideChar(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), wide.data(), length);
    return wide;
}

struct FindTraits {
    using Handle = HANDLE;
    static Handle Invalid() noexcept { return INVALID_HANDLE_VALUE; }
    static bool IsValid(Handle h) noexcept { return h != INVALID_HANDLE_VALUE; }
    static void Close(Handle h) noexcept { ::FindClose(h); }
};

// What a folder holds, less "." and "..".
std::vector<WIN32_FIND_DATAW> Entries(const std::wstring& folder) {
    std::vector<WIN32_FIND_DATAW> entries;
    WIN32_FIND_DATAW found{};
    base::UniqueHandle<FindTraits> search(::FindFirstFileW(app::ExtendedLengthPath(folder + L"\\*").c_str(), &found));
    if (!search) return entries;
    do {
        const std::wstring name = found.cFileName;
        if (name != L"." && name != L"..") entries.push_back(found);
    } while (::FindNextFileW(search.Get(), &found));
    return entries;
}

void RemoveTree(const std::wstring& folder) {
    for (const WIN32_FIND_DATAW& entry : Entries(folder)) {
        const std::wstring path = folder + L"\\" + entry.cFileName;
        if (entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
            RemoveTree(path);
        else
            ::DeleteFileW(app::ExtendedLengthPath(path).c_str());
    }
    ::RemoveDirectoryW(app::ExtendedLengthPath(folder).c_str());
}

}  // namespace

// Wine maps drive Z: to "/".
std::string HostPath(const std::wstring& path) {
    using UnixName = char*(CDECL*)(const wchar_t*);
    auto toUnix = reinterpret_cast<UnixName>(
        reinterpret_cast<void*>(::GetProcAddress(::GetModuleHandleW(L"kernel32.dll"), "wine_get_unix_file_name")));
    if (!toUnix) return {};
    char* name = toUnix(path.c_str());
    if (!name) return {};
    std::string result(name);
    ::HeapFree(::GetProcessHeap(), 0, name);
    return result;
}

std::string RunOnHost(const std::string& script) {
    ScratchFolder work(L"host");
    const std::string report = HostPath(work / L"report.txt");
    const std::string done = HostPath(work / L"report.done");
    std::string command = "/bin/sh -c \"(" + script + ") > '" + report + "' 2>&1; mv '" + report + "' '" + done + "'\"";
    std::wstring line = Widen(command);
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION info{};
    // Wine starts a host program for this; it cannot be waited for, so its report file is.
    if (!::CreateProcessW(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &info))
        return {};
    base::KernelHandle thread(info.hThread);
    base::KernelHandle process(info.hProcess);
    const std::wstring doneFile = work / L"report.done";
    for (DWORD waited = 0; !app::FileExists(doneFile) && waited < kHostTimeoutMs; waited += 50) ::Sleep(50);
    return ReadAll(doneFile);
}

std::wstring Fixture(const std::wstring& name) { return testing_support::FixturePath(L"save\\" + name); }

std::wstring ExactSource(const std::wstring& name) { return testing_support::FixturePath(L"exact\\" + name); }

media::Mp3Index ReadIndex(const std::wstring& path) {
    media::MediaFile file(path);
    return media::Mp3Reader(file).Read();
}

ScratchFolder::ScratchFolder(const std::wstring& name) {
    wchar_t temp[MAX_PATH] = {};
    ::GetTempPathW(MAX_PATH, temp);
    path_ = std::wstring(temp) + L"snipmill-" + name + L"-" + std::to_wstring(::GetCurrentProcessId());
    RemoveTree(path_);
    ::CreateDirectoryW(path_.c_str(), nullptr);
}

ScratchFolder::~ScratchFolder() { RemoveTree(path_); }

std::vector<std::wstring> ScratchFolder::FilesIn(const std::wstring& folder) {
    std::vector<std::wstring> names;
    for (const WIN32_FIND_DATAW& entry : Entries(folder)) names.push_back(entry.cFileName);
    return names;
}

HostSystemCallTrace::HostSystemCallTrace(const std::string& calls) {
    wchar_t module[MAX_PATH] = {};
    ::GetModuleFileNameW(nullptr, module, MAX_PATH);
    const std::wstring path = module;
    const std::wstring program = path.substr(path.find_last_of(L"\\/") + 1);
    wchar_t folder[MAX_PATH] = {};
    ::GetTempPathW(MAX_PATH, folder);
    log_ = std::wstring(folder) + L"snipmill-trace-" + std::to_wstring(::GetCurrentProcessId()) + L".txt";
    // This process on the host is the Wine process of this prefix started as this
    // program; Wine's server of the prefix does some of its file work (renames
    // among it) and is traced too. Tracing has begun once the kernel names a
    // tracer of each. The script prints the tracer's process id, or why there is none.
    const std::string errors = HostPath(log_) + ".errors";
    const std::string started = RunOnHost(
        "command -v strace >/dev/null || { echo the host has no strace; exit; }; me=WINEPREFIX=$WINEPREFIX; "
        "client=0; server=0; "
        "for d in /proc/[0-9]*; do p=${d#/proc/}; tr '\\0' '\\n' 2>/dev/null </proc/$p/environ | grep -qxF -e $me || continue; "
        "case $(readlink /proc/$p/exe) in *wineserver*) server=$p;; *) case $(head -z -n 1 /proc/$p/cmdline | tr -d "
        "'\\0') in *" + std::string(program.begin(), program.end()) + ") client=$p;; esac;; esac; done; "
        "test $client -gt 0 && test $server -gt 0 || { echo the test program or its Wine server was not found among "
        "the host processes; exit; }; strace -f -qq -y -e trace=" + calls + " -o '" + HostPath(log_) +
        "' -p $client -p $server >/dev/null 2>'" + errors + "' & t=$!; for p in $client $server; do while ! grep -q "
        "'TracerPid:[[:space:]]*[1-9]' /proc/$p/status; do kill -0 $t 2>/dev/null || { echo strace refused: "
        "$(cat '" + errors + "'); rm -f '" + errors + "'; exit; }; sleep 0.05; done; "
        "done; rm -f '" + errors + "'; echo $t");
    const std::string first = started.substr(0, started.find('\n'));
    if (!first.empty() && first.find_first_not_of("0123456789") == std::string::npos)
        tracer_ = first;
    else
        refusal_ = started.empty() ? "the host's shell gave no answer" : started;
}

std::string HostSystemCallTrace::Stop() {
    if (tracer_.empty()) return {};
    // Ended (a zombie or gone), it has written all it saw.
    const std::string status = "/proc/" + tracer_ + "/status";
    RunOnHost("kill " + tracer_ + "; while [ -e " + status + " ] && ! grep -q '^State:[[:space:]]*Z' " + status +
              "; do sleep 0.05; done");
    tracer_.clear();
    std::string trace = ReadAll(log_);
    ::DeleteFileW(log_.c_str());
    return trace;
}

std::string ReadAll(const std::wstring& path) {
    base::KernelHandle file(::CreateFileW(app::ExtendedLengthPath(path).c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                          OPEN_EXISTING, 0, nullptr));
    if (!file) return {};
    std::string bytes;
    char buffer[65536];
    DWORD read = 0;
    while (::ReadFile(file.Get(), buffer, sizeof buffer, &read, nullptr) && read > 0) bytes.append(buffer, read);
    return bytes;
}

std::vector<std::int16_t> ReadPcm(const std::wstring& path) {
    const std::string bytes = ReadAll(path);
    std::vector<std::int16_t> pcm(bytes.size() / 2);
    std::memcpy(pcm.data(), bytes.data(), pcm.size() * 2);
    return pcm;
}

void WriteAll(const std::wstring& path, const std::string& bytes) {
    base::KernelHandle file(
        ::CreateFileW(app::ExtendedLengthPath(path).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));
    DWORD written = 0;
    if (file) ::WriteFile(file.Get(), bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
}

Probe ProbeFile(const std::wstring& path) {
    Probe probe;
    // The host's tools get a plain copy: its name needs no care in a shell.
    ScratchFolder work(L"probe");
    const std::wstring copy = work / L"probed.mp3";
    if (!::CopyFileW(app::ExtendedLengthPath(path).c_str(), copy.c_str(), FALSE)) return probe;
    const std::string file = HostPath(copy);
    probe.raw = RunOnHost(
        "ffprobe -v error -show_entries format=duration:format_tags=title,encoder:stream=codec_type "
        "-of default=nw=1 '" +
        file +
        "'; "
        "echo decoded_bytes=$(ffmpeg -v error -nostdin -i '" +
        file +
        "' -map 0:a -f s16le -ac 1 -ar 44100 - | wc -c); "
        "ffmpeg -hide_banner -nostdin -i '" +
        file +
        "' -map 0:a -af silencedetect=n=-40dB:d=0.1 -f null - 2>&1 "
        "| grep -o 'silence_start: [0-9.]*'");
    std::istringstream lines(probe.raw);
    for (std::string entry; std::getline(lines, entry);) {
        if (entry.rfind("decoded_bytes=", 0) == 0) {
            probe.duration = std::atof(entry.c_str() + 14) / 2 / kProbeRate;
            probe.ok = probe.duration > 0;
        } else if (entry.rfind("TAG:title=", 0) == 0) {
            probe.title = Widen(entry.substr(10));
        } else if (entry.rfind("TAG:encoder=", 0) == 0) {
            probe.encoder = Widen(entry.substr(12));
        } else if (entry == "codec_type=video") {
            probe.hasCover = true;
        } else if (entry == "codec_type=audio") {
            ++probe.audioStreams;
        } else if (entry.rfind("silence_start: ", 0) == 0) {
            probe.silenceStarts.push_back(std::atof(entry.c_str() + 15));
        }
    }
    return probe;
}

double MeasuredStart(const Probe& source, const Probe& cut, double expectedStart) {
    if (cut.silenceStarts.empty()) return std::numeric_limits<double>::quiet_NaN();
    // The first silence that begins after the cut's first frame (a silence running at the start is cut short).
    double first =
        cut.silenceStarts.front() > 0.05 || cut.silenceStarts.size() < 2 ? cut.silenceStarts[0] : cut.silenceStarts[1];
    double best = std::numeric_limits<double>::quiet_NaN();
    for (double s : source.silenceStarts) {
        double start = s - first;
        if (std::isnan(best) || std::abs(start - expectedStart) < std::abs(best - expectedStart)) best = start;
    }
    return best;
}

}  // namespace save_tests
