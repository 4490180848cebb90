#include "engine/SinkChoice.h"

#include <QByteArray>

#include "engine/EngineLog.h"

namespace lumivox {
namespace {

// A sink that can draw into a window of ours on this display.
bool IsUsableWindowSink(const char* name) {
  auto factory = Adopt(gst_element_factory_find(name));
  return factory && gst_element_factory_has_interface(factory.get(), "GstVideoOverlay") && CanReachReady(name);
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

std::string ChooseWindowSink() {
  if (const QByteArray forced = qgetenv("LUMIVOX_VIDEO_SINK"); !forced.isEmpty()) {
    if (IsUsableWindowSink(forced.constData())) {
      qCInfo(lcEngine) << "video sink" << forced.constData() << "chosen by LUMIVOX_VIDEO_SINK";
      return forced.toStdString();
    }
    qCWarning(lcEngine) << "LUMIVOX_VIDEO_SINK names" << forced.constData() << "which cannot draw into a window here";
  }
  for (const char* factory : {"xvimagesink", "glimagesink", "ximagesink"}) {
    if (IsUsableWindowSink(factory)) {
      qCInfo(lcEngine) << "video sink" << factory;
      return factory;
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

}  // namespace lumivox
