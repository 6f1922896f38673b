#include "files/project_document.h"

#include "core/tables.h"

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <charconv>
#include <cstdio>
#include <ctime>
#include <fstream>
#include <limits>
#include <random>
#include <sstream>
#include <string_view>
#include <system_error>
#include <utility>
#include <vector>

#include <pugixml.hpp>

#include "core/number_format.h"

namespace trimora {

namespace fs = std::filesystem;

namespace {

constexpr int kTextCannotSave = 29;
constexpr int kTextCannotOpen = 31;
constexpr int kTextCannotRead = 288;

constexpr const char* kEdgeNames[4] = {"bl1", "bl2", "bw1", "bw2"};

std::string Lower(std::string text) {
    for (char& c : text) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return text;
}

std::string LowerExtension(const fs::path& path) {
    return Lower(path.extension().string());
}

bool IsBlank(std::string_view text) {
    return std::all_of(text.begin(), text.end(),
                       [](char c) { return std::isspace(static_cast<unsigned char>(c)); });
}

// A decimal integer, optionally surrounded by blanks; anything else (empty, fractions,
// letters, out of the 32-bit range) is refused.
bool ParseInt32(std::string_view text, int32_t& value) {
    while (!text.empty() && std::isspace(static_cast<unsigned char>(text.front())))
        text.remove_prefix(1);
    while (!text.empty() && std::isspace(static_cast<unsigned char>(text.back())))
        text.remove_suffix(1);
    if (!text.empty() && text.front() == '+') text.remove_prefix(1);
    if (text.empty()) return false;
    const char* end = text.data() + text.size();
    auto [ptr, ec] = std::from_chars(text.data(), end, value);
    return ec == std::errc() && ptr == end;
}

int32_t CellInt(const std::string& text) {
    int32_t value = 0;
    return ParseInt32(text, value) ? value : 0;
}

// ---- writing ---------------------------------------------------------------------------

// Finds a child element by name, creating it at the end of the parent when missing.
pugi::xml_node Child(pugi::xml_node parent, const char* name) {
    pugi::xml_node node = parent.child(name);
    return node ? node : parent.append_child(name);
}

void SetText(pugi::xml_node parent, const char* name, const std::string& value) {
    Child(parent, name).text().set(value.c_str());
}

void SetInt(pugi::xml_node parent, const char* name, int32_t value) {
    SetText(parent, name, std::to_string(value));
}

// A list container with its count, emptied of items a template might carry so the
// items always match the count.
pugi::xml_node ListContainer(pugi::xml_node parent, const char* name, const char* item,
                             size_t count) {
    pugi::xml_node list = Child(parent, name);
    while (pugi::xml_node old = list.child(item)) list.remove_child(old);
    pugi::xml_attribute attr = list.attribute("count");
    if (!attr) attr = list.append_attribute("count");
    attr.set_value(std::to_string(count).c_str());
    return list;
}

// Prices are single-precision settings; the widening keeps their value exactly.
std::string FormatPrice(float price) {
    return FormatGeneral(static_cast<double>(price), 8);
}

std::string CurrentDateTime() {
    std::time_t now = std::time(nullptr);
    std::tm local{};
#ifdef _WIN32
    localtime_s(&local, &now);
#else
    localtime_r(&now, &local);
#endif
    char buffer[64];
    size_t n = std::strftime(buffer, sizeof buffer, "%Y-%m-%d %H:%M:%S", &local);
    return std::string(buffer, n);
}

std::string JoinAddress(const ProjectDetails& d) {
    return d.address1 + "\n" + d.address2 + "\n" + d.address3;
}

void FillDocument(pugi::xml_node root, const Project& project,
                  const ProjectDocumentSettings& settings, const ProjectTexts& texts) {
    const ProjectDetails& d = project.details;
    SetText(root, "version", kProjectDocumentVersion);
    SetText(root, "type", kProjectDocumentType);
    SetText(root, "author", d.author);
    SetText(root, "company", settings.companyName);
    SetText(root, "date_time", settings.dateTime.empty() ? CurrentDateTime() : settings.dateTime);

    pugi::xml_node job = Child(root, "job");
    SetInt(job, "measure", settings.unit);
    SetText(job, "cover_title", d.coverTitle);
    SetText(job, "client_name", d.clientName);
    SetText(job, "client_surname", d.clientSurname);
    SetText(job, "client_address", JoinAddress(d));
    SetText(job, "client_phone", d.clientPhone);
    SetText(job, "client_note", d.clientNote);
    SetText(job, "price1", FormatPrice(settings.price1));
    SetText(job, "price2", FormatPrice(settings.price2));
    SetText(job, "price3", FormatPrice(settings.price3));

    pugi::xml_node data = Child(job, "data");
    pugi::xml_node stats = Child(data, "stats");
    const StatisticsTexts& s = texts.statistics;
    SetText(stats, "parts", s.parts);
    SetText(stats, "used_parts", s.usedParts);
    SetText(stats, "used_sheets", s.usedSheets);
    SetText(stats, "part_area", s.partArea);
    SetText(stats, "average_yield", s.averageYield);
    SetText(stats, "last_sheet_yield", s.lastSheetYield);
    SetText(stats, "cut_length", s.cutLength);
    SetText(stats, "banding_length", s.bandingLength);

    const int32_t sheetRows = std::max<int32_t>(project.SheetRowCount, 0);
    pugi::xml_node sheets = ListContainer(data, "tab_sheets", "sheet", sheetRows);
    for (int32_t r = 1; r <= sheetRows; ++r) {
        pugi::xml_node sheet = sheets.append_child("sheet");
        SetText(sheet, "len", project.sheets.Cell(1, r));
        SetText(sheet, "wid", project.sheets.Cell(2, r));
        SetText(sheet, "qty", project.sheets.Cell(3, r));
        SetText(sheet, "descr", project.sheets.Cell(4, r));
    }

    const int32_t partRows = std::max<int32_t>(project.PartRowCount, 0);
    pugi::xml_node parts = ListContainer(data, "tab_parts", "part", partRows);
    for (int32_t r = 1; r <= partRows; ++r) {
        pugi::xml_node part = parts.append_child("part");
        SetText(part, "len", project.parts.Cell(1, r));
        SetText(part, "wid", project.parts.Cell(2, r));
        SetText(part, "qty", project.parts.Cell(3, r));
        SetText(part, "ini", project.parts.Cell(4, r));
        SetText(part, "rot", project.parts.Cell(5, r));
        for (int k = 0; k < 4; ++k) {
            pugi::xml_node edge = part.append_child(kEdgeNames[k]);
            edge.append_attribute("val").set_value(project.parts.Cell(6 + k, r).c_str());
            edge.append_attribute("th").set_value(project.parts.Cell(10 + k, r).c_str());
            edge.append_attribute("sg").set_value(project.parts.Cell(14 + k, r).c_str());
        }
    }

    pugi::xml_node diagrams = Child(data, "diagrams");
    const auto& placed = project.result.PlacedParts;
    pugi::xml_node elements = ListContainer(diagrams, "elements", "e", placed.size());
    for (const PlacedPart& p : placed) {
        pugi::xml_node e = elements.append_child("e");
        SetInt(e, "tnb", p.sheet);
        SetInt(e, "x", p.x1);
        SetInt(e, "y", p.y1);
        SetInt(e, "x1", p.x2);
        SetInt(e, "y1", p.y2);
        SetInt(e, "rot", p.rotated);
        SetInt(e, "enb", p.row);
    }
    const auto& offcuts = project.result.Offcuts;
    pugi::xml_node list = ListContainer(diagrams, "offcuts", "o", offcuts.size());
    for (const Offcut& o : offcuts) {
        pugi::xml_node item = list.append_child("o");
        SetInt(item, "tnb", o.sheet);
        SetInt(item, "x", o.x1);
        SetInt(item, "y", o.y1);
        SetInt(item, "x1", o.x2);
        SetInt(item, "y1", o.y2);
    }
}

// Creates a file that did not exist, beside the target, so the rename stays on one file
// system.
std::FILE* CreateTemporaryBeside(const fs::path& target, fs::path& temporary) {
    std::random_device random;
    for (int attempt = 0; attempt < 16; ++attempt) {
        char suffix[32];
        std::snprintf(suffix, sizeof suffix, ".%08x.tmp", static_cast<unsigned>(random()));
        temporary = target.parent_path() / ("." + target.filename().string() + suffix);
        if (std::FILE* file = std::fopen(temporary.c_str(), "wbx")) return file;
        if (errno != EEXIST) return nullptr;
    }
    return nullptr;
}

bool WriteAll(std::FILE* file, const std::string& bytes) {
    bool ok = std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
    ok = std::fflush(file) == 0 && ok;
    return std::fclose(file) == 0 && ok;
}

// ---- reading ---------------------------------------------------------------------------

std::string Text(pugi::xml_node parent, const char* name) {
    return parent.child(name).text().get();
}

std::string Attribute(pugi::xml_node node, const char* name) {
    return node.attribute(name).value();
}

std::string TrimRight(std::string text) {
    while (!text.empty() && static_cast<unsigned char>(text.back()) <= ' ') text.pop_back();
    return text;
}

void SplitAddress(const std::string& address, ProjectDetails& d) {
    std::vector<std::string> lines;
    size_t start = 0;
    while (lines.size() < 3 && start <= address.size()) {
        size_t end = address.find('\n', start);
        if (end == std::string::npos) end = address.size();
        std::string line = address.substr(start, end - start);
        if (!line.empty() && line.back() == '\r') line.pop_back();
        lines.push_back(std::move(line));
        start = end + 1;
    }
    lines.resize(3);
    d.address1 = TrimRight(lines[0]);
    d.address2 = TrimRight(lines[1]);
    d.address3 = lines[2];
}

// The items of a list container, which must be exactly as many as its count says.
bool ListItems(pugi::xml_node list, const char* item, int32_t limit,
               std::vector<pugi::xml_node>& items) {
    int32_t count = 0;
    if (!ParseInt32(list.attribute("count").value(), count)) return false;
    if (count < 0 || count > limit) return false;
    items.clear();
    for (pugi::xml_node node = list.child(item); node; node = node.next_sibling(item)) {
        if (static_cast<int32_t>(items.size()) == count) return false;
        items.push_back(node);
    }
    return static_cast<int32_t>(items.size()) == count;
}

bool IntChild(pugi::xml_node item, const char* name, int32_t& value) {
    pugi::xml_node node = item.child(name);
    return node && ParseInt32(node.text().get(), value);
}

// The texts of the rows before `firstNewRow` are in the current unit, those read from the
// document in its own unit.
Tenths CellLength(const TextGrid& grid, int column, int32_t row, int32_t firstNewRow,
                  LengthUnit documentUnit, LengthUnit currentUnit) {
    return ParseLength(row < firstNewRow ? currentUnit : documentUnit, grid.Cell(column, row));
}

void RebuildSheetInstances(Project& p, int32_t firstNewRow, LengthUnit documentUnit,
                           LengthUnit currentUnit) {
    auto& instances = p.input.SheetInstances;
    instances.clear();
    for (int32_t r = 1; r <= p.SheetRowCount; ++r) {
        const int32_t quantity = CellInt(p.sheets.Cell(3, r));
        const Tenths length = CellLength(p.sheets, 1, r, firstNewRow, documentUnit, currentUnit);
        const Tenths width = CellLength(p.sheets, 2, r, firstNewRow, documentUnit, currentUnit);
        for (int32_t k = 0; k < quantity; ++k) {
            // Instances are derived data; the next run rebuilds them from the table, so a
            // table asking for more than the capacity only loses the layouts on them.
            if (static_cast<int32_t>(instances.size()) >= kMaxDocumentSheetInstances) return;
            const int32_t number = static_cast<int32_t>(instances.size()) + 1;
            instances.push_back(SheetInstance{length, width, quantity, number, r});
        }
    }
}

void RebuildPartInputs(Project& p, int32_t firstNewRow, LengthUnit documentUnit,
                       LengthUnit currentUnit, int32_t kerf) {
    auto thickness = [&](int column, int32_t row) {
        Tenths t = CellLength(p.parts, column, row, firstNewRow, documentUnit, currentUnit);
        return t > 0 ? t : 0;
    };
    auto& inputs = p.input.PartInputs;
    inputs.clear();
    int64_t total = 0;
    for (int32_t r = 1; r <= p.PartRowCount; ++r) {
        Tenths length =
            std::max<Tenths>(CellLength(p.parts, 1, r, firstNewRow, documentUnit, currentUnit), 0);
        Tenths width =
            std::max<Tenths>(CellLength(p.parts, 2, r, firstNewRow, documentUnit, currentUnit), 0);
        PartInput in;
        in.length = static_cast<int32_t>(std::clamp<int64_t>(
            int64_t{length} + kerf - thickness(12, r) - thickness(13, r),
            std::numeric_limits<int32_t>::min(), std::numeric_limits<int32_t>::max()));
        in.width = static_cast<int32_t>(std::clamp<int64_t>(
            int64_t{width} + kerf - thickness(10, r) - thickness(11, r),
            std::numeric_limits<int32_t>::min(), std::numeric_limits<int32_t>::max()));
        in.quantity = CellInt(p.parts.Cell(3, r));
        in.row = r;
        in.grain = CellInt(p.parts.Cell(5, r));
        total += std::max(in.quantity, 0);
        inputs.push_back(in);
    }
    p.input.TotalPieces =
        static_cast<int32_t>(std::min<int64_t>(total, std::numeric_limits<int32_t>::max()));
    // The remaining quantities are those the stored result leaves.
    p.input.PartWorks = inputs;
    for (const PlacedPart& placed : p.result.PlacedParts) {
        PartWork& work = p.input.PartWorks[placed.row - 1];
        if (work.quantity > 0) --work.quantity;
    }
}

bool LayoutsFitTables(const Project& p) {
    const int32_t sheets = static_cast<int32_t>(p.input.SheetInstances.size());
    for (const PlacedPart& e : p.result.PlacedParts)
        if (e.sheet < 1 || e.sheet > sheets || e.row < 1 || e.row > p.PartRowCount) return false;
    for (const Offcut& o : p.result.Offcuts)
        if (o.sheet < 1 || o.sheet > sheets) return false;
    return true;
}

// The read itself, on the caller's working copy. Returns the document's unit or -1.
LengthUnit ReadInto(const fs::path& path, bool add, Project& p, ProjectTexts& texts,
                    const ProjectDocumentSettings& settings, bool& layoutsDropped) {
    std::error_code ec;
    const std::uintmax_t size = fs::file_size(path, ec);
    if (ec || size > kMaxProjectDocumentBytes) return -1;

    pugi::xml_document doc;
    // Whitespace-only texts are kept: a blank initials cell is a real value.
    if (!doc.load_file(path.c_str(), pugi::parse_default | pugi::parse_ws_pcdata)) return -1;
    pugi::xml_node root = doc.child("trmx_root");
    if (!root) return -1;
    pugi::xml_node job = root.child("job");
    pugi::xml_node data = job.child("data");
    pugi::xml_node stats = data.child("stats");
    pugi::xml_node diagrams = data.child("diagrams");

    // Everything is checked before anything is stored.
    int32_t unit = -1;
    if (!ParseInt32(Text(job, "measure"), unit) || unit < 0 || unit > 5) return -1;

    const int32_t firstSheet = add ? p.SheetRowCount + 1 : 1;
    const int32_t firstPart = add ? p.PartRowCount + 1 : 1;
    std::vector<pugi::xml_node> sheets, parts, elements, offcuts;
    if (!ListItems(data.child("tab_sheets"), "sheet", kMaxDocumentTableRows - (firstSheet - 1),
                   sheets))
        return -1;
    if (!ListItems(data.child("tab_parts"), "part", kMaxDocumentTableRows - (firstPart - 1), parts))
        return -1;
    if (!ListItems(diagrams.child("elements"), "e", kMaxDocumentPlacedParts, elements)) return -1;
    if (!ListItems(diagrams.child("offcuts"), "o", kMaxDocumentOffcuts, offcuts)) return -1;

    std::vector<PlacedPart> placed(elements.size());
    for (size_t i = 0; i < elements.size(); ++i) {
        PlacedPart& e = placed[i];
        if (!IntChild(elements[i], "tnb", e.sheet) || !IntChild(elements[i], "x", e.x1) ||
            !IntChild(elements[i], "y", e.y1) || !IntChild(elements[i], "x1", e.x2) ||
            !IntChild(elements[i], "y1", e.y2) || !IntChild(elements[i], "rot", e.rotated) ||
            !IntChild(elements[i], "enb", e.row))
            return -1;
    }
    std::vector<Offcut> cuts(offcuts.size());
    for (size_t i = 0; i < offcuts.size(); ++i) {
        Offcut& o = cuts[i];
        if (!IntChild(offcuts[i], "tnb", o.sheet) || !IntChild(offcuts[i], "x", o.x1) ||
            !IntChild(offcuts[i], "y", o.y1) || !IntChild(offcuts[i], "x1", o.x2) ||
            !IntChild(offcuts[i], "y1", o.y2))
            return -1;
    }

    ProjectDetails& d = p.details;
    d.author = Text(root, "author");
    d.coverTitle = Text(job, "cover_title");
    d.clientName = Text(job, "client_name");
    d.clientSurname = Text(job, "client_surname");
    SplitAddress(Text(job, "client_address"), d);
    d.clientPhone = Text(job, "client_phone");
    d.clientNote = Text(job, "client_note");

    texts.report.clear();
    StatisticsTexts& s = texts.statistics;
    s.parts = Text(stats, "parts");
    s.usedParts = Text(stats, "used_parts");
    s.usedSheets = Text(stats, "used_sheets");
    s.partArea = Text(stats, "part_area");
    s.averageYield = Text(stats, "average_yield");
    s.lastSheetYield = Text(stats, "last_sheet_yield");
    s.cutLength = Text(stats, "cut_length");
    s.bandingLength = Text(stats, "banding_length");

    if (!add) {
        p.sheets.ClearBody();
        p.parts.ClearBody();
    }
    p.SheetRowCount = firstSheet - 1 + static_cast<int32_t>(sheets.size());
    for (size_t i = 0; i < sheets.size(); ++i) {
        const int32_t r = firstSheet + static_cast<int32_t>(i);
        p.sheets.SetCell(1, r, Text(sheets[i], "len"));
        p.sheets.SetCell(2, r, Text(sheets[i], "wid"));
        p.sheets.SetCell(3, r, Text(sheets[i], "qty"));
        p.sheets.SetCell(4, r, Text(sheets[i], "descr"));
    }
    p.PartRowCount = firstPart - 1 + static_cast<int32_t>(parts.size());
    for (size_t i = 0; i < parts.size(); ++i) {
        const int32_t r = firstPart + static_cast<int32_t>(i);
        p.parts.SetCell(1, r, Text(parts[i], "len"));
        p.parts.SetCell(2, r, Text(parts[i], "wid"));
        p.parts.SetCell(3, r, Text(parts[i], "qty"));
        p.parts.SetCell(4, r, Text(parts[i], "ini"));
        p.parts.SetCell(5, r, Text(parts[i], "rot"));
        for (int k = 0; k < 4; ++k) {
            pugi::xml_node edge = parts[i].child(kEdgeNames[k]);
            p.parts.SetCell(6 + k, r, Attribute(edge, "val"));
            p.parts.SetCell(10 + k, r, Attribute(edge, "th"));
            p.parts.SetCell(14 + k, r, Attribute(edge, "sg"));
        }
    }

    p.result.PlacedParts = std::move(placed);
    p.result.Offcuts = std::move(cuts);
    RebuildSheetInstances(p, firstSheet, unit, settings.unit);
    // The stored layouts refer to the document's own rows; after rows were appended to a
    // project they no longer describe the tables, and neither does any earlier result.
    if (add || !LayoutsFitTables(p)) {
        layoutsDropped = add ? !p.result.PlacedParts.empty() || !p.result.Offcuts.empty() : true;
        p.result = RunResult{};
        texts.statistics = StatisticsTexts{};
        texts.report.clear();
        texts.bill.clear();
    }
    RebuildPartInputs(p, firstPart, unit, settings.unit, settings.kerf);
    return unit;
}

void ReexpressColumn(TextGrid& grid, int column, int32_t firstRow, int32_t lastRow, LengthUnit from,
                     LengthUnit to) {
    for (int32_t r = firstRow; r <= lastRow; ++r) {
        const std::string& cell = grid.Cell(column, r);
        const Tenths value = ParseLength(from, cell);
        // A cell that does not read as a length is left as it stands rather than turned
        // into a number it never was.
        if (value < 0 || IsBlank(cell)) continue;
        grid.SetCell(column, r, FormatLength(value, to));
    }
}

}  // namespace

// ---- public --------------------------------------------------------------------------------

ProjectDocumentSettings DocumentSettingsOf(const Settings& settings) {
    ProjectDocumentSettings s;
    s.unit = settings.JedMere;
    s.areaStyle = settings.AreaStyle;
    s.kerf = settings.Testera;
    s.companyName = settings.CompanyName;
    s.price1 = settings.CENA1;
    s.price2 = settings.CENA2;
    s.price3 = settings.CENA3;
    s.loadSema = settings.LoadSema;
    return s;
}

fs::path ProjectTemplatePath(const fs::path& programFolder) {
    return programFolder / "Config" / "template.trp";
}

fs::path ProjectDialogFolder(const Project& project, const fs::path& programFolder) {
    if (IsBlank(project.fileName)) return programFolder / "Projects";
    return fs::path(project.fileName).parent_path();
}

bool SaveNeedsDialog(const Project& project, bool saveAs, bool asXml) {
    return saveAs || asXml || IsBlank(project.fileName);
}

std::string SaveTargetName(const std::string& fileName, bool asXml) {
    if (IsBlank(fileName)) return {};
    fs::path path(fileName);
    path.replace_extension(asXml ? ".xml" : ".trp");
    return path.string();
}

int WriteProjectDocument(const fs::path& target, const fs::path& templ, const Project& project,
                         const ProjectDocumentSettings& settings, const ProjectTexts& texts) {
    if (IsBlank(target.string())) return kTextCannotSave;

    pugi::xml_document doc;
    std::error_code ec;
    const std::uintmax_t size = fs::file_size(templ, ec);
    if (ec || size > kMaxProjectDocumentBytes) return kTextCannotSave;
    if (!doc.load_file(templ.c_str(), pugi::parse_default | pugi::parse_declaration))
        return kTextCannotSave;
    pugi::xml_node root = doc.child("trmx_root");
    if (!root) return kTextCannotSave;
    // The document is always written as UTF-8, so its declaration must say so.
    if (pugi::xml_node decl = doc.first_child(); decl.type() == pugi::node_declaration) {
        if (pugi::xml_attribute enc = decl.attribute("encoding")) enc.set_value("UTF-8");
    }

    FillDocument(root, project, settings, texts);

    std::ostringstream out;
    doc.save(out, "  ", pugi::format_default, pugi::encoding_utf8);
    fs::path temporary;
    std::FILE* file = CreateTemporaryBeside(target, temporary);
    if (!file) return kTextCannotSave;
    if (!WriteAll(file, out.str())) {
        fs::remove(temporary, ec);
        return kTextCannotSave;
    }
    fs::rename(temporary, target, ec);
    if (ec) {
        fs::remove(temporary, ec);
        return kTextCannotSave;
    }
    return 0;
}

SaveOutcome SaveProject(Project& project, const ProjectDocumentSettings& settings,
                        const ProjectTexts& texts, const SaveOptions& options) {
    SaveOutcome outcome;
    if (project.SheetRowCount <= 0 && project.PartRowCount <= 0) {
        outcome.messageText = kTextCannotSave;
        return outcome;
    }
    const bool dialog = SaveNeedsDialog(project, options.saveAs, options.asXml);
    if (dialog && IsBlank(options.chosenPath)) {
        outcome.cancelled = true;
        return outcome;
    }
    const std::string& name = dialog ? options.chosenPath : project.fileName;
    const std::string target = SaveTargetName(name, options.asXml);
    if (IsBlank(target)) {
        outcome.messageText = kTextCannotSave;
        return outcome;
    }
    outcome.messageText =
        WriteProjectDocument(target, options.templatePath, project, settings, texts);
    if (outcome.messageText != 0) return outcome;
    outcome.writtenPath = target;
    // An export never renames the project; a save names it after the file written.
    if (!options.asXml) {
        outcome.fileNameChanged = project.fileName != target;
        project.fileName = target;
        outcome.addToRecent = true;
    }
    return outcome;
}

DocumentReadResult ReadProjectDocument(const fs::path& path, bool add, Project& project,
                                       ProjectTexts& texts,
                                       const ProjectDocumentSettings& settings) {
    Project work = project;
    ProjectTexts workTexts = texts;
    DocumentReadResult result;
    result.unit = ReadInto(path, add, work, workTexts, settings, result.layoutsDropped);
    if (result.unit < 0) return DocumentReadResult{};
    project = std::move(work);
    texts = std::move(workTexts);
    return result;
}

ProjectFileFormat DetectProjectFileFormat(const fs::path& path) {
    const std::string ext = LowerExtension(path);
    if (ext == ".bdx") return ProjectFileFormat::Bodrix;
    if (ext == ".xml") return ProjectFileFormat::ProjectDocument;
    if (ext != ".trp") return ProjectFileFormat::Unknown;
    // The older line-based project files start with their header word "TRIMORA 1.5".
    std::ifstream in(path, std::ios::binary);
    char first = 0;
    if (in.get(first) && first == 'T') return ProjectFileFormat::TextProject;
    return ProjectFileFormat::ProjectDocument;
}

LoadOutcome LoadProject(Project& project, ProjectTexts& texts,
                        const ProjectDocumentSettings& settings, const LoadOptions& options) {
    LoadOutcome outcome;
    if (IsBlank(options.path)) return outcome;
    const fs::path path(options.path);

    std::error_code ec;
    std::ifstream probe(path, std::ios::binary);
    if (!probe || !fs::is_regular_file(path, ec)) {
        outcome.status = LoadStatus::OpenFailed;
        outcome.messageText = kTextCannotOpen;
        return outcome;
    }
    probe.close();

    switch (DetectProjectFileFormat(path)) {
        case ProjectFileFormat::ProjectDocument:
            break;
        case ProjectFileFormat::TextProject:
        case ProjectFileFormat::Bodrix:
            outcome.status = LoadStatus::LegacyNotSupported;
            outcome.messageText = kTextCannotRead;
            return outcome;
        case ProjectFileFormat::Unknown:
            outcome.status = LoadStatus::UnknownType;
            outcome.messageText = kTextCannotRead;
            return outcome;
    }

    const bool isXml = LowerExtension(path) == ".xml";
    // An XML file always replaces the project.
    const bool add = options.add && !isXml;

    Project work = project;
    ProjectTexts workTexts = texts;
    if (!add) {
        work.sheets.ClearBody();
        work.parts.ClearBody();
        work.SheetRowCount = work.PartRowCount = 0;
        work.SheetQuantityTotal = work.PartQuantityTotal = 0;
        workTexts.report.clear();
        workTexts.bill.clear();
    }
    const int32_t sheetsBefore = work.SheetRowCount;
    const int32_t partsBefore = work.PartRowCount;

    bool dropped = false;
    const LengthUnit unit = ReadInto(path, add, work, workTexts, settings, dropped);
    if (unit < 0) {
        outcome.status = LoadStatus::ReadFailed;
        outcome.messageText = kTextCannotRead;
        return outcome;
    }

    if (unit != settings.unit) {
        for (int column : {1, 2})
            ReexpressColumn(work.sheets, column, sheetsBefore + 1, work.SheetRowCount, unit,
                            settings.unit);
        for (int column : {1, 2, 10, 11, 12, 13})
            ReexpressColumn(work.parts, column, partsBefore + 1, work.PartRowCount, unit,
                            settings.unit);
    }
    work.SheetQuantityTotal = QuantityTotal(work.sheets, work.SheetRowCount);
    work.PartQuantityTotal = QuantityTotal(work.parts, work.PartRowCount);

    // Appending rows keeps the project's own name: a later save must not overwrite the
    // file the rows came from.
    if (!add) {
        outcome.fileNameChanged = work.fileName != options.path;
        work.fileName = options.path;
    }

    outcome.status = LoadStatus::Loaded;
    outcome.fileUnit = unit;
    outcome.layoutsDropped = dropped;
    outcome.showResults = !add && LowerExtension(path) == ".trp" && work.SheetRowCount > 0 &&
                          work.PartRowCount > 0 && !work.result.PlacedParts.empty() &&
                          !settings.loadSema;
    outcome.addToRecent = options.source == LoadSource::OpenDialog && !options.add;

    project = std::move(work);
    texts = std::move(workTexts);
    return outcome;
}

}  // namespace trimora
