// Raising an event while one of its handlers subscribes more.
#include "base/Event.h"

#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <vector>

namespace {
struct Scene {
    base::Event<int> event;
    std::vector<int> seen;
};
}  // namespace

TEST(Event, AHandlerThatSubscribesMoreRunsOnWithItsOwnState) {
    Scene scene;
    // Small enough that the handler keeps it inside itself, where a move would leave it behind.
    scene.event.Subscribe([scene = &scene, mark = 1000](int value) {
        Scene* s = scene;
        for (int i = 0; i < 100; ++i) s->event.Subscribe([s](int v) { s->seen.push_back(-v); });
        // Memory given back meanwhile is soon handed out again, here filled with something else.
        std::vector<std::unique_ptr<char[]>> reuse;
        for (int i = 0; i < 200; ++i) {
            reuse.emplace_back(new char[32]);
            std::memset(reuse.back().get(), 0x5A, 32);
        }
        s->seen.push_back(value + mark);
    });
    scene.event.Raise(1);
    EXPECT_EQ(scene.seen, std::vector<int>{1001}) << "the new handlers run from the next time on";
    scene.event.Raise(2);
    ASSERT_EQ(scene.seen.size(), 102u);
    EXPECT_EQ(scene.seen[1], 1002);
    EXPECT_EQ(scene.seen.back(), -2);
}
