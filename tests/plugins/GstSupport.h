#pragma once
// GStreamer plumbing for the plugin tests: the plugin from the build tree, pipelines run to
// their end, and what passes a pad.

#include <gst/gst.h>
#include <gst/video/video.h>
#include <gtest/gtest.h>

#include <mutex>
#include <string>
#include <vector>

#include "engine/GstPtr.h"

namespace lumivox::test {

inline void LoadHalcyonPlugin() {
  [[maybe_unused]] static const bool loaded =
      (gst_init(nullptr, nullptr), gst_registry_scan_path(gst_registry_get(), HALCYON_PLUGIN_DIR));
}

enum class Outcome { kEos, kError, kTimeout };

class Pipeline {
 public:
  explicit Pipeline(const std::string& description) {
    LoadHalcyonPlugin();
    GError* parse_error = nullptr;
    // Always a bin, so a lone element gets a pipeline and a bus too.
    const auto flags = static_cast<GstParseFlags>(GST_PARSE_FLAG_FATAL_ERRORS | GST_PARSE_FLAG_PLACE_IN_BIN);
    GstElement* bin = gst_parse_launch_full(description.c_str(), nullptr, flags, &parse_error);
    if (const GErrorPtr owned{parse_error}) error = owned->message;
    pipeline_ = Sink(gst_pipeline_new(nullptr));
    if (bin) gst_bin_add(GST_BIN(get()), bin);
  }
  ~Pipeline() { Set(GST_STATE_NULL); }

  GstElement* get() const { return pipeline_.get(); }
  // The pipeline keeps the reference.
  GstElement* operator[](const char* name) const { return Adopt(gst_bin_get_by_name(GST_BIN(get()), name)).get(); }
  GstStateChangeReturn Set(GstState state) { return gst_element_set_state(get(), state); }
  bool Settle() { return gst_element_get_state(get(), nullptr, nullptr, 10 * GST_SECOND) == GST_STATE_CHANGE_SUCCESS; }
  bool Preroll() { return Set(GST_STATE_PAUSED) != GST_STATE_CHANGE_FAILURE && Settle(); }
  bool Seek(GstClockTime position) {  // flushing and accurate, prerolled again
    const auto flags = static_cast<GstSeekFlags>(GST_SEEK_FLAG_FLUSH | GST_SEEK_FLAG_ACCURATE);
    return gst_element_seek_simple(get(), GST_FORMAT_TIME, flags, position) && Settle();
  }
  Outcome Play() {
    if (Set(GST_STATE_PLAYING) == GST_STATE_CHANGE_FAILURE) return Outcome::kError;
    return Wait(10 * GST_SECOND);
  }
  // The end of the stream or an error, whose text is kept.
  Outcome Wait(GstClockTime timeout) {
    const auto bus = Adopt(gst_element_get_bus(get()));
    const auto types = static_cast<GstMessageType>(GST_MESSAGE_EOS | GST_MESSAGE_ERROR);
    const MessageRef message(gst_bus_timed_pop_filtered(bus.get(), timeout, types));
    if (!message) return Outcome::kTimeout;
    if (GST_MESSAGE_TYPE(message.get()) == GST_MESSAGE_EOS) return Outcome::kEos;
    GError* gerror = nullptr;
    gst_message_parse_error(message.get(), &gerror, nullptr);
    error = GErrorPtr(gerror)->message;
    return Outcome::kError;
  }

  std::string error;  // the parse error or the last error message

 private:
  ElementRef pipeline_;
};

struct Recorded {
  GstClockTimeDiff time;  // stream time of the PTS, or of the DTS when there is no PTS
  GstClockTime duration;
  std::string data;  // video: the planes without row padding; otherwise the bytes
};

// What passes a pad; a flush forgets everything before it.
class Recorder {
 public:
  Recorder(GstElement* element, const char* pad_name) : pad_(Adopt(gst_element_get_static_pad(element, pad_name))) {
    const auto types = GstPadProbeType(GST_PAD_PROBE_TYPE_BUFFER | GST_PAD_PROBE_TYPE_EVENT_FLUSH);
    probe_ = gst_pad_add_probe(pad_.get(), types, OnData, this, nullptr);
  }
  ~Recorder() { gst_pad_remove_probe(pad_.get(), probe_); }

  std::vector<Recorded> Buffers() const {
    const std::lock_guard lock(mutex_);
    return buffers_;
  }
  testing::AssertionResult CapsFit(const char* expected) const {
    const CapsRef caps(gst_pad_get_current_caps(pad_.get()));
    const CapsRef wanted(gst_caps_from_string(expected));
    if (caps && gst_caps_is_subset(caps.get(), wanted.get())) return testing::AssertionSuccess();
    const GCharPtr text(caps ? gst_caps_to_string(caps.get()) : g_strdup("no caps"));
    return testing::AssertionFailure() << text.get() << " is not " << expected;
  }

 private:
  static GstPadProbeReturn OnData(GstPad* pad, GstPadProbeInfo* info, gpointer self) {
    auto& r = *static_cast<Recorder*>(self);
    const std::lock_guard lock(r.mutex_);
    if (!(GST_PAD_PROBE_INFO_TYPE(info) & GST_PAD_PROBE_TYPE_BUFFER)) {
      if (GST_EVENT_TYPE(GST_PAD_PROBE_INFO_EVENT(info)) == GST_EVENT_FLUSH_STOP) {
        r.buffers_.clear();
      }
      return GST_PAD_PROBE_OK;
    }
    GstBuffer* buffer = GST_PAD_PROBE_INFO_BUFFER(info);
    GstEvent* event = gst_pad_get_sticky_event(pad, GST_EVENT_SEGMENT, 0);
    const GstSegment* segment = nullptr;
    gst_event_parse_segment(event, &segment);
    const GstClockTime position = GST_BUFFER_PTS_IS_VALID(buffer) ? GST_BUFFER_PTS(buffer) : GST_BUFFER_DTS(buffer);
    guint64 time = 0;
    const int sign = gst_segment_to_stream_time_full(segment, GST_FORMAT_TIME, position, &time);
    gst_event_unref(event);
    const CapsRef caps(gst_pad_get_current_caps(pad));
    r.buffers_.push_back(
        {sign * static_cast<GstClockTimeDiff>(time), GST_BUFFER_DURATION(buffer), Contents(buffer, caps.get())});
    return GST_PAD_PROBE_OK;
  }

  // Video is packed row by row, so decoders may pad their rows as they like.
  static std::string Contents(GstBuffer* buffer, GstCaps* caps) {
    GstVideoInfo info;
    GstVideoFrame frame;
    std::string data;
    if (gst_structure_has_name(gst_caps_get_structure(caps, 0), "video/x-raw") &&
        gst_video_info_from_caps(&info, caps) && gst_video_frame_map(&frame, &info, buffer, GST_MAP_READ)) {
      for (guint plane = 0; plane < GST_VIDEO_FRAME_N_PLANES(&frame); ++plane) {
        const auto* bytes = static_cast<const char*>(GST_VIDEO_FRAME_PLANE_DATA(&frame, plane));
        const gsize stride = GST_VIDEO_FRAME_PLANE_STRIDE(&frame, plane);
        for (gint row = 0; row < GST_VIDEO_FRAME_COMP_HEIGHT(&frame, plane); ++row) {
          data.append(bytes + row * stride, GST_VIDEO_FRAME_COMP_WIDTH(&frame, plane));
        }
      }
      gst_video_frame_unmap(&frame);
      return data;
    }
    data.resize(gst_buffer_get_size(buffer));
    gst_buffer_extract(buffer, 0, data.data(), data.size());
    return data;
  }

  PadRef pad_;
  mutable std::mutex mutex_;
  std::vector<Recorded> buffers_;
  gulong probe_ = 0;
};

}  // namespace lumivox::test
