// What follows a finished layout run, shared by the desktop program and the command line:
// the report object builds the layout list, report, bill and statistics, and the run is
// judged complete or not.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "config/band_table.h"
#include "config/settings.h"
#include "core/project.h"
#include "files/project_document.h"
#include "optimiser/run_preparation.h"
#include "output/layout_list.h"
#include "output/report.h"

namespace trimora {

// The report options of the program settings and the band table.
ReportOptions MakeReportOptions(const Settings& settings, const BandTable& bands);

struct FinishedRun {
    LayoutList layouts;
    RichText report;
    RichText bill;
    std::optional<StatisticsPanel> panel;
    int32_t partsPlaced = 0;
    // Every piece of the part table lies on a sheet; otherwise messageText is 20.
    bool allPlaced = false;
    int messageText = 0;
    // Set when the bill met a text it could not convert (the report stays as far as written).
    std::string conversionError;
};

FinishedRun FinishRunReport(const Project& project, const ReportOptions& options,
                            const TextLookup& text);

// The eight statistics values as the project document stores them.
StatisticsTexts StatisticsTextsOf(const StatisticsPanel& panel);

// The panel of the values a project file stores, with the captions of the current units.
StatisticsPanel StatisticsPanelOf(const StatisticsTexts& values, LengthUnit unit, AreaStyle style,
                                  const TextLookup& text);

// The rich lines as plain text, one line per line, each ended by a line feed.
std::string PlainText(const RichText& text);

}  // namespace trimora
