#pragma once
// Profile ("INI") files read by the rules PLS lists are written for: the first section
// of a name and the first of equal keys count, names match in any case.

#include <cstdint>
#include <string_view>

#include "playlist/formats/LineReader.h"
#include "playlist/formats/TextOutput.h"

namespace lumivox {

// The keys of the first section of a given name, in file order. Section names match
// case-insensitively; spaces and tabs around names and values are trimmed, and one pair
// of matching quotation marks (" or ') around a whole value is removed. Lines without
// '=' are no keys. Later sections of the same name are not looked at, and a reader that
// wants a profile lookup takes the first of several equal keys.
class ProfileSectionReader {
 public:
  ProfileSectionReader(LineReader& lines, std::string_view section);

  // The next key of the section; both views live until the next call. False at the
  // end of the section.
  bool Next(std::string_view& key, std::string_view& value);

 private:
  LineReader& lines_;
  std::string_view section_;
  bool inside_ = false;
  bool done_ = false;
};

// A value read as a whole number: leading decimal digits with an optional sign, wrapping
// at 32 bits; anything after the digits is ignored and no digits at all give 0. An empty
// value gives `fallback`, as a missing key does.
std::int32_t ProfileInt(std::string_view value, std::int32_t fallback);

// Writes one section, keys in the order given.
class ProfileWriter {
 public:
  ProfileWriter(TextOutput& out, std::string_view section);

  void Add(std::string_view key, std::string_view value);
  void Add(std::string_view key, std::int64_t value);
  // Numbered keys: ("File", 3, ...) writes File3=...
  void Add(std::string_view key, std::int64_t number, std::string_view value);
  void Add(std::string_view key, std::int64_t number, std::int64_t value);

 private:
  TextOutput& out_;
};

}  // namespace lumivox
