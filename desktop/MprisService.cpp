#include "desktop/MprisService.h"

#include <QDBusError>
#include <QDBusMessage>

#include <unistd.h>

#include "desktop/DesktopLog.h"
#include "desktop/MprisNames.h"
#include "desktop/MprisPlayer.h"
#include "desktop/MprisRoot.h"
#include "ui/MainFrame.h"

namespace lumivox {

MprisService::MprisService(const QDBusConnection& bus, CMainFrame& frame, CPlayerDoc& doc)
    : bus_(bus), frame_(frame), player_(new MprisPlayer(this, frame, doc)) {
  new MprisRoot(this, frame);
}

MprisService::~MprisService() {
  if (!name_.isEmpty()) bus_.unregisterService(name_);
  bus_.unregisterObject(kMprisPath);
}

bool MprisService::Register() {
  if (!bus_.registerObject(kMprisPath, this, QDBusConnection::ExportAdaptors)) {
    qCInfo(lcDesktop) << "MPRIS object not registered:" << bus_.lastError().message();
    return false;
  }
  // A second player on the same bus (another home folder) takes a name of its own.
  for (const QString& name :
       {QString(kMprisService), QStringLiteral("%1.instance%2").arg(kMprisService).arg(getpid())}) {
    if (bus_.registerService(name)) {
      name_ = name;
      break;
    }
    qCInfo(lcDesktop) << "MPRIS name" << name << "not taken:" << bus_.lastError().message();
  }
  if (name_.isEmpty()) return false;
  reported_ = player_->WatchedProperties();
  connect(&frame_, &CMainFrame::stateChanged, this, &MprisService::NotifyChanges);
  connect(&frame_, &CMainFrame::seeked, this, &MprisService::NotifySeek);
  qCInfo(lcDesktop) << "MPRIS service" << name_;
  return true;
}

void MprisService::NotifyChanges() {
  const QVariantMap now = player_->WatchedProperties();
  QVariantMap changed;
  for (auto it = now.begin(); it != now.end(); ++it) {
    if (reported_.value(it.key()) != it.value()) changed.insert(it.key(), it.value());
  }
  reported_ = now;
  if (changed.isEmpty()) return;
  QDBusMessage signal = QDBusMessage::createSignal(kMprisPath, "org.freedesktop.DBus.Properties", "PropertiesChanged");
  signal << QString(kMprisPlayerInterface) << changed << QStringList();
  bus_.send(signal);
}

void MprisService::NotifySeek() { Q_EMIT player_->Seeked(player_->Position()); }

}  // namespace lumivox
