#include "app/SplitPoints.h"

#include <gtest/gtest.h>

#include "app/Marks.h"

namespace {

using Points = std::vector<std::uint64_t>;

app::SplitPoints FileOf(std::uint64_t length, Points points = {}) {
    app::SplitPoints splits;
    splits.Reset(length);
    for (std::uint64_t p : points) splits.Add(p);
    return splits;
}

TEST(SplitPoints, AddKeepsThemRisingInsideTheFileAndOneToASample) {
    struct Case {
        Points added;
        Points kept;
    };
    const Case cases[] = {
        {{500, 200, 800}, {200, 500, 800}},
        {{0, 1000, 1001}, {}},  // never at the file's start or end, nor past it
        {{300, 300}, {300}},
        {{1, 999}, {1, 999}},
    };
    for (const Case& c : cases) EXPECT_EQ(FileOf(1000, c.added).Points(), c.kept);
}

TEST(SplitPoints, PiecesMeetWithoutAGapFromStartToEnd) {
    const app::SplitPoints splits = FileOf(1000, {250, 600});
    ASSERT_EQ(splits.Pieces(), 3u);
    std::uint64_t expected = 0;
    for (std::size_t piece = 0; piece < splits.Pieces(); ++piece) {
        EXPECT_EQ(splits.PieceFirst(piece), expected);
        expected = splits.PieceEnd(piece);
    }
    EXPECT_EQ(expected, 1000u);
    const std::pair<std::uint64_t, std::size_t> pieceOf[] = {{0, 0}, {249, 0}, {250, 1}, {599, 1}, {600, 2}, {999, 2}};
    for (const auto& [sample, piece] : pieceOf) EXPECT_EQ(splits.PieceAt(sample), piece) << sample;
}

TEST(SplitPoints, RemoveTakesTheNearestAndMoveStaysBetweenNeighbours) {
    app::SplitPoints splits = FileOf(1000, {200, 500, 800});
    splits.RemoveNearest(640);  // nearer 500 than 800
    EXPECT_EQ(splits.Points(), (Points{200, 800}));
    splits.Move(0, 900);  // held short of the next one
    EXPECT_EQ(splits.Points(), (Points{799, 800}));
    splits.Move(1, 5000);  // and of the file's end
    EXPECT_EQ(splits.Points(), (Points{799, 999}));
    splits.RemoveAll();
    EXPECT_FALSE(splits.RemoveNearest(10));
    EXPECT_EQ(splits.Pieces(), 1u);
}

TEST(SplitPoints, NamesStayWithTheirPiecesAndPausesWithTheirPoints) {
    app::SplitPoints splits = FileOf(1000);
    splits.Replace({300, 100, 600}, {{L"One", L"A"}, {L"Two", L""}, {L"Dropped", L""}, {L"Three", L"C"}},
                   {app::Pause{250, 350}, std::nullopt, app::Pause{550, 650}});
    // The point out of order is left out, with what came with it.
    ASSERT_EQ(splits.Points(), (Points{300, 600}));
    EXPECT_EQ(splits.Names(1).title, L"Two");
    EXPECT_EQ(splits.Names(2).title, L"Three");
    splits.Add(450);  // splits piece 2: its first part keeps the name
    EXPECT_EQ(splits.Names(1).title, L"Two");
    EXPECT_EQ(splits.Names(2).title, L"");
    EXPECT_EQ(splits.Names(3).title, L"Three");
    splits.Move(0, 320);  // still in its pause
    EXPECT_TRUE(splits.PauseAt(0));
    splits.Move(0, 400);  // out of it
    EXPECT_FALSE(splits.PauseAt(0));
    splits.RemoveNearest(450);  // the two pieces become one, under the first one's names
    EXPECT_EQ(splits.Names(1).title, L"Two");
    EXPECT_EQ(splits.Names(2).title, L"Three");
    EXPECT_TRUE(splits.PauseAt(1));
}

// Pauses found around 3000 and 7000; a point that lands in a pause not its own drops
// that pause, so that, with the pauses left out, no piece can end before it starts.
TEST(SplitPoints, APointThatLandsInAnothersPauseDropsThatPause) {
    struct Case {
        const char* what;
        void (*edit)(app::SplitPoints&);
        std::vector<bool> pauses;  // for each point after the edit, whether its pause stays
    };
    const Case cases[] = {
        {"M after a split in its pause", [](app::SplitPoints& s) { s.Add(3500); }, {false, false, true}},
        {"M before a split in its pause", [](app::SplitPoints& s) { s.Add(2500); }, {false, false, true}},
        {"M between the pauses", [](app::SplitPoints& s) { s.Add(5000); }, {true, false, true}},
        {"a neighbour moved into the pause", [](app::SplitPoints& s) { s.Move(1, 3900); }, {false, false}},
        {"a point moved within its own pause", [](app::SplitPoints& s) { s.Move(1, 6100); }, {true, true}},
        {"a point given inside another's pause",
         [](app::SplitPoints& s) {
             s.Replace({3000, 3100, 7000}, {}, {app::Pause{2000, 4000}, std::nullopt, app::Pause{6000, 8000}});
         },
         {false, false, true}},
        {"pauses given that overlap",
         [](app::SplitPoints& s) { s.Replace({3000, 7000}, {}, {app::Pause{2000, 6500}, app::Pause{6000, 8000}}); },
         {true, false}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        app::SplitPoints splits = FileOf(10000);
        splits.Replace({3000, 7000}, {}, {app::Pause{2000, 4000}, app::Pause{6000, 8000}});
        splits.SetLeavePausesOut(true);
        c.edit(splits);
        std::vector<bool> pauses;
        for (std::size_t i = 0; i < splits.Points().size(); ++i) pauses.push_back(splits.PauseAt(i).has_value());
        EXPECT_EQ(pauses, c.pauses);
    }
}

TEST(Marks, EveryWayOfMovingAMarkKeepsTheSameRules) {
    const app::Marks marks{2.0, 5.0, 3.0, 10.0};
    struct Case {
        double asked, start, end, withinFile;
        bool startRefused, endRefused;
    };
    const Case cases[] = {
        {-1.0, 0.0, 2.0, 0.0, false, true},
        {3.0, 3.0, 3.0, 3.0, false, false},
        {6.0, 5.0, 6.0, 6.0, true, false},
        {12.0, 5.0, 10.0, 10.0, true, false},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(marks.StartBounds(c.asked), c.start) << c.asked;
        EXPECT_EQ(marks.EndBounds(c.asked), c.end) << c.asked;
        EXPECT_EQ(marks.WithinFile(c.asked), c.withinFile) << c.asked;
        EXPECT_EQ(marks.RefusesStart(c.asked), c.startRefused) << c.asked;
        EXPECT_EQ(marks.RefusesEnd(c.asked), c.endRefused) << c.asked;
    }
    // With no end set, the start may go anywhere in the file.
    const app::Marks startOnly{2.0, std::nullopt, std::nullopt, 10.0};
    EXPECT_EQ(startOnly.StartBounds(9.0), 9.0);
    EXPECT_FALSE(startOnly.RefusesStart(9.0));
}

}  // namespace
