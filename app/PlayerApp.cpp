#include "app/PlayerApp.h"

#include <QDir>
#include <QLibraryInfo>
#include <QMessageBox>
#include <QScreen>
#include <QStandardPaths>
#include <QTabWidget>
#include <QTimer>

#include <cstdio>

#include "engine/GraphPlayer.h"
#include "playlist/PlayerDoc.h"
#include "res/ResourceIds.h"
#include "ui/AboutBox.h"
#include "ui/KeyTranslator.h"
#include "ui/MainFrame.h"

namespace lumivox {
namespace {

// Every argument that is not an option names a file or folder; the first one is opened.
std::vector<std::string> NamesOf(const QStringList& arguments) {
  std::vector<std::string> names;
  for (qsizetype i = 1; i < arguments.size(); ++i) {
    if (!arguments[i].startsWith('-')) names.push_back(arguments[i].toStdString());
  }
  return names;
}

QString OptionValue(const QStringList& arguments, const QString& option) {
  for (const QString& argument : arguments) {
    if (argument.startsWith(option)) return argument.mid(option.size());
  }
  return {};
}

std::string AutoListPath() {
  const QString folder = QStandardPaths::writableLocation(QStandardPaths::AppDataLocation);
  QDir().mkpath(folder);
  return (folder + "/lumivox.pls").toStdString();
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
  // The system's interface language picks the texts; English stays without a translation.
  if (qtTexts_.load(QLocale(), "qtbase", "_", QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
    QApplication::installTranslator(&qtTexts_);
  }
  if (texts_.load(QLocale(), "lumivox", "_", ":/i18n")) QApplication::installTranslator(&texts_);
  names_ = NamesOf(QApplication::arguments());
}

CPlayerApp::~CPlayerApp() {
  keys_.reset();
  frame_.reset();
  doc_.reset();
}

bool CPlayerApp::InitInstance() {
  // Made here, after the program's names are set: its socket folder is named after them.
  instance_ = std::make_unique<SingleInstance>();
  if (instance_->FindPreviousInstance(names_)) return false;  // handed over; no setting touched

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
  if (names_.empty()) {
    doc_->OnNewDocument();
  } else if (!doc_->OnOpenDocument(names_.front())) {
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
  const QStringList arguments = QApplication::arguments();
  if (arguments.contains("--print-startup-time")) ReportFirstPaint();
  if (const QString shot = OptionValue(arguments, "--screenshot="); !shot.isEmpty()) ScheduleScreenshot(shot);
  frame_->show();
  return true;
}

int CPlayerApp::ExitInstance(int status) {
  notifyTarget_ = nullptr;
  settings_->RestoreStartVolume();
  settings_->SaveSettings();
  settings_->DestroyAccelTable();
  return status;
}

bool CPlayerApp::OnCommand(int id) {
  if (id != ID_APP_ABOUT) return false;
  ShowAboutBox(frame_.get());
  return true;
}

void CPlayerApp::ReportFirstPaint() {
  new FirstPaintWatch(frame_.get(), [this] {
    const auto elapsed = std::chrono::steady_clock::now() - started_;
    std::printf("startup-time-ms: %.1f\n", std::chrono::duration<double, std::milli>(elapsed).count());
    std::fflush(stdout);
  });
}

void CPlayerApp::ScheduleScreenshot(const QString& file) {
  const QStringList arguments = QApplication::arguments();
  // "--command=ID" opens a dialog first; "--tab=N" picks the page it shows.
  if (const int command = OptionValue(arguments, "--command=").toInt(); command > 0) {
    QTimer::singleShot(500, frame_.get(), [this, command] { frame_->OnCommand(command); });
  }
  const int tab = OptionValue(arguments, "--tab=").toInt();
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
