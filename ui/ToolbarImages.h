#pragma once
// The program's own images, compiled in from res/: the tool-bar buttons, cut from one strip
// of 16 x 15 cells, and the program icon.

#include <QIcon>
#include <QObject>

class QPalette;
class QToolBar;

namespace lumivox {

// The image of the tool-bar button for `commandId`, its glyphs in the palette's button text
// (Delete keeps its red cross) and all in the disabled text when disabled; a null icon for an
// id that is not a button.
QIcon ToolbarIcon(int commandId, const QPalette& palette);
// The icon of the window, the About box and the tray, at 16 and 32 pixels.
QIcon ProgramIcon();

// Gives the buttons of `bar`, known by the command id in their action's data, their images in
// the bar's palette, and gives them again whenever the palette or the style changes, so the
// glyphs stay readable on a dark theme.
class ToolbarGlyphs final : public QObject {
 public:
  explicit ToolbarGlyphs(QToolBar& bar);

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void Paint();

  QToolBar& bar_;
};

}  // namespace lumivox
