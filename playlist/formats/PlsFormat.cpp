#include "playlist/formats/PlsFormat.h"

#include "playlist/formats/ProfileFile.h"

namespace lumivox {
namespace {

constexpr std::string_view kSection = "playlist";

std::string NumberedKey(std::string_view prefix, std::int64_t number) {
  std::string key(prefix);
  AppendDecimal(key, number);
  return key;
}

}  // namespace

bool PlsFormat::Read(LineReader& lines, std::vector<std::string>& names) const {
  const ProfileSection section(lines, kSection);
  if (lines.failed() || section.Int("Version", -1) != 2) return false;
  const std::int32_t count = section.Int("NumberOfEntries", 0);
  if (count == 0) return false;
  // The count is only a promise: stop at the first missing name, so a huge count costs
  // nothing.
  for (std::int64_t n = 1; n <= count; ++n) {
    const std::string_view name = section.String(NumberedKey("File", n));
    if (name.empty()) return false;
    names.emplace_back(name);
  }
  return true;
}

std::optional<std::string> PlsFormat::Write(const EntryList& entries) const {
  std::size_t bytes = 64;
  for (const auto& entry : entries) bytes += entry->path().size() * 2 + 48;
  ProfileWriter profile(kSection);
  profile.Reserve(bytes);
  std::int64_t n = 0;
  for (const auto& entry : entries) {
    ++n;
    profile.Add(NumberedKey("File", n), entry->path());
    if (!entry->title().empty()) profile.Add(NumberedKey("Title", n), entry->title());
    if (entry->durationKnown()) profile.Add(NumberedKey("Length", n), ListSeconds(*entry));
  }
  profile.Add("NumberOfEntries", n);
  profile.Add("Version", std::int64_t{2});
  return profile.Take();
}

}  // namespace lumivox
