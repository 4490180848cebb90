#pragma once
// The real player on a display and a session bus of the test's own, with the list it is
// started on, and the clients that reach it over that bus.

#include <QProcess>

#include <string>

#include "PrivateBus.h"
#include "PrivateDisplay.h"
#include "TempDir.h"

namespace lumivox::test {

class DesktopPlayer {
 public:
  DesktopPlayer() = default;
  ~DesktopPlayer() {
    process_.terminate();
    process_.waitForFinished(10000);
  }
  DesktopPlayer(const DesktopPlayer&) = delete;
  DesktopPlayer& operator=(const DesktopPlayer&) = delete;

  bool Ready() const { return !display_.name().isEmpty() && !bus_.address().isEmpty(); }
  const PrivateBus& bus() const { return bus_; }
  const TempDir& home() const { return home_; }
  QProcess& process() { return process_; }

  // Starts the player on a list of `names` with the settings `conf`.
  void Start(const std::string& names, const std::string& conf) {
    home_.Write("config/Halcyon/lumivox.conf", conf);
    process_.setProcessEnvironment(Environment());
    process_.setStandardErrorFile(QString::fromStdString(home_ / "player.log"));
    process_.start(LUMIVOX_PLAYER, {QString::fromStdString(home_.Write("list.m3u", names))});
  }
  QProcessEnvironment Environment() const {
    QProcessEnvironment environment = PlayerEnvironment(display_, home_);
    environment.insert("DBUS_SESSION_BUS_ADDRESS", bus_.address());
    environment.insert("QT_LOGGING_RULES", "lumivox.*=true");
    return environment;
  }
  // A client's standard output, trimmed.
  std::string Run(const QString& program, const QStringList& arguments) const {
    QProcess client;
    client.setProcessEnvironment(Environment());
    client.start(program, arguments);
    client.waitForFinished(10000);
    return client.readAllStandardOutput().trimmed().toStdString();
  }
  // playerctl's answer about this player.
  std::string Ctl(const QStringList& arguments) const {
    return Run("playerctl", QStringList{"--player=lumivox"} + arguments);
  }
  // The root interface's Quit, which playerctl does not send.
  void Quit() const {
    Run("dbus-send", {"--session", "--type=method_call", "--dest=org.mpris.MediaPlayer2.lumivox",
                      "/org/mpris/MediaPlayer2", "org.mpris.MediaPlayer2.Quit"});
  }
  std::string Log() const { return "\n" + TempDir::Read(home_ / "player.log"); }

 private:
  PrivateDisplay display_;
  PrivateBus bus_;
  TempDir home_;
  QProcess process_;
};

}  // namespace lumivox::test
