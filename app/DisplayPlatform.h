#pragma once
// The display platform Qt runs on. On a Wayland desktop the player takes XWayland when an
// X server is there, so that the video sink draws into the player's own video window;
// without one it runs on Wayland and the video plays in a window of the sink's own. A
// platform the user chose (QT_QPA_PLATFORM, -platform) always stands.

#include <string>

namespace lumivox {

struct DisplayEnvironment {
  std::string qpaPlatform;     // QT_QPA_PLATFORM
  std::string waylandDisplay;  // WAYLAND_DISPLAY
  std::string xDisplay;        // DISPLAY
};

// The platform to ask Qt for; empty leaves the choice to Qt.
std::string ChooseQtPlatform(const DisplayEnvironment& environment);

// Asks Qt for the platform this process's environment calls for. Before the QApplication.
void ApplyQtPlatformChoice();

}  // namespace lumivox
