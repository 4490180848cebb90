// The real lumivox binary started from a shell: --help and --version, several names at
// once, relative names and URIs, and the signals that end it.

#include <gtest/gtest.h>

#include <csignal>

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QProcess>
#include <QThread>
#include <QUrl>

#include <filesystem>

#include "MediaFixtures.h"
#include "TempDir.h"
#include "ui/PrivateDisplay.h"

namespace lumivox::test {
namespace {

namespace fs = std::filesystem;

class PlayerStartTest : public ::testing::Test {
 protected:
  // What the player logs goes to the home folder and is shown when a test fails.
  void Start(QProcess& player, const QStringList& arguments, const std::string& folder) {
    QProcessEnvironment environment = PlayerEnvironment(display, home);
    environment.insert("QT_LOGGING_RULES", "lumivox.*=true");
    environment.insert("PWD", QString::fromStdString(folder));  // as a shell sets it
    player.setProcessEnvironment(environment);
    player.setWorkingDirectory(QString::fromStdString(folder));
    player.setStandardErrorFile(QString::fromStdString(home / "player.log"));
    // A shell starts it in the foreground: none of the end signals ignored.
    player.setChildProcessModifier([] {
      for (const int signal : {SIGTERM, SIGINT, SIGHUP}) ::signal(signal, SIG_DFL);
    });
    player.start(LUMIVOX_PLAYER, arguments);
    ASSERT_TRUE(player.waitForStarted());
  }
  // True once a visible window has this title, waiting up to 10 s for it. Asked again and
  // again: a search that meets a window going away ends without an answer.
  bool ShowsWindow(const std::string& title) const {
    QElapsedTimer timer;
    timer.start();
    do {
      QProcess search;
      search.setProcessEnvironment(PlayerEnvironment(display, home));
      search.start("xdotool", {"search", "--onlyvisible", "--name", QString::fromStdString("^" + title + "$")});
      search.waitForFinished(5000);
      if (!search.readAllStandardOutput().trimmed().isEmpty()) return true;
      QThread::msleep(100);
    } while (timer.elapsed() < 10000);
    return false;
  }
  std::string Log() const { return "\n" + TempDir::Read(home / "player.log"); }

  int argc = 0;
  QCoreApplication app{argc, nullptr};
  PrivateDisplay display;
  TempDir home;
};

TEST_F(PlayerStartTest, HelpAndVersionAnswerWithoutADisplay) {
  const struct {
    QStringList arguments;
    std::string answer;
  } cases[] = {{{"--help"}, "Usage: "}, {{"a.mp3", "-v"}, "lumivox " LUMIVOX_VERSION "\n"}};
  for (const auto& c : cases) {
    QProcess player;
    QProcessEnvironment environment = PlayerEnvironment(display, home);
    environment.remove("DISPLAY");
    environment.remove("WAYLAND_DISPLAY");
    player.setProcessEnvironment(environment);
    player.start(LUMIVOX_PLAYER, c.arguments);
    ASSERT_TRUE(player.waitForFinished(10000));
    EXPECT_EQ(player.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(player.exitCode(), 0);
    const std::string out = player.readAllStandardOutput().toStdString();
    EXPECT_EQ(out.rfind(c.answer, 0), 0u) << out;
  }
  EXPECT_FALSE(fs::exists(home / "config")) << "no setting read or written";
}

// Started from a folder reached through a symlink, with a file, a folder and a file:// URI:
// the names keep that folder's name, the folder is scanned, and the list plays. Each signal
// that ends the player saves everything as File > Exit does.
TEST_F(PlayerStartTest, SeveralNamesMakeTheListAndEveryEndSignalSavesIt) {
  ASSERT_FALSE(display.name().isEmpty()) << "Xvfb did not start";
  fs::create_directories(home.path() / "music/album");
  fs::create_symlink(MediaPath("tone.wav"), home.path() / "music/one.wav");
  fs::create_symlink(MediaPath("tone.mp3"), home.path() / "music/album/two.mp3");
  fs::create_symlink(MediaPath("tone.wav"), home.path() / "music/three é#.wav");
  fs::create_directory_symlink(home.path() / "music", home.path() / "link");
  const QString uri =
      QUrl::fromLocalFile(QString::fromStdString(home / "music/three é#.wav")).toString(QUrl::FullyEncoded);
  for (const int signal : {SIGTERM, SIGINT, SIGHUP}) {
    SCOPED_TRACE(strsignal(signal));
    fs::remove_all(home.path() / "data");
    fs::remove_all(home.path() / "config");
    QProcess player;
    Start(player, {"one.wav", "./album", uri}, home / "link");
    ASSERT_TRUE(ShowsWindow("one.wav - lumivox")) << Log();
    ::kill(static_cast<pid_t>(player.processId()), signal);
    ASSERT_TRUE(player.waitForFinished(15000)) << Log();
    EXPECT_EQ(player.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(player.exitCode(), 0);
    const std::string list = TempDir::Read(home / "data/Halcyon/lumivox/lumivox.pls");
    for (const std::string& entry : {"File1=" + home / "link/one.wav", "File2=" + home / "link/album/two.mp3",
                                     "File3=" + home / "music/three é#.wav", std::string("NumberOfEntries=3")}) {
      EXPECT_NE(list.find(entry + "\n"), std::string::npos) << entry << "\n" << list;
    }
    const std::string settings = TempDir::Read(home / "config/Halcyon/lumivox.conf");
    for (const char* value : {"ViewMode=1", "Left=", "SkipInterval=5", "MpegSoftDecoder=1"}) {
      EXPECT_NE(settings.find(value), std::string::npos) << value << "\n" << settings;
    }
  }
}

}  // namespace
}  // namespace lumivox::test
