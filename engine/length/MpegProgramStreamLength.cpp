// The length of an MPEG-1/2 program stream: from the earliest time stamp near the start to
// where the last stream ends near the end. Only a window at each end is read.

#include <algorithm>
#include <cstdlib>
#include <utility>

#include "engine/length/MediaLength.h"
#include "engine/length/MpegAudioFrames.h"
#include "engine/length/MpegProgramStream.h"
#include "engine/length/MpegVideoHeaders.h"

namespace lumivox {
namespace {

constexpr std::size_t kFirstHeadWindow = 64 * 1024;
constexpr std::size_t kLastHeadWindow = 4 * 1024 * 1024;
// Enough for the last group of pictures of most streams; grown when it is not.
constexpr std::size_t kFirstTailWindow = 256 * 1024;
constexpr std::size_t kLastTailWindow = 8 * 1024 * 1024;
constexpr std::int64_t kClockWrap = std::int64_t{1} << 33;

using Rates = std::map<int, FrameRate>;

// `to - from` on the 33-bit clock, the shorter way round.
std::int64_t ClockDistance(std::int64_t from, std::int64_t to) {
  const std::int64_t forward = ((to - from) % kClockWrap + kClockWrap) % kClockWrap;
  return forward > kClockWrap / 2 ? forward - kClockWrap : forward;
}

std::int64_t Ticks(std::int64_t frames, FrameRate rate) { return FramesToTime(frames, rate, kTicksPerSecond); }

std::int64_t Later(std::optional<std::int64_t> ticks, std::int64_t other) {
  return ticks ? std::max(*ticks, other) : other;
}

std::optional<FrameRate> StreamRate(int id, const PesStream& stream) {
  if (IsVideoStream(id)) {
    std::optional<FrameRate> rate;
    ForEachStartCode(stream.payload, [&](std::size_t, unsigned char code, std::span<const unsigned char> header) {
      if (!rate && code == kSequenceHeaderCode) rate = SequenceFrameRate(header);
    });
    return rate;
  }
  MemoryBytes bytes(stream.payload);
  MpegAudioFrames frames(bytes, 0, bytes.size(), bytes.size());
  const auto frame = frames.Next();
  return frame ? std::optional(frame->header.rate()) : std::nullopt;
}

void AddRates(const std::map<int, PesStream>& streams, Rates& rates) {
  for (const auto& [id, stream] : streams) {
    if (rates.contains(id)) continue;
    if (const auto rate = StreamRate(id, stream)) rates[id] = *rate;
  }
}

struct Start {
  std::int64_t pts = 0;
  Rates rates;
};

std::optional<std::int64_t> EarliestTimeStamp(const std::map<int, PesStream>& streams) {
  std::optional<std::int64_t> reference;
  std::int64_t earliest = 0;
  for (const auto& [id, stream] : streams) {
    for (const auto& stamp : stream.timeStamps) {
      if (!reference) reference = stamp.pts;
      earliest = std::min(earliest, ClockDistance(*reference, stamp.pts));
    }
  }
  if (!reference) return std::nullopt;
  return ((*reference + earliest) % kClockWrap + kClockWrap) % kClockWrap;
}

// The head window grows until it holds a time stamp.
std::optional<Start> ReadStart(MediaBytes& bytes) {
  for (std::size_t window = kFirstHeadWindow;; window *= 4) {
    const std::uint64_t size = std::min<std::uint64_t>(window, bytes.size());
    const auto streams = ReadPesStreams(bytes.View(0, static_cast<std::size_t>(size)));
    if (const auto pts = EarliestTimeStamp(streams)) {
      Start start{*pts, {}};
      AddRates(streams, start.rates);
      return start;
    }
    if (size == bytes.size() || window >= kLastHeadWindow) return std::nullopt;
  }
}

// The first unit (audio frame or picture) to begin in a time-stamped packet carries its
// stamp; units are asked for in the order of the stream's bytes.
class StampCursor {
 public:
  StampCursor(const std::vector<PesTimeStamp>& stamps, std::int64_t start) : stamps_(stamps), start_(start) {}

  // The stamp, as ticks from the start, of a unit beginning at `offset` in the payload.
  std::optional<std::int64_t> For(std::size_t offset) {
    std::optional<std::int64_t> ticks;
    for (; next_ < stamps_.size() && stamps_[next_].payloadBegin <= offset; ++next_) {
      ticks = ClockDistance(start_, stamps_[next_].pts);
    }
    return ticks;
  }

 private:
  const std::vector<PesTimeStamp>& stamps_;
  std::int64_t start_;
  std::size_t next_ = 0;
};

// Units counted in some order from a stamped one: each stamp fixes where unit 0 would
// stand, and stamps that disagree on it show the order is not the one the stamps follow.
class UnitClock {
 public:
  explicit UnitClock(FrameRate rate) : rate_(rate) {}

  void Stamp(std::int64_t position, std::int64_t ticks) {
    const std::int64_t origin = ticks - Ticks(position, rate_);
    if (stamped_ && std::abs(origin - origin_) * 2 > Ticks(1, rate_)) ++disagreements_;
    origin_ = origin;
    stamped_ = true;
  }
  bool stamped() const { return stamped_; }
  int disagreements() const { return disagreements_; }
  // Where `units` units from unit 0 end.
  std::optional<std::int64_t> End(std::int64_t units) const {
    return stamped_ ? std::optional(origin_ + Ticks(units, rate_)) : std::nullopt;
  }

 private:
  FrameRate rate_;
  bool stamped_ = false;
  std::int64_t origin_ = 0;
  int disagreements_ = 0;
};

struct StreamEnd {
  std::optional<std::int64_t> ticks;
  bool settled = false;  // a bigger window would not tell more
};

StreamEnd AudioEnd(const PesStream& stream, FrameRate rate, std::int64_t start) {
  MemoryBytes bytes(stream.payload);
  MpegAudioFrames frames(bytes, 0, bytes.size(), bytes.size());
  StampCursor stamps(stream.timeStamps, start);
  UnitClock clock(rate);
  std::int64_t count = 0;
  for (; const auto frame = frames.Next(); ++count) {
    if (const auto ticks = stamps.For(frame->offset)) clock.Stamp(count, *ticks);
  }
  return {clock.End(count), clock.stamped()};
}

// Pictures reckoned two ways: in display order (groups and temporal references), as the
// stamps should be, and in stream order, as some muxers stamp streams with B pictures. The
// order the stamps agree with wins.
StreamEnd VideoEnd(const PesStream& stream, FrameRate rate, std::int64_t start) {
  StampCursor stamps(stream.timeStamps, start);
  UnitClock streamOrder(rate);
  UnitClock displayOrder(rate);
  std::int64_t pictures = 0;
  std::optional<std::int64_t> groupStart;  // display position of the group's first picture
  int groupPictures = 0;
  ForEachStartCode(stream.payload, [&](std::size_t at, unsigned char code, std::span<const unsigned char> header) {
    if (code == kGroupStartCode) {
      groupStart = groupStart ? *groupStart + std::exchange(groupPictures, 0) : 0;
      return;
    }
    if (code != kPictureStartCode) return;
    const auto ticks = stamps.For(at);
    if (ticks) streamOrder.Stamp(pictures, *ticks);
    ++pictures;
    const auto reference = TemporalReference(header);
    if (!groupStart || !reference) return;
    if (ticks) displayOrder.Stamp(*groupStart + *reference, *ticks);
    groupPictures = std::max(groupPictures, *reference + 1);
  });
  if (displayOrder.stamped() && displayOrder.disagreements() <= streamOrder.disagreements()) {
    return {displayOrder.End(*groupStart + groupPictures), true};
  }
  return {streamOrder.End(pictures), displayOrder.stamped()};
}

StreamEnd EndOf(int id, const PesStream& stream, const Rates& rates, std::int64_t start) {
  std::optional<std::int64_t> latest;
  for (const auto& stamp : stream.timeStamps) {
    latest = Later(latest, ClockDistance(start, stamp.pts));
  }
  const auto rate = rates.find(id);
  if (rate == rates.end()) return {latest, true};
  if (!latest) return {};
  const StreamEnd reckoned =
      IsVideoStream(id) ? VideoEnd(stream, rate->second, start) : AudioEnd(stream, rate->second, start);
  // Units that could not be told apart end with the latest stamped one.
  return {reckoned.ticks.value_or(*latest + Ticks(1, rate->second)), reckoned.settled};
}

StreamEnd ProgramEnd(const std::map<int, PesStream>& streams, Rates rates, std::int64_t start) {
  AddRates(streams, rates);
  StreamEnd end{std::nullopt, true};
  for (const auto& [id, stream] : streams) {
    const StreamEnd streamEnd = EndOf(id, stream, rates, start);
    if (streamEnd.ticks) end.ticks = Later(end.ticks, *streamEnd.ticks);
    end.settled = end.settled && streamEnd.settled;
  }
  end.settled = end.settled && end.ticks.has_value();
  return end;
}

// The tail window grows until every stream's end is settled.
std::optional<std::int64_t> ReadEnd(MediaBytes& bytes, const Start& start) {
  for (std::size_t window = kFirstTailWindow;; window *= 4) {
    const std::uint64_t size = std::min<std::uint64_t>(std::min(window, kLastTailWindow), bytes.size());
    const std::uint64_t offset = bytes.size() - size;
    const auto end =
        ProgramEnd(ReadPesStreams(bytes.View(offset, static_cast<std::size_t>(size))), start.rates, start.pts);
    if (end.settled || size == bytes.size() || window >= kLastTailWindow) return end.ticks;
  }
}

}  // namespace

std::optional<std::int64_t> MpegProgramStreamLength(MediaBytes& bytes) {
  const auto start = ReadStart(bytes);
  if (!start) return std::nullopt;
  const auto end = ReadEnd(bytes, *start);
  if (!end || *end <= 0) return std::nullopt;
  return MulDiv(*end, kNanosecondsPerSecond, kTicksPerSecond);
}

}  // namespace lumivox
