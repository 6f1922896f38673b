// Every persistent setting of the program with its default, and how the settings are read
// from and written to the key-value store. Fields carry the names of the stored values.
#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>

#include "config/key_value_store.h"

namespace trimora {

struct Settings {
    // ---- main window, in the order the values are read at start ----
    std::string iLang;              // installer hand-over; "Finished" once taken over
    std::string Jezik = "Srpski";   // language file name without extension
    int32_t JedMere = 1;            // LengthUnit 0..5
    int32_t AreaStyle = 1;          // area style 0..5
    bool Zvuk = true;               // sound at the end of the manual search
    std::string SoundPath;          // program folder + "sound.wav"
    std::string DefFont = "Arial";  // diagram and label font
    int32_t StatFontSize = 8;       // report and bill font size
    std::string ProjectPath;        // current file name at the last close
    bool PrintCover = false;
    bool PrintReport = false;
    bool PrintDuplicate = true;
    bool ManualDuplicate = true;
    uint16_t Testera = 4;     // saw kerf, Tenths
    bool Kantiranje = false;  // edge banding in use
    int32_t Visak = 60;       // first minimum offcut size, Tenths
    int32_t Visak2 = 60;      // second minimum offcut size, Tenths
    int32_t NADMERA = 40;     // banding allowance, Tenths
    float CENA1 = 0;          // sheet price per area unit
    float CENA2 = 0;          // price per metre of cut
    float CENA3 = 0;
    float CENA4 = 0;
    std::string CompanyName = "Velmar";
    std::string CompanyDetails = " - Creator of the Trimora";
    std::string DateFormat = "dd/mm/yyyy";
    int32_t LayoutSrafura = 30;  // offcut hatching spacing 5..50
    bool LoadSema = true;
    bool LoadReport = true;
    int32_t DefSheetWidth = 270;          // default sheet length, Tenths
    int32_t DefSheetHeight = 190;         // default sheet width, Tenths
    std::string rp1, rp2, rp3, rp4, rp5;  // recent projects, most recent first
    bool XlConvComma = true;
    int32_t XlAutoPref = 1;  // spreadsheet import mode 0..2
    bool XlAppend = true;
    bool frmpos = true;  // restore the main window placement
    int32_t frmtop = 10;
    int32_t frmleft = 10;
    int32_t frmwidth = 0;
    int32_t frmheight = 0;
    int32_t frmstate = 0;   // 0 normal, 1 minimised, 2 maximised
    int32_t manparam = 2;   // manual search speed/quality 0..2
    int32_t autoparam = 2;  // automatic algorithm speed/quality 0..2

    // ---- spreadsheet import dialog ----
    std::string wbtable = " ";
    std::string wstable;
    std::string tablecol1, tablecol2, tablecol3, tablecol4;
    std::string wbelem = " ";
    std::string wselem;
    std::string elemcol1, elemcol2, elemcol3, elemcol4;

    bool operator==(const Settings&) const = default;
};

// The defaults, with the paths that live in the program folder filled in.
Settings DefaultSettings(const std::filesystem::path& programFolder);

struct LoadedSettings {
    Settings settings;
    std::string language;         // name of the language file to load
    std::string currentFileName;  // the remembered project path, or the Projects folder
};

// Reads every main-window value in order, creating a missing one with its default first. A
// value of the wrong kind or outside its range is taken as its default (and is replaced in
// the store at the next save). systemLocaleName ("sr_RS.UTF-8", "en-US", ...) chooses the
// language at a first start that no installer prepared.
LoadedSettings LoadSettings(KeyValueStore& store, const std::filesystem::path& programFolder,
                            std::string_view systemLocaleName);

// The language a system locale stands for: "Srpski" for Serbian, Croatian and Bosnian,
// "English" for everything else.
std::string LanguageForLocale(std::string_view systemLocaleName);

struct WindowPlacement {
    int32_t top = 10;
    int32_t left = 10;
    int32_t width = 0;
    int32_t height = 0;
    int32_t state = 0;  // 0 normal, 1 minimised, 2 maximised
};

// Writes the main-window values in their fixed order. Jezik, ProjectPath and the frm* bounds
// and state come from the running program, not from the struct. Refused writes are ignored.
void SaveSettings(KeyValueStore& store, const Settings& settings, std::string_view languageName,
                  std::string_view currentFileName, const WindowPlacement& window);

// The twelve values of the spreadsheet import dialog, read and written on their own.
void LoadImportSettings(KeyValueStore& store, Settings& settings);
void SaveImportSettings(KeyValueStore& store, const Settings& settings);

}  // namespace trimora
