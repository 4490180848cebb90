#include "settings/SettingsTable.h"

#include <algorithm>

#include "settings/KeyTable.h"
#include "settings/PlayerOptions.h"
#include "settings/SettingsStore.h"

namespace lumivox {
namespace {

int DefaultColorValue(int index) {
  ColorRef colour = 0;
  GetDefaultPlayerColor(index, colour);
  return static_cast<int>(colour);
}

int DefaultKeyValue(int index) {
  KeyEntry entry;
  GetDefaultAccel(index, entry);
  return entry.key;
}

int DefaultVirtValue(int index) {
  KeyEntry entry;
  GetDefaultAccel(index, entry);
  return entry.flags;
}

constexpr SettingDefinition Int(std::string_view section, std::string_view name, int value, SettingOwner owner) {
  return {section, name, SettingType::Int, owner, SettingDefault::Fixed, 0, value, {}, nullptr};
}

constexpr SettingDefinition Text(std::string_view section, std::string_view name, std::string_view value,
                                 SettingOwner owner) {
  return {section, name, SettingType::String, owner, SettingDefault::Fixed, 0, 0, value, nullptr};
}

constexpr SettingDefinition NumberedInt(std::string_view section, std::string_view prefix, int count, int (*value)(int),
                                        SettingOwner owner) {
  return {section, prefix, SettingType::Int, owner, SettingDefault::PerIndex, count, 0, {}, value};
}

constexpr SettingDefinition ComputedInt(std::string_view section, std::string_view name, SettingOwner owner) {
  return {section, name, SettingType::Int, owner, SettingDefault::Computed, 0, 0, {}, nullptr};
}

constexpr auto App = SettingOwner::Application;
constexpr auto Frame = SettingOwner::Frame;
constexpr auto Doc = SettingOwner::Document;

// The application's rows come in the order LoadSettings reads them.
constexpr SettingDefinition kSettingsTable[] = {
    Text(kSettingsSection, "LastDir", "", App),
    Int(kSettingsSection, "TrayIcon", 0, App),
    Int(kSettingsSection, "LoadLastList", 1, App),
    Int(kSettingsSection, "AddExisted", 1, App),
    Int(kSettingsSection, "Lumivault", 0, App),
    Int(kSettingsSection, "VolumeMode", 0, App),
    Int(kSettingsSection, "RestoreVolume", 0, App),
    Int(kSettingsSection, "MpegSoftDecoder", 1, App),
    Int(kViewSection, "AspectRatio", 3, App),
    NumberedInt(kViewSection, "PlayerColor", kPlayerColorCount, DefaultColorValue, App),
    Int(kViewSection, "ToolBar", 1, Frame),
    Int(kViewSection, "SeekBar", 1, Frame),
    Int(kViewSection, "TopMost", 0, Frame),
    Int(kViewSection, "ViewMode", 1, Frame),
    Int(kViewSection, "Left", -1, Frame),
    Int(kViewSection, "Top", -1, Frame),
    Int(kViewSection, "Right", -1, Frame),
    Int(kViewSection, "Bottom", -1, Frame),
    ComputedInt(kViewSection, "PlayListWidth", Frame),  // a quarter of the client width
    Int(kPlaySection, "Shuffle", 0, Doc),
    Int(kPlaySection, "Repeat", 0, Doc),
    Int(kPlaySection, "SkipInterval", 5, Doc),
    NumberedInt(kKeySection, "Key", kKeyCount, DefaultKeyValue, App),
    NumberedInt(kKeySection, "Virt", kKeyCount, DefaultVirtValue, App),
};

StoredSetting Stored(const SettingDefinition& row, std::string name, std::optional<int> defaultInt) {
  return {row.section, std::move(name), row.type, row.owner, defaultInt, row.defaultText};
}

}  // namespace

std::span<const SettingDefinition> SettingsTable() { return kSettingsTable; }

std::vector<StoredSetting> AllStoredSettings() {
  std::vector<StoredSetting> all;
  for (const SettingDefinition& row : kSettingsTable) {
    switch (row.defaultKind) {
      case SettingDefault::Fixed:
        all.push_back(Stored(row, std::string(row.name),
                             row.type == SettingType::Int ? std::optional(row.defaultInt) : std::nullopt));
        break;
      case SettingDefault::PerIndex:
        for (int i = 0; i < row.count; ++i) {
          all.push_back(Stored(row, NumberedName(row.name, i), row.indexedDefault(i)));
        }
        break;
      case SettingDefault::Computed: all.push_back(Stored(row, std::string(row.name), std::nullopt)); break;
    }
  }
  return all;
}

std::optional<StoredSetting> FindStoredSetting(std::string_view section, std::string_view name) {
  auto all = AllStoredSettings();
  const auto hit =
      std::ranges::find_if(all, [&](const StoredSetting& s) { return s.section == section && s.name == name; });
  if (hit == all.end()) return std::nullopt;
  return std::move(*hit);
}

}  // namespace lumivox
