#include "ui/ToolbarImages.h"

#include <algorithm>
#include <array>
#include <iterator>
#include <vector>

#include <QImage>
#include <QPixmap>
#include <QRect>
#include <QString>

#include "res/ResourceIds.h"

namespace lumivox {
namespace {

constexpr QSize kCell(16, 15);
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
      cut.push_back(strip.copy(QRect(QPoint(x, 0), kCell)));
    return cut;
  }();
  return cells;
}

}  // namespace

QIcon ToolbarIcon(int commandId) {
  const auto found = std::find(kStripOrder.begin(), kStripOrder.end(), commandId);
  if (found == kStripOrder.end()) return {};
  const auto cell = static_cast<std::size_t>(std::distance(kStripOrder.begin(), found));
  const std::vector<QImage>& cells = Cells();
  return cell < cells.size() ? QIcon(QPixmap::fromImage(cells[cell])) : QIcon();
}

QIcon ProgramIcon() {
  QIcon icon;
  icon.addFile(QStringLiteral(":/lumivox16.xpm"), QSize(16, 16));
  icon.addFile(QStringLiteral(":/lumivox.xpm"), QSize(32, 32));
  return icon;
}

}  // namespace lumivox
