#include "ui/CommandTable.h"

#include <algorithm>

namespace lumivox {
namespace {

using O = CommandOwner;

MenuItem Cmd(int id, std::string_view text) { return {id, text, {}}; }
MenuItem Sep() { return {}; }
MenuItem Popup(std::string_view text, std::vector<MenuItem> items) { return {0, text, std::move(items)}; }

std::vector<MenuItem> SkipItems() {
  return {Cmd(32835, "1 sec(&A)"),  Cmd(32836, "5 sec(&B)"),  Cmd(32837, "10 sec(&C)"),
          Cmd(32838, "15 sec(&D)"), Cmd(32839, "30 sec(&E)"), Cmd(32840, "45 sec(&F)"),
          Cmd(32841, "60 sec(&G)"), Cmd(32842, "90 sec(&H)"), Cmd(32843, "120 sec(&I)")};
}

std::vector<MenuItem> TransportItems() {
  return {Cmd(32771, "&Play / Pause"), Cmd(32772, "&Stop"),          Sep(),
          Cmd(32776, "&Previous Track"), Cmd(32777, "&Next Track"), Cmd(32833, "&Rewind"),
          Cmd(32834, "&Fast Forward"), Sep(),                      Popup("Skip &Interval", SkipItems())};
}

std::vector<MenuItem> AspectItems(std::string_view sixteenNine) {
  return {Cmd(32812, "&Not Fixed"), Cmd(32813, "&Source Size"), Cmd(32814, "&4 : 3"), Cmd(32815, sixteenNine)};
}

std::vector<MenuItem> ScaleItems() {
  return {Cmd(32801, "&0.5x"), Cmd(32799, "&1x"), Cmd(32800, "&2x"), Cmd(32802, "&3x")};
}

template <typename... Parts>
std::vector<MenuItem> Join(Parts... parts) {
  std::vector<MenuItem> all;
  (all.insert(all.end(), parts.begin(), parts.end()), ...);
  return all;
}

}  // namespace

const std::vector<CommandInfo>& CommandTable() {
  static const std::vector<CommandInfo> table = {
      {57601, "&Open...", "Open", "Open", O::Document},
      {32790, "Open Play&list...", "Open Playlist", "Open Playlist", O::Document},
      {32789, "&Save Playlist...", "Save Playlist", "Save Playlist", O::Document},
      {32792, "&Properties...", "", "", O::ViewThenDocument},
      {57665, "E&xit", "Quits the application and prompts to save documents", "Exit", O::Application},
      {32803, "&Add...", "Add", "Add", O::Document},
      {32791, "&Find and Add File...", "Find and Add File", "Find", O::Document},
      {32804, "&Delete", "", "", O::PlaylistView},
      {32808, "Move &Up", "", "", O::PlaylistView},
      {32809, "Move &Down", "", "", O::PlaylistView},
      {32807, "Delete A&ll", "", "", O::Document},
      {32816, "&Play", "", "", O::PlaylistView},
      {32771, "&Play / Pause", "Play / Pause", "Play / Pause", O::Document},
      {32772, "&Stop", "Stop", "Stop", O::Document},
      {40020, "Play", "Play", "Play", O::Document},
      {40029, "Pause", "Pause", "Pause", O::Document},
      {32776, "&Previous Track", "Previous Track", "Previous Track", O::Document},
      {32777, "&Next Track", "Next Track", "Next Track", O::Document},
      {32833, "&Rewind", "Rewind", "Rewind", O::Document},
      {32834, "&Fast Forward", "Fast Forward", "Fast Forward", O::Document},
      {32835, "1 sec(&A)", "", "", O::Document},
      {32836, "5 sec(&B)", "", "", O::Document},
      {32837, "10 sec(&C)", "", "", O::Document},
      {32838, "15 sec(&D)", "", "", O::Document},
      {32839, "30 sec(&E)", "", "", O::Document},
      {32840, "45 sec(&F)", "", "", O::Document},
      {32841, "60 sec(&G)", "", "", O::Document},
      {32842, "90 sec(&H)", "", "", O::Document},
      {32843, "120 sec(&I)", "", "", O::Document},
      {32781, "&No Repeat", "", "", O::Document},
      {32805, "&Repeat All", "", "", O::Document},
      {32806, "Repeat &1 File", "", "", O::Document},
      {32780, "&Shuffle", "", "", O::Document},
      {32848, "&Up", "Volume Up", "Volume Up", O::Document},
      {32849, "&Down", "Volume Down", "Volume Down", O::Document},
      {59392, "&Toolbar", "Shows or Hides the Toolbar", "Toolbar", O::MainFrame},
      {32793, "&Seekbar", "", "", O::MainFrame},
      {32810, "&Playlist and Video", "", "", O::MainFrame},
      {32782, "Play&list", "", "", O::MainFrame},
      {32811, "&Video", "", "", O::MainFrame},
      {32820, "&View Mode", "Change View Mode", "Change View Mode", O::MainFrame},
      {32812, "&Not Fixed", "", "", O::Document},
      {32813, "&Source Size", "", "", O::Document},
      {32814, "&4 : 3", "", "", O::Document},
      {32815, "&16 : 9", "", "", O::Document},
      {32822, "&Aspect Ratio", "Change Aspect Ratio", "Change Aspect Ratio", O::Document},
      {32801, "&0.5x", "", "", O::Document},
      {32799, "&1x", "", "", O::Document},
      {32800, "&2x", "", "", O::Document},
      {32802, "&3x", "", "", O::Document},
      {32847, "&Video Scale", "Change Video Scale", "Change Video Scale", O::Document},
      {32798, "Always &On Top", "", "", O::MainFrame},
      {32783, "&Fullscreen", "Fullscreen", "Fullscreen", O::MainFrame},
      {32845, "&Restore", "", "", O::MainFrame},
      {32774, "&Volume Control", "", "", O::MainFrame},
      {32797, "&Use LumivaultHD", "", "", O::Document},
      {32846, "&DirectShow Filters...", "", "", O::Document},
      {32773, "&Options", "", "", O::Document},
      {57664, "About...", "", "", O::Application},
  };
  return table;
}

const CommandInfo* FindCommand(int id) {
  const auto& table = CommandTable();
  const auto it = std::find_if(table.begin(), table.end(), [id](const CommandInfo& c) { return c.id == id; });
  return it == table.end() ? nullptr : &*it;
}

const std::vector<MenuItem>& MainMenu() {
  static const std::vector<MenuItem> menu = {
      Popup("&File", {Cmd(57601, "&Open..."), Sep(), Cmd(32790, "Open Play&list..."), Cmd(32789, "&Save Playlist..."),
                      Sep(), Cmd(32792, "&Properties..."), Sep(), Cmd(57665, "E&xit")}),
      Popup("&Edit", {Cmd(32803, "&Add..."), Cmd(32791, "&Find and Add File..."), Sep(), Cmd(32804, "&Delete"), Sep(),
                      Cmd(32808, "Move &Up"), Cmd(32809, "Move &Down"), Sep(), Cmd(32807, "Delete A&ll")}),
      Popup("&Playback", Join(TransportItems(),
                              std::vector<MenuItem>{Sep(), Cmd(32781, "&No Repeat"), Cmd(32805, "&Repeat All"),
                                                    Cmd(32806, "Repeat &1 File"), Sep(), Cmd(32780, "&Shuffle"), Sep(),
                                                    Popup("&Volume", {Cmd(32848, "&Up"), Cmd(32849, "&Down")})})),
      Popup("&View", {Cmd(59392, "&Toolbar"), Cmd(32793, "&Seekbar"), Sep(), Cmd(32810, "&Playlist and Video"),
                      Cmd(32782, "Play&list"), Cmd(32811, "&Video"), Sep(),
                      Popup("&Aspect Ratio", AspectItems("&16 : 9")), Popup("V&ideo Scale", ScaleItems()), Sep(),
                      Cmd(32798, "Always &On Top"), Sep(), Cmd(32783, "&Fullscreen")}),
      Popup("&Tool", {Cmd(32774, "&Volume Control"), Sep(), Cmd(32797, "&Use LumivaultHD"), Sep(),
                      Cmd(32846, "&DirectShow Filters..."), Sep(), Cmd(32773, "&Options")}),
      Popup("&Help", {Cmd(57664, "About...")}),
  };
  return menu;
}

const MenuItem* ContextMenu(std::string_view name) {
  static const std::vector<MenuItem> menus = {
      Popup("PlayListView0", {Cmd(32803, "&Add..."), Cmd(32791, "&Find and Add File..."), Sep(),
                              Cmd(32807, "Delete A&ll")}),
      Popup("PlayListView1", {Cmd(32816, "&Play"), Sep(), Cmd(32808, "Move &Up"), Cmd(32809, "Move &Down"), Sep(),
                              Cmd(32804, "&Delete"), Sep(), Cmd(32792, "P&roperties...")}),
      Popup("VideoView", Join(std::vector<MenuItem>{Cmd(32783, "&Fullscreen"), Sep()}, ScaleItems(),
                              std::vector<MenuItem>{Sep()}, AspectItems("1&6 : 9"))),
      Popup("FullScreen", Join(std::vector<MenuItem>{Cmd(32783, "&Restore"), Sep()}, TransportItems(),
                               std::vector<MenuItem>{Sep()}, AspectItems("&16 : 9"))),
      Popup("TrayIcon", Join(std::vector<MenuItem>{Cmd(32845, "&Restore"), Sep()}, TransportItems(),
                             std::vector<MenuItem>{Sep(), Cmd(57664, "&About..."), Sep(), Cmd(57665, "E&xit")})),
      Popup("dummy", {Cmd(32822, "&Aspect Ratio"), Cmd(32820, "&View Mode"), Cmd(32847, "&Video Scale")}),
  };
  const auto it = std::find_if(menus.begin(), menus.end(), [name](const MenuItem& m) { return m.text == name; });
  return it == menus.end() ? nullptr : &*it;
}

const std::vector<int>& ToolbarButtons() {
  static const std::vector<int> buttons = {40020, 40029, 32772, kToolbarSeparator, 32776, 32833,
                                           32834, 32777, kToolbarSeparator, 32804, 32808, 32809};
  return buttons;
}

}  // namespace lumivox
