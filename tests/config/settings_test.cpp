#include "config/settings.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>
#include <vector>

#include "config/memory_store.h"

namespace trimora {
namespace {

const std::filesystem::path kFolder = "/opt/trimora";

const std::vector<std::string> kMainReadOrder = {
    "iLang",
    "Jezik",
    "JedMere",
    "AreaStyle",
    "Zvuk",
    "SoundPath",
    "DefFont",
    "StatFontSize",
    "ProjectPath",
    "PrintCover",
    "PrintReport",
    "PrintDuplicate",
    "ManualDuplicate",
    "Testera",
    "Kantiranje",
    "Visak",
    "Visak2",
    "NADMERA",
    "CENA1",
    "CENA2",
    "CENA3",
    "CENA4",
    "CompanyName",
    "CompanyDetails",
    "DateFormat",
    "LayoutSrafura",
    "LoadSema",
    "LoadReport",
    "DefSheetWidth",
    "DefSheetHeight",
    "rp1",
    "rp2",
    "rp3",
    "rp4",
    "rp5",
    "XlConvComma",
    "XlAutoPref",
    "XlAppend",
    "frmpos",
    "frmtop",
    "frmleft",
    "frmwidth",
    "frmheight",
    "frmstate",
    "manparam",
    "autoparam",
};

const std::vector<std::string> kSaveOrder = {
    "Jezik",
    "JedMere",
    "AreaStyle",
    "Testera",
    "CENA1",
    "CENA2",
    "CENA3",
    "CENA4",
    "Visak",
    "Visak2",
    "NADMERA",
    "Kantiranje",
    "Zvuk",
    "SoundPath",
    "ProjectPath",
    "CompanyName",
    "CompanyDetails",
    "DateFormat",
    "DefFont",
    "StatFontSize",
    "PrintDuplicate",
    "PrintCover",
    "PrintReport",
    "LayoutSrafura",
    "LoadSema",
    "LoadReport",
    "DefSheetWidth",
    "DefSheetHeight",
    "rp1",
    "rp2",
    "rp3",
    "rp4",
    "rp5",
    "XlConvComma",
    "XlAutoPref",
    "XlAppend",
    "frmpos",
    "frmtop",
    "frmleft",
    "frmwidth",
    "frmheight",
    "frmstate",
    "manparam",
    "ManualDuplicate",
    "autoparam",
};

const std::vector<std::string> kImportOrder = {
    "wbtable", "wstable", "tablecol1", "tablecol2", "tablecol3", "tablecol4",
    "wbelem",  "wselem",  "elemcol1",  "elemcol2",  "elemcol3",  "elemcol4",
};

TEST(LoadSettings, EmptyStoreGetsEveryDefault) {
    MemoryStore store;
    const LoadedSettings loaded = LoadSettings(store, kFolder, "en_US.UTF-8");

    // Every value is created in table order, then iLang is marked as taken over.
    std::vector<std::string> expectedWrites = kMainReadOrder;
    expectedWrites.push_back("iLang");
    EXPECT_EQ(store.WriteLog(), expectedWrites);
    EXPECT_EQ(store.Values().size(), kMainReadOrder.size());

    Settings expected = DefaultSettings(kFolder);
    expected.iLang = "Finished";
    EXPECT_EQ(loaded.settings, expected);
    EXPECT_EQ(loaded.settings.SoundPath, "/opt/trimora/sound.wav");
    EXPECT_EQ(loaded.currentFileName, "/opt/trimora/Projects");

    // Kinds and defaults as stored.
    EXPECT_EQ(store.ReadString("iLang"), "Finished");
    EXPECT_EQ(store.ReadString("Jezik"), "Srpski");
    EXPECT_EQ(store.ReadInteger("JedMere"), 1);
    EXPECT_EQ(store.ReadInteger("Zvuk"), 1);
    EXPECT_EQ(store.ReadInteger("PrintCover"), 0);
    EXPECT_EQ(store.ReadInteger("Testera"), 4);
    EXPECT_EQ(store.ReadInteger("Visak2"), 60);
    EXPECT_EQ(store.ReadInteger("DefSheetWidth"), 270);
    EXPECT_EQ(store.ReadInteger("DefSheetHeight"), 190);
    EXPECT_EQ(store.ReadDouble("CENA3"), 0.0);
    EXPECT_EQ(store.ReadString("CompanyDetails"), " - Creator of the Trimora");
    EXPECT_EQ(store.ReadString("DateFormat"), "dd/mm/yyyy");
    EXPECT_EQ(store.ReadString("ProjectPath"), "/opt/trimora/Projects");
    EXPECT_EQ(store.ReadString("rp5"), "");
    EXPECT_EQ(store.ReadInteger("frmtop"), 10);
    EXPECT_EQ(store.ReadInteger("autoparam"), 2);
    EXPECT_FALSE(store.ValueExists("wbtable"));  // the import dialog creates its own
}

TEST(LoadSettings, ExistingValuesAreNotRewritten) {
    MemoryStore store;
    LoadSettings(store, kFolder, "en");
    store.ClearWriteLog();
    store.Put("JedMere", int32_t{4});
    const LoadedSettings loaded = LoadSettings(store, kFolder, "en");
    EXPECT_TRUE(store.WriteLog().empty());
    EXPECT_EQ(loaded.settings.JedMere, 4);
}

struct LanguageCase {
    std::optional<std::string> iLang;  // nullopt: missing
    std::optional<std::string> jezik;
    const char* locale;
    const char* language;
};

TEST(LoadSettings, ChoosesTheLanguage) {
    const LanguageCase cases[] = {
        // first start without installer: the system locale decides
        {std::nullopt, std::nullopt, "sr_RS.UTF-8", "Srpski"},
        {std::nullopt, std::nullopt, "sr-Latn-RS", "Srpski"},
        {"", std::nullopt, "hr_HR", "Srpski"},
        {"", std::nullopt, "bs_BA@latin", "Srpski"},
        {"", std::nullopt, "SH", "Srpski"},
        {"", std::nullopt, "en_US.UTF-8", "English"},
        {"", std::nullopt, "shn_MM", "English"},
        {"", std::nullopt, "de_DE", "English"},
        {"", std::nullopt, "", "English"},
        {"", "Srpski", "en_US", "English"},  // a not-taken-over iLang wins over Jezik
        // installer hand-over
        {"U.S. English", std::nullopt, "sr_RS", "English"},
        {"Deutsch", "Srpski", "en_US", "Deutsch"},
        {"0", std::nullopt, "en_US", "Srpski"},
        // later starts: Jezik decides
        {"Finished", "English", "sr_RS", "English"},
        {"Finished", std::nullopt, "en_US", "Srpski"},
        {"Finished", "0", "en_US", "Srpski"},
        {"Finished", "", "hr_HR", "Srpski"},
    };
    for (const auto& c : cases) {
        MemoryStore store;
        if (c.iLang) store.Put("iLang", *c.iLang);
        if (c.jezik) store.Put("Jezik", *c.jezik);
        const LoadedSettings loaded = LoadSettings(store, kFolder, c.locale);
        EXPECT_EQ(loaded.language, c.language)
            << "iLang " << c.iLang.value_or("<missing>") << ", Jezik "
            << c.jezik.value_or("<missing>") << ", locale " << c.locale;
        EXPECT_EQ(store.ReadString("iLang"), "Finished");
    }
}

TEST(LoadSettings, InstallerLanguageIsKeptAfterTheFirstClose) {
    MemoryStore store;
    store.Put("iLang", std::string("U.S. English"));
    LoadedSettings first = LoadSettings(store, kFolder, "sr_RS");
    ASSERT_EQ(first.language, "English");
    EXPECT_EQ(store.ReadString("Jezik"), "Srpski");  // not touched until the close
    SaveSettings(store, first.settings, first.language, first.currentFileName, {});
    EXPECT_EQ(store.ReadString("Jezik"), "English");
    EXPECT_EQ(LoadSettings(store, kFolder, "sr_RS").language, "English");
}

TEST(LoadSettings, WrongKindOrRangeFallsBackToTheDefault) {
    MemoryStore store;
    store.Put("JedMere", std::string("abc"));
    store.Put("AreaStyle", int32_t{9});
    store.Put("Zvuk", 2.5);
    store.Put("DefFont", int32_t{5});
    store.Put("CENA1", std::string("12"));
    store.Put("CENA2", std::numeric_limits<double>::quiet_NaN());
    store.Put("CENA3", 1e300);  // beyond single precision
    store.Put("Testera", int32_t{70000});
    store.Put("Visak", int32_t{-5});
    store.Put("LayoutSrafura", int32_t{2});
    store.Put("frmstate", int32_t{3});
    store.Put("autoparam", int32_t{-1});
    store.Put("XlAutoPref", int32_t{3});
    store.Put("StatFontSize", int32_t{0});
    const Settings s = LoadSettings(store, kFolder, "en").settings;
    const Settings d = DefaultSettings(kFolder);
    EXPECT_EQ(s.JedMere, d.JedMere);
    EXPECT_EQ(s.AreaStyle, d.AreaStyle);
    EXPECT_EQ(s.Zvuk, d.Zvuk);
    EXPECT_EQ(s.DefFont, d.DefFont);
    EXPECT_EQ(s.CENA1, d.CENA1);
    EXPECT_EQ(s.CENA2, d.CENA2);
    EXPECT_EQ(s.CENA3, d.CENA3);
    EXPECT_EQ(s.Testera, d.Testera);
    EXPECT_EQ(s.Visak, d.Visak);
    EXPECT_EQ(s.LayoutSrafura, d.LayoutSrafura);
    EXPECT_EQ(s.frmstate, d.frmstate);
    EXPECT_EQ(s.autoparam, d.autoparam);
    EXPECT_EQ(s.XlAutoPref, d.XlAutoPref);
    EXPECT_EQ(s.StatFontSize, d.StatFontSize);
    // The damaged value stays in the store until the next save replaces it.
    EXPECT_EQ(store.ReadString("JedMere"), "abc");
}

TEST(LoadSettings, ValidEdgeValuesAreTaken) {
    MemoryStore store;
    store.Put("Testera", int32_t{65535});
    store.Put("JedMere", int32_t{5});
    store.Put("AreaStyle", int32_t{0});
    store.Put("LayoutSrafura", int32_t{50});
    store.Put("Zvuk", int32_t{7});        // any non-zero integer is true
    store.Put("frmtop", int32_t{-1200});  // a monitor left of or above the main one
    store.Put("CENA1", 12.25);
    const Settings s = LoadSettings(store, kFolder, "en").settings;
    EXPECT_EQ(s.Testera, 65535);
    EXPECT_EQ(s.JedMere, 5);
    EXPECT_EQ(s.AreaStyle, 0);
    EXPECT_EQ(s.LayoutSrafura, 50);
    EXPECT_TRUE(s.Zvuk);
    EXPECT_EQ(s.frmtop, -1200);
    EXPECT_FLOAT_EQ(s.CENA1, 12.25f);
}

TEST(LoadSettings, EmptyProjectPathMeansTheProjectsFolder) {
    MemoryStore store;
    store.Put("ProjectPath", std::string());
    const LoadedSettings loaded = LoadSettings(store, kFolder, "en");
    EXPECT_EQ(loaded.currentFileName, "/opt/trimora/Projects/");
    EXPECT_EQ(loaded.settings.ProjectPath, "");
}

TEST(LoadSettings, StoreThatRefusesWritesStillGivesDefaults) {
    MemoryStore store;
    store.SetRefuseWrites(true);
    const LoadedSettings loaded = LoadSettings(store, kFolder, "hr_HR");
    Settings expected = DefaultSettings(kFolder);
    expected.iLang = "Finished";
    EXPECT_EQ(loaded.settings, expected);
    EXPECT_EQ(loaded.language, "Srpski");
    EXPECT_TRUE(store.Values().empty());
}

TEST(SaveSettings, WritesTheListedValuesInOrder) {
    MemoryStore store;
    Settings s = DefaultSettings(kFolder);
    s.Jezik = "Stale";
    s.ProjectPath = "stale";
    s.CENA1 = 12.5f;
    s.Testera = 40000;
    SaveSettings(store, s, "English", "C:\\p\\a.trp", WindowPlacement{20, 30, 800, 600, 2});
    EXPECT_EQ(store.WriteLog(), kSaveOrder);
    EXPECT_FALSE(store.ValueExists("iLang"));
    EXPECT_EQ(store.ReadString("Jezik"), "English");
    EXPECT_EQ(store.ReadString("ProjectPath"), "C:\\p\\a.trp");
    EXPECT_EQ(store.ReadDouble("CENA1"), 12.5);
    EXPECT_EQ(store.ReadInteger("Testera"), 40000);
    EXPECT_EQ(store.ReadInteger("Kantiranje"), 0);
    EXPECT_EQ(store.ReadInteger("frmtop"), 20);
    EXPECT_EQ(store.ReadInteger("frmleft"), 30);
    EXPECT_EQ(store.ReadInteger("frmwidth"), 800);
    EXPECT_EQ(store.ReadInteger("frmheight"), 600);
    EXPECT_EQ(store.ReadInteger("frmstate"), 2);

    MemoryStore refusing;
    refusing.SetRefuseWrites(true);
    SaveSettings(refusing, s, "English", "", {});
    EXPECT_TRUE(refusing.Values().empty());
}

TEST(SaveSettings, RoundTripThroughTheStore) {
    MemoryStore store;
    LoadedSettings first = LoadSettings(store, kFolder, "en_GB");
    Settings s = first.settings;
    s.JedMere = 5;
    s.AreaStyle = 4;
    s.Zvuk = false;
    s.SoundPath = "/home/u/ding.wav";
    s.DefFont = "DejaVu Sans";
    s.StatFontSize = 11;
    s.PrintCover = true;
    s.PrintReport = true;
    s.PrintDuplicate = false;
    s.ManualDuplicate = false;
    s.Testera = 65535;
    s.Kantiranje = true;
    s.Visak = 1000;
    s.Visak2 = 2000;
    s.NADMERA = 25;
    s.CENA1 = 12.3f;
    s.CENA2 = 0.1f;
    s.CENA3 = 1e6f;
    s.CENA4 = -2.5f;
    s.CompanyName = "Stolarija \xC5\xA0umadija";
    s.CompanyDetails = "";
    s.DateFormat = "yyyy-mm-dd";
    s.LayoutSrafura = 5;
    s.LoadSema = false;
    s.LoadReport = false;
    s.DefSheetWidth = 28000;
    s.DefSheetHeight = 20700;
    s.rp1 = "/p/a.trp";
    s.rp5 = "/p/e.trp";
    s.XlConvComma = false;
    s.XlAutoPref = 2;
    s.XlAppend = false;
    s.frmpos = false;
    s.manparam = 0;
    s.autoparam = 1;
    const WindowPlacement window{-5, 7, 1024, 768, 1};
    SaveSettings(store, s, "English", "C:\\p\\a.trp", window);

    const LoadedSettings second = LoadSettings(store, kFolder, "sr_RS");
    Settings expected = s;
    expected.Jezik = "English";
    expected.ProjectPath = "C:\\p\\a.trp";
    expected.frmtop = -5;
    expected.frmleft = 7;
    expected.frmwidth = 1024;
    expected.frmheight = 768;
    expected.frmstate = 1;
    EXPECT_EQ(second.settings, expected);
    EXPECT_EQ(second.language, "English");
    EXPECT_EQ(second.currentFileName, "C:\\p\\a.trp");
}

TEST(ImportSettings, CreatedWithDefaultsReadAndWrittenInOrder) {
    MemoryStore store;
    Settings s;
    s.wbtable = "stale";
    LoadImportSettings(store, s);
    EXPECT_EQ(store.WriteLog(), kImportOrder);
    EXPECT_EQ(s.wbtable, " ");
    EXPECT_EQ(s.wbelem, " ");
    EXPECT_EQ(s.tablecol1, "");
    EXPECT_EQ(store.ReadString("wbelem"), " ");

    s.wbtable = "/x/sheets.xlsx";
    s.wstable = "Sheet1";
    s.tablecol2 = "B2:B40";
    s.elemcol4 = "D2:D9";
    store.ClearWriteLog();
    SaveImportSettings(store, s);
    EXPECT_EQ(store.WriteLog(), kImportOrder);
    EXPECT_FALSE(store.ValueExists("JedMere"));  // only the dialog's own values

    store.Put("wselem", int32_t{3});  // wrong kind
    Settings again;
    again.wselem = "stale";
    LoadImportSettings(store, again);
    EXPECT_EQ(again.wbtable, "/x/sheets.xlsx");
    EXPECT_EQ(again.wstable, "Sheet1");
    EXPECT_EQ(again.tablecol2, "B2:B40");
    EXPECT_EQ(again.elemcol4, "D2:D9");
    EXPECT_EQ(again.wselem, "");
}

}  // namespace
}  // namespace trimora
