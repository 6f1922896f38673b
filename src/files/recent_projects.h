// The recent-projects list of the File menu: five file names, most recent first, an empty
// text marking a free entry (persisted as rp1..rp5).
#pragma once

#include <array>
#include <functional>
#include <string>
#include <string_view>

namespace trimora {

inline constexpr int kRecentProjectCount = 5;
using RecentProjects = std::array<std::string, kRecentProjectCount>;

// Puts `name` at the top. A name already listed moves up (names are compared exactly, letter
// case included); otherwise the oldest entry drops out. Returns whether the list changed,
// i.e. whether the menu must be refreshed. A blank name is never listed.
bool AddRecentProject(RecentProjects& list, const std::string& name);

// Width of a text in the menu font, in pixels.
using TextWidthFunction = std::function<int(std::string_view)>;

inline constexpr int kRecentNameShortenFrom = 45;  // characters, extension excluded
inline constexpr int kRecentNameMaxWidth = 250;    // pixels

// Shortens a path to fit `maxWidth`: the drive or root and the file name stay, the folders
// between give way, from the first on, to "...".
std::string ShortenPath(std::string_view path, int maxWidth, const TextWidthFunction& width);

// The menu text of an entry: the name without its extension, shortened when it has 45
// characters or more.
std::string RecentDisplayName(const std::string& fileName, const TextWidthFunction& width);

struct RecentMenuItem {
    bool visible = false;
    std::string caption;  // "&1 " ... "&5 " and the display name, "&" doubled inside it
};

struct RecentMenu {
    std::array<RecentMenuItem, kRecentProjectCount> items;  // recent0 .. recent4
    bool separatorVisible = false;                          // N6
};

RecentMenu RefreshRecentMenu(const RecentProjects& list, const TextWidthFunction& width);

// Before a recent entry is opened: 0 when its file exists, else language text 206 (the
// entry stays in the list).
int CheckRecentEntry(const RecentProjects& list, int index);

}  // namespace trimora
