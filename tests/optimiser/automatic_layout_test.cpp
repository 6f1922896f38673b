#include "optimiser/automatic_layout.h"

#include <gtest/gtest.h>

#include <random>
#include <vector>

#include "../../bench/reference_automatic_layout.h"

namespace trimora {
namespace {

std::vector<SheetInstance> Sheets(std::initializer_list<std::pair<int32_t, int32_t>> sizes) {
    std::vector<SheetInstance> sheets;
    for (const auto& [l, w] : sizes) {
        const int32_t n = static_cast<int32_t>(sheets.size()) + 1;
        sheets.push_back({l, w, 1, n, n});
    }
    return sheets;
}

PartInput Part(int32_t row, int32_t length, int32_t width, int32_t quantity, int32_t grain) {
    return {length, width, quantity, row, grain};
}

// ---- generator --------------------------------------------------------------------------

TEST(LayoutRandom, FollowsTheSequenceFromItsSeed) {
    LayoutRandom random;
    uint64_t s = 22695478;
    for (int i = 0; i < 5; ++i) {
        s = s * 1486058704437ULL + 1;
        EXPECT_EQ(random.Next(), static_cast<int32_t>((s >> 32) & 0x7FFFFFFF));
    }
    EXPECT_EQ(random.State(), s);
}

TEST(LayoutRandom, SkipEqualsDrawing) {
    for (uint64_t n : {0ull, 1ull, 2ull, 7ull, 1000ull, 123457ull}) {
        LayoutRandom drawn(987654321), skipped(987654321);
        for (uint64_t i = 0; i < n; ++i) drawn.Next();
        skipped.Skip(n);
        EXPECT_EQ(drawn.State(), skipped.State()) << n;
    }
}

TEST(AutomaticLayout, CandidateCountAndProgress) {
    EXPECT_EQ(CandidateCountForAutoparam(0), 100);
    EXPECT_EQ(CandidateCountForAutoparam(1), 200);
    EXPECT_EQ(CandidateCountForAutoparam(2), 300);
    EXPECT_EQ(ProgressPosition(0, 300), 0);
    EXPECT_EQ(ProgressPosition(5, 300), 1);
    EXPECT_EQ(ProgressPosition(299, 300), 99);
    EXPECT_EQ(ProgressPosition(99, 100), 99);
}

// ---- choice rules -----------------------------------------------------------------------

TEST(ChooseBestCandidate, Rules) {
    struct Case {
        const char* name;
        CandidateRecord best, candidate;
        int expectedIndex;
    };
    const Case cases[] = {
        {"more sheets is never taken", {2, 50, 0, 100}, {3, 10, 1, 5}, 0},
        {"fewer sheets, higher yield and larger cut is not taken",
         {2, 50, 0, 100},
         {1, 60, 1, 200},
         0},
        {"fewer sheets with lower yield is taken", {2, 50, 0, 100}, {1, 40, 1, 200}, 1},
        {"same yield replaces even with larger cut", {2, 50, 0, 100}, {2, 50, 1, 900}, 1},
        {"smaller cut replaces even with higher yield", {2, 50, 0, 100}, {2, 70, 1, 90}, 1},
        {"higher yield and larger cut is not taken", {2, 50, 0, 100}, {2, 70, 1, 110}, 0},
    };
    for (const Case& c : cases)
        EXPECT_EQ(ChooseBestCandidate(c.best, c.candidate).index, c.expectedIndex) << c.name;
    // Candidate 0 takes itself and brings its cut measure into the record.
    const CandidateRecord first = ChooseBestCandidate({1, 68, 0, 0}, {1, 68, 0, 340});
    EXPECT_EQ(first.cutMeasure, 340);
}

// ---- free rectangles --------------------------------------------------------------------

TEST(FreeRectangles, ScoresBestShortSideAndPrefersTheLowerIndexOnTies) {
    FreeRectangles free;
    free.Reset(100, 50);
    RectangleFit fit;
    ASSERT_TRUE(free.ScoreFreeRectangles(60, 30, 1, fit));
    EXPECT_EQ(fit.score, 20);
    free.PlaceAndSplit(fit, 1);
    ASSERT_EQ(free.Rectangles().size(), 2u);
    EXPECT_EQ(free.Rectangles()[0], (FreeRect{60, 0, 100, 30}));
    EXPECT_EQ(free.Rectangles()[1], (FreeRect{0, 30, 100, 50}));
    ASSERT_TRUE(free.ScoreFreeRectangles(40, 20, 0, fit));
    EXPECT_EQ(fit.index, 0);  // both score 0
    EXPECT_EQ(fit.rotated, 0);
}

TEST(FreeRectangles, TurnsOnlyForAStrictlyBetterScoreAndHonoursGrain) {
    FreeRectangles free;
    free.Reset(100, 50);
    RectangleFit fit;
    // 40 x 80 fits only turned: taken with grain 0, refused with grain 1.
    ASSERT_TRUE(free.ScoreFreeRectangles(40, 80, 0, fit));
    EXPECT_EQ(fit.rotated, 1);
    EXPECT_EQ(fit.length, 80);
    EXPECT_EQ(fit.width, 40);
    EXPECT_FALSE(free.ScoreFreeRectangles(40, 80, 1, fit));
    // 30 x 30 scores the same both ways: stays normal.
    ASSERT_TRUE(free.ScoreFreeRectangles(30, 30, 0, fit));
    EXPECT_EQ(fit.rotated, 0);
    // 45 x 20: normal min(30, 55) = 30, turned min(5, 80) = 5, so it turns.
    ASSERT_TRUE(free.ScoreFreeRectangles(45, 20, 0, fit));
    EXPECT_EQ(fit.rotated, 1);
    EXPECT_EQ(fit.score, 5);
}

TEST(FreeRectangles, SplitPreferences) {
    for (int preference : {0, 1}) {
        FreeRectangles free;
        free.Reset(100, 50);
        RectangleFit fit;
        ASSERT_TRUE(free.ScoreFreeRectangles(60, 30, 1, fit));
        free.PlaceAndSplit(fit, preference);
        ASSERT_EQ(free.Rectangles().size(), 2u);
        if (preference == 0) {
            EXPECT_EQ(free.Rectangles()[0], (FreeRect{60, 0, 100, 50}));
            EXPECT_EQ(free.Rectangles()[1], (FreeRect{0, 30, 60, 50}));
        } else {
            EXPECT_EQ(free.Rectangles()[0], (FreeRect{60, 0, 100, 30}));
            EXPECT_EQ(free.Rectangles()[1], (FreeRect{0, 30, 100, 50}));
        }
        EXPECT_EQ(free.EntryCount(), 2);
    }
}

TEST(FreeRectangles, ExactFitUsesUpTheRectangle) {
    FreeRectangles free;
    free.Reset(100, 50);
    RectangleFit fit;
    ASSERT_TRUE(free.ScoreFreeRectangles(100, 50, 1, fit));
    EXPECT_EQ(fit.score, 0);
    free.PlaceAndSplit(fit, 0);
    EXPECT_TRUE(free.Rectangles().empty());
    EXPECT_EQ(free.EntryCount(), 1);
    EXPECT_FALSE(free.ScoreFreeRectangles(1, 1, 0, fit));
    std::vector<Offcut> offcuts;
    EXPECT_EQ(free.CollectOffcuts(1, offcuts), 0);
    EXPECT_TRUE(offcuts.empty());
}

TEST(FreeRectangles, MergeJoinsEachWithTheFirstLaterRectangleAboveOrRight) {
    struct Case {
        const char* name;
        std::vector<FreeRect> list;
        int64_t held;
        std::vector<FreeRect> expected;
    };
    const Case cases[] = {
        {"above and right, each with the first partner",
         {{0, 0, 50, 20}, {60, 0, 100, 20}, {0, 20, 50, 40}, {100, 0, 120, 20}},
         4,
         {{0, 0, 50, 40}, {60, 0, 120, 20}}},
        {"a merged rectangle merges on when its turn comes",
         {{0, 0, 10, 10}, {10, 0, 20, 10}, {20, 0, 30, 10}, {50, 50, 60, 60}},
         4,
         {{0, 0, 30, 10}, {50, 50, 60, 60}}},
        {"below or left of the earlier one is not merged",
         {{0, 20, 50, 40}, {0, 0, 50, 20}, {60, 0, 70, 10}, {50, 0, 60, 10}},
         4,
         {{0, 20, 50, 40}, {0, 0, 50, 20}, {60, 0, 70, 10}, {50, 0, 60, 10}}},
        {"different extent is not merged",
         {{0, 0, 50, 20}, {0, 20, 40, 40}, {50, 0, 60, 30}, {90, 90, 95, 95}},
         4,
         {{0, 0, 50, 20}, {0, 20, 40, 40}, {50, 0, 60, 30}, {90, 90, 95, 95}}},
        {"a list that has held three entries is left alone",
         {{0, 0, 10, 10}, {10, 0, 20, 10}},
         3,
         {{0, 0, 10, 10}, {10, 0, 20, 10}}},
        {"used-up entries count towards the threshold",
         {{0, 0, 10, 10}, {10, 0, 20, 10}},
         4,
         {{0, 0, 20, 10}}},
    };
    for (const Case& c : cases) {
        FreeRectangles free;
        free.Assign(c.list, c.held);
        free.MergeFreeRectangles();
        EXPECT_EQ(free.Rectangles(), c.expected) << c.name;
    }
}

TEST(FreeRectangles, OffcutsOnlyWhenTheListHasHeldTwoEntries) {
    FreeRectangles free;
    std::vector<Offcut> offcuts;
    free.Assign({{0, 30, 100, 50}}, 1);  // strips across the whole length
    EXPECT_EQ(free.CollectOffcuts(4, offcuts), 0);
    EXPECT_TRUE(offcuts.empty());
    free.Assign({{0, 30, 100, 50}}, 2);
    EXPECT_EQ(free.CollectOffcuts(4, offcuts), 120);
    EXPECT_EQ(offcuts, (std::vector<Offcut>{{4, 0, 30, 100, 50}}));
}

TEST(FreeRectangles, FitTestsAgreeWithTheRectangles) {
    std::mt19937 gen(7);
    auto pick = [&](int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(gen); };
    FreeRectangles free;
    free.Reset(300, 200);
    for (int step = 0; step < 40; ++step) {
        for (int a = 0; a <= 300; a += 15)
            for (int b = 0; b <= 300; b += 15) {
                bool kept = false, turn = false;
                for (const FreeRect& r : free.Rectangles()) {
                    const int dx = r.x2 - r.x1, dy = r.y2 - r.y1;
                    kept = kept || (dx >= a && dy >= b);
                    turn = turn || (std::min(dx, dy) >= std::min(a, b) &&
                                    std::max(dx, dy) >= std::max(a, b));
                }
                ASSERT_EQ(free.FitsKept(a, b), kept) << step << " " << a << " x " << b;
                ASSERT_EQ(free.FitsTurnable(std::min(a, b), std::max(a, b)), turn)
                    << step << " " << a << " x " << b;
            }
        RectangleFit fit;
        if (!free.ScoreFreeRectangles(pick(5, 60), pick(5, 60), pick(0, 1), fit)) break;
        free.PlaceAndSplit(fit, pick(0, 1));
        if (step % 5 == 4) free.MergeFreeRectangles();
    }
}

// ---- whole runs --------------------------------------------------------------------------

// Sheet 100 x 50; part row 1: 60 x 30 keeping its grain; row 2: two pieces 40 x 20.
// Candidate 0 splits along the top edge first: the big piece leaves (60,0)-(100,30) and
// (0,30)-(100,50); the first small piece fits both with score 0 and takes the lower index,
// the second goes above the big one. Candidate 1 splits along the right edge first, so both
// small pieces stack at x = 60. Both use one sheet with the same yield (3400 / 50 = 68 %), so
// the later candidate replaces the earlier one.
class HandWorked : public ::testing::Test {
protected:
    std::vector<SheetInstance> sheets = Sheets({{100, 50}});
    std::vector<PartInput> parts = {Part(1, 60, 30, 1, 1), Part(2, 40, 20, 2, 0)};
};

TEST_F(HandWorked, CandidateZeroSplitsAlongTheTopEdge) {
    LayoutRandom random;
    const AutomaticLayout layout = ComputeAutomaticLayout(sheets, parts, 1, random);
    EXPECT_EQ(layout.PlacedParts,
              (std::vector<PlacedPart>{
                  {1, 0, 0, 60, 30, 0, 1}, {1, 60, 0, 100, 20, 0, 2}, {1, 0, 30, 40, 50, 0, 2}}));
    EXPECT_EQ(layout.Offcuts, (std::vector<Offcut>{{1, 60, 20, 100, 30}, {1, 40, 30, 100, 50}}));
    EXPECT_EQ(layout.chosen.sheetsUsed, 1);
    EXPECT_DOUBLE_EQ(layout.chosen.lastSheetYield, 68.0);
    EXPECT_EQ(layout.chosen.cutMeasure, 90 + 60 + 60 + 50 + 80);
    LayoutRandom expected;
    expected.Skip(3);  // one draw per placement, even when the preference is forced
    EXPECT_EQ(random.State(), expected.State());
}

TEST_F(HandWorked, CandidateOneSplitsAlongTheRightEdgeAndWinsTheTie) {
    LayoutRandom random;
    const AutomaticLayout layout = ComputeAutomaticLayout(sheets, parts, 2, random);
    EXPECT_EQ(layout.chosen.index, 1);
    EXPECT_EQ(layout.PlacedParts,
              (std::vector<PlacedPart>{
                  {1, 0, 0, 60, 30, 0, 1}, {1, 60, 0, 100, 20, 0, 2}, {1, 60, 20, 100, 40, 0, 2}}));
    EXPECT_EQ(layout.Offcuts, (std::vector<Offcut>{{1, 60, 40, 100, 50}, {1, 0, 30, 60, 50}}));
    LayoutRandom expected;
    expected.Skip(6);
    EXPECT_EQ(random.State(), expected.State());
}

TEST_F(HandWorked, TheFirstTwoCandidatesDoNotDependOnTheDraws) {
    for (uint64_t seed : {1ull, 5ull, 123456789ull}) {
        LayoutRandom random(seed);
        const AutomaticLayout one = ComputeAutomaticLayout(sheets, parts, 1, random);
        EXPECT_EQ(one.Offcuts, (std::vector<Offcut>{{1, 60, 20, 100, 30}, {1, 40, 30, 100, 50}}));
        const AutomaticLayout two = ComputeAutomaticLayout(sheets, parts, 2, random);
        EXPECT_EQ(two.Offcuts, (std::vector<Offcut>{{1, 60, 40, 100, 50}, {1, 0, 30, 60, 50}}));
    }
}

TEST_F(HandWorked, RunFillsTheResultAndLowersTheRemainingQuantities) {
    OptimiserInput input;
    input.SheetInstances = sheets;
    input.PartInputs = parts;
    input.PartWorks = parts;
    input.TotalPieces = 3;
    RunResult result;
    result.Offcuts.push_back({9, 9, 9, 9, 9});
    LayoutRandom random;
    std::vector<int> progress;
    RunAutomaticLayout(input, result, 100, random, [&](int c) { progress.push_back(c); });
    EXPECT_EQ(result.PlacedParts.size(), 3u);
    EXPECT_EQ(result.Offcuts.size(), 2u);
    EXPECT_EQ(input.PartWorks[0].quantity, 0);
    EXPECT_EQ(input.PartWorks[1].quantity, 0);
    EXPECT_EQ(input.PartInputs[1].quantity, 2);
    ASSERT_EQ(progress.size(), 100u);
    for (int c = 0; c < 100; ++c) EXPECT_EQ(progress[c], c);
}

TEST(AutomaticLayout, GrainLockedPieceThatFitsOnlyTurnedStaysUnplaced) {
    const auto sheets = Sheets({{100, 50}, {100, 50}});
    for (int32_t grain : {0, 1}) {
        LayoutRandom random;
        const AutomaticLayout layout =
            ComputeAutomaticLayout(sheets, {Part(1, 40, 80, 1, grain)}, 3, random);
        if (grain == 1) {
            EXPECT_TRUE(layout.PlacedParts.empty());
            // Every sheet is visited and counted, each with a yield of 0.
            EXPECT_EQ(layout.chosen.sheetsUsed, 2);
            EXPECT_EQ(layout.chosen.lastSheetYield, 0);
            EXPECT_TRUE(layout.Offcuts.empty());
        } else {
            EXPECT_EQ(layout.PlacedParts, (std::vector<PlacedPart>{{1, 0, 0, 80, 40, 1, 1}}));
            EXPECT_EQ(layout.chosen.sheetsUsed, 1);
        }
    }
}

TEST(AutomaticLayout, ExactFitsAndFullLengthStripsLeaveNoOffcut) {
    // Two sheet-sized pieces fill two sheets exactly; strips across the whole length of the
    // third leave one free rectangle, which is not recorded.
    const auto sheets = Sheets({{100, 50}, {100, 50}, {100, 50}});
    LayoutRandom random;
    const AutomaticLayout layout =
        ComputeAutomaticLayout(sheets, {Part(1, 100, 50, 2, 1), Part(2, 100, 10, 3, 1)}, 5, random);
    ASSERT_EQ(layout.PlacedParts.size(), 5u);
    EXPECT_EQ(layout.PlacedParts[1], (PlacedPart{2, 0, 0, 100, 50, 0, 1}));
    EXPECT_EQ(layout.PlacedParts[4], (PlacedPart{3, 0, 20, 100, 30, 0, 2}));
    EXPECT_TRUE(layout.Offcuts.empty());
    EXPECT_EQ(layout.chosen.sheetsUsed, 3);
    EXPECT_DOUBLE_EQ(layout.chosen.lastSheetYield, 60.0);
}

TEST(AutomaticLayout, PiecesWithoutAreaAreNeverPlaced) {
    const auto sheets = Sheets({{100, 50}});
    LayoutRandom random;
    const AutomaticLayout layout = ComputeAutomaticLayout(
        sheets, {Part(1, 0, 20, 1, 0), Part(2, 30, -1, 1, 0), Part(3, 10, 10, 1, 0)}, 3, random);
    EXPECT_EQ(layout.PlacedParts, (std::vector<PlacedPart>{{1, 0, 0, 10, 10, 0, 3}}));
}

TEST(AutomaticLayout, ARunContinuesTheSequenceOfTheRunBefore) {
    std::vector<SheetInstance> sheets;
    for (int i = 1; i <= 20; ++i) sheets.push_back({2800, 2070, 20, i, 1});
    const std::vector<PartInput> parts = {Part(1, 900, 600, 12, 0), Part(2, 700, 450, 20, 0),
                                          Part(3, 500, 310, 30, 1), Part(4, 230, 170, 40, 0)};
    LayoutRandom first, again;
    const AutomaticLayout a = ComputeAutomaticLayout(sheets, parts, 100, first);
    const AutomaticLayout b = ComputeAutomaticLayout(sheets, parts, 100, again);
    EXPECT_EQ(a.PlacedParts, b.PlacedParts);  // same start, same layout
    const AutomaticLayout second = ComputeAutomaticLayout(sheets, parts, 100, first);
    const auto reference = reference::ReferenceAutomaticLayout(sheets, parts, 100, again.State());
    EXPECT_EQ(second.PlacedParts, reference.placedParts);
    EXPECT_EQ(first.State(), reference.randomState);
}

// ---- against the plain implementation ---------------------------------------------------

struct RandomInstance {
    std::vector<SheetInstance> sheets;
    std::vector<PartInput> parts;
};

RandomInstance MakeInstance(std::mt19937& gen) {
    RandomInstance in;
    auto pick = [&](int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(gen); };
    const int sheetRows = pick(1, 3);
    for (int r = 1; r <= sheetRows; ++r) {
        int32_t l = pick(60, 300), w = pick(40, 200);
        if (pick(0, 9) == 0) l = 0;  // a sheet without area now and then
        const int q = pick(1, 4);
        for (int k = 0; k < q; ++k) {
            const int32_t n = static_cast<int32_t>(in.sheets.size()) + 1;
            in.sheets.push_back({l, w, q, n, r});
        }
    }
    const int partRows = pick(1, 12);
    // A small pool of sizes, so that rows repeat sizes and pieces fit exactly now and then.
    std::vector<std::pair<int32_t, int32_t>> pool;
    for (int i = 0; i < 6; ++i) pool.push_back({pick(5, 160), pick(5, 120)});
    const SheetInstance& last = in.sheets.back();
    pool.push_back({last.length, last.width});
    pool.push_back({last.length / 2, last.width / 3});
    for (int r = 1; r <= partRows; ++r) {
        const auto [l, w] = pool[pick(0, static_cast<int>(pool.size()) - 1)];
        in.parts.push_back(Part(r, l, w, pick(0, 9), pick(0, 9) == 0 ? 2 : pick(0, 1)));
    }
    return in;
}

TEST(AutomaticLayout, MatchesThePlainImplementation) {
    std::mt19937 gen(20240611);
    for (int i = 0; i < 60; ++i) {
        const RandomInstance in = MakeInstance(gen);
        const uint64_t seed = 22695478 + static_cast<uint64_t>(i) * 7919;
        const int candidates = i % 10 == 9 ? 60 : 1 + i % 13;
        const auto expected =
            reference::ReferenceAutomaticLayout(in.sheets, in.parts, candidates, seed);
        for (int threads : {1, 2, 3}) {
            LayoutRandom random(seed);
            const AutomaticLayout got =
                ComputeAutomaticLayout(in.sheets, in.parts, candidates, random, {}, threads);
            ASSERT_EQ(got.PlacedParts, expected.placedParts)
                << "instance " << i << " threads " << threads;
            ASSERT_EQ(got.Offcuts, expected.offcuts) << "instance " << i;
            EXPECT_EQ(got.chosen.index, expected.chosen) << "instance " << i;
            EXPECT_EQ(got.chosen.cutMeasure, expected.cutMeasure) << "instance " << i;
            EXPECT_EQ(random.State(), expected.randomState) << "instance " << i;
        }
    }
}

}  // namespace
}  // namespace trimora
