#include "ui/MainFrame.h"

#include <QApplication>
#include <QCloseEvent>
#include <QItemSelectionModel>
#include <QLayout>
#include <QMenu>
#include <QMenuBar>
#include <QMimeData>
#include <QProcess>
#include <QScreen>
#include <QSystemTrayIcon>
#include <QTimer>
#include <QToolBar>

#include <cstdint>
#include <optional>
#include <utility>

#include "engine/GraphPlayer.h"
#include "playlist/PlayerDoc.h"
#include "res/ResourceIds.h"
#include "settings/PlayerSettings.h"
#include "ui/CommandActions.h"
#include "ui/CommandTable.h"
#include "ui/DialogCommands.h"
#include "ui/DlgFilterList.h"
#include "ui/FullScreenWnd.h"
#include "ui/PageKeyCfg.h"
#include "ui/PlayListView.h"
#include "ui/PlayerSplitter.h"
#include "ui/PlaylistIcons.h"
#include "ui/PlaylistModel.h"
#include "ui/SeekBar.h"
#include "ui/SheetFileProp.h"
#include "ui/SheetOption.h"
#include "ui/ToolbarImages.h"
#include "ui/UiLog.h"
#include "ui/VideoView.h"

namespace lumivox {
namespace {

const QEvent::Type kGraphNotify = static_cast<QEvent::Type>(QEvent::User + 100);
constexpr std::string_view kView = "View";

// Playlist and Video -> Playlist -> Video -> Playlist and Video; a number that names no
// layout has none.
std::optional<ViewMode> NextViewMode(int stored) {
  using enum ViewMode;
  for (const auto& [from, to] : {std::pair{PlaylistAndVideo, Playlist}, {Playlist, Video}, {Video, PlaylistAndVideo}}) {
    if (stored == from) return to;
  }
  return std::nullopt;
}

}  // namespace

CMainFrame::CMainFrame(CPlayerDoc& doc, PlayerSettings& settings)
    : doc_(doc),
      settings_(settings),
      options_(settings.options()),
      icons_(std::make_unique<PlaylistIcons>()),
      positionTimer_([this] { return doc_.engine().IsOpen() && doc_.engine().RequestedState() == State_Running; },
                     [this] { SendPositionTick(); }) {
  setWindowIcon(ProgramIcon());
  site_.options = &options_;
  site_.mainWindow = this;
  site_.sendCommand = [this](int id) { OnCommand(id); };
  site_.popupMenu = [this](std::string_view name, QPoint at, int defaultId) { PopupMenu(name, at, defaultId); };
  site_.dropFiles = [this](std::vector<std::string> names) { doc_.OnDropFiles(names); };
  site_.reattachVideo = [this] { ReattachVideo(); };
  fullScreen_ = std::make_unique<CFullScreenWnd>(doc_, site_);
  reconnectTimer_.setSingleShot(true);
  connect(&reconnectTimer_, &QTimer::timeout, this, [this] { doc_.OnReconnectTimer(); });
  setAcceptDrops(true);
  BuildMenus();
  BuildBars();
  if (!settings_.GetProfileInt(kView, "ToolBar", 1)) toolBar_->hide();
  if (!settings_.GetProfileInt(kView, "SeekBar", 1)) seekDock_->hide();
  if (settings_.GetProfileInt(kView, "TopMost", 0)) setWindowFlag(Qt::WindowStaysOnTopHint, true);
  viewMode_ = settings_.GetProfileInt(kView, "ViewMode", static_cast<int>(ViewMode::Video));
  LoadPlacement();
  doc_.SetFrame(this);
}

CMainFrame::~CMainFrame() {
  doc_.SetFrame(nullptr);
  fullScreen_.reset();
}

void CMainFrame::LoadPlacement() {
  // Widened: a rectangle that a hand-edited or broken store holds must not overflow.
  const std::int64_t left = settings_.GetProfileInt(kView, "Left", -1);
  const std::int64_t top = settings_.GetProfileInt(kView, "Top", -1);
  const std::int64_t right = settings_.GetProfileInt(kView, "Right", -1);
  const std::int64_t bottom = settings_.GetProfileInt(kView, "Bottom", -1);
  const QScreen* screen = QApplication::primaryScreen();
  const QRect desktop = screen->virtualGeometry();
  const bool saved = left != -1 && top != -1 && right != -1 && bottom != -1 && left < screen->size().width() &&
                     top < screen->size().height();
  // A window without a size, or with none of it on the desktop, could never be reached.
  const bool usable = right - left > 0 && bottom - top > 0 && right - left <= QWIDGETSIZE_MAX &&
                      bottom - top <= QWIDGETSIZE_MAX && right > desktop.left() && bottom > desktop.top();
  if (!saved || !usable) {
    resize(720, 520);
    return;
  }
  setGeometry(static_cast<int>(left), static_cast<int>(top), static_cast<int>(right - left),
              static_cast<int>(bottom - top));
}

void CMainFrame::closeEvent(QCloseEvent* event) {
  SaveWindowValues();
  RemoveTrayIcon();
  if (fullScreen_->Window()) fullScreen_->Close();
  doc_.OnCloseDocument();
  event->accept();
}

void CMainFrame::SaveWindowValues() {
  settings_.WriteProfileInt(kView, "TopMost", windowFlags().testFlag(Qt::WindowStaysOnTopHint) ? 1 : 0);
  settings_.WriteProfileInt(kView, "ToolBar", toolBar_->isVisibleTo(this) ? 1 : 0);
  settings_.WriteProfileInt(kView, "SeekBar", seekDock_->isVisibleTo(this) ? 1 : 0);
  settings_.WriteProfileInt(kView, "ViewMode", viewMode_);
  if (!isMinimized() && !isMaximized() && !trayIcon_) {
    const QRect frame = geometry();
    settings_.WriteProfileInt(kView, "Left", frame.left());
    settings_.WriteProfileInt(kView, "Top", frame.top());
    settings_.WriteProfileInt(kView, "Right", frame.left() + frame.width());
    settings_.WriteProfileInt(kView, "Bottom", frame.top() + frame.height());
  }
  SavePlaylistWidth();
}

void CMainFrame::SavePlaylistWidth() {
  if (splitter_ && !splitter_->sizes().isEmpty())
    settings_.WriteProfileInt(kView, "PlayListWidth", splitter_->sizes().front());
}

void CMainFrame::PostGraphNotify() { QCoreApplication::postEvent(this, new QEvent(kGraphNotify)); }

void CMainFrame::customEvent(QEvent* event) {
  if (event->type() == kGraphNotify) doc_.ProcessGraphEvents();
}

void CMainFrame::BuildMenus() {
  for (const MenuItem& popup : MainMenu()) AddMenu(nullptr, popup);
}

QMenu* CMainFrame::AddMenu(QMenu* parent, const MenuItem& item) {
  QMenu* menu = parent ? parent->addMenu(CommandText(item.text)) : menuBar()->addMenu(CommandText(item.text));
  connect(menu, &QMenu::aboutToShow, this, [this, menu] { UpdateMenu(*menu); });
  for (const MenuItem& entry : item.popup) {
    if (entry.IsSeparator()) {
      menu->addSeparator();
    } else if (entry.id == 0) {
      AddMenu(menu, entry);
    } else {
      QAction* action = menu->addAction(CommandText(entry.text));
      connect(action, &QAction::triggered, this, [this, id = entry.id] { OnCommand(id); });
      action->setData(entry.id);
      if (const CommandInfo* command = FindCommand(entry.id)) {
        action->setStatusTip(CommandText(command->prompt));
      }
    }
  }
  GroupRadioItems(*menu);
  return menu;
}

void CMainFrame::BuildBars() {
  toolBar_ = new QToolBar(this);
  toolBar_->setMovable(false);
  toolBar_->setFloatable(false);
  auto* noToolTip = new NoToolTip(toolBar_);
  for (const int id : ToolbarButtons()) {
    if (id == kToolbarSeparator) {
      toolBar_->addSeparator();
      continue;
    }
    const CommandInfo* command = FindCommand(id);
    QAction* button = toolBar_->addAction(CommandText(command->text));
    if (command->toolTip.empty()) {
      toolBar_->widgetForAction(button)->installEventFilter(noToolTip);
    } else {
      button->setToolTip(CommandText(command->toolTip));
    }
    connect(button, &QAction::triggered, this, [this, id] { OnCommand(id); });
    button->setData(id);
  }
  new ToolbarGlyphs(*toolBar_);
  addToolBar(Qt::BottomToolBarArea, toolBar_);
  seekDock_ = new QToolBar(this);
  seekDock_->setMovable(false);
  seekDock_->setFloatable(false);
  seekBar_ = new CSeekBar(seekDock_);
  seekBar_->SetColors(options_.playerColor);
  seekBar_->SetSeekHandler([this](std::int64_t position) { SeekTo(position); });
  seekDock_->addWidget(seekBar_);
  addToolBarBreak(Qt::BottomToolBarArea);
  addToolBar(Qt::BottomToolBarArea, seekDock_);
  DocumentChanged();
}

bool CMainFrame::ApplyViewMode() {
  const QRect client = centralWidget() ? centralWidget()->geometry() : rect();
  doc_.DetachVideo();
  auto makePlaylist = [this] {
    playlist_ = new CPlayListView(doc_, *icons_, options_.playerColor);
    // Delete, Move Up, Move Down and Properties follow the selection.
    connect(playlist_->selectionModel(), &QItemSelectionModel::selectionChanged, this, [this] { DocumentChanged(); });
    connect(playlist_->selectionModel(), &QItemSelectionModel::currentChanged, this, [this] { DocumentChanged(); });
    connect(playlist_, &CPlayListView::contextMenuRequested, this,
            [this](const PlaylistPopup& popup, const QPoint& at) {
              PopupMenu(popup.menu, at, popup.defaultId, popup.greyedId);
            });
    connect(playlist_, &CPlayListView::propertiesRequested, this, [this](int row) {
      CSheetFileProp(QCoreApplication::translate("lumivox::CMainFrame", "Properties"), *icons_, this)
          .ShowEntry(doc_.GetEntry(row));
    });
    return playlist_.data();
  };
  auto makeVideo = [this] { return video_ = new CVideoView(doc_, site_); };
  if (viewMode_ == ViewMode::PlaylistAndVideo && !splitter_) {
    const int playlistWidth = settings_.GetProfileInt(kView, "PlayListWidth", client.width() / 4);
    delete centralWidget();
    splitter_ = new CPlayerSplitter(site_);
    splitter_->AddPane(makePlaylist());
    splitter_->AddPane(makeVideo());
    setCentralWidget(splitter_);
    // Given the client area before its sizes: a splitter still at another width would later
    // scale the playlist pane by the difference.
    splitter_->setGeometry(client);
    const int available = splitter_->width() - splitter_->handleWidth();
    splitter_->setSizes({playlistWidth, std::max(0, available - playlistWidth)});
  } else if (viewMode_ != ViewMode::PlaylistAndVideo) {
    // The pane is made anew even when the mode did not change.
    SavePlaylistWidth();
    delete centralWidget();
    setCentralWidget(viewMode_ == ViewMode::Playlist ? static_cast<QWidget*>(makePlaylist()) : makeVideo());
  }
  doc_.UpdateTitle();
  if (video_ && !fullScreen_->Window()) doc_.AttachVideo(video_);
  centralWidget()->setFocus();
  DocumentChanged();
  return true;
}

void CMainFrame::ReattachVideo() {
  if (video_) doc_.AttachVideo(video_);
  setFocus();
}

DocumentCommandContext CMainFrame::Context() { return {doc_, options_, video_ != nullptr, playlist_ != nullptr}; }

bool CMainFrame::OnCommand(int id) {
  if (!RouteCommand(id)) {
    qCDebug(lcUi) << "command" << id << "not run";
    return false;
  }
  qCDebug(lcUi) << "command" << id;
  // Frame commands change no document but may change what the buttons show.
  DocumentChanged();
  if (id == ID_PLAY_REWIND || id == ID_PLAY_FAST_FORWARD) Q_EMIT seeked();
  return true;
}

void CMainFrame::SeekTo(std::int64_t position) {
  doc_.SeekTo(position);
  positionTimer_.Seeked();
  Q_EMIT seeked();
}

bool CMainFrame::RouteCommand(int id) {
  if (!StateOf(id).enabled) return false;
  if (playlist_ && playlist_->hasFocus() && playlist_->OnCommand(id)) return true;
  auto context = Context();
  if (RunDocumentCommand(id, context)) return true;
  DialogCommandContext dialogs{doc_, options_, this};
  if (RunDialogCommand(id, dialogs)) return true;
  if (playlist_ && playlist_->OnCommand(id)) return true;
  if (FrameCommand(id)) return true;
  return appCommands_ && appCommands_(id);
}

CommandState CMainFrame::StateOf(int id) {
  if (playlist_) {
    if (const auto enabled = playlist_->CommandEnabled(id)) return {*enabled, false};
  }
  auto context = Context();
  if (const auto state = DocumentCommandState(id, context)) return *state;
  DialogCommandContext dialogs{doc_, options_, this};
  if (const auto state = DialogCommandState(id, dialogs)) return *state;
  if (const auto state = FrameCommandState(id)) return *state;
  return {FindCommand(id) != nullptr && FindCommand(id)->owner != CommandOwner::PlaylistView, false};
}

void CMainFrame::UpdateMenu(QMenu& menu) {
  for (QAction* action : menu.actions()) {
    if (action->data().isValid()) ApplyState(*action, StateOf(action->data().toInt()));
  }
}

// Many changes in a row, as when a list loads, make one update once the window is idle.
void CMainFrame::DocumentChanged() {
  if (toolBarUpdatePending_) return;
  toolBarUpdatePending_ = true;
  QMetaObject::invokeMethod(this, &CMainFrame::UpdateToolBar, Qt::QueuedConnection);
}

void CMainFrame::UpdateToolBar() {
  toolBarUpdatePending_ = false;
  for (QAction* button : toolBar_->actions()) {
    if (button->data().isValid()) button->setEnabled(StateOf(button->data().toInt()).enabled);
  }
  positionTimer_.Follow();
  Q_EMIT stateChanged();
}

std::optional<CommandState> CMainFrame::FrameCommandState(int id) {
  switch (id) {
    case ID_VIEW_TOOLBAR: return CommandState{true, toolBar_->isVisibleTo(this)};
    case ID_VIEW_SEEKBAR: return CommandState{true, seekDock_->isVisibleTo(this)};
    case ID_VIEW_PLAYLIST_AND_VIDEO: return CommandState{true, viewMode_ == ViewMode::PlaylistAndVideo};
    case ID_VIEW_PLAYLIST: return CommandState{true, viewMode_ == ViewMode::Playlist};
    case ID_VIEW_VIDEO: return CommandState{true, viewMode_ == ViewMode::Video};
    case ID_VIEW_ALWAYS_ON_TOP: return CommandState{true, windowFlags().testFlag(Qt::WindowStaysOnTopHint)};
    // The document's Properties, asked when no playlist view takes it: the current entry.
    case ID_FILE_PROPERTIES:
      return CommandState{doc_.GetEntry(doc_.GetCurrentIndex()) && doc_.engine().IsOpen(), false};
    case ID_TOOL_DIRECTSHOW_FILTERS: return CommandState{doc_.engine().IsOpen(), false};
    case ID_TOOL_OPTIONS:
    case ID_CHANGE_VIEW_MODE:
    case ID_VIEW_FULLSCREEN:
    case ID_TOOL_VOLUME_CONTROL:
    case ID_TRAY_RESTORE:
    case ID_APP_EXIT: return CommandState{};
    default: return std::nullopt;
  }
}

bool CMainFrame::FrameCommand(int id) {
  const auto setMode = [this](ViewMode mode) {
    SetViewMode(mode);
    ApplyViewMode();
  };
  switch (id) {
    case ID_VIEW_TOOLBAR: toolBar_->setVisible(!toolBar_->isVisibleTo(this)); return true;
    case ID_VIEW_SEEKBAR: seekDock_->setVisible(!seekDock_->isVisibleTo(this)); return true;
    case ID_VIEW_PLAYLIST_AND_VIDEO: setMode(ViewMode::PlaylistAndVideo); return true;
    case ID_VIEW_PLAYLIST: setMode(ViewMode::Playlist); return true;
    case ID_VIEW_VIDEO: setMode(ViewMode::Video); return true;
    case ID_CHANGE_VIEW_MODE:
      if (fullScreen_->Window()) return true;
      if (const auto next = NextViewMode(viewMode_)) setMode(*next);
      return true;
    case ID_VIEW_ALWAYS_ON_TOP:
      setWindowFlag(Qt::WindowStaysOnTopHint, !windowFlags().testFlag(Qt::WindowStaysOnTopHint));
      show();
      return true;
    case ID_VIEW_FULLSCREEN: fullScreen_->Window() ? fullScreen_->Close() : fullScreen_->EnterFullScreen(); return true;
    case ID_TOOL_VOLUME_CONTROL:
      for (const char* program : {"pavucontrol", "gnome-control-center", "kmix"}) {
        if (QProcess::startDetached(
                program, program == std::string_view("gnome-control-center") ? QStringList{"sound"} : QStringList{}))
          break;
      }
      return true;
    case ID_FILE_PROPERTIES:
      CSheetFileProp(QCoreApplication::translate("lumivox::CMainFrame", "Properties"), *icons_, this)
          .ShowEntry(doc_.GetEntry(doc_.GetCurrentIndex()));
      return true;
    case ID_TOOL_OPTIONS: OnOptions(); return true;
    case ID_TOOL_DIRECTSHOW_FILTERS: OnFilterList(); return true;
    case ID_TRAY_RESTORE: RestoreFromTray(); return true;
    case ID_APP_EXIT: close(); return true;
    default: return false;
  }
}

void CMainFrame::PopupMenu(std::string_view name, QPoint at, int defaultId, int greyedId) {
  const MenuItem* items = ContextMenu(name);
  if (!items) return;
  QMenu menu;
  const std::function<void(QMenu&, const MenuItem&)> fill = [&](QMenu& into, const MenuItem& popup) {
    for (const MenuItem& entry : popup.popup) {
      if (entry.IsSeparator()) {
        into.addSeparator();
      } else if (entry.id == 0) {
        fill(*into.addMenu(CommandText(entry.text)), entry);
      } else {
        QAction* action = into.addAction(CommandText(entry.text));
        CommandState state = StateOf(entry.id);
        state.enabled = state.enabled && entry.id != greyedId;
        ApplyState(*action, state);
        action->setData(entry.id);
        if (entry.id == defaultId) into.setDefaultAction(action);
        connect(action, &QAction::triggered, this, [this, id = entry.id] { OnCommand(id); });
      }
    }
    GroupRadioItems(into);
  };
  fill(menu, *items);
  menu.exec(at);
}

void CMainFrame::OnOptions() {
  CSheetOption sheet(settings_, std::make_unique<CPageKeyCfg>(options_), this);
  sheet.exec();
  seekBar_->SetColors(options_.playerColor);
  update();
  if (centralWidget()) centralWidget()->update();
  if (playlist_) playlist_->ApplyColors();
  settings_.CreateAccelTable();
}

void CMainFrame::OnFilterList() {
  if (doc_.engine().GetState() == State_Running) doc_.engine().PauseResume();
  CDlgFilterList(this).ShowFor(graphPlayer_);
}

bool CMainFrame::TranslatesKeysFor(QWidget* target) const {
  if (!target || seekDock_ == target || seekDock_->isAncestorOf(target)) return false;
  const QWidget* window = target->window();
  return window == this || (fullScreen_->Window() && window == fullScreen_->Window()->HostWidget()->window());
}

void CMainFrame::AddTrayIcon() {
  if (trayIcon_) return;
  trayIcon_ = std::make_unique<QSystemTrayIcon>(ProgramIcon());
  trayIcon_->setToolTip(QString::fromUtf8(kAppTitle.data(), kAppTitle.size()));
  connect(trayIcon_.get(), &QSystemTrayIcon::activated, this, [this](QSystemTrayIcon::ActivationReason reason) {
    if (reason == QSystemTrayIcon::Trigger) {
      RestoreFromTray();
    } else if (reason == QSystemTrayIcon::Context) {
      PopupMenu("TrayIcon", QCursor::pos(), ID_TRAY_RESTORE);
    }
  });
  trayIcon_->show();
}

void CMainFrame::RemoveTrayIcon() { trayIcon_.reset(); }

void CMainFrame::RestoreFromTray() {
  RemoveTrayIcon();
  showNormal();
  raise();
  activateWindow();
}

void CMainFrame::changeEvent(QEvent* event) {
  QMainWindow::changeEvent(event);
  if (event->type() != QEvent::WindowStateChange || !options_.trayIcon) return;
  if (isMinimized()) {
    // Without a tray the window stays in the task bar: hidden, it could not come back.
    if (!QSystemTrayIcon::isSystemTrayAvailable()) return;
    AddTrayIcon();
    QTimer::singleShot(0, this, &QWidget::hide);
  } else if (trayIcon_) {
    RestoreFromTray();
  }
}

void CMainFrame::dragEnterEvent(QDragEnterEvent* event) {
  if (DroppedFileNames(event->mimeData()).empty()) return event->ignore();
  event->acceptProposedAction();
}

void CMainFrame::dropEvent(QDropEvent* event) {
  const std::vector<std::string> names = DroppedFileNames(event->mimeData());
  if (names.empty()) return event->ignore();
  event->acceptProposedAction();
  doc_.OnDropFiles(names);
}

void CMainFrame::SendPositionTick() {
  std::int64_t duration = 0, position = 0;
  doc_.GetDurationAndPosition(duration, position);
  seekBar_->SetPosition(duration, position);
}

void CMainFrame::StartPositionTimer(int periodMs) { positionTimer_.Start(periodMs); }
void CMainFrame::KillPositionTimer() { positionTimer_.Kill(); }
void CMainFrame::StartReconnectTimer(int ms) { reconnectTimer_.start(ms); }
IPlaylistView* CMainFrame::GetPlaylistPane() { return playlist_ ? &playlist_->playlistModel() : nullptr; }
IVideoOwner* CMainFrame::GetVideoPane() { return video_.data(); }
IVideoOwner* CMainFrame::GetFullScreenWnd() { return fullScreen_->Window(); }

void CMainFrame::SetDocumentTitle(std::string_view title) {
  setWindowTitle(QString::fromUtf8(title.data(), static_cast<int>(title.size())) + " - lumivox");
}

void CMainFrame::SetCaption(std::string_view caption) {
  setWindowTitle(QString::fromUtf8(caption.data(), static_cast<int>(caption.size())));
}

void CMainFrame::ResizeBy(int dx, int dy) { resize(width() + dx, height() + dy); }

}  // namespace lumivox
