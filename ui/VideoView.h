#pragma once
// The video pane: it draws only its background; the engine's video window is its child.
// A double click asks for full screen, a right click for its menu, and dropped files
// replace the playlist.

#include <QMimeData>
#include <QWidget>

#include "engine/VideoWindow.h"
#include "ui/ViewSite.h"

namespace lumivox {

class CPlayerDoc;

class CVideoView final : public QWidget, public IVideoHost {
 public:
  CVideoView(CPlayerDoc& doc, const ViewSite& site, QWidget* parent = nullptr);

  VideoSize ClientSize() const override { return {width(), height()}; }
  QWidget* HostWidget() override { return this; }

 protected:
  void paintEvent(QPaintEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void mouseDoubleClickEvent(QMouseEvent* event) override;
  void dragEnterEvent(QDragEnterEvent* event) override;
  void dragMoveEvent(QDragMoveEvent* event) override;
  void dropEvent(QDropEvent* event) override;

 private:
  CPlayerDoc& doc_;
  const ViewSite& site_;
};

// The local file names and the streams' URLs a drag offers; empty when it offers none.
std::vector<std::string> DroppedFileNames(const QMimeData* data);

}  // namespace lumivox
