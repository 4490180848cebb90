#include "engine/DisplayProbe.h"

#include <EGL/egl.h>
#include <EGL/eglext.h>
#include <xcb/xcb.h>

#include <cstdlib>
#include <cstring>
#include <memory>
#include <string_view>

namespace lumivox {

bool OffersDirectRendering() {
  // A connection of our own: the caller may be any of the graph's threads.
  std::unique_ptr<xcb_connection_t, decltype(&xcb_disconnect)> connection(xcb_connect(nullptr, nullptr),
                                                                          &xcb_disconnect);
  if (xcb_connection_has_error(connection.get())) return false;
  bool offered = false;
  for (const char* name : {"DRI3", "DRI2", "NV-GLX"}) {
    const auto cookie = xcb_query_extension(connection.get(), std::strlen(name), name);
    xcb_query_extension_reply_t* reply = xcb_query_extension_reply(connection.get(), cookie, nullptr);
    offered = offered || (reply && reply->present);
    std::free(reply);
  }
  return offered;
}

bool GlDriverIsSoftware() {
  EGLDisplay display = eglGetPlatformDisplay(EGL_PLATFORM_X11_KHR, EGL_DEFAULT_DISPLAY, nullptr);
  if (display == EGL_NO_DISPLAY || !eglInitialize(display, nullptr, nullptr)) return true;
  // Mesa names its driver; other vendors (NVIDIA's) draw on their own devices.
  const char* extensions = eglQueryString(display, EGL_EXTENSIONS);
  const auto driverName =
      extensions && std::strstr(extensions, "EGL_MESA_query_driver")
          ? reinterpret_cast<PFNEGLGETDISPLAYDRIVERNAMEPROC>(eglGetProcAddress("eglGetDisplayDriverName"))
          : nullptr;
  const char* driver = driverName ? driverName(display) : nullptr;
  const bool software = driver && (std::string_view(driver) == "swrast" || std::string_view(driver) == "kms_swrast");
  eglTerminate(display);
  eglReleaseThread();
  return software;
}

}  // namespace lumivox
