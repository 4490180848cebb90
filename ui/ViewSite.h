#pragma once
// What the video windows ask of the main frame: commands sent to it, its menus, drops and
// the video's way back into the pane. The frame fills it in; tests record it.

#include <QPoint>

#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "settings/PlayerOptions.h"

class QWidget;

namespace lumivox {

struct ViewSite {
  std::function<void(int command)> sendCommand;
  // Pops up a context menu by name at a global position, with its default item.
  std::function<void(std::string_view menu, QPoint at, int defaultId)> popupMenu;
  // Replaces the playlist with the dropped names and plays.
  std::function<void(std::vector<std::string> names)> dropFiles;
  // Full screen has ended: the video goes back to the video pane.
  std::function<void()> reattachVideo;
  const PlayerOptions* options = nullptr;  // the colours
  QWidget* mainWindow = nullptr;           // owns the full-screen window
};

// A colour of the options as Qt takes it (0x00BBGGRR).
QColor PlayerQColor(const ViewSite& site, int index);

}  // namespace lumivox
