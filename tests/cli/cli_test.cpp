// Runs the real trimora-cli program on project files made with the core writer.
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include "core/project.h"
#include "files/project_document.h"

namespace trimora {
namespace {

namespace fs = std::filesystem;

struct CliRun {
    int exitCode = -1;
    std::string output;  // standard output and standard error together
};

CliRun RunCli(const std::string& arguments, const std::string& environment = {}) {
    const std::string command =
        "LANG=C " + environment + " " + TRIMORA_CLI + " " + arguments + " 2>&1";
    CliRun run;
    FILE* pipe = popen(command.c_str(), "r");
    if (pipe == nullptr) return run;
    char buffer[4096];
    size_t n = 0;
    while ((n = fread(buffer, 1, sizeof buffer, pipe)) > 0) run.output.append(buffer, n);
    const int status = pclose(pipe);
    run.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return run;
}

std::string ReadFile(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream out;
    out << in.rdbuf();
    return out.str();
}

void AddSheet(Project& p, const std::string& length, const std::string& width,
              const std::string& quantity) {
    const int r = ++p.SheetRowCount;
    p.sheets.SetCell(1, r, length);
    p.sheets.SetCell(2, r, width);
    p.sheets.SetCell(3, r, quantity);
    p.sheets.SetCell(4, r, "board");
}

void AddPart(Project& p, const std::string& length, const std::string& width,
             const std::string& quantity, const std::string& initials, const std::string& grain) {
    const int r = ++p.PartRowCount;
    p.parts.SetCell(1, r, length);
    p.parts.SetCell(2, r, width);
    p.parts.SetCell(3, r, quantity);
    p.parts.SetCell(4, r, initials);
    p.parts.SetCell(5, r, grain);
    for (int edge = 0; edge < 4; ++edge) {
        p.parts.SetCell(6 + edge, r, "-");
        p.parts.SetCell(10 + edge, r, "0");
        p.parts.SetCell(14 + edge, r, "");
    }
}

class CliTest : public ::testing::Test {
protected:
    void SetUp() override {
        dir_ = fs::temp_directory_path() /
               ("trimora_cli_" +
                std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()));
        fs::remove_all(dir_);
        fs::create_directories(dir_);
    }
    void TearDown() override {
        if (std::getenv("TRIMORA_KEEP_TEST_FILES") == nullptr) fs::remove_all(dir_);
    }

    // A kitchen job in millimetres on two sheet sizes.
    static Project Kitchen() {
        Project p;
        AddSheet(p, "2800", "2070", "2");
        AddSheet(p, "2500", "1250", "1");
        AddPart(p, "720", "560", "4", "SIDE", "1");
        AddPart(p, "764", "540", "6", "SHELF", "0");
        AddPart(p, "716", "396", "8", "DOOR", "1");
        AddPart(p, "1200", "600", "1", "TOP", "0");
        AddPart(p, "564", "100", "10", "RAIL", "0");
        return p;
    }

    fs::path Write(const Project& project, const std::string& name) {
        ProjectDocumentSettings settings;
        settings.unit = 0;
        settings.dateTime = "2026-01-01 08:00:00";
        const fs::path path = dir_ / name;
        EXPECT_EQ(WriteProjectDocument(
                      path, fs::path(TRIMORA_SOURCE_DATA_DIR) / "Config" / "template.trp", project,
                      settings, ProjectTexts{}),
                  0);
        return path;
    }

    fs::path dir_;
};

TEST_F(CliTest, OptimisesAProjectAndWritesResultReportAndBill) {
    const fs::path in = Write(Kitchen(), "kitchen.trp");
    const fs::path out = dir_ / "result.trp";
    const CliRun run =
        RunCli("optimise " + in.string() + " --unit 0 --out " + out.string() + " --report " +
               (dir_ / "report.txt").string() + " --bill " + (dir_ / "bill.txt").string());
    ASSERT_EQ(run.exitCode, 0) << run.output;

    const std::string report = ReadFile(dir_ / "report.txt");
    EXPECT_NE(report.find("SIDE"), std::string::npos) << report;
    EXPECT_FALSE(ReadFile(dir_ / "bill.txt").empty());

    // The written project holds the layouts: reading it back gives every piece placed.
    Project back;
    ProjectTexts texts;
    ProjectDocumentSettings settings;
    settings.unit = 0;
    settings.loadSema = false;
    const LoadOutcome loaded = LoadProject(back, texts, settings, {out.string(), false});
    ASSERT_EQ(loaded.status, LoadStatus::Loaded);
    EXPECT_EQ(back.result.PlacedParts.size(), 4u + 6 + 8 + 1 + 10);
    EXPECT_FALSE(back.result.Offcuts.empty());
    EXPECT_FALSE(texts.statistics.usedSheets.empty());
    // Runs sort the tables: the largest part comes first.
    EXPECT_EQ(back.parts.Cell(4, 1), "TOP");
}

TEST_F(CliTest, ShippedExampleProjectOptimises) {
    const fs::path example = fs::path(TRIMORA_SOURCE_DATA_DIR) / "Projects" / "kitchen.trp";
    const CliRun run =
        RunCli("optimise " + example.string() + " --out " + (dir_ / "kitchen.xml").string());
    EXPECT_EQ(run.exitCode, 0) << run.output;
    EXPECT_TRUE(fs::exists(dir_ / "kitchen.xml"));
}

TEST_F(CliTest, BandPriceThatCannotBeReadFailsTheRun) {
    // A program folder of its own whose band file holds a price that is not a number.
    const fs::path home = dir_ / "home";
    fs::create_directories(home / "Config");
    fs::copy(fs::path(TRIMORA_SOURCE_DATA_DIR) / "Lang", home / "Lang");
    fs::copy_file(fs::path(TRIMORA_SOURCE_DATA_DIR) / "Config" / "template.trp",
                  home / "Config" / "template.trp");
    std::ofstream(home / "Config" / "bands.trb", std::ios::binary)
        << "-\r\n0\r\n\r\n0\r\n0\r\nPVC\r\n1\r\n*\r\n20\r\nabc\r\n";
    Project p = Kitchen();
    p.parts.SetCell(6, 1, "PVC");
    p.parts.SetCell(10, 1, "1");
    p.parts.SetCell(14, 1, "*");
    const fs::path in = Write(p, "banded.trp");
    const CliRun run =
        RunCli("optimise " + in.string() + " --unit 0", "TRIMORA_HOME=" + home.string());
    EXPECT_EQ(run.exitCode, 6) << run.output;
    EXPECT_NE(run.output.find("'abc'"), std::string::npos) << run.output;
}

TEST_F(CliTest, SameInputGivesTheSameLayoutInEveryProcess) {
    const fs::path in = Write(Kitchen(), "kitchen.trp");
    const CliRun first = RunCli("optimise " + in.string() + " --unit 0 --level 0");
    const CliRun second = RunCli("optimise " + in.string() + " --unit 0 --level 0");
    ASSERT_EQ(first.exitCode, 0) << first.output;
    EXPECT_EQ(first.output, second.output);
}

TEST_F(CliTest, PartLargerThanEverySheetIsReportedWithTextTwenty) {
    Project p = Kitchen();
    AddPart(p, "3000", "500", "1", "BIG", "1");
    const fs::path in = Write(p, "big.trp");
    const CliRun run =
        RunCli("optimise " + in.string() + " --unit 0 --report " + (dir_ / "r.txt").string());
    EXPECT_EQ(run.exitCode, 1) << run.output;
    EXPECT_NE(run.output.find("[20]"), std::string::npos) << run.output;
    EXPECT_TRUE(fs::exists(dir_ / "r.txt"));
}

TEST_F(CliTest, RefusalsAndErrorsExitWithTheirCodes) {
    Project noSheets = Kitchen();
    noSheets.SheetRowCount = 0;
    const fs::path empty = Write(noSheets, "empty.trp");
    Project badQuantity = Kitchen();
    badQuantity.parts.SetCell(3, 2, "2.5");
    const fs::path bad = Write(badQuantity, "bad.trp");
    std::ofstream(dir_ / "broken.trp") << "<trmx_root><sheets count=\"7\">";

    struct Case {
        std::string arguments;
        int exitCode;
        std::string shown;
    };
    const Case cases[] = {
        {"", 2, "usage"},
        {"optimise", 2, "usage"},
        {"optimise x.trp --level 3", 2, "usage"},
        {"optimise " + (dir_ / "missing.trp").string(), 3, "[31]"},
        {"optimise " + (dir_ / "broken.trp").string(), 3, "[288]"},
        {"optimise " + empty.string() + " --unit 0", 4, "[19]"},
        {"optimise " + bad.string() + " --unit 0", 4, "["},
        {"optimise " + empty.string() + " --kerf abc", 2, "--kerf"},
    };
    for (const Case& c : cases) {
        const CliRun run = RunCli(c.arguments);
        EXPECT_EQ(run.exitCode, c.exitCode) << c.arguments << "\n" << run.output;
        EXPECT_NE(run.output.find(c.shown), std::string::npos) << c.arguments << "\n" << run.output;
    }
}

TEST_F(CliTest, ManualSearchPlacesEveryPieceAndWritesTheReport) {
    Project p;
    AddSheet(p, "1000", "600", "3");
    AddPart(p, "400", "300", "4", "PANEL", "1");
    AddPart(p, "300", "200", "3", "SHELF", "0");
    const fs::path in = Write(p, "small.trp");
    const fs::path out = dir_ / "manual.trp";
    const CliRun run = RunCli("optimise " + in.string() +
                              " --unit 0 --manual --level 0 --alpha 0.002 --target 95 --out " +
                              out.string() + " --report " + (dir_ / "report.txt").string());
    ASSERT_EQ(run.exitCode, 0) << run.output;
    EXPECT_NE(ReadFile(dir_ / "report.txt").find("PANEL"), std::string::npos);

    Project back;
    ProjectTexts texts;
    ProjectDocumentSettings settings;
    settings.unit = 0;
    settings.loadSema = false;
    ASSERT_EQ(LoadProject(back, texts, settings, {out.string(), false}).status, LoadStatus::Loaded);
    ASSERT_EQ(back.result.PlacedParts.size(), 7u);
    for (const PlacedPart& placed : back.result.PlacedParts) {
        EXPECT_GE(placed.sheet, 1);
        EXPECT_LE(placed.sheet, 3);
        EXPECT_LE(placed.x2, 10000);
        EXPECT_LE(placed.y2, 6000);
    }
}

TEST_F(CliTest, ManualSearchRefusalsAndBadOptions) {
    Project tooBig;
    AddSheet(tooBig, "1000", "600", "1");
    AddPart(tooBig, "2000", "300", "1", "LONG", "1");
    const fs::path big = Write(tooBig, "big.trp");
    const fs::path small = Write(Kitchen(), "kitchen.trp");
    struct Case {
        std::string arguments;
        int exitCode;
        std::string shown;
    };
    const Case cases[] = {
        {"optimise " + small.string() + " --manual --alpha abc", 2, "usage"},
        {"optimise " + small.string() + " --manual --alpha -0.5", 2, "usage"},
        {"optimise " + small.string() + " --manual --alpha", 2, "usage"},
        {"optimise " + small.string() + " --manual --target 9x", 2, "usage"},
        {"optimise " + big.string() + " --unit 0 --manual", 4, "[3]"},
    };
    for (const Case& c : cases) {
        const CliRun run = RunCli(c.arguments);
        EXPECT_EQ(run.exitCode, c.exitCode) << c.arguments << "\n" << run.output;
        EXPECT_NE(run.output.find(c.shown), std::string::npos) << c.arguments << "\n" << run.output;
    }
}

}  // namespace
}  // namespace trimora
