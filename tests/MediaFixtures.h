#pragma once
// Small media files of every family the player opens, generated with GStreamer's test
// sources the first time a test asks for one and kept for the rest of the process.

#include <cstdint>
#include <string>
#include <vector>

namespace lumivox::test {

struct MediaFixture {
  std::string name;        // file name, its extension picks the source
  std::string pipeline;    // gst-launch description; the file goes at {file} or at the end
  std::int64_t duration;   // 100-ns units
  int width = 0;           // 0: audio only
  int height = 0;
  bool mpegAudio = false;  // a stream the maker's MPEG audio decoder takes
  bool mpegVideo = false;
  bool asf = false;        // read by "WM ASF Reader"
};

const std::vector<MediaFixture>& MediaTable();
const MediaFixture& Media(const std::string& name);
// The generated file of `name`; aborts the test run when it cannot be made.
std::string MediaPath(const std::string& name);

}  // namespace lumivox::test
