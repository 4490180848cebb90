#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace lumivox {

// 100-ns units, the time base of every position and duration.
inline constexpr std::int64_t kUnitsPerSecond = 10'000'000;
inline constexpr std::int64_t kUnknownDuration = -1;

// One playlist item. The path is kept exactly as it was added, in the same block as the
// record (see EntryList), and never changes; the title is the path's file-name part, or
// what a stream's tags named it (EntryList::SetTitle).
class PlaylistEntry {
 public:
  PlaylistEntry(const PlaylistEntry&) = delete;
  PlaylistEntry& operator=(const PlaylistEntry&) = delete;

  std::string_view path() const { return {Text(), pathLength_}; }
  std::string_view title() const { return ownTitle_ ? std::string_view(*ownTitle_) : path().substr(titleOffset_); }
  // The path with a terminating NUL, for the C functions that open files.
  const char* c_path() const { return Text(); }

  bool cannotPlay = false;     // an open failed once; stays set for the entry's life
  bool playedInRound = false;  // opened during the current shuffle round
  std::int32_t iconIndex = -1;
  std::int64_t duration = kUnknownDuration;
  std::int32_t videoWidth = -1;
  std::int32_t videoHeight = -1;
  std::int32_t bitRate = -1;

  bool durationKnown() const { return duration != kUnknownDuration; }

 private:
  friend class EntryList;
  // Only EntryList makes entries: the path's bytes follow the record in one block.
  explicit PlaylistEntry(std::string_view path);
  static std::size_t BlockSize(std::size_t pathLength) { return sizeof(PlaylistEntry) + pathLength + 1; }
  const char* Text() const { return reinterpret_cast<const char*>(this + 1); }

  std::uint32_t pathLength_;
  std::uint32_t titleOffset_;
  const std::string* ownTitle_ = nullptr;  // held by the EntryList
};

}  // namespace lumivox
