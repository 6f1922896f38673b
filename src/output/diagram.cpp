#include "output/diagram.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <string_view>

namespace trimora {

namespace {

enum : int {
    kOffcutLengthCaption = 36,
    kOffcutWidthCaption = 37,
    kAreaCaption = 38,
    kSheetCaption = 70,
};

constexpr int kFontSize = 8;
constexpr Tenths kSmallestLabelledOffcut = 100;  // offcuts up to 10 mm get no size texts

std::string T(const TextLookup& text, int number) {
    return text ? text(number) : std::string();
}

std::string_view TrimSpaces(std::string_view s) {
    while (!s.empty() && (s.front() == ' ' || s.front() == '\t')) s.remove_prefix(1);
    while (!s.empty() && (s.back() == ' ' || s.back() == '\t')) s.remove_suffix(1);
    return s;
}

// Unreadable or empty cells count as 0: an edge without band may hold an empty thickness.
int64_t ReadLength(std::string_view cell, LengthUnit unit) {
    return std::max<Tenths>(ParseLength(unit, TrimSpaces(cell)), 0);
}

Tenths ClampTenths(int64_t v) {
    return static_cast<Tenths>(std::clamp<int64_t>(v, std::numeric_limits<Tenths>::min(),
                                                   std::numeric_limits<Tenths>::max()));
}

std::string FL(int64_t v, LengthUnit unit) {
    return FormatLength(ClampTenths(v), unit);
}

// A pixel position on a surface of the given extent. Records inside the sheet always map
// into the surface; damaged ones are kept on it so that hatching stays bounded.
int ToPixel(double v, int extent) {
    if (!(v > 0)) return 0;  // also NaN
    if (v >= extent) return extent;
    return static_cast<int>(v);
}

// A text position: truncated towards zero like every diagram coordinate, only kept within a
// range that cannot overflow.
int TextPixel(double v) {
    if (!(v == v)) return 0;
    return static_cast<int>(std::clamp(v, -1e9, 1e9));
}

struct Rect {
    int left = 0, top = 0, right = 0, bottom = 0;
};

// The layout to draw and where its pieces land.
struct Geometry {
    int32_t sheet = 0;
    int32_t repeatCount = 1;
    Tenths length = 0, width = 0;
    float s = 0;
    int surfaceWidth = 0, surfaceHeight = 0;

    Rect Map(int32_t x1, int32_t y1, int32_t x2, int32_t y2) const {
        const double sd = s;
        return {ToPixel(x1 / sd, surfaceWidth), ToPixel(y1 / sd, surfaceHeight),
                ToPixel(x2 / sd, surfaceWidth), ToPixel(y2 / sd, surfaceHeight)};
    }
    // The midpoint of two coordinates, at pixel (a + b) / 2s.
    int Mid(int64_t a, int64_t b) const {
        return TextPixel(static_cast<double>(a + b) / (2.0 * static_cast<double>(s)));
    }
};

// Unset when the index names no layout or the sheet cannot be drawn at any scale.
std::optional<Geometry> LayoutGeometry(const Project& project, const LayoutList& layouts,
                                       int32_t layoutIndex, int surfaceWidth, int surfaceHeight) {
    if (layoutIndex < 0 || layoutIndex >= layouts.LayoutCount()) return std::nullopt;
    const Layout& layout = layouts.layouts[static_cast<size_t>(layoutIndex)];
    const auto& sheets = project.input.SheetInstances;
    if (layout.sheet < 1 || static_cast<size_t>(layout.sheet) > sheets.size()) return std::nullopt;
    const SheetInstance& sheet = sheets[static_cast<size_t>(layout.sheet) - 1];
    Geometry g;
    g.sheet = layout.sheet;
    g.repeatCount = layout.repeatCount;
    g.length = sheet.length;
    g.width = sheet.width;
    g.s = ViewScale(sheet.length, sheet.width, surfaceWidth, surfaceHeight);
    g.surfaceWidth = surfaceWidth;
    g.surfaceHeight = surfaceHeight;
    return g;
}

// Text on the white brush, as the platform writes text: its box is filled first, so hatch
// lines never run through an offcut's size.
void TextOnWhite(Canvas& canvas, int x, int y, const std::string& text) {
    if (text.empty()) return;
    canvas.FillRect(x, y, x + canvas.TextWidth(text), y + canvas.TextHeight(text), kWhite);
    canvas.TextOut(x, y, text);
}

void BlackFrame(Canvas& canvas, const Rect& r) {
    canvas.SetPen(Pen{});
    canvas.FrameRect(r.left, r.top, r.right, r.bottom);
}

bool StrictlyInside(const Rect& r, int x, int y) {
    return x > r.left && x < r.right && y > r.top && y < r.bottom;
}

std::string SizeLine(const TextLookup& text, const DiagramOptions& options, int64_t length,
                     int64_t width) {
    const std::string ls = LengthUnitSuffix(options.lengthUnit, true);
    const AreaTenths area = static_cast<AreaTenths>(ClampTenths(length)) * ClampTenths(width);
    return T(text, kOffcutLengthCaption) + FL(length, options.lengthUnit) + ls + " " +
           T(text, kOffcutWidthCaption) + FL(width, options.lengthUnit) + ls + " " +
           T(text, kAreaCaption) + "=" + FormatArea(area, options.areaStyle, true);
}

bool ValidOffcut(const RunResult& result, int32_t index) {
    return index >= 0 && static_cast<size_t>(index) < result.Offcuts.size();
}

bool HasArea(const Offcut& o) {
    return o.x1 < o.x2 && o.y1 < o.y2;
}

// The re-division of a touching pair, A being the first along the touching direction. The
// new A is the strip through both; the new B what is left of the longer one. Unset when the
// pair does not touch (touches is then false) or no rule applies.
std::optional<std::pair<Offcut, Offcut>> SideBySide(const Offcut& A, const Offcut& B,
                                                    bool& touches) {
    touches = A.x2 == B.x1 && A.y1 < B.y2 && B.y1 < A.y2;
    if (!touches) return std::nullopt;
    const Offcut a{A.sheet, A.x1, std::max(A.y1, B.y1), B.x2, std::min(A.y2, B.y2)};
    Offcut b{B.sheet, 0, 0, 0, 0};
    if (A.y1 == B.y1 && A.y2 < B.y2)
        b = {B.sheet, A.x2, A.y2, B.x2, B.y2};
    else if (A.y1 == B.y1 && A.y2 > B.y2)
        b = {B.sheet, A.x1, B.y2, A.x2, A.y2};
    else if (A.y2 == B.y2 && A.y1 > B.y1)
        b = {B.sheet, B.x1, B.y1, B.x2, A.y1};
    else if (A.y2 == B.y2 && A.y1 < B.y1)
        b = {B.sheet, A.x1, A.y1, A.x2, B.y1};
    else
        return std::nullopt;
    return std::pair{a, b};
}

std::optional<std::pair<Offcut, Offcut>> OneAboveOther(const Offcut& A, const Offcut& B,
                                                       bool& touches) {
    touches = A.y2 == B.y1 && A.x1 < B.x2 && B.x1 < A.x2;
    if (!touches) return std::nullopt;
    const Offcut a{A.sheet, std::max(A.x1, B.x1), A.y1, std::min(A.x2, B.x2), B.y2};
    Offcut b{B.sheet, 0, 0, 0, 0};
    if (A.x1 == B.x1 && A.x2 < B.x2)
        b = {B.sheet, A.x2, B.y1, B.x2, B.y2};
    else if (A.x1 == B.x1 && A.x2 > B.x2)
        b = {B.sheet, B.x2, A.y1, A.x2, A.y2};
    else if (A.x2 == B.x2 && A.x1 > B.x1)
        b = {B.sheet, B.x1, B.y1, A.x1, B.y2};
    else if (A.x2 == B.x2 && A.x1 < B.x1)
        b = {B.sheet, A.x1, A.y1, B.x1, A.y2};
    else
        return std::nullopt;
    return std::pair{a, b};
}

}  // namespace

DiagramOptions DiagramOptionsFrom(const Settings& settings) {
    DiagramOptions options;
    options.DefFont = settings.DefFont;
    options.LayoutSrafura = settings.LayoutSrafura;
    options.Testera = settings.Testera;
    options.lengthUnit = settings.JedMere;
    options.areaStyle = settings.AreaStyle;
    return options;
}

float ViewScale(Tenths sheetLength, Tenths sheetWidth, int surfaceWidth, int surfaceHeight) {
    if (sheetLength <= 0 || sheetWidth <= 0 || surfaceWidth <= 0 || surfaceHeight <= 0) return 0;
    return static_cast<float>(std::max(static_cast<double>(sheetLength) / surfaceWidth,
                                       static_cast<double>(sheetWidth) / surfaceHeight));
}

PartLabelTexts PartLabels(const TextGrid& parts, const PlacedPart& part, LengthUnit unit) {
    const int r = part.row;
    auto cell = [&](int column) -> const std::string& { return parts.Cell(column, r); };
    const int64_t cutLength =
        ReadLength(cell(1), unit) - ReadLength(cell(12), unit) - ReadLength(cell(13), unit);
    const int64_t cutWidth =
        ReadLength(cell(2), unit) - ReadLength(cell(10), unit) - ReadLength(cell(11), unit);
    const std::string lengthLabel = FL(cutLength, unit) + cell(14) + cell(15);
    const std::string widthLabel = FL(cutWidth, unit) + cell(16) + cell(17);
    PartLabelTexts labels;
    labels.horizontal = part.rotated != 0 ? widthLabel : lengthLabel;
    labels.vertical = part.rotated != 0 ? lengthLabel : widthLabel;
    labels.initials = std::string(TrimSpaces(cell(4)));
    return labels;
}

ShownSize ShownOffcutSize(const Offcut& offcut, Tenths sheetLength, Tenths sheetWidth,
                          Tenths kerf) {
    int64_t length = static_cast<int64_t>(offcut.x2) - offcut.x1 - kerf;
    if (offcut.x2 == sheetLength) length += kerf;
    int64_t width = static_cast<int64_t>(offcut.y2) - offcut.y1 - kerf;
    if (offcut.y2 == sheetWidth) width += kerf;
    return {ClampTenths(length), ClampTenths(width)};
}

void HatchRect(Canvas& canvas, int left, int top, int right, int bottom, int spacing) {
    canvas.SetPen(Pen{kBlack, 1, PenStyle::Dot});
    const int64_t w = static_cast<int64_t>(right) - left;
    const int64_t h = static_cast<int64_t>(bottom) - top;
    const int64_t step = std::max(spacing, 1);  // a spacing of 0 would never end
    for (int64_t d = 0; d <= w + h; d += step) {
        if (d <= w)
            canvas.MoveTo(static_cast<int>(left + d), top);
        else
            canvas.MoveTo(right, static_cast<int>(top + d - w));
        if (d <= h)
            canvas.LineTo(left, static_cast<int>(top + d));
        else
            canvas.LineTo(static_cast<int>(left + d - h), bottom);
    }
}

DiagramLabels PaintLayout(Canvas& canvas, const Project& project, const LayoutList& layouts,
                          int32_t layoutIndex, int surfaceWidth, int surfaceHeight,
                          const DiagramOptions& options, const TextLookup& text) {
    DiagramLabels labels;
    if (project.SheetRowCount <= 0) return labels;
    labels.painted = true;
    labels.Label39 = std::to_string(static_cast<int64_t>(layoutIndex) + 1);

    const Font font{options.DefFont, kFontSize, false};
    canvas.SetFont(font);
    canvas.SetTextColor(kBlack);
    canvas.SetPen(Pen{});
    canvas.FillRect(0, 0, surfaceWidth, surfaceHeight, kWhite);
    canvas.FrameRect(0, 0, surfaceWidth, surfaceHeight);

    const std::optional<Geometry> g =
        LayoutGeometry(project, layouts, layoutIndex, surfaceWidth, surfaceHeight);
    if (!g) return labels;

    const LengthUnit unit = options.lengthUnit;
    const std::string ls = LengthUnitSuffix(unit, true);
    labels.Label7 =
        T(text, kSheetCaption) + " " + FL(g->length, unit) + ls + " x " + FL(g->width, unit) + ls +
        " " + T(text, kAreaCaption) + "=" +
        FormatArea(static_cast<AreaTenths>(g->length) * g->width, options.areaStyle, true) + " (x" +
        std::to_string(g->repeatCount) + ")";
    if (g->s <= 0) return labels;

    for (const PlacedPart& p : project.result.PlacedParts) {
        if (p.sheet != g->sheet) continue;
        canvas.SetFont(font);
        const Rect r = g->Map(p.x1, p.y1, p.x2, p.y2);
        const PartLabelTexts texts = PartLabels(project.parts, p, unit);
        TextOnWhite(canvas, r.left + (r.right - r.left - canvas.TextWidth(texts.horizontal)) / 2,
                    r.top + 1, texts.horizontal);
        TextOnWhite(canvas, r.left + 1, r.top + (r.bottom - r.top) / 2, texts.vertical);
        TextOnWhite(canvas, g->Mid(p.x1, p.x2), g->Mid(p.y1, p.y2), texts.initials);
        BlackFrame(canvas, r);
    }

    const double sd = g->s;
    for (const Offcut& o : project.result.Offcuts) {
        if (o.sheet != g->sheet) continue;
        canvas.SetFont(font);
        const Rect r = g->Map(o.x1, o.y1, o.x2, o.y2);
        HatchRect(canvas, r.left, r.top, r.right, r.bottom, options.LayoutSrafura);
        BlackFrame(canvas, r);
        const int64_t smaller =
            std::min(static_cast<int64_t>(o.x2) - o.x1, static_cast<int64_t>(o.y2) - o.y1);
        if (smaller <= kSmallestLabelledOffcut) continue;
        const ShownSize shown = ShownOffcutSize(o, g->length, g->width, options.Testera);
        TextOnWhite(canvas, TextPixel((static_cast<double>(o.x1) + o.x2) / (2 * sd) - 10),
                    TextPixel(o.y1 / sd + 4), FL(shown.length, unit));
        TextOnWhite(canvas, TextPixel(o.x1 / sd + 4),
                    TextPixel((static_cast<double>(o.y1) + o.y2) / (2 * sd)),
                    FL(shown.width, unit));
    }
    return labels;
}

HoverResult ShowPieceUnderMouse(const Project& project, const LayoutList& layouts,
                                int32_t layoutIndex, int surfaceWidth, int surfaceHeight,
                                const DiagramOptions& options, const TextLookup& text,
                                const DiagramPick& pick, int x, int y) {
    HoverResult out;
    out.hoveredOffcut = pick.hoveredOffcut;
    if (project.SheetRowCount <= 0) return out;
    const std::optional<Geometry> g =
        LayoutGeometry(project, layouts, layoutIndex, surfaceWidth, surfaceHeight);
    if (!g || g->s <= 0) return out;

    const auto& offcuts = project.result.Offcuts;
    for (size_t i = 0; i < offcuts.size(); ++i) {
        const Offcut& o = offcuts[i];
        if (o.sheet != g->sheet) continue;
        const Rect r = g->Map(o.x1, o.y1, o.x2, o.y2);
        Color color = kBlack;
        if (StrictlyInside(r, x, y)) {
            const ShownSize shown = ShownOffcutSize(o, g->length, g->width, options.Testera);
            out.Label44 = SizeLine(text, options, shown.length, shown.width);
            const auto index = static_cast<int32_t>(i);
            if (index == out.hoveredOffcut) continue;  // keeps its highlight
            out.hoveredOffcut = index;
            color = index == pick.selectedOffcut ? kPickedBlue : kHoverRed;
        }
        out.frames.push_back({r.left, r.top, r.right, r.bottom, color});
    }

    for (const PlacedPart& p : project.result.PlacedParts) {
        if (p.sheet != g->sheet) continue;
        const Rect r = g->Map(p.x1, p.y1, p.x2, p.y2);
        Color color = kBlack;
        if (StrictlyInside(r, x, y)) {
            const int64_t kerf = options.Testera;
            out.Label44 = SizeLine(text, options, static_cast<int64_t>(p.x2) - p.x1 - kerf,
                                   static_cast<int64_t>(p.y2) - p.y1 - kerf);
            out.hoveredOffcut = kPartPicked;
            color = pick.selectedOffcut == kPartPicked ? kPickedBlue : kHoverRed;
        }
        out.frames.push_back({r.left, r.top, r.right, r.bottom, color});
    }
    return out;
}

void DrawFrames(Canvas& canvas, const std::vector<FrameMark>& frames) {
    for (const FrameMark& f : frames) {
        canvas.SetPen(Pen{f.color, 1, PenStyle::Solid});
        canvas.FrameRect(f.left, f.top, f.right, f.bottom);
    }
    canvas.SetPen(Pen{});
}

ResplitOutcome ResplitOffcuts(RunResult& result, DiagramPick& pick) {
    auto pickHovered = [&] {
        pick.selectedOffcut = pick.hoveredOffcut;
        return pick.selectedOffcut == kNoOffcut ? ResplitOutcome::Dropped : ResplitOutcome::Picked;
    };
    if (pick.selectedOffcut == kNoOffcut) return pickHovered();
    if (pick.hoveredOffcut == pick.selectedOffcut) {
        pick.selectedOffcut = kNoOffcut;
        return ResplitOutcome::Dropped;
    }
    // Only two offcuts are ever re-divided; with a part (or a stale index) on either side
    // the click is a new pick.
    if (!ValidOffcut(result, pick.selectedOffcut) || !ValidOffcut(result, pick.hoveredOffcut))
        return pickHovered();

    const auto first = static_cast<size_t>(pick.selectedOffcut);
    const auto second = static_cast<size_t>(pick.hoveredOffcut);
    const Offcut p = result.Offcuts[first];
    const Offcut q = result.Offcuts[second];
    if (p.sheet != q.sheet || !HasArea(p) || !HasArea(q)) return ResplitOutcome::Refused;

    bool touches = false;
    // A is the first along the direction of the touching edge; it receives the strip.
    size_t a = p.x1 <= q.x1 ? first : second;
    size_t b = a == first ? second : first;
    auto split = SideBySide(result.Offcuts[a], result.Offcuts[b], touches);
    if (!touches) {
        a = p.y1 <= q.y1 ? first : second;
        b = a == first ? second : first;
        split = OneAboveOther(result.Offcuts[a], result.Offcuts[b], touches);
    }
    if (!split) return ResplitOutcome::Refused;

    result.Offcuts[a] = split->first;
    result.Offcuts[b] = split->second;
    pick.selectedOffcut = kNoOffcut;
    return ResplitOutcome::Resplit;
}

}  // namespace trimora
