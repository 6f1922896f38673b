#include "config/language.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <map>
#include <set>

namespace trimora {
namespace {

namespace fs = std::filesystem;

// A private program folder with a Lang subfolder, removed afterwards.
class LanguageFolder : public ::testing::Test {
protected:
    void SetUp() override {
        const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
        folder_ = fs::temp_directory_path() /
                  (std::string("trimora_lang_") + info->test_suite_name() + "_" + info->name());
        fs::remove_all(folder_);
        fs::create_directories(folder_ / "Lang");
    }
    void TearDown() override { fs::remove_all(folder_); }

    void Write(const std::string& file, const std::string& bytes) {
        std::ofstream out(folder_ / "Lang" / file, std::ios::binary);
        out << bytes;
    }

    fs::path folder_;
};

struct SyntaxCase {
    const char* name;
    const char* file;
    LanguageLoadStatus status;
    std::map<int, std::string> expected;  // numbers checked after the parse
};

TEST(LanguageSyntax, TableOfCases) {
    const SyntaxCase cases[] = {
        {"plain", "#77# \"Options\"\n#FINISH LINE#\n", LanguageLoadStatus::Ok, {{77, "Options"}}},
        {"crlf",
         "#1# \"a\"\r\n#2# \"b\"\r\n#FINISH LINE#\r\n",
         LanguageLoadStatus::Ok,
         {{1, "a"}, {2, "b"}}},
        {"lone cr", "#1# \"a\"\r#2# \"b\"\r", LanguageLoadStatus::Ok, {{1, "a"}, {2, "b"}}},
        {"leading blanks kept",
         "#5# \"  two blanks\"\n",
         LanguageLoadStatus::Ok,
         {{5, "  two blanks"}}},
        {"ignored around", "xx#6#yy\"text\"zz\n", LanguageLoadStatus::Ok, {{6, "text"}}},
        {"no quotes gives empty", "#7#\n", LanguageLoadStatus::Ok, {{7, ""}}},
        {"missing closing quote", "#8# \"open end\n", LanguageLoadStatus::Ok, {{8, "open end"}}},
        {"hash inside text", "#9# \"a # b\"\n", LanguageLoadStatus::Ok, {{9, "a # b"}}},
        {"later line wins",
         "#3# \"first\"\n#3# \"second\"\n",
         LanguageLoadStatus::Ok,
         {{3, "second"}}},
        {"finish stops",
         "#1# \"a\"\n#FINISH LINE#\n#2# \"b\"\n",
         LanguageLoadStatus::Ok,
         {{1, "a"}, {2, ""}}},
        {"nothing after finish is checked",
         "#FINISH LINE#\n#x# \"b\"\n",
         LanguageLoadStatus::Ok,
         {}},
        {"out of range skipped",
         "#400# \"big\"\n#-1# \"neg\"\n#99999999999999# \"huge\"\n#399# \"last\"\n",
         LanguageLoadStatus::Ok,
         {{399, "last"}, {0, ""}}},
        {"blank lines skipped",
         "\n#1# \"a\"\n   \n\n#2# \"b\"\n",
         LanguageLoadStatus::Ok,
         {{1, "a"}, {2, "b"}}},
        {"blanks around number", "# 12 # \"x\"\n", LanguageLoadStatus::Ok, {{12, "x"}}},
        {"error keeps earlier",
         "#1# \"a\"\n#1x# \"b\"\n#2# \"c\"\n",
         LanguageLoadStatus::SyntaxError,
         {{1, "a"}, {2, ""}}},
        {"empty number part", "#1# \"a\"\n## \"b\"\n", LanguageLoadStatus::SyntaxError, {{1, "a"}}},
        {"one hash only", "#1 \"a\"\n", LanguageLoadStatus::SyntaxError, {{1, ""}}},
        {"text line without number",
         "#1# \"a\"\nhello\n#2# \"b\"\n",
         LanguageLoadStatus::SyntaxError,
         {{1, "a"}, {2, ""}}},
        {"finish line must be exact", "# FINISH LINE#\n", LanguageLoadStatus::SyntaxError, {}},
    };
    for (const SyntaxCase& c : cases) {
        SCOPED_TRACE(c.name);
        LanguageTable table;
        const LanguageLoadResult result = ParseLanguageText(c.file, table);
        EXPECT_EQ(result.status, c.status);
        for (const auto& [number, text] : c.expected) EXPECT_EQ(table.LanguageText(number), text);
    }
}

TEST(LanguageSyntax, ErrorLineIsReported) {
    LanguageTable table;
    const LanguageLoadResult result = ParseLanguageText("#1# \"a\"\r\n\r\n#b# \"c\"\r\n", table);
    EXPECT_EQ(result.status, LanguageLoadStatus::SyntaxError);
    EXPECT_EQ(result.errorLine, 3);
}

TEST(LanguageTable, UnknownAndOutOfRangeNumbersAreEmpty) {
    LanguageTable table;
    table.SetText(400, "x");
    table.SetText(-1, "y");
    table.SetText(0, "zero");
    EXPECT_EQ(table.LanguageText(0), "zero");
    EXPECT_EQ(table.LanguageText(1), "");
    EXPECT_EQ(table.LanguageText(400), "");
    EXPECT_EQ(table.LanguageText(-1), "");
}

TEST(LanguageEncoding, Utf8IsKeptAndBomDropped) {
    EXPECT_EQ(DecodeLanguageBytes("\xEF\xBB\xBF#1# \"\xC5\xA1\"\n"), "#1# \"\xC5\xA1\"\n");
}

TEST(LanguageEncoding, Cp1250IsDecodedWhenNotUtf8) {
    // "Šišmiš čeka đaka ž" in Windows-1250: 8A E8 9A 9E F0 are not valid UTF-8 here.
    const std::string cp =
        "\x8A"
        "i\x9A"
        "mi\x9A \xE8"
        "eka \xF0"
        "aka \x9E";
    EXPECT_FALSE(IsValidUtf8(cp));
    EXPECT_EQ(DecodeLanguageBytes(cp),
              "\xC5\xA0i\xC5\xA1mi\xC5\xA1 \xC4\x8D"
              "eka \xC4\x91"
              "aka \xC5\xBE");
    // The euro sign, an undefined byte and the last byte of the code page.
    EXPECT_EQ(Cp1250ToUtf8("\x80\x81\xFF"), "\xE2\x82\xAC\xEF\xBF\xBD\xCB\x99");
}

TEST(LanguageEncoding, Utf8Validation) {
    EXPECT_TRUE(IsValidUtf8("plain"));
    EXPECT_TRUE(IsValidUtf8("\xE2\x82\xAC\xF0\x9F\x98\x80"));
    EXPECT_FALSE(IsValidUtf8("\xC0\xAF"));          // overlong
    EXPECT_FALSE(IsValidUtf8("\xED\xA0\x80"));      // surrogate
    EXPECT_FALSE(IsValidUtf8("\xE2\x82"));          // cut short
    EXPECT_FALSE(IsValidUtf8("\xF4\x90\x80\x80"));  // beyond U+10FFFF
}

TEST_F(LanguageFolder, LoadsFileAndKeepsUnnamedTextsAcrossLoads) {
    Write("First.trl", "#74# \"File\"\r\n#75# \"Options\"\r\n#FINISH LINE#\r\n");
    Write("Second.trl", "#74# \"Datoteka\"\r\n#FINISH LINE#\r\n");
    LanguageTable table;
    EXPECT_EQ(LoadLanguageFile(folder_, "First", table).status, LanguageLoadStatus::Ok);
    const LanguageLoadResult second = LoadLanguageFile(folder_, "Second", table);
    EXPECT_EQ(second.status, LanguageLoadStatus::Ok);
    EXPECT_EQ(second.path, folder_ / "Lang" / "Second.trl");
    EXPECT_EQ(table.LanguageText(74), "Datoteka");
    EXPECT_EQ(table.LanguageText(75), "Options");
}

TEST_F(LanguageFolder, Cp1250FileIsDecoded) {
    Write("Old.trl", "#77# \"Nov projekat \x9A\x9E\"\r\n#FINISH LINE#\r\n");
    LanguageTable table;
    EXPECT_EQ(LoadLanguageFile(folder_, "Old", table).status, LanguageLoadStatus::Ok);
    EXPECT_EQ(table.LanguageText(77), "Nov projekat \xC5\xA1\xC5\xBE");
}

TEST_F(LanguageFolder, MissingAndHostileNamesAreMissingFiles) {
    LanguageTable table;
    for (const char* name : {"Nowhere", "", "../Lang/x", "..", "a\\b"}) {
        SCOPED_TRACE(name);
        EXPECT_EQ(LoadLanguageFile(folder_, name, table).status, LanguageLoadStatus::MissingFile);
    }
}

TEST_F(LanguageFolder, OversizedFileIsRefusedWithoutStoring) {
    std::string big = "#1# \"a\"\n";
    big.resize(static_cast<size_t>(kMaxLanguageFileBytes) + 10, ' ');
    Write("Big.trl", big);
    LanguageTable table;
    EXPECT_EQ(LoadLanguageFile(folder_, "Big", table).status, LanguageLoadStatus::SyntaxError);
    EXPECT_EQ(table.LanguageText(1), "");
}

TEST_F(LanguageFolder, SyntaxErrorInFileKeepsEarlierTexts) {
    Write("Bad.trl", "#1# \"one\"\n\n#two# \"x\"\n");
    LanguageTable table;
    table.SetText(2, "before");
    EXPECT_EQ(LoadLanguageFile(folder_, "Bad", table).status, LanguageLoadStatus::SyntaxError);
    EXPECT_EQ(table.LanguageText(1), "one");
    EXPECT_EQ(table.LanguageText(2), "before");
}

TEST_F(LanguageFolder, LanguageNamesListTrlFilesOnly) {
    Write("Srpski.trl", "");
    Write("English.TRL", "");
    Write("notes.txt", "");
    fs::create_directories(folder_ / "Lang" / "Folder.trl");
    EXPECT_EQ(LanguageNames(folder_), (std::vector<std::string>{"English", "Srpski"}));
    EXPECT_TRUE(LanguageNames(folder_ / "nothing").empty());
}

TEST_F(LanguageFolder, EveryListedLanguageLoads) {
    Write("English.TRL", "#75# \"Options\"\n#FINISH LINE#\n");
    LanguageTable table;
    for (const std::string& name : LanguageNames(folder_)) {
        SCOPED_TRACE(name);
        EXPECT_EQ(LoadLanguageFile(folder_, name, table).status, LanguageLoadStatus::Ok);
    }
    EXPECT_EQ(table.LanguageText(75), "Options");
    EXPECT_EQ(LoadLanguageFile(folder_, "english", table).status, LanguageLoadStatus::MissingFile);
}

TEST(LanguageForms, KnownFormsHaveElementsAndFourIsUnused) {
    for (int form : kLanguageForms) EXPECT_FALSE(FormElements(form).empty()) << form;
    EXPECT_TRUE(FormElements(4).empty());
    EXPECT_TRUE(FormElements(14).empty());
    for (int form : kLanguageForms) {
        for (const FormElement& e : FormElements(form)) {
            EXPECT_GE(e.textNumber, 0);
            EXPECT_LT(e.textNumber, kLanguageTextCount);
            const bool windowLevel = e.property == ElementProperty::WindowTitle ||
                                     e.property == ElementProperty::PrinterFontName;
            EXPECT_EQ(e.objectName.empty(), windowLevel) << form << " " << e.textNumber;
        }
    }
}

TEST(LanguageForms, SampleAssignments) {
    auto find = [](int form, int number, std::string_view name) -> const FormElement* {
        for (const FormElement& e : FormElements(form))
            if (e.textNumber == number && e.objectName == name) return &e;
        return nullptr;
    };
    const FormElement* grid = find(kFormMain, 187, "StringGrid2");
    ASSERT_NE(grid, nullptr);
    EXPECT_EQ(grid->property, ElementProperty::HeaderCell);
    EXPECT_EQ(grid->index, 9);
    const FormElement* item = find(kFormSettings, 311, "areastyle_combo");
    ASSERT_NE(item, nullptr);
    EXPECT_EQ(item->property, ElementProperty::ItemText);
    EXPECT_EQ(item->index, 5);
    // One number filling two elements of one form.
    EXPECT_NE(find(kFormMain, 286, "fromXML"), nullptr);
    EXPECT_NE(find(kFormMain, 286, "toXML"), nullptr);
    const FormElement* title = find(kFormProjectDetails, 254, "lbl_title");
    ASSERT_NE(title, nullptr);
    LanguageTable table;
    table.SetText(254, "Title");
    EXPECT_EQ(ElementText(*title, table), "Title:");
    EXPECT_EQ(FormElements(kFormSettings).size(), 69u);
}

TEST(LanguageForms, BuiltInDefaultsArePerForm) {
    // Text 91 is "Settings" on the main window menu but "Opcije" as the settings caption.
    EXPECT_EQ(BuiltInDefaultsTable(kFormMain).LanguageText(91), "Settings");
    EXPECT_EQ(BuiltInDefaultsTable(kFormSettings).LanguageText(91), "Opcije");
    EXPECT_EQ(BuiltInDefaultsTable(kFormMain).LanguageText(130), "TABLE");
    EXPECT_EQ(BuiltInDefaultsTable(kFormMain).LanguageText(78), "");
    EXPECT_EQ(BuiltInDefaultsTable(kFormLabelNew).LanguageText(380), "New Label");
}

// Every number a window or a message uses must be defined in both shipped language files.
class ShippedLanguage : public ::testing::TestWithParam<const char*> {};

TEST_P(ShippedLanguage, DefinesEveryUsedNumber) {
    const fs::path dataDir = TRIMORA_SOURCE_DATA_DIR;
    const fs::path file = dataDir / "Lang" / (std::string(GetParam()) + ".trl");
    std::ifstream in(file, std::ios::binary);
    ASSERT_TRUE(in) << file;
    const std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    EXPECT_TRUE(IsValidUtf8(bytes));
    EXPECT_NE(bytes.find("\r\n#FINISH LINE#\r\n"), std::string::npos);
    // CR LF line ends throughout and no stray line that is not an entry.
    for (size_t i = 0; i < bytes.size(); ++i) {
        if (bytes[i] == '\n') {
            EXPECT_TRUE(i > 0 && bytes[i - 1] == '\r') << "byte " << i;
        }
    }

    LanguageTable table;
    const LanguageLoadResult result = LoadLanguageFile(dataDir, GetParam(), table);
    ASSERT_EQ(result.status, LanguageLoadStatus::Ok) << "line " << result.errorLine;

    std::set<int> used(kMessageTextNumbers.begin(), kMessageTextNumbers.end());
    for (int form : kLanguageForms)
        for (const FormElement& e : FormElements(form)) used.insert(e.textNumber);
    for (int number : used) EXPECT_FALSE(table.LanguageText(number).empty()) << number;
}

TEST_P(ShippedLanguage, EveryLineIsOneEntry) {
    const fs::path file =
        fs::path(TRIMORA_SOURCE_DATA_DIR) / "Lang" / (std::string(GetParam()) + ".trl");
    std::ifstream in(file, std::ios::binary);
    ASSERT_TRUE(in);
    std::string line;
    std::set<int> seen;
    bool finished = false;
    while (std::getline(in, line)) {
        ASSERT_FALSE(finished) << "line after the end line: " << line;
        if (!line.empty() && line.back() == '\r') line.pop_back();
        if (line == "#FINISH LINE#") {
            finished = true;
            continue;
        }
        // #N# "text" with exactly two quotes, so no text hides a double quote.
        ASSERT_GE(line.size(), 5u) << line;
        ASSERT_EQ(line[0], '#') << line;
        const size_t hash2 = line.find('#', 1);
        ASSERT_NE(hash2, std::string::npos) << line;
        const int number = std::stoi(line.substr(1, hash2 - 1));
        EXPECT_TRUE(seen.insert(number).second) << "twice: " << number;
        EXPECT_EQ(line.substr(hash2 + 1, 2), " \"") << line;
        EXPECT_EQ(line.back(), '"') << line;
        EXPECT_EQ(std::count(line.begin(), line.end(), '"'), 2) << line;
    }
    EXPECT_TRUE(finished);
}

INSTANTIATE_TEST_SUITE_P(Files, ShippedLanguage, ::testing::Values("English", "Srpski"));

}  // namespace
}  // namespace trimora
