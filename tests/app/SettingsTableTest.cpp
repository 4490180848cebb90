#include "app/SettingsTable.h"

#include <gtest/gtest.h>

#include <set>
#include <utility>

namespace lumivox {
namespace {

TEST(SettingsTable, NamesAreUniquePerSection) {
  std::set<std::pair<std::string_view, std::string>> seen;
  for (const StoredSetting& s : AllStoredSettings()) {
    EXPECT_TRUE(seen.emplace(s.section, s.name).second) << s.section << '/' << s.name;
  }
}

TEST(SettingsTable, FindsSpelledOutNamesWithTheirDefaults) {
  struct Case {
    std::string_view section;
    std::string_view name;
    std::optional<int> defaultInt;  // nullopt: no fixed whole-number default
  };
  const Case present[] = {
      {"View", "PlayerColor0", 0x000000}, {"View", "PlayerColor4", 0x0000FF},
      {"Key", "Key0", 'P'},               {"Key", "Virt0", 13},
      {"Key", "Key18", 13},               {"Key", "Virt19", 9},
      {"Key", "Key19", 'Q'},              {"View", "ViewMode", 1},
      {"View", "Bottom", -1},             {"Play", "SkipInterval", 5},
      {"View", "PlayListWidth", std::nullopt},
      {"Settings", "LastDir", std::nullopt},
  };
  for (const Case& c : present) {
    const auto found = FindStoredSetting(c.section, c.name);
    ASSERT_TRUE(found) << c.section << '/' << c.name;
    EXPECT_EQ(found->defaultInt, c.defaultInt) << c.name;
  }
  const std::pair<std::string_view, std::string_view> absent[] = {
      {"View", "PlayerColor5"}, {"Key", "Key20"},      {"Key", "Virt20"}, {"Key", "Key07"},
      {"Key", "Key"},           {"Settings", "Key0"}, {"view", "ToolBar"}, {"Play", "shuffle"}};
  for (const auto& [section, name] : absent) {
    EXPECT_FALSE(FindStoredSetting(section, name)) << section << '/' << name;
  }
}

}  // namespace
}  // namespace lumivox
