#pragma once
// An X display of the test's own: real key presses and clicks sent there never reach the
// windows of tests running beside it.

#include <QProcess>
#include <QProcessEnvironment>
#include <QString>

#include "TempDir.h"

namespace lumivox::test {

class PrivateDisplay {
 public:
  PrivateDisplay() {
    // Without -noreset the server resets as its last client leaves, and a player starting
    // in that moment cannot connect.
    server_.start("Xvfb", {"-displayfd", "1", "-screen", "0", "1280x1024x24", "-nolisten", "tcp", "-noreset"});
    if (server_.waitForStarted() && server_.waitForReadyRead(10000)) {
      name_ = ":" + QString::fromUtf8(server_.readLine().trimmed());
    }
  }
  ~PrivateDisplay() {
    server_.kill();
    server_.waitForFinished();
  }
  PrivateDisplay(const PrivateDisplay&) = delete;
  PrivateDisplay& operator=(const PrivateDisplay&) = delete;

  const QString& name() const { return name_; }  // empty when the server did not start

 private:
  QProcess server_;
  QString name_;
};

// The environment of a player on `display` whose settings, data and socket all live in
// `home`, as for a user starting afresh, without a session bus.
inline QProcessEnvironment PlayerEnvironment(const PrivateDisplay& display, const TempDir& home) {
  QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
  environment.insert("DISPLAY", display.name());
  environment.remove("XAUTHORITY");
  environment.insert("HOME", QString::fromStdString(home.path().string()));
  environment.insert("XDG_CONFIG_HOME", QString::fromStdString(home / "config"));
  environment.insert("XDG_DATA_HOME", QString::fromStdString(home / "data"));
  environment.insert("XDG_RUNTIME_DIR", QString::fromStdString(home.path().string()));
  // A bus nobody listens on: the player never reaches the desktop's session (nor starts one
  // of its own). Tests that want a bus give their own.
  environment.insert("DBUS_SESSION_BUS_ADDRESS", QString::fromStdString("unix:path=" + home / "no-bus"));
  return environment;
}

}  // namespace lumivox::test
