#pragma once
// The application's option values as they live in memory for the whole run, with their
// values at construction. Other parts read and change them directly; PlayerSettings
// loads and saves them.

#include <array>
#include <cstdint>
#include <string>

#include "playlist/DocumentInterfaces.h"
#include "settings/KeyTable.h"

namespace lumivox {

using ColorRef = std::uint32_t;  // 0x00BBGGRR

inline constexpr int kPlayerColorCount = 5;
enum PlayerColorIndex : int {
  PlayerColor_Background = 0,
  PlayerColor_Text = 1,
  PlayerColor_Splitter = 2,
  PlayerColor_CurrentFile = 3,
  PlayerColor_UnsupportedFile = 4,
};

// Writes the default colour of `index` into `colour`; any other index leaves it unchanged.
void GetDefaultPlayerColor(int index, ColorRef& colour);

std::array<ColorRef, kPlayerColorCount> DefaultPlayerColors();

// The yes/no values are whole numbers like the BOOLs they are stored as: anything but 0
// is yes, and a hand-edited 2 is written back as 2.
struct PlayerOptions {
  int lumivault = 0;                                          // send video to the LumivaultHD device
  std::string lastDir;                                        // first folder of the file dialogs
  int trayIcon = 0;                                           // minimise to the notification area
  int loadLastList = 1;                                       // reload the previous playlist at start
  int addExisted = 1;                                         // add a file again that is already in the playlist
  int mpegSoftDecoder = 1;                                    // prefer the Halcyon MPEG decoders
  int aspectRatio = static_cast<int>(AspectRatio::NotFixed);  // the video picture's shape
  std::array<ColorRef, kPlayerColorCount> playerColor = DefaultPlayerColors();
  KeyTable keyTable = DefaultKeyTable();
  int volumeMode = static_cast<int>(VolumeMode::Graph);  // where the volume commands act
  int restoreVolume = 0;                                 // put the start volume back at exit

  friend bool operator==(const PlayerOptions&, const PlayerOptions&) = default;
};

}  // namespace lumivox
