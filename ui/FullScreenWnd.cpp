#include "ui/FullScreenWnd.h"

#include <QtGui/qguiapplication_platform.h>
#include <QCloseEvent>
#include <QGuiApplication>
#include <QPainter>
#include <QScreen>

#include <xcb/xcb.h>

#include "playlist/PlayerDoc.h"
#include "res/ResourceIds.h"

namespace lumivox {
namespace {

// Qt tells the window manager a window's owner (WM_TRANSIENT_FOR) only for dialogs, tool
// windows and the like, and takes the owner off any other window as it shows it. A
// dialog's type would change how window managers treat a full-screen window, so the
// owner is told here, once the window is shown.
void NameOwnerForWindowManager(QWidget& window, QWidget* owner) {
  auto* x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
  if (!x11 || !x11->connection() || !owner) return;
  const auto ownerId = static_cast<xcb_window_t>(owner->window()->winId());
  xcb_change_property(x11->connection(), XCB_PROP_MODE_REPLACE, static_cast<xcb_window_t>(window.winId()),
                      XCB_ATOM_WM_TRANSIENT_FOR, XCB_ATOM_WINDOW, 32, 1, &ownerId);
  xcb_flush(x11->connection());
}

}  // namespace

class FullScreenWindow final : public QWidget, public IVideoHost {
 public:
  // Owned by the main window: the window manager keeps it above its owner, even an owner
  // that stays on top of everything else.
  explicit FullScreenWindow(CFullScreenWnd& owner)
      : QWidget(owner.site_.mainWindow, Qt::Window | Qt::FramelessWindowHint), owner_(owner) {
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
  // The window manager learns it is full screen; without one the geometry covers the screen.
  window->setWindowState(Qt::WindowFullScreen);
  window->show();
  NameOwnerForWindowManager(*window, site_.mainWindow);
  window->activateWindow();
}

void CFullScreenWnd::Close() {
  if (window_) window_->close();
}

IVideoHost* CFullScreenWnd::Window() const {
  return window_ ? dynamic_cast<FullScreenWindow*>(window_.data()) : nullptr;
}

void CFullScreenWnd::LeaveFullScreen() {
  window_.clear();  // it deletes itself once closed
  doc_.DetachVideo();
  if (site_.reattachVideo) site_.reattachVideo();
}

}  // namespace lumivox
