#pragma once
// The audio and video packets of a stretch of an MPEG-1/2 program stream, gathered stream
// by stream.

#include <cstddef>
#include <cstdint>
#include <map>
#include <span>
#include <vector>

namespace lumivox {

struct PesTimeStamp {
  std::size_t payloadBegin = 0;  // where the packet's payload begins in the stream's bytes
  std::int64_t pts = 0;          // 90 kHz, 33 bits
};

struct PesStream {
  std::vector<unsigned char> payload;  // the stream's bytes, packet after packet
  std::vector<PesTimeStamp> timeStamps;
};

inline bool IsVideoStream(int id) { return id >= 0xE0 && id <= 0xEF; }

// MPEG audio (C0-DF) and video (E0-EF) streams by id, read from the first pack header on;
// none when `window` holds no pack header. Junk or a cut packet is stepped over to the
// next pack.
std::map<int, PesStream> ReadPesStreams(std::span<const unsigned char> window);

}  // namespace lumivox
