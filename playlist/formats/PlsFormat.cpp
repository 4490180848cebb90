#include "playlist/formats/PlsFormat.h"

#include <algorithm>
#include <cstdint>
#include <functional>
#include <iterator>
#include <numeric>
#include <optional>

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

// Puts names[start + i], the value of key File<numbers[i]>, in ascending order of the
// numbers; of several equal keys the first stays, as in a Windows lookup.
void SortByNumber(std::vector<std::string>& names, std::size_t start,
                  std::vector<std::uint32_t>& numbers) {
  std::vector<std::size_t> order(numbers.size());
  std::iota(order.begin(), order.end(), std::size_t{0});
  std::stable_sort(order.begin(), order.end(),
                   [&](std::size_t a, std::size_t b) { return numbers[a] < numbers[b]; });
  std::vector<std::string> sorted;
  std::vector<std::uint32_t> sortedNumbers;
  for (const std::size_t i : order) {
    if (!sortedNumbers.empty() && sortedNumbers.back() == numbers[i]) continue;
    sorted.push_back(std::move(names[start + i]));
    sortedNumbers.push_back(numbers[i]);
  }
  names.resize(start);
  std::move(sorted.begin(), sorted.end(), std::back_inserter(names));
  numbers = std::move(sortedNumbers);
}

}  // namespace

bool PlsFormat::Read(LineReader& lines, const NameSink& sink) const {
  // Every File<n> value goes to `names`, its n beside it; a list written in order then
  // needs no sorting. What the rules do not take is cut off at the end.
  std::vector<std::string> names;
  const std::size_t start = 0;
  std::vector<std::uint32_t> numbers;
  std::optional<std::int32_t> version, count;
  ProfileSectionReader section(lines, kSection);
  for (std::string_view key, value; section.Next(key, value);) {
    if (const auto number = FileNumber(key)) {
      numbers.push_back(*number);
      names.emplace_back(value);
    } else if (!version && EqualIgnoringCase(key, "Version")) {
      version = ProfileInt(value, -1);
    } else if (!count && EqualIgnoringCase(key, "NumberOfEntries")) {
      count = ProfileInt(value, 0);
    }
  }
  if (lines.failed() || version.value_or(-1) != 2 || count.value_or(0) == 0) {
    names.resize(start);
    return false;
  }
  if (std::adjacent_find(numbers.begin(), numbers.end(), std::greater_equal<>()) != numbers.end()) {
    SortByNumber(names, start, numbers);
  }
  // File1 up to File<count>, ending at the first one missing or empty. A negative count
  // asks for nothing; a huge one costs nothing more than the keys there are.
  const auto wanted = static_cast<std::size_t>(std::max(*count, 0));
  std::size_t kept = 0;
  while (kept < wanted && kept < numbers.size() && numbers[kept] == kept + 1 &&
         !names[start + kept].empty()) {
    ++kept;
  }
  names.resize(start + kept);
  for (const std::string& name : names) sink(name);
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
