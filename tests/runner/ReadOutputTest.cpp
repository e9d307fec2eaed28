#include "runner/ReadOutput.h"

#include <windows.h>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <optional>
#include <string>
#include <vector>

#include "ChildCommands.h"
#include "base/Handles.h"
#include "forms/Timer.h"
#include "support/WindowTesting.h"

namespace {

using runner::ReadOutput;
using runner_tests::Encoder;
using runner_tests::SilentEncoderRun;
using runner_tests::TestChild;
using namespace ::testing;
using testing_support::LiveChildrenOf;

// Everything a run reports, in order.
struct Recorder {
    explicit Recorder(ReadOutput& runner) {
        runner.Error.Subscribe([this](const std::wstring& description, std::int32_t& number) {
            events.push_back(L"Error " + std::to_wstring(number) + L" " + description);
        });
        runner.GotChunk.Subscribe([this](const std::wstring& chunk, bool last) {
            events.push_back(last ? L"GotChunk last" : L"GotChunk");
            chunks.push_back(chunk);
            if (!last)
                text += chunk;
            else
                lastChunk = chunk;
        });
        runner.Complete.Subscribe([this] { events.push_back(L"Complete"); });
        runner.Starting.Subscribe([this] { events.push_back(L"Starting"); });
        runner.Canceled.Subscribe([this] { events.push_back(L"Canceled"); });
    }
    // The events with runs of plain GotChunk folded into one.
    std::vector<std::wstring> Outline() const {
        std::vector<std::wstring> outline;
        for (const auto& e : events)
            if (outline.empty() || outline.back() != e || e != L"GotChunk") outline.push_back(e);
        return outline;
    }

    std::vector<std::wstring> events;
    std::vector<std::wstring> chunks;
    std::wstring text;
    std::wstring lastChunk = L"(none)";
};

bool ProcessIsGone(DWORD id) {
    base::KernelHandle process(::OpenProcess(SYNCHRONIZE, FALSE, id));
    return !process || ::WaitForSingleObject(process.Get(), 0) == WAIT_OBJECT_0;
}

std::size_t InheritableHandles() {
    std::size_t count = 0;
    for (HANDLE handle : testing_support::KernelHandles()) {
        DWORD flags = 0;
        if (::GetHandleInformation(handle, &flags) && (flags & HANDLE_FLAG_INHERIT)) ++count;
    }
    return count;
}

std::wstring Lines(int count) {
    std::wstring text;
    for (int i = 1; i <= count; ++i) text += L"line " + std::to_wstring(i) + L" of the output\r\n";
    return text;
}

// A command run from start to end, and what it reports.
struct RunCase {
    const char* name;
    bool directStart;
    std::wstring command;
    std::vector<std::wstring> outline;  // the events, runs of plain GotChunk folded into one
    Matcher<const std::wstring&> text;  // the chunks before the last one, joined
    Matcher<std::optional<std::uint32_t>> exitCode;
    Matcher<const std::vector<std::wstring>&> chunks = _;
};

std::vector<RunCase> RunCases() {
    using Events = std::vector<std::wstring>;
    const Events ran{L"Starting", L"GotChunk", L"GotChunk last", L"Complete"};
    const Events ranSilently{L"Starting", L"GotChunk last", L"Complete"};
    const Events invalidCommand{L"Error 1200 Invalid Command."};
    const Events notFound{L"Error 2 CreateProcess failed."};
    return {
        {"OutputOverOneBlockArrivesInChunksThenAnEmptyLastOneThenComplete", false,
         L"for /L %i in (1,1,30) do @echo line %i of the output", ran, Eq(Lines(30)), Optional(0u), SizeIs(Gt(2u))},
        {"ACommandWithoutOutputStillStartsAndCompletes", false, L"rem nothing to say", ranSilently, IsEmpty(), _},
        {"AMissingProgramCompletesWithTheInterpretersTextAsChunks", false, L"no_such_program_anywhere.exe --help", ran,
         HasSubstr(L"no_such_program_anywhere"), Optional(Ne(0u))},
        {"AnEmptyCommandRaisesOnly1200", false, L"", invalidCommand, _, _},
        {"ADirectStartOfAMissingProgramRaisesCreateProcessFailedWithTheSystemCode", true,
         L"\"" + runner_tests::ProgramFolder() + L"\\no_such_encoder.exe\" -version", notFound, _, _},
        {"ADirectStartRunsTheProgramWithoutTheInterpreter", true, Encoder() + L" -nostdin -hide_banner -no_such_option",
         ran, HasSubstr(L"no_such_option"), Optional(1u)},
        {"PercentSignsReachADirectlyStartedProgramUnexpanded", true,
         Encoder() + L" -nostdin -hide_banner -i \"%PATH% 100%.mp3\"", ran, HasSubstr(L"%PATH% 100%.mp3"), _},
    };
}

class ReadOutputRun : public TestWithParam<RunCase> {};

TEST_P(ReadOutputRun, ReportsItsEventsOutputAndExitCode) {
    const RunCase& run = GetParam();
    ReadOutput runner;
    Recorder recorder(runner);
    runner.SetDirectStart(run.directStart);
    runner.SetCommand(run.command);
    runner.ProcessCommand();
    EXPECT_EQ(recorder.Outline(), run.outline);
    EXPECT_THAT(recorder.text, run.text);
    EXPECT_THAT(runner.ExitCode(), run.exitCode);
    EXPECT_THAT(recorder.chunks, run.chunks);
    EXPECT_THAT(recorder.chunks, Each(SizeIs(Le(256u))));
    if (std::ranges::find(run.outline, L"GotChunk last") != run.outline.end()) {
        EXPECT_EQ(recorder.lastChunk, L"");
    }
    EXPECT_FALSE(runner.Processing());
}

INSTANTIATE_TEST_SUITE_P(Commands, ReadOutputRun, ValuesIn(RunCases()),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(ReadOutput, AStartDuringARunRaises1201AndTheRunGoesOn) {
    ReadOutput runner;
    Recorder recorder(runner);
    bool tried = false;
    runner.GotChunk.Subscribe([&](const std::wstring&, bool) {
        if (!std::exchange(tried, true)) runner.ProcessCommand();
    });
    runner.SetCommand(L"echo first & echo second");
    runner.ProcessCommand();
    ASSERT_GE(recorder.events.size(), 4u);
    EXPECT_EQ(recorder.events[0], L"Starting");
    EXPECT_EQ(recorder.events[2], L"Error 1201 Currently processing a command!");
    EXPECT_EQ(recorder.events.back(), L"Complete");
    EXPECT_EQ(recorder.text, L"first \r\nsecond\r\n");
}

TEST(ReadOutput, CancelWhileIdleRaises1202) {
    ReadOutput runner;
    Recorder recorder(runner);
    runner.CancelProcess();
    EXPECT_EQ(recorder.events, (std::vector<std::wstring>{L"Error 1202 Not currently processing a command!"}));
}

TEST(ReadOutput, CancelFromAStartingHandlerHasNoEffect) {
    ReadOutput runner;
    Recorder recorder(runner);
    runner.Starting.Subscribe([&] { runner.CancelProcess(); });
    runner.SetCommand(L"echo still here");
    runner.ProcessCommand();
    EXPECT_EQ(recorder.Outline(), (std::vector<std::wstring>{L"Starting", L"GotChunk", L"GotChunk last", L"Complete"}));
    EXPECT_EQ(recorder.text, L"still here\r\n");
}

TEST(ReadOutput, CancellingALongRunEndsTheChildAndAllItStartedWithCanceled) {
    ReadOutput runner;
    Recorder recorder(runner);
    DWORD child = 0;
    runner.Starting.Subscribe([&] { child = runner.ProcessId(); });
    // The cancel comes from a timer: window messages keep flowing while the child is silent.
    forms::Timer cancelSoon(100, true);
    bool encoderSeen = false;
    cancelSoon.Tick.Subscribe([&] {
        if (LiveChildrenOf(child).empty()) return;  // the interpreter has not started the encoder yet
        encoderSeen = true;
        cancelSoon.SetEnabled(false);
        runner.CancelProcess();
    });
    runner.SetCommand(SilentEncoderRun(60));
    runner.ProcessCommand();
    EXPECT_TRUE(encoderSeen);
    EXPECT_EQ(recorder.events, (std::vector<std::wstring>{L"Starting", L"Canceled"}));
    ASSERT_NE(child, 0u);
    EXPECT_TRUE(ProcessIsGone(child));
    EXPECT_TRUE(LiveChildrenOf(child).empty());
    EXPECT_FALSE(runner.Processing());
    EXPECT_FALSE(runner.CancelRequested());
}

TEST(ReadOutput, ACancelAskedForWhileCompleteIsHandledFollowsWithCanceled) {
    ReadOutput runner;
    Recorder recorder(runner);
    runner.Complete.Subscribe([&] {
        runner.CancelProcess();
        EXPECT_TRUE(runner.CancelRequested());
    });
    runner.SetCommand(L"echo done");
    runner.ProcessCommand();
    EXPECT_EQ(recorder.Outline(),
              (std::vector<std::wstring>{L"Starting", L"GotChunk", L"GotChunk last", L"Complete", L"Canceled"}));
}

TEST(ReadOutput, WindowMessagesKeepFlowingWhileTheChildIsSilent) {
    ReadOutput runner;
    Recorder recorder(runner);
    int ticks = 0;
    forms::Timer timer(50, true);
    timer.Tick.Subscribe([&] { ++ticks; });
    runner.SetCommand(SilentEncoderRun(1.5));
    runner.ProcessCommand();
    EXPECT_EQ(recorder.events, (std::vector<std::wstring>{L"Starting", L"GotChunk last", L"Complete"}));
    EXPECT_GE(ticks, 5);
}

TEST(ReadOutput, EachDirectRunKeepsItsOwnExitCode) {
    ReadOutput runner;
    runner.SetDirectStart(true);
    runner.SetCommand(Encoder() + L" -nostdin -hide_banner -no_such_option");
    runner.ProcessCommand();
    EXPECT_EQ(runner.ExitCode(), 1u);
    runner.SetCommand(Encoder() + L" -nostdin -hide_banner -version");
    runner.ProcessCommand();
    EXPECT_EQ(runner.ExitCode(), 0u);
}

TEST(ReadOutput, CancellingAChildWhoseWindowIgnoresCloseEndsItBeforeCanceled) {
    wchar_t temp[MAX_PATH] = {};
    ::GetTempPathW(MAX_PATH, temp);
    const std::wstring held =
        std::wstring(temp) + L"snipmill-held-" + std::to_wstring(::GetCurrentProcessId()) + L".mp3";
    ReadOutput runner;
    Recorder recorder(runner);
    runner.SetDirectStart(true);
    DWORD child = 0;
    bool goneAtCanceled = false;
    runner.Starting.Subscribe([&] { child = runner.ProcessId(); });
    runner.GotChunk.Subscribe([&](const std::wstring& chunk, bool) {
        if (chunk.find(L"ready") != std::wstring::npos) runner.CancelProcess();
    });
    runner.Canceled.Subscribe([&] { goneAtCanceled = ProcessIsGone(child); });
    runner.SetCommand(TestChild(L"window \"" + held + L"\""));
    runner.ProcessCommand();
    EXPECT_EQ(recorder.Outline(), (std::vector<std::wstring>{L"Starting", L"GotChunk", L"Canceled"}));
    EXPECT_TRUE(goneAtCanceled) << "Canceled came while the child was still running";
    EXPECT_TRUE(::DeleteFileW(held.c_str())) << "the child's file is still held open";
}

TEST(ReadOutput, OnceTheChildRunsNoHandleOfOursIsLeftForAnotherChildToInherit) {
    // The child took the pipe's write end, the one handle meant for it; the read
    // end, the process and thread handles must not pass to the next child started.
    ReadOutput runner;
    runner.SetDirectStart(true);
    const std::size_t before = InheritableHandles();
    std::size_t during = 0;
    runner.Starting.Subscribe([&] { during = InheritableHandles(); });
    runner.SetCommand(SilentEncoderRun(0.2));
    runner.ProcessCommand();
    EXPECT_EQ(during, before);
}

TEST(ReadOutput, CloseProcessOfAnotherWindowlessProcessClosesNothing) {
    ReadOutput runner;
    EXPECT_FALSE(runner.CloseProcess(0, 0));
}

}  // namespace
