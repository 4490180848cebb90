// The screen saver stays off while a video plays and only then: the real player against a
// screen saver service of the test's own on the test's bus, the session's ScreenSaver or,
// where that is absent, the desktop portal's Inhibit.

#include <gtest/gtest.h>

#include <QDBusConnection>
#include <QDBusObjectPath>
#include <QTest>
#include <QVariantMap>

#include <memory>
#include <string>
#include <vector>

#include "DesktopPlayer.h"
#include "MediaFixtures.h"

namespace lumivox::test {
namespace {

// What the player asked for, in order: "inhibit", and "release N" naming the Nth hold.
using Calls = std::vector<std::string>;

class FakeScreenSaver final : public QObject {
  Q_OBJECT
  Q_CLASSINFO("D-Bus Interface", "org.freedesktop.ScreenSaver")

 public:
  explicit FakeScreenSaver(Calls& calls) : calls_(calls) {}

 public Q_SLOTS:
  uint Inhibit(const QString& application, const QString&) {
    calls_.push_back("inhibit " + application.toStdString());
    return ++holds_;
  }
  void UnInhibit(uint cookie) { calls_.push_back("release " + std::to_string(cookie)); }

 private:
  Calls& calls_;
  uint holds_ = 0;
};

// A hold of the portal: the request object its Inhibit made.
class FakeRequest final : public QObject {
  Q_OBJECT
  Q_CLASSINFO("D-Bus Interface", "org.freedesktop.portal.Request")

 public:
  FakeRequest(Calls& calls, int number) : calls_(calls), number_(number) {}

 public Q_SLOTS:
  void Close() { calls_.push_back("release " + std::to_string(number_)); }

 private:
  Calls& calls_;
  int number_;
};

class FakePortal final : public QObject {
  Q_OBJECT
  Q_CLASSINFO("D-Bus Interface", "org.freedesktop.portal.Inhibit")

 public:
  FakePortal(Calls& calls, QDBusConnection bus) : calls_(calls), bus_(bus) {}

 public Q_SLOTS:
  QDBusObjectPath Inhibit(const QString&, uint flags, const QVariantMap&) {
    // 8: the session going idle, which starts the screen saver.
    calls_.push_back(flags == 8 ? "inhibit lumivox" : "inhibit with flags " + std::to_string(flags));
    const QString path = QStringLiteral("/org/freedesktop/portal/desktop/request/1_1/t%1").arg(requests_.size() + 1);
    requests_.push_back(std::make_unique<FakeRequest>(calls_, static_cast<int>(requests_.size() + 1)));
    bus_.registerObject(path, requests_.back().get(), QDBusConnection::ExportAllSlots);
    return QDBusObjectPath(path);
  }

 private:
  Calls& calls_;
  QDBusConnection bus_;
  std::vector<std::unique_ptr<FakeRequest>> requests_;
};

class ScreenSaverTest : public ::testing::TestWithParam<bool> {
 protected:
  ~ScreenSaverTest() override { QDBusConnection::disconnectFromBus("screen saver"); }

  // Serves the fake on the player's bus under the service name the desktop gives it.
  bool Serve() {
    QDBusConnection bus = QDBusConnection::connectToBus(player.bus().address(), "screen saver");
    if (GetParam()) {
      portal = std::make_unique<FakePortal>(calls, bus);
      return bus.registerObject("/org/freedesktop/portal/desktop", portal.get(), QDBusConnection::ExportAllSlots) &&
             bus.registerService("org.freedesktop.portal.Desktop");
    }
    screenSaver = std::make_unique<FakeScreenSaver>(calls);
    return bus.registerObject("/org/freedesktop/ScreenSaver", screenSaver.get(), QDBusConnection::ExportAllSlots) &&
           bus.registerService("org.freedesktop.ScreenSaver");
  }
  bool Told(const Calls& expected) {
    return QTest::qWaitFor([&] { return calls == expected; }, 10000);
  }
  std::string Listed() const {
    std::string text;
    for (const std::string& call : calls) text += call + "; ";
    return text;
  }

  DesktopPlayer player;
  Calls calls;
  std::unique_ptr<FakeScreenSaver> screenSaver;
  std::unique_ptr<FakePortal> portal;
};

TEST_P(ScreenSaverTest, HeldWhileAVideoPlaysAndReleasedWhenItStops) {
  ASSERT_TRUE(player.Ready()) << "Xvfb or dbus-daemon did not start";
  ASSERT_TRUE(Serve());
  const QString tone = QString::fromStdString("file://" + MediaPath("tone.wav"));
  const QString clip = QString::fromStdString("file://" + MediaPath("clip.avi"));
  player.Start(MediaPath("clip.avi") + "\n", "[Play]\nRepeat=2\n");  // the clip over and over
  EXPECT_TRUE(Told({"inhibit lumivox"})) << Listed() << player.Log();

  player.Ctl({"pause"});
  EXPECT_TRUE(Told({"inhibit lumivox", "release 1"})) << Listed() << player.Log();

  player.Ctl({"open", tone});
  ASSERT_TRUE(QTest::qWaitFor([&] { return player.Ctl({"metadata", "title"}) == "tone.wav"; }, 10000)) << player.Log();
  ASSERT_EQ(player.Ctl({"status"}), "Playing");
  EXPECT_FALSE(QTest::qWaitFor([&] { return calls.size() > 2; }, 1000)) << "sound alone holds nothing: " << Listed();
  // The clip again does, until the player ends.
  player.Ctl({"open", clip});
  EXPECT_TRUE(Told({"inhibit lumivox", "release 1", "inhibit lumivox"})) << Listed() << player.Log();
  player.Quit();
  EXPECT_TRUE(Told({"inhibit lumivox", "release 1", "inhibit lumivox", "release 2"})) << Listed() << player.Log();
}

INSTANTIATE_TEST_SUITE_P(Service, ScreenSaverTest, ::testing::Values(false, true),
                         [](const ::testing::TestParamInfo<bool>& info) {
                           return info.param ? "DesktopPortal" : "ScreenSaver";
                         });

}  // namespace
}  // namespace lumivox::test

#include "ScreenSaverTest.moc"
