#pragma once
// The application object: start-up in its fixed order with the single-instance check
// first, the About box, and exit putting the volume back and writing the settings.

#include <QApplication>
#include <QTranslator>

#include <atomic>
#include <chrono>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "app/CommandLine.h"
#include "app/SessionEnd.h"
#include "app/SingleInstance.h"
#include "engine/AlsaDevices.h"
#include "engine/VolumeControl.h"
#include "settings/PlayerSettings.h"
#include "settings/QSettingsStore.h"

namespace lumivox {

class KeyTranslator;
class CMainFrame;
class CPlayerDoc;
class DesktopSession;

class CPlayerApp {
 public:
  CPlayerApp(int& argc, char** argv);
  ~CPlayerApp();

  // False ends the program at once: a running instance took the names, or no window.
  bool InitInstance();
  int Run() { return QApplication::exec(); }
  int ExitInstance(int status);

 private:
  bool OnCommand(int id);
  // A signal: the run ends as File > Exit ends it.
  void EndSession();
  // The session manager's save: what the exit writes, written now.
  void SaveSession();
  // "--print-startup-time": the milliseconds from the process's start, its loading
  // included, to the first painting of the main window, on standard output.
  void ReportFirstPaint();
  // "--screenshot=FILE": a picture of the window (or of the dialog "--command=ID" opened)
  // after a few seconds, then exit.
  void ScheduleScreenshot(const QString& file);

  const std::chrono::steady_clock::time_point started_ = std::chrono::steady_clock::now();
  QApplication qt_;
  QTranslator qtTexts_;
  QTranslator texts_;
  CommandLine line_;
  std::unique_ptr<SingleInstance> instance_;
  // GStreamer starts up here while the settings and the list load; its first user waits.
  std::jthread gstreamerStart_;
  std::unique_ptr<QSettingsStore> store_;
  std::unique_ptr<PlayerSettings> settings_;
  AlsaDevices devices_;
  std::unique_ptr<DeviceVolume> deviceVolume_;
  std::atomic<CMainFrame*> notifyTarget_{nullptr};
  std::unique_ptr<CPlayerDoc> doc_;
  std::unique_ptr<CMainFrame> frame_;
  std::unique_ptr<KeyTranslator> keys_;
  std::unique_ptr<SessionEnd> sessionEnd_;
  std::unique_ptr<DesktopSession> desktop_;
};

}  // namespace lumivox
