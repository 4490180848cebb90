#pragma once
// The player on the desktop's session bus: the MPRIS2 service that media keys and desktop
// widgets drive, and the screen saver held off while a video plays. Without a session bus
// there is neither, and the player runs as it does anywhere else.

#include <QObject>

#include <memory>

namespace lumivox {

class CMainFrame;
class CPlayerDoc;
class MprisService;
class ScreenSaverInhibitor;

class DesktopSession final : public QObject {
 public:
  // Connects once the event loop runs, so the window shows first.
  DesktopSession(CMainFrame& frame, CPlayerDoc& doc);
  ~DesktopSession() override;

 private:
  void Connect();
  // A file with a picture plays: not paused, not stopped, not sound alone.
  bool VideoPlays() const;

  CMainFrame& frame_;
  CPlayerDoc& doc_;
  std::unique_ptr<MprisService> mpris_;
  std::unique_ptr<ScreenSaverInhibitor> screenSaver_;
};

}  // namespace lumivox
