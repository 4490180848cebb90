#include "ui/CommandTable.h"

#include <QCoreApplication>

#include <algorithm>
#include <string>


namespace lumivox {
namespace {

using O = CommandOwner;
using M = CommandMark;

MenuItem Cmd(int id, std::string_view text) { return {id, text, {}}; }
MenuItem Sep() { return {}; }
MenuItem Popup(std::string_view text, std::vector<MenuItem> items) { return {0, text, std::move(items)}; }

std::vector<MenuItem> SkipItems() {
  return {Cmd(32835, QT_TRANSLATE_NOOP("lumivox::CommandTable", "1 sec(&A)")),  Cmd(32836, QT_TRANSLATE_NOOP("lumivox::CommandTable", "5 sec(&B)")),  Cmd(32837, QT_TRANSLATE_NOOP("lumivox::CommandTable", "10 sec(&C)")),
          Cmd(32838, QT_TRANSLATE_NOOP("lumivox::CommandTable", "15 sec(&D)")), Cmd(32839, QT_TRANSLATE_NOOP("lumivox::CommandTable", "30 sec(&E)")), Cmd(32840, QT_TRANSLATE_NOOP("lumivox::CommandTable", "45 sec(&F)")),
          Cmd(32841, QT_TRANSLATE_NOOP("lumivox::CommandTable", "60 sec(&G)")), Cmd(32842, QT_TRANSLATE_NOOP("lumivox::CommandTable", "90 sec(&H)")), Cmd(32843, QT_TRANSLATE_NOOP("lumivox::CommandTable", "120 sec(&I)"))};
}

std::vector<MenuItem> TransportItems() {
  return {Cmd(32771, QT_TRANSLATE_NOOP("lumivox::CommandTable", "&Play / Pause")), Cmd(32772, QT_TRANSLATE_NOOP("lumivox::CommandTable", "&Stop")),          Sep(),
          Cmd(32776, QT_TRANSLATE_NOOP("lumivox::CommandTable", "&Previous Track")), Cmd(32777, QT_TRANSLATE_NOOP("lumivox::CommandTable", "&Next Track")), Cmd(32833, QT_TRANSLATE_NOOP("lumivox::CommandTable", "&Rewind")),
          Cmd(32834, QT_TRANSLATE_NOOP("lumivox::CommandTable", "&Fast Forward")), Sep(),                      Popup(QT_TRANSLATE_NOOP("lumivox::CommandTable", "Skip &Interval"), SkipItems())};
}

std::vector<MenuItem> AspectItems(std::string_view sixteenNine) {
  return {Cmd(32812, QT_TRANSLATE_NOOP("lumivox::CommandTable", "&Not Fixed")), Cmd(32813, QT_TRANSLATE_NOOP("lumivox::CommandTable", "&Source Size")), Cmd(32814, QT_TRANSLATE_NOOP("lumivox::CommandTable", "&4 : 3")), Cmd(32815, sixteenNine)};
}

std::vector<MenuItem> ScaleItems() {
  return {Cmd(32801, QT_TRANSLATE_NOOP("lumivox::CommandTable", "&0.5x")), Cmd(32799, QT_TRANSLATE_NOOP("lumivox::CommandTable", "&1x")), Cmd(32800, QT_TRANSLATE_NOOP("lumivox::CommandTable", "&2x")), Cmd(32802, QT_TRANSLATE_NOOP("lumivox::CommandTable", "&3x"))};
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
      {57601, QT_TRANSLATE_NOOP("lumivox::CommandTable", "&Open..."), QT_TRANSLATE_NOOP("lumivox::CommandTable", "Open"), QT_TRANSLATE_NOOP("lumivox::CommandTable", "Open"), O::Document, M::None},
      {32790, QT_TRANSLATE_NOOP("lumivox::CommandTable", "Open Play&list..."), QT_TRANSLATE_NOOP("lumivox::CommandTable", "Open Playlist"), QT_TRANSLATE_NOOP("lumivox::CommandTable", "Open Playlist"), O::Document, M::None},
      {32789, QT_TRANSLATE_NOOP("lumivox::CommandTable", "&Save Playlist..."), QT_TRANSLATE_NOOP("lumivox::CommandTable", "Save Playlist"), QT_TRANSLATE_NOOP("lumivox::CommandTable", "Save Playlist"), O::Document, M::None},
      {32792, QT_TRANSLATE_NOOP("lumivox::CommandTable", "&Properties..."), "", "", O::ViewThenDocument, M::None},
      {57665, QT_TRANSLATE_NOOP("lumivox::CommandTable", "E&xit"), QT_TRANSLATE_NOOP("lumivox::CommandTable", "Quits the application and prompts to save documents"), QT_TRANSLATE_NOOP("lumivox::CommandTable", "Exit"), O::Application, M::None},
      {32803, QT_TRANSLATE_NOOP("lumivox::CommandTable", "&Add..."), QT_TRANSLATE_NOOP("lumivox::CommandTable", "Add"), QT_TRANSLATE_NOOP("lumivox::CommandTable", "Add"), O::Document, M::None},
      {32791, QT_TRANSLATE_NOOP("lumivox::CommandTable", "&Find and Add File..."), QT_TRANSLATE_NOOP("lumivox::CommandTable", "Find and Add File"), QT_TRANSLATE_NOOP("lumivox::CommandTable", "Find"), O::Document, M::None},
      {32804, QT_TRANSLATE_NOOP("lumivox::CommandTable", "&Delete"), "", "", O::PlaylistView, M::None},
      {32808, QT_TRANSLATE_NOOP("lumivox::CommandTable", "Move &Up"), "", "", O::PlaylistView, M::None},
      {32809, QT_TRANSLATE_NOOP("lumivox::CommandTable", "Move &Down"), "", "", O::PlaylistView, M::None},
      {32807, QT_TRANSLATE_NOOP("lumivox::CommandTable", "Delete A&ll"), "", "", O::Document, M::None},
      {32816, QT_TRANSLATE_NOOP("lumivox::CommandTable", "&Play"), "", "", O::PlaylistView, M::None},
      {32771, QT_TRANSLATE_NOOP("lumivox::CommandTable", "&Play / Pause"), QT_TRANSLATE_NOOP("lumivox::CommandTable", "Play / Pause"), QT_TRANSLATE_NOOP("lumivox::CommandTable", "Play / Pause"), O::Document, M::None},
      {32772, QT_TRANSLATE_NOOP("lumivox::CommandTable", "&Stop"), QT_TRANSLATE_NOOP("lumivox::CommandTable", "Stop"), QT_TRANSLATE_NOOP("lumivox::CommandTable", "Stop"), O::Document, M::None},
      {40020, QT_TRANSLATE_NOOP("lumivox::CommandTable", "Play"), QT_TRANSLATE_NOOP("lumivox::CommandTable", "Play"), QT_TRANSLATE_NOOP("lumivox::CommandTable", "Play"), O::Document, M::None},
      {40029, QT_TRANSLATE_NOOP("lumivox::CommandTable", "Pause"), QT_TRANSLATE_NOOP("lumivox::CommandTable", "Pause"), QT_TRANSLATE_NOOP("lumivox::CommandTable", "Pause"), O::Document, M::None},
      {32776, QT_TRANSLATE_NOOP("lumivox::CommandTable", "&Previous Track"), QT_TRANSLATE_NOOP("lumivox::CommandTable", "Previous Track"), QT_TRANSLATE_NOOP("lumivox::CommandTable", "Previous Track"), O::Document, M::None},
      {32777, QT_TRANSLATE_NOOP("lumivox::CommandTable", "&Next Track"), QT_TRANSLATE_NOOP("lumivox::CommandTable", "Next Track"), QT_TRANSLATE_NOOP("lumivox::CommandTable", "Next Track"), O::Document, M::None},
      {32833, QT_TRANSLATE_NOOP("lumivox::CommandTable", "&Rewind"), QT_TRANSLATE_NOOP("lumivox::CommandTable", "Rewind"), QT_TRANSLATE_NOOP("lumivox::CommandTable", "Rewind"), O::Document, M::None},
      {32834, QT_TRANSLATE_NOOP("lumivox::CommandTable", "&Fast Forward"), QT_TRANSLATE_NOOP("lumivox::CommandTable", "Fast Forward"), QT_TRANSLATE_NOOP("lumivox::CommandTable", "Fast Forward"), O::Document, M::None},
      {32835, QT_TRANSLATE_NOOP("lumivox::CommandTable", "1 sec(&A)"), "", "", O::Document, M::Radio},
      {32836, QT_TRANSLATE_NOOP("lumivox::CommandTable", "5 sec(&B)"), "", "", O::Document, M::Radio},
      {32837, QT_TRANSLATE_NOOP("lumivox::CommandTable", "10 sec(&C)"), "", "", O::Document, M::Radio},
      {32838, QT_TRANSLATE_NOOP("lumivox::CommandTable", "15 sec(&D)"), "", "", O::Document, M::Radio},
      {32839, QT_TRANSLATE_NOOP("lumivox::CommandTable", "30 sec(&E)"), "", "", O::Document, M::Radio},
      {32840, QT_TRANSLATE_NOOP("lumivox::CommandTable", "45 sec(&F)"), "", "", O::Document, M::Radio},
      {32841, QT_TRANSLATE_NOOP("lumivox::CommandTable", "60 sec(&G)"), "", "", O::Document, M::Radio},
      {32842, QT_TRANSLATE_NOOP("lumivox::CommandTable", "90 sec(&H)"), "", "", O::Document, M::Radio},
      {32843, QT_TRANSLATE_NOOP("lumivox::CommandTable", "120 sec(&I)"), "", "", O::Document, M::Radio},
      {32781, QT_TRANSLATE_NOOP("lumivox::CommandTable", "&No Repeat"), "", "", O::Document, M::Radio},
      {32805, QT_TRANSLATE_NOOP("lumivox::CommandTable", "&Repeat All"), "", "", O::Document, M::Radio},
      {32806, QT_TRANSLATE_NOOP("lumivox::CommandTable", "Repeat &1 File"), "", "", O::Document, M::Radio},
      {32780, QT_TRANSLATE_NOOP("lumivox::CommandTable", "&Shuffle"), "", "", O::Document, M::Check},
      {32848, QT_TRANSLATE_NOOP("lumivox::CommandTable", "&Up"), QT_TRANSLATE_NOOP("lumivox::CommandTable", "Volume Up"), QT_TRANSLATE_NOOP("lumivox::CommandTable", "Volume Up"), O::Document, M::None},
      {32849, QT_TRANSLATE_NOOP("lumivox::CommandTable", "&Down"), QT_TRANSLATE_NOOP("lumivox::CommandTable", "Volume Down"), QT_TRANSLATE_NOOP("lumivox::CommandTable", "Volume Down"), O::Document, M::None},
      {59392, QT_TRANSLATE_NOOP("lumivox::CommandTable", "&Toolbar"), QT_TRANSLATE_NOOP("lumivox::CommandTable", "Shows or Hides the Toolbar"), QT_TRANSLATE_NOOP("lumivox::CommandTable", "Toolbar"), O::MainFrame, M::Check},
      {32793, QT_TRANSLATE_NOOP("lumivox::CommandTable", "&Seekbar"), "", "", O::MainFrame, M::Check},
      {32810, QT_TRANSLATE_NOOP("lumivox::CommandTable", "&Playlist and Video"), "", "", O::MainFrame, M::Radio},
      {32782, QT_TRANSLATE_NOOP("lumivox::CommandTable", "Play&list"), "", "", O::MainFrame, M::Radio},
      {32811, QT_TRANSLATE_NOOP("lumivox::CommandTable", "&Video"), "", "", O::MainFrame, M::Radio},
      {32820, QT_TRANSLATE_NOOP("lumivox::CommandTable", "&View Mode"), QT_TRANSLATE_NOOP("lumivox::CommandTable", "Change View Mode"), QT_TRANSLATE_NOOP("lumivox::CommandTable", "Change View Mode"), O::MainFrame, M::None},
      {32812, QT_TRANSLATE_NOOP("lumivox::CommandTable", "&Not Fixed"), "", "", O::Document, M::Radio},
      {32813, QT_TRANSLATE_NOOP("lumivox::CommandTable", "&Source Size"), "", "", O::Document, M::Radio},
      {32814, QT_TRANSLATE_NOOP("lumivox::CommandTable", "&4 : 3"), "", "", O::Document, M::Radio},
      {32815, QT_TRANSLATE_NOOP("lumivox::CommandTable", "&16 : 9"), "", "", O::Document, M::Radio},
      {32822, QT_TRANSLATE_NOOP("lumivox::CommandTable", "&Aspect Ratio"), QT_TRANSLATE_NOOP("lumivox::CommandTable", "Change Aspect Ratio"), QT_TRANSLATE_NOOP("lumivox::CommandTable", "Change Aspect Ratio"), O::Document, M::None},
      {32801, QT_TRANSLATE_NOOP("lumivox::CommandTable", "&0.5x"), "", "", O::Document, M::None},
      {32799, QT_TRANSLATE_NOOP("lumivox::CommandTable", "&1x"), "", "", O::Document, M::None},
      {32800, QT_TRANSLATE_NOOP("lumivox::CommandTable", "&2x"), "", "", O::Document, M::None},
      {32802, QT_TRANSLATE_NOOP("lumivox::CommandTable", "&3x"), "", "", O::Document, M::None},
      {32847, QT_TRANSLATE_NOOP("lumivox::CommandTable", "&Video Scale"), QT_TRANSLATE_NOOP("lumivox::CommandTable", "Change Video Scale"), QT_TRANSLATE_NOOP("lumivox::CommandTable", "Change Video Scale"), O::Document, M::None},
      {32798, QT_TRANSLATE_NOOP("lumivox::CommandTable", "Always &On Top"), "", "", O::MainFrame, M::Check},
      {32783, QT_TRANSLATE_NOOP("lumivox::CommandTable", "&Fullscreen"), QT_TRANSLATE_NOOP("lumivox::CommandTable", "Fullscreen"), QT_TRANSLATE_NOOP("lumivox::CommandTable", "Fullscreen"), O::MainFrame, M::None},
      {32845, QT_TRANSLATE_NOOP("lumivox::CommandTable", "&Restore"), "", "", O::MainFrame, M::None},
      {32774, QT_TRANSLATE_NOOP("lumivox::CommandTable", "&Volume Control"), "", "", O::MainFrame, M::None},
      {32797, QT_TRANSLATE_NOOP("lumivox::CommandTable", "&Use LumivaultHD"), "", "", O::Document, M::Check},
      {32846, QT_TRANSLATE_NOOP("lumivox::CommandTable", "&DirectShow Filters..."), "", "", O::Document, M::None},
      {32773, QT_TRANSLATE_NOOP("lumivox::CommandTable", "&Options"), "", "", O::Document, M::None},
      {57664, QT_TRANSLATE_NOOP("lumivox::CommandTable", "About..."), "", "", O::Application, M::None},
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
      Popup(QT_TRANSLATE_NOOP("lumivox::CommandTable", "&File"), {Cmd(57601, QT_TRANSLATE_NOOP("lumivox::CommandTable", "&Open...")), Sep(), Cmd(32790, QT_TRANSLATE_NOOP("lumivox::CommandTable", "Open Play&list...")), Cmd(32789, QT_TRANSLATE_NOOP("lumivox::CommandTable", "&Save Playlist...")),
                      Sep(), Cmd(32792, QT_TRANSLATE_NOOP("lumivox::CommandTable", "&Properties...")), Sep(), Cmd(57665, QT_TRANSLATE_NOOP("lumivox::CommandTable", "E&xit"))}),
      Popup(QT_TRANSLATE_NOOP("lumivox::CommandTable", "&Edit"), {Cmd(32803, QT_TRANSLATE_NOOP("lumivox::CommandTable", "&Add...")), Cmd(32791, QT_TRANSLATE_NOOP("lumivox::CommandTable", "&Find and Add File...")), Sep(), Cmd(32804, QT_TRANSLATE_NOOP("lumivox::CommandTable", "&Delete")), Sep(),
                      Cmd(32808, QT_TRANSLATE_NOOP("lumivox::CommandTable", "Move &Up")), Cmd(32809, QT_TRANSLATE_NOOP("lumivox::CommandTable", "Move &Down")), Sep(), Cmd(32807, QT_TRANSLATE_NOOP("lumivox::CommandTable", "Delete A&ll"))}),
      Popup(QT_TRANSLATE_NOOP("lumivox::CommandTable", "&Playback"), Join(TransportItems(),
                              std::vector<MenuItem>{Sep(), Cmd(32781, QT_TRANSLATE_NOOP("lumivox::CommandTable", "&No Repeat")), Cmd(32805, QT_TRANSLATE_NOOP("lumivox::CommandTable", "&Repeat All")),
                                                    Cmd(32806, QT_TRANSLATE_NOOP("lumivox::CommandTable", "Repeat &1 File")), Sep(), Cmd(32780, QT_TRANSLATE_NOOP("lumivox::CommandTable", "&Shuffle")), Sep(),
                                                    Popup(QT_TRANSLATE_NOOP("lumivox::CommandTable", "&Volume"), {Cmd(32848, QT_TRANSLATE_NOOP("lumivox::CommandTable", "&Up")), Cmd(32849, QT_TRANSLATE_NOOP("lumivox::CommandTable", "&Down"))})})),
      Popup(QT_TRANSLATE_NOOP("lumivox::CommandTable", "&View"), {Cmd(59392, QT_TRANSLATE_NOOP("lumivox::CommandTable", "&Toolbar")), Cmd(32793, QT_TRANSLATE_NOOP("lumivox::CommandTable", "&Seekbar")), Sep(), Cmd(32810, QT_TRANSLATE_NOOP("lumivox::CommandTable", "&Playlist and Video")),
                      Cmd(32782, QT_TRANSLATE_NOOP("lumivox::CommandTable", "Play&list")), Cmd(32811, QT_TRANSLATE_NOOP("lumivox::CommandTable", "&Video")), Sep(),
                      Popup(QT_TRANSLATE_NOOP("lumivox::CommandTable", "&Aspect Ratio"), AspectItems(QT_TRANSLATE_NOOP("lumivox::CommandTable", "&16 : 9"))), Popup(QT_TRANSLATE_NOOP("lumivox::CommandTable", "V&ideo Scale"), ScaleItems()), Sep(),
                      Cmd(32798, QT_TRANSLATE_NOOP("lumivox::CommandTable", "Always &On Top")), Sep(), Cmd(32783, QT_TRANSLATE_NOOP("lumivox::CommandTable", "&Fullscreen"))}),
      Popup(QT_TRANSLATE_NOOP("lumivox::CommandTable", "&Tool"), {Cmd(32774, QT_TRANSLATE_NOOP("lumivox::CommandTable", "&Volume Control")), Sep(), Cmd(32797, QT_TRANSLATE_NOOP("lumivox::CommandTable", "&Use LumivaultHD")), Sep(),
                      Cmd(32846, QT_TRANSLATE_NOOP("lumivox::CommandTable", "&DirectShow Filters...")), Sep(), Cmd(32773, QT_TRANSLATE_NOOP("lumivox::CommandTable", "&Options"))}),
      Popup(QT_TRANSLATE_NOOP("lumivox::CommandTable", "&Help"), {Cmd(57664, QT_TRANSLATE_NOOP("lumivox::CommandTable", "About..."))}),
  };
  return menu;
}

const MenuItem* ContextMenu(std::string_view name) {
  static const std::vector<MenuItem> menus = {
      Popup("PlayListView0", {Cmd(32803, QT_TRANSLATE_NOOP("lumivox::CommandTable", "&Add...")), Cmd(32791, QT_TRANSLATE_NOOP("lumivox::CommandTable", "&Find and Add File...")), Sep(),
                              Cmd(32807, QT_TRANSLATE_NOOP("lumivox::CommandTable", "Delete A&ll"))}),
      Popup("PlayListView1", {Cmd(32816, QT_TRANSLATE_NOOP("lumivox::CommandTable", "&Play")), Sep(), Cmd(32808, QT_TRANSLATE_NOOP("lumivox::CommandTable", "Move &Up")), Cmd(32809, QT_TRANSLATE_NOOP("lumivox::CommandTable", "Move &Down")), Sep(),
                              Cmd(32804, QT_TRANSLATE_NOOP("lumivox::CommandTable", "&Delete")), Sep(), Cmd(32792, QT_TRANSLATE_NOOP("lumivox::CommandTable", "P&roperties..."))}),
      Popup("VideoView", Join(std::vector<MenuItem>{Cmd(32783, QT_TRANSLATE_NOOP("lumivox::CommandTable", "&Fullscreen")), Sep()}, ScaleItems(),
                              std::vector<MenuItem>{Sep()}, AspectItems(QT_TRANSLATE_NOOP("lumivox::CommandTable", "1&6 : 9")))),
      Popup("FullScreen", Join(std::vector<MenuItem>{Cmd(32783, QT_TRANSLATE_NOOP("lumivox::CommandTable", "&Restore")), Sep()}, TransportItems(),
                               std::vector<MenuItem>{Sep()}, AspectItems(QT_TRANSLATE_NOOP("lumivox::CommandTable", "&16 : 9")))),
      Popup("TrayIcon", Join(std::vector<MenuItem>{Cmd(32845, QT_TRANSLATE_NOOP("lumivox::CommandTable", "&Restore")), Sep()}, TransportItems(),
                             std::vector<MenuItem>{Sep(), Cmd(57664, QT_TRANSLATE_NOOP("lumivox::CommandTable", "&About...")), Sep(), Cmd(57665, QT_TRANSLATE_NOOP("lumivox::CommandTable", "E&xit"))})),
      Popup("dummy", {Cmd(32822, QT_TRANSLATE_NOOP("lumivox::CommandTable", "&Aspect Ratio")), Cmd(32820, QT_TRANSLATE_NOOP("lumivox::CommandTable", "&View Mode")), Cmd(32847, QT_TRANSLATE_NOOP("lumivox::CommandTable", "&Video Scale"))}),
  };
  const auto it = std::find_if(menus.begin(), menus.end(), [name](const MenuItem& m) { return m.text == name; });
  return it == menus.end() ? nullptr : &*it;
}

QString CommandText(std::string_view text) {
  return QCoreApplication::translate("lumivox::CommandTable", std::string(text).c_str());
}

const std::vector<int>& ToolbarButtons() {
  static const std::vector<int> buttons = {40020, 40029, 32772, kToolbarSeparator, 32776, 32833,
                                           32834, 32777, kToolbarSeparator, 32804, 32808, 32809};
  return buttons;
}

}  // namespace lumivox
