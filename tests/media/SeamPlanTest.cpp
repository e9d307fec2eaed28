// Where seams go on the frames' grid: a removal's start stays where it was
// marked and its end moves by at most half a frame; a join drops on its quieter side.
#include <gtest/gtest.h>

#include <cstdlib>
#include <memory>

#include "MediaFixtures.h"
#include "media/SeamPlan.h"

using media::Recording;
using media::SampleRange;

namespace {

double Silent(const media::RecordingPart&, SampleRange) { return 0; }

TEST(SeamPlan, ARemovalStartsWhereMarkedAndItsEndMovesAtMostHalfAFrame) {
    for (const wchar_t* name : {L"cbr128_info.mp3", L"vbr_xing.mp3", L"mpeg2_22k_mono.mp3", L"mpeg25_8k_mono.mp3"}) {
        const auto index = media_test::SharedIndex(name);
        const std::int64_t spf = index->format.SamplesPerFrame();
        // Every position of a removal's end within a frame.
        for (std::uint64_t end = 6000; end < 6000 + static_cast<std::uint64_t>(spf); end += 37) {
            SCOPED_TRACE(testing::PrintToString(std::wstring(name)) + " end " + std::to_string(end));
            Recording recording(media_test::Fixture(name), index);
            recording.Remove({3007, end});
            recording.Remove({7000, 7100});  // a second seam after the first moved
            const media::SeamPlan plan = media::PlanSeams(recording, Silent);
            ASSERT_EQ(plan.seams.size(), 2u);
            EXPECT_EQ(plan.parts[0].samples.end, 3007u);
            EXPECT_LE(std::llabs(plan.seams[0].moved), spf / 2);
            EXPECT_EQ(static_cast<std::int64_t>(plan.parts[1].samples.first) - static_cast<std::int64_t>(end),
                      plan.seams[0].moved);
            EXPECT_EQ(plan.seams[0].position, 3007u);
            EXPECT_LE(std::llabs(plan.seams[1].moved), spf / 2);
            // The frames after each seam keep their place in their file's grid.
            for (std::size_t k = 1; k < plan.parts.size(); ++k) {
                const std::int64_t into = (static_cast<std::int64_t>(plan.parts[k].samples.first) + index->encoderDelay) % spf;
                const std::int64_t written = static_cast<std::int64_t>(plan.seams[k - 1].position);
                const std::int64_t origin = index->encoderDelay % spf;  // where the first part starts in its frame
                EXPECT_EQ(((written + origin - into) % spf + spf) % spf, 0) << "seam " << k;
            }
        }
    }
}

TEST(SeamPlan, AJoinDropsSamplesOnItsQuieterSide) {
    struct Case {
        const char* what;
        bool endQuieter;  // the first file's end quieter than the second's start
    } const cases[] = {{"the first file's end is quieter", true}, {"the second file's start is quieter", false}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        Recording recording(media_test::Fixture(L"cbr128_info.mp3"), media_test::SharedIndex(L"cbr128_info.mp3"));
        recording.Join(media_test::Fixture(L"vbr_xing.mp3"), media_test::SharedIndex(L"vbr_xing.mp3"));
        const std::wstring second = media_test::Fixture(L"vbr_xing.mp3");
        const media::SeamPlan plan = media::PlanSeams(recording, [&](const media::RecordingPart& part, SampleRange) {
            return (part.source == second) == c.endQuieter ? 1.0 : 0.0;
        });
        ASSERT_EQ(plan.seams.size(), 1u);
        const std::int64_t moved = plan.seams[0].moved;
        ASSERT_NE(moved, 0) << "the fixtures' delays leave something to drop";
        EXPECT_GT(moved, 0) << "a join only drops";
        EXPECT_EQ(recording.Parts()[0].samples.end - plan.parts[0].samples.end, c.endQuieter ? moved : 0);
        EXPECT_EQ(plan.parts[1].samples.first, c.endQuieter ? 0 : static_cast<std::uint64_t>(moved));
    }
}

}  // namespace
