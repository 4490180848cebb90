#include "settings/SettingsTable.h"

#include <gtest/gtest.h>

#include <set>
#include <tuple>
#include <utility>

namespace lumivox {
namespace {

TEST(SettingsTable, UniqueNamesSpelledOutWithTheirDefaults) {
  std::set<std::pair<std::string_view, std::string>> seen;
  for (const StoredSetting& s : AllStoredSettings()) {
    EXPECT_TRUE(seen.emplace(s.section, s.name).second) << s.section << '/' << s.name;
  }
  const std::tuple<std::string_view, std::string_view, std::optional<int>> present[] = {
      {"View", "PlayerColor4", 0x0000FF},
      {"Key", "Virt19", 9},
      {"Play", "SkipInterval", 5},
      {"View", "PlayListWidth", std::nullopt}};  // computed by the frame
  for (const auto& [section, name, defaultInt] : present) {
    const auto found = FindStoredSetting(section, name);
    ASSERT_TRUE(found) << section << '/' << name;
    EXPECT_EQ(found->defaultInt, defaultInt) << name;
  }
  const std::pair<std::string_view, std::string_view> absent[] = {
      {"View", "PlayerColor5"}, {"Key", "Virt20"}, {"Key", "Key07"}, {"Settings", "Key0"}, {"view", "ToolBar"}};
  for (const auto& [section, name] : absent) EXPECT_FALSE(FindStoredSetting(section, name)) << name;
}

}  // namespace
}  // namespace lumivox
