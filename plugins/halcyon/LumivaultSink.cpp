// Renders I420 frames on a LumivaultHD output device.
//
// The device is looked for on the way to READY, so "cannot reach READY" is how the player
// learns that no renderer is installed.

#include <gst/video/gstvideosink.h>
#include <gst/video/video.h>

#include <cstdint>
#include <cstring>
#include <memory>
#include <new>
#include <optional>
#include <string>
#include <vector>

#include "Elements.h"
#include "LumivaultDevice.h"

GST_DEBUG_CATEGORY_STATIC(halcyon_lumivault_sink_debug);
#define GST_CAT_DEFAULT halcyon_lumivault_sink_debug

namespace {

struct BufferUnref {
  void operator()(GstBuffer* buffer) const { gst_buffer_unref(buffer); }
};

struct SinkState {
  // Held from READY down to NULL; only state changes replace it, under the object lock.
  std::optional<halcyon::LumivaultDevice> device;
  GstVideoInfo info{};
  std::vector<std::uint8_t> packed;  // one frame, planes without padding
  // The base class shows the preroll buffer, then renders that same buffer once playing
  // starts. Harmless on a screen; a device would get the frame twice.
  bool prerolling = false;
  std::unique_ptr<GstBuffer, BufferUnref> shown_at_preroll;
};

enum { PROP_0, PROP_DEVICE };

}  // namespace

struct HalcyonLumivaultSink {
  GstVideoSink parent;
  SinkState state;
};

struct HalcyonLumivaultSinkClass {
  GstVideoSinkClass parent_class;
};

G_DEFINE_TYPE(HalcyonLumivaultSink, halcyon_lumivault_sink, GST_TYPE_VIDEO_SINK)

namespace {

GstStaticPadTemplate sink_template =
    GST_STATIC_PAD_TEMPLATE("sink", GST_PAD_SINK, GST_PAD_ALWAYS, GST_STATIC_CAPS(GST_VIDEO_CAPS_MAKE("I420")));

HalcyonLumivaultSink* Self(gpointer instance) { return reinterpret_cast<HalcyonLumivaultSink*>(instance); }

void PackPlanes(const GstVideoFrame& frame, std::vector<std::uint8_t>& packed) {
  gsize total = 0;
  for (guint plane = 0; plane < GST_VIDEO_FRAME_N_PLANES(&frame); ++plane) {
    total += static_cast<gsize>(GST_VIDEO_FRAME_COMP_WIDTH(&frame, plane)) * GST_VIDEO_FRAME_COMP_HEIGHT(&frame, plane);
  }
  packed.resize(total);
  std::uint8_t* target = packed.data();
  for (guint plane = 0; plane < GST_VIDEO_FRAME_N_PLANES(&frame); ++plane) {
    const auto* source = static_cast<const std::uint8_t*>(GST_VIDEO_FRAME_PLANE_DATA(&frame, plane));
    const gsize stride = GST_VIDEO_FRAME_PLANE_STRIDE(&frame, plane);
    const gsize bytes = GST_VIDEO_FRAME_COMP_WIDTH(&frame, plane);
    const guint rows = GST_VIDEO_FRAME_COMP_HEIGHT(&frame, plane);
    for (guint row = 0; row < rows; ++row, target += bytes) {
      std::memcpy(target, source + row * stride, bytes);
    }
  }
}

bool OpenDevice(HalcyonLumivaultSink* self) {
  std::string error;
  auto device = halcyon::LumivaultDevice::Find(error);
  if (!device) {
    GST_ELEMENT_ERROR(self, RESOURCE, NOT_FOUND, ("%s", error.c_str()), ("the LumivaultHD renderer is not available"));
    return false;
  }
  GST_INFO_OBJECT(self, "rendering on %s", device->path().c_str());
  GST_OBJECT_LOCK(self);
  self->state.device = std::move(device);
  GST_OBJECT_UNLOCK(self);
  return true;
}

void CloseDevice(HalcyonLumivaultSink* self) {
  GST_OBJECT_LOCK(self);
  self->state.device.reset();
  GST_OBJECT_UNLOCK(self);
}

GstStateChangeReturn ChangeState(GstElement* element, GstStateChange transition) {
  auto* self = Self(element);
  if (transition == GST_STATE_CHANGE_NULL_TO_READY && !OpenDevice(self)) {
    return GST_STATE_CHANGE_FAILURE;
  }
  const GstStateChangeReturn result =
      GST_ELEMENT_CLASS(halcyon_lumivault_sink_parent_class)->change_state(element, transition);
  const bool failed_to_ready = transition == GST_STATE_CHANGE_NULL_TO_READY && result == GST_STATE_CHANGE_FAILURE;
  if (transition == GST_STATE_CHANGE_READY_TO_NULL || failed_to_ready) CloseDevice(self);
  return result;
}

gboolean SetInfo(GstVideoSink* sink, GstCaps*, const GstVideoInfo* info) {
  auto* self = Self(sink);
  auto& device = self->state.device;
  std::string error = "no device is open";
  if (!device || !device->Configure(GST_VIDEO_INFO_WIDTH(info), GST_VIDEO_INFO_HEIGHT(info), error)) {
    GST_ELEMENT_ERROR(self, RESOURCE, SETTINGS, ("%s", error.c_str()), (nullptr));
    return FALSE;
  }
  self->state.info = *info;
  return TRUE;
}

GstFlowReturn Preroll(GstBaseSink* sink, GstBuffer* buffer) {
  auto& s = Self(sink)->state;
  s.prerolling = true;
  const GstFlowReturn result = GST_BASE_SINK_CLASS(halcyon_lumivault_sink_parent_class)->preroll(sink, buffer);
  s.prerolling = false;
  return result;
}

gboolean Stop(GstBaseSink* sink) {
  Self(sink)->state.shown_at_preroll.reset();
  return TRUE;
}

GstFlowReturn ShowFrame(GstVideoSink* sink, GstBuffer* buffer) {
  auto* self = Self(sink);
  auto& s = self->state;
  if (s.prerolling) {
    s.shown_at_preroll.reset(gst_buffer_ref(buffer));
  } else if (s.shown_at_preroll.get() == buffer) {
    s.shown_at_preroll.reset();
    return GST_FLOW_OK;
  } else {
    s.shown_at_preroll.reset();
  }
  GstVideoFrame frame;
  if (!gst_video_frame_map(&frame, &s.info, buffer, GST_MAP_READ)) {
    GST_ELEMENT_ERROR(self, STREAM, FAILED, (nullptr), ("could not map a frame"));
    return GST_FLOW_ERROR;
  }
  PackPlanes(frame, s.packed);
  gst_video_frame_unmap(&frame);
  std::string error;
  if (!s.device->Write(s.packed.data(), s.packed.size(), error)) {
    GST_ELEMENT_ERROR(self, RESOURCE, WRITE, ("%s", error.c_str()), (nullptr));
    return GST_FLOW_ERROR;
  }
  return GST_FLOW_OK;
}

void GetProperty(GObject* object, guint id, GValue* value, GParamSpec* pspec) {
  auto* self = Self(object);
  switch (id) {
    case PROP_DEVICE:
      GST_OBJECT_LOCK(self);
      g_value_set_string(value, self->state.device ? self->state.device->path().c_str() : nullptr);
      GST_OBJECT_UNLOCK(self);
      break;
    default: G_OBJECT_WARN_INVALID_PROPERTY_ID(object, id, pspec); break;
  }
}

void Finalize(GObject* object) {
  Self(object)->state.~SinkState();
  G_OBJECT_CLASS(halcyon_lumivault_sink_parent_class)->finalize(object);
}

}  // namespace

static void halcyon_lumivault_sink_class_init(HalcyonLumivaultSinkClass* klass) {
  GST_DEBUG_CATEGORY_INIT(halcyon_lumivault_sink_debug, "halcyonlumivaultsink", 0, "Halcyon LumivaultHD renderer");
  auto* object_class = G_OBJECT_CLASS(klass);
  object_class->get_property = GetProperty;
  object_class->finalize = Finalize;
  g_object_class_install_property(
      object_class, PROP_DEVICE,
      g_param_spec_string("device", "Device", "The device node or file the frames go to (from READY on)", nullptr,
                          static_cast<GParamFlags>(G_PARAM_READABLE | G_PARAM_STATIC_STRINGS)));

  auto* element_class = GST_ELEMENT_CLASS(klass);
  element_class->change_state = ChangeState;
  gst_element_class_add_static_pad_template(element_class, &sink_template);
  gst_element_class_set_static_metadata(element_class, "Halcyon LumivaultHD Renderer", "Sink/Video",
                                        "Shows video on a LumivaultHD output device", "Lumivox");

  auto* base_sink_class = GST_BASE_SINK_CLASS(klass);
  base_sink_class->preroll = Preroll;
  base_sink_class->stop = Stop;

  auto* video_sink_class = GST_VIDEO_SINK_CLASS(klass);
  video_sink_class->set_info = SetInfo;
  video_sink_class->show_frame = ShowFrame;
}

static void halcyon_lumivault_sink_init(HalcyonLumivaultSink* self) { new (&self->state) SinkState(); }
