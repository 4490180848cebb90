#include "engine/VideoWindow.h"

#include <QCoreApplication>
#include <QMouseEvent>
#include <QWheelEvent>

namespace lumivox {
namespace {

// Paints nothing itself (the sink does) and hands the mouse to its owner, so clicks,
// double-clicks and the context menu over the picture act on the pane.
class VideoSurface final : public QWidget {
 public:
  explicit VideoSurface(QWidget* parent) : QWidget(parent) {
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
    QWidget* owner = parentWidget();
    if (owner && owner->isVisible()) {
      switch (event->type()) {
        case QEvent::MouseButtonPress:
        case QEvent::MouseButtonRelease:
        case QEvent::MouseButtonDblClick:
        case QEvent::MouseMove: {
          auto* mouse = static_cast<QMouseEvent*>(event);
          const QPointF at = mapTo(owner, mouse->position().toPoint());
          QMouseEvent forwarded(mouse->type(), at, mouse->scenePosition(), mouse->globalPosition(), mouse->button(),
                                mouse->buttons(), mouse->modifiers());
          QCoreApplication::sendEvent(owner, &forwarded);
          return true;
        }
        case QEvent::Wheel: {
          auto* wheel = static_cast<QWheelEvent*>(event);
          QWheelEvent forwarded(mapTo(owner, wheel->position().toPoint()), wheel->globalPosition(),
                                wheel->pixelDelta(), wheel->angleDelta(), wheel->buttons(), wheel->modifiers(),
                                wheel->phase(), wheel->inverted());
          QCoreApplication::sendEvent(owner, &forwarded);
          return true;
        }
        case QEvent::ContextMenu: {
          auto* menu = static_cast<QContextMenuEvent*>(event);
          QContextMenuEvent forwarded(menu->reason(), mapTo(owner, menu->pos()), menu->globalPos(),
                                      menu->modifiers());
          QCoreApplication::sendEvent(owner, &forwarded);
          return true;
        }
        default:
          break;
      }
    }
    return QWidget::event(event);
  }
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
    surface_ = new VideoSurface(parking_.get());
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
  if (surface->parentWidget() != parent) surface->setParent(parent);  // hidden until shown again
}

void VideoWindow::SetVisible(bool visible) {
  if (!visible || Owner()) EnsureSurface()->setVisible(visible);
}

void VideoWindow::Move(int x, int y) { EnsureSurface()->move(x, y); }

void VideoWindow::Resize(int width, int height) { EnsureSurface()->resize(width, height); }

}  // namespace lumivox
