// trimora-cli: the main job without a window. Reads a project file, computes the layouts,
// writes the result as a project document and the report and bill as text.
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <optional>
#include <string>
#include <vector>

#include "config/band_table.h"
#include "config/language.h"
#include "config/memory_store.h"
#include "config/settings.h"
#include "core/length_units.h"
#include "core/program_folder.h"
#include "core/project.h"
#include "files/project_document.h"
#include "optimiser/automatic_layout.h"
#include "optimiser/manual_search.h"
#include "optimiser/run_preparation.h"
#include "output/run_finish.h"

namespace fs = std::filesystem;
using namespace trimora;

namespace {

enum ExitCode {
    kExitOk = 0,
    kExitNotAllPlaced = 1,  // the result was written, but some pieces fit on no sheet
    kExitUsage = 2,
    kExitUnreadable = 3,  // the project file could not be read
    kExitRefused = 4,     // the tables cannot be run (empty table, bad quantity)
    kExitWriteFailed = 5,
    kExitBillIncomplete = 6,  // the bill met a value it could not read; written as far as read
};

constexpr char kUsage[] =
    "usage: trimora-cli optimise PROJECT [options]\n"
    "\n"
    "Reads PROJECT (.trp or .xml), computes the cutting layouts and writes the results.\n"
    "\n"
    "options:\n"
    "  --out FILE         write the project with its layouts (.trp or .xml)\n"
    "  --report FILE      write the report as text (default: standard output)\n"
    "  --bill FILE        write the bill as text\n"
    "  --unit N           length unit 0..5 (mm, cm, m, in, fractional in, ft-in);\n"
    "                     the tables are re-expressed in it\n"
    "  --area-style N     area style 0..5 (mm2, cm2, m2, in2, ft2, yd2)\n"
    "  --kerf LENGTH      saw kerf, a length in the unit\n"
    "  --level N          optimisation level 0..2 (automatic: 100, 200, 300 candidates;\n"
    "                     manual: 20000, 30000, 40000 combinations per generation)\n"
    "  --manual           lay out sheet by sheet with the manual search, taking the best\n"
    "                     combination of every sheet\n"
    "  --alpha A          manual search: starting waste tolerance (default 0.001)\n"
    "  --target T         manual search: target yield in whole percent (default 92)\n"
    "  --language NAME    language file of the texts (default: from the system locale)\n"
    "\n"
    "exit codes: 0 done, 1 not every piece placed, 2 usage, 3 project unreadable,\n"
    "            4 run refused, 5 output not written, 6 bill incomplete\n";

struct Options {
    std::string command;
    std::string project;
    std::string out, report, bill;
    std::optional<int> unit, areaStyle, level;
    std::optional<std::string> kerf;
    std::optional<std::string> language;
    bool manual = false;
    float alpha = 0.001f;
    int32_t target = 92;
};

bool ParseSmallInt(const std::string& text, int low, int high, int& value) {
    if (text.empty() || text.size() > 3) return false;
    int v = 0;
    for (char c : text) {
        if (c < '0' || c > '9') return false;
        v = v * 10 + (c - '0');
    }
    if (v < low || v > high) return false;
    value = v;
    return true;
}

std::optional<Options> ParseArguments(int argc, char* argv[]) {
    Options options;
    std::vector<std::string> args(argv + 1, argv + argc);
    size_t i = 0;
    auto value = [&](std::string& target) {
        if (i + 1 >= args.size()) return false;
        target = args[++i];
        return true;
    };
    for (; i < args.size(); ++i) {
        const std::string& a = args[i];
        std::string v;
        int n = 0;
        if (a == "--out") {
            if (!value(options.out)) return std::nullopt;
        } else if (a == "--report") {
            if (!value(options.report)) return std::nullopt;
        } else if (a == "--bill") {
            if (!value(options.bill)) return std::nullopt;
        } else if (a == "--unit" || a == "--area-style" || a == "--level") {
            if (!value(v) || !ParseSmallInt(v, 0, a == "--level" ? 2 : 5, n)) return std::nullopt;
            (a == "--unit" ? options.unit : a == "--level" ? options.level : options.areaStyle) = n;
        } else if (a == "--kerf") {
            if (!value(v)) return std::nullopt;
            options.kerf = v;
        } else if (a == "--manual") {
            options.manual = true;
        } else if (a == "--alpha") {
            if (!value(v)) return std::nullopt;
            const std::optional<float> alpha = ParseManualAlpha(v);
            if (!alpha || !(*alpha >= 0)) return std::nullopt;
            options.alpha = *alpha;
        } else if (a == "--target") {
            if (!value(v)) return std::nullopt;
            const std::optional<int32_t> target = ParseTargetYield(v);
            if (!target || *target > 100) return std::nullopt;
            options.target = *target;
        } else if (a == "--language") {
            if (!value(v)) return std::nullopt;
            options.language = v;
        } else if (!a.empty() && a[0] == '-') {
            return std::nullopt;
        } else if (options.command.empty()) {
            options.command = a;
        } else if (options.project.empty()) {
            options.project = a;
        } else {
            return std::nullopt;
        }
    }
    if (options.command != "optimise" || options.project.empty()) return std::nullopt;
    return options;
}

fs::path ExecutableFolder(const char* argv0) {
    std::error_code ec;
    fs::path self = fs::read_symlink("/proc/self/exe", ec);
    if (ec) self = fs::absolute(argv0, ec);
    return self.parent_path();
}

// Messages go to the standard error stream in the chosen language, with the number for
// scripts that match on it.
void Report(const LanguageTable& texts, int number, const std::string& detail = {}) {
    std::string line = texts.LanguageText(number);
    if (line.empty()) line = "error";
    if (!detail.empty()) line += " " + detail;
    std::fprintf(stderr, "trimora-cli: %s [%d]\n", line.c_str(), number);
}

bool WriteTextFile(const fs::path& path, const std::string& content) {
    const fs::path temporary = path.string() + ".tmp";
    {
        std::ofstream out(temporary, std::ios::binary | std::ios::trunc);
        if (!out) return false;
        out << content;
        out.flush();
        if (!out) {
            out.close();
            std::error_code ec;
            fs::remove(temporary, ec);
            return false;
        }
    }
    std::error_code ec;
    fs::rename(temporary, path, ec);
    if (ec) fs::remove(temporary, ec);
    return !ec;
}

}  // namespace

int main(int argc, char* argv[]) {
    if (argc == 2 && (std::string(argv[1]) == "--help" || std::string(argv[1]) == "-h")) {
        std::fputs(kUsage, stdout);
        return kExitOk;
    }
    const std::optional<Options> options = ParseArguments(argc, argv);
    if (!options) {
        std::fputs(kUsage, stderr);
        return kExitUsage;
    }

    const fs::path programFolder = ResolveProgramFolder(ExecutableFolder(argv[0]));
    const char* locale = std::getenv("LANG");
    MemoryStore store;
    Settings settings = LoadSettings(store, programFolder, locale ? locale : "").settings;
    if (options->unit) settings.JedMere = *options->unit;
    if (options->areaStyle) settings.AreaStyle = *options->areaStyle;
    if (options->level) settings.autoparam = settings.manparam = *options->level;

    LanguageTable texts;
    const std::string language =
        options->language ? *options->language : LanguageForLocale(locale ? locale : "");
    if (LoadLanguageFile(programFolder, language, texts).status != LanguageLoadStatus::Ok)
        std::fprintf(stderr, "trimora-cli: language file %s could not be read\n", language.c_str());

    if (options->kerf) {
        const Tenths kerf = ParseLength(settings.JedMere, *options->kerf);
        if (kerf < 0 || kerf > 65535) {
            std::fprintf(stderr, "trimora-cli: --kerf %s is not a length\n",
                         options->kerf->c_str());
            return kExitUsage;
        }
        settings.Testera = static_cast<uint16_t>(kerf);
    }

    const BandLoadResult bands = LoadBandTypes(BandTypesFile(programFolder));

    Project project;
    ProjectTexts projectTexts;
    const ProjectDocumentSettings documentSettings = DocumentSettingsOf(settings);

    const LoadOutcome loaded =
        LoadProject(project, projectTexts, documentSettings,
                    LoadOptions{options->project, false, LoadSource::CommandLine});
    if (loaded.status != LoadStatus::Loaded) {
        Report(texts, loaded.messageText != 0 ? loaded.messageText : 31, options->project);
        return kExitUnreadable;
    }

    const Preparation prepared = PrepareOptimiserInput(project, settings.JedMere, settings.Testera);
    if (prepared.status != 0) {
        Report(texts, prepared.text);
        return kExitRefused;
    }
    if (options->manual) {
        ManualLayoutOptions manual;
        manual.alpha = options->alpha;
        manual.targetYield = options->target;
        manual.manparam = settings.manparam;
        manual.manualDuplicate = settings.ManualDuplicate;
        if (const int refused = RunManualLayout(project, manual); refused != 0) {
            Report(texts, refused);
            return kExitRefused;
        }
    } else {
        RunAutomaticLayout(project.input, project.result,
                           CandidateCountForAutoparam(settings.autoparam));
    }

    const FinishedRun run = FinishRunReport(project, MakeReportOptions(settings, bands.table),
                                            [&texts](int n) { return texts.LanguageText(n); });
    if (run.panel) projectTexts.statistics = StatisticsTextsOf(*run.panel);
    projectTexts.report = PlainText(run.report);
    projectTexts.bill = PlainText(run.bill);

    int status = kExitOk;
    if (!options->out.empty()) {
        SaveOptions save;
        save.saveAs = true;
        save.chosenPath = options->out;
        save.asXml = fs::path(options->out).extension() == ".xml";
        save.templatePath = ProjectTemplatePath(programFolder);
        const SaveOutcome saved = SaveProject(project, documentSettings, projectTexts, save);
        if (saved.messageText != 0 || saved.cancelled) {
            Report(texts, saved.messageText != 0 ? saved.messageText : 29, options->out);
            status = kExitWriteFailed;
        }
    }
    if (!options->bill.empty() && !WriteTextFile(options->bill, projectTexts.bill)) {
        std::fprintf(stderr, "trimora-cli: %s could not be written\n", options->bill.c_str());
        status = kExitWriteFailed;
    }
    if (options->report.empty()) {
        std::fputs(projectTexts.report.c_str(), stdout);
    } else if (!WriteTextFile(options->report, projectTexts.report)) {
        std::fprintf(stderr, "trimora-cli: %s could not be written\n", options->report.c_str());
        status = kExitWriteFailed;
    }
    if (status != kExitOk) return status;
    if (!run.conversionError.empty()) {
        std::fprintf(stderr, "trimora-cli: %s\n", run.conversionError.c_str());
        return kExitBillIncomplete;
    }
    if (!run.allPlaced) {
        Report(texts, run.messageText);
        return kExitNotAllPlaced;
    }
    return kExitOk;
}
