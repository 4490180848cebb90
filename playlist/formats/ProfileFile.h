#pragma once
// Profile ("INI") files with the rules of the Windows profile functions, which the PLS
// format was defined by.

#include <cstdint>
#include <string>
#include <string_view>
#include <unordered_map>

#include "playlist/formats/LineReader.h"

namespace lumivox {

// The keys of one section. Section and key names match case-insensitively, spaces and
// tabs around names and values are trimmed, and the first section and the first key of
// a name win over later ones.
class ProfileSection {
 public:
  // Reads the first section called `name` from `lines` (to the end of the input).
  ProfileSection(LineReader& lines, std::string_view name);

  // The value of `key` with one pair of matching quotation marks (" or ') around the whole
  // value removed; empty when the key is missing.
  std::string_view String(std::string_view key) const;

  // GetPrivateProfileInt: leading decimal digits with an optional sign, wrapping at 32
  // bits; anything after the digits is ignored and no digits at all give 0. `fallback`
  // when the key is missing or its value is empty.
  std::int32_t Int(std::string_view key, std::int32_t fallback) const;

 private:
  void AddKey(std::string_view line);

  std::unordered_map<std::string, std::string> values_;  // by lower-cased key
};

// Writes one section, keys in the order given.
class ProfileWriter {
 public:
  explicit ProfileWriter(std::string_view section);

  void Reserve(std::size_t bytes) { text_.reserve(bytes); }
  void Add(std::string_view key, std::string_view value);
  void Add(std::string_view key, std::int64_t value);

  std::string Take() { return std::move(text_); }

 private:
  std::string text_;
};

}  // namespace lumivox
