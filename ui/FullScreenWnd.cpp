#include "ui/FullScreenWnd.h"

#include <QCloseEvent>
#include <QGuiApplication>
#include <QPainter>
#include <QScreen>

#include "playlist/PlayerDoc.h"
#include "ui/CommandIds.h"

namespace lumivox {

class FullScreenWindow final : public QWidget, public IVideoHost {
 public:
  explicit FullScreenWindow(CFullScreenWnd& owner)
      : QWidget(nullptr, Qt::Window | Qt::FramelessWindowHint), owner_(owner) {
    setAttribute(Qt::WA_DeleteOnClose);
    setAttribute(Qt::WA_OpaquePaintEvent);
    setCursor(Qt::BlankCursor);
  }
  VideoSize ClientSize() const override { return {width(), height()}; }
  QWidget* HostWidget() override { return this; }

 protected:
  void paintEvent(QPaintEvent*) override {
    QPainter(this).fillRect(rect(), PlayerQColor(owner_.site_, PlayerColor_Background));
  }
  void moveEvent(QMoveEvent* event) override {
    QWidget::moveEvent(event);
    owner_.doc_.LayoutVideo(0.0);
  }
  void resizeEvent(QResizeEvent* event) override {
    QWidget::resizeEvent(event);
    owner_.doc_.LayoutVideo(0.0);
  }
  void closeEvent(QCloseEvent* event) override {
    owner_.LeaveFullScreen();
    event->accept();
  }
  void keyPressEvent(QKeyEvent* event) override {
    if (event->key() == Qt::Key_Escape) QMetaObject::invokeMethod(this, &QWidget::close, Qt::QueuedConnection);
    QWidget::keyPressEvent(event);
  }
  void mouseDoubleClickEvent(QMouseEvent* event) override {
    if (event->button() == Qt::LeftButton && owner_.site_.sendCommand) owner_.site_.sendCommand(ID_VIEW_FULLSCREEN);
    QWidget::mouseDoubleClickEvent(event);
  }
  void mouseReleaseEvent(QMouseEvent* event) override {
    if (event->button() == Qt::RightButton && owner_.site_.popupMenu) {
      owner_.site_.popupMenu("FullScreen", event->globalPosition().toPoint(), ID_VIEW_FULLSCREEN);
    }
    QWidget::mouseReleaseEvent(event);
  }

 private:
  CFullScreenWnd& owner_;
};

CFullScreenWnd::~CFullScreenWnd() {
  if (!window_) return;
  doc_.DetachVideo();  // the video window must not die with the full-screen window
  delete window_.data();
}

void CFullScreenWnd::EnterFullScreen() {
  if (window_) return;
  auto* window = new FullScreenWindow(*this);
  window_ = window;
  if (QScreen* screen = QGuiApplication::primaryScreen()) window->setGeometry(screen->geometry());
  doc_.DetachVideo();
  doc_.AttachVideo(window);
  window->show();
  window->activateWindow();
}

void CFullScreenWnd::Close() {
  if (window_) window_->close();
}

IVideoHost* CFullScreenWnd::Window() const { return window_ ? dynamic_cast<FullScreenWindow*>(window_.data()) : nullptr; }

void CFullScreenWnd::LeaveFullScreen() {
  window_.clear();  // it deletes itself once closed
  doc_.DetachVideo();
  if (site_.reattachVideo) site_.reattachVideo();
}

}  // namespace lumivox
