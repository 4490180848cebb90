#include "app/DisplayPlatform.h"

#include <QtGlobal>

#include "app/AppLog.h"

namespace lumivox {

std::string ChooseQtPlatform(const DisplayEnvironment& environment) {
  if (!environment.qpaPlatform.empty() || environment.waylandDisplay.empty()) return {};
  return environment.xDisplay.empty() ? "wayland" : "xcb";
}

void ApplyQtPlatformChoice() {
  const auto read = [](const char* name) { return qEnvironmentVariable(name).toStdString(); };
  const std::string platform = ChooseQtPlatform(
      {.qpaPlatform = read("QT_QPA_PLATFORM"), .waylandDisplay = read("WAYLAND_DISPLAY"), .xDisplay = read("DISPLAY")});
  if (platform.empty()) return;
  qCInfo(lcApp, "Wayland session: the %s platform", platform.c_str());
  qputenv("QT_QPA_PLATFORM", QByteArray::fromStdString(platform));
}

}  // namespace lumivox
