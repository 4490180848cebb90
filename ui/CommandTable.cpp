#include "ui/CommandTable.h"

#include <QCoreApplication>

#include <algorithm>
#include <string>

#include "res/ResourceIds.h"

namespace lumivox {
namespace {

using O = CommandOwner;
using M = CommandMark;

MenuItem Cmd(int id, std::string_view text) { return {id, text, {}}; }
MenuItem Sep() { return {}; }
MenuItem Popup(std::string_view text, std::vector<MenuItem> items) { return {0, text, std::move(items)}; }

std::vector<MenuItem> SkipItems() {
  return {Cmd(ID_SKIP_1SEC, QT_TRANSLATE_NOOP("lumivox::CommandTable", "1 sec(&A)")),
          Cmd(ID_SKIP_5SEC, QT_TRANSLATE_NOOP("lumivox::CommandTable", "5 sec(&B)")),
          Cmd(ID_SKIP_10SEC, QT_TRANSLATE_NOOP("lumivox::CommandTable", "10 sec(&C)")),
          Cmd(ID_SKIP_15SEC, QT_TRANSLATE_NOOP("lumivox::CommandTable", "15 sec(&D)")),
          Cmd(ID_SKIP_30SEC, QT_TRANSLATE_NOOP("lumivox::CommandTable", "30 sec(&E)")),
          Cmd(ID_SKIP_45SEC, QT_TRANSLATE_NOOP("lumivox::CommandTable", "45 sec(&F)")),
          Cmd(ID_SKIP_60SEC, QT_TRANSLATE_NOOP("lumivox::CommandTable", "60 sec(&G)")),
          Cmd(ID_SKIP_90SEC, QT_TRANSLATE_NOOP("lumivox::CommandTable", "90 sec(&H)")),
          Cmd(ID_SKIP_120SEC, QT_TRANSLATE_NOOP("lumivox::CommandTable", "120 sec(&I)"))};
}

std::vector<MenuItem> TransportItems() {
  return {Cmd(ID_PLAY_PLAYPAUSE, QT_TRANSLATE_NOOP("lumivox::CommandTable", "&Play / Pause")),
          Cmd(ID_PLAY_STOP, QT_TRANSLATE_NOOP("lumivox::CommandTable", "&Stop")),
          Sep(),
          Cmd(ID_PLAY_PREVIOUS_TRACK, QT_TRANSLATE_NOOP("lumivox::CommandTable", "&Previous Track")),
          Cmd(ID_PLAY_NEXT_TRACK, QT_TRANSLATE_NOOP("lumivox::CommandTable", "&Next Track")),
          Cmd(ID_PLAY_REWIND, QT_TRANSLATE_NOOP("lumivox::CommandTable", "&Rewind")),
          Cmd(ID_PLAY_FAST_FORWARD, QT_TRANSLATE_NOOP("lumivox::CommandTable", "&Fast Forward")),
          Sep(),
          Popup(QT_TRANSLATE_NOOP("lumivox::CommandTable", "Skip &Interval"), SkipItems())};
}

std::vector<MenuItem> AspectItems(std::string_view sixteenNine) {
  return {Cmd(ID_ASPECT_NOT_FIXED, QT_TRANSLATE_NOOP("lumivox::CommandTable", "&Not Fixed")),
          Cmd(ID_ASPECT_SOURCE_SIZE, QT_TRANSLATE_NOOP("lumivox::CommandTable", "&Source Size")),
          Cmd(ID_ASPECT_4_3, QT_TRANSLATE_NOOP("lumivox::CommandTable", "&4 : 3")), Cmd(ID_ASPECT_16_9, sixteenNine)};
}

std::vector<MenuItem> ScaleItems() {
  return {Cmd(ID_SCALE_HALF, QT_TRANSLATE_NOOP("lumivox::CommandTable", "&0.5x")),
          Cmd(ID_SCALE_1X, QT_TRANSLATE_NOOP("lumivox::CommandTable", "&1x")),
          Cmd(ID_SCALE_2X, QT_TRANSLATE_NOOP("lumivox::CommandTable", "&2x")),
          Cmd(ID_SCALE_3X, QT_TRANSLATE_NOOP("lumivox::CommandTable", "&3x"))};
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
      {ID_FILE_OPEN, QT_TRANSLATE_NOOP("lumivox::CommandTable", "&Open..."),
       QT_TRANSLATE_NOOP("lumivox::CommandTable", "Open"), QT_TRANSLATE_NOOP("lumivox::CommandTable", "Open"),
       O::Document, M::None},
      {ID_FILE_OPEN_PLAYLIST, QT_TRANSLATE_NOOP("lumivox::CommandTable", "Open Play&list..."),
       QT_TRANSLATE_NOOP("lumivox::CommandTable", "Open Playlist"),
       QT_TRANSLATE_NOOP("lumivox::CommandTable", "Open Playlist"), O::Document, M::None},
      {ID_FILE_SAVE_PLAYLIST, QT_TRANSLATE_NOOP("lumivox::CommandTable", "&Save Playlist..."),
       QT_TRANSLATE_NOOP("lumivox::CommandTable", "Save Playlist"),
       QT_TRANSLATE_NOOP("lumivox::CommandTable", "Save Playlist"), O::Document, M::None},
      {ID_FILE_PROPERTIES, QT_TRANSLATE_NOOP("lumivox::CommandTable", "&Properties..."), "", "", O::ViewThenDocument,
       M::None},
      {ID_APP_EXIT, QT_TRANSLATE_NOOP("lumivox::CommandTable", "E&xit"),
       QT_TRANSLATE_NOOP("lumivox::CommandTable", "Quits the application and prompts to save documents"),
       QT_TRANSLATE_NOOP("lumivox::CommandTable", "Exit"), O::Application, M::None},
      {ID_EDIT_ADD, QT_TRANSLATE_NOOP("lumivox::CommandTable", "&Add..."),
       QT_TRANSLATE_NOOP("lumivox::CommandTable", "Add"), QT_TRANSLATE_NOOP("lumivox::CommandTable", "Add"),
       O::Document, M::None},
      {ID_EDIT_FIND_AND_ADD, QT_TRANSLATE_NOOP("lumivox::CommandTable", "&Find and Add File..."),
       QT_TRANSLATE_NOOP("lumivox::CommandTable", "Find and Add File"),
       QT_TRANSLATE_NOOP("lumivox::CommandTable", "Find"), O::Document, M::None},
      {ID_EDIT_DELETE, QT_TRANSLATE_NOOP("lumivox::CommandTable", "&Delete"), "", "", O::PlaylistView, M::None},
      {ID_EDIT_MOVE_UP, QT_TRANSLATE_NOOP("lumivox::CommandTable", "Move &Up"), "", "", O::PlaylistView, M::None},
      {ID_EDIT_MOVE_DOWN, QT_TRANSLATE_NOOP("lumivox::CommandTable", "Move &Down"), "", "", O::PlaylistView, M::None},
      {ID_EDIT_DELETE_ALL, QT_TRANSLATE_NOOP("lumivox::CommandTable", "Delete A&ll"), "", "", O::Document, M::None},
      {ID_PLAYLIST_PLAY, QT_TRANSLATE_NOOP("lumivox::CommandTable", "&Play"), "", "", O::PlaylistView, M::None},
      {ID_PLAY_PLAYPAUSE, QT_TRANSLATE_NOOP("lumivox::CommandTable", "&Play / Pause"),
       QT_TRANSLATE_NOOP("lumivox::CommandTable", "Play / Pause"),
       QT_TRANSLATE_NOOP("lumivox::CommandTable", "Play / Pause"), O::Document, M::None},
      {ID_PLAY_STOP, QT_TRANSLATE_NOOP("lumivox::CommandTable", "&Stop"),
       QT_TRANSLATE_NOOP("lumivox::CommandTable", "Stop"), QT_TRANSLATE_NOOP("lumivox::CommandTable", "Stop"),
       O::Document, M::None},
      {ID_TOOLBAR_PLAY, QT_TRANSLATE_NOOP("lumivox::CommandTable", "Play"),
       QT_TRANSLATE_NOOP("lumivox::CommandTable", "Play"), QT_TRANSLATE_NOOP("lumivox::CommandTable", "Play"),
       O::Document, M::None},
      {ID_TOOLBAR_PAUSE, QT_TRANSLATE_NOOP("lumivox::CommandTable", "Pause"),
       QT_TRANSLATE_NOOP("lumivox::CommandTable", "Pause"), QT_TRANSLATE_NOOP("lumivox::CommandTable", "Pause"),
       O::Document, M::None},
      {ID_PLAY_PREVIOUS_TRACK, QT_TRANSLATE_NOOP("lumivox::CommandTable", "&Previous Track"),
       QT_TRANSLATE_NOOP("lumivox::CommandTable", "Previous Track"),
       QT_TRANSLATE_NOOP("lumivox::CommandTable", "Previous Track"), O::Document, M::None},
      {ID_PLAY_NEXT_TRACK, QT_TRANSLATE_NOOP("lumivox::CommandTable", "&Next Track"),
       QT_TRANSLATE_NOOP("lumivox::CommandTable", "Next Track"),
       QT_TRANSLATE_NOOP("lumivox::CommandTable", "Next Track"), O::Document, M::None},
      {ID_PLAY_REWIND, QT_TRANSLATE_NOOP("lumivox::CommandTable", "&Rewind"),
       QT_TRANSLATE_NOOP("lumivox::CommandTable", "Rewind"), QT_TRANSLATE_NOOP("lumivox::CommandTable", "Rewind"),
       O::Document, M::None},
      {ID_PLAY_FAST_FORWARD, QT_TRANSLATE_NOOP("lumivox::CommandTable", "&Fast Forward"),
       QT_TRANSLATE_NOOP("lumivox::CommandTable", "Fast Forward"),
       QT_TRANSLATE_NOOP("lumivox::CommandTable", "Fast Forward"), O::Document, M::None},
      {ID_SKIP_1SEC, QT_TRANSLATE_NOOP("lumivox::CommandTable", "1 sec(&A)"), "", "", O::Document, M::Radio},
      {ID_SKIP_5SEC, QT_TRANSLATE_NOOP("lumivox::CommandTable", "5 sec(&B)"), "", "", O::Document, M::Radio},
      {ID_SKIP_10SEC, QT_TRANSLATE_NOOP("lumivox::CommandTable", "10 sec(&C)"), "", "", O::Document, M::Radio},
      {ID_SKIP_15SEC, QT_TRANSLATE_NOOP("lumivox::CommandTable", "15 sec(&D)"), "", "", O::Document, M::Radio},
      {ID_SKIP_30SEC, QT_TRANSLATE_NOOP("lumivox::CommandTable", "30 sec(&E)"), "", "", O::Document, M::Radio},
      {ID_SKIP_45SEC, QT_TRANSLATE_NOOP("lumivox::CommandTable", "45 sec(&F)"), "", "", O::Document, M::Radio},
      {ID_SKIP_60SEC, QT_TRANSLATE_NOOP("lumivox::CommandTable", "60 sec(&G)"), "", "", O::Document, M::Radio},
      {ID_SKIP_90SEC, QT_TRANSLATE_NOOP("lumivox::CommandTable", "90 sec(&H)"), "", "", O::Document, M::Radio},
      {ID_SKIP_120SEC, QT_TRANSLATE_NOOP("lumivox::CommandTable", "120 sec(&I)"), "", "", O::Document, M::Radio},
      {ID_REPEAT_NONE, QT_TRANSLATE_NOOP("lumivox::CommandTable", "&No Repeat"), "", "", O::Document, M::Radio},
      {ID_REPEAT_ALL, QT_TRANSLATE_NOOP("lumivox::CommandTable", "&Repeat All"), "", "", O::Document, M::Radio},
      {ID_REPEAT_ONE, QT_TRANSLATE_NOOP("lumivox::CommandTable", "Repeat &1 File"), "", "", O::Document, M::Radio},
      {ID_PLAY_SHUFFLE, QT_TRANSLATE_NOOP("lumivox::CommandTable", "&Shuffle"), "", "", O::Document, M::Check},
      {ID_VOLUME_UP, QT_TRANSLATE_NOOP("lumivox::CommandTable", "&Up"),
       QT_TRANSLATE_NOOP("lumivox::CommandTable", "Volume Up"), QT_TRANSLATE_NOOP("lumivox::CommandTable", "Volume Up"),
       O::Document, M::None},
      {ID_VOLUME_DOWN, QT_TRANSLATE_NOOP("lumivox::CommandTable", "&Down"),
       QT_TRANSLATE_NOOP("lumivox::CommandTable", "Volume Down"),
       QT_TRANSLATE_NOOP("lumivox::CommandTable", "Volume Down"), O::Document, M::None},
      {ID_VIEW_TOOLBAR, QT_TRANSLATE_NOOP("lumivox::CommandTable", "&Toolbar"),
       QT_TRANSLATE_NOOP("lumivox::CommandTable", "Shows or Hides the Toolbar"),
       QT_TRANSLATE_NOOP("lumivox::CommandTable", "Toolbar"), O::MainFrame, M::Check},
      {ID_VIEW_SEEKBAR, QT_TRANSLATE_NOOP("lumivox::CommandTable", "&Seekbar"), "", "", O::MainFrame, M::Check},
      {ID_VIEW_PLAYLIST_AND_VIDEO, QT_TRANSLATE_NOOP("lumivox::CommandTable", "&Playlist and Video"), "", "",
       O::MainFrame, M::Radio},
      {ID_VIEW_PLAYLIST, QT_TRANSLATE_NOOP("lumivox::CommandTable", "Play&list"), "", "", O::MainFrame, M::Radio},
      {ID_VIEW_VIDEO, QT_TRANSLATE_NOOP("lumivox::CommandTable", "&Video"), "", "", O::MainFrame, M::Radio},
      {ID_CHANGE_VIEW_MODE, QT_TRANSLATE_NOOP("lumivox::CommandTable", "&View Mode"),
       QT_TRANSLATE_NOOP("lumivox::CommandTable", "Change View Mode"),
       QT_TRANSLATE_NOOP("lumivox::CommandTable", "Change View Mode"), O::MainFrame, M::None},
      {ID_ASPECT_NOT_FIXED, QT_TRANSLATE_NOOP("lumivox::CommandTable", "&Not Fixed"), "", "", O::Document, M::Radio},
      {ID_ASPECT_SOURCE_SIZE, QT_TRANSLATE_NOOP("lumivox::CommandTable", "&Source Size"), "", "", O::Document,
       M::Radio},
      {ID_ASPECT_4_3, QT_TRANSLATE_NOOP("lumivox::CommandTable", "&4 : 3"), "", "", O::Document, M::Radio},
      {ID_ASPECT_16_9, QT_TRANSLATE_NOOP("lumivox::CommandTable", "&16 : 9"), "", "", O::Document, M::Radio},
      {ID_CHANGE_ASPECT_RATIO, QT_TRANSLATE_NOOP("lumivox::CommandTable", "&Aspect Ratio"),
       QT_TRANSLATE_NOOP("lumivox::CommandTable", "Change Aspect Ratio"),
       QT_TRANSLATE_NOOP("lumivox::CommandTable", "Change Aspect Ratio"), O::Document, M::None},
      {ID_SCALE_HALF, QT_TRANSLATE_NOOP("lumivox::CommandTable", "&0.5x"), "", "", O::Document, M::None},
      {ID_SCALE_1X, QT_TRANSLATE_NOOP("lumivox::CommandTable", "&1x"), "", "", O::Document, M::None},
      {ID_SCALE_2X, QT_TRANSLATE_NOOP("lumivox::CommandTable", "&2x"), "", "", O::Document, M::None},
      {ID_SCALE_3X, QT_TRANSLATE_NOOP("lumivox::CommandTable", "&3x"), "", "", O::Document, M::None},
      {ID_CHANGE_VIDEO_SCALE, QT_TRANSLATE_NOOP("lumivox::CommandTable", "&Video Scale"),
       QT_TRANSLATE_NOOP("lumivox::CommandTable", "Change Video Scale"),
       QT_TRANSLATE_NOOP("lumivox::CommandTable", "Change Video Scale"), O::Document, M::None},
      {ID_VIEW_ALWAYS_ON_TOP, QT_TRANSLATE_NOOP("lumivox::CommandTable", "Always &On Top"), "", "", O::MainFrame,
       M::Check},
      {ID_VIEW_FULLSCREEN, QT_TRANSLATE_NOOP("lumivox::CommandTable", "&Fullscreen"),
       QT_TRANSLATE_NOOP("lumivox::CommandTable", "Fullscreen"),
       QT_TRANSLATE_NOOP("lumivox::CommandTable", "Fullscreen"), O::MainFrame, M::None},
      {ID_TRAY_RESTORE, QT_TRANSLATE_NOOP("lumivox::CommandTable", "&Restore"), "", "", O::MainFrame, M::None},
      {ID_TOOL_VOLUME_CONTROL, QT_TRANSLATE_NOOP("lumivox::CommandTable", "&Volume Control"), "", "", O::MainFrame,
       M::None},
      {ID_TOOL_USE_LUMIVAULT, QT_TRANSLATE_NOOP("lumivox::CommandTable", "&Use LumivaultHD"), "", "", O::Document,
       M::Check},
      {ID_TOOL_DIRECTSHOW_FILTERS, QT_TRANSLATE_NOOP("lumivox::CommandTable", "&DirectShow Filters..."), "", "",
       O::Document, M::None},
      {ID_TOOL_OPTIONS, QT_TRANSLATE_NOOP("lumivox::CommandTable", "&Options"), "", "", O::Document, M::None},
      {ID_APP_ABOUT, QT_TRANSLATE_NOOP("lumivox::CommandTable", "About..."), "", "", O::Application, M::None},
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
      Popup(QT_TRANSLATE_NOOP("lumivox::CommandTable", "&File"),
            {Cmd(ID_FILE_OPEN, QT_TRANSLATE_NOOP("lumivox::CommandTable", "&Open...")), Sep(),
             Cmd(ID_FILE_OPEN_PLAYLIST, QT_TRANSLATE_NOOP("lumivox::CommandTable", "Open Play&list...")),
             Cmd(ID_FILE_SAVE_PLAYLIST, QT_TRANSLATE_NOOP("lumivox::CommandTable", "&Save Playlist...")), Sep(),
             Cmd(ID_FILE_PROPERTIES, QT_TRANSLATE_NOOP("lumivox::CommandTable", "&Properties...")), Sep(),
             Cmd(ID_APP_EXIT, QT_TRANSLATE_NOOP("lumivox::CommandTable", "E&xit"))}),
      Popup(QT_TRANSLATE_NOOP("lumivox::CommandTable", "&Edit"),
            {Cmd(ID_EDIT_ADD, QT_TRANSLATE_NOOP("lumivox::CommandTable", "&Add...")),
             Cmd(ID_EDIT_FIND_AND_ADD, QT_TRANSLATE_NOOP("lumivox::CommandTable", "&Find and Add File...")), Sep(),
             Cmd(ID_EDIT_DELETE, QT_TRANSLATE_NOOP("lumivox::CommandTable", "&Delete")), Sep(),
             Cmd(ID_EDIT_MOVE_UP, QT_TRANSLATE_NOOP("lumivox::CommandTable", "Move &Up")),
             Cmd(ID_EDIT_MOVE_DOWN, QT_TRANSLATE_NOOP("lumivox::CommandTable", "Move &Down")), Sep(),
             Cmd(ID_EDIT_DELETE_ALL, QT_TRANSLATE_NOOP("lumivox::CommandTable", "Delete A&ll"))}),
      Popup(QT_TRANSLATE_NOOP("lumivox::CommandTable", "&Playback"),
            Join(TransportItems(),
                 std::vector<MenuItem>{
                     Sep(), Cmd(ID_REPEAT_NONE, QT_TRANSLATE_NOOP("lumivox::CommandTable", "&No Repeat")),
                     Cmd(ID_REPEAT_ALL, QT_TRANSLATE_NOOP("lumivox::CommandTable", "&Repeat All")),
                     Cmd(ID_REPEAT_ONE, QT_TRANSLATE_NOOP("lumivox::CommandTable", "Repeat &1 File")), Sep(),
                     Cmd(ID_PLAY_SHUFFLE, QT_TRANSLATE_NOOP("lumivox::CommandTable", "&Shuffle")), Sep(),
                     Popup(QT_TRANSLATE_NOOP("lumivox::CommandTable", "&Volume"),
                           {Cmd(ID_VOLUME_UP, QT_TRANSLATE_NOOP("lumivox::CommandTable", "&Up")),
                            Cmd(ID_VOLUME_DOWN, QT_TRANSLATE_NOOP("lumivox::CommandTable", "&Down"))})})),
      Popup(QT_TRANSLATE_NOOP("lumivox::CommandTable", "&View"),
            {Cmd(ID_VIEW_TOOLBAR, QT_TRANSLATE_NOOP("lumivox::CommandTable", "&Toolbar")),
             Cmd(ID_VIEW_SEEKBAR, QT_TRANSLATE_NOOP("lumivox::CommandTable", "&Seekbar")), Sep(),
             Cmd(ID_VIEW_PLAYLIST_AND_VIDEO, QT_TRANSLATE_NOOP("lumivox::CommandTable", "&Playlist and Video")),
             Cmd(ID_VIEW_PLAYLIST, QT_TRANSLATE_NOOP("lumivox::CommandTable", "Play&list")),
             Cmd(ID_VIEW_VIDEO, QT_TRANSLATE_NOOP("lumivox::CommandTable", "&Video")), Sep(),
             Popup(QT_TRANSLATE_NOOP("lumivox::CommandTable", "&Aspect Ratio"),
                   AspectItems(QT_TRANSLATE_NOOP("lumivox::CommandTable", "&16 : 9"))),
             Popup(QT_TRANSLATE_NOOP("lumivox::CommandTable", "V&ideo Scale"), ScaleItems()), Sep(),
             Cmd(ID_VIEW_ALWAYS_ON_TOP, QT_TRANSLATE_NOOP("lumivox::CommandTable", "Always &On Top")), Sep(),
             Cmd(ID_VIEW_FULLSCREEN, QT_TRANSLATE_NOOP("lumivox::CommandTable", "&Fullscreen"))}),
      Popup(QT_TRANSLATE_NOOP("lumivox::CommandTable", "&Tool"),
            {Cmd(ID_TOOL_VOLUME_CONTROL, QT_TRANSLATE_NOOP("lumivox::CommandTable", "&Volume Control")), Sep(),
             Cmd(ID_TOOL_USE_LUMIVAULT, QT_TRANSLATE_NOOP("lumivox::CommandTable", "&Use LumivaultHD")), Sep(),
             Cmd(ID_TOOL_DIRECTSHOW_FILTERS, QT_TRANSLATE_NOOP("lumivox::CommandTable", "&DirectShow Filters...")),
             Sep(), Cmd(ID_TOOL_OPTIONS, QT_TRANSLATE_NOOP("lumivox::CommandTable", "&Options"))}),
      Popup(QT_TRANSLATE_NOOP("lumivox::CommandTable", "&Help"),
            {Cmd(ID_APP_ABOUT, QT_TRANSLATE_NOOP("lumivox::CommandTable", "About..."))}),
  };
  return menu;
}

const MenuItem* ContextMenu(std::string_view name) {
  static const std::vector<MenuItem> menus = {
      Popup("PlayListView0",
            {Cmd(ID_EDIT_ADD, QT_TRANSLATE_NOOP("lumivox::CommandTable", "&Add...")),
             Cmd(ID_EDIT_FIND_AND_ADD, QT_TRANSLATE_NOOP("lumivox::CommandTable", "&Find and Add File...")), Sep(),
             Cmd(ID_EDIT_DELETE_ALL, QT_TRANSLATE_NOOP("lumivox::CommandTable", "Delete A&ll"))}),
      Popup("PlayListView1", {Cmd(ID_PLAYLIST_PLAY, QT_TRANSLATE_NOOP("lumivox::CommandTable", "&Play")), Sep(),
                              Cmd(ID_EDIT_MOVE_UP, QT_TRANSLATE_NOOP("lumivox::CommandTable", "Move &Up")),
                              Cmd(ID_EDIT_MOVE_DOWN, QT_TRANSLATE_NOOP("lumivox::CommandTable", "Move &Down")), Sep(),
                              Cmd(ID_EDIT_DELETE, QT_TRANSLATE_NOOP("lumivox::CommandTable", "&Delete")), Sep(),
                              Cmd(ID_FILE_PROPERTIES, QT_TRANSLATE_NOOP("lumivox::CommandTable", "P&roperties..."))}),
      Popup("VideoView", Join(std::vector<MenuItem>{Cmd(ID_VIEW_FULLSCREEN,
                                                        QT_TRANSLATE_NOOP("lumivox::CommandTable", "&Fullscreen")),
                                                    Sep()},
                              ScaleItems(), std::vector<MenuItem>{Sep()},
                              AspectItems(QT_TRANSLATE_NOOP("lumivox::CommandTable", "1&6 : 9")))),
      Popup("FullScreen",
            Join(std::vector<MenuItem>{Cmd(ID_VIEW_FULLSCREEN, QT_TRANSLATE_NOOP("lumivox::CommandTable", "&Restore")),
                                       Sep()},
                 TransportItems(), std::vector<MenuItem>{Sep()},
                 AspectItems(QT_TRANSLATE_NOOP("lumivox::CommandTable", "&16 : 9")))),
      Popup(
          "TrayIcon",
          Join(std::vector<MenuItem>{Cmd(ID_TRAY_RESTORE, QT_TRANSLATE_NOOP("lumivox::CommandTable", "&Restore")),
                                     Sep()},
               TransportItems(),
               std::vector<MenuItem>{Sep(), Cmd(ID_APP_ABOUT, QT_TRANSLATE_NOOP("lumivox::CommandTable", "&About...")),
                                     Sep(), Cmd(ID_APP_EXIT, QT_TRANSLATE_NOOP("lumivox::CommandTable", "E&xit"))})),
      Popup("dummy", {Cmd(ID_CHANGE_ASPECT_RATIO, QT_TRANSLATE_NOOP("lumivox::CommandTable", "&Aspect Ratio")),
                      Cmd(ID_CHANGE_VIEW_MODE, QT_TRANSLATE_NOOP("lumivox::CommandTable", "&View Mode")),
                      Cmd(ID_CHANGE_VIDEO_SCALE, QT_TRANSLATE_NOOP("lumivox::CommandTable", "&Video Scale"))}),
  };
  const auto it = std::find_if(menus.begin(), menus.end(), [name](const MenuItem& m) { return m.text == name; });
  return it == menus.end() ? nullptr : &*it;
}

QString CommandText(std::string_view text) {
  return QCoreApplication::translate("lumivox::CommandTable", std::string(text).c_str());
}

const std::vector<int>& ToolbarButtons() {
  static const std::vector<int> buttons = {ID_TOOLBAR_PLAY,      ID_TOOLBAR_PAUSE,       ID_PLAY_STOP,
                                           kToolbarSeparator,    ID_PLAY_PREVIOUS_TRACK, ID_PLAY_REWIND,
                                           ID_PLAY_FAST_FORWARD, ID_PLAY_NEXT_TRACK,     kToolbarSeparator,
                                           ID_EDIT_DELETE,       ID_EDIT_MOVE_UP,        ID_EDIT_MOVE_DOWN};
  return buttons;
}

}  // namespace lumivox
