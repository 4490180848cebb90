#include "desktop/DesktopSession.h"

#include <QDBusConnection>
#include <QDBusError>
#include <QTimer>

#include "desktop/DesktopLog.h"
#include "desktop/MprisService.h"
#include "desktop/ScreenSaverInhibitor.h"
#include "playlist/PlayerDoc.h"
#include "ui/MainFrame.h"

namespace lumivox {

DesktopSession::DesktopSession(CMainFrame& frame, CPlayerDoc& doc) : frame_(frame), doc_(doc) {
  QTimer::singleShot(0, this, &DesktopSession::Connect);
}

DesktopSession::~DesktopSession() = default;

void DesktopSession::Connect() {
  const QDBusConnection bus = QDBusConnection::sessionBus();
  if (!bus.isConnected()) {
    qCInfo(lcDesktop) << "no session bus:" << bus.lastError().message();
    return;
  }
  mpris_ = std::make_unique<MprisService>(bus, frame_, doc_);
  if (!mpris_->Register()) mpris_.reset();
  screenSaver_ = std::make_unique<ScreenSaverInhibitor>(bus);
  connect(&frame_, &CMainFrame::stateChanged, this, [this] { screenSaver_->SetInhibited(VideoPlays()); });
  screenSaver_->SetInhibited(VideoPlays());
}

bool DesktopSession::VideoPlays() const {
  IGraphPlayer& engine = doc_.engine();
  return engine.IsOpen() && engine.RequestedState() == State_Running && engine.HasBasicVideo();
}

}  // namespace lumivox
