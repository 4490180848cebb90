#include "engine/VideoWindow.h"

#include <QtGui/qguiapplication_platform.h>
#include <QGuiApplication>

#include <xcb/xcb.h>

#include <cstdlib>

namespace lumivox {
namespace {

// Returns once the X server has carried out every request Qt sent it so far.
void SyncWithServer() {
  auto* x11 = qGuiApp ? qGuiApp->nativeInterface<QNativeInterface::QX11Application>() : nullptr;
  xcb_connection_t* connection = x11 ? x11->connection() : nullptr;
  if (!connection) return;
  // Any request with a reply will do: the server answers it after everything sent before.
  std::free(xcb_get_input_focus_reply(connection, xcb_get_input_focus(connection), nullptr));
}

// Paints nothing itself: the sink does, and is told to whenever the window is shown,
// resized or uncovered. Sinks that draw into the window itself read its size from the
// server over a connection of their own, so they are told only once the server has the
// window's new size, not while Qt still holds the request.
//
// It leaves the mouse alone: Qt hands every mouse, wheel and context-menu event that a
// widget ignores on to its parent, so clicks and double-clicks over the picture reach the
// owner as the very events Qt made. (A copy made here and sent on would disturb Qt's
// record of the last press, and the second press of a double click would no longer count
// as one.)
class VideoSurface final : public QWidget {
 public:
  VideoSurface(QWidget* parent, const std::function<void()>& exposed) : QWidget(parent), exposed_(exposed) {
    setAttribute(Qt::WA_NativeWindow);
    setAttribute(Qt::WA_DontCreateNativeAncestors);
    setAttribute(Qt::WA_NoSystemBackground);
    setAttribute(Qt::WA_OpaquePaintEvent);
    setAttribute(Qt::WA_PaintOnScreen);
    setAutoFillBackground(false);
  }
  QPaintEngine* paintEngine() const override { return nullptr; }

 protected:
  bool event(QEvent* event) override {
    const bool result = QWidget::event(event);
    const QEvent::Type type = event->type();
    if ((type == QEvent::Show || type == QEvent::Resize || type == QEvent::Paint) && isVisible() && exposed_) {
      SyncWithServer();
      exposed_();
    }
    return result;
  }

 private:
  const std::function<void()>& exposed_;
};

}  // namespace

VideoWindow::VideoWindow() : parking_(std::make_unique<QWidget>()) {
  parking_->setAttribute(Qt::WA_NativeWindow);
  parking_->setAttribute(Qt::WA_DontShowOnScreen);
  parking_->resize(16, 16);
}

VideoWindow::~VideoWindow() {
  // An owner that outlives the engine must not keep a window the sink no longer draws.
  delete surface_.data();
}

QWidget* VideoWindow::EnsureSurface() {
  if (!surface_) {
    surface_ = new VideoSurface(parking_.get(), exposed_);
    surface_->hide();
    surface_->winId();
  }
  return surface_;
}

quintptr VideoWindow::Handle() { return static_cast<quintptr>(EnsureSurface()->winId()); }

QWidget* VideoWindow::Owner() const {
  return surface_ && surface_->parentWidget() != parking_.get() ? surface_->parentWidget() : nullptr;
}

void VideoWindow::SetOwner(QWidget* owner) {
  QWidget* surface = EnsureSurface();
  QWidget* parent = owner ? owner : parking_.get();
  if (surface->parentWidget() == parent) return;
  Hide();
  surface->setParent(parent);  // hidden until shown again
}

void VideoWindow::SetVisible(bool visible) {
  if (!visible) {
    Hide();
  } else if (Owner()) {
    EnsureSurface()->show();
  }
}

void VideoWindow::Hide() {
  QWidget* surface = EnsureSurface();
  if (surface->isHidden()) return;
  surface->hide();
  // The owner never painted beneath the surface, and Qt repaints only the surface itself
  // when it hides: without this the owner shows whatever its window held there before.
  if (QWidget* owner = Owner()) owner->update(surface->geometry());
}

void VideoWindow::Move(int x, int y) { EnsureSurface()->move(x, y); }

void VideoWindow::Resize(int width, int height) { EnsureSurface()->resize(width, height); }

}  // namespace lumivox
