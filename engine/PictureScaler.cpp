#include "engine/PictureScaler.h"

#include <cstdint>

namespace lumivox {
namespace {

bool IsSized(const std::pair<int, int>& size) { return size.first > 0 && size.second > 0; }

// Raw video of `size`, or of any size while it has none.
CapsRef VideoCaps(const std::pair<int, int>& size, bool squarePixels) {
  CapsRef caps = AdoptCaps(gst_caps_new_empty_simple("video/x-raw"));
  if (!IsSized(size)) return caps;
  gst_caps_set_simple(caps.get(), "width", G_TYPE_INT, size.first, "height", G_TYPE_INT, size.second, nullptr);
  if (squarePixels) gst_caps_set_simple(caps.get(), "pixel-aspect-ratio", GST_TYPE_FRACTION, 1, 1, nullptr);
  return caps;
}

std::pair<int, int> SizeIn(GstCaps* caps) {
  std::pair<int, int> size;
  if (caps && !gst_caps_is_empty(caps)) {
    const GstStructure* video = gst_caps_get_structure(caps, 0);
    gst_structure_get_int(video, "width", &size.first);
    gst_structure_get_int(video, "height", &size.second);
  }
  return size;
}

// Setting a filter's caps makes the graph renegotiate, even for the same caps.
void SetCaps(GstElement* filter, GstCaps* caps) {
  GstCaps* raw = nullptr;
  g_object_get(filter, "caps", &raw, nullptr);
  CapsRef current = AdoptCaps(raw);
  if (!current || !gst_caps_is_equal(current.get(), caps)) g_object_set(filter, "caps", caps, nullptr);
}

}  // namespace

std::vector<ElementRef> PictureScaler::MakeChain(int width, int height) {
  std::vector<ElementRef> chain;
  for (const char* factory : {"videoscale", "capsfilter", "videoconvert", "videoscale", "capsfilter"}) {
    chain.push_back(MakeElement(factory));
    if (!chain.back()) return {};
  }
  // Stretched, not bordered: the window's shape is the picture's.
  for (GstElement* scale : {chain[0].get(), chain[3].get()}) g_object_set(scale, "add-borders", FALSE, nullptr);
  PadRef input{gst_element_get_static_pad(chain[0].get(), "sink")};
  gst_pad_add_probe(input.get(), GST_PAD_PROBE_TYPE_EVENT_DOWNSTREAM, &PictureScaler::OnInput, this, nullptr);
  std::lock_guard lock(mutex_);
  firstSize_ = chain[1].get();
  windowSize_ = chain[4].get();
  window_ = {width, height};
  Apply();
  return chain;
}

void PictureScaler::SetWindowSize(int width, int height) {
  std::lock_guard lock(mutex_);
  window_ = {width, height};
  if (windowSize_) Apply();
}

bool PictureScaler::TakeRedraw() {
  std::lock_guard lock(mutex_);
  PadRef output{windowSize_ ? gst_element_get_static_pad(windowSize_, "src") : nullptr};
  CapsRef shown = AdoptCaps(output ? gst_pad_get_current_caps(output.get()) : nullptr);
  const std::pair<int, int> size = SizeIn(shown.get());
  if (!IsSized(window_) || !IsSized(size) || size == window_ || redrawn_ == window_) return false;
  redrawn_ = window_;
  return true;
}

GstPadProbeReturn PictureScaler::OnInput(GstPad*, GstPadProbeInfo* info, gpointer self) {
  GstEvent* event = GST_PAD_PROBE_INFO_EVENT(info);
  if (GST_EVENT_TYPE(event) == GST_EVENT_CAPS) {
    GstCaps* caps = nullptr;
    gst_event_parse_caps(event, &caps);
    auto* scaler = static_cast<PictureScaler*>(self);
    std::lock_guard lock(scaler->mutex_);
    scaler->picture_ = SizeIn(caps);
    scaler->Apply();
  }
  return GST_PAD_PROBE_OK;
}

void PictureScaler::Apply() {
  // Square pixels: the window's shape alone is the picture's.
  CapsRef window = VideoCaps(window_, true);
  // A picture made smaller is cheaper to scale before it is converted, with fewer bytes to
  // a pixel; one made larger is cheaper to convert first, at its own size.
  const bool shrink = IsSized(window_) && IsSized(picture_) &&
                      std::int64_t{window_.first} * window_.second < std::int64_t{picture_.first} * picture_.second;
  SetCaps(firstSize_, shrink ? window.get() : VideoCaps(picture_, false).get());
  SetCaps(windowSize_, window.get());
}

}  // namespace lumivox
