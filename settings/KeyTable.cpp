#include "settings/KeyTable.h"

#include <algorithm>
#include <cstdio>

namespace lumivox {
namespace {

struct KeyName {
  std::uint16_t code;
  std::string_view name;
};

// Named keys outside the two numbered runs (Num0..Num9 at 96, F1..F24 at 112).
constexpr KeyName kKeyNames[] = {
    {8, "Backspace"}, {9, "Tab"},   {13, "Enter"}, {27, "Escape"}, {32, "Space"}, {33, "PageUp"}, {34, "PageDown"},
    {35, "End"},      {36, "Home"}, {37, "Left"},  {38, "Up"},     {39, "Right"}, {40, "Down"},   {45, "Insert"},
    {46, "Delete"},   {47, "Help"}, {106, "Num*"}, {107, "Num+"},  {109, "Num-"}, {110, "Num."},  {111, "Num/"}};

constexpr std::uint16_t kNumpad0 = 96;
constexpr std::uint16_t kNumpad9 = 105;
constexpr std::uint16_t kF1 = 112;
constexpr std::uint16_t kF24 = 135;

constexpr std::uint8_t kMatchedFlags = FVIRTKEY | FSHIFT | FCONTROL | FALT;

std::string KeyText(std::uint16_t key) {
  if ((key >= 'A' && key <= 'Z') || (key >= '0' && key <= '9')) return std::string(1, char(key));
  if (key >= kNumpad0 && key <= kNumpad9) return "Num" + std::to_string(key - kNumpad0);
  if (key >= kF1 && key <= kF24) return "F" + std::to_string(key - kF1 + 1);
  const auto named = std::ranges::find(kKeyNames, key, &KeyName::code);
  if (named != std::end(kKeyNames)) return std::string(named->name);
  char hex[8];
  std::snprintf(hex, sizeof hex, "0x%X", unsigned(key));
  return hex;
}

}  // namespace

void GetDefaultAccel(int index, KeyEntry& entry) {
  if (index < 0 || index >= kKeyCount) return;
  const DefaultKey& row = kDefaultKeys[std::size_t(index)];
  entry = {row.flags, row.key, row.command};
}

KeyTable DefaultKeyTable() {
  KeyTable table{};
  for (int i = 0; i < kKeyCount; ++i) GetDefaultAccel(i, table[std::size_t(i)]);
  return table;
}

std::string FormatAccelKey(const KeyEntry& entry) {
  std::string text;
  if (entry.flags & FCONTROL) text += "Ctrl";
  if (entry.flags & FALT) text += text.empty() ? "Alt" : "+Alt";
  if (entry.flags & FSHIFT) {
    text += text.empty() ? "Shift+" : "+Shift+";
  } else if (!text.empty()) {
    text += '+';
  }
  return text + KeyText(entry.key);
}

bool IsCaptureIgnoredKey(std::uint16_t key) {
  return std::ranges::find(kCaptureIgnoredKeys, key) != kCaptureIgnoredKeys.end();
}

AccelTable::AccelTable(std::span<const KeyEntry> entries) : entries_(entries.begin(), entries.end()) {}

std::optional<std::uint16_t> AccelTable::Translate(std::uint8_t flags, std::uint16_t key) const {
  const auto hit = std::ranges::find_if(entries_, [&](const KeyEntry& e) {
    return e.key == key && (e.flags & kMatchedFlags) == (flags & kMatchedFlags);
  });
  if (hit == entries_.end()) return std::nullopt;
  return hit->command;
}

}  // namespace lumivox
