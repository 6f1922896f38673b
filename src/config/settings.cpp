#include "config/settings.h"

#include <cctype>
#include <cmath>
#include <limits>
#include <variant>
#include <vector>

namespace trimora {

namespace {

constexpr int32_t kIntMin = std::numeric_limits<int32_t>::min();
constexpr int32_t kIntMax = std::numeric_limits<int32_t>::max();

// One stored value: its name, where it lives in Settings and, for integers, the range a
// stored number must lie in to be taken (a damaged store must not hand out a unit 9 or a
// negative offcut size).
struct Field {
    const char* name;
    std::variant<std::string Settings::*, int32_t Settings::*, bool Settings::*, float Settings::*,
                 uint16_t Settings::*>
        member;
    int32_t min = kIntMin;
    int32_t max = kIntMax;
};

// Main-window values in the order they are read at start.
const std::vector<Field>& MainFields() {
    static const std::vector<Field> fields = {
        {"iLang", &Settings::iLang},
        {"Jezik", &Settings::Jezik},
        {"JedMere", &Settings::JedMere, 0, 5},
        {"AreaStyle", &Settings::AreaStyle, 0, 5},
        {"Zvuk", &Settings::Zvuk},
        {"SoundPath", &Settings::SoundPath},
        {"DefFont", &Settings::DefFont},
        {"StatFontSize", &Settings::StatFontSize, 1, 200},
        {"ProjectPath", &Settings::ProjectPath},
        {"PrintCover", &Settings::PrintCover},
        {"PrintReport", &Settings::PrintReport},
        {"PrintDuplicate", &Settings::PrintDuplicate},
        {"ManualDuplicate", &Settings::ManualDuplicate},
        {"Testera", &Settings::Testera, 0, 65535},
        {"Kantiranje", &Settings::Kantiranje},
        {"Visak", &Settings::Visak, 0},
        {"Visak2", &Settings::Visak2, 0},
        {"NADMERA", &Settings::NADMERA, 0},
        {"CENA1", &Settings::CENA1},
        {"CENA2", &Settings::CENA2},
        {"CENA3", &Settings::CENA3},
        {"CENA4", &Settings::CENA4},
        {"CompanyName", &Settings::CompanyName},
        {"CompanyDetails", &Settings::CompanyDetails},
        {"DateFormat", &Settings::DateFormat},
        {"LayoutSrafura", &Settings::LayoutSrafura, 5, 50},
        {"LoadSema", &Settings::LoadSema},
        {"LoadReport", &Settings::LoadReport},
        {"DefSheetWidth", &Settings::DefSheetWidth, 0},
        {"DefSheetHeight", &Settings::DefSheetHeight, 0},
        {"rp1", &Settings::rp1},
        {"rp2", &Settings::rp2},
        {"rp3", &Settings::rp3},
        {"rp4", &Settings::rp4},
        {"rp5", &Settings::rp5},
        {"XlConvComma", &Settings::XlConvComma},
        {"XlAutoPref", &Settings::XlAutoPref, 0, 2},
        {"XlAppend", &Settings::XlAppend},
        {"frmpos", &Settings::frmpos},
        {"frmtop", &Settings::frmtop},
        {"frmleft", &Settings::frmleft},
        {"frmwidth", &Settings::frmwidth, 0},
        {"frmheight", &Settings::frmheight, 0},
        {"frmstate", &Settings::frmstate, 0, 2},
        {"manparam", &Settings::manparam, 0, 2},
        {"autoparam", &Settings::autoparam, 0, 2},
    };
    return fields;
}

// The order SaveSettings writes in; iLang is only ever written at start.
constexpr const char* kSaveOrder[] = {
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

const std::vector<Field>& ImportFields() {
    static const std::vector<Field> fields = {
        {"wbtable", &Settings::wbtable},     {"wstable", &Settings::wstable},
        {"tablecol1", &Settings::tablecol1}, {"tablecol2", &Settings::tablecol2},
        {"tablecol3", &Settings::tablecol3}, {"tablecol4", &Settings::tablecol4},
        {"wbelem", &Settings::wbelem},       {"wselem", &Settings::wselem},
        {"elemcol1", &Settings::elemcol1},   {"elemcol2", &Settings::elemcol2},
        {"elemcol3", &Settings::elemcol3},   {"elemcol4", &Settings::elemcol4},
    };
    return fields;
}

const Field* FindField(std::string_view name) {
    for (const Field& field : MainFields())
        if (name == field.name) return &field;
    return nullptr;
}

void WriteField(KeyValueStore& store, const Field& field, const Settings& s) {
    std::visit(
        [&](auto member) {
            using T = std::remove_cvref_t<decltype(s.*member)>;
            if constexpr (std::is_same_v<T, std::string>) {
                store.WriteString(field.name, s.*member);
            } else if constexpr (std::is_same_v<T, bool>) {
                store.WriteBool(field.name, s.*member);
            } else if constexpr (std::is_same_v<T, float>) {
                store.WriteDouble(field.name, static_cast<double>(s.*member));
            } else {
                store.WriteInteger(field.name, static_cast<int32_t>(s.*member));
            }
        },
        field.member);
}

// Reads one value into s; a value that is missing, of another kind or out of range leaves the
// default that s already holds.
void ReadField(const KeyValueStore& store, const Field& field, Settings& s) {
    std::visit(
        [&](auto member) {
            using T = std::remove_cvref_t<decltype(s.*member)>;
            if constexpr (std::is_same_v<T, std::string>) {
                if (auto value = store.ReadString(field.name)) s.*member = std::move(*value);
            } else if constexpr (std::is_same_v<T, bool>) {
                if (auto value = store.ReadBool(field.name)) s.*member = *value;
            } else if constexpr (std::is_same_v<T, float>) {
                const auto value = store.ReadDouble(field.name);
                if (value && std::isfinite(*value) &&
                    std::fabs(*value) <= std::numeric_limits<float>::max())
                    s.*member = static_cast<float>(*value);
            } else {
                const auto value = store.ReadInteger(field.name);
                if (value && *value >= field.min && *value <= field.max)
                    s.*member = static_cast<T>(*value);
            }
        },
        field.member);
}

// Step of every start: create a missing value with its default, then read it.
void LoadFields(KeyValueStore& store, const std::vector<Field>& fields, Settings& s) {
    for (const Field& field : fields) {
        if (!store.ValueExists(field.name)) WriteField(store, field, s);
        ReadField(store, field, s);
    }
}

std::string ToLower(std::string_view text) {
    std::string out(text);
    for (char& c : out) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return out;
}

}  // namespace

Settings DefaultSettings(const std::filesystem::path& programFolder) {
    Settings s;
    s.SoundPath = (programFolder / "sound.wav").string();
    s.ProjectPath = (programFolder / "Projects").string();
    return s;
}

std::string LanguageForLocale(std::string_view systemLocaleName) {
    // The language code is what precedes a territory, script, encoding or modifier.
    const size_t end = systemLocaleName.find_first_of("_-.@");
    const std::string code = ToLower(systemLocaleName.substr(0, end));
    if (code == "sr" || code == "hr" || code == "bs" || code == "sh") return "Srpski";
    return "English";
}

LoadedSettings LoadSettings(KeyValueStore& store, const std::filesystem::path& programFolder,
                            std::string_view systemLocaleName) {
    LoadedSettings result;
    Settings& s = result.settings;
    s = DefaultSettings(programFolder);
    LoadFields(store, MainFields(), s);

    // The installer leaves its language choice in iLang; it is taken over once.
    if (s.iLang != "Finished") {
        result.language = s.iLang == "U.S. English" ? std::string("English") : s.iLang;
        s.iLang = "Finished";
        store.WriteString("iLang", s.iLang);
    } else {
        result.language = s.Jezik;
    }
    if (result.language == "0") result.language = "Srpski";
    // No installer ran (or the name was lost): an empty name names no language file, so take
    // the one the system's locale suggests.
    if (result.language.empty()) result.language = LanguageForLocale(systemLocaleName);

    result.currentFileName = s.ProjectPath;
    if (result.currentFileName.empty()) {
        result.currentFileName = (programFolder / "Projects").string();
        result.currentFileName += std::filesystem::path::preferred_separator;
    }
    return result;
}

void SaveSettings(KeyValueStore& store, const Settings& settings, std::string_view languageName,
                  std::string_view currentFileName, const WindowPlacement& window) {
    Settings s = settings;
    s.Jezik = std::string(languageName);
    s.ProjectPath = std::string(currentFileName);
    s.frmtop = window.top;
    s.frmleft = window.left;
    s.frmwidth = window.width;
    s.frmheight = window.height;
    s.frmstate = window.state;
    for (const char* name : kSaveOrder) {
        if (const Field* field = FindField(name)) WriteField(store, *field, s);
    }
}

void LoadImportSettings(KeyValueStore& store, Settings& settings) {
    Settings defaults;
    for (const Field& field : ImportFields()) {
        // Start each value from its default so a damaged one does not keep a stale text.
        std::visit([&](auto member) { settings.*member = defaults.*member; }, field.member);
    }
    LoadFields(store, ImportFields(), settings);
}

void SaveImportSettings(KeyValueStore& store, const Settings& settings) {
    for (const Field& field : ImportFields()) WriteField(store, field, settings);
}

}  // namespace trimora
