#include "config/band_table.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <iterator>
#include <string>

namespace trimora {
namespace {

namespace fs = std::filesystem;

constexpr LengthUnit kMm = 0;
constexpr LengthUnit kCm = 1;

std::string Lines(int records, const char* eol = "\r\n") {
    std::string text;
    for (int k = 0; k < records; ++k) {
        const std::string n = std::to_string(k);
        for (const std::string& line : {"B" + n, n, "m" + n, std::string("2"), std::string("0.5")})
            text += line + eol;
    }
    return text;
}

class BandFile : public ::testing::Test {
protected:
    void SetUp() override {
        folder = fs::temp_directory_path() /
                 ("trimora_bands_" +
                  std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()));
        fs::remove_all(folder);
        fs::create_directories(folder / "Config");
        file = BandTypesFile(folder);
    }
    void TearDown() override { fs::remove_all(folder); }

    void Write(const std::string& content) {
        std::ofstream out(file, std::ios::binary);
        out << content;
    }
    std::string Read() {
        std::ifstream in(file, std::ios::binary);
        return {std::istreambuf_iterator<char>(in), {}};
    }

    fs::path folder;
    fs::path file;
};

TEST(BandTypes, FiveLinesPerRecord) {
    const BandLoadResult loaded =
        ParseBandTypes("-\r\n0\r\n\r\n0\r\n0\r\n101\r\n0.1\r\n*\r\n3\r\n0.6\r\n");
    EXPECT_EQ(loaded.error, 0);
    ASSERT_EQ(loaded.table.Count(), 2);
    EXPECT_EQ(loaded.table.Names(), (std::vector<std::string>{"-", "101"}));
    EXPECT_EQ(loaded.table.records[1], (BandRecord{"101", "0.1", "*", "3", "0.6"}));
    EXPECT_EQ(loaded.table.records[0].mark, "");
}

TEST(BandTypes, AnyLineEndAndOddEndings) {
    const std::pair<std::string, int> cases[] = {
        {Lines(2, "\n"), 2},
        {Lines(2, "\r"), 2},
        {"a\r\nb\nc\rd\r\ne", 1},            // mixed ends, last line without one
        {Lines(2) + "x\r\ny\r\n", 2},        // an incomplete last record is ignored
        {Lines(1) + "\r\n\r\n\r\n\r\n", 1},  // four empty lines are no record
        {Lines(1) + "\r\n\r\n\r\n\r\n\r\n", 2},
        {"", 0},
        {"\xEF\xBB\xBF" + Lines(1), 1},
    };
    for (const auto& [content, count] : cases) {
        const BandLoadResult loaded = ParseBandTypes(content);
        EXPECT_EQ(loaded.error, 0);
        EXPECT_EQ(loaded.table.Count(), count) << content;
    }
    EXPECT_EQ(ParseBandTypes("a\r\nb\nc\rd\r\ne").table.records[0],
              (BandRecord{"a", "b", "c", "d", "e"}));
    EXPECT_EQ(ParseBandTypes("\xEF\xBB\xBF" + Lines(1)).table.records[0].name, "B0");
}

TEST(BandTypes, MoreThanFiftyAreRefused) {
    const BandLoadResult fifty = ParseBandTypes(Lines(50) + "a\r\nb\r\nc\r\nd\r\n");
    EXPECT_EQ(fifty.error, 0);
    EXPECT_EQ(fifty.table.Count(), 50);

    for (int records : {51, 400}) {
        const BandLoadResult loaded = ParseBandTypes(Lines(records));
        EXPECT_EQ(loaded.error, kTextTooManyBandTypes);
        ASSERT_EQ(loaded.table.Count(), 50);
        EXPECT_EQ(loaded.table.records[49].name, "B49");
    }
}

TEST(BandTypes, DamagedTextIsRefusedWhole) {
    const BandLoadResult loaded = ParseBandTypes(Lines(2) + std::string(100000, 'x'));
    EXPECT_EQ(loaded.error, kTextBandFileUnreadable);
    EXPECT_EQ(loaded.table.Count(), 0);
    // Control characters are text like any other; no line is too long.
    EXPECT_EQ(ParseBandTypes(std::string("a\0b\r\n1\r\n\x01\r\n2\r\n3\r\n", 16)).table.Count(), 1);
}

TEST(BandTypes, EntryOrNoneFallsBackToNoBand) {
    BandTable table;
    EXPECT_EQ(table.EntryOrNone(0), NoBandRecord());
    EXPECT_EQ(NoBandRecord().thickness, "0");
    table.records.push_back({"X", "1", "m", "2", "3"});
    EXPECT_EQ(table.EntryOrNone(0).name, "X");
    EXPECT_EQ(table.EntryOrNone(1), NoBandRecord());
    EXPECT_EQ(table.EntryOrNone(-1), NoBandRecord());
}

TEST_F(BandFile, SaveAndLoadRoundTrip) {
    BandTable table;
    table.records = {{"-", "0", "", "0", "0"}, {"PVC 1", "0.1", "+", "3", "0.65"}};
    ASSERT_EQ(SaveBandTypes(file, table), 0);
    EXPECT_EQ(Read(), "-\r\n0\r\n\r\n0\r\n0\r\nPVC 1\r\n0.1\r\n+\r\n3\r\n0.65\r\n");
    EXPECT_FALSE(fs::exists(file.string() + ".tmp"));
    const BandLoadResult loaded = LoadBandTypes(file);
    EXPECT_EQ(loaded.error, 0);
    EXPECT_EQ(loaded.table.records, table.records);

    // Saving again replaces the file.
    table.records.pop_back();
    ASSERT_EQ(SaveBandTypes(file, table), 0);
    EXPECT_EQ(LoadBandTypes(file).table.Count(), 1);
}

TEST_F(BandFile, MissingOrUnwritable) {
    const BandLoadResult missing = LoadBandTypes(folder / "Config" / "none.trb");
    EXPECT_EQ(missing.error, kTextBandFileUnreadable);
    EXPECT_EQ(missing.table.Count(), 0);
    EXPECT_EQ(LoadBandTypes(folder).error, kTextBandFileUnreadable);  // a folder, not a file

    Write(Lines(2));
    EXPECT_EQ(SaveBandTypes(folder / "no such folder" / "bands.trb", BandTable{}),
              kTextBandFileNotWritten);
    // A failed save leaves the old file as it was.
    fs::create_directory(file.string() + ".tmp");
    EXPECT_EQ(SaveBandTypes(file, BandTable{}), kTextBandFileNotWritten);
    EXPECT_EQ(Read(), Lines(2));
}

TEST_F(BandFile, OversizedFilesAreReadOnlyAsFarAsNeeded) {
    std::string big;
    big.reserve(10 << 20);
    while (big.size() < (10u << 20)) big += Lines(20);
    Write(big);
    const BandLoadResult loaded = LoadBandTypes(file);
    EXPECT_EQ(loaded.error, kTextTooManyBandTypes);
    EXPECT_EQ(loaded.table.Count(), 50);

    Write(std::string(8 << 20, 'z'));  // one endless line
    const BandLoadResult endless = LoadBandTypes(file);
    EXPECT_EQ(endless.error, kTextBandFileUnreadable);
    EXPECT_EQ(endless.table.Count(), 0);
}

TEST(ShippedBands, FirstEntryIsNoBandAndLengthsAreCanonicalCentimetres) {
    const BandLoadResult loaded = LoadBandTypes(BandTypesFile(fs::path(TRIMORA_SOURCE_DATA_DIR)));
    ASSERT_EQ(loaded.error, 0);
    ASSERT_GE(loaded.table.Count(), 4);
    EXPECT_EQ(loaded.table.records[0].thickness, "0");
    EXPECT_EQ(loaded.table.records[0].name, "-");
    for (const BandRecord& record : loaded.table.records) {
        SCOPED_TRACE(record.name);
        EXPECT_FALSE(record.name.empty());
        for (const std::string* length : {&record.thickness, &record.allowance}) {
            const NormalizedLength normal = NormalizeLengthText(*length, kCm);
            EXPECT_EQ(normal.error, 0);
            EXPECT_EQ(normal.text, *length);
        }
        EXPECT_NO_THROW((void)std::stod(record.price));
    }
}

TEST(ShippedBands, BesideTheProgram) {
    // The build copies the program folder beside the executables, where the tests run.
    const char* home = std::getenv("TRIMORA_HOME");
    if (home == nullptr) GTEST_SKIP() << "TRIMORA_HOME not set";
    EXPECT_EQ(LoadBandTypes(BandTypesFile(home)).error, 0);
}

TEST(BandUnitChange, EveryEntryButTheFirstIsRewritten) {
    BandTable table;
    table.records = {
        {"-", "0.5", "", "2", "0"}, {"A", "1", "*", "20", "1"}, {"B", "bad", "#", "3", "1"}};
    EXPECT_EQ(ConvertBandLengths(table, kMm, kCm), 1);
    EXPECT_EQ(table.records[0], (BandRecord{"-", "0.5", "", "2", "0"}));
    EXPECT_EQ(table.records[1], (BandRecord{"A", "0.1", "*", "2", "1"}));
    EXPECT_EQ(table.records[2], (BandRecord{"B", "bad", "#", "0.3", "1"}));
}

// ---- the dialog's grid ------------------------------------------------------------------

BandTable Types(int count) {
    return ParseBandTypes(Lines(count)).table;
}

TEST(BandGrid, RowsFollowTheTable) {
    const BandGrid grid(Types(2));
    EXPECT_EQ(grid.RowCount(), 3);
    EXPECT_EQ(grid.Cell(0, 1), "B0");
    EXPECT_EQ(grid.Cell(0, 2), "B1");
    EXPECT_EQ(grid.Cell(0, 3), "");
    EXPECT_EQ(grid.Cell(0, 0), "");
}

TEST(BandGrid, LengthColumnsAreCheckedAndRestored) {
    struct Case {
        int column;
        const char* typed;
        int error;
        const char* stored;
    };
    const Case cases[] = {
        {1, "1.04", 0, "1"}, {3, "25.55", 0, "25.6"},          {1, "thick", 272, "1"},
        {3, "", 272, "2"},   {2, "free text", 0, "free text"}, {4, "not checked", 0, "not checked"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.typed);
        BandGrid grid(Types(2));
        grid.SelectCell(c.column, 2);
        grid.SetCell(c.column, 2, c.typed);
        const BandCellCheck check = grid.ValidateCell(c.column, 2, kMm);
        EXPECT_EQ(check.error, c.error);
        EXPECT_EQ(check.restored, c.error != 0);
        EXPECT_EQ(grid.Cell(c.column, 2), c.stored);
    }
}

TEST(BandGrid, RowOneIsFixed) {
    BandGrid grid(Types(3));
    grid.SetCell(1, 1, "9");
    EXPECT_EQ(grid.Cell(1, 1), "0");
    EXPECT_FALSE(grid.CanDeleteRow(1));
    EXPECT_FALSE(grid.DeleteRow(1));
    EXPECT_EQ(grid.RowCount(), 4);
}

TEST(BandGrid, DeletingNeedsThreeTypesAndANamedRow) {
    BandGrid two(Types(2));
    EXPECT_FALSE(two.DeleteEnabled());
    EXPECT_FALSE(two.DeleteRow(2));

    BandGrid three(Types(3));
    EXPECT_TRUE(three.DeleteEnabled());
    ASSERT_TRUE(three.DeleteRow(2));
    EXPECT_EQ(three.RowCount(), 3);
    EXPECT_EQ(three.Cell(0, 2), "B2");
    EXPECT_FALSE(three.DeleteEnabled());

    BandGrid unnamed(Types(4));
    unnamed.SetCell(0, 3, "");
    EXPECT_FALSE(unnamed.CanDeleteRow(3));
    EXPECT_FALSE(unnamed.CanDeleteRow(5));
    // Rows below an unnamed row move up as well; none is lost.
    ASSERT_TRUE(unnamed.DeleteRow(2));
    EXPECT_EQ(unnamed.RowCount(), 4);
    EXPECT_EQ(unnamed.Cell(0, 2), "");
    EXPECT_EQ(unnamed.Cell(1, 2), "2");
    EXPECT_EQ(unnamed.Cell(0, 3), "B3");
}

TEST(BandGrid, NewRowsUpToFifty) {
    BandGrid grid(Types(48));
    EXPECT_EQ(grid.AddRow(), 0);
    EXPECT_EQ(grid.RowCount(), 50);
    EXPECT_EQ(grid.Cell(0, 49), "");
    EXPECT_EQ(grid.AddRow(), 0);
    EXPECT_EQ(grid.AddRow(), kTextTooManyBandTypes);
    EXPECT_EQ(grid.RowCount(), 51);
}

TEST(BandGrid, SavingDropsRowsWithoutBothLengths) {
    BandGrid grid(Types(3));
    grid.AddRow();  // left empty
    grid.AddRow();
    grid.SetCell(0, 5, "half");
    grid.SetCell(1, 5, "1");  // allowance missing
    grid.AddRow();
    grid.SetCell(1, 6, "1");
    grid.SetCell(3, 6, "2");  // no name, but both lengths: kept
    const BandTable saved = grid.ToTable();
    EXPECT_EQ(saved.Names(), (std::vector<std::string>{"B0", "B1", "B2", ""}));
}

TEST(BandGrid, RowOneIsSavedEvenWhenIncomplete) {
    BandTable table;
    table.records = {{"-", "0", "", "", "0"}, {"A", "1", "", "2", "0"}};
    EXPECT_EQ(BandGrid(table).ToTable().records, table.records);
}

}  // namespace
}  // namespace trimora
