#pragma once
// The player as an MPRIS2 media player on the session bus, under its well-known name, with
// PropertiesChanged for whatever changed since the last notice and Seeked for seeks.

#include <QDBusConnection>
#include <QObject>
#include <QVariantMap>

namespace lumivox {

class CMainFrame;
class CPlayerDoc;
class MprisPlayer;

class MprisService final : public QObject {
 public:
  MprisService(const QDBusConnection& bus, CMainFrame& frame, CPlayerDoc& doc);
  ~MprisService() override;

  // False when the bus took neither the object nor a name for it.
  bool Register();

 private:
  void NotifyChanges();
  void NotifySeek();

  QDBusConnection bus_;
  CMainFrame& frame_;
  MprisPlayer* player_;
  QString name_;
  QVariantMap reported_;
};

}  // namespace lumivox
