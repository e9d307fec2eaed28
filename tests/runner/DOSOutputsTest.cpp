#include "runner/DOSOutputs.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "ChildCommands.h"
#include "support/DialogWatcher.h"

namespace {

using runner::DOSOutputs;
using runner_tests::Encoder;
using testing_support::DialogWatcher;

TEST(DOSOutputs, AnEmptyArgumentRunsTheStoredCommandLine) {
    DOSOutputs capture;
    capture.SetCommandLine(Encoder() + L" -hide_banner -version");
    std::wstring output = capture.ExecuteCommand(L"");
    EXPECT_EQ(output.rfind(L"ffmpeg version", 0), 0u) << output;
    EXPECT_EQ(capture.Outputs(), output);
}

TEST(DOSOutputs, LongOutputArrivesInBlocksFollowedByAnEmptyOne) {
    DOSOutputs capture;
    std::vector<std::wstring> blocks;
    capture.ReceiveOutputs.Subscribe([&](std::wstring& block) { blocks.push_back(block); });
    std::wstring output = capture.ExecuteCommand(Encoder() + L" -hide_banner -formats");
    ASSERT_GT(output.size(), 256u);
    ASSERT_GT(blocks.size(), 2u);
    EXPECT_EQ(blocks.back(), L"");
    std::wstring joined;
    for (const auto& block : blocks) {
        EXPECT_LE(block.size(), 256u);
        joined += block;
    }
    EXPECT_EQ(joined, output);
    EXPECT_NE(output.find(L"mp3"), std::wstring::npos);
    EXPECT_EQ(capture.CommandLine(), Encoder() + L" -hide_banner -formats");
}

TEST(DOSOutputs, ABuiltInInterpreterCommandIsNotFoundAndKeepsThePreviousOutput) {
    DOSOutputs capture;
    std::wstring previous = capture.ExecuteCommand(Encoder() + L" -hide_banner -version");
    DialogWatcher watcher;
    EXPECT_EQ(capture.ExecuteCommand(L"echo hello"), L"");
    auto seen = watcher.Seen();
    ASSERT_EQ(seen.size(), 1u);
    EXPECT_EQ(seen[0].text, L"File or command not found");
    EXPECT_EQ(seen[0].title, L"Snipmill");
    EXPECT_EQ(seen[0].icon, static_cast<UINT>(MB_ICONERROR));
    EXPECT_EQ(capture.Outputs(), previous);
}

TEST(DOSOutputs, NoCommandLineAtAllIsReported) {
    DOSOutputs capture;
    DialogWatcher watcher;
    EXPECT_EQ(capture.ExecuteCommand(L""), L"");
    auto seen = watcher.Seen();
    ASSERT_EQ(seen.size(), 1u);
    EXPECT_EQ(seen[0].text, L"Command Line empty");
    EXPECT_EQ(seen[0].icon, static_cast<UINT>(MB_ICONERROR));
}

}  // namespace
