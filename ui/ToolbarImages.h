#pragma once
// The program's own images, compiled in from res/: the tool-bar buttons, cut from one strip
// of 16 x 15 cells, and the program icon.

#include <QIcon>

namespace lumivox {

// The image of the tool-bar button for `commandId`; a null icon for an id that is not a button.
QIcon ToolbarIcon(int commandId);
// The icon of the window, the About box and the tray, at 16 and 32 pixels.
QIcon ProgramIcon();

}  // namespace lumivox
