#include "settings/KeyTable.h"

#include <gtest/gtest.h>

#include <climits>
#include <tuple>

#include "res/ResourceIds.h"

namespace lumivox {
namespace {

TEST(FormatAccelKey, ModifiersInFixedOrderAndKeyNamesAtEachBoundary) {
  const std::tuple<std::uint8_t, std::uint16_t, const char*> cases[] = {
      {FVIRTKEY | FSHIFT | FCONTROL, 'P', "Ctrl+Shift+P"},
      {FVIRTKEY | FALT, 13, "Alt+Enter"},
      {FSHIFT, 'K', "Shift+K"},
      {FCONTROL | FALT, 'K', "Ctrl+Alt+K"},
      {FALT | FSHIFT, 'K', "Alt+Shift+K"},
      {FCONTROL | FALT | FSHIFT, 112, "Ctrl+Alt+Shift+F1"},
      {0xE2, 'K', "K"},  // bits that are no modifier
      // each numbered run and named key beside codes that have no name
      {0, 0, "0x0"},
      {0, 7, "0x7"},
      {0, 8, "Backspace"},
      {0, 12, "0xC"},
      {0, 32, "Space"},
      {0, 40, "Down"},
      {0, 41, "0x29"},
      {0, 47, "Help"},
      {0, 48, "0"},
      {0, 57, "9"},
      {0, 58, "0x3A"},
      {0, 64, "0x40"},
      {0, 65, "A"},
      {0, 90, "Z"},
      {0, 91, "0x5B"},
      {0, 95, "0x5F"},
      {0, 96, "Num0"},
      {0, 105, "Num9"},
      {0, 106, "Num*"},
      {0, 108, "0x6C"},
      {0, 111, "Num/"},
      {0, 135, "F24"},
      {0, 136, "0x88"},
      {0, 186, "0xBA"},
      {0, 0xFFFF, "0xFFFF"},
  };
  for (const auto& [flags, key, text] : cases) {
    EXPECT_EQ(FormatAccelKey({flags, key, 0}), text) << int(flags) << '/' << key;
  }
}

TEST(DefaultKeys, AnIndexOutOfRangeLeavesTheEntryAlone) {
  const KeyEntry untouched{0xAA, 0xBBBB, 0xCCCC};
  for (const int index : {-1, 20, INT_MIN, INT_MAX}) {
    KeyEntry entry = untouched;
    GetDefaultAccel(index, entry);
    EXPECT_EQ(entry, untouched) << index;
  }
}

TEST(DefaultKeys, EveryDefaultReachesItsCommand) {
  const AccelTable table(DefaultKeyTable());  // no default may shadow a later one
  for (const DefaultKey& row : kDefaultKeys) {
    EXPECT_EQ(table.Translate(row.flags, row.key), row.command) << row.operation;
  }
}

TEST(CaptureIgnoredKeys, ModifierLockAndInputMethodKeysAreIgnored) {
  for (const int key : {0x10, 0x0C, 0x15, 0x5D, 0x91, 0xF5}) EXPECT_TRUE(IsCaptureIgnoredKey(key)) << key;
  // Escape, Enter, Space, F4 and unlisted codes between listed ones can be assigned.
  for (const int key : {0x1B, 0x0D, 0x20, 0x73, 0x16, 0xF1}) EXPECT_FALSE(IsCaptureIgnoredKey(key));
}

TEST(AccelTable, ExactModifiersAndEarlierEntryWins) {
  const KeyEntry entries[] = {
      {FVIRTKEY | FCONTROL, 'P', ID_PLAY_PLAYPAUSE},
      {FVIRTKEY | FCONTROL | FSHIFT, 'P', ID_PLAY_STOP},
      {FVIRTKEY | FCONTROL, 'P', ID_APP_EXIT},           // same key as the first: never fires
      {FVIRTKEY | FALT | 0x02, 13, ID_VIEW_FULLSCREEN},  // FNOINVERT is not a modifier
  };
  const AccelTable table(entries);
  EXPECT_EQ(table.Translate(FVIRTKEY | FCONTROL, 'P'), ID_PLAY_PLAYPAUSE);
  EXPECT_EQ(table.Translate(FVIRTKEY | FCONTROL | FSHIFT, 'P'), ID_PLAY_STOP);
  EXPECT_EQ(table.Translate(FVIRTKEY | FALT, 13), ID_VIEW_FULLSCREEN);
  EXPECT_EQ(table.Translate(FVIRTKEY, 'P'), std::nullopt);
  EXPECT_EQ(table.Translate(FCONTROL, 'P'), std::nullopt);  // a character press, not a key
}

}  // namespace
}  // namespace lumivox
