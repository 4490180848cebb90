#pragma once
// An X display of the test's own: real key presses and clicks sent there never reach the
// windows of tests running beside it.

#include <QProcess>
#include <QString>

namespace lumivox::test {

class PrivateDisplay {
 public:
  PrivateDisplay() {
    server_.start("Xvfb", {"-displayfd", "1", "-screen", "0", "1280x1024x24", "-nolisten", "tcp"});
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

}  // namespace lumivox::test
