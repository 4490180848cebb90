#pragma once
// The twenty assignable keys: the key entry, the default table, the names the key page
// shows, the keys the capture dialog passes over, and the accelerator table built from
// the entries. Key codes and flags are virtual-key codes and accelerator flags, the
// numbers the settings store holds; the UI maps its key events onto them.

#include <array>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "res/ResourceIds.h"

namespace lumivox {

inline constexpr std::uint8_t FVIRTKEY = 0x01;
inline constexpr std::uint8_t FSHIFT = 0x04;
inline constexpr std::uint8_t FCONTROL = 0x08;
inline constexpr std::uint8_t FALT = 0x10;

// One accelerator: flags, key code, command id.
struct KeyEntry {
  std::uint8_t flags = 0;
  std::uint16_t key = 0;
  std::uint16_t command = 0;

  friend bool operator==(const KeyEntry&, const KeyEntry&) = default;
};

inline constexpr int kKeyCount = 20;
using KeyTable = std::array<KeyEntry, kKeyCount>;

// One row of the default table; the row's position is its index in the key table.
struct DefaultKey {
  std::uint16_t command;
  std::string_view operation;  // the text the key page shows for the command
  std::uint8_t flags;
  std::uint16_t key;
};

inline constexpr std::array<DefaultKey, kKeyCount> kDefaultKeys = {{
    {ID_PLAY_PLAYPAUSE, "Play / Pause", FVIRTKEY | FSHIFT | FCONTROL, 'P'},
    {ID_TOOLBAR_PLAY, "Play", FVIRTKEY | FCONTROL, 'P'},
    {ID_TOOLBAR_PAUSE, "Pause", FVIRTKEY | FSHIFT, 'P'},
    {ID_PLAY_STOP, "Stop", FVIRTKEY | FSHIFT, 'S'},
    {ID_PLAY_NEXT_TRACK, "Next Track", FVIRTKEY | FCONTROL, 'F'},
    {ID_PLAY_PREVIOUS_TRACK, "Previous Track", FVIRTKEY | FCONTROL, 'B'},
    {ID_PLAY_FAST_FORWARD, "Fast Forward", FVIRTKEY | FSHIFT, 'F'},
    {ID_PLAY_REWIND, "Rewind", FVIRTKEY | FSHIFT, 'B'},
    {ID_VOLUME_UP, "Volume Up", FVIRTKEY | FCONTROL, 38},
    {ID_VOLUME_DOWN, "Volume Down", FVIRTKEY | FCONTROL, 40},
    {ID_FILE_OPEN, "Open", FVIRTKEY | FCONTROL, 'O'},
    {ID_EDIT_ADD, "Add", FVIRTKEY | FSHIFT, 'O'},
    {ID_EDIT_FIND_AND_ADD, "Find and Add File", FVIRTKEY | FSHIFT, 'D'},
    {ID_FILE_OPEN_PLAYLIST, "Open Playlist", FVIRTKEY | FCONTROL, 'L'},
    {ID_FILE_SAVE_PLAYLIST, "Save Playlist", FVIRTKEY | FCONTROL, 'S'},
    {ID_CHANGE_VIEW_MODE, "Change View Mode", FVIRTKEY | FALT, 'V'},
    {ID_CHANGE_ASPECT_RATIO, "Change Aspect Ratio", FVIRTKEY | FALT, 'A'},
    {ID_CHANGE_VIDEO_SCALE, "Change Video Scale", FVIRTKEY | FALT, 'S'},
    {ID_VIEW_FULLSCREEN, "Fullscreen", FVIRTKEY | FALT, 13},
    {ID_APP_EXIT, "Quits the application and prompts to save documents", FVIRTKEY | FCONTROL, 'Q'},
}};

// Writes the default flags, key and command of `index` into `entry`; an index outside
// 0..19 leaves `entry` unchanged.
void GetDefaultAccel(int index, KeyEntry& entry);

KeyTable DefaultKeyTable();

// The text shown for an entry's key, e.g. "Ctrl+Shift+P", "Alt+Enter", "0xBA".
// FVIRTKEY is not looked at; odd flags and key 0 follow the same rules.
std::string FormatAccelKey(const KeyEntry& entry);

// Keys the capture dialog waits past (modifiers, lock keys, input-method keys...), in the
// order the dialog checks them; some codes are listed more than once.
inline constexpr std::array<std::uint16_t, 31> kCaptureIgnoredKeys = {
    0x10, 0x11, 0x12, 0x0C, 0x13, 0x14, 0x15, 0x15, 0x15, 0x17, 0x18, 0x19, 0x19, 0x1C, 0x1D, 0x1E,
    0x1F, 0x5B, 0x5C, 0x5D, 0x29, 0x2A, 0x2B, 0x2C, 0x90, 0x91, 0xF0, 0xF2, 0xF3, 0xF4, 0xF5};

bool IsCaptureIgnoredKey(std::uint16_t key);

// The accelerator table: a copy of the entries, translating a pressed key to a command.
// Of several entries with the same key and modifiers, the earliest one fires.
class AccelTable {
 public:
  explicit AccelTable(std::span<const KeyEntry> entries);

  // `flags` describes the press the way an entry does: FVIRTKEY for a virtual-key press
  // plus FSHIFT/FCONTROL/FALT for the modifiers held. Other flag bits are not compared.
  std::optional<std::uint16_t> Translate(std::uint8_t flags, std::uint16_t key) const;

 private:
  std::vector<KeyEntry> entries_;
};

}  // namespace lumivox
