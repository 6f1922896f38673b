// The report builder: after a run (or a load that holds a result) it groups the used sheets
// into the layout list, writes the report and the bill, and computes the statistics panel.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "config/settings.h"
#include "core/length_units.h"
#include "core/project.h"
#include "output/layout_list.h"

namespace trimora {

// One line of rich report text. The writer keeps a current format: bold and a font height
// raised by sizeStep pixels over the base height.
struct RichLine {
    std::string text;
    bool bold = false;
    int sizeStep = 0;
    friend bool operator==(const RichLine&, const RichLine&) = default;
};
using RichText = std::vector<RichLine>;

// The band table values the bill needs; entry 0 is the no-band entry and is never priced.
struct ReportBand {
    std::string name;
    std::string allowance;  // length text in the current unit
    std::string price;      // decimal text, price per unit of length
};

struct ReportOptions {
    LengthUnit lengthUnit = 1;  // JedMere
    AreaStyle areaStyle = 1;    // AreaStyle
    float CENA1 = 0;            // sheet price per unit of area of areaStyle
    Tenths Visak = 60;          // minimum side of a good offcut
    bool PrintDuplicate = true;
    std::vector<ReportBand> bands;
};

// The report's settings as they stand in the program's settings.
ReportOptions ReportOptionsFrom(const Settings& settings, std::vector<ReportBand> bands);

// Language text by number.
using TextLookup = std::function<std::string(int)>;

// The statistics panel of the input page: value labels and the captions that carry units.
struct StatisticsPanel {
    std::string Label34;                                      // parts entered
    std::string Label33;                                      // parts placed
    std::string Label32;                                      // sheets used
    std::string Label31;                                      // area of the placed parts
    std::string Label30;                                      // average yield
    std::string Label29;                                      // yield of the last layout
    std::string Label41;                                      // cutting length
    std::string Label55;                                      // banding length
    std::string Label26, Label27, Label28, Label40, Label54;  // captions
    friend bool operator==(const StatisticsPanel&, const StatisticsPanel&) = default;
};

// Fills the five captions of the panel that carry units (Label26..28, Label40, Label54).
void SetStatisticsCaptions(StatisticsPanel& panel, LengthUnit unit, AreaStyle style,
                           const TextLookup& text);

class Stat {
public:
    Stat(const Project& project, ReportOptions options, TextLookup text);

    void InitReport();
    // False when a band price or a part quantity could not be converted while the bill was
    // written: the report and bill stay as far as written, the totals and the panel are not
    // produced, and ConversionError() names the text.
    bool RunReport();

    const LayoutList& Layouts() const { return layoutList; }
    const RichText& Report() const { return report; }
    const RichText& Bill() const { return bill; }
    const std::optional<StatisticsPanel>& Panel() const { return panel; }
    int32_t PartsPlaced() const { return partsPlaced; }
    int32_t SheetsUsed() const { return sheetsUsed; }
    const std::string& ConversionError() const { return conversionError; }

private:
    void WriteSheetList();
    void CollectLayoutParts();
    void CollectLayoutOffcuts();
    void WriteLayoutSection();
    bool WriteBillAndTotals();
    void AppendReportLine(std::string text);
    void AppendBillLine(std::string text);

    std::string T(int number) const { return text ? text(number) : std::string(); }
    Tenths ReadLength(const std::string& cell) const;
    std::string FL(int64_t value) const;
    std::string FA(uint64_t area, bool withSuffix) const;
    std::string LS(bool bare) const;
    std::string AS() const;
    std::string AverageYieldText() const;
    std::string LastYieldText() const;

    const Project& project;
    ReportOptions options;
    TextLookup text;

    LayoutList layoutList;
    RichText report;
    RichText bill;
    RichLine reportFormat;  // current format of the report writer
    std::optional<StatisticsPanel> panel;
    std::string conversionError;

    // Indices into the result records, per sheet number (entry 0 unused).
    std::vector<std::vector<size_t>> placementsOfSheet;
    std::vector<std::vector<size_t>> offcutsOfSheet;

    std::vector<std::string> partLines;
    std::vector<std::string> offcutLines;
    int32_t layoutIndex = 0;
    Tenths pieceLength = 0, pieceWidth = 0;
    int32_t partsPlaced = 0;
    int32_t layoutPartCount = 0;
    int32_t sheetNumber = 0;
    int32_t repeatCount = 0;
    uint64_t layoutPartsArea = 0;
    uint64_t totalPartsArea = 0;
    int32_t offcutCount = 0;
    // Sums of lengths are 64-bit so that large repeat counts cannot overflow them.
    int64_t perimeterSum = 0;
    int64_t cutLength = 0;
    int32_t sheetsUsed = 0;
    uint64_t goodOffcutArea = 0;
    uint64_t totalSheetArea = 0;
    float yieldSum = 0;
    float lastYield = 0;
    int64_t bandLength = 0;
    Tenths sheetLength = 0, sheetWidth = 0;
    std::string indent;
};

}  // namespace trimora
