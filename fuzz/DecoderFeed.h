#pragma once
// Feeds fuzz input through real decoder elements the way a demuxer would: stream start,
// caps, a segment, buffers, EOS. The elements are made once and reset for every input, so an
// input costs a state change rather than a pipeline. The fuzz targets and the corpus replay
// test share this.
//
// An input's first byte chooses the elements and the caps (see the feeds below). The rest is
// cut into buffers at the marker "CUT"; the byte after a marker says what happens there:
//   'F'  a flushing seek,
//   'D'  the next buffer is a discontinuity,
//   'C'  the bytes up to the next marker are the payload of new caps, not a buffer,
//   any other byte only ends the buffer before it.

#include <gst/gst.h>

#include <cstdint>
#include <functional>
#include <initializer_list>
#include <span>
#include <vector>

#include "engine/GstPtr.h"

namespace lumivox::fuzz {

using Bytes = std::span<const std::uint8_t>;

struct Step {
  enum class Kind { kBuffer, kDiscontBuffer, kFlush, kCaps };
  Kind kind;
  Bytes bytes;  // the buffer's data or the caps' payload
};

std::vector<Step> CutIntoSteps(Bytes input);

struct Stream {
  CapsRef caps;
  std::function<CapsRef(Bytes payload)> caps_from;
  GstClockTime frame_duration = GST_CLOCK_TIME_NONE;  // none: buffers carry no timestamps
};

// Elements linked in a row between a pad that feeds them and one that checks what comes out.
class DecoderChain {
 public:
  DecoderChain(std::initializer_list<const char*> factories);
  ~DecoderChain();
  DecoderChain(const DecoderChain&) = delete;
  DecoderChain& operator=(const DecoderChain&) = delete;

  // One whole stream from a fresh start; false when a buffer came out that does not fit its
  // caps. After a flow error buffers are held back until the next flush, as a source would
  // stop until a seek.
  bool Run(const Stream& stream, const std::vector<Step>& steps);

 private:
  void Start();
  void Stop();
  void Send(GstEvent* event);
  void Flush();
  GstFlowReturn Push(const Step& step, std::uint64_t index, GstClockTime duration);

  std::vector<ElementRef> elements_;
  PadRef feed_;
  PadRef drain_;
  bool broken_ = false;
};

// halcyonmpegaudiodec, straight with one buffer per cut, or behind mpegaudioparse, which
// hands it whole frames of whatever the input holds. First byte: bit 0 behind the parser,
// bit 1 timestamped buffers, bits 2-3 the layer the caps announce (1 + value % 3). A caps
// payload's first byte chooses the layer the same way.
class MpegAudioFeed {
 public:
  bool Play(Bytes input);  // false when a buffer came out that does not fit its caps

 private:
  DecoderChain direct_{"halcyonmpegaudiodec"};
  DecoderChain parsed_{"mpegaudioparse", "halcyonmpegaudiodec"};
};

// halcyonmpegvideodec, straight with one picture per cut, or behind mpegvideoparse, which
// finds the pictures itself. First byte: bit 0 behind the parser, bit 1 timestamped buffers,
// bit 2 MPEG-2 rather than MPEG-1, bits 3-4 the frame rate the caps announce (none, 25,
// 30000/1001, 1/1001) for streams whose sequence header has none. A caps payload is the
// caps' codec_data, which the decoder feeds itself after every flush and drain.
class MpegVideoFeed {
 public:
  bool Play(Bytes input);

 private:
  DecoderChain direct_{"halcyonmpegvideodec"};
  DecoderChain parsed_{"mpegvideoparse", "halcyonmpegvideodec"};
};

// For the fuzz targets: GStreamer initialised, with GLib warnings and criticals fatal, since
// either means an element was misused.
void InitGstreamer();

}  // namespace lumivox::fuzz
