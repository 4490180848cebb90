#pragma once
// Full screen: a borderless window over the whole primary screen that owns the video while
// it is shown. The object lives with the frame; its window only while full screen is on.

#include <QPointer>
#include <QWidget>

#include "engine/VideoWindow.h"
#include "ui/ViewSite.h"

namespace lumivox {

class CPlayerDoc;

class CFullScreenWnd {
 public:
  CFullScreenWnd(CPlayerDoc& doc, const ViewSite& site) : doc_(doc), site_(site) {}
  ~CFullScreenWnd();
  CFullScreenWnd(const CFullScreenWnd&) = delete;
  CFullScreenWnd& operator=(const CFullScreenWnd&) = delete;

  void EnterFullScreen();
  // Ends full screen as the window's close does; nothing when it is not shown.
  void Close();
  // The window while full screen is shown, else null.
  IVideoHost* Window() const;

 private:
  friend class FullScreenWindow;
  void LeaveFullScreen();

  CPlayerDoc& doc_;
  const ViewSite& site_;
  QPointer<QWidget> window_;
};

}  // namespace lumivox
