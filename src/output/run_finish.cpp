#include "output/run_finish.h"

#include <utility>
#include <vector>

namespace trimora {

ReportOptions MakeReportOptions(const Settings& settings, const BandTable& bands) {
    std::vector<ReportBand> reportBands;
    for (const BandRecord& band : bands.records)
        reportBands.push_back(ReportBand{band.name, band.allowance, band.price});
    return ReportOptionsFrom(settings, std::move(reportBands));
}

FinishedRun FinishRunReport(const Project& project, const ReportOptions& options,
                            const TextLookup& text) {
    Stat stat(project, options, text);
    stat.InitReport();
    const bool complete = stat.RunReport();

    FinishedRun run;
    run.layouts = stat.Layouts();
    run.report = stat.Report();
    run.bill = stat.Bill();
    run.panel = stat.Panel();
    run.partsPlaced = stat.PartsPlaced();
    if (!complete) run.conversionError = stat.ConversionError();
    // The placed count includes the repeat counts of identical layouts.
    run.allPlaced = run.partsPlaced >= project.input.TotalPieces;
    run.messageText = run.allPlaced ? 0 : kTextNotAllPlaced;
    return run;
}

StatisticsTexts StatisticsTextsOf(const StatisticsPanel& panel) {
    return StatisticsTexts{panel.Label34, panel.Label33, panel.Label32, panel.Label31,
                           panel.Label30, panel.Label29, panel.Label41, panel.Label55};
}

StatisticsPanel StatisticsPanelOf(const StatisticsTexts& values, LengthUnit unit, AreaStyle style,
                                  const TextLookup& text) {
    StatisticsPanel panel;
    panel.Label34 = values.parts;
    panel.Label33 = values.usedParts;
    panel.Label32 = values.usedSheets;
    panel.Label31 = values.partArea;
    panel.Label30 = values.averageYield;
    panel.Label29 = values.lastSheetYield;
    panel.Label41 = values.cutLength;
    panel.Label55 = values.bandingLength;
    SetStatisticsCaptions(panel, unit, style, text);
    return panel;
}

std::string PlainText(const RichText& text) {
    std::string out;
    for (const RichLine& line : text) {
        out += line.text;
        out += '\n';
    }
    return out;
}

}  // namespace trimora
