#pragma once
// The renderer's video window: a native child window that the video sink draws into. It
// lives inside its owner (the video pane or the full-screen window) or, between owners,
// inside a hidden parking window, so its native handle never changes under the sink.

#include <QPointer>
#include <QWidget>

#include <functional>
#include <memory>

#include "playlist/DocumentInterfaces.h"

namespace lumivox {

// An owner that can take the video window: a widget.
class IVideoHost : public IVideoOwner {
 public:
  virtual QWidget* HostWidget() = 0;
  IVideoHost* VideoHost() final { return this; }
};

class VideoWindow {
 public:
  VideoWindow();  // needs a QApplication
  ~VideoWindow();
  VideoWindow(const VideoWindow&) = delete;
  VideoWindow& operator=(const VideoWindow&) = delete;

  // The native handle for the sink; it can change only when the window had to be made again.
  quintptr Handle();
  QWidget* Owner() const;
  void SetOwner(QWidget* owner);  // null parks the window, hidden
  void SetVisible(bool visible);
  void Move(int x, int y);
  void Resize(int width, int height);
  // Called whenever the shown window has to be drawn again: shown, resized or uncovered.
  void SetExposeHandler(std::function<void()> exposed) { exposed_ = std::move(exposed); }
  QWidget* Surface() const { return surface_; }

 private:
  QWidget* EnsureSurface();
  void Hide();

  std::function<void()> exposed_;
  std::unique_ptr<QWidget> parking_;
  QPointer<QWidget> surface_;  // owned by its parent widget
};

}  // namespace lumivox
