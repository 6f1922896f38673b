#include "config/language.h"

#include <algorithm>
#include <cctype>
#include <fstream>
#include <system_error>

namespace trimora {

namespace {

const std::string& EmptyText() {
    static const std::string empty;
    return empty;
}

void AppendUtf8(std::string& out, char32_t cp) {
    if (cp < 0x80) {
        out += static_cast<char>(cp);
    } else if (cp < 0x800) {
        out += static_cast<char>(0xC0 | (cp >> 6));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else if (cp < 0x10000) {
        out += static_cast<char>(0xE0 | (cp >> 12));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (cp >> 18));
        out += static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    }
}

// Windows-1250 bytes 0x80..0xFF; 0xFFFD marks the five bytes the code page leaves undefined.
constexpr std::array<char16_t, 128> kCp1250High = {
    0x20AC, 0xFFFD, 0x201A, 0xFFFD, 0x201E, 0x2026, 0x2020, 0x2021,  // 80
    0xFFFD, 0x2030, 0x0160, 0x2039, 0x015A, 0x0164, 0x017D, 0x0179,  // 88
    0xFFFD, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,  // 90
    0xFFFD, 0x2122, 0x0161, 0x203A, 0x015B, 0x0165, 0x017E, 0x017A,  // 98
    0x00A0, 0x02C7, 0x02D8, 0x0141, 0x00A4, 0x0104, 0x00A6, 0x00A7,  // A0
    0x00A8, 0x00A9, 0x015E, 0x00AB, 0x00AC, 0x00AD, 0x00AE, 0x017B,  // A8
    0x00B0, 0x00B1, 0x02DB, 0x0142, 0x00B4, 0x00B5, 0x00B6, 0x00B7,  // B0
    0x00B8, 0x0105, 0x015F, 0x00BB, 0x013D, 0x02DD, 0x013E, 0x017C,  // B8
    0x0154, 0x00C1, 0x00C2, 0x0102, 0x00C4, 0x0139, 0x0106, 0x00C7,  // C0
    0x010C, 0x00C9, 0x0118, 0x00CB, 0x011A, 0x00CD, 0x00CE, 0x010E,  // C8
    0x0110, 0x0143, 0x0147, 0x00D3, 0x00D4, 0x0150, 0x00D6, 0x00D7,  // D0
    0x0158, 0x016E, 0x00DA, 0x0170, 0x00DC, 0x00DD, 0x0162, 0x00DF,  // D8
    0x0155, 0x00E1, 0x00E2, 0x0103, 0x00E4, 0x013A, 0x0107, 0x00E7,  // E0
    0x010D, 0x00E9, 0x0119, 0x00EB, 0x011B, 0x00ED, 0x00EE, 0x010F,  // E8
    0x0111, 0x0144, 0x0148, 0x00F3, 0x00F4, 0x0151, 0x00F6, 0x00F7,  // F0
    0x0159, 0x016F, 0x00FA, 0x0171, 0x00FC, 0x00FD, 0x0163, 0x02D9,  // F8
};

bool IsBlank(std::string_view s) {
    return std::all_of(s.begin(), s.end(), [](char c) { return c == ' ' || c == '\t'; });
}

enum class NumberPart { Number, OutOfRange, NotANumber };

// A decimal integer with optional sign, blanks allowed around it. Values beyond the table are
// reported as out of range without overflowing.
NumberPart ReadNumberPart(std::string_view s, int& value) {
    size_t i = 0;
    while (i < s.size() && (s[i] == ' ' || s[i] == '\t')) ++i;
    size_t end = s.size();
    while (end > i && (s[end - 1] == ' ' || s[end - 1] == '\t')) --end;
    s = s.substr(i, end - i);
    bool negative = false;
    if (!s.empty() && (s.front() == '+' || s.front() == '-')) {
        negative = s.front() == '-';
        s.remove_prefix(1);
    }
    if (s.empty()) return NumberPart::NotANumber;
    long long v = 0;
    for (char c : s) {
        if (c < '0' || c > '9') return NumberPart::NotANumber;
        if (v < kLanguageTextCount) v = v * 10 + (c - '0');
    }
    if (negative && v != 0) return NumberPart::OutOfRange;
    if (v >= kLanguageTextCount) return NumberPart::OutOfRange;
    value = static_cast<int>(v);
    return NumberPart::Number;
}

// Reads at most limit + 1 bytes, so an oversized file is noticed without reading it whole.
bool ReadCapped(const std::filesystem::path& path, std::string& bytes, bool& tooLarge) {
    std::ifstream in(path, std::ios::binary);
    if (!in) return false;
    bytes.clear();
    tooLarge = false;
    char buffer[65536];
    while (in) {
        in.read(buffer, sizeof buffer);
        bytes.append(buffer, static_cast<size_t>(in.gcount()));
        if (bytes.size() > kMaxLanguageFileBytes) {
            tooLarge = true;
            return true;
        }
    }
    return !in.bad();
}

bool IsTrlExtension(std::string extension) {
    std::transform(extension.begin(), extension.end(), extension.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return extension == ".trl";
}

// The language list takes "*.trl" in any letter case, so a file listed as "German" may be
// "German.TRL"; find it where the file system tells the cases apart.
std::filesystem::path FindListedFile(const std::filesystem::path& programFolder,
                                     std::string_view name) {
    std::error_code ec;
    std::filesystem::directory_iterator it(programFolder / "Lang", ec);
    if (ec) return {};
    for (const std::filesystem::directory_iterator end; it != end; it.increment(ec)) {
        if (ec) break;
        const std::string file = it->path().filename().string();
        if (file.size() != name.size() + 4 || file.compare(0, name.size(), name) != 0) continue;
        std::error_code typeError;
        if (IsTrlExtension(file.substr(name.size())) && it->is_regular_file(typeError))
            return it->path();
    }
    return {};
}

}  // namespace

const std::string& LanguageTable::LanguageText(int n) const {
    if (n < 0 || n >= kLanguageTextCount) return EmptyText();
    return texts_[static_cast<size_t>(n)];
}

void LanguageTable::SetText(int n, std::string text) {
    if (n < 0 || n >= kLanguageTextCount) return;
    texts_[static_cast<size_t>(n)] = std::move(text);
}

bool IsValidUtf8(std::string_view bytes) {
    size_t i = 0;
    const size_t n = bytes.size();
    while (i < n) {
        const auto b0 = static_cast<unsigned char>(bytes[i]);
        if (b0 < 0x80) {
            ++i;
            continue;
        }
        int extra = 0;
        char32_t cp = 0;
        char32_t min = 0;
        if ((b0 & 0xE0) == 0xC0) {
            extra = 1;
            cp = b0 & 0x1F;
            min = 0x80;
        } else if ((b0 & 0xF0) == 0xE0) {
            extra = 2;
            cp = b0 & 0x0F;
            min = 0x800;
        } else if ((b0 & 0xF8) == 0xF0) {
            extra = 3;
            cp = b0 & 0x07;
            min = 0x10000;
        } else {
            return false;
        }
        if (i + static_cast<size_t>(extra) >= n) return false;
        for (int k = 1; k <= extra; ++k) {
            const auto b = static_cast<unsigned char>(bytes[i + static_cast<size_t>(k)]);
            if ((b & 0xC0) != 0x80) return false;
            cp = (cp << 6) | (b & 0x3F);
        }
        if (cp < min || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) return false;
        i += static_cast<size_t>(extra) + 1;
    }
    return true;
}

std::string Cp1250ToUtf8(std::string_view bytes) {
    std::string out;
    out.reserve(bytes.size() + bytes.size() / 4);
    for (char c : bytes) {
        const auto b = static_cast<unsigned char>(c);
        if (b < 0x80)
            out += c;
        else
            AppendUtf8(out, kCp1250High[b - 0x80]);
    }
    return out;
}

std::string DecodeLanguageBytes(std::string_view bytes) {
    if (IsValidUtf8(bytes)) {
        if (bytes.substr(0, 3) == "\xEF\xBB\xBF") bytes.remove_prefix(3);
        return std::string(bytes);
    }
    return Cp1250ToUtf8(bytes);
}

LanguageLoadResult ParseLanguageText(std::string_view text, LanguageTable& table) {
    LanguageLoadResult result;
    int lineNumber = 0;
    size_t pos = 0;
    while (pos < text.size()) {
        size_t end = text.find_first_of("\r\n", pos);
        std::string_view line = text.substr(pos, end == std::string_view::npos ? end : end - pos);
        if (end == std::string_view::npos)
            pos = text.size();
        else
            pos = end +
                  ((text[end] == '\r' && end + 1 < text.size() && text[end + 1] == '\n') ? 2 : 1);
        ++lineNumber;

        const size_t hash1 = line.find('#');
        if (hash1 == std::string_view::npos) {
            // Blank lines are harmless; anything else without a number is damage.
            if (IsBlank(line)) continue;
            result.status = LanguageLoadStatus::SyntaxError;
            result.errorLine = lineNumber;
            return result;
        }
        const size_t hash2 = line.find('#', hash1 + 1);
        if (hash2 == std::string_view::npos) {
            result.status = LanguageLoadStatus::SyntaxError;
            result.errorLine = lineNumber;
            return result;
        }
        const std::string_view numberPart = line.substr(hash1 + 1, hash2 - hash1 - 1);
        if (numberPart == "FINISH LINE") break;

        int number = 0;
        const NumberPart kind = ReadNumberPart(numberPart, number);
        if (kind == NumberPart::NotANumber) {
            result.status = LanguageLoadStatus::SyntaxError;
            result.errorLine = lineNumber;
            return result;
        }
        if (kind == NumberPart::OutOfRange) continue;

        std::string value;
        const size_t quote1 = line.find('"');
        if (quote1 != std::string_view::npos) {
            const size_t quote2 = line.find('"', quote1 + 1);
            value = std::string(line.substr(
                quote1 + 1, quote2 == std::string_view::npos ? quote2 : quote2 - quote1 - 1));
        }
        table.SetText(number, std::move(value));
    }
    return result;
}

std::filesystem::path LanguageFilePath(const std::filesystem::path& programFolder,
                                       std::string_view name) {
    return programFolder / "Lang" / std::filesystem::path(std::string(name) + ".trl");
}

LanguageLoadResult LoadLanguageFile(const std::filesystem::path& programFolder,
                                    std::string_view name, LanguageTable& table) {
    LanguageLoadResult result;
    result.path = LanguageFilePath(programFolder, name);
    // The name comes from the settings store: it must not lead out of the Lang folder.
    if (name.empty() || name.find_first_of("/\\") != std::string_view::npos || name == "." ||
        name == "..") {
        result.status = LanguageLoadStatus::MissingFile;
        return result;
    }
    std::error_code ec;
    if (!std::filesystem::is_regular_file(result.path, ec)) {
        const std::filesystem::path listed = FindListedFile(programFolder, name);
        if (listed.empty()) {
            result.status = LanguageLoadStatus::MissingFile;
            return result;
        }
        result.path = listed;
    }
    std::string bytes;
    bool tooLarge = false;
    if (!ReadCapped(result.path, bytes, tooLarge)) {
        result.status = LanguageLoadStatus::MissingFile;
        return result;
    }
    if (tooLarge) {
        result.status = LanguageLoadStatus::SyntaxError;
        return result;
    }
    LanguageLoadResult parsed = ParseLanguageText(DecodeLanguageBytes(bytes), table);
    parsed.path = result.path;
    return parsed;
}

std::vector<std::string> LanguageNames(const std::filesystem::path& programFolder) {
    std::vector<std::string> names;
    std::error_code ec;
    std::filesystem::directory_iterator it(programFolder / "Lang", ec);
    if (ec) return names;
    for (const std::filesystem::directory_iterator end; it != end; it.increment(ec)) {
        if (ec) break;
        std::error_code typeError;
        if (!it->is_regular_file(typeError)) continue;
        const std::string file = it->path().filename().string();
        if (file.size() <= 4) continue;
        if (!IsTrlExtension(file.substr(file.size() - 4))) continue;
        names.push_back(file.substr(0, file.size() - 4));
    }
    std::sort(names.begin(), names.end());
    return names;
}

std::string ElementText(const FormElement& element, const LanguageTable& table) {
    return table.LanguageText(element.textNumber) + std::string(element.suffix);
}

LanguageTable BuiltInDefaultsTable(int formNumber) {
    LanguageTable table;
    std::array<bool, kLanguageTextCount> set{};
    for (const FormElement& element : FormElements(formNumber)) {
        if (element.defaultText.empty()) continue;
        auto& done = set[static_cast<size_t>(element.textNumber)];
        if (done) continue;
        table.SetText(element.textNumber, std::string(element.defaultText));
        done = true;
    }
    return table;
}

}  // namespace trimora
