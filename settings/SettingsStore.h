#pragma once
// The per-user settings store: named values in sections, read with a default.
// Whole numbers are kept in 32 bits and read back signed.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace lumivox {

class ISettingsStore {
 public:
  virtual ~ISettingsStore() = default;

  // A missing value, or one that cannot be read as the asked type, gives `defaultValue`.
  virtual int GetProfileInt(std::string_view section, std::string_view name, int defaultValue) = 0;
  virtual void WriteProfileInt(std::string_view section, std::string_view name, int value) = 0;
  virtual std::string GetProfileString(std::string_view section, std::string_view name,
                                       std::string_view defaultValue) = 0;
  virtual void WriteProfileString(std::string_view section, std::string_view name, std::string_view value) = 0;

  // Puts what was written on disk. A failure is silent: the values stay in memory.
  virtual void Flush() = 0;
};

// Reads a stored whole number: optional blanks around an optional sign and decimal
// digits. The number is taken modulo 2^32 and read as signed, so "4294967295" is -1
// and any digit count is accepted. Anything else is nullopt.
std::optional<std::int32_t> ParseProfileInt(std::string_view text);

// The name of a numbered value, "%s%d": NumberedName("Key", 7) == "Key7".
std::string NumberedName(std::string_view prefix, int index);

}  // namespace lumivox
