// The language text table, the language file loader and, per window, which element takes
// which numbered text. Every caption, hint, title and message of the program is a numbered
// text from the current language file.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace trimora {

inline constexpr int kLanguageTextCount = 400;

// The one message the program carries itself: a language file that cannot be parsed cannot
// supply its own error text.
inline constexpr std::string_view kLanguageFileErrorText = "Language file has error";

// Files larger than this are refused as damaged; a complete language file is a few kilobytes.
inline constexpr std::uintmax_t kMaxLanguageFileBytes = 4u * 1024u * 1024u;

// Numbered texts 0..399, UTF-8. All empty until a file names them.
class LanguageTable {
public:
    // The text with number n; empty for a number no file has named or outside 0..399.
    const std::string& LanguageText(int n) const;
    // Ignored for numbers outside 0..399.
    void SetText(int n, std::string text);

private:
    std::array<std::string, kLanguageTextCount> texts_;
};

enum class LanguageLoadStatus {
    Ok,
    MissingFile,  // no such file, or it cannot be opened
    SyntaxError,  // a number part that is not a decimal integer, or an oversized file
};

struct LanguageLoadResult {
    LanguageLoadStatus status = LanguageLoadStatus::Ok;
    int errorLine = 0;  // 1-based line of a syntax error, 0 otherwise
    std::filesystem::path path;
};

// Decodes language file bytes to UTF-8: UTF-8 as it is (a byte order mark is dropped),
// anything that is not valid UTF-8 as Windows-1250, the code page of the older files.
std::string DecodeLanguageBytes(std::string_view bytes);

// Windows-1250 to UTF-8; the five undefined bytes become U+FFFD.
std::string Cp1250ToUtf8(std::string_view bytes);

bool IsValidUtf8(std::string_view bytes);

// Parses decoded text line by line into the table. Lines end with LF, CR LF or a lone CR.
// Per line: the number is the text between the first "#" and the next "#", the text lies
// between the first double quote and the next one (to the end of the line when the closing
// quote is missing, empty when there is none). "FINISH LINE" as the number ends the file.
// Numbers outside 0..399 are skipped; a later line wins; blank lines are skipped. A number part
// that is not a decimal integer, a line with only one "#" and a non-blank line without any
// "#" stop the parse with SyntaxError; what was stored before stays.
LanguageLoadResult ParseLanguageText(std::string_view text, LanguageTable& table);

// The program folder's Lang/<name>.trl, as the loader reads it.
std::filesystem::path LanguageFilePath(const std::filesystem::path& programFolder,
                                       std::string_view name);

// Reads Lang/<name>.trl of the program folder into the table (the extension in any letter case,
// as the language list shows such files). Texts the file does not name keep their previous
// values. A name that is empty or holds a path separator names no file.
LanguageLoadResult LoadLanguageFile(const std::filesystem::path& programFolder,
                                    std::string_view name, LanguageTable& table);

// Names of the "*.trl" files in the program folder's Lang, without extension, sorted.
std::vector<std::string> LanguageNames(const std::filesystem::path& programFolder);

// Form numbers of the windows that take texts.
inline constexpr int kFormMain = 1;
inline constexpr int kFormSettings = 2;
inline constexpr int kFormAbout = 3;
inline constexpr int kFormImportExcel = 5;
inline constexpr int kFormProjectDetails = 6;
inline constexpr int kFormExportDxf = 7;
inline constexpr int kFormPrintOptions = 8;
inline constexpr int kFormBands = 9;
inline constexpr int kFormLabelDesigner = 10;
inline constexpr int kFormLabelContent = 11;
inline constexpr int kFormLabelPrint = 12;
inline constexpr int kFormLabelNew = 13;
// In the order a language change reloads them.
inline constexpr std::array<int, 12> kLanguageForms = {1, 2, 3, 5, 6, 7, 8, 9, 10, 11, 12, 13};

enum class ElementProperty {
    Caption,          // label, button, check box, group box, menu, action or tab page text
    Hint,             // tool tip
    WindowTitle,      // the window's own caption (objectName empty)
    DialogTitle,      // title of a file dialog
    HeaderCell,       // horizontal header cell `index` of a grid
    ItemText,         // item `index` of a radio group, combo box or list
    FontName,         // font family of a widget
    PrinterFontName,  // font family of the printer canvas (objectName empty)
};

struct FormElement {
    int textNumber;
    std::string_view objectName;
    ElementProperty property;
    int index;                     // header cell or item index, 0 otherwise
    std::string_view defaultText;  // the built-in caption, empty when there is none
    std::string_view suffix;       // appended to the text (": " style labels)
};

// The elements a form takes from the table, in list order; empty for unknown forms.
std::span<const FormElement> FormElements(int formNumber);

// The element texts of a form as the table gives them, with the element's suffix.
std::string ElementText(const FormElement& element, const LanguageTable& table);

// A table holding the built-in captions of one form, for running without a language file.
LanguageTable BuiltInDefaultsTable(int formNumber);

// Numbers that the program uses as messages, titles and parts of composed texts outside the
// form element lists. Every shipped language file defines them all.
inline constexpr std::array kMessageTextNumbers = {
    2,   3,   4,   5,   6,   7,   8,   9,   10,  13,  14,  16,  17,  18,  19,  20,  21,  22,
    23,  24,  25,  27,  29,  31,  34,  35,  36,  37,  38,  39,  41,  44,  45,  46,  48,  49,
    50,  51,  52,  53,  54,  55,  56,  57,  68,  69,  70,  88,  89,  90,  94,  102, 103, 104,
    105, 106, 107, 108, 109, 130, 131, 148, 149, 150, 151, 152, 153, 154, 155, 156, 163, 164,
    176, 177, 184, 185, 186, 187, 189, 190, 191, 192, 193, 194, 205, 206, 207, 234, 235, 236,
    237, 238, 239, 242, 243, 244, 247, 248, 253, 254, 255, 256, 257, 258, 259, 260, 261, 262,
    263, 264, 265, 266, 269, 272, 273, 274, 275, 276, 277, 279, 280, 281, 282, 283, 288, 289,
    290, 293, 294, 295, 296, 305, 314, 315, 316, 385, 386, 387, 390, 391, 392};

}  // namespace trimora
