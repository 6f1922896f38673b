#include "output/diagram.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <tuple>

#include "support/recording_canvas.h"

namespace trimora {
namespace {

using test::CallKind;
using test::CanvasCall;
using test::RecordingCanvas;

constexpr int kSurfaceWidth = 777;
constexpr int kSurfaceHeight = 434;

std::string Text(int n) {
    return "T" + std::to_string(n);
}

// A 2800 x 2070 mm sheet (kerf 0.4 mm) holding a banded part and a turned one, four offcuts
// around them, and a second sheet whose pieces must never show on the first layout.
//
//   part 1  (0, 0)-(5984, 3984)        600 x 400 with bands 2/0 along, 1/1 across
//   part 2  (5984, 0)-(10988, 10004)   1000 x 500 turned
//   offcut 0 (10988, 0)-(28000, 20700) reaches both far edges
//   offcut 1 (0, 3984)-(5984, 10004)   inside the sheet
//   offcut 2 (0, 10004)-(10988, 10104) 10 mm high: no size texts
//   offcut 3 (0, 10104)-(10988, 20700) reaches the far width edge
class DiagramTest : public ::testing::Test {
protected:
    DiagramTest() {
        project.SheetRowCount = 1;
        project.sheets.SetCell(1, 1, "2800");
        project.sheets.SetCell(2, 1, "2070");
        project.sheets.SetCell(3, 1, "2");
        project.PartRowCount = 3;
        SetPart(1, {"600", "400", "1", " A1 ", "", "", "", "", "", "2", "0", "1", "1", "=", "", "-",
                    ""});
        SetPart(
            2, {"1000", "500", "1", " B ", "", "", "", "", "", "", "", "", "", "L", "l", "W", "w"});
        SetPart(3, {"300", "300", "1", "Z"});
        project.input.SheetInstances = {{28000, 20700, 2, 1, 1}, {28000, 20700, 2, 2, 1}};
        project.result.PlacedParts = {{1, 0, 0, 5984, 3984, 0, 1},
                                      {1, 5984, 0, 10988, 10004, 1, 2},
                                      {2, 0, 0, 3004, 3004, 0, 3}};
        project.result.Offcuts = {{1, 10988, 0, 28000, 20700},
                                  {1, 0, 3984, 5984, 10004},
                                  {1, 0, 10004, 10988, 10104},
                                  {1, 0, 10104, 10988, 20700},
                                  {2, 3004, 0, 28000, 20700}};
        layouts = BuildLayoutList(project.input.SheetInstances, project.result.PlacedParts, true,
                                  project.SheetRowCount);
        options.DefFont = "Verdana";
        options.areaStyle = 2;
    }

    void SetPart(int row, const std::vector<std::string>& cells) {
        for (size_t c = 0; c < cells.size(); ++c)
            project.parts.SetCell(static_cast<int>(c) + 1, row, cells[c]);
    }

    DiagramLabels Paint(int32_t index = 0) {
        return PaintLayout(canvas, project, layouts, index, kSurfaceWidth, kSurfaceHeight, options,
                           Text);
    }

    HoverResult Hover(int x, int y) {
        return ShowPieceUnderMouse(project, layouts, 0, kSurfaceWidth, kSurfaceHeight, options,
                                   Text, pick, x, y);
    }

    std::vector<std::tuple<int, int, int, int>> Frames() const {
        std::vector<std::tuple<int, int, int, int>> out;
        for (const CanvasCall& c : canvas.Of(CallKind::FrameRect)) {
            EXPECT_EQ(c.pen, Pen{}) << test::Describe(c);
            out.emplace_back(c.x1, c.y1, c.x2, c.y2);
        }
        return out;
    }

    Project project;
    LayoutList layouts;
    DiagramOptions options;
    RecordingCanvas canvas;
    DiagramPick pick;
};

TEST_F(DiagramTest, ScaleFitsTheWidthOfTheSheetIntoTheHeight) {
    const float s = ViewScale(28000, 20700, kSurfaceWidth, kSurfaceHeight);
    EXPECT_NEAR(s, 47.696, 0.001);
    EXPECT_EQ(static_cast<int>(28000 / s), 587);
    EXPECT_EQ(ViewScale(28000, 20700, 0, kSurfaceHeight), 0.0f);
    EXPECT_EQ(ViewScale(0, 20700, kSurfaceWidth, kSurfaceHeight), 0.0f);
}

TEST_F(DiagramTest, PaintsSheetPartsAndOffcutsToScale) {
    ASSERT_EQ(layouts.LayoutCount(), 2);
    const DiagramLabels labels = Paint();
    EXPECT_TRUE(labels.painted);
    EXPECT_EQ(labels.Label39, "1");
    EXPECT_EQ(labels.Label7, "T70 2800mm x 2070mm T38=5.796 m² (x1)");

    const std::vector<CanvasCall> fills = canvas.Of(CallKind::FillRect);
    ASSERT_FALSE(fills.empty());
    EXPECT_EQ(std::tie(fills[0].x1, fills[0].y1, fills[0].x2, fills[0].y2),
              std::make_tuple(0, 0, 777, 434));
    EXPECT_EQ(fills[0].color, kWhite);
    // The surface, then the parts, then the offcuts; nothing of sheet 2.
    EXPECT_THAT(Frames(), ::testing::ElementsAre(
                              std::make_tuple(0, 0, 777, 434), std::make_tuple(0, 0, 125, 83),
                              std::make_tuple(125, 0, 230, 209), std::make_tuple(230, 0, 587, 433),
                              std::make_tuple(0, 83, 125, 209), std::make_tuple(0, 209, 230, 211),
                              std::make_tuple(0, 211, 230, 433)))
        << canvas.Dump();
    EXPECT_TRUE(canvas.TextsEqual("Z").empty());
    EXPECT_TRUE(canvas.TextsEqual("300").empty());

    const DiagramLabels second = Paint(1);
    EXPECT_EQ(second.Label39, "2");
    EXPECT_EQ(canvas.TextsEqual("Z").size(), 1u);
}

TEST_F(DiagramTest, PartLabelsCarryCutSizesBandMarksAndInitials) {
    Paint();
    // Text widths: characters x 8 points x 0.6, truncated.
    struct Expected {
        const char* text;
        int x, y;
    };
    const Expected expected[] = {
        {"598=", 53, 1},       // cut length 600 - 1 - 1, centred under the top edge
        {"398-", 1, 41},       // cut width 400 - 2 - 0, at the left edge, mid-height
        {"A1", 62, 41},        // trimmed initials at the centre
        {"500Ww", 165, 1},     // turned: the width and its edges' marks lie along x
        {"1000Ll", 126, 104},  // and the length along y
        {"B", 177, 104},
    };
    for (const Expected& e : expected) {
        const std::vector<CanvasCall> hits = canvas.TextsEqual(e.text);
        ASSERT_EQ(hits.size(), 1u) << e.text << "\n" << canvas.Dump();
        EXPECT_EQ(std::tie(hits[0].x1, hits[0].y1), std::tie(e.x, e.y)) << e.text;
        EXPECT_EQ(hits[0].font, (Font{"Verdana", 8, false})) << e.text;
        EXPECT_EQ(hits[0].angleTenths, 0) << e.text;
    }
}

TEST_F(DiagramTest, OffcutSizesDeductTheKerfOnlyInsideTheSheet) {
    Paint();
    struct Expected {
        const char* text;
        int x, y;
    };
    const Expected expected[] = {
        {"1701.2", 398, 4},  // offcut 0 reaches the sheet's far edges: no kerf taken off
        {"2070", 234, 216},
        {"598", 52, 87},  // offcut 1 lies inside: stored size less one kerf each way
        {"601.6", 4, 146},
        {"1098.4", 105, 215},  // offcut 3: kerf off the length only
        {"1059.6", 4, 322},
    };
    for (const Expected& e : expected) {
        const std::vector<CanvasCall> hits = canvas.TextsEqual(e.text);
        ASSERT_EQ(hits.size(), 1u) << e.text << "\n" << canvas.Dump();
        EXPECT_EQ(std::tie(hits[0].x1, hits[0].y1), std::tie(e.x, e.y)) << e.text;
    }
    // Offcut 2 (exactly 10 mm high) gets no texts: 6 offcut texts and 6 part texts in all.
    EXPECT_EQ(canvas.Of(CallKind::Text).size(), 12u) << canvas.Dump();
    // Every text sits on a white box of its own size, above the hatching.
    for (const CanvasCall& t : canvas.Of(CallKind::Text)) {
        const auto it = std::find_if(canvas.calls.begin(), canvas.calls.end(), [&](auto& c) {
            return c.kind == CallKind::FillRect && c.x1 == t.x1 && c.y1 == t.y1;
        });
        ASSERT_NE(it, canvas.calls.end()) << t.text;
        EXPECT_EQ(it->x2 - it->x1, static_cast<int>(t.text.size()) * 8 * 6 / 10) << t.text;
        EXPECT_EQ(it->y2 - it->y1, 12) << t.text;
    }
}

TEST_F(DiagramTest, HatchingIsDottedAndStaysInsideEachOffcut) {
    options.LayoutSrafura = 30;
    Paint();
    const std::vector<CanvasCall> lines = canvas.Of(CallKind::Line);
    struct Box {
        int l, t, r, b;
    };
    const Box boxes[] = {
        {230, 0, 587, 433}, {0, 83, 125, 209}, {0, 209, 230, 211}, {0, 211, 230, 433}};
    size_t expectedLines = 0;
    for (const Box& b : boxes)
        expectedLines += static_cast<size_t>((b.r - b.l + b.b - b.t) / 30 + 1);
    ASSERT_EQ(lines.size(), expectedLines);
    for (const CanvasCall& line : lines) {
        EXPECT_EQ(line.pen, (Pen{kBlack, 1, PenStyle::Dot}));
        EXPECT_EQ(line.x1 - line.x2, line.y2 - line.y1)
            << "not at 45 degrees: " << test::Describe(line);
        const bool inside = std::any_of(std::begin(boxes), std::end(boxes), [&](const Box& b) {
            return std::min(line.x1, line.x2) >= b.l && std::max(line.x1, line.x2) <= b.r &&
                   std::min(line.y1, line.y2) >= b.t && std::max(line.y1, line.y2) <= b.b;
        });
        EXPECT_TRUE(inside) << test::Describe(line);
    }
}

TEST(HatchRectTest, WalksTheDiagonalsAcrossBothCorners) {
    RecordingCanvas canvas;
    HatchRect(canvas, 10, 20, 40, 30, 15);  // 30 wide, 10 high
    std::vector<std::tuple<int, int, int, int>> lines;
    for (const CanvasCall& c : canvas.Of(CallKind::Line))
        lines.emplace_back(c.x1, c.y1, c.x2, c.y2);
    EXPECT_THAT(lines, ::testing::ElementsAre(std::make_tuple(10, 20, 10, 20),
                                              std::make_tuple(25, 20, 15, 30),
                                              std::make_tuple(40, 20, 30, 30)));
    EXPECT_EQ(canvas.CurrentPen().style, PenStyle::Dot);

    RecordingCanvas zero;
    HatchRect(zero, 0, 0, 5, 5, 0);  // a damaged spacing still ends
    EXPECT_EQ(zero.Of(CallKind::Line).size(), 11u);
}

TEST_F(DiagramTest, NothingIsDrawnWithoutSheetsAndOnlyTheSurfaceWithoutALayout) {
    project.SheetRowCount = 0;
    EXPECT_FALSE(Paint().painted);
    EXPECT_TRUE(canvas.calls.empty());

    project.SheetRowCount = 1;
    const DiagramLabels labels = Paint(5);
    EXPECT_TRUE(labels.painted);
    EXPECT_EQ(labels.Label7, "");
    EXPECT_EQ(canvas.calls.size(), 2u) << canvas.Dump();  // the white surface and its frame
}

TEST_F(DiagramTest, HoverNamesTheOffcutUnderTheMouseAndHighlightsIt) {
    // Offcut 1 lies at pixels (0, 83)-(125, 209).
    HoverResult r = Hover(60, 150);
    EXPECT_EQ(r.hoveredOffcut, 1);
    EXPECT_EQ(r.Label44, "T36598mm T37601.6mm T38=0.36 m²");
    ASSERT_EQ(r.frames.size(), 6u);  // four offcuts, then the two parts
    EXPECT_EQ(r.frames[1], (FrameMark{0, 83, 125, 209, kHoverRed}));
    for (size_t i : {0u, 2u, 3u, 4u, 5u}) EXPECT_EQ(r.frames[i].color, kBlack) << i;

    // Still over it: its highlight is left alone.
    pick.hoveredOffcut = r.hoveredOffcut;
    r = Hover(61, 150);
    EXPECT_EQ(r.hoveredOffcut, 1);
    EXPECT_EQ(r.frames.size(), 5u);
    EXPECT_TRUE(std::none_of(r.frames.begin(), r.frames.end(),
                             [](const FrameMark& f) { return f.color != kBlack; }));

    // Coming back to the picked offcut shows it blue.
    pick = {1, 3};
    r = Hover(60, 150);
    EXPECT_EQ(r.frames[1].color, kPickedBlue);
}

TEST_F(DiagramTest, HoverOverAPartOrOverNothing) {
    // Part 2 lies at pixels (125, 0)-(230, 209): its stored size less one kerf each way.
    HoverResult r = Hover(200, 100);
    EXPECT_EQ(r.hoveredOffcut, kPartPicked);
    EXPECT_EQ(r.Label44, "T36500mm T371000mm T38=0.5 m²");
    EXPECT_EQ(r.frames.back(), (FrameMark{125, 0, 230, 209, kHoverRed}));
    pick.selectedOffcut = kPartPicked;
    EXPECT_EQ(Hover(200, 100).frames.back().color, kPickedBlue);

    // On a border is not inside: nothing named, every frame black, the last hover kept.
    pick = {kNoOffcut, 3};
    r = Hover(125, 100);
    EXPECT_FALSE(r.Label44.has_value());
    EXPECT_EQ(r.hoveredOffcut, 3);
    EXPECT_EQ(r.frames.size(), 6u);
    EXPECT_TRUE(std::none_of(r.frames.begin(), r.frames.end(),
                             [](const FrameMark& f) { return f.color != kBlack; }));

    RecordingCanvas frames;
    DrawFrames(frames, {{1, 2, 3, 4, kHoverRed}});
    ASSERT_EQ(frames.calls.size(), 1u);
    EXPECT_EQ(frames.calls[0].pen, (Pen{kHoverRed, 1, PenStyle::Solid}));
    EXPECT_EQ(frames.CurrentPen(), Pen{});
}

// Re-split of two offcuts: each case is run with either offcut picked first.
struct ResplitCase {
    const char* name;
    Offcut first, second;  // as stored, indexes 0 and 1
    Offcut newFirst, newSecond;
};

class ResplitTest : public ::testing::TestWithParam<ResplitCase> {};

AreaTenths Area(const Offcut& o) {
    return AreaTenths{o.x2 - o.x1} * (o.y2 - o.y1);
}
bool Overlap(const Offcut& a, const Offcut& b) {
    return a.x1 < b.x2 && b.x1 < a.x2 && a.y1 < b.y2 && b.y1 < a.y2;
}

TEST_P(ResplitTest, MakesTheStripThroughBothAndTheRest) {
    const ResplitCase& c = GetParam();
    for (bool firstPicked : {true, false}) {
        RunResult result;
        result.Offcuts = {c.first, c.second};
        DiagramPick pick{firstPicked ? 0 : 1, firstPicked ? 1 : 0};
        EXPECT_EQ(ResplitOffcuts(result, pick), ResplitOutcome::Resplit);
        EXPECT_EQ(result.Offcuts[0], c.newFirst) << firstPicked;
        EXPECT_EQ(result.Offcuts[1], c.newSecond) << firstPicked;
        EXPECT_EQ(pick.selectedOffcut, kNoOffcut);
        EXPECT_EQ(Area(result.Offcuts[0]) + Area(result.Offcuts[1]),
                  Area(c.first) + Area(c.second));
        EXPECT_FALSE(Overlap(result.Offcuts[0], result.Offcuts[1]));
    }
}

INSTANTIATE_TEST_SUITE_P(Pairs, ResplitTest,
                         ::testing::Values(ResplitCase{"SideTopsLowerRight",
                                                       {1, 0, 0, 1000, 500},
                                                       {1, 1000, 0, 2000, 800},
                                                       {1, 0, 0, 2000, 500},
                                                       {1, 1000, 500, 2000, 800}},
                                           ResplitCase{"SideTopsStoredRightFirst",
                                                       {1, 1000, 0, 2000, 800},
                                                       {1, 0, 0, 1000, 500},
                                                       {1, 1000, 500, 2000, 800},
                                                       {1, 0, 0, 2000, 500}},
                                           ResplitCase{"SideTopsTallerLeft",
                                                       {1, 0, 0, 1000, 800},
                                                       {1, 1000, 0, 2000, 500},
                                                       {1, 0, 0, 2000, 500},
                                                       {1, 0, 500, 1000, 800}},
                                           ResplitCase{"SideBottomsTallerRight",
                                                       {1, 0, 300, 1000, 800},
                                                       {1, 1000, 0, 2000, 800},
                                                       {1, 0, 300, 2000, 800},
                                                       {1, 1000, 0, 2000, 300}},
                                           ResplitCase{"SideBottomsTallerLeft",
                                                       {1, 0, 0, 1000, 800},
                                                       {1, 1000, 300, 2000, 800},
                                                       {1, 0, 300, 2000, 800},
                                                       {1, 0, 0, 1000, 300}},
                                           ResplitCase{"AboveLeftsWiderBelow",
                                                       {1, 0, 0, 500, 1000},
                                                       {1, 0, 1000, 800, 2000},
                                                       {1, 0, 0, 500, 2000},
                                                       {1, 500, 1000, 800, 2000}},
                                           ResplitCase{"AboveLeftsWiderAbove",
                                                       {1, 0, 0, 800, 1000},
                                                       {1, 0, 1000, 500, 2000},
                                                       {1, 0, 0, 500, 2000},
                                                       {1, 500, 0, 800, 1000}},
                                           ResplitCase{"AboveRightsWiderBelow",
                                                       {1, 0, 1000, 800, 2000},
                                                       {1, 300, 0, 800, 1000},
                                                       {1, 0, 1000, 300, 2000},
                                                       {1, 300, 0, 800, 2000}},
                                           ResplitCase{"AboveRightsWiderAbove",
                                                       {1, 0, 0, 800, 1000},
                                                       {1, 300, 1000, 800, 2000},
                                                       {1, 300, 0, 800, 2000},
                                                       {1, 0, 0, 300, 1000}}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(ResplitRefusedTest, PairsThatDoNotGiveTwoRectanglesChangeNothing) {
    struct Case {
        const char* name;
        Offcut a, b;
    } cases[] = {
        {"equal heights side by side", {1, 0, 0, 1000, 500}, {1, 1000, 0, 2000, 500}},
        {"equal widths one above the other", {1, 0, 0, 800, 1000}, {1, 0, 1000, 800, 2000}},
        {"no ends lined up", {1, 0, 100, 1000, 400}, {1, 1000, 0, 2000, 500}},
        {"a gap between", {1, 0, 0, 1000, 500}, {1, 1001, 0, 2000, 500}},
        {"corners only", {1, 0, 0, 1000, 500}, {1, 1000, 500, 2000, 800}},
        {"different sheets", {1, 0, 0, 1000, 500}, {2, 1000, 0, 2000, 800}},
    };
    for (const Case& c : cases) {
        RunResult result;
        result.Offcuts = {c.a, c.b};
        DiagramPick pick{0, 1};
        EXPECT_EQ(ResplitOffcuts(result, pick), ResplitOutcome::Refused) << c.name;
        EXPECT_EQ(result.Offcuts, (std::vector<Offcut>{c.a, c.b})) << c.name;
        EXPECT_EQ(pick.selectedOffcut, 0) << c.name << ": the pick stays";
    }
}

TEST(ResplitPickTest, ClicksPickDropAndNeverResplitAPart) {
    RunResult result;
    result.Offcuts = {{1, 0, 0, 1000, 500}, {1, 1000, 0, 2000, 800}};
    const std::vector<Offcut> before = result.Offcuts;
    DiagramPick pick;

    pick.hoveredOffcut = 1;
    EXPECT_EQ(ResplitOffcuts(result, pick), ResplitOutcome::Picked);
    EXPECT_EQ(pick.selectedOffcut, 1);
    EXPECT_EQ(ResplitOffcuts(result, pick), ResplitOutcome::Dropped);  // same offcut again
    EXPECT_EQ(pick.selectedOffcut, kNoOffcut);

    pick.hoveredOffcut = kPartPicked;
    EXPECT_EQ(ResplitOffcuts(result, pick), ResplitOutcome::Picked);
    EXPECT_EQ(pick.selectedOffcut, kPartPicked);
    pick.hoveredOffcut = 0;  // a part, then an offcut: the offcut becomes the pick
    EXPECT_EQ(ResplitOffcuts(result, pick), ResplitOutcome::Picked);
    EXPECT_EQ(pick.selectedOffcut, 0);
    pick.hoveredOffcut = kPartPicked;  // an offcut, then a part
    EXPECT_EQ(ResplitOffcuts(result, pick), ResplitOutcome::Picked);
    EXPECT_EQ(pick.selectedOffcut, kPartPicked);

    pick = {7, 0};  // an index the result no longer holds
    EXPECT_EQ(ResplitOffcuts(result, pick), ResplitOutcome::Picked);
    EXPECT_EQ(pick.selectedOffcut, 0);
    EXPECT_EQ(result.Offcuts, before);

    pick = {kNoOffcut, kNoOffcut};
    EXPECT_EQ(ResplitOffcuts(result, pick), ResplitOutcome::Dropped);
}

}  // namespace
}  // namespace trimora
