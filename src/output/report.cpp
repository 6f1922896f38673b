#include "output/report.h"

#include <algorithm>
#include <charconv>
#include <limits>
#include <string_view>
#include <utility>

#include "core/number_format.h"
#include "output/alignment.h"

namespace trimora {

namespace {

// Language texts of the report and the bill.
enum Text : int {
    kYieldLabel = 34,
    kReportTitle = 39,
    kPartListHeading = 41,
    kGoodOffcutRemark = 44,
    kOffcutListHeading = 45,
    kTotalsHeading = 46,
    kBillTitle = 48,
    kPartsEntered = 50,
    kPartsPlaced = 51,
    kSheetsUsed = 52,  // also the heading of the sheet list
    kPartsArea = 53,
    kAverageYield = 54,
    kLastYield = 55,
    kCutLength = 56,
    kBandLength = 57,  // also the heading of the banding lines
    kBandType = 190,
    kLayoutHeading = 314,
};

// Part table columns.
constexpr int kLengthColumn = 1;
constexpr int kWidthColumn = 2;
constexpr int kQuantityColumn = 3;
constexpr int kNameColumn = 4;
constexpr int kSheetDescriptionColumn = 4;
// Edge band names along the length (6, 7) and along the width (8, 9); thicknesses 4 further.
constexpr int kLengthEdgeColumns[] = {6, 7};
constexpr int kWidthEdgeColumns[] = {8, 9};
constexpr int kThicknessOffset = 4;

const std::string kShortRule(16, '-');
const std::string kBillRule(19, '-');
const std::string kTotalsRule(51, '-');

std::string PadLeft(std::string text, size_t width) {
    if (text.size() < width) text.insert(0, width - text.size(), ' ');
    return text;
}

// The list number: right-aligned in three characters, then a full stop.
std::string N3(int64_t k) {
    return PadLeft(std::to_string(k), 3) + ".";
}

std::string_view TrimSpaces(std::string_view text) {
    while (!text.empty() && text.front() == ' ') text.remove_prefix(1);
    while (!text.empty() && text.back() == ' ') text.remove_suffix(1);
    return text;
}

std::optional<int32_t> ParseInteger(std::string_view text) {
    text = TrimSpaces(text);
    if (!text.empty() && text.front() == '+') text.remove_prefix(1);
    int32_t value = 0;
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (text.empty() || ec != std::errc() || end != text.data() + text.size()) return std::nullopt;
    return value;
}

Tenths ClampTenths(int64_t value) {
    return static_cast<Tenths>(std::clamp<int64_t>(value, std::numeric_limits<Tenths>::min(),
                                                   std::numeric_limits<Tenths>::max()));
}

AreaTenths ClampArea(uint64_t area) {
    return static_cast<AreaTenths>(
        std::min<uint64_t>(area, static_cast<uint64_t>(std::numeric_limits<AreaTenths>::max())));
}

}  // namespace

void SetStatisticsCaptions(StatisticsPanel& panel, LengthUnit unit, AreaStyle style,
                           const TextLookup& text) {
    const auto t = [&text](int number) { return text ? text(number) : std::string(); };
    const std::string length = LengthUnitSuffix(unit, false);
    panel.Label26 = t(kPartsArea) + " (" + AreaUnitSuffix(style) + ")";
    panel.Label27 = t(kAverageYield) + " (%)";
    panel.Label28 = t(kLastYield) + " (%)";
    panel.Label40 = t(kCutLength) + " (" + length + ")";
    panel.Label54 = t(kBandLength) + " (" + length + ")";
}

ReportOptions ReportOptionsFrom(const Settings& settings, std::vector<ReportBand> bands) {
    ReportOptions options;
    options.lengthUnit = settings.JedMere;
    options.areaStyle = settings.AreaStyle;
    options.CENA1 = settings.CENA1;
    options.Visak = settings.Visak;
    options.PrintDuplicate = settings.PrintDuplicate;
    options.bands = std::move(bands);
    return options;
}

Stat::Stat(const Project& project, ReportOptions options, TextLookup text)
    : project(project), options(std::move(options)), text(std::move(text)) {}

void Stat::InitReport() {
    partLines.clear();
    offcutLines.clear();
    partsPlaced = 0;
    sheetNumber = 0;
    repeatCount = 0;
    totalPartsArea = 0;
    cutLength = 0;
    sheetsUsed = 0;
    goodOffcutArea = 0;
    yieldSum = 0;
    indent = "  ";
}

bool Stat::RunReport() {
    totalSheetArea = 0;
    const std::vector<SheetInstance>& sheets = project.input.SheetInstances;
    layoutList = BuildLayoutList(sheets, project.result.PlacedParts, options.PrintDuplicate,
                                 project.SheetRowCount);

    placementsOfSheet.assign(sheets.size() + 1, {});
    offcutsOfSheet.assign(sheets.size() + 1, {});
    const auto& placed = project.result.PlacedParts;
    for (size_t i = 0; i < placed.size(); ++i) {
        if (placed[i].sheet >= 1 && static_cast<size_t>(placed[i].sheet) <= sheets.size())
            placementsOfSheet[placed[i].sheet].push_back(i);
    }
    const auto& offcuts = project.result.Offcuts;
    for (size_t i = 0; i < offcuts.size(); ++i) {
        if (offcuts[i].sheet >= 1 && static_cast<size_t>(offcuts[i].sheet) <= sheets.size())
            offcutsOfSheet[offcuts[i].sheet].push_back(i);
    }

    WriteSheetList();
    for (layoutIndex = 0; layoutIndex < layoutList.LayoutCount(); ++layoutIndex) {
        layoutPartCount = 0;
        offcutCount = 0;
        layoutPartsArea = 0;
        perimeterSum = 0;
        const Layout& layout = layoutList.layouts[layoutIndex];
        sheetNumber = layout.sheet;
        repeatCount = layout.repeatCount;
        sheetLength = sheets[sheetNumber - 1].length;
        sheetWidth = sheets[sheetNumber - 1].width;
        CollectLayoutParts();
        CollectLayoutOffcuts();
        WriteLayoutSection();
    }
    return WriteBillAndTotals();
}

void Stat::AppendReportLine(std::string line) {
    RichLine rich = reportFormat;
    rich.text = std::move(line);
    report.push_back(std::move(rich));
}

void Stat::AppendBillLine(std::string line) {
    bill.push_back({std::move(line), false, 0});
}

// Unreadable or empty cells count as 0: an edge without band may hold an empty thickness.
Tenths Stat::ReadLength(const std::string& cell) const {
    return std::max<Tenths>(ParseLength(options.lengthUnit, cell), 0);
}

std::string Stat::FL(int64_t value) const {
    return FormatLength(ClampTenths(value), options.lengthUnit);
}

std::string Stat::FA(uint64_t area, bool withSuffix) const {
    return FormatArea(ClampArea(area), options.areaStyle, withSuffix);
}

std::string Stat::LS(bool bare) const {
    return LengthUnitSuffix(options.lengthUnit, bare);
}

std::string Stat::AS() const {
    return AreaUnitSuffix(options.areaStyle);
}

void Stat::WriteSheetList() {
    report.clear();
    reportFormat = RichLine{};

    // Bold is switched on for the title and never off again.
    reportFormat.bold = true;
    reportFormat.sizeStep += 3;
    AppendReportLine(indent + T(kReportTitle));
    reportFormat.sizeStep -= 3;
    AppendReportLine(" ");
    reportFormat.sizeStep += 2;
    AppendReportLine(indent + T(kSheetsUsed));
    reportFormat.sizeStep -= 2;
    AppendReportLine(indent + kShortRule);

    const TextGrid& grid = project.sheets;
    std::vector<int32_t> rows;
    std::vector<std::string> lengths, widths;
    for (int32_t r = 1; r <= project.SheetRowCount; ++r) {
        if (layoutList.UsedCount(r) <= 0) continue;
        rows.push_back(r);
        lengths.push_back(grid.Cell(kLengthColumn, r));
        widths.push_back(grid.Cell(kWidthColumn, r));
    }
    lengths = AlignDecimals(lengths);
    widths = AlignDecimals(widths);
    for (size_t i = 0; i < rows.size(); ++i) {
        const std::string& description = grid.Cell(kSheetDescriptionColumn, rows[i]);
        AppendReportLine(indent + N3(static_cast<int64_t>(i) + 1) + lengths[i] + " x " + widths[i] +
                         " " + LS(true) + " (x" + std::to_string(layoutList.UsedCount(rows[i])) +
                         ") " + (description.empty() ? "" : " '" + description + "'"));
    }
    AppendReportLine(" ");
}

void Stat::CollectLayoutParts() {
    const TextGrid& grid = project.parts;
    const int32_t rowCount = std::max(project.PartRowCount, 0);
    std::vector<int32_t> counts(static_cast<size_t>(rowCount) + 1, 0);
    for (size_t i : placementsOfSheet[sheetNumber]) {
        const int32_t row = project.result.PlacedParts[i].row;
        if (row >= 1 && row <= rowCount) ++counts[row];
    }

    std::vector<int32_t> rows;
    std::vector<std::string> lengths, widths;
    for (int32_t r = 1; r <= rowCount; ++r) {
        if (counts[r] <= 0) continue;
        rows.push_back(r);
        lengths.push_back(grid.Cell(kLengthColumn, r));
        widths.push_back(grid.Cell(kWidthColumn, r));
    }
    lengths = AlignDecimals(lengths);
    widths = AlignDecimals(widths);

    for (size_t i = 0; i < rows.size(); ++i) {
        const int32_t r = rows[i];
        const int64_t count = counts[r];
        // The cut size: the finished size less the edge bands' thickness.
        pieceLength =
            std::max(ReadLength(grid.Cell(kLengthColumn, r)) -
                         ReadLength(grid.Cell(kWidthEdgeColumns[0] + kThicknessOffset, r)) -
                         ReadLength(grid.Cell(kWidthEdgeColumns[1] + kThicknessOffset, r)),
                     0);
        pieceWidth =
            std::max(ReadLength(grid.Cell(kWidthColumn, r)) -
                         ReadLength(grid.Cell(kLengthEdgeColumns[0] + kThicknessOffset, r)) -
                         ReadLength(grid.Cell(kLengthEdgeColumns[1] + kThicknessOffset, r)),
                     0);
        perimeterSum += 2 * (static_cast<int64_t>(pieceLength) + pieceWidth) * count * repeatCount;
        layoutPartsArea +=
            static_cast<uint64_t>(static_cast<int64_t>(pieceLength) * pieceWidth * count) *
            static_cast<uint64_t>(repeatCount);
        layoutPartCount += static_cast<int32_t>(count) * repeatCount;

        const std::string& name = grid.Cell(kNameColumn, r);
        partLines.push_back(N3(static_cast<int64_t>(i) + 1) + lengths[i] + " x" + widths[i] + " " +
                            LS(true) + PadLeft("(x" + std::to_string(count) + ")", 5) +
                            PadLeft(name.empty() ? "" : "'" + name + "'", 9));
    }
}

void Stat::CollectLayoutOffcuts() {
    const auto& offcuts = project.result.Offcuts;
    const std::vector<size_t>& indices = offcutsOfSheet[sheetNumber];
    std::vector<std::string> lengths, widths, areas;
    for (size_t i : indices) {
        const Offcut& o = offcuts[i];
        const int64_t length = static_cast<int64_t>(o.x2) - o.x1;
        const int64_t width = static_cast<int64_t>(o.y2) - o.y1;
        lengths.push_back(FL(length));
        widths.push_back(FL(width));
        areas.push_back(FormatArea(length * width, options.areaStyle, false));
    }
    lengths = AlignDecimals(lengths);
    widths = AlignDecimals(widths);
    areas = AlignDecimals(areas, ColumnWidthRule::kLongestPlusOne);

    for (size_t k = 0; k < indices.size(); ++k) {
        const Offcut& o = offcuts[indices[k]];
        pieceLength = ClampTenths(static_cast<int64_t>(o.x2) - o.x1);
        pieceWidth = ClampTenths(static_cast<int64_t>(o.y2) - o.y1);
        ++offcutCount;
        perimeterSum += 2 * (static_cast<int64_t>(pieceLength) + pieceWidth) * repeatCount;
        std::string remark;
        if (pieceLength >= options.Visak && pieceWidth >= options.Visak) {
            remark = T(kGoodOffcutRemark);
            const int64_t area = static_cast<int64_t>(pieceLength) * pieceWidth;
            if (area > 0)
                goodOffcutArea += static_cast<uint64_t>(area) * static_cast<uint64_t>(repeatCount);
        }
        offcutLines.push_back(N3(static_cast<int64_t>(k) + 1) + lengths[k] + " x" + widths[k] +
                              " " + LS(true) + " =" + areas[k] + " " + AS() + remark);
    }
}

void Stat::WriteLayoutSection() {
    partsPlaced += layoutPartCount;
    totalPartsArea += layoutPartsArea;
    // Half the piece perimeters less half the sheet's perimeter: the inner cuts.
    cutLength += perimeterSum / 2 - (static_cast<int64_t>(sheetLength) + sheetWidth) * repeatCount;
    sheetsUsed += repeatCount;

    const int64_t sheetArea = static_cast<int64_t>(sheetLength) * sheetWidth;
    const double layoutSheetArea = static_cast<double>(sheetArea) * repeatCount;
    lastYield =
        layoutSheetArea > 0
            ? static_cast<float>(100.0 * static_cast<double>(layoutPartsArea) / layoutSheetArea)
            : 0.0f;
    yieldSum += lastYield;
    if (sheetArea > 0) totalSheetArea += static_cast<uint64_t>(sheetArea) * repeatCount;

    AppendReportLine(" ");
    reportFormat.sizeStep += 2;
    AppendReportLine(indent + T(kLayoutHeading) + " " + std::to_string(layoutIndex + 1) + " (x" +
                     std::to_string(repeatCount) + ") ");
    reportFormat.sizeStep -= 2;
    AppendReportLine(indent + kShortRule);

    const SheetInstance& sheet = project.input.SheetInstances[sheetNumber - 1];
    const std::string& description = project.sheets.Cell(kSheetDescriptionColumn, sheet.row);
    AppendReportLine(indent + FL(sheetLength) + " " + LS(true) + " x " + FL(sheetWidth) + " " +
                     LS(true) + " = " + FormatArea(sheetArea, options.areaStyle, true) + ", " +
                     T(kYieldLabel) + "= " + FormatGeneral(lastYield, 4) + "%" +
                     (description.empty() ? "" : " '" + description + "'"));

    AppendReportLine(" ");
    AppendReportLine(indent + T(kPartListHeading));
    for (const std::string& line : partLines) AppendReportLine(indent + indent + line);
    AppendReportLine(" ");
    AppendReportLine(indent + T(kOffcutListHeading));
    for (const std::string& line : offcutLines) AppendReportLine(indent + indent + line);

    partLines.clear();
    offcutLines.clear();
}

// With no layouts there is nothing to average: the yields read 0.
std::string Stat::AverageYieldText() const {
    if (layoutList.LayoutCount() == 0) return "0";
    return FormatGeneral(static_cast<double>(yieldSum) / layoutList.LayoutCount(), 4);
}

// lastYield is already the yield of one sheet of the last layout, however often it repeats.
std::string Stat::LastYieldText() const {
    if (layoutList.LayoutCount() == 0) return "0";
    return FormatGeneral(lastYield, 4);
}

bool Stat::WriteBillAndTotals() {
    bill.clear();
    AppendBillLine(indent + T(kBillTitle));
    AppendBillLine(indent + kBillRule);

    // The sheet material: the area as displayed times the price.
    const uint64_t net = totalSheetArea >= goodOffcutArea ? totalSheetArea - goodOffcutArea : 0;
    const double shownNet = ParseDecimal(FA(net, false)).value_or(0.0);
    const double sheetCost = static_cast<double>(options.CENA1) * shownNet;
    AppendBillLine(indent + "(" + FA(totalSheetArea, true) + " - " + FA(goodOffcutArea, true) +
                   ") * " + FormatGeneral(options.CENA1, 8) + " = " + FormatGeneral(sheetCost, 8));
    AppendBillLine(" ");

    // Edge banding per band type; entry 0 (no band) is never priced.
    const TextGrid& grid = project.parts;
    bandLength = 0;
    bool headingWritten = false;
    for (size_t k = 1; k < options.bands.size() && !options.bands[k].name.empty(); ++k) {
        const ReportBand& band = options.bands[k];
        const int64_t allowance = ReadLength(band.allowance);
        int64_t sum = 0;
        for (int32_t r = 1; r <= project.PartRowCount; ++r) {
            for (int column : {6, 8, 7, 9}) {
                if (grid.Cell(column, r) != band.name) continue;
                const bool alongLength = column == 6 || column == 7;
                const int64_t size =
                    ReadLength(grid.Cell(alongLength ? kLengthColumn : kWidthColumn, r));
                const std::string& quantityText = grid.Cell(kQuantityColumn, r);
                const std::optional<int32_t> quantity = ParseInteger(quantityText);
                if (!quantity) {
                    conversionError = "'" + quantityText + "' is not a valid integer value";
                    return false;
                }
                sum += (size + allowance) * *quantity;
            }
        }
        if (sum < 1) continue;
        bandLength += sum;
        if (!headingWritten) {
            AppendBillLine(indent + T(kBandLength));
            AppendBillLine(indent + kBillRule);
            headingWritten = true;
        }
        const std::optional<double> price = ParseDecimal(band.price);
        if (!price) {
            conversionError = "'" + band.price + "' is not a valid floating point value";
            return false;
        }
        // Rounded to a multiple of 100, as the shop bills banding.
        const double cost =
            RoundToDigits(*price * LengthInUnit(ClampTenths(sum), options.lengthUnit), 2);
        AppendBillLine(indent + T(kBandType) + ": " + band.name + " " + FL(sum) + " * " +
                       band.price + " = " + FloatToText(cost));
    }

    AppendReportLine(" ");
    AppendReportLine(indent + T(kTotalsHeading) + ":");
    AppendReportLine(indent + kTotalsRule);
    const std::string areaText = FA(totalPartsArea, false);
    const std::string averageYield = AverageYieldText();
    const std::string lastYieldText = LastYieldText();
    const std::string cutText = FL(cutLength);
    const std::string bandText = FL(bandLength);
    const std::pair<int, std::string> totals[] = {
        {kPartsEntered, std::to_string(project.input.TotalPieces)},
        {kPartsPlaced, std::to_string(partsPlaced)},
        {kSheetsUsed, std::to_string(sheetsUsed)},
        {kPartsArea, areaText + " " + AS()},
        {kAverageYield, averageYield + " %"},
        {kLastYield, lastYieldText + " %"},
        {kCutLength, cutText + " " + LS(false)},
        {kBandLength, bandText + " " + LS(false)},
    };
    for (const auto& [number, value] : totals) AppendReportLine(indent + T(number) + " " + value);

    StatisticsPanel p;
    p.Label34 = std::to_string(project.input.TotalPieces);
    p.Label33 = std::to_string(partsPlaced);
    p.Label32 = std::to_string(sheetsUsed);
    p.Label31 = areaText;
    p.Label30 = averageYield;
    p.Label29 = lastYieldText;
    p.Label41 = cutText;
    p.Label55 = bandText;
    SetStatisticsCaptions(p, options.lengthUnit, options.areaStyle, text);
    panel = std::move(p);
    return true;
}

}  // namespace trimora
