#include "ui/VideoView.h"

#include <QDragEnterEvent>
#include <QMimeData>
#include <QPainter>
#include <QUrl>

#include "engine/SourceFilters.h"
#include "playlist/PlayerDoc.h"
#include "res/ResourceIds.h"

namespace lumivox {

QColor PlayerQColor(const ViewSite& site, int index) {
  const ColorRef colour = site.options ? site.options->playerColor[static_cast<std::size_t>(index)] : 0;
  return QColor(colour & 0xFF, colour >> 8 & 0xFF, colour >> 16 & 0xFF);
}

std::vector<std::string> DroppedFileNames(const QMimeData* data) {
  std::vector<std::string> names;
  if (!data || !data->hasUrls()) return names;
  for (const QUrl& url : data->urls()) {
    if (url.isLocalFile()) {
      names.push_back(url.toLocalFile().toStdString());
    } else if (std::string stream = url.toString(QUrl::FullyEncoded).toStdString(); IsReadableStream(stream)) {
      names.push_back(std::move(stream));
    }
  }
  return names;
}

CVideoView::CVideoView(CPlayerDoc& doc, const ViewSite& site, QWidget* parent)
    : QWidget(parent), doc_(doc), site_(site) {
  setAcceptDrops(true);
  setAttribute(Qt::WA_OpaquePaintEvent);
}

void CVideoView::paintEvent(QPaintEvent*) {
  QPainter(this).fillRect(rect(), PlayerQColor(site_, PlayerColor_Background));
}

void CVideoView::resizeEvent(QResizeEvent* event) {
  QWidget::resizeEvent(event);
  doc_.LayoutVideo(0.0);
}

void CVideoView::mouseReleaseEvent(QMouseEvent* event) {
  if (event->button() == Qt::RightButton && site_.popupMenu) {
    site_.popupMenu("VideoView", event->globalPosition().toPoint(), ID_VIEW_FULLSCREEN);
  }
  QWidget::mouseReleaseEvent(event);
}

void CVideoView::mouseDoubleClickEvent(QMouseEvent* event) {
  if (event->button() == Qt::LeftButton && site_.sendCommand) site_.sendCommand(ID_VIEW_FULLSCREEN);
  QWidget::mouseDoubleClickEvent(event);
}

void CVideoView::dragEnterEvent(QDragEnterEvent* event) {
  if (DroppedFileNames(event->mimeData()).empty()) return event->ignore();
  event->setDropAction(Qt::MoveAction);
  event->accept();
}

void CVideoView::dragMoveEvent(QDragMoveEvent* event) {
  if (DroppedFileNames(event->mimeData()).empty()) return event->ignore();
  event->setDropAction(Qt::MoveAction);
  event->accept();
}

void CVideoView::dropEvent(QDropEvent* event) {
  auto names = DroppedFileNames(event->mimeData());
  if (names.empty() || !site_.dropFiles) return event->ignore();
  event->setDropAction(Qt::MoveAction);
  event->accept();
  site_.dropFiles(std::move(names));
}

}  // namespace lumivox
