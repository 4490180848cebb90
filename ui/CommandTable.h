#pragma once
// The command vocabulary: every numbered command with its menu text, prompt and owner,
// the main and context menus that carry them, and the tool bar. Ids keep their numbers:
// the key table stores them.

#include <QString>

#include <string_view>
#include <vector>

namespace lumivox {

// Who handles a command; routing asks the active view, then the document, the main frame
// and the application.
enum class CommandOwner { PlaylistView, Document, MainFrame, Application, ViewThenDocument };

// The mark a command's menu item can carry; radio items of one popup form a group.
enum class CommandMark { None, Check, Radio };

struct CommandInfo {
  int id;
  std::string_view text;     // menu text with its access key
  std::string_view prompt;   // status prompt, may be empty
  std::string_view toolTip;  // may be empty
  CommandOwner owner;
  CommandMark mark;
};

// A menu entry: a command (id > 0), a separator (id 0, no text) or a popup (id 0, text).
struct MenuItem {
  int id = 0;
  std::string_view text;
  std::vector<MenuItem> popup;
  bool IsSeparator() const { return id == 0 && text.empty(); }
};

inline constexpr int kToolbarSeparator = 0;

const std::vector<CommandInfo>& CommandTable();
const CommandInfo* FindCommand(int id);

// The popups of the main menu bar.
const std::vector<MenuItem>& MainMenu();
// The context menus by name ("PlayListView0", "PlayListView1", "VideoView",
// "FullScreen", "TrayIcon", "dummy").
const MenuItem* ContextMenu(std::string_view name);
// A text of the table in the user's language.
QString CommandText(std::string_view text);

// The tool bar's slots, kToolbarSeparator for a gap.
const std::vector<int>& ToolbarButtons();

}  // namespace lumivox
