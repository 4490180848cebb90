#include "engine/SinkChoice.h"

#include <QByteArray>

#include "engine/DisplayProbe.h"
#include "engine/EngineLog.h"

namespace lumivox {
namespace {

constexpr const char* kXImageSink = "ximagesink";

// A sink that can draw into a window of ours on this display.
bool IsUsableWindowSink(const char* name) {
  auto factory = Adopt(gst_element_factory_find(name));
  return factory && gst_element_factory_has_interface(factory.get(), "GstVideoOverlay") && CanReachReady(name);
}

VideoOutput WindowOutputNamed(const std::string& sink) { return {sink, sink == kXImageSink}; }

DisplayOffer ProbeDisplayOffer() {
  DisplayOffer offer;
  offer.xvideo = IsUsableWindowSink("xvimagesink");
  // GL is only asked about where it could be drawn on a device: elsewhere loading its
  // driver would cost memory for nothing.
  offer.hardwareGl = !offer.xvideo && OffersDirectRendering() && !GlDriverIsSoftware();
  return offer;
}

}  // namespace

ElementRef MakeReady(const char* factory) {
  ElementRef element = MakeElement(factory);
  if (!element) return nullptr;
  if (gst_element_set_state(element.get(), GST_STATE_READY) == GST_STATE_CHANGE_FAILURE) {
    gst_element_set_state(element.get(), GST_STATE_NULL);
    return nullptr;
  }
  return element;
}

bool CanReachReady(const char* factory) {
  ElementRef element = MakeReady(factory);
  if (element) gst_element_set_state(element.get(), GST_STATE_NULL);
  return element != nullptr;
}

std::vector<VideoOutput> WindowOutputsFor(const DisplayOffer& offer) {
  std::vector<VideoOutput> outputs;
  if (offer.xvideo) outputs.push_back(WindowOutputNamed("xvimagesink"));
  if (offer.hardwareGl) outputs.push_back(WindowOutputNamed("glimagesink"));
  outputs.push_back(WindowOutputNamed(kXImageSink));
  return outputs;
}

VideoOutput ChooseWindowOutput() {
  if (const QByteArray forced = qgetenv("LUMIVOX_VIDEO_SINK"); !forced.isEmpty()) {
    if (IsUsableWindowSink(forced.constData())) {
      qCInfo(lcEngine) << "video sink" << forced.constData() << "chosen by LUMIVOX_VIDEO_SINK";
      return WindowOutputNamed(forced.toStdString());
    }
    qCWarning(lcEngine) << "LUMIVOX_VIDEO_SINK names" << forced.constData() << "which cannot draw into a window here";
  }
  const DisplayOffer offer = ProbeDisplayOffer();
  for (const VideoOutput& output : WindowOutputsFor(offer)) {
    if (IsUsableWindowSink(output.sink.c_str())) {
      const std::string how =
          output.scaledInGraph ? "video sink " + output.sink + " scaled in the graph" : "video sink " + output.sink;
      qCInfo(lcEngine).noquote() << how.c_str() << "on a display with" << (offer.xvideo ? "XVideo" : "no XVideo")
                                 << "and" << (offer.hardwareGl ? "hardware GL" : "no hardware GL");
      return output;
    }
  }
  qCWarning(lcEngine) << "no video sink can draw into a window here";
  return {};
}

std::string ChooseOwnWindowSink() {
  const QByteArray forced = qgetenv("LUMIVOX_VIDEO_SINK");
  for (const QByteArray& factory : {forced, QByteArray("autovideosink")}) {
    if (!factory.isEmpty() && CanReachReady(factory.constData())) {
      qCInfo(lcEngine) << "video sink" << factory.constData() << "in a window of its own";
      return factory.toStdString();
    }
  }
  qCWarning(lcEngine) << "no video sink can show a window here";
  return {};
}

VideoOutput VideoOutputChoice::Get() {
  std::lock_guard lock(mutex_);
  if (!chosen_) chosen_ = embedded_ ? ChooseWindowOutput() : VideoOutput{ChooseOwnWindowSink()};
  return *chosen_;
}

}  // namespace lumivox
