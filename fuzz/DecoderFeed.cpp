#include "fuzz/DecoderFeed.h"

#include <gst/audio/audio.h>
#include <gst/video/video.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string_view>

namespace lumivox::fuzz {
namespace {

constexpr std::string_view kMarker = "CUT";

struct MiniObjectUnref {
  void operator()(void* object) const { gst_mini_object_unref(GST_MINI_OBJECT_CAST(object)); }
};
using BufferRef = std::unique_ptr<GstBuffer, MiniObjectUnref>;
using EventRef = std::unique_ptr<GstEvent, MiniObjectUnref>;

[[noreturn]] void Die(const char* what) {
  std::fprintf(stderr, "decoder feed: %s\n", what);
  std::abort();
}

Step::Kind KindOf(std::uint8_t command) {
  switch (command) {
    case 'F': return Step::Kind::kFlush;
    case 'D': return Step::Kind::kDiscontBuffer;
    case 'C': return Step::Kind::kCaps;
    default: return Step::Kind::kBuffer;
  }
}

// The video decoder refuses pictures larger than this a side.
constexpr gint kMaxPictureSide = 4096;

bool OutputFits(GstCaps* caps, GstBuffer* buffer) {
  const GstStructure* structure = gst_caps_get_structure(caps, 0);
  if (gst_structure_has_name(structure, "video/x-raw")) {
    GstVideoInfo info;
    GstVideoFrame frame;
    if (!gst_video_info_from_caps(&info, caps) || info.width > kMaxPictureSide || info.height > kMaxPictureSide ||
        !gst_video_frame_map(&frame, &info, buffer, GST_MAP_READ)) {
      return false;
    }
    gst_video_frame_unmap(&frame);
    return true;
  }
  GstAudioInfo info;
  return gst_structure_has_name(structure, "audio/x-raw") && gst_audio_info_from_caps(&info, caps) && info.bpf > 0 &&
         gst_buffer_get_size(buffer) % info.bpf == 0;
}

// A buffer without fixed caps, or one that does not fit them, sets the chain's flag, which is
// the pad's private data.
GstFlowReturn CheckOutput(GstPad* pad, GstObject*, GstBuffer* buffer) {
  const BufferRef owned(buffer);
  const CapsRef caps(gst_pad_get_current_caps(pad));
  if (!caps || !gst_caps_is_fixed(caps.get()) || !OutputFits(caps.get(), buffer)) {
    *static_cast<bool*>(gst_pad_get_element_private(pad)) = true;
  }
  return GST_FLOW_OK;
}

gboolean AcceptEvent(GstPad*, GstObject*, GstEvent* event) {
  const EventRef owned(event);
  return TRUE;
}

// Any caps, like a sink that takes whatever it is given.
GstStaticPadTemplate drain_template =
    GST_STATIC_PAD_TEMPLATE("drain", GST_PAD_SINK, GST_PAD_ALWAYS, GST_STATIC_CAPS_ANY);

PadRef StaticPad(const ElementRef& element, const char* name) {
  return Adopt(gst_element_get_static_pad(element.get(), name));
}

void Link(GstPad* source, GstPad* sink) {
  if (!source || !sink || gst_pad_link(source, sink) != GST_PAD_LINK_OK) Die("could not link");
}

}  // namespace

std::vector<Step> CutIntoSteps(Bytes input) {
  std::vector<Step> steps;
  const auto* const end = input.data() + input.size();
  const auto* begin = input.data();
  auto kind = Step::Kind::kBuffer;
  for (;;) {
    const auto* const cut = std::search(begin, end, kMarker.begin(), kMarker.end());
    steps.push_back({kind, Bytes(begin, cut)});
    if (cut == end) break;
    const auto* const command = cut + kMarker.size();
    kind = command == end ? Step::Kind::kBuffer : KindOf(*command);
    begin = std::min(command + 1, end);
    if (kind == Step::Kind::kFlush) {
      steps.push_back({kind, {}});
      kind = Step::Kind::kBuffer;
    }
  }
  return steps;
}

DecoderChain::DecoderChain(std::initializer_list<const char*> factories) {
  for (const char* factory : factories) {
    elements_.push_back(MakeElement(factory));
    if (!elements_.back()) Die("missing element");
  }
  feed_ = Sink(gst_pad_new("feed", GST_PAD_SRC));
  drain_ = Sink(gst_pad_new_from_static_template(&drain_template, "drain"));
  gst_pad_set_element_private(drain_.get(), &broken_);
  gst_pad_set_chain_function(drain_.get(), CheckOutput);
  gst_pad_set_event_function(drain_.get(), AcceptEvent);
  Link(feed_.get(), StaticPad(elements_.front(), "sink").get());
  for (std::size_t i = 1; i < elements_.size(); ++i) {
    Link(StaticPad(elements_[i - 1], "src").get(), StaticPad(elements_[i], "sink").get());
  }
  Link(StaticPad(elements_.back(), "src").get(), drain_.get());
}

DecoderChain::~DecoderChain() {
  for (const auto& element : elements_) gst_element_set_state(element.get(), GST_STATE_NULL);
}

// Deactivating the pads drops their sticky events and EOS, so the next stream starts clean.
// The elements let go of the stream at its end, not at the next one's start, so that whatever
// goes wrong while they do belongs to the input that caused it.
void DecoderChain::Stop() {
  gst_pad_set_active(feed_.get(), FALSE);
  gst_pad_set_active(drain_.get(), FALSE);
  for (const auto& element : elements_) gst_element_set_state(element.get(), GST_STATE_READY);
}

void DecoderChain::Start() {
  for (const auto& element : elements_) {
    if (gst_element_set_state(element.get(), GST_STATE_PAUSED) == GST_STATE_CHANGE_FAILURE) {
      Die("an element would not start");
    }
  }
  gst_pad_set_active(drain_.get(), TRUE);
  gst_pad_set_active(feed_.get(), TRUE);
}

void DecoderChain::Send(GstEvent* event) { gst_pad_push_event(feed_.get(), event); }

void DecoderChain::Flush() {
  Send(gst_event_new_flush_start());
  Send(gst_event_new_flush_stop(TRUE));
  GstSegment segment;
  gst_segment_init(&segment, GST_FORMAT_TIME);
  Send(gst_event_new_segment(&segment));
}

GstFlowReturn DecoderChain::Push(const Step& step, std::uint64_t index, GstClockTime duration) {
  BufferRef buffer(step.bytes.empty() ? gst_buffer_new() : gst_buffer_new_memdup(step.bytes.data(), step.bytes.size()));
  if (GST_CLOCK_TIME_IS_VALID(duration)) {
    GST_BUFFER_PTS(buffer.get()) = index * duration;
    GST_BUFFER_DURATION(buffer.get()) = duration;
  }
  if (step.kind == Step::Kind::kDiscontBuffer) {
    GST_BUFFER_FLAG_SET(buffer.get(), GST_BUFFER_FLAG_DISCONT);
  }
  return gst_pad_push(feed_.get(), buffer.release());
}

bool DecoderChain::Run(const Stream& stream, const std::vector<Step>& steps) {
  broken_ = false;
  Start();
  Send(gst_event_new_stream_start("fuzz"));
  Send(gst_event_new_caps(stream.caps.get()));
  GstSegment segment;
  gst_segment_init(&segment, GST_FORMAT_TIME);
  Send(gst_event_new_segment(&segment));
  GstFlowReturn flow = GST_FLOW_OK;
  std::uint64_t index = 0;
  for (const Step& step : steps) {
    if (step.kind == Step::Kind::kFlush) {
      Flush();
      flow = GST_FLOW_OK;
    } else if (flow != GST_FLOW_OK) {
      continue;
    } else if (step.kind == Step::Kind::kCaps) {
      if (const CapsRef caps = stream.caps_from(step.bytes)) Send(gst_event_new_caps(caps.get()));
    } else {
      flow = Push(step, index++, stream.frame_duration);
    }
  }
  Send(gst_event_new_eos());
  Stop();
  return !broken_;
}

namespace {

constexpr GstClockTime kAudioFrame = 1152 * GST_SECOND / 44100;
constexpr GstClockTime kVideoFrame = GST_SECOND / 25;

// A parser gets its caps unparsed and makes its own.
CapsRef AudioCaps(int layer_choice, bool parser) {
  CapsRef caps = AdoptCaps(gst_caps_new_simple("audio/mpeg", "mpegversion", G_TYPE_INT, 1, "layer", G_TYPE_INT,
                                               1 + layer_choice % 3, nullptr));
  if (!parser) gst_caps_set_simple(caps.get(), "parsed", G_TYPE_BOOLEAN, TRUE, nullptr);
  return caps;
}

struct Rate {
  gint n;
  gint d;
};
constexpr Rate kVideoRates[] = {{0, 0}, {25, 1}, {30000, 1001}, {1, 1001}};

CapsRef VideoCaps(std::uint8_t flags, Bytes codec_data) {
  CapsRef caps = AdoptCaps(gst_caps_new_simple("video/mpeg", "mpegversion", G_TYPE_INT, flags & 4 ? 2 : 1,
                                               "systemstream", G_TYPE_BOOLEAN, FALSE, nullptr));
  GstStructure* structure = gst_caps_get_structure(caps.get(), 0);
  if (!(flags & 1)) gst_structure_set(structure, "parsed", G_TYPE_BOOLEAN, TRUE, nullptr);
  if (const Rate rate = kVideoRates[flags >> 3 & 3]; rate.d != 0) {
    gst_structure_set(structure, "framerate", GST_TYPE_FRACTION, rate.n, rate.d, nullptr);
  }
  if (!codec_data.empty()) {
    GValue buffer = G_VALUE_INIT;
    g_value_init(&buffer, GST_TYPE_BUFFER);
    gst_value_take_buffer(&buffer, gst_buffer_new_memdup(codec_data.data(), codec_data.size()));
    gst_structure_take_value(structure, "codec_data", &buffer);
  }
  return caps;
}

}  // namespace

bool MpegAudioFeed::Play(Bytes input) {
  if (input.empty()) return true;
  const std::uint8_t flags = input[0];
  const bool parser = flags & 1;
  const Stream stream{AudioCaps(flags >> 2 & 3, parser),
                      [parser](Bytes payload) { return payload.empty() ? nullptr : AudioCaps(payload[0], parser); },
                      flags & 2 ? kAudioFrame : GST_CLOCK_TIME_NONE};
  return (parser ? parsed_ : direct_).Run(stream, CutIntoSteps(input.subspan(1)));
}

bool MpegVideoFeed::Play(Bytes input) {
  if (input.empty()) return true;
  const std::uint8_t flags = input[0];
  const Stream stream{VideoCaps(flags, {}), [flags](Bytes payload) { return VideoCaps(flags, payload); },
                      flags & 2 ? kVideoFrame : GST_CLOCK_TIME_NONE};
  return (flags & 1 ? parsed_ : direct_).Run(stream, CutIntoSteps(input.subspan(1)));
}

void InitGstreamer() {
  gst_init(nullptr, nullptr);
  g_log_set_always_fatal(static_cast<GLogLevelFlags>(G_LOG_LEVEL_CRITICAL | G_LOG_LEVEL_WARNING));
}

}  // namespace lumivox::fuzz
