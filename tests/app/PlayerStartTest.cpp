// The real lumivox binary started from a shell: --help and --version, its start-up time,
// several names at once, relative names and URIs, and the signals and the logout that end it.

#include <gtest/gtest.h>

#include <csignal>

#include <QElapsedTimer>
#include <QProcess>
#include <QTest>
#include <QThread>
#include <QUrl>

#include <filesystem>

#include "MediaFixtures.h"
#include "PrivateDisplay.h"
#include "TempDir.h"
#include "XClient.h"
#include "XsmpManager.h"

namespace lumivox::test {
namespace {

namespace fs = std::filesystem;

class PlayerStartTest : public ::testing::Test {
 protected:
  // What the player logs goes to the home folder and is shown when a test fails.
  void Start(QProcess& player, const QStringList& arguments, const std::string& folder,
             const QString& sessionManager = {}) {
    QProcessEnvironment environment = PlayerEnvironment(display, home);
    if (!sessionManager.isEmpty()) environment.insert("SESSION_MANAGER", sessionManager);
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
  // True once a window has this title, waiting up to 10 s for it.
  bool ShowsWindow(const std::string& title) {
    return QTest::qWaitFor([&] { return x.TopLevelNamed(title) != 0; }, 10000);
  }
  std::string Log() const { return "\n" + TempDir::Read(home / "player.log"); }

  PrivateDisplay display;
  XClient x{display.name().toStdString()};
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

// Counted from the process's start: a wait of 1.5 s before the program is even loaded
// counts, and the figure is what is seen from outside, give or take the kernel's 10 ms
// tick for the start and the time the line takes to arrive (counted from main, the figure
// would fall short by the wait at least).
TEST_F(PlayerStartTest, TheStartUpTimeCountsTheProgramsLoading) {
  ASSERT_FALSE(display.name().isEmpty()) << "Xvfb did not start";
  QProcess player;
  player.setProcessEnvironment(PlayerEnvironment(display, home));
  QElapsedTimer clock;
  clock.start();
  player.start("sh", {"-c", "sleep 1.5; exec \"$0\" \"$@\"", LUMIVOX_PLAYER, "--print-startup-time"});
  const QByteArray prefix = "startup-time-ms: ";
  while (!player.canReadLine() && player.waitForReadyRead(20000)) continue;
  const double seen = static_cast<double>(clock.nsecsElapsed()) / 1e6;
  const QByteArray line = player.readLine();
  ASSERT_TRUE(line.startsWith(prefix)) << line.toStdString();
  const double printed = line.mid(prefix.size()).trimmed().toDouble();
  EXPECT_GE(printed, 1500);
  EXPECT_LE(printed, seen + 10);
  EXPECT_GT(printed, seen - 750);
  player.terminate();
  EXPECT_TRUE(player.waitForFinished(15000));
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

// The voluntary context switches of every thread of a process so far: each is a wake-up.
long Wakeups(qint64 pid) {
  long count = 0;
  for (const auto& thread : fs::directory_iterator("/proc/" + std::to_string(pid) + "/task")) {
    const std::string status = TempDir::Read(thread.path() / "status");
    const std::size_t at = status.find("\nvoluntary_ctxt_switches:");
    if (at != std::string::npos) count += std::stol(status.substr(status.find(':', at) + 1));
  }
  return count;
}

// Its file played to its end, the player has nothing to do and never wakes for it (a
// timer left running would never give it two quiet seconds), till the desktop's session
// manager speaks over XSMP: a save without a logout leaves it running, the logout's save
// and the Die after it end it with everything written.
TEST_F(PlayerStartTest, AStoppedPlayerSleepsTillTheLogoutSavesEverythingAndEndsIt) {
  ASSERT_FALSE(display.name().isEmpty()) << "Xvfb did not start";
  XsmpManager manager;
  ASSERT_FALSE(manager.address().empty()) << "no ICE listener";
  fs::create_symlink(MediaPath("tone.wav"), home.path() / "one.wav");
  QProcess player;
  Start(player, {"one.wav"}, home.path(), QString::fromStdString(manager.address()));
  ASSERT_TRUE(manager.Serve([&] { return manager.registered(); }, 20000)) << "the player never registered" << Log();
  ASSERT_TRUE(ShowsWindow("one.wav - lumivox")) << Log();
  QElapsedTimer clock;
  clock.start();
  long woken = -1;
  while (woken != 0 && clock.elapsed() < 20000) {
    const long before = Wakeups(player.processId());
    QThread::msleep(2000);
    woken = Wakeups(player.processId()) - before;
  }
  EXPECT_EQ(woken, 0) << "wake-ups in the last two seconds" << Log();

  const std::string list = home / "data/Halcyon/lumivox/lumivox.pls";
  const std::string settings = home / "config/Halcyon/lumivox.conf";
  manager.SaveYourself(false);
  ASSERT_TRUE(manager.Serve([&] { return manager.savesDone() == 1; }, 15000)) << Log();
  EXPECT_TRUE(manager.connected());
  EXPECT_FALSE(player.waitForFinished(500)) << "ended by a save without a logout" << Log();
  for (const auto& file : {list, settings})
    ASSERT_TRUE(fs::remove(file)) << file << " not written by the save" << Log();

  manager.SaveYourself(true);
  ASSERT_TRUE(manager.Serve([&] { return manager.savesDone() == 2; }, 15000)) << Log();
  manager.Die();
  EXPECT_TRUE(manager.Serve([&] { return !manager.connected(); }, 15000)) << Log();
  ASSERT_TRUE(player.waitForFinished(15000)) << Log();
  EXPECT_EQ(player.exitStatus(), QProcess::NormalExit);
  EXPECT_EQ(player.exitCode(), 0);
  EXPECT_NE(TempDir::Read(list).find("File1=" + home / "one.wav\n"), std::string::npos) << TempDir::Read(list);
  for (const char* value : {"ViewMode=1", "Left=", "SkipInterval=5"}) {
    EXPECT_NE(TempDir::Read(settings).find(value), std::string::npos) << value;
  }
}

}  // namespace
}  // namespace lumivox::test
