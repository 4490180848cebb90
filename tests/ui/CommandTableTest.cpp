#include <gtest/gtest.h>

#include <functional>
#include <set>
#include <string>

#include "res/ResourceIds.h"
#include "settings/KeyTable.h"
#include "ui/CommandTable.h"

namespace lumivox::test {
namespace {

// Menu texts that differ from a command's own text where a menu shows it another way.
const std::set<std::pair<int, std::string>> kOtherTexts = {{ID_FILE_PROPERTIES, "P&roperties..."},
                                                           {ID_VIEW_FULLSCREEN, "&Restore"},
                                                           {ID_ASPECT_16_9, "1&6 : 9"},
                                                           {ID_APP_ABOUT, "&About..."}};

void ForEachCommand(const std::vector<MenuItem>& items, const std::function<void(const MenuItem&)>& visit) {
  for (const auto& item : items) {
    if (item.id > 0) visit(item);
    ForEachCommand(item.popup, visit);
  }
}

TEST(CommandTable, EveryMenuKeyAndButtonNamesAKnownCommandByItsText) {
  std::set<int> ids;
  for (const auto& command : CommandTable()) EXPECT_TRUE(ids.insert(command.id).second) << command.id;
  std::vector<MenuItem> everything = MainMenu();
  for (const char* name : {"PlayListView0", "PlayListView1", "VideoView", "FullScreen", "TrayIcon", "dummy"}) {
    ASSERT_NE(ContextMenu(name), nullptr) << name;
    everything.push_back(*ContextMenu(name));
  }
  int items = 0;
  ForEachCommand(everything, [&](const MenuItem& item) {
    ++items;
    const CommandInfo* command = FindCommand(item.id);
    ASSERT_NE(command, nullptr) << item.id;
    EXPECT_TRUE(command->text == item.text || kOtherTexts.contains({item.id, std::string(item.text)}))
        << item.id << " " << item.text;
  });
  EXPECT_GT(items, 100);
  for (const auto& key : DefaultKeyTable()) EXPECT_NE(FindCommand(key.command), nullptr) << key.command;
  for (const int button : ToolbarButtons()) EXPECT_TRUE(button == kToolbarSeparator || FindCommand(button));
  EXPECT_EQ(ContextMenu("nothing"), nullptr);
}

}  // namespace
}  // namespace lumivox::test
