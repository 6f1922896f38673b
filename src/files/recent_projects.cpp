#include "files/recent_projects.h"

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <system_error>
#include <vector>

namespace trimora {

namespace {

constexpr int kTextRecentMissing = 206;

bool IsBlank(std::string_view text) {
    return std::all_of(text.begin(), text.end(),
                       [](char c) { return std::isspace(static_cast<unsigned char>(c)); });
}

bool IsSeparator(char c) {
    return c == '/' || c == '\\';
}

// Characters, not bytes: a continuation byte of UTF-8 does not start a character.
size_t CharacterCount(std::string_view text) {
    return static_cast<size_t>(std::count_if(text.begin(), text.end(), [](char c) {
        return (static_cast<unsigned char>(c) & 0xC0) != 0x80;
    }));
}

// The part that always stays in front: a drive ("C:\"), a share ("\\server\share\") or
// the root ("/").
size_t PrefixLength(std::string_view path) {
    if (path.size() >= 2 && std::isalpha(static_cast<unsigned char>(path[0])) && path[1] == ':')
        return path.size() > 2 && IsSeparator(path[2]) ? 3 : 2;
    if (path.size() >= 2 && IsSeparator(path[0]) && IsSeparator(path[1])) {
        size_t server = path.find_first_of("/\\", 2);
        if (server == std::string_view::npos) return path.size();
        size_t share = path.find_first_of("/\\", server + 1);
        return share == std::string_view::npos ? path.size() : share + 1;
    }
    return !path.empty() && IsSeparator(path[0]) ? 1 : 0;
}

std::string EscapeAccessKeys(const std::string& text) {
    std::string out;
    for (char c : text) {
        out += c;
        if (c == '&') out += '&';
    }
    return out;
}

}  // namespace

bool AddRecentProject(RecentProjects& list, const std::string& name) {
    if (IsBlank(name)) return false;
    int found = -1;
    for (int k = 0; k < kRecentProjectCount; ++k)
        if (list[k] == name) found = k;  // the last occurrence counts
    if (found == 0) return false;
    const int last = found > 0 ? found : kRecentProjectCount - 1;
    for (int k = last; k > 0; --k) list[k] = list[k - 1];
    list[0] = name;
    return true;
}

std::string ShortenPath(std::string_view path, int maxWidth, const TextWidthFunction& width) {
    if (width(path) <= maxWidth) return std::string(path);
    const size_t prefixEnd = PrefixLength(path);
    const std::string prefix(path.substr(0, prefixEnd));
    std::vector<std::string> folders;
    std::string current;
    for (char c : path.substr(prefixEnd)) {
        if (IsSeparator(c)) {
            folders.push_back(current);
            current.clear();
        } else {
            current += c;
        }
    }
    const std::string fileName = current;
    const char separator = path.find('\\') != std::string_view::npos ? '\\' : '/';

    // Drop leading folders one at a time behind an ellipsis.
    for (size_t drop = 1; drop <= folders.size(); ++drop) {
        std::string candidate = prefix + "..." + separator;
        for (size_t i = drop; i < folders.size(); ++i) candidate += folders[i] + separator;
        candidate += fileName;
        if (width(candidate) <= maxWidth) return candidate;
    }
    std::string candidate = std::string("...") + separator + fileName;
    if (width(candidate) <= maxWidth) return candidate;
    return fileName;
}

std::string RecentDisplayName(const std::string& fileName, const TextWidthFunction& width) {
    std::string name = fileName;
    const size_t dot = name.rfind('.');
    const size_t separator = name.find_last_of("/\\");
    if (dot != std::string::npos && (separator == std::string::npos || dot > separator))
        name.erase(dot);
    if (CharacterCount(name) < static_cast<size_t>(kRecentNameShortenFrom)) return name;
    return ShortenPath(name, kRecentNameMaxWidth, width);
}

RecentMenu RefreshRecentMenu(const RecentProjects& list, const TextWidthFunction& width) {
    RecentMenu menu;
    for (int k = 0; k < kRecentProjectCount; ++k) {
        if (list[k].empty()) continue;
        menu.items[k].visible = true;
        menu.items[k].caption =
            "&" + std::to_string(k + 1) + " " + EscapeAccessKeys(RecentDisplayName(list[k], width));
    }
    menu.separatorVisible = !list[0].empty();
    return menu;
}

int CheckRecentEntry(const RecentProjects& list, int index) {
    if (index < 0 || index >= kRecentProjectCount || IsBlank(list[index]))
        return kTextRecentMissing;
    std::error_code ec;
    return std::filesystem::is_regular_file(list[index], ec) ? 0 : kTextRecentMissing;
}

}  // namespace trimora
