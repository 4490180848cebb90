// lumivox: start-up and exit of the player.

#include <QApplication>
#include <QDir>
#include <QStandardPaths>
#include <QTimer>

#include <atomic>
#include <string>
#include <vector>

#include "app/PlayerSettings.h"
#include "app/QSettingsStore.h"
#include "app/SingleInstance.h"
#include "engine/AlsaDevices.h"
#include "engine/GraphPlayer.h"
#include "engine/GstRuntime.h"
#include "engine/VolumeControl.h"
#include "playlist/PlayerDoc.h"
#include "ui/MainFrame.h"

namespace {

// Every argument that is not an option names a file or folder; the first one is opened.
std::vector<std::string> NamesOf(const QStringList& arguments) {
  std::vector<std::string> names;
  for (qsizetype i = 1; i < arguments.size(); ++i) {
    if (!arguments[i].startsWith('-')) names.push_back(arguments[i].toStdString());
  }
  return names;
}

// "--screenshot=FILE": save a picture of the window after a few seconds and exit, so the
// windows can be looked at from a script.
QString ScreenshotFile(const QStringList& arguments) {
  for (const QString& argument : arguments) {
    if (argument.startsWith("--screenshot=")) return argument.mid(13);
  }
  return {};
}

std::string AutoListPath() {
  const QString folder = QStandardPaths::writableLocation(QStandardPaths::AppDataLocation);
  QDir().mkpath(folder);
  return (folder + "/lumivox.pls").toStdString();
}

}  // namespace

int main(int argc, char** argv) {
  QApplication qt(argc, argv);
  QApplication::setOrganizationName("Halcyon");
  QApplication::setApplicationName("lumivox");
  const std::vector<std::string> names = NamesOf(QApplication::arguments());
  lumivox::SingleInstance instance;
  if (instance.FindPreviousInstance(names)) return 0;  // handed over; no setting touched
  instance.Listen();

  lumivox::QSettingsStore store;
  lumivox::PlayerSettings settings(store);
  lumivox::AlsaDevices devices;
  lumivox::DeviceVolume deviceVolume(devices);
  settings.SetDeviceVolume(&deviceVolume);
  settings.LoadSettings();

  std::atomic<lumivox::CMainFrame*> notifyTarget{nullptr};
  auto engine = std::make_unique<lumivox::CGraphPlayer>(settings.options(), [&notifyTarget] {
    if (lumivox::CMainFrame* frame = notifyTarget.load()) frame->PostGraphNotify();
  });
  lumivox::CPlayerDoc doc(std::move(engine), settings, AutoListPath());
  doc.SetDeviceVolume(&deviceVolume);
  int status = 0;
  {
    lumivox::CMainFrame frame(doc, settings.options());
    notifyTarget = &frame;
    frame.SetViewMode(settings.GetProfileInt("View", "ViewMode", 1));
    frame.resize(720, 520);
    frame.ApplyViewMode();
    if (names.empty()) {
      doc.OnNewDocument();
    } else {
      doc.OnOpenDocument(names.front());
    }
    QObject::connect(&instance, &lumivox::SingleInstance::filesDropped, &frame,
                     [&doc](std::vector<std::string> dropped) { doc.OnDropFiles(dropped); });
    QObject::connect(&instance, &lumivox::SingleInstance::activateRequested, &frame, [&frame] {
      frame.raise();
      frame.activateWindow();
    });
    frame.show();
    if (const QString shot = ScreenshotFile(QApplication::arguments()); !shot.isEmpty()) {
      QTimer::singleShot(3000, &frame, [&frame, shot] {
        frame.grab().save(shot);
        frame.close();
      });
    }
    status = QApplication::exec();
    settings.WriteProfileInt("View", "ViewMode", frame.viewMode());
    doc.OnCloseDocument();
    notifyTarget = nullptr;
  }
  settings.RestoreStartVolume();
  settings.SaveSettings();
  return status;
}
