#include "app/KeyTable.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <climits>
#include <string>

namespace lumivox {
namespace {

TEST(FormatAccelKey, DefaultKeysShowAsOnTheKeyPage) {
  const char* const shown[kKeyCount] = {
      "Ctrl+Shift+P", "Ctrl+P", "Shift+P", "Shift+S",  "Ctrl+F",   "Ctrl+B",    "Shift+F",
      "Shift+B",      "Ctrl+Up", "Ctrl+Down", "Ctrl+O", "Shift+O", "Shift+D",  "Ctrl+L",
      "Ctrl+S",       "Alt+V",  "Alt+A",   "Alt+S",    "Alt+Enter", "Ctrl+Q"};
  for (int i = 0; i < kKeyCount; ++i) {
    KeyEntry entry;
    GetDefaultAccel(i, entry);
    EXPECT_EQ(FormatAccelKey(entry), shown[i]) << "index " << i;
  }
}

TEST(FormatAccelKey, ModifierPrefixes) {
  struct Case {
    std::uint8_t flags;
    const char* text;
  };
  const Case cases[] = {
      {0, "K"},
      {FVIRTKEY, "K"},
      {0xE2, "K"},  // bits that are no modifier
      {FCONTROL, "Ctrl+K"},
      {FALT, "Alt+K"},
      {FSHIFT, "Shift+K"},
      {FCONTROL | FALT, "Ctrl+Alt+K"},
      {FCONTROL | FSHIFT, "Ctrl+Shift+K"},
      {FALT | FSHIFT, "Alt+Shift+K"},
      {FVIRTKEY | FCONTROL | FALT | FSHIFT, "Ctrl+Alt+Shift+K"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(FormatAccelKey({c.flags, 'K', 0}), c.text) << "flags " << int(c.flags);
  }
  EXPECT_EQ(FormatAccelKey({FCONTROL | FALT | FSHIFT, 112, 0}), "Ctrl+Alt+Shift+F1");
}

TEST(FormatAccelKey, KeyNamesAtEveryBoundary) {
  struct Case {
    std::uint16_t key;
    const char* text;
  };
  const Case cases[] = {
      {0, "0x0"},        {7, "0x7"},         {8, "Backspace"}, {9, "Tab"},       {10, "0xA"},
      {12, "0xC"},       {13, "Enter"},      {14, "0xE"},      {26, "0x1A"},     {27, "Escape"},
      {28, "0x1C"},      {31, "0x1F"},       {32, "Space"},    {33, "PageUp"},   {34, "PageDown"},
      {35, "End"},       {36, "Home"},       {37, "Left"},     {38, "Up"},       {39, "Right"},
      {40, "Down"},      {41, "0x29"},       {44, "0x2C"},     {45, "Insert"},   {46, "Delete"},
      {47, "Help"},      {48, "0"},          {57, "9"},        {58, "0x3A"},     {64, "0x40"},
      {65, "A"},         {90, "Z"},          {91, "0x5B"},     {95, "0x5F"},     {96, "Num0"},
      {97, "Num1"},      {105, "Num9"},      {106, "Num*"},    {107, "Num+"},    {108, "0x6C"},
      {109, "Num-"},     {110, "Num."},      {111, "Num/"},    {112, "F1"},      {121, "F10"},
      {135, "F24"},      {136, "0x88"},      {186, "0xBA"},    {255, "0xFF"},    {0xABCD, "0xABCD"},
      {0xFFFF, "0xFFFF"},
  };
  for (const Case& c : cases) EXPECT_EQ(FormatAccelKey({0, c.key, 0}), c.text) << "key " << c.key;
}

TEST(GetDefaultAccel, WritesAllFieldsInRangeAndNothingOutside) {
  const KeyEntry untouched{0xAA, 0xBBBB, 0xCCCC};
  for (const int index : {-1, 20, 21, INT_MIN, INT_MAX}) {
    KeyEntry entry = untouched;
    GetDefaultAccel(index, entry);
    EXPECT_EQ(entry, untouched) << "index " << index;
  }
  KeyEntry first = untouched;
  GetDefaultAccel(0, first);
  EXPECT_EQ(first, (KeyEntry{FVIRTKEY | FSHIFT | FCONTROL, 'P', 32771}));
  KeyEntry last = untouched;
  GetDefaultAccel(19, last);
  EXPECT_EQ(last, (KeyEntry{FVIRTKEY | FCONTROL, 'Q', 57665}));
}

TEST(CaptureIgnoredKeys, ListInTheDialogsOrder) {
  EXPECT_THAT(kCaptureIgnoredKeys,
              testing::ElementsAre(0x10, 0x11, 0x12, 0x0C, 0x13, 0x14, 0x15, 0x15, 0x15, 0x17, 0x18,
                                   0x19, 0x19, 0x1C, 0x1D, 0x1E, 0x1F, 0x5B, 0x5C, 0x5D, 0x29, 0x2A,
                                   0x2B, 0x2C, 0x90, 0x91, 0xF0, 0xF2, 0xF3, 0xF4, 0xF5));
}

TEST(CaptureIgnoredKeys, EscapeEnterSpaceAndAltF4AreCaptured) {
  EXPECT_TRUE(IsCaptureIgnoredKey(0x11));  // Ctrl alone waits for the key it modifies
  for (const int key : {0x1B, 0x0D, 0x20, 0x73, 0x16, 0xF1}) {
    EXPECT_FALSE(IsCaptureIgnoredKey(std::uint16_t(key))) << key;
  }
}

TEST(AccelTable, TranslatesExactModifiersAndEarlierEntryWins) {
  const KeyEntry entries[] = {
      {FVIRTKEY | FCONTROL, 'P', 100},
      {FVIRTKEY | FCONTROL | FSHIFT, 'P', 200},
      {FVIRTKEY | FCONTROL, 'P', 300},          // same key as the first: never fires
      {FVIRTKEY | FALT | 0x02, 13, 400},        // FNOINVERT is not a modifier
      {FVIRTKEY, 0, 500},                       // a key code of 0 goes in unchanged
  };
  const AccelTable table(entries);
  EXPECT_EQ(table.Translate(FVIRTKEY | FCONTROL, 'P'), 100);
  EXPECT_EQ(table.Translate(FVIRTKEY | FCONTROL | FSHIFT, 'P'), 200);
  EXPECT_EQ(table.Translate(FVIRTKEY | FALT, 13), 400);
  EXPECT_EQ(table.Translate(FVIRTKEY, 0), 500);
  EXPECT_EQ(table.Translate(FVIRTKEY, 'P'), std::nullopt);
  EXPECT_EQ(table.Translate(FVIRTKEY | FALT | FCONTROL, 'P'), std::nullopt);
  EXPECT_EQ(table.Translate(FCONTROL, 'P'), std::nullopt);  // a character press, not a key
}

TEST(AccelTable, DefaultTableReachesEveryCommand) {
  const KeyTable keys = DefaultKeyTable();
  const AccelTable table(keys);
  for (const DefaultKey& row : kDefaultKeys) {
    EXPECT_EQ(table.Translate(row.flags, row.key), row.command) << row.operation;
  }
}

}  // namespace
}  // namespace lumivox
