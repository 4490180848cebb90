// The length of an MPEG-1/2 video elementary stream from the time codes of its first and
// last groups of pictures, plus the pictures of the last group.

#include <algorithm>

#include "engine/length/MediaLength.h"
#include "engine/length/MpegVideoHeaders.h"

namespace lumivox {
namespace {

constexpr std::size_t kHeadWindow = 64 * 1024;
constexpr std::size_t kFirstTailWindow = 256 * 1024;
constexpr std::size_t kLastTailWindow = 8 * 1024 * 1024;
// Without usable time codes a file this small is counted picture by picture, a bigger one
// is given no length: a guess from the size would be no better than the engine's own.
constexpr std::uint64_t kCountLimit = 64 * 1024 * 1024;
constexpr std::size_t kCountWindow = 1024 * 1024;

struct Group {
  std::uint64_t offset = 0;
  std::int64_t frame = 0;  // the picture its time code names
  int pictures = 0;        // the pictures of the group seen after it
};

struct Head {
  FrameRate rate;
  std::optional<Group> firstGroup;
};

// The stream must open with a sequence header.
std::optional<Head> ReadHead(MediaBytes& bytes) {
  const auto window = bytes.View(0, kHeadWindow);
  const std::size_t first = FindStartCode(window, 0);
  if (window.size() - first < 4 || window[first + 3] != kSequenceHeaderCode) return std::nullopt;
  const auto rate = SequenceFrameRate(window.subspan(first));
  if (!rate) return std::nullopt;
  Head head{*rate, std::nullopt};
  ForEachStartCode(window, [&](std::size_t at, unsigned char code, std::span<const unsigned char> header) {
    if (code != kGroupStartCode || head.firstGroup) return;
    if (const auto frame = GroupTimeCodeFrame(header, *rate)) head.firstGroup = Group{at, *frame, 0};
  });
  return head;
}

// The last group in [offset, offset + window.size()), and how many pictures follow it.
std::optional<Group> LastGroup(std::span<const unsigned char> window, std::uint64_t offset, FrameRate rate) {
  std::optional<Group> last;
  ForEachStartCode(window, [&](std::size_t at, unsigned char code, std::span<const unsigned char> header) {
    if (code == kGroupStartCode) {
      if (const auto frame = GroupTimeCodeFrame(header, rate)) last = Group{offset + at, *frame, 0};
    } else if (code == kPictureStartCode && last) {
      if (const auto reference = TemporalReference(header)) last->pictures = std::max(last->pictures, *reference + 1);
    }
  });
  return last;
}

std::optional<Group> ReadLastGroup(MediaBytes& bytes, FrameRate rate) {
  for (std::size_t window = kFirstTailWindow;; window *= 4) {
    const std::uint64_t size = std::min<std::uint64_t>(std::min(window, kLastTailWindow), bytes.size());
    const std::uint64_t offset = bytes.size() - size;
    if (auto last = LastGroup(bytes.View(offset, static_cast<std::size_t>(size)), offset, rate)) return last;
    if (size == bytes.size() || window >= kLastTailWindow) return std::nullopt;
  }
}

std::optional<std::int64_t> CountPictures(MediaBytes& bytes) {
  if (bytes.size() > kCountLimit) return std::nullopt;
  std::int64_t pictures = 0;
  // Windows overlap by three bytes so that a start code across their border is seen once.
  for (std::uint64_t offset = 0; offset + 3 < bytes.size(); offset += kCountWindow - 3) {
    ForEachStartCode(bytes.View(offset, kCountWindow),
                     [&](std::size_t, unsigned char code, auto) { pictures += code == kPictureStartCode ? 1 : 0; });
  }
  return pictures > 0 ? std::optional(pictures) : std::nullopt;
}

// Time codes that stand still or go back (all zero, say) tell nothing; nor does a single
// group, which only a file small enough to count holds.
std::optional<std::int64_t> FramesFromTimeCodes(const Group& first, const Group& last) {
  if (last.offset == first.offset || last.frame <= first.frame) return std::nullopt;
  return last.frame - first.frame + last.pictures;
}

}  // namespace

std::optional<std::int64_t> MpegVideoStreamLength(MediaBytes& bytes) {
  const auto head = ReadHead(bytes);
  if (!head) return std::nullopt;
  std::optional<std::int64_t> frames;
  if (head->firstGroup) {
    if (const auto last = ReadLastGroup(bytes, head->rate)) frames = FramesFromTimeCodes(*head->firstGroup, *last);
  }
  if (!frames) frames = CountPictures(bytes);
  if (!frames || *frames <= 0) return std::nullopt;
  return FramesToTime(*frames, head->rate, kNanosecondsPerSecond);
}

}  // namespace lumivox
