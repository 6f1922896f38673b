#include "optimiser/manual_search.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <string>
#include <vector>

#include "../../bench/reference_manual_search.h"
#include "core/canvas.h"
#include "core/project.h"

namespace trimora {
namespace {

PartInput Part(int32_t row, Tenths length, Tenths width, int32_t quantity, int32_t grain = 1) {
    return {length, width, quantity, row, grain};
}

struct Sheet {
    Tenths length, width;
};

// A project whose optimiser input is already prepared (parts sorted, sheets expanded).
Project MakeProject(const std::vector<Sheet>& sheets, const std::vector<PartInput>& parts) {
    Project project;
    for (size_t k = 0; k < sheets.size(); ++k) {
        project.input.SheetInstances.push_back({sheets[k].length, sheets[k].width, 1,
                                                static_cast<int32_t>(k) + 1,
                                                static_cast<int32_t>(k) + 1});
    }
    project.input.PartInputs = parts;
    project.input.PartWorks = parts;
    for (const PartInput& p : parts) project.input.TotalPieces += p.quantity;
    project.PartRowCount = static_cast<int32_t>(parts.size());
    project.SheetRowCount = static_cast<int32_t>(sheets.size());
    return project;
}

// ---- joins ---------------------------------------------------------------------------------

struct JoinCase {
    const char* name;
    PartInput a, b;
    Tenths sheetLength, sheetWidth;
    float alpha;
    // Expected new combinations of TryCombine(0, 1): (length, width, waste) and triples.
    std::vector<CombinationInfo> infos;
    std::vector<std::vector<ManualTriple>> triples;
};

class JoinRules : public ::testing::TestWithParam<JoinCase> {};

TEST_P(JoinRules, TryCombineBuildsTheDefinedJoins) {
    const JoinCase& c = GetParam();
    log3 search;
    const std::vector<PartInput> parts{c.a, c.b};
    search.InitSearch(parts, 100, c.alpha, c.sheetLength, c.sheetWidth, 100, 2);
    ASSERT_EQ(search.AllCount(), 2);
    EXPECT_EQ(search.TryCombine(0, 1), JoinStep::kContinue);
    ASSERT_EQ(search.NewCount(), static_cast<int32_t>(c.infos.size()));
    for (int32_t k = 0; k < search.NewCount(); ++k) {
        EXPECT_EQ(search.NewEntry(k), c.infos[k]) << k;
        EXPECT_EQ(search.NewTriples(k), c.triples[k]) << k;
    }
}

INSTANTIATE_TEST_SUITE_P(
    Manual, JoinRules,
    ::testing::Values(
        // b shorter than a: the width join's gap lies beside b, the length join's above b.
        JoinCase{"ShorterOnTop",
                 Part(1, 1000, 400, 1),
                 Part(2, 600, 300, 1),
                 3000,
                 2000,
                 0.2f,
                 {{1000, 700, 120000, 2}, {1600, 400, 60000, 2}},
                 {{{1, 0, 0}, {2, 0, 400}, {0, 600, 400}, {0, 1000, 700}},
                  {{1, 0, 0}, {2, 1000, 0}, {0, 1000, 300}, {0, 1600, 400}}}},
        // b longer than a: the gaps lie beside and above a.
        JoinCase{"LongerOnTop",
                 Part(1, 600, 300, 1),
                 Part(2, 1000, 400, 1),
                 3000,
                 2000,
                 0.2f,
                 {{1000, 700, 120000, 2}, {1600, 400, 60000, 2}},
                 {{{1, 0, 0}, {2, 0, 300}, {0, 600, 0}, {0, 1000, 300}},
                  {{1, 0, 0}, {2, 600, 0}, {0, 0, 300}, {0, 600, 400}}}},
        // Equal sides leave no gap rectangle.
        JoinCase{"EqualSidesNoGap",
                 Part(1, 500, 300, 1),
                 Part(2, 500, 300, 1),
                 1000,
                 600,
                 0.0f,
                 {{500, 600, 0, 2}, {1000, 300, 0, 2}},
                 {{{1, 0, 0}, {2, 0, 300}}, {{1, 0, 0}, {2, 500, 0}}}},
        // Exactly the sheet width still joins; the length join would not fit.
        JoinCase{"WidthExactlyTheSheet",
                 Part(1, 500, 300, 1),
                 Part(2, 500, 300, 1),
                 999,
                 600,
                 0.0f,
                 {{500, 600, 0, 2}},
                 {{{1, 0, 0}, {2, 0, 300}}}},
        JoinCase{"TooWideAndTooLong",
                 Part(1, 500, 300, 1),
                 Part(2, 500, 300, 1),
                 999,
                 599,
                 0.0f,
                 {},
                 {}},
        // Waste 150000 against trunc(0.25 x 1000 x 600) = 150000: accepted.
        JoinCase{"WasteAtTheLimit",
                 Part(1, 1000, 300, 1),
                 Part(2, 500, 300, 1),
                 1400,
                 2000,
                 0.25f,
                 {{1000, 600, 150000, 2}},
                 {{{1, 0, 0}, {2, 0, 300}, {0, 500, 300}, {0, 1000, 600}}}},
        // One tenth shorter: waste 150300 is over the limit.
        JoinCase{"WasteOverTheLimit",
                 Part(1, 1000, 300, 1),
                 Part(2, 499, 300, 1),
                 1400,
                 2000,
                 0.25f,
                 {},
                 {}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(ManualSearch, TurnedBasicCombinationsCarryTheRowOffset) {
    log3 search;
    // A square part that may turn is present twice; a part with grain only unturned.
    const std::vector<PartInput> parts{Part(1, 500, 500, 2, 0), Part(2, 400, 200, 1, 1),
                                       Part(3, 300, 900, 1, 0)};
    search.InitSearch(parts, 100, 0.001f, 1000, 800, 92, 3);
    ASSERT_EQ(search.AllCount(), 4);
    EXPECT_EQ(search.AllTriples(0), (std::vector<ManualTriple>{{1, 0, 0}}));
    EXPECT_EQ(search.AllTriples(1), (std::vector<ManualTriple>{{4, 0, 0}}));
    EXPECT_EQ(search.AllTriples(2), (std::vector<ManualTriple>{{2, 0, 0}}));
    // 300 x 900 fits only turned.
    EXPECT_EQ(search.AllTriples(3), (std::vector<ManualTriple>{{6, 0, 0}}));
    EXPECT_EQ(search.AllEntry(3), (CombinationInfo{900, 300, 0, 1}));
    EXPECT_EQ(search.PartnerCount(), 4);
}

TEST(ManualSearch, BoundsLimitCountsPerRow) {
    log3 search;
    // 1000 x 1000 holds 3 pieces of 600 x 500 by area although 5 are wanted.
    const std::vector<PartInput> parts{Part(1, 600, 500, 5), Part(2, 100, 100, 1),
                                       Part(3, 200, 100, 2)};
    search.InitSearch(parts, 100, 1.0f, 1000, 1000, 100, 3);
    EXPECT_EQ(search.Bound(0), 3);
    EXPECT_EQ(search.Bound(1), 1);
    EXPECT_EQ(search.Bound(2), 2);
    // Row 2 twice exceeds its quantity of 1; rows 2 and 3 together are fine.
    search.TryCombine(1, 1);
    EXPECT_EQ(search.NewCount(), 0);
    search.TryCombine(1, 2);
    EXPECT_EQ(search.NewCount(), 2);
    search.TryCombine(2, 2);
    EXPECT_EQ(search.NewCount(), 4);
}

TEST(ManualSearch, TargetNeedsAWholePercentAboveT) {
    // Sheet 1000 x 1000: S div 100 = 10000. 92.5 percent gives 92, which is not above 92.
    struct Case {
        Tenths topWidth;
        int32_t target;
        bool reached;
    };
    for (const Case& c :
         {Case{425, 92, false}, Case{430, 92, true}, Case{430, 93, false}, Case{429, 91, true}}) {
        log3 search;
        const std::vector<PartInput> parts{Part(1, 1000, 500, 1), Part(2, 1000, c.topWidth, 1)};
        search.InitSearch(parts, 100, 0.001f, 1000, 1000, c.target, 2);
        const JoinStep step = search.TryCombine(0, 1);
        EXPECT_EQ(search.TargetReached(), c.reached) << c.topWidth << " " << c.target;
        EXPECT_EQ(step, c.reached ? JoinStep::kStop : JoinStep::kContinue);
        EXPECT_EQ(search.NewCount(), 1);
    }
}

TEST(ManualSearch, BothJoinsOfAPairAreMadeWhenTheFirstReachesTheTarget) {
    // On top (500 x 1000) already gives 50 percent, above T = 40; the join beside
    // (1000 x 500) of the same pair is still made before the generation stops.
    log3 search;
    const std::vector<PartInput> parts{Part(1, 500, 500, 1, 1), Part(2, 500, 500, 1, 1)};
    search.InitSearch(parts, 100, 0.001f, 1000, 1000, 40, 2);
    EXPECT_EQ(search.TryCombine(0, 1), JoinStep::kStop);
    EXPECT_TRUE(search.TargetReached());
    ASSERT_EQ(search.NewCount(), 2);
    EXPECT_EQ(search.NewEntry(0), (CombinationInfo{500, 1000, 0, 2}));
    EXPECT_EQ(search.NewEntry(1), (CombinationInfo{1000, 500, 0, 2}));

    reference::ReferenceManualSearch expected;
    expected.InitSearch(parts, 100, 0.001f, 1000, 1000, 40, 2);
    expected.Run();
    EXPECT_EQ(expected.All().size(), 4u);
}

TEST(ManualSearch, TargetEndsTheSearchAfterMerging) {
    log3 search;
    const std::vector<PartInput> parts{Part(1, 1000, 500, 1), Part(2, 1000, 430, 1)};
    search.InitSearch(parts, 100, 0.001f, 1000, 1000, 92, 2);
    EXPECT_FALSE(search.RunGeneration());
    EXPECT_TRUE(search.TargetReached());
    // The combination that reached the target is in the all-list.
    EXPECT_EQ(search.AllCount(), 3);
    EXPECT_EQ(search.AllEntry(2), (CombinationInfo{1000, 930, 0, 2}));
}

TEST(ManualSearch, FullNewListStopsTheGeneration) {
    log3 search;
    const std::vector<PartInput> parts{Part(1, 100, 100, 10, 1)};
    search.InitSearch(parts, 1, 0.001f, 1000, 1000, 100, 1);
    EXPECT_EQ(search.TryCombine(0, 0), JoinStep::kStop);  // the length join finds it full
    EXPECT_EQ(search.NewCount(), 1);
    EXPECT_TRUE(search.Found());
}

TEST(ManualSearch, MergeDropsCombinationsKnownBySizeAndWaste) {
    log3 search;
    // The turnable square is there twice from the start; joins of its two forms give the
    // same sizes again and are kept only once.
    const std::vector<PartInput> parts{Part(1, 500, 500, 4, 0)};
    search.InitSearch(parts, 100, 0.001f, 1000, 1000, 100, 1);
    ASSERT_EQ(search.AllCount(), 2);
    EXPECT_TRUE(search.RunGeneration());
    EXPECT_EQ(search.PartnerCount(), 8);  // the new list, duplicates included
    EXPECT_EQ(search.LastNewCount(), 8);
    ASSERT_EQ(search.AllCount(), 4);
    EXPECT_EQ(search.AllEntry(2), (CombinationInfo{500, 1000, 0, 2}));
    EXPECT_EQ(search.AllEntry(3), (CombinationInfo{1000, 500, 0, 2}));
    EXPECT_FLOAT_EQ(search.Alpha(), 0.0012f);
}

TEST(ManualSearch, AlternativesFollowTheChosenByPieceCount) {
    log3 search;
    const std::vector<PartInput> parts{Part(1, 1000, 800, 1), Part(2, 300, 200, 4),
                                       Part(3, 250, 200, 2)};
    search.InitSearch(parts, 1000, 0.01f, 1000, 800, 100, 3);
    while (search.RunGeneration()) {
    }
    search.FinishSearch();
    ASSERT_TRUE(search.HasData());
    const std::vector<int32_t>& alts = search.Alternatives();
    ASSERT_EQ(static_cast<int32_t>(alts.size()),
              1 + std::min(kManualAlternatives, search.AllCount() - 1));
    // The whole sheet as one piece wastes nothing.
    EXPECT_EQ(alts[0], 0);
    EXPECT_EQ(search.YieldPercent(alts[0]), 100);
    for (size_t e = 2; e < alts.size(); ++e) {
        const int32_t before = search.AllEntry(alts[e - 1]).pieces;
        const int32_t after = search.AllEntry(alts[e]).pieces;
        EXPECT_TRUE(before > after || (before == after && alts[e - 1] < alts[e])) << e;
    }
    int32_t most = 0;
    for (int32_t k = 0; k < search.AllCount(); ++k)
        most = std::max(most, search.AllEntry(k).pieces);
    EXPECT_EQ(search.AllEntry(alts[1]).pieces, most);
}

TEST(ManualSearch, ChoiceBreaksTiesBySmallerWasteThenIndex) {
    log3 search;
    // 600 x 600 with 60000 waste and the later 600 x 500 without waste leave the same sheet
    // waste; the one with less waste inside wins.
    const std::vector<PartInput> parts{Part(1, 300, 100, 2), Part(2, 600, 400, 1)};
    search.InitSearch(parts, 1000, 0.2f, 1000, 800, 100, 2);
    while (search.RunGeneration()) {
    }
    search.FinishSearch();
    ASSERT_EQ(search.AllCount(), 8);
    EXPECT_EQ(search.AllEntry(5), (CombinationInfo{600, 600, 60000, 3}));
    EXPECT_EQ(search.Chosen(), 7);
    EXPECT_EQ(search.AllEntry(7), (CombinationInfo{600, 500, 0, 3}));

    // The two forms of a turnable square tie completely: the first is chosen.
    log3 square;
    const std::vector<PartInput> one{Part(1, 500, 500, 1, 0)};
    square.InitSearch(one, 1000, 0.2f, 1000, 800, 100, 1);
    while (square.RunGeneration()) {
    }
    square.FinishSearch();
    EXPECT_EQ(square.AllCount(), 2);
    EXPECT_EQ(square.Chosen(), 0);
    EXPECT_EQ(square.Alternatives(), (std::vector<int32_t>{0, 0}));
}

// ---- the product against the literal version ----------------------------------------------

std::vector<PartInput> RandomJob(std::mt19937& rng, int rows) {
    std::uniform_int_distribution<int> length(40, 600), width(30, 400), quantity(1, 4), grain(0, 2);
    std::vector<PartInput> parts;
    for (int r = 1; r <= rows; ++r) {
        Tenths l = length(rng), w = width(rng);
        if (w > l) std::swap(l, w);
        parts.push_back(Part(r, l, w, quantity(rng), grain(rng) == 0 ? 1 : 0));
    }
    return parts;
}

TEST(ManualSearch, MatchesTheLiteralSearch) {
    std::mt19937 rng(12345);
    const int32_t limits[] = {30, 200, 2000};
    const int32_t targets[] = {85, 95, 100};
    // A tiny negative alpha still lets joins without waste through (trunc rounds to 0).
    const float alphas[] = {0.001f, 0.01f, 0.05f, -1e-9f};
    for (int run = 0; run < 36; ++run) {
        const int rows = 3 + run % 6;
        const std::vector<PartInput> parts = RandomJob(rng, rows);
        const int32_t n = limits[run % 3];
        const int32_t target = targets[run / 3 % 3];
        const float alpha = alphas[run / 9];
        SCOPED_TRACE("run " + std::to_string(run));

        reference::ReferenceManualSearch expected;
        expected.InitSearch(parts, n, alpha, 1200, 900, target, rows);
        expected.Run();
        log3 search;
        search.InitSearch(parts, n, alpha, 1200, 900, target, rows);
        while (search.RunGeneration()) {
        }
        search.FinishSearch();

        EXPECT_EQ(search.Generation(), expected.Generation());
        EXPECT_EQ(search.TargetReached(), expected.TargetReached());
        EXPECT_EQ(search.Alpha(), expected.Alpha());
        ASSERT_EQ(search.AllCount(), static_cast<int32_t>(expected.All().size()));
        for (int32_t k = 0; k < search.AllCount(); ++k) {
            const reference::Combination& c = expected.All()[k];
            ASSERT_EQ(search.AllEntry(k), (CombinationInfo{c.length, c.width, c.waste, c.Pieces()}))
                << k;
            ASSERT_EQ(search.AllCounts(k), c.counts) << k;
            ASSERT_EQ(search.AllTriples(k), c.triples) << k;
        }
        EXPECT_EQ(search.Chosen(), expected.ChooseBest());
        EXPECT_EQ(search.Alternatives(), expected.Alternatives());
    }
}

// ---- fields --------------------------------------------------------------------------------

TEST(ManualSearch, FieldTexts) {
    EXPECT_EQ(ParseManualAlpha("0.001"), 0.001f);
    EXPECT_EQ(ParseManualAlpha(" 0.5 "), 0.5f);
    EXPECT_FALSE(ParseManualAlpha("0,001"));
    EXPECT_FALSE(ParseManualAlpha("abc"));
    EXPECT_FALSE(ParseManualAlpha(""));
    EXPECT_EQ(ParseTargetYield("92"), 92);
    EXPECT_FALSE(ParseTargetYield("92.5"));
    EXPECT_FALSE(ParseTargetYield("x"));
    EXPECT_EQ(StepAlphaText("0.001", 0.005), "0.006");
    EXPECT_EQ(StepAlphaText("0.001", 0.001), "0.002");
    EXPECT_FALSE(StepAlphaText("a", 0.01));
}

TEST(ManualSearch, StatusTexts) {
    EXPECT_EQ(GenerationStatus("Gen: ", 3, 40000), "Gen: 3 M40000");
    EXPECT_EQ(CombinationsStatus("Komb: ", 15), "Komb: 15");
    EXPECT_EQ(ElapsedStatus({0, 1, 5, 42}), "T(0:1:5-42)");
    EXPECT_EQ(YieldStatus("Visak: ", 87), "Visak: 87 %");
    EXPECT_EQ(PiecesStatus("Elem.: ", 12, " / ", 40), "Elem.: 12 / 40");
    EXPECT_TRUE(EndSoundWanted(true, {0, 0, 6, 0}));
    EXPECT_FALSE(EndSoundWanted(true, {0, 0, 5, 999}));
    EXPECT_FALSE(EndSoundWanted(true, {0, 1, 30, 0}));
    EXPECT_FALSE(EndSoundWanted(false, {0, 0, 30, 0}));
}

TEST(ManualRun, StartRefusesTextsThatAreNotNumbers) {
    Project project = MakeProject({{1000, 800}}, {Part(1, 500, 400, 1)});
    ManualRun run;
    ASSERT_EQ(run.Begin(project), 0);
    EXPECT_EQ(run.StartSearch("0.0x1", "92", 0), kTextNotANumber);
    EXPECT_EQ(run.StartSearch("0.001", "9 2", 0), kTextNotANumber);
    EXPECT_EQ(run.Search().AllCount(), 0);
    EXPECT_EQ(run.StartSearch("0.001", "92", 2), 0);
    EXPECT_EQ(run.Search().AllCount(), 1);
}

// ---- the run over the sheets ---------------------------------------------------------------

TEST(ManualRun, FirstSheetIsOneWherePartFitsUnturned) {
    Project project =
        MakeProject({{500, 500}, {900, 300}, {2000, 1000}}, {Part(1, 800, 400, 1, 0)});
    ManualRun run;
    ASSERT_EQ(run.Begin(project), 0);
    EXPECT_EQ(run.Sheet().number, 3);
    EXPECT_EQ(run.Sheet().length, 2000);
    EXPECT_EQ(run.SheetsUsed(), 1);
    EXPECT_EQ(run.RemainingPieces(), 1);

    // Turned it would fit the second sheet; turning is not considered here.
    Project none = MakeProject({{500, 500}, {900, 500}}, {Part(1, 400, 800, 1, 0)});
    EXPECT_EQ(run.Begin(none), kTextNoSheetFits);
    EXPECT_FALSE(run.Active());
}

TEST(ManualRun, AcceptPlacesPiecesAndOffcuts) {
    // Row 1 with row 2 on top leaves a gap beside row 2, a strip to the right and one above.
    Project project = MakeProject({{1000, 800}}, {Part(1, 600, 400, 1), Part(2, 500, 300, 1)});
    ManualRun run;
    ASSERT_EQ(run.Begin(project), 0);
    run.Search(0.5f, 100, 1000);
    ASSERT_EQ(run.AlternativePieces(0), 2);
    // 100 - 410000 div 8000.
    EXPECT_EQ(run.AlternativeYield(0), 49);
    EXPECT_EQ(run.Accept(project, 0, false), ManualAdvance::kLastSheetUsed);
    EXPECT_EQ(project.result.PlacedParts,
              (std::vector<PlacedPart>{{1, 0, 0, 600, 400, 0, 1}, {1, 0, 400, 500, 700, 0, 2}}));
    EXPECT_EQ(project.result.Offcuts,
              (std::vector<Offcut>{
                  {1, 500, 400, 600, 700}, {1, 600, 0, 1000, 700}, {1, 0, 700, 1000, 800}}));
    EXPECT_EQ(project.input.PartWorks[0].quantity, 0);
    EXPECT_EQ(project.input.PartWorks[1].quantity, 0);
    EXPECT_FALSE(run.Active());
    EXPECT_FALSE(run.Accept(project, 0, false).has_value());
}

TEST(ManualRun, TurnedPieceIsPlacedTurnedAndRunMovesOn) {
    // Row 1 fits only turned; row 2 makes the sheet a candidate. No join is cheap enough.
    Project project =
        MakeProject({{1000, 500}, {1000, 500}}, {Part(1, 400, 900, 1, 0), Part(2, 100, 100, 1, 1)});
    ManualRun run;
    ASSERT_EQ(run.Begin(project), 0);
    run.Search(0.001f, 92, 1000);
    EXPECT_EQ(run.Accept(project, 0, false), ManualAdvance::kNextSheet);
    EXPECT_EQ(project.result.PlacedParts, (std::vector<PlacedPart>{{1, 0, 0, 900, 400, 1, 1}}));
    EXPECT_EQ(project.result.Offcuts,
              (std::vector<Offcut>{{1, 900, 0, 1000, 400}, {1, 0, 400, 1000, 500}}));
    // The second sheet searches with the remaining row only.
    EXPECT_EQ(run.Sheet().number, 2);
    EXPECT_EQ(run.SheetsUsed(), 2);
    EXPECT_EQ(run.RemainingPieces(), 1);
    ASSERT_EQ(run.Parts().size(), 1u);
    EXPECT_EQ(run.Parts()[0].row, 2);
    EXPECT_FALSE(run.Search().HasData());
}

struct DuplicateCase {
    int32_t quantity;
    int32_t equalSheets;  // followed by one larger sheet
    ManualAdvance advance;
    int32_t lastFilledSheet;
};

class ManualDuplicateRuns : public ::testing::TestWithParam<DuplicateCase> {};

TEST_P(ManualDuplicateRuns, RepeatsTheLayoutOnIdenticalSheets) {
    const DuplicateCase& c = GetParam();
    std::vector<Sheet> sheets(c.equalSheets, Sheet{1000, 800});
    sheets.push_back({1200, 900});
    Project project = MakeProject(sheets, {Part(1, 900, 800, c.quantity)});
    ManualRun run;
    ASSERT_EQ(run.Begin(project), 0);
    run.Search(0.001f, 92, 1000);
    EXPECT_EQ(run.Accept(project, 0, true), c.advance);
    ASSERT_EQ(static_cast<int32_t>(project.result.PlacedParts.size()), c.lastFilledSheet);
    for (int32_t s = 1; s <= c.lastFilledSheet; ++s) {
        EXPECT_EQ(project.result.PlacedParts[s - 1], (PlacedPart{s, 0, 0, 900, 800, 0, 1}));
        EXPECT_EQ(project.result.Offcuts[s - 1], (Offcut{s, 900, 0, 1000, 800}));
    }
    EXPECT_EQ(project.input.PartWorks[0].quantity, c.quantity - c.lastFilledSheet);
    if (c.advance == ManualAdvance::kNextSheet) {
        EXPECT_EQ(run.Sheet().number, c.lastFilledSheet + 1);
        EXPECT_EQ(run.SheetsUsed(), c.lastFilledSheet + 1);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Manual, ManualDuplicateRuns,
    ::testing::Values(
        // Three equal sheets and enough parts: copies on sheets 2 and 3, on to sheet 4.
        DuplicateCase{4, 3, ManualAdvance::kNextSheet, 3},
        // Parts for two sheets only: one copy, then nothing remains.
        DuplicateCase{2, 3, ManualAdvance::kFinished, 2},
        DuplicateCase{1, 1, ManualAdvance::kFinished, 1}));

TEST(ManualRun, DuplicationReachingTheLastSheetEndsTheRun) {
    Project project = MakeProject({{1000, 800}, {1000, 800}, {1000, 800}}, {Part(1, 900, 800, 5)});
    ManualRun run;
    ASSERT_EQ(run.Begin(project), 0);
    run.Search(0.001f, 92, 1000);
    EXPECT_EQ(run.Accept(project, 0, true), ManualAdvance::kLastSheetUsed);
    EXPECT_EQ(project.result.PlacedParts.size(), 3u);
    EXPECT_EQ(project.input.PartWorks[0].quantity, 2);
}

// Every piece lies on its sheet, inside it and apart from the others.
void ExpectSoundLayout(const Project& project) {
    const auto& placed = project.result.PlacedParts;
    for (size_t i = 0; i < placed.size(); ++i) {
        const PlacedPart& p = placed[i];
        const SheetInstance& s = project.input.SheetInstances[p.sheet - 1];
        EXPECT_TRUE(p.x1 >= 0 && p.y1 >= 0 && p.x2 <= s.length && p.y2 <= s.width) << i;
        const PartInput& row = project.input.PartInputs[p.row - 1];
        EXPECT_EQ(p.x2 - p.x1, p.rotated ? row.width : row.length) << i;
        EXPECT_EQ(p.y2 - p.y1, p.rotated ? row.length : row.width) << i;
        for (size_t j = 0; j < i; ++j) {
            const PlacedPart& q = placed[j];
            const bool apart =
                q.sheet != p.sheet || q.x2 <= p.x1 || p.x2 <= q.x1 || q.y2 <= p.y1 || p.y2 <= q.y1;
            EXPECT_TRUE(apart) << i << " overlaps " << j;
        }
    }
}

TEST(ManualRun, HeadlessRunPlacesEveryPieceItCan) {
    std::mt19937 rng(7);
    std::vector<PartInput> parts = RandomJob(rng, 8);
    std::sort(parts.begin(), parts.end(), [](const PartInput& a, const PartInput& b) {
        return int64_t{a.length} * a.width > int64_t{b.length} * b.width;
    });
    for (size_t r = 0; r < parts.size(); ++r) parts[r].row = static_cast<int32_t>(r) + 1;
    Project project = MakeProject(std::vector<Sheet>(10, Sheet{1200, 900}), parts);
    ManualLayoutOptions options;
    options.manualDuplicate = true;
    ASSERT_EQ(RunManualLayout(project, options), 0);
    EXPECT_EQ(static_cast<int32_t>(project.result.PlacedParts.size()), project.input.TotalPieces);
    for (const PartWork& w : project.input.PartWorks) EXPECT_EQ(w.quantity, 0);
    ExpectSoundLayout(project);
}

TEST(ManualRun, HeadlessRunStopsWhenNoSheetTakesTheRest) {
    // One part fits nowhere; the others fill the only sheet.
    Project project = MakeProject({{1000, 500}}, {Part(1, 1200, 400, 1), Part(2, 500, 500, 2)});
    ASSERT_EQ(RunManualLayout(project, {}), 0);
    EXPECT_EQ(project.result.PlacedParts.size(), 2u);
    EXPECT_EQ(project.input.PartWorks[0].quantity, 1);
    ExpectSoundLayout(project);
    Project none = MakeProject({{1000, 500}}, {Part(1, 1200, 400, 1)});
    EXPECT_EQ(RunManualLayout(none, {}), kTextNoSheetFits);
}

// ---- preview -------------------------------------------------------------------------------

class RecordingCanvas : public Canvas {
public:
    std::vector<std::string> calls;
    void SetFont(const Font&) override {}
    void SetPen(const Pen&) override {}
    void SetTextColor(Color) override {}
    int TextWidth(const std::string&) override { return 0; }
    int TextHeight(const std::string&) override { return 0; }
    void TextOut(int x, int y, const std::string& text, int) override {
        calls.push_back("text " + std::to_string(x) + "," + std::to_string(y) + " " + text);
    }
    void MoveTo(int, int) override {}
    void LineTo(int, int) override {}
    void FillRect(int, int, int, int, Color) override {}
    void FrameRect(int x1, int y1, int x2, int y2) override {
        calls.push_back("frame " + std::to_string(x1) + "," + std::to_string(y1) + "," +
                        std::to_string(x2) + "," + std::to_string(y2));
    }
};

TEST(ManualRun, PreviewScalesTheSheetAndLabelsRows) {
    Project project = MakeProject({{1000, 800}}, {Part(1, 600, 400, 1), Part(2, 500, 300, 1)});
    ManualRun run;
    ASSERT_EQ(run.Begin(project), 0);
    RecordingCanvas before;
    run.DrawPreview(before, 0, 100, 100);
    EXPECT_TRUE(before.calls.empty());
    run.Search(0.5f, 100, 1000);
    RecordingCanvas canvas;
    // Scale: the larger of 1000 / 100 and 800 / 100.
    run.DrawPreview(canvas, 0, 100, 100);
    EXPECT_EQ(canvas.calls,
              (std::vector<std::string>{"frame 0,0,100,80", "frame 0,0,60,40", "text 5,5 1",
                                        "frame 0,40,50,70", "text 5,45 2"}));
}

}  // namespace
}  // namespace trimora
