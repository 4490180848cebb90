#pragma once
// Every value of the settings store, with its section, name, type, default and the part
// of the program that reads and writes it. Adding a setting is one row in SettingsTable().

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace lumivox {

inline constexpr std::string_view kSettingsSection = "Settings";
inline constexpr std::string_view kViewSection = "View";
inline constexpr std::string_view kPlaySection = "Play";
inline constexpr std::string_view kKeySection = "Key";

enum class SettingType : std::uint8_t { Int, String };

// Who loads and saves the value: the application at start and exit, the main frame at
// its creation and close, the document when it is created, opened and closed.
enum class SettingOwner : std::uint8_t { Application, Frame, Document };

enum class SettingDefault : std::uint8_t {
  Fixed,     // the row's defaultInt or defaultText
  PerIndex,  // numbered values: indexedDefault(index)
  Computed,  // worked out by the reader at run time (the playlist width by the frame)
};

struct SettingDefinition {
  std::string_view section;
  std::string_view name;  // for numbered values the prefix of "%s%d"
  SettingType type;
  SettingOwner owner;
  SettingDefault defaultKind;
  int count;  // numbered values prefix0..prefix(count-1); 0 for a single value
  int defaultInt;
  std::string_view defaultText;
  int (*indexedDefault)(int index);
};

std::span<const SettingDefinition> SettingsTable();

// One concrete value of the store, numbered names spelled out ("Key7").
struct StoredSetting {
  std::string_view section;
  std::string name;
  SettingType type;
  SettingOwner owner;
  std::optional<int> defaultInt;  // whole numbers without a computed default
  std::string_view defaultText;   // text values
};

// Every value in table order, numbered ones in index order.
std::vector<StoredSetting> AllStoredSettings();

std::optional<StoredSetting> FindStoredSetting(std::string_view section, std::string_view name);

}  // namespace lumivox
