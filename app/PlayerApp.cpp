#include "app/PlayerApp.h"

#include <QDir>
#include <QLibraryInfo>
#include <QMessageBox>
#include <QScreen>
#include <QStandardPaths>
#include <QTabWidget>
#include <QTimer>

#include <cstdio>

#include "app/AppLog.h"
#include "app/ProcessAge.h"
#include "desktop/DesktopSession.h"
#include "engine/GraphPlayer.h"
#include "engine/GstRuntime.h"
#include "playlist/PlayerDoc.h"
#include "res/ResourceIds.h"
#include "ui/AboutBox.h"
#include "ui/KeyTranslator.h"
#include "ui/MainFrame.h"

namespace lumivox {
namespace {

std::string AutoListPath() {
  const QString folder = QStandardPaths::writableLocation(QStandardPaths::AppDataLocation);
  QDir().mkpath(folder);
  return (folder + "/lumivox.pls").toStdString();
}

// The menu or modal dialog in front of the windows, if one is open.
QWidget* FrontMenuOrDialog() {
  if (QWidget* menu = QApplication::activePopupWidget()) return menu;
  return QApplication::activeModalWidget();
}

// Calls back once, after the first paint of a window has been delivered.
class FirstPaintWatch final : public QObject {
 public:
  FirstPaintWatch(QWidget* window, std::function<void()> painted) : QObject(window), painted_(std::move(painted)) {
    qApp->installEventFilter(this);
  }

 protected:
  bool eventFilter(QObject* target, QEvent* event) override {
    if (event->type() == QEvent::Paint && target->isWidgetType() &&
        static_cast<QWidget*>(target)->window() == parent()) {
      qApp->removeEventFilter(this);
      QTimer::singleShot(0, this, [this] {
        painted_();
        deleteLater();
      });
    }
    return false;
  }

 private:
  std::function<void()> painted_;
};

}  // namespace

CPlayerApp::CPlayerApp(int& argc, char** argv) : qt_(argc, argv) {
  QApplication::setOrganizationName("Halcyon");
  QApplication::setApplicationName("lumivox");
  QApplication::setDesktopFileName(LUMIVOX_APP_ID);
  // The system's interface language picks the texts; English stays without a translation.
  if (qtTexts_.load(QLocale(), "qtbase", "_", QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
    QApplication::installTranslator(&qtTexts_);
  }
  if (texts_.load(QLocale(), "lumivox", "_", ":/i18n")) QApplication::installTranslator(&texts_);
  // Qt has taken its own options out of the arguments by now.
  line_ = ReadCommandLine(argc, argv);
}

CPlayerApp::~CPlayerApp() {
  sessionEnd_.reset();
  desktop_.reset();
  keys_.reset();
  frame_.reset();
  doc_.reset();
}

bool CPlayerApp::InitInstance() {
  // Made here, after the program's names are set: its socket folder is named after them.
  instance_ = std::make_unique<SingleInstance>();
  if (instance_->FindPreviousInstance(line_.names)) return false;  // handed over; no setting touched
  gstreamerStart_ = std::jthread([] { InitGStreamer(); });

  store_ = std::make_unique<QSettingsStore>();
  settings_ = std::make_unique<PlayerSettings>(*store_);
  deviceVolume_ = std::make_unique<DeviceVolume>(devices_);
  settings_->SetDeviceVolume(deviceVolume_.get());
  settings_->LoadSettings();
  settings_->SetUiLanguage(texts_.isEmpty() ? std::string() : texts_.language().toStdString());

  const PlayerOptions& options = settings_->options();
  auto graphChoices = [&options] { return GraphChoices{options.lumivault != 0, options.mpegSoftDecoder != 0}; };
  auto engine = std::make_unique<CGraphPlayer>(graphChoices, [this] {
    if (CMainFrame* frame = notifyTarget_.load()) frame->PostGraphNotify();
  });
  CGraphPlayer* graphPlayer = engine.get();
  doc_ = std::make_unique<CPlayerDoc>(std::move(engine), *settings_, AutoListPath());
  doc_->SetDeviceVolume(deviceVolume_.get());
  frame_ = std::make_unique<CMainFrame>(*doc_, *settings_);
  frame_->SetAppCommands([this](int id) { return OnCommand(id); });
  frame_->SetGraphPlayer(graphPlayer);
  notifyTarget_ = frame_.get();
  const std::vector<std::string>& names = line_.names;
  if (names.empty()) {
    doc_->OnNewDocument();
  } else if (names.size() > 1) {
    // Launchers pass every file selected at once: taken as a drop on the window is.
    doc_->LoadPlaySettings();
    doc_->OnDropFiles(names);
  } else if (!doc_->OnOpenDocument(names.front())) {
    QMessageBox::warning(nullptr, QString::fromUtf8(kAppTitle.data(), kAppTitle.size()),
                         QCoreApplication::translate("lumivox::CPlayerApp", "Failed to open document."));
    return false;
  }
  frame_->ApplyViewMode();
  keys_ = std::make_unique<KeyTranslator>([this] { return settings_->accelTable(); },
                                          [this](QWidget* target) { return frame_->TranslatesKeysFor(target); },
                                          [this](int command) { frame_->OnCommand(command); });

  // Every hand-over raises the window first; names, if any, follow as a drop.
  QObject::connect(instance_.get(), &SingleInstance::activateRequested, frame_.get(), [this] {
    frame_->raise();
    frame_->activateWindow();
  });
  QObject::connect(instance_.get(), &SingleInstance::filesDropped, frame_.get(),
                   [this](std::vector<std::string> dropped) { doc_->OnDropFiles(dropped); });
  // Found by later starts only now that the frame can take what they hand over.
  instance_->Listen();
  sessionEnd_ = std::make_unique<SessionEnd>([this] { EndSession(); }, [this] { SaveSession(); });
  if (line_.printStartupTime) ReportFirstPaint();
  if (!line_.screenshot.isEmpty()) ScheduleScreenshot(line_.screenshot);
  frame_->show();
  desktop_ = std::make_unique<DesktopSession>(*frame_, *doc_);
  return true;
}

int CPlayerApp::ExitInstance(int status) {
  notifyTarget_ = nullptr;
  settings_->RestoreStartVolume();
  settings_->SaveSettings();
  settings_->DestroyAccelTable();
  return status;
}

void CPlayerApp::EndSession() {
  // Menus and dialogs give way first, as if the user had cancelled them.
  QWidget* previous = nullptr;
  while (QWidget* open = FrontMenuOrDialog()) {
    if (open == previous || !open->close()) break;
    previous = open;
  }
  frame_->OnCommand(ID_APP_EXIT);
  // Closing a frame hidden in the tray leaves no window whose closing ends the run.
  QCoreApplication::quit();
}

void CPlayerApp::SaveSession() {
  frame_->SaveWindowValues();
  doc_->SaveDocument();
  settings_->SaveSettings();
}

bool CPlayerApp::OnCommand(int id) {
  if (id != ID_APP_ABOUT) return false;
  ShowAboutBox(frame_.get());
  return true;
}

void CPlayerApp::ReportFirstPaint() {
  new FirstPaintWatch(frame_.get(), [this] {
    const auto age = ProcessAge();
    if (!age) qCWarning(lcApp, "the process's start is unknown: the start-up time counts from main");
    const auto elapsed = age ? *age : std::chrono::steady_clock::now() - started_;
    std::printf("startup-time-ms: %.1f\n", std::chrono::duration<double, std::milli>(elapsed).count());
    std::fflush(stdout);
  });
}

void CPlayerApp::ScheduleScreenshot(const QString& file) {
  // "--command=ID" opens a dialog first; "--tab=N" picks the page it shows.
  if (line_.command > 0) QTimer::singleShot(500, frame_.get(), [this] { frame_->OnCommand(line_.command); });
  const int tab = line_.tab;
  QTimer::singleShot(2500, frame_.get(), [tab] {
    if (QWidget* dialog = QApplication::activeModalWidget()) {
      if (auto* pages = dialog->findChild<QTabWidget*>()) pages->setCurrentIndex(tab);
    }
  });
  QTimer::singleShot(3000, frame_.get(), [this, file] {
    QWidget* dialog = QApplication::activeModalWidget();
    QWidget* shown = dialog ? dialog : frame_.get();
    // From the screen, so the picture the video sink drew into its own window is in it.
    shown->screen()->grabWindow(shown->winId()).save(file);
    if (dialog) dialog->close();
    QTimer::singleShot(0, frame_.get(), [this] { frame_->close(); });
  });
}

}  // namespace lumivox
