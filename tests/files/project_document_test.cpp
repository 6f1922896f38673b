#include "files/project_document.h"

#include <gtest/gtest.h>

#include <atomic>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include <sys/resource.h>
#include <pugixml.hpp>

#include <csignal>

namespace trimora {
namespace {

namespace fs = std::filesystem;

std::string ReadFile(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream out;
    out << in.rdbuf();
    return out.str();
}

void WriteFile(const fs::path& path, const std::string& text) {
    std::ofstream out(path, std::ios::binary);
    out << text;
}

std::string Replaced(std::string text, const std::string& from, const std::string& to) {
    const size_t at = text.find(from);
    EXPECT_NE(at, std::string::npos) << from;
    if (at != std::string::npos) text.replace(at, from.size(), to);
    return text;
}

class ProjectDocumentTest : public ::testing::Test {
protected:
    void SetUp() override {
        static std::atomic<int> serial{0};
        dir_ = fs::temp_directory_path() /
               ("trimora_doc_" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()) +
                "_" + std::to_string(serial++) + "_" +
                ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(dir_);
        fs::create_directories(dir_);
        templ_ = fs::path(TRIMORA_SOURCE_DATA_DIR) / "Config" / "template.trp";
        settings_.dateTime = "2024-05-04 13:00:00";
        settings_.companyName = "Velmar";
    }
    void TearDown() override { fs::remove_all(dir_); }

    std::vector<std::string> FolderEntries() const {
        std::vector<std::string> names;
        for (const auto& entry : fs::directory_iterator(dir_))
            names.push_back(entry.path().filename().string());
        std::sort(names.begin(), names.end());
        return names;
    }

    // Two sheet rows, two part rows, a small result; lengths written in `unit`.
    static Project Sample(const std::string& len, const std::string& wid) {
        Project p;
        p.SheetRowCount = 2;
        p.sheets.SetCell(1, 1, len);
        p.sheets.SetCell(2, 1, wid);
        p.sheets.SetCell(3, 1, "2");
        p.sheets.SetCell(4, 1, "Oak <18> & \"white\"");
        p.sheets.SetCell(1, 2, wid);
        p.sheets.SetCell(2, 2, wid);
        p.sheets.SetCell(3, 2, "1");
        p.sheets.SetCell(4, 2, "");
        p.PartRowCount = 2;
        p.parts.SetCell(1, 1, wid);
        p.parts.SetCell(2, 1, wid);
        p.parts.SetCell(3, 1, "3");
        p.parts.SetCell(4, 1, " ");  // the quick entry's blank initials
        p.parts.SetCell(5, 1, "0");
        p.parts.SetCell(1, 2, len);
        p.parts.SetCell(2, 2, wid);
        p.parts.SetCell(3, 2, "1");
        p.parts.SetCell(4, 2, "Šđ €<a>");
        p.parts.SetCell(5, 2, "1");
        for (int r = 1; r <= 2; ++r)
            for (int k = 0; k < 4; ++k) {
                p.parts.SetCell(6 + k, r, k == 0 ? "PVC 2 'x'" : "-");
                p.parts.SetCell(10 + k, r, k == 0 ? wid : "0");
                p.parts.SetCell(14 + k, r, k == 0 ? "<>" : "");
            }
        p.SheetQuantityTotal = 3;
        p.PartQuantityTotal = 4;
        p.details = {"Kitchen & bath", "Ana <A.>", "Marko",   "Petrović",       "Street 1",
                     "11000 Belgrade", "Serbia",   "+381 11", "note: \"a\" < b"};
        p.result.PlacedParts = {{1, 0, 0, 100, 200, 0, 1}, {3, 5, 6, 700, 800, 1, 2}};
        p.result.Offcuts = {{2, 100, 0, 2800, 2070}};
        return p;
    }

    static ProjectTexts SampleTexts() {
        ProjectTexts t;
        t.statistics = {"4", "4", "2", "1.25 m²", "71.5", "40.25", "12.4", "3 <mm>"};
        t.report = "old report";
        t.bill = "old bill";
        return t;
    }

    fs::path Save(const Project& p, const std::string& name, LengthUnit unit) {
        ProjectDocumentSettings s = settings_;
        s.unit = unit;
        const fs::path path = dir_ / name;
        EXPECT_EQ(WriteProjectDocument(path, templ_, p, s, SampleTexts()), 0);
        return path;
    }

    LoadOutcome Load(Project& p, ProjectTexts& t, const fs::path& path, LengthUnit unit,
                     bool add = false, LoadSource source = LoadSource::OpenDialog) {
        ProjectDocumentSettings s = settings_;
        s.unit = unit;
        return LoadProject(p, t, s, LoadOptions{path.string(), add, source});
    }

    fs::path dir_;
    fs::path templ_;
    ProjectDocumentSettings settings_;
};

struct UnitCase {
    LengthUnit unit;
    std::string len, wid;
    Tenths lenTenths, widTenths;
};

TEST_F(ProjectDocumentTest, RoundTripKeepsEveryTextAndRecordInEachUnit) {
    const std::vector<UnitCase> cases = {
        {0, "2800", "2070.5", 28000, 20705},   {1, "280", "207.05", 28000, 20705},
        {2, "2.8", "2.0705", 28000, 20705},    {3, "110.236", "81.5", 28000, 20701},
        {4, "96 1/2\"", "81\"", 24511, 20574}, {5, "8' 1/2\"", "6' 9\"", 24511, 20574},
    };
    for (const UnitCase& c : cases) {
        SCOPED_TRACE(c.unit);
        const Project saved = Sample(c.len, c.wid);
        const fs::path path = Save(saved, "round" + std::to_string(c.unit) + ".trp", c.unit);

        Project loaded;
        loaded.fileName = "other.trp";
        ProjectTexts texts;
        const LoadOutcome out = Load(loaded, texts, path, c.unit);
        ASSERT_EQ(out.status, LoadStatus::Loaded);
        EXPECT_EQ(out.fileUnit, c.unit);
        EXPECT_FALSE(out.layoutsDropped);
        EXPECT_EQ(loaded.fileName, path.string());
        EXPECT_TRUE(out.fileNameChanged);

        ASSERT_EQ(loaded.SheetRowCount, 2);
        ASSERT_EQ(loaded.PartRowCount, 2);
        for (int r = 1; r <= 2; ++r) {
            for (int col = 1; col < kSheetColumns; ++col)
                EXPECT_EQ(loaded.sheets.Cell(col, r), saved.sheets.Cell(col, r)) << col;
            for (int col = 1; col < kPartColumns; ++col)
                EXPECT_EQ(loaded.parts.Cell(col, r), saved.parts.Cell(col, r)) << col;
        }
        EXPECT_EQ(loaded.SheetQuantityTotal, 3);
        EXPECT_EQ(loaded.PartQuantityTotal, 4);
        const ProjectDetails& d = loaded.details;
        EXPECT_EQ(d.coverTitle, saved.details.coverTitle);
        EXPECT_EQ(d.author, saved.details.author);
        EXPECT_EQ(d.clientName, saved.details.clientName);
        EXPECT_EQ(d.clientSurname, saved.details.clientSurname);
        EXPECT_EQ(d.address1, saved.details.address1);
        EXPECT_EQ(d.address2, saved.details.address2);
        EXPECT_EQ(d.address3, saved.details.address3);
        EXPECT_EQ(d.clientPhone, saved.details.clientPhone);
        EXPECT_EQ(d.clientNote, saved.details.clientNote);
        EXPECT_EQ(texts.statistics, SampleTexts().statistics);
        EXPECT_EQ(texts.report, "");
        EXPECT_EQ(loaded.result.PlacedParts, saved.result.PlacedParts);
        EXPECT_EQ(loaded.result.Offcuts, saved.result.Offcuts);

        // Sheet instances come back in table order, sized from the document's unit.
        const std::vector<SheetInstance> instances = {{c.lenTenths, c.widTenths, 2, 1, 1},
                                                      {c.lenTenths, c.widTenths, 2, 2, 1},
                                                      {c.widTenths, c.widTenths, 1, 3, 2}};
        EXPECT_EQ(loaded.input.SheetInstances, instances);
        EXPECT_EQ(loaded.input.TotalPieces, 4);
        ASSERT_EQ(loaded.input.PartInputs.size(), 2u);
        EXPECT_EQ(loaded.input.PartInputs[1].grain, 1);
        // One piece of row 1 and the only piece of row 2 are placed.
        EXPECT_EQ(loaded.input.PartWorks[0].quantity, 2);
        EXPECT_EQ(loaded.input.PartWorks[1].quantity, 0);
    }
}

TEST_F(ProjectDocumentTest, WriterBuildsTheDocumentInItsOrderFromARootOnlyTemplate) {
    Project p = Sample("2800", "2070");
    p.SheetRowCount = 0;  // only parts: the sheet list is written empty
    ProjectDocumentSettings s = settings_;
    s.unit = 1;
    s.price1 = 12.5f;
    s.price2 = 0.1f;
    s.price3 = 123456789.0f;
    const fs::path path = dir_ / "order.trp";
    ASSERT_EQ(WriteProjectDocument(path, templ_, p, s, SampleTexts()), 0);

    pugi::xml_document doc;
    ASSERT_TRUE(doc.load_file(path.c_str()));
    auto names = [](pugi::xml_node node) {
        std::string out;
        for (pugi::xml_node c = node.first_child(); c; c = c.next_sibling())
            out += std::string(c.name()) + " ";
        return out;
    };
    pugi::xml_node root = doc.child("trmx_root");
    EXPECT_EQ(names(root), "version type author company date_time job ");
    EXPECT_EQ(names(root.child("job")),
              "measure cover_title client_name client_surname client_address client_phone "
              "client_note price1 price2 price3 data ");
    EXPECT_EQ(names(root.child("job").child("data")), "stats tab_sheets tab_parts diagrams ");
    EXPECT_EQ(names(root.child("job").child("data").child("stats")),
              "parts used_parts used_sheets part_area average_yield last_sheet_yield "
              "cut_length banding_length ");
    EXPECT_STREQ(root.child_value("version"), "1.3");
    EXPECT_STREQ(root.child_value("type"), "TRMX");
    EXPECT_STREQ(root.child_value("company"), "Velmar");
    EXPECT_STREQ(root.child_value("date_time"), "2024-05-04 13:00:00");
    pugi::xml_node job = root.child("job");
    EXPECT_STREQ(job.child_value("measure"), "1");
    EXPECT_STREQ(job.child_value("client_address"), "Street 1\n11000 Belgrade\nSerbia");
    EXPECT_STREQ(job.child_value("price1"), "12.5");
    EXPECT_STREQ(job.child_value("price2"), "0.1");
    EXPECT_STREQ(job.child_value("price3"), "1.2345679E0008");
    pugi::xml_node sheets = job.child("data").child("tab_sheets");
    EXPECT_STREQ(sheets.attribute("count").value(), "0");
    EXPECT_FALSE(sheets.child("sheet"));
    pugi::xml_node part = job.child("data").child("tab_parts").child("part");
    EXPECT_EQ(names(part), "len wid qty ini rot bl1 bl2 bw1 bw2 ");
    EXPECT_STREQ(part.child("bl1").attribute("sg").value(), "<>");
    pugi::xml_node e = job.child("data").child("diagrams").child("elements").child("e");
    EXPECT_EQ(names(e), "tnb x y x1 y1 rot enb ");
    EXPECT_STREQ(job.child("data").child("diagrams").child("offcuts").attribute("count").value(),
                 "1");
    // The markup characters are escaped in the file, not stored raw.
    EXPECT_NE(ReadFile(path).find("<author>Ana &lt;A.&gt;</author>"), std::string::npos);
}

struct ConversionCase {
    LengthUnit docUnit;
    std::string text;
    LengthUnit currentUnit;
    std::string expected;
};

TEST_F(ProjectDocumentTest, LoadReexpressesLengthsInTheCurrentUnit) {
    const std::vector<ConversionCase> cases = {
        {0, "2750", 1, "275"},       {0, "1676.4", 5, "5' 6\""}, {5, "5' 6\"", 0, "1676.4"},
        {4, "12 1/2\"", 1, "31.75"}, {1, "0.2", 0, "2"},         {0, "abc", 1, "abc"},
    };
    for (const ConversionCase& c : cases) {
        SCOPED_TRACE(c.text + " to unit " + std::to_string(c.currentUnit));
        const Project saved = Sample(c.text, c.text);
        const fs::path path = Save(saved, "conv.trp", c.docUnit);
        Project loaded;
        ProjectTexts texts;
        ASSERT_EQ(Load(loaded, texts, path, c.currentUnit).status, LoadStatus::Loaded);
        EXPECT_EQ(loaded.sheets.Cell(1, 1), c.expected);
        EXPECT_EQ(loaded.sheets.Cell(2, 1), c.expected);
        EXPECT_EQ(loaded.parts.Cell(1, 2), c.expected);
        EXPECT_EQ(loaded.parts.Cell(10, 1), c.expected);  // band thickness
        EXPECT_EQ(loaded.parts.Cell(11, 1), "0");
        EXPECT_EQ(loaded.sheets.Cell(3, 1), "2");  // quantities are not lengths
        EXPECT_EQ(loaded.result.PlacedParts, saved.result.PlacedParts);
    }
}

TEST_F(ProjectDocumentTest, AddAppendsRowsConvertsOnlyThoseAndKeepsTheProjectName) {
    const fs::path path = Save(Sample("2750", "2000"), "add.trp", 0);  // millimetres

    Project p;
    p.fileName = "/work/kitchen.trp";
    p.SheetRowCount = 3;
    for (int r = 1; r <= 3; ++r) {
        p.sheets.SetCell(1, r, "100");  // centimetres, the current unit
        p.sheets.SetCell(2, r, "50");
        p.sheets.SetCell(3, r, "1");
    }
    p.SheetQuantityTotal = 3;
    p.result.PlacedParts = {{1, 0, 0, 10, 10, 0, 1}};
    ProjectTexts texts = SampleTexts();

    const LoadOutcome out = Load(p, texts, path, 1, /*add=*/true);
    ASSERT_EQ(out.status, LoadStatus::Loaded);
    EXPECT_FALSE(out.showResults);
    EXPECT_FALSE(out.addToRecent);
    EXPECT_FALSE(out.fileNameChanged);
    EXPECT_EQ(p.fileName, "/work/kitchen.trp");
    ASSERT_EQ(p.SheetRowCount, 5);
    EXPECT_EQ(p.PartRowCount, 2);
    EXPECT_EQ(p.sheets.Cell(1, 3), "100");
    EXPECT_EQ(p.sheets.Cell(1, 4), "275");
    EXPECT_EQ(p.sheets.Cell(2, 5), "200");
    EXPECT_EQ(p.SheetQuantityTotal, 6);
    // The earlier rows keep their unit when the sheet instances are rebuilt.
    ASSERT_EQ(p.input.SheetInstances.size(), 6u);
    EXPECT_EQ(p.input.SheetInstances[0].length, 10000);
    EXPECT_EQ(p.input.SheetInstances[3].length, 27500);
    EXPECT_EQ(p.input.SheetInstances[5].row, 5);
    // The stored result no longer describes the grown tables.
    EXPECT_TRUE(out.layoutsDropped);
    EXPECT_TRUE(p.result.PlacedParts.empty());
    EXPECT_TRUE(p.result.Offcuts.empty());
    EXPECT_EQ(texts.statistics, StatisticsTexts{});
    EXPECT_EQ(texts.bill, "");
}

TEST_F(ProjectDocumentTest, XmlFileIsNeverAppendedAndNeverReopensTheResults) {
    const Project saved = Sample("2800", "2070");
    const fs::path trp = Save(saved, "plan.trp", 0);
    const fs::path xml = dir_ / "plan.xml";
    fs::copy_file(trp, xml);
    settings_.loadSema = false;

    Project p = Sample("1", "1");
    p.SheetRowCount = 2;
    ProjectTexts texts;
    LoadOutcome out = Load(p, texts, xml, 0, /*add=*/true, LoadSource::OpenDialog);
    ASSERT_EQ(out.status, LoadStatus::Loaded);
    EXPECT_EQ(p.SheetRowCount, 2);
    EXPECT_EQ(p.sheets.Cell(1, 1), "2800");
    EXPECT_EQ(p.fileName, xml.string());
    EXPECT_FALSE(out.showResults);
    EXPECT_EQ(p.result.PlacedParts, saved.result.PlacedParts);

    out = Load(p, texts, xml, 0, false, LoadSource::XmlDialog);
    EXPECT_FALSE(out.showResults);
    EXPECT_FALSE(out.addToRecent);

    out = Load(p, texts, trp, 0, false, LoadSource::XmlDialog);
    EXPECT_TRUE(out.showResults);  // a .trp chosen in the XML dialog is a project file
    EXPECT_FALSE(out.addToRecent);
}

TEST_F(ProjectDocumentTest, ResultsViewReopensOnlyForAProjectFileWithLayouts) {
    const fs::path path = Save(Sample("2800", "2070"), "MiXeD.Trp", 0);
    Project p;
    ProjectTexts texts;
    settings_.loadSema = false;
    LoadOutcome out = Load(p, texts, path, 0);
    ASSERT_EQ(out.status, LoadStatus::Loaded);  // the letter case of the extension is no matter
    EXPECT_TRUE(out.showResults);
    EXPECT_TRUE(out.addToRecent);

    settings_.loadSema = true;
    EXPECT_FALSE(Load(p, texts, path, 0).showResults);

    settings_.loadSema = false;
    Project empty = Sample("2800", "2070");
    empty.result = RunResult{};
    const fs::path noLayouts = Save(empty, "nolayouts.trp", 0);
    EXPECT_FALSE(Load(p, texts, noLayouts, 0).showResults);
    EXPECT_FALSE(Load(p, texts, noLayouts, 0, false, LoadSource::RecentEntry).addToRecent);
}

TEST_F(ProjectDocumentTest, BrokenOrUnsupportedFilesChangeNothing) {
    const std::string valid = ReadFile(Save(Sample("2800", "2070"), "valid.trp", 0));
    struct Case {
        std::string name;
        std::string content;  // empty: the file is not created
        LoadStatus status;
        int text;
    };
    const std::vector<Case> cases = {
        {"missing.trp", "", LoadStatus::OpenFailed, 31},
        {"empty.trp", "\n", LoadStatus::ReadFailed, 288},
        {"truncated.trp", valid.substr(0, valid.size() / 2), LoadStatus::ReadFailed, 288},
        {"noise.trp", "<<<\x01\x02 not xml", LoadStatus::ReadFailed, 288},
        {"otherroot.trp",
         Replaced(Replaced(valid, "<trmx_root>", "<root>"), "</trmx_root>", "</root>"),
         LoadStatus::ReadFailed, 288},
        {"old.trp", "TRIMORA 1.5\n", LoadStatus::LegacyNotSupported, 288},
        {"old.BDX", "anything", LoadStatus::LegacyNotSupported, 288},
        {"plan.txt", valid, LoadStatus::UnknownType, 288},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const fs::path path = dir_ / c.name;
        if (!c.content.empty()) WriteFile(path, c.content);
        Project p = Sample("1", "1");
        p.fileName = "keep.trp";
        ProjectTexts texts = SampleTexts();
        const LoadOutcome out = Load(p, texts, path, 0);
        EXPECT_EQ(out.status, c.status);
        EXPECT_EQ(out.messageText, c.text);
        EXPECT_EQ(p.fileName, "keep.trp");
        EXPECT_EQ(p.SheetRowCount, 2);
        EXPECT_EQ(p.sheets.Cell(1, 1), "1");
        EXPECT_EQ(texts.report, "old report");
    }
    Project p;
    ProjectTexts texts;
    EXPECT_EQ(Load(p, texts, "  ", 0).status, LoadStatus::Cancelled);
}

TEST_F(ProjectDocumentTest, CountsThatDoNotMatchOrAreAbsurdFailTheWholeRead) {
    const std::string valid = ReadFile(Save(Sample("2800", "2070"), "valid.trp", 0));
    const std::string sheets = "<tab_sheets count=\"2\">";
    const std::string elements = "<elements count=\"2\">";
    const std::vector<std::pair<std::string, std::string>> edits = {
        {sheets, "<tab_sheets count=\"3\">"},  // three announced, two present
        {sheets, "<tab_sheets count=\"1\">"},  // more items than announced
        {sheets, "<tab_sheets count=\"-1\">"},
        {sheets, "<tab_sheets count=\"100001\">"},
        {sheets, "<tab_sheets count=\"99999999999\">"},
        {sheets, "<tab_sheets count=\"2.0\">"},
        {sheets, "<tab_sheets count=\"\">"},
        {sheets, "<tab_sheets>"},
        {"<tab_parts count=\"2\">", "<tab_parts count=\"x\">"},
        {elements, "<elements count=\"10001\">"},
        {elements, "<elements count=\"3\">"},
        {"<offcuts count=\"1\">", "<offcuts count=\"0\">"},
        {"<tnb>3</tnb>", "<tnb>3a</tnb>"},
        {"<enb>2</enb>", "<enb></enb>"},
        {"<enb>2</enb>", ""},
        {"<measure>0</measure>", "<measure>7</measure>"},
        {"<measure>0</measure>", "<measure>mm</measure>"},
        {"<measure>0</measure>", ""},
    };
    for (const auto& [from, to] : edits) {
        SCOPED_TRACE(to);
        const fs::path path = dir_ / "bad.trp";
        WriteFile(path, Replaced(valid, from, to));
        Project p = Sample("1", "1");
        p.fileName = "keep.trp";
        ProjectTexts texts = SampleTexts();
        const LoadOutcome out = Load(p, texts, path, 0);
        EXPECT_EQ(out.status, LoadStatus::ReadFailed);
        EXPECT_EQ(out.messageText, 288);
        EXPECT_EQ(p.SheetRowCount, 2);
        EXPECT_EQ(p.sheets.Cell(1, 1), "1");
        EXPECT_EQ(p.details.author, "Ana <A.>");
        EXPECT_EQ(p.fileName, "keep.trp");
        EXPECT_EQ(texts.statistics, SampleTexts().statistics);

        // The reader on its own leaves the project as it was too.
        EXPECT_EQ(ReadProjectDocument(path, true, p, texts, settings_).unit, -1);
        EXPECT_EQ(p.SheetRowCount, 2);
    }
}

TEST_F(ProjectDocumentTest, LayoutsOnMissingSheetsOrRowsAreDroppedNotStored) {
    const std::string valid = ReadFile(Save(Sample("2800", "2070"), "valid.trp", 0));
    const std::vector<std::pair<std::string, std::string>> edits = {
        {"<tnb>3</tnb>", "<tnb>4</tnb>"},  // three sheet instances exist
        {"<tnb>1</tnb>", "<tnb>0</tnb>"},
        {"<enb>2</enb>", "<enb>3</enb>"},   // two part rows exist
        {"<tnb>2</tnb>", "<tnb>-2</tnb>"},  // the offcut
    };
    for (const auto& [from, to] : edits) {
        SCOPED_TRACE(to);
        const fs::path path = dir_ / "layouts.trp";
        WriteFile(path, Replaced(valid, from, to));
        Project p;
        ProjectTexts texts;
        settings_.loadSema = false;
        const LoadOutcome out = Load(p, texts, path, 0);
        ASSERT_EQ(out.status, LoadStatus::Loaded);
        EXPECT_TRUE(out.layoutsDropped);
        EXPECT_FALSE(out.showResults);
        EXPECT_EQ(p.SheetRowCount, 2);
        EXPECT_TRUE(p.result.PlacedParts.empty());
        EXPECT_TRUE(p.result.Offcuts.empty());
        EXPECT_EQ(texts.statistics, StatisticsTexts{});
    }
}

TEST_F(ProjectDocumentTest, AddressLinesAreSplitAndTrimmed) {
    const std::string valid = ReadFile(Save(Sample("2800", "2070"), "valid.trp", 0));
    const std::string address = "<client_address>Street 1\n11000 Belgrade\nSerbia</client_address>";
    struct Case {
        std::string stored, line1, line2, line3;
    };
    const std::vector<Case> cases = {
        {"One line", "One line", "", ""},
        {"a \t\nb  \nc  \nd", "a", "b", "c  "},
        {"\nsecond", "", "second", ""},
        {"", "", "", ""},
    };
    for (const Case& c : cases) {
        const fs::path path = dir_ / "address.trp";
        WriteFile(path,
                  Replaced(valid, address, "<client_address>" + c.stored + "</client_address>"));
        Project p;
        ProjectTexts texts;
        ASSERT_EQ(Load(p, texts, path, 0).status, LoadStatus::Loaded);
        EXPECT_EQ(p.details.address1, c.line1);
        EXPECT_EQ(p.details.address2, c.line2);
        EXPECT_EQ(p.details.address3, c.line3);
    }
}

TEST_F(ProjectDocumentTest, FailedSaveLeavesTheOldFileAndNoLeftovers) {
    const fs::path target = dir_ / "plan.trp";
    WriteFile(target, "OLD");
    const Project p = Sample("2800", "2070");

    const fs::path badTemplate = dir_ / "bad_template.trp";
    WriteFile(badTemplate, "<trmx_root><unclosed>");
    EXPECT_EQ(WriteProjectDocument(target, badTemplate, p, settings_, SampleTexts()), 29);
    EXPECT_EQ(WriteProjectDocument(target, dir_ / "none.trp", p, settings_, SampleTexts()), 29);
    const fs::path wrongRoot = dir_ / "wrong_root.trp";
    WriteFile(wrongRoot, "<other/>");
    EXPECT_EQ(WriteProjectDocument(target, wrongRoot, p, settings_, SampleTexts()), 29);
    EXPECT_EQ(ReadFile(target), "OLD");

    // The disk fills up while the new document is written.
    {
        const auto previousHandler = std::signal(SIGXFSZ, SIG_IGN);
        rlimit previous{};
        ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &previous), 0);
        rlimit tiny = previous;
        tiny.rlim_cur = 64;
        ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &tiny), 0);
        const int result = WriteProjectDocument(target, templ_, p, settings_, SampleTexts());
        setrlimit(RLIMIT_FSIZE, &previous);
        std::signal(SIGXFSZ, previousHandler);
        EXPECT_EQ(result, 29);
        EXPECT_EQ(ReadFile(target), "OLD");
    }

    // The rename cannot replace a folder: the write fails after the temporary was complete.
    const fs::path folder = dir_ / "folder.trp";
    fs::create_directories(folder / "inside");
    EXPECT_EQ(WriteProjectDocument(folder, templ_, p, settings_, SampleTexts()), 29);
    EXPECT_TRUE(fs::is_directory(folder / "inside"));

    EXPECT_EQ(WriteProjectDocument(dir_ / "no_such_folder" / "plan.trp", templ_, p, settings_,
                                   SampleTexts()),
              29);
    EXPECT_EQ(FolderEntries(), (std::vector<std::string>{"bad_template.trp", "folder.trp",
                                                         "plan.trp", "wrong_root.trp"}));

    // A successful save replaces the old file whole.
    EXPECT_EQ(WriteProjectDocument(target, templ_, p, settings_, SampleTexts()), 0);
    EXPECT_NE(ReadFile(target).find("<trmx_root>"), std::string::npos);
    EXPECT_EQ(FolderEntries().size(), 4u);
}

TEST_F(ProjectDocumentTest, SaveNamesTheProjectButAnExportDoesNot) {
    Project p = Sample("2800", "2070");
    SaveOptions options;
    options.templatePath = templ_;

    // An unnamed project needs the dialog; without a chosen path nothing happens.
    EXPECT_TRUE(SaveNeedsDialog(p, false, false));
    SaveOutcome out = SaveProject(p, settings_, SampleTexts(), options);
    EXPECT_TRUE(out.cancelled);
    EXPECT_EQ(out.messageText, 0);

    // A project read from a .bdx file is saved as .trp beside it.
    p.fileName = (dir_ / "plan.bdx").string();
    EXPECT_FALSE(SaveNeedsDialog(p, false, false));
    out = SaveProject(p, settings_, SampleTexts(), options);
    EXPECT_EQ(out.messageText, 0);
    EXPECT_EQ(p.fileName, (dir_ / "plan.trp").string());
    EXPECT_TRUE(out.fileNameChanged);
    EXPECT_TRUE(out.addToRecent);
    EXPECT_TRUE(fs::exists(dir_ / "plan.trp"));

    // The export writes plan.xml and leaves the project's own name alone.
    options.saveAs = options.asXml = true;
    options.chosenPath = (dir_ / "plan.xml").string();
    out = SaveProject(p, settings_, SampleTexts(), options);
    EXPECT_EQ(out.messageText, 0);
    EXPECT_EQ(out.writtenPath, (dir_ / "plan.xml").string());
    EXPECT_FALSE(out.fileNameChanged);
    EXPECT_FALSE(out.addToRecent);
    EXPECT_EQ(p.fileName, (dir_ / "plan.trp").string());
    EXPECT_TRUE(fs::exists(dir_ / "plan.xml"));

    // A failed save as keeps the old name.
    options.asXml = false;
    options.chosenPath = (dir_ / "missing" / "copy.trp").string();
    out = SaveProject(p, settings_, SampleTexts(), options);
    EXPECT_EQ(out.messageText, 29);
    EXPECT_FALSE(out.addToRecent);
    EXPECT_EQ(p.fileName, (dir_ / "plan.trp").string());

    // Nothing to save.
    Project empty;
    empty.fileName = p.fileName;
    EXPECT_EQ(SaveProject(empty, settings_, SampleTexts(), SaveOptions{}).messageText, 29);
}

TEST_F(ProjectDocumentTest, ShippedTemplateHoldsOnlyTheRoot) {
    pugi::xml_document doc;
    ASSERT_TRUE(doc.load_file(templ_.c_str(), pugi::parse_default | pugi::parse_declaration));
    EXPECT_STREQ(doc.first_child().attribute("encoding").value(), "UTF-8");
    pugi::xml_node root = doc.child("trmx_root");
    ASSERT_TRUE(root);
    EXPECT_FALSE(root.first_child());
    EXPECT_EQ(ProjectTemplatePath("/opt/trimora"), fs::path("/opt/trimora/Config/template.trp"));
}

}  // namespace
}  // namespace trimora
