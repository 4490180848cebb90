#pragma once
// A session bus of the test's own, started as dbus-run-session starts one: the player, the
// clients and the test's own services meet there and nowhere else.

#include <QProcess>
#include <QString>

namespace lumivox::test {

class PrivateBus {
 public:
  PrivateBus() {
    daemon_.start("dbus-daemon", {"--session", "--nofork", "--print-address=1"});
    if (daemon_.waitForStarted() && daemon_.waitForReadyRead(10000)) {
      address_ = QString::fromUtf8(daemon_.readLine().trimmed());
    }
  }
  ~PrivateBus() {
    daemon_.kill();
    daemon_.waitForFinished();
  }
  PrivateBus(const PrivateBus&) = delete;
  PrivateBus& operator=(const PrivateBus&) = delete;

  // For DBUS_SESSION_BUS_ADDRESS; empty when the daemon did not start.
  const QString& address() const { return address_; }

 private:
  QProcess daemon_;
  QString address_;
};

}  // namespace lumivox::test
