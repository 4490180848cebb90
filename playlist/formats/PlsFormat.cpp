#include "playlist/formats/PlsFormat.h"

#include <algorithm>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "playlist/PathText.h"
#include "playlist/formats/ProfileFile.h"

namespace lumivox {
namespace {

constexpr std::string_view kSection = "playlist";

// The n of a "File<n>" key, as "File%d" would spell it: no sign, no leading zero.
std::optional<std::uint32_t> FileNumber(std::string_view key) {
  constexpr std::string_view kPrefix = "file";
  if (key.size() <= kPrefix.size() || !EqualIgnoringCase(key.substr(0, kPrefix.size()), kPrefix)) {
    return {};
  }
  const std::string_view digits = key.substr(kPrefix.size());
  if (digits[0] == '0' || digits.size() > 10) return {};
  std::uint64_t number = 0;
  for (const char c : digits) {
    if (c < '0' || c > '9') return {};
    number = number * 10 + static_cast<std::uint64_t>(c - '0');
  }
  if (number > INT32_MAX) return {};
  return static_cast<std::uint32_t>(number);
}

// The File<n> values in one buffer, each with its n: a long list costs one growing
// allocation instead of one per name.
struct FileValues {
  std::string text;
  struct Value {
    std::uint32_t number;
    std::uint32_t size;
    std::size_t offset;
  };
  std::vector<Value> values;

  void Add(std::uint32_t number, std::string_view value) {
    values.push_back({number, static_cast<std::uint32_t>(value.size()), text.size()});
    text.append(value);
  }
  std::string_view Name(const Value& value) const { return std::string_view(text).substr(value.offset, value.size); }

  // Ascending order of the numbers; of several equal keys the first stays, as a profile
  // lookup finds the first.
  void SortByNumber() {
    std::stable_sort(values.begin(), values.end(), [](const Value& a, const Value& b) { return a.number < b.number; });
    values.erase(
        std::unique(values.begin(), values.end(), [](const Value& a, const Value& b) { return a.number == b.number; }),
        values.end());
  }
};

}  // namespace

bool PlsFormat::Read(LineReader& lines, const NameSink& sink) const {
  // A list written in order needs no sorting. What the rules do not take is cut off at
  // the end.
  FileValues files;
  std::optional<std::int32_t> version, count;
  ProfileSectionReader section(lines, kSection);
  for (std::string_view key, value; section.Next(key, value);) {
    if (const auto number = FileNumber(key)) {
      files.Add(*number, value);
    } else if (!version && EqualIgnoringCase(key, "Version")) {
      version = ProfileInt(value, -1);
    } else if (!count && EqualIgnoringCase(key, "NumberOfEntries")) {
      count = ProfileInt(value, 0);
    }
  }
  if (lines.failed() || version.value_or(-1) != 2 || count.value_or(0) == 0) return false;
  auto& values = files.values;
  if (std::adjacent_find(values.begin(), values.end(),
                         [](const auto& a, const auto& b) { return a.number >= b.number; }) != values.end()) {
    files.SortByNumber();
  }
  // File1 up to File<count>, ending at the first one missing or empty. A negative count
  // asks for nothing; a huge one costs nothing more than the keys there are.
  const auto wanted = static_cast<std::size_t>(std::max(*count, 0));
  std::size_t kept = 0;
  while (kept < wanted && kept < values.size() && values[kept].number == kept + 1 && values[kept].size != 0) {
    ++kept;
  }
  for (std::size_t i = 0; i < kept; ++i) sink(files.Name(values[i]));
  return kept == wanted;
}

void PlsFormat::Write(const EntryList& entries, TextOutput& out) const {
  ProfileWriter profile(out, kSection);
  std::int64_t n = 0;
  for (const PlaylistEntry* entry : entries) {
    ++n;
    profile.Add("File", n, entry->path());
    if (!entry->title().empty()) profile.Add("Title", n, entry->title());
    if (entry->durationKnown()) profile.Add("Length", n, std::int64_t{ListSeconds(*entry)});
  }
  profile.Add("NumberOfEntries", n);
  profile.Add("Version", std::int64_t{2});
}

}  // namespace lumivox
