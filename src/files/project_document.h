// The project document: one XML document (root `trmx_root`) that is both the project file
// (.trp) and the XML exchange file (.xml). The writer fills a copy of the template and only
// replaces the target once the new file is complete; the reader works on a copy of the
// project and hands it over only when the whole document was valid.
#pragma once

#include <cstdint>
#include <filesystem>
#include <string>

#include "config/settings.h"
#include "core/length_units.h"
#include "core/project.h"

namespace trimora {

// The fixed short text in `trmx_root/type`; readers never depend on it.
inline constexpr char kProjectDocumentType[] = "TRMX";
inline constexpr char kProjectDocumentVersion[] = "1.3";

// What a document may ask for. The tables and results grow as needed, so these only keep a
// damaged or hostile file from asking for absurd amounts; a document asking for more is
// refused as a whole. Anything the program can compute must load back.
inline constexpr int32_t kMaxDocumentTableRows = 100000;  // per table, after an added read too
inline constexpr int32_t kMaxDocumentPlacedParts = 1000000;
inline constexpr int32_t kMaxDocumentOffcuts = 1000000;
inline constexpr int32_t kMaxDocumentSheetInstances = 1000000;
// A project document of full capacity stays far below this; larger files are not opened.
inline constexpr std::uintmax_t kMaxProjectDocumentBytes = 64u << 20;

// The eight values of the statistics panel, exactly as displayed.
struct StatisticsTexts {
    std::string parts;
    std::string usedParts;
    std::string usedSheets;
    std::string partArea;
    std::string averageYield;
    std::string lastSheetYield;
    std::string cutLength;
    std::string bandingLength;
    friend bool operator==(const StatisticsTexts&, const StatisticsTexts&) = default;
};

// Texts that belong to the current result and are kept outside Project: the statistics
// panel, the report and the bill. A load replaces or clears them.
struct ProjectTexts {
    StatisticsTexts statistics;
    std::string report;
    std::string bill;
};

// The settings the document needs, handed in as plain values.
struct ProjectDocumentSettings {
    LengthUnit unit = 0;  // JedMere: the unit of the table texts
    AreaStyle areaStyle = 0;
    int32_t kerf = 0;         // Testera, for the prepared part sizes rebuilt after a read
    std::string companyName;  // CompanyName
    float price1 = 0.0f;      // CENA1
    float price2 = 0.0f;      // CENA2
    float price3 = 0.0f;      // CENA3
    bool loadSema = true;     // LoadSema: when true no load reopens the results view
    // Written into `date_time`; when empty the local clock is used.
    std::string dateTime;
};

// The document values of the program settings.
ProjectDocumentSettings DocumentSettingsOf(const Settings& settings);

// ---- writing ---------------------------------------------------------------------------

std::filesystem::path ProjectTemplatePath(const std::filesystem::path& programFolder);

// The folder the save and open dialogs start in: Projects in the program folder for an
// unnamed project, else the folder of the current file.
std::filesystem::path ProjectDialogFolder(const Project& project,
                                          const std::filesystem::path& programFolder);

// Whether the save dialog must be shown: save as, export, or a project without a name.
bool SaveNeedsDialog(const Project& project, bool saveAs, bool asXml);

// The name a save writes: the extension becomes .xml (export) or .trp, so a project read
// from plan.bdx is saved as plan.trp beside it.
std::string SaveTargetName(const std::string& fileName, bool asXml);

// Writes the document from the template to `target`, through a temporary file in the same
// folder that replaces the target only when complete. Returns 0 or language text 29.
int WriteProjectDocument(const std::filesystem::path& target, const std::filesystem::path& templ,
                         const Project& project, const ProjectDocumentSettings& settings,
                         const ProjectTexts& texts);

struct SaveOptions {
    bool saveAs = false;  // SacuvajKao1Click
    bool asXml = false;   // toXMLClick: an export
    // The path chosen in the save dialog; empty when no dialog was shown or it was
    // cancelled. The caller asks before overwriting SaveTargetName(chosenPath, asXml).
    std::string chosenPath;
    std::filesystem::path templatePath;
};

struct SaveOutcome {
    int messageText = 0;     // 0 when written or cancelled, else language text 29
    bool cancelled = false;  // the dialog was needed and no path was chosen
    std::string writtenPath;
    // The current file name changed: the caption shows it. Never for an export.
    bool fileNameChanged = false;
    // Save and save as of a written file go to the recent list; an export never does.
    bool addToRecent = false;
};

// Save, save as and XML export. The current file name changes only when a save (not an
// export) was written.
SaveOutcome SaveProject(Project& project, const ProjectDocumentSettings& settings,
                        const ProjectTexts& texts, const SaveOptions& options);

// ---- reading ---------------------------------------------------------------------------

struct DocumentReadResult {
    LengthUnit unit = -1;  // the document's unit, -1 when the read failed
    // The layouts referred to sheets or part rows that do not exist (or the read added rows
    // to the current tables): no result was stored.
    bool layoutsDropped = false;
};

// Reads a project document into `project` and `texts`. On failure nothing is changed.
// With add the rows are appended to the current tables.
DocumentReadResult ReadProjectDocument(const std::filesystem::path& path, bool add,
                                       Project& project, ProjectTexts& texts,
                                       const ProjectDocumentSettings& settings);

// Where a load takes its file from; decides the recent list and the results view.
enum class LoadSource {
    OpenDialog,   // Ucitaj1Click (add false) or Dodaj1Click (add true)
    CommandLine,  // the first program argument at start-up
    RecentEntry,  // one of the recent-projects commands
    XmlDialog,    // fromXMLClick: an XML import
};

enum class ProjectFileFormat {
    ProjectDocument,  // .trp holding the XML document, or .xml
    TextProject,      // the older line-based .trp ("TRIMORA 1.5")
    Bodrix,           // .bdx
    Unknown,          // any other extension
};

// Chooses the reader by the extension (any letter case) and, for .trp, the first byte.
ProjectFileFormat DetectProjectFileFormat(const std::filesystem::path& path);

enum class LoadStatus {
    Loaded,
    Cancelled,           // blank name: nothing changed
    OpenFailed,          // the file cannot be opened: language text 31
    ReadFailed,          // the document is damaged: language text 288
    LegacyNotSupported,  // an older format whose reader is not part of the program yet
    UnknownType,         // an extension no reader takes
};

struct LoadOptions {
    std::string path;
    bool add = false;
    LoadSource source = LoadSource::OpenDialog;
};

struct LoadOutcome {
    LoadStatus status = LoadStatus::Cancelled;
    int messageText = 0;  // language text of the error box, 0 for none
    LengthUnit fileUnit = -1;
    bool layoutsDropped = false;
    // The current file name changed: the caption shows it.
    bool fileNameChanged = false;
    // Reopen the results view (diagram page, FinishRun): a .trp load with layouts.
    bool showResults = false;
    // Only a project really loaded with the load command goes to the recent list.
    bool addToRecent = false;
};

// Loads a project file. Nothing in `project` or `texts` changes unless the load succeeds.
// An XML file is never appended, whatever `add` says. After the read the lengths of the rows
// read are re-expressed in the current unit and the quantity totals recomputed.
LoadOutcome LoadProject(Project& project, ProjectTexts& texts,
                        const ProjectDocumentSettings& settings, const LoadOptions& options);

}  // namespace trimora
