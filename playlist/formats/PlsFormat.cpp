#include "playlist/formats/PlsFormat.h"

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <optional>
#include <string_view>
#include <utility>
#include <vector>

#include "playlist/PageMapping.h"
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

// The File<n> values in the order read, each as its n, its length and its bytes, packed
// into blocks that never move: a long list is copied once instead of at every doubling
// of one buffer, and its big blocks are huge pages (PageMapping.h).
class FileValues {
 public:
  void Add(std::uint32_t number, std::string_view value) {
    const Header header{number, static_cast<std::uint32_t>(value.size())};
    const std::size_t bytes = sizeof header + value.size();
    if (blocks_.empty() || blocks_.back().size - blocks_.back().used < bytes) Grow(bytes);
    Block& block = blocks_.back();
    char* at = static_cast<char*>(block.pages.get()) + block.used;
    std::memcpy(at, &header, sizeof header);
    std::memcpy(at + sizeof header, value.data(), value.size());
    block.used += bytes;
    ordered_ = ordered_ && (empty_ || number > last_);
    last_ = number;
    empty_ = false;
  }
  // Ascending numbers, none twice.
  bool ordered() const { return ordered_; }

  // Hands each value with its number to `take`, in the order added, until it says stop.
  // With `release`, each block goes back to the system once read: the entries made of a
  // long list's names then take pages just freed instead of fresh ones, which on a virtual
  // machine can cost as much again to fault in.
  template <class Take>
  void ForEach(Take take, bool release = false) {
    for (Block& block : blocks_) {
      const char* base = static_cast<const char*>(block.pages.get());
      for (std::size_t at = 0; at < block.used;) {
        Header header;
        std::memcpy(&header, base + at, sizeof header);
        if (!take(header.number, std::string_view(base + at + sizeof header, header.size))) return;
        at += sizeof header + header.size;
      }
      if (release) block.pages.reset();
    }
  }

 private:
  static constexpr std::size_t kFirstBlock = 64 * 1024;
  struct Header {
    std::uint32_t number;
    std::uint32_t size;
  };
  struct Block {
    PageMapping pages;
    std::size_t size;
    std::size_t used;
  };

  // Small lists stay small; a big one's blocks are huge pages from the sixth on.
  void Grow(std::size_t bytes) {
    const std::size_t next = blocks_.empty() ? kFirstBlock : std::min(kHugePageBytes, 2 * blocks_.back().size);
    const std::size_t size = std::max(next, bytes);
    blocks_.push_back({MapPages(size), size, 0});
  }

  std::vector<Block> blocks_;
  bool ordered_ = true;
  bool empty_ = true;
  std::uint32_t last_ = 0;
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
  // File1 up to File<count>, ending at the first one missing or empty. A negative count
  // asks for nothing; a huge one costs nothing more than the keys there are.
  const auto wanted = static_cast<std::uint32_t>(std::max(*count, 0));
  std::uint32_t kept = 0;
  const auto take = [&](std::uint32_t number, std::string_view name) {
    if (kept == wanted || number != kept + 1 || name.empty()) return false;
    ++kept;
    sink(name);
    return true;
  };
  if (files.ordered()) {
    files.ForEach(take, true);
    return kept == wanted;
  }
  // Ascending order of the numbers; of several equal keys the first stays, as a profile
  // lookup finds the first.
  std::vector<std::pair<std::uint32_t, std::string_view>> sorted;
  files.ForEach([&](std::uint32_t number, std::string_view name) {
    sorted.emplace_back(number, name);
    return true;
  });
  std::stable_sort(sorted.begin(), sorted.end(), [](const auto& a, const auto& b) { return a.first < b.first; });
  sorted.erase(
      std::unique(sorted.begin(), sorted.end(), [](const auto& a, const auto& b) { return a.first == b.first; }),
      sorted.end());
  for (const auto& [number, name] : sorted) {
    if (!take(number, name)) break;
  }
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
