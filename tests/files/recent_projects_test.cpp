#include "files/recent_projects.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

namespace trimora {
namespace {

// Seven pixels per character: 250 pixels hold 35 characters.
int Width(std::string_view text) {
    return 7 * static_cast<int>(text.size());
}

TEST(RecentProjects, AddOrdersMostRecentFirst) {
    struct Case {
        RecentProjects before;
        std::string name;
        RecentProjects after;
        bool changed;
    };
    const std::vector<Case> cases = {
        {{"a", "b", "c", "", ""}, "a", {"a", "b", "c", "", ""}, false},     // already on top
        {{"a", "b", "c", "d", ""}, "c", {"c", "a", "b", "d", ""}, true},    // moves up
        {{"a", "b", "c", "d", "e"}, "f", {"f", "a", "b", "c", "d"}, true},  // oldest drops
        {{"", "", "", "", ""}, "a", {"a", "", "", "", ""}, true},
        {{"a", "b", "c", "d", "e"}, "e", {"e", "a", "b", "c", "d"}, true},
        {{"a", "B", "c", "", ""}, "b", {"b", "a", "B", "c", ""}, true},     // letter case counts
        {{"x", "b", "a", "b", "c"}, "b", {"b", "x", "b", "a", "c"}, true},  // last occurrence
        {{"a", "b", "", "", ""}, "", {"a", "b", "", "", ""}, false},  // nothing loaded or saved
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        RecentProjects list = c.before;
        EXPECT_EQ(AddRecentProject(list, c.name), c.changed);
        EXPECT_EQ(list, c.after);
    }
}

TEST(RecentProjects, LongNamesAreShortenedInTheMiddle) {
    const std::string name44 = "C:\\Projects\\Kitchens\\2024\\Client\\plan-012345";
    const std::string name45 = "C:\\Projects\\Kitchens\\2024\\Client\\plan-0123456";
    ASSERT_EQ(name44.size(), 44u);
    ASSERT_EQ(name45.size(), 45u);
    EXPECT_EQ(RecentDisplayName(name44 + ".trp", Width), name44);
    const std::string shortened = RecentDisplayName(name45 + ".trp", Width);
    EXPECT_EQ(shortened, "C:\\...\\2024\\Client\\plan-0123456");
    EXPECT_LE(Width(shortened), kRecentNameMaxWidth);

    // A name that fits the width stays whole, however many characters it has.
    EXPECT_EQ(RecentDisplayName("/" + name45 + ".trp", [](std::string_view) { return 10; }),
              "/" + name45);

    // Nothing between the root and the file name is left when even that is too long.
    const std::string file = "a-very-long-project-file-name";
    EXPECT_EQ(ShortenPath("/home/user/projects/" + file, 33 * 7, Width), ".../" + file);
    EXPECT_EQ(ShortenPath("/home/user/projects/" + file, 10 * 7, Width), file);
    EXPECT_EQ(ShortenPath("\\\\server\\share\\projects\\kitchens\\" + file, 58 * 7, Width),
              "\\\\server\\share\\...\\kitchens\\" + file);
}

TEST(RecentProjects, MenuShowsFilledEntriesWithAccessKeys) {
    const RecentProjects list = {"/p/one.trp", "", "/p/R&D.trp", "", ""};
    RecentMenu menu = RefreshRecentMenu(list, Width);
    EXPECT_TRUE(menu.separatorVisible);
    EXPECT_TRUE(menu.items[0].visible);
    EXPECT_EQ(menu.items[0].caption, "&1 /p/one");
    EXPECT_FALSE(menu.items[1].visible);
    EXPECT_EQ(menu.items[2].caption, "&3 /p/R&&D");
    EXPECT_FALSE(menu.items[4].visible);

    menu = RefreshRecentMenu({"", "/p/two.trp", "", "", ""}, Width);
    EXPECT_FALSE(menu.separatorVisible);
    EXPECT_TRUE(menu.items[1].visible);
}

TEST(RecentProjects, MissingFileIsReportedAndStaysListed) {
    const auto path = std::filesystem::temp_directory_path() / "trimora_recent_exists.trp";
    std::ofstream(path) << "x";
    const RecentProjects list = {path.string(), "/no/such/file.trp", "", "", ""};
    EXPECT_EQ(CheckRecentEntry(list, 0), 0);
    EXPECT_EQ(CheckRecentEntry(list, 1), 206);
    EXPECT_EQ(CheckRecentEntry(list, 2), 206);
    std::filesystem::remove(path);
}

}  // namespace
}  // namespace trimora
