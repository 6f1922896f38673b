// The cutting diagram of the preview page: one layout drawn to scale with its parts, their
// cut sizes and edge-band marks, and its hatched offcuts; the piece under the mouse; and the
// re-division of two touching offcuts picked one after the other.
//
// Geometry: the sheet's length runs to the right and its width downwards from the surface's
// top-left corner. The view scale s (Tenths per pixel, single precision) is the larger of
// length / surface width and width / surface height, and a coordinate c lies at pixel c / s,
// truncated.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "config/settings.h"
#include "core/canvas.h"
#include "core/length_units.h"
#include "core/project.h"
#include "core/text_grid.h"
#include "output/layout_list.h"

namespace trimora {

// Language text by number.
using TextLookup = std::function<std::string(int)>;

struct DiagramOptions {
    std::string DefFont = "Arial";  // font face of the diagram texts
    int LayoutSrafura = 30;         // hatch spacing of the offcuts, pixels
    Tenths Testera = 4;             // saw kerf
    LengthUnit lengthUnit = 0;
    AreaStyle areaStyle = 0;
};

DiagramOptions DiagramOptionsFrom(const Settings& settings);

// The view's pick state, owned by the window.
inline constexpr int32_t kNoOffcut = 99999;  // nothing picked
inline constexpr int32_t kPartPicked = -1;   // the mouse was last over a part
struct DiagramPick {
    int32_t selectedOffcut = kNoOffcut;  // offcut index, kNoOffcut or kPartPicked
    int32_t hoveredOffcut = kNoOffcut;   // offcut last under the mouse, or kPartPicked
};

// 0 when the sheet or the surface has no size (nothing can be drawn then).
float ViewScale(Tenths sheetLength, Tenths sheetWidth, int surfaceWidth, int surfaceHeight);

// The texts written on a part: its cut sizes (finished size less the bands' thickness) each
// followed by the diagram marks of the two edges that run along it. A turned part shows its
// width on the horizontal label.
struct PartLabelTexts {
    std::string horizontal;
    std::string vertical;
    std::string initials;
};
PartLabelTexts PartLabels(const TextGrid& parts, const PlacedPart& part, LengthUnit unit);

// The size shown for an offcut: its stored size less one kerf, except along a side that
// reaches the sheet's far edge, where no kerf was taken.
struct ShownSize {
    Tenths length = 0;
    Tenths width = 0;
};
ShownSize ShownOffcutSize(const Offcut& offcut, Tenths sheetLength, Tenths sheetWidth, Tenths kerf);

// Dotted 45-degree lines from upper right to lower left, spacing pixels apart, inside the
// rectangle. The pen is left dotted.
void HatchRect(Canvas& canvas, int left, int top, int right, int bottom, int spacing);

// The caption texts that go with a painted layout. When painted is false nothing was drawn
// (the sheet table is empty) and the labels stay as they are.
struct DiagramLabels {
    bool painted = false;
    std::string Label39;  // number of the layout shown, from 1
    std::string Label7;   // sheet size line; empty when the index names no layout
};

// Draws layout layoutIndex of the list onto a white surface of the given size. Language texts
// 70 and 38 go into Label7.
//
// A pending offcut pick belongs to the layout shown: the window drops it (selectedOffcut =
// kNoOffcut) whenever it draws the diagram anew because the layout or its data changed.
DiagramLabels PaintLayout(Canvas& canvas, const Project& project, const LayoutList& layouts,
                          int32_t layoutIndex, int surfaceWidth, int surfaceHeight,
                          const DiagramOptions& options, const TextLookup& text);

// A 1-pixel solid frame to draw over the diagram.
struct FrameMark {
    int left = 0, top = 0, right = 0, bottom = 0;
    Color color = kBlack;
    friend bool operator==(const FrameMark&, const FrameMark&) = default;
};

struct HoverResult {
    // Frames to draw over the diagram, in order. An offcut that was already the hovered one
    // and is still under the mouse is left out, so it keeps its highlight.
    std::vector<FrameMark> frames;
    // The size line of the piece under the mouse; unset when the mouse is over no piece
    // (the label then keeps its text).
    std::optional<std::string> Label44;
    int32_t hoveredOffcut = kNoOffcut;  // the window stores this in its pick state
};

inline constexpr Color kHoverRed{255, 0, 0};
inline constexpr Color kPickedBlue{0, 0, 255};

// The piece under the mouse at (x, y) pixels of the layout drawn by PaintLayout with the same
// inputs: every offcut frame goes back to black except the one under the mouse, which turns
// red (blue when it is the picked one); the part under the mouse turns red (blue while a part
// is picked). Language texts 36, 37 and 38 go into Label44.
HoverResult ShowPieceUnderMouse(const Project& project, const LayoutList& layouts,
                                int32_t layoutIndex, int surfaceWidth, int surfaceHeight,
                                const DiagramOptions& options, const TextLookup& text,
                                const DiagramPick& pick, int x, int y);

// Draws the frames of a HoverResult; the pen is solid black afterwards.
void DrawFrames(Canvas& canvas, const std::vector<FrameMark>& frames);

enum class ResplitOutcome {
    Picked,   // the piece last under the mouse became the pick
    Dropped,  // the picked offcut was clicked again, or nothing was there to pick
    Resplit,  // the two offcuts were re-divided and the pick dropped: the result changed
    Refused,  // the pair does not touch or cannot be re-divided; nothing changed, pick stays
};

// A click on the diagram. The first click picks the offcut under the mouse; a click on a
// second offcut that touches it along an edge turns the pair into the strip running through
// both and the remaining rectangle. A pair whose re-division would not give two rectangles
// (equal extents, or no ends lined up) is refused, so offcuts never overlap and keep their
// total area. A part can be picked, but a re-split only ever takes two offcuts: a click with
// a part on either side picks what is under the mouse instead.
// After Resplit the window redraws and rebuilds the statistics, the report and the bill.
ResplitOutcome ResplitOffcuts(RunResult& result, DiagramPick& pick);

}  // namespace trimora
