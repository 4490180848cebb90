#include "ui/ToolbarImages.h"

#include <algorithm>
#include <array>
#include <iterator>
#include <vector>

#include <QAction>
#include <QEvent>
#include <QImage>
#include <QPalette>
#include <QPixmap>
#include <QRect>
#include <QString>
#include <QToolBar>

#include "res/ResourceIds.h"

namespace lumivox {
namespace {

constexpr QSize kCell(16, 15);
// The dark ink of the strip's glyphs; every other visible pixel is a mark in a colour of its own.
constexpr QRgb kInk = qRgb(0x20, 0x20, 0x20);
// The buttons in the order of their cells in res/toolbar.xpm.
constexpr std::array kStripOrder = {ID_TOOLBAR_PLAY, ID_TOOLBAR_PAUSE,     ID_PLAY_STOP,       ID_PLAY_PREVIOUS_TRACK,
                                    ID_PLAY_REWIND,  ID_PLAY_FAST_FORWARD, ID_PLAY_NEXT_TRACK, ID_EDIT_DELETE,
                                    ID_EDIT_MOVE_UP, ID_EDIT_MOVE_DOWN};

// Images rather than pixmaps: they need no QGuiApplication, also while statics are destroyed.
const std::vector<QImage>& Cells() {
  static const std::vector<QImage> cells = [] {
    const QImage strip(QStringLiteral(":/toolbar.xpm"));
    std::vector<QImage> cut;
    for (int x = 0; x + kCell.width() <= strip.width(); x += kCell.width())
      cut.push_back(strip.copy(QRect(QPoint(x, 0), kCell)).convertToFormat(QImage::Format_ARGB32));
    return cut;
  }();
  return cells;
}

// The cell with its ink in `ink`, and its marks too when `marks` is given.
QPixmap Inked(QImage cell, const QColor& ink, const QColor* marks) {
  for (int y = 0; y < cell.height(); ++y) {
    auto* line = reinterpret_cast<QRgb*>(cell.scanLine(y));
    for (int x = 0; x < cell.width(); ++x) {
      if (qAlpha(line[x]) == 0) continue;
      if (qRgb(qRed(line[x]), qGreen(line[x]), qBlue(line[x])) == kInk) {
        line[x] = ink.rgba();
      } else if (marks) {
        line[x] = marks->rgba();
      }
    }
  }
  return QPixmap::fromImage(cell);
}

}  // namespace

QIcon ToolbarIcon(int commandId, const QPalette& palette) {
  const auto found = std::find(kStripOrder.begin(), kStripOrder.end(), commandId);
  if (found == kStripOrder.end()) return {};
  const auto cell = static_cast<std::size_t>(std::distance(kStripOrder.begin(), found));
  const std::vector<QImage>& cells = Cells();
  if (cell >= cells.size()) return {};
  // Qt's own disabled image of a light glyph is as light as the enabled one; the disabled
  // text colour is what the palette offers for it.
  const QColor disabled = palette.color(QPalette::Disabled, QPalette::ButtonText);
  QIcon icon(Inked(cells[cell], palette.color(QPalette::Normal, QPalette::ButtonText), nullptr));
  icon.addPixmap(Inked(cells[cell], disabled, &disabled), QIcon::Disabled);
  return icon;
}

QIcon ProgramIcon() {
  QIcon icon;
  icon.addFile(QStringLiteral(":/lumivox16.xpm"), QSize(16, 16));
  icon.addFile(QStringLiteral(":/lumivox.xpm"), QSize(32, 32));
  return icon;
}

ToolbarGlyphs::ToolbarGlyphs(QToolBar& bar) : QObject(&bar), bar_(bar) {
  bar.installEventFilter(this);
  Paint();
}

bool ToolbarGlyphs::eventFilter(QObject*, QEvent* event) {
  if (event->type() == QEvent::PaletteChange || event->type() == QEvent::StyleChange) Paint();
  return false;
}

void ToolbarGlyphs::Paint() {
  for (QAction* action : bar_.actions()) {
    if (!action->isSeparator()) action->setIcon(ToolbarIcon(action->data().toInt(), bar_.palette()));
  }
}

}  // namespace lumivox
