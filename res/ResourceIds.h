#pragma once
// The numbered commands of the menus, the tool bar, the tray icon and the keys. Plain
// constants with no includes, so the key table and the windows can both name them.

namespace lumivox {

// File menu
inline constexpr int ID_FILE_OPEN = 57601;
inline constexpr int ID_FILE_OPEN_PLAYLIST = 32790;
inline constexpr int ID_FILE_SAVE_PLAYLIST = 32789;
inline constexpr int ID_FILE_PROPERTIES = 32792;
inline constexpr int ID_APP_EXIT = 57665;

// Edit menu, and Play of the playlist view's context menu
inline constexpr int ID_EDIT_ADD = 32803;
inline constexpr int ID_EDIT_FIND_AND_ADD = 32791;
inline constexpr int ID_EDIT_DELETE = 32804;
inline constexpr int ID_EDIT_MOVE_UP = 32808;
inline constexpr int ID_EDIT_MOVE_DOWN = 32809;
inline constexpr int ID_EDIT_DELETE_ALL = 32807;
inline constexpr int ID_PLAYLIST_PLAY = 32816;

// Playback menu, and the tool bar's own Play and Pause
inline constexpr int ID_PLAY_PLAYPAUSE = 32771;
inline constexpr int ID_PLAY_STOP = 32772;
inline constexpr int ID_TOOLBAR_PLAY = 40020;
inline constexpr int ID_TOOLBAR_PAUSE = 40029;
inline constexpr int ID_PLAY_PREVIOUS_TRACK = 32776;
inline constexpr int ID_PLAY_NEXT_TRACK = 32777;
inline constexpr int ID_PLAY_REWIND = 32833;
inline constexpr int ID_PLAY_FAST_FORWARD = 32834;

// Playback > Skip Interval
inline constexpr int ID_SKIP_1SEC = 32835;
inline constexpr int ID_SKIP_5SEC = 32836;
inline constexpr int ID_SKIP_10SEC = 32837;
inline constexpr int ID_SKIP_15SEC = 32838;
inline constexpr int ID_SKIP_30SEC = 32839;
inline constexpr int ID_SKIP_45SEC = 32840;
inline constexpr int ID_SKIP_60SEC = 32841;
inline constexpr int ID_SKIP_90SEC = 32842;
inline constexpr int ID_SKIP_120SEC = 32843;

// Playback: repeat mode, shuffle and Volume
inline constexpr int ID_REPEAT_NONE = 32781;
inline constexpr int ID_REPEAT_ALL = 32805;
inline constexpr int ID_REPEAT_ONE = 32806;
inline constexpr int ID_PLAY_SHUFFLE = 32780;
inline constexpr int ID_VOLUME_UP = 32848;
inline constexpr int ID_VOLUME_DOWN = 32849;

// View menu
inline constexpr int ID_VIEW_TOOLBAR = 59392;
inline constexpr int ID_VIEW_SEEKBAR = 32793;
inline constexpr int ID_VIEW_PLAYLIST_AND_VIDEO = 32810;
inline constexpr int ID_VIEW_PLAYLIST = 32782;
inline constexpr int ID_VIEW_VIDEO = 32811;
inline constexpr int ID_VIEW_ALWAYS_ON_TOP = 32798;
inline constexpr int ID_VIEW_FULLSCREEN = 32783;

// View > Aspect Ratio
inline constexpr int ID_ASPECT_NOT_FIXED = 32812;
inline constexpr int ID_ASPECT_SOURCE_SIZE = 32813;
inline constexpr int ID_ASPECT_4_3 = 32814;
inline constexpr int ID_ASPECT_16_9 = 32815;

// View > Video Scale
inline constexpr int ID_SCALE_HALF = 32801;
inline constexpr int ID_SCALE_1X = 32799;
inline constexpr int ID_SCALE_2X = 32800;
inline constexpr int ID_SCALE_3X = 32802;

// The cycling commands, reached by keys only
inline constexpr int ID_CHANGE_VIEW_MODE = 32820;
inline constexpr int ID_CHANGE_ASPECT_RATIO = 32822;
inline constexpr int ID_CHANGE_VIDEO_SCALE = 32847;

// Tool and Help menus, and Restore of the tray icon's menu
inline constexpr int ID_TOOL_VOLUME_CONTROL = 32774;
inline constexpr int ID_TOOL_USE_LUMIVAULT = 32797;
inline constexpr int ID_TOOL_DIRECTSHOW_FILTERS = 32846;
inline constexpr int ID_TOOL_OPTIONS = 32773;
inline constexpr int ID_APP_ABOUT = 57664;
inline constexpr int ID_TRAY_RESTORE = 32845;

}  // namespace lumivox
