#include "GstSupport.h"

#include <gst/video/video.h>

namespace lumivox::test {

void LoadHalcyonPlugin() {
  static std::once_flag once;
  std::call_once(once, [] {
    gst_init(nullptr, nullptr);
    gst_registry_scan_path(gst_registry_get(), HALCYON_PLUGIN_DIR);
  });
}

Pipeline::Pipeline(const std::string& description) {
  GError* error = nullptr;
  GstElement* parsed =
      gst_parse_launch_full(description.c_str(), nullptr, GST_PARSE_FLAG_FATAL_ERRORS, &error);
  if (error) {
    error_ = error->message;
    g_error_free(error);
  }
  if (!parsed) return;
  // A single element comes back bare; it needs a pipeline for its bus.
  GstElement* pipeline = parsed;
  if (!GST_IS_PIPELINE(parsed)) {
    pipeline = gst_pipeline_new(nullptr);
    gst_bin_add(GST_BIN(pipeline), parsed);
  }
  pipeline_.reset(GST_ELEMENT(gst_object_ref_sink(pipeline)));
}

Pipeline::~Pipeline() {
  if (pipeline_) gst_element_set_state(pipeline_.get(), GST_STATE_NULL);
}

GstElement* Pipeline::Element(const char* name) const {
  const std::unique_ptr<GstElement, ObjectUnref> element(
      gst_bin_get_by_name(GST_BIN(pipeline_.get()), name));
  return element.get();
}

GstStateChangeReturn Pipeline::SetState(GstState state) {
  return gst_element_set_state(pipeline_.get(), state);
}

bool Pipeline::Preroll() {
  if (SetState(GST_STATE_PAUSED) == GST_STATE_CHANGE_FAILURE) return false;
  return gst_element_get_state(pipeline_.get(), nullptr, nullptr, 10 * GST_SECOND) ==
         GST_STATE_CHANGE_SUCCESS;
}

bool Pipeline::Seek(GstClockTime position) {
  const auto flags = static_cast<GstSeekFlags>(GST_SEEK_FLAG_FLUSH | GST_SEEK_FLAG_ACCURATE);
  return gst_element_seek_simple(pipeline_.get(), GST_FORMAT_TIME, flags, position) &&
         gst_element_get_state(pipeline_.get(), nullptr, nullptr, 10 * GST_SECOND) ==
             GST_STATE_CHANGE_SUCCESS;
}

Outcome Pipeline::Play(std::chrono::seconds timeout) {
  if (SetState(GST_STATE_PLAYING) == GST_STATE_CHANGE_FAILURE) return Outcome::kError;
  std::unique_ptr<GstBus, ObjectUnref> bus(gst_element_get_bus(pipeline_.get()));
  const auto types = static_cast<GstMessageType>(GST_MESSAGE_EOS | GST_MESSAGE_ERROR);
  GstMessage* message = gst_bus_timed_pop_filtered(
      bus.get(), std::chrono::duration_cast<std::chrono::nanoseconds>(timeout).count(), types);
  if (!message) return Outcome::kTimeout;
  const bool eos = GST_MESSAGE_TYPE(message) == GST_MESSAGE_EOS;
  if (!eos) {
    GError* error = nullptr;
    gst_message_parse_error(message, &error, nullptr);
    error_ = error->message;
    g_error_free(error);
  }
  gst_message_unref(message);
  return eos ? Outcome::kEos : Outcome::kError;
}

Recorder::Recorder(GstElement* element, const char* pad_name)
    : pad_(gst_element_get_static_pad(element, pad_name)) {
  gst_segment_init(&segment_, GST_FORMAT_TIME);
  const auto mask =
      static_cast<GstPadProbeType>(GST_PAD_PROBE_TYPE_BUFFER | GST_PAD_PROBE_TYPE_EVENT_DOWNSTREAM |
                                   GST_PAD_PROBE_TYPE_EVENT_FLUSH);
  probe_ = gst_pad_add_probe(pad_.get(), mask, OnData, this, nullptr);
}

Recorder::~Recorder() { gst_pad_remove_probe(pad_.get(), probe_); }

GstPadProbeReturn Recorder::OnData(GstPad*, GstPadProbeInfo* info, gpointer self) {
  auto* recorder = static_cast<Recorder*>(self);
  if (GST_PAD_PROBE_INFO_TYPE(info) & GST_PAD_PROBE_TYPE_BUFFER) {
    recorder->Store(GST_PAD_PROBE_INFO_BUFFER(info));
  } else {
    recorder->OnEvent(GST_PAD_PROBE_INFO_EVENT(info));
  }
  return GST_PAD_PROBE_OK;
}

void Recorder::OnEvent(GstEvent* event) {
  const std::lock_guard lock(mutex_);
  switch (GST_EVENT_TYPE(event)) {
    case GST_EVENT_FLUSH_STOP:
      buffers_.clear();
      break;
    case GST_EVENT_SEGMENT: {
      const GstSegment* segment = nullptr;
      gst_event_parse_segment(event, &segment);
      gst_segment_copy_into(segment, &segment_);
      break;
    }
    case GST_EVENT_CAPS: {
      GstCaps* caps = nullptr;
      gst_event_parse_caps(event, &caps);
      caps_.reset(gst_caps_ref(caps));
      break;
    }
    default:
      break;
  }
}

namespace {

std::string PackedPlanes(GstBuffer* buffer, const GstVideoInfo& info) {
  GstVideoFrame frame;
  if (!gst_video_frame_map(&frame, &info, buffer, GST_MAP_READ)) return {};
  std::string packed;
  for (guint plane = 0; plane < GST_VIDEO_FRAME_N_PLANES(&frame); ++plane) {
    const auto* data = static_cast<const char*>(GST_VIDEO_FRAME_PLANE_DATA(&frame, plane));
    const gsize stride = GST_VIDEO_FRAME_PLANE_STRIDE(&frame, plane);
    for (gint row = 0; row < GST_VIDEO_FRAME_COMP_HEIGHT(&frame, plane); ++row) {
      packed.append(data + row * stride, GST_VIDEO_FRAME_COMP_WIDTH(&frame, plane));
    }
  }
  gst_video_frame_unmap(&frame);
  return packed;
}

std::string Bytes(GstBuffer* buffer) {
  std::string bytes(gst_buffer_get_size(buffer), '\0');
  gst_buffer_extract(buffer, 0, bytes.data(), bytes.size());
  return bytes;
}

GstClockTimeDiff StreamTime(const GstSegment& segment, GstClockTime position) {
  guint64 time = 0;
  const int sign = gst_segment_to_stream_time_full(&segment, GST_FORMAT_TIME, position, &time);
  return sign * static_cast<GstClockTimeDiff>(time);
}

}  // namespace

void Recorder::Store(GstBuffer* buffer) {
  const std::lock_guard lock(mutex_);
  const GstClockTime position =
      GST_BUFFER_PTS_IS_VALID(buffer) ? GST_BUFFER_PTS(buffer) : GST_BUFFER_DTS(buffer);
  Recorded record{StreamTime(segment_, position), GST_BUFFER_DURATION(buffer), {}};
  GstVideoInfo video;
  const bool raw_video =
      caps_ && gst_structure_has_name(gst_caps_get_structure(caps_.get(), 0), "video/x-raw");
  if (raw_video && gst_video_info_from_caps(&video, caps_.get())) {
    record.data = PackedPlanes(buffer, video);
  } else {
    record.data = Bytes(buffer);
  }
  buffers_.push_back(std::move(record));
}

std::vector<Recorded> Recorder::Buffers() const {
  const std::lock_guard lock(mutex_);
  return buffers_;
}

int Recorder::CapsInt(const char* field) const {
  const std::lock_guard lock(mutex_);
  int value = -1;
  if (caps_) gst_structure_get_int(gst_caps_get_structure(caps_.get(), 0), field, &value);
  return value;
}

std::string Recorder::CapsString(const char* field) const {
  const std::lock_guard lock(mutex_);
  const char* value =
      caps_ ? gst_structure_get_string(gst_caps_get_structure(caps_.get(), 0), field) : nullptr;
  return value ? value : "";
}

}  // namespace lumivox::test
