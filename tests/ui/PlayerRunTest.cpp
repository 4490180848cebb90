// The real lumivox binary with an empty home folder: it plays, hands a second start's files
// to the running one, and writes its settings and the automatic list at exit.

#include <gtest/gtest.h>

#include <QElapsedTimer>
#include <QProcess>
#include <QThread>

#include <filesystem>

#include "MediaFixtures.h"
#include "TempDir.h"

namespace lumivox::test {
namespace {

class PlayerRunTest : public ::testing::Test {
 protected:
  void Start(QProcess& player, const QStringList& arguments) {
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert("HOME", QString::fromStdString(home.path().string()));
    environment.insert("XDG_CONFIG_HOME", QString::fromStdString(home / "config"));
    environment.insert("XDG_DATA_HOME", QString::fromStdString(home / "data"));
    environment.insert("XDG_RUNTIME_DIR", QString::fromStdString(home.path().string()));
    player.setProcessEnvironment(environment);
    player.start(LUMIVOX_PLAYER, arguments);
    ASSERT_TRUE(player.waitForStarted());
  }
  TempDir home;
};

TEST_F(PlayerRunTest, ASecondStartHandsOverItsFilesAndExitWritesEverything) {
  if (!qEnvironmentVariableIsSet("DISPLAY")) GTEST_SKIP() << "needs an X display";
  const QString shot = QString::fromStdString(home / "shot.png");
  QProcess first, second;
  Start(first, {"--screenshot=" + shot, QString::fromStdString(MediaPath("clip.avi"))});
  QElapsedTimer timer;
  timer.start();
  // The second start must find the first one listening.
  while (!std::filesystem::exists(home / "LUMIVOX_MAIN_WND") && timer.elapsed() < 2500) QThread::msleep(10);
  timer.restart();
  Start(second, {QString::fromStdString(MediaPath("tone.wav")), QString::fromStdString(MediaPath("tone.mp3"))});
  ASSERT_TRUE(second.waitForFinished(5000));
  EXPECT_EQ(second.exitCode(), 0);
  EXPECT_LT(timer.elapsed(), 2500) << "the second start ends at once";
  ASSERT_TRUE(first.waitForFinished(15000));
  EXPECT_EQ(first.exitCode(), 0);
  EXPECT_GT(std::filesystem::file_size(shot.toStdString()), 1000u);
  const std::string list = TempDir::Read(home / "data/Halcyon/lumivox/lumivox.pls");
  EXPECT_NE(list.find("File1=" + MediaPath("tone.wav")), std::string::npos) << list;
  EXPECT_NE(list.find("File2=" + MediaPath("tone.mp3")), std::string::npos) << list;
  EXPECT_EQ(list.find("clip.avi"), std::string::npos) << "the hand-over replaced the list";
  const std::string settings = TempDir::Read(home / "config/Halcyon/lumivox.conf");
  EXPECT_NE(settings.find("ViewMode=1"), std::string::npos) << settings;
  EXPECT_NE(settings.find("MpegSoftDecoder=1"), std::string::npos) << settings;
}

}  // namespace
}  // namespace lumivox::test
