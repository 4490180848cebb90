#pragma once
// Small media files of every family the player opens, generated with GStreamer's test
// sources the first time a test asks for one and kept for the rest of the process.

#include <gst/gst.h>

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "engine/GstPtr.h"

namespace lumivox::test {

struct MediaFixture {
  std::string name;       // file name, its extension picks the source
  std::string pipeline;   // gst-launch description; the file goes at {file} or at the end
  std::int64_t duration;  // 100-ns units
  int width = 0;          // 0: audio only
  int height = 0;
  bool mpegAudio = false;  // a stream the maker's MPEG audio decoder takes
  bool mpegVideo = false;
  bool asf = false;         // read by "WM ASF Reader"
  int unplayedStreams = 0;  // streams the graph discards (subtitles, further tracks)
  // Turns what the pipeline wrote into the file, for formats no muxer here writes.
  std::string (*wrap)(const std::string& written) = nullptr;
};

// The classic families, one second each.
const std::vector<MediaFixture>& MediaTable();
// What people keep today, four seconds each: deep and float PCM, VBR MP3, MPEG video
// without a system layer, lossless and Ogg audio, MP4 and Matroska with subtitles; and a
// minute of ASF and of AVI whose audio comes all before the picture.
const std::vector<MediaFixture>& CorpusTable();
const MediaFixture& Media(const std::string& name);
// The generated file of `name`; aborts the test run when it cannot be made.
std::string MediaPath(const std::string& name);

// Runs the gst-launch `description` to its end. Each buffer that reaches the element named
// "probe" goes to `onBuffer`, and `caps` gets the caps there at the end. False, and why on
// stderr, when it does not end.
bool RunPipeline(const std::string& description, const std::function<void(GstBuffer*)>& onBuffer = {},
                 CapsRef* caps = nullptr);
// Runs `pipeline` into `file`, at its {file} or else at its end, then writes the file anew
// through `wrap`.
bool WriteMedia(const std::string& pipeline, const std::string& file,
                const std::function<std::string(const std::string&)>& wrap = {});

}  // namespace lumivox::test
