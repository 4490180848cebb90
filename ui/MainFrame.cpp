#include "ui/MainFrame.h"

#include <QApplication>

#include <array>
#include <QMenu>
#include <QMenuBar>
#include <QProcess>
#include <QStyle>
#include <QToolBar>

#include "playlist/PlayerDoc.h"
#include "ui/CommandIds.h"
#include "ui/CommandTable.h"
#include "ui/FullScreenWnd.h"
#include "ui/PlayListIcons.h"
#include "ui/PlayListModel.h"
#include "ui/PlayListView.h"
#include "ui/PlayerSplitter.h"
#include "ui/SeekBar.h"
#include "ui/VideoView.h"

namespace lumivox {
namespace {

const QEvent::Type kGraphNotify = static_cast<QEvent::Type>(QEvent::User + 100);

QIcon ButtonIcon(int id) {
  const std::map<int, QStyle::StandardPixmap> icons = {
      {40020, QStyle::SP_MediaPlay},       {40029, QStyle::SP_MediaPause},      {32772, QStyle::SP_MediaStop},
      {32776, QStyle::SP_MediaSkipBackward}, {32833, QStyle::SP_MediaSeekBackward}, {32834, QStyle::SP_MediaSeekForward},
      {32777, QStyle::SP_MediaSkipForward}, {32804, QStyle::SP_TrashIcon},      {32808, QStyle::SP_ArrowUp},
      {32809, QStyle::SP_ArrowDown}};
  const auto it = icons.find(id);
  return it == icons.end() ? QIcon() : QApplication::style()->standardIcon(it->second);
}

}  // namespace

CMainFrame::CMainFrame(CPlayerDoc& doc, PlayerOptions& options)
    : doc_(doc), options_(options), icons_(std::make_unique<CPlayListIcons>()) {
  site_.options = &options_;
  site_.sendCommand = [this](int id) { OnCommand(id); };
  site_.popupMenu = [this](std::string_view name, QPoint at) { PopupMenu(name, at); };
  site_.dropFiles = [this](std::vector<std::string> names) { doc_.OnDropFiles(names); };
  site_.reattachVideo = [this] { ReattachVideo(); };
  fullScreen_ = std::make_unique<CFullScreenWnd>(doc_, site_);
  connect(&positionTimer_, &QTimer::timeout, this, [this] { SendPositionTick(); });
  setAcceptDrops(true);
  BuildMenus();
  BuildBars();
  doc_.SetFrame(this);
}

CMainFrame::~CMainFrame() {
  doc_.SetFrame(nullptr);
  fullScreen_.reset();
}

void CMainFrame::PostGraphNotify() { QCoreApplication::postEvent(this, new QEvent(kGraphNotify)); }

void CMainFrame::customEvent(QEvent* event) {
  if (event->type() == kGraphNotify) doc_.ProcessGraphEvents();
}

void CMainFrame::BuildMenus() {
  for (const MenuItem& popup : MainMenu()) AddMenu(nullptr, popup);
}

QMenu* CMainFrame::AddMenu(QMenu* parent, const MenuItem& item) {
  QMenu* menu = parent ? parent->addMenu(QString::fromUtf8(item.text.data(), item.text.size()))
                       : menuBar()->addMenu(QString::fromUtf8(item.text.data(), item.text.size()));
  connect(menu, &QMenu::aboutToShow, this, &CMainFrame::UpdateActions);
  for (const MenuItem& entry : item.popup) {
    if (entry.IsSeparator()) {
      menu->addSeparator();
    } else if (entry.id == 0) {
      AddMenu(menu, entry);
    } else {
      QAction* action = menu->addAction(QString::fromUtf8(entry.text.data(), entry.text.size()));
      connect(action, &QAction::triggered, this, [this, id = entry.id] { OnCommand(id); });
      action->setData(entry.id);
      actions_.emplace(entry.id, action);
    }
  }
  return menu;
}

QAction* CMainFrame::ActionFor(int id) {
  const auto it = actions_.find(id);
  return it == actions_.end() ? nullptr : it->second;
}

void CMainFrame::BuildBars() {
  toolBar_ = new QToolBar(this);
  toolBar_->setMovable(false);
  toolBar_->setFloatable(false);
  for (const int id : ToolbarButtons()) {
    if (id == kToolbarSeparator) {
      toolBar_->addSeparator();
      continue;
    }
    const CommandInfo* command = FindCommand(id);
    QAction* button = toolBar_->addAction(ButtonIcon(id), QString::fromUtf8(command->text.data(), command->text.size()));
    button->setToolTip(QString::fromUtf8(command->toolTip.data(), command->toolTip.size()));
    connect(button, &QAction::triggered, this, [this, id] { OnCommand(id); });
    button->setData(id);
  }
  addToolBar(Qt::BottomToolBarArea, toolBar_);
  seekDock_ = new QToolBar(this);
  seekDock_->setMovable(false);
  seekDock_->setFloatable(false);
  seekBar_ = new CSeekBar(seekDock_);
  seekBar_->SetColors(options_.playerColor);
  seekBar_->SetSeekHandler([this](std::int64_t position) { doc_.SeekTo(position); });
  seekDock_->addWidget(seekBar_);
  addToolBarBreak(Qt::BottomToolBarArea);
  addToolBar(Qt::BottomToolBarArea, seekDock_);
  // Tool buttons follow the enable rules as the application idles.
  auto* idle = new QTimer(this);
  connect(idle, &QTimer::timeout, this, &CMainFrame::UpdateActions);
  idle->start(200);
}

bool CMainFrame::ApplyViewMode() {
  doc_.DetachVideo();
  delete centralWidget();
  auto makePlaylist = [this] { return playlist_ = new CPlayListView(doc_, *icons_, options_.playerColor); };
  auto makeVideo = [this] { return video_ = new CVideoView(doc_, site_); };
  if (viewMode_ == 0) {
    auto* splitter = new CPlayerSplitter(site_);
    splitter->AddPane(makePlaylist());
    splitter->AddPane(makeVideo());
    setCentralWidget(splitter);
  } else if (viewMode_ == 2) {
    setCentralWidget(makePlaylist());
  } else {
    setCentralWidget(makeVideo());
  }
  if (playlist_) {
    connect(playlist_, &CPlayListView::contextMenuRequested, this,
            [this](const PlayListPopup& popup, const QPoint& at) { PopupMenu(popup.menu, at); });
  }
  if (video_ && !fullScreen_->Window()) doc_.AttachVideo(video_);
  return true;
}

void CMainFrame::ReattachVideo() {
  if (video_) doc_.AttachVideo(video_);
  setFocus();
}

DocumentCommandContext CMainFrame::Context() { return {doc_, options_, video_ != nullptr}; }

bool CMainFrame::OnCommand(int id) {
  if (!StateOf(id).enabled) return false;
  if (playlist_ && playlist_->hasFocus() && playlist_->OnCommand(id)) return true;
  auto context = Context();
  if (RunDocumentCommand(id, context)) return true;
  if (playlist_ && playlist_->OnCommand(id)) return true;
  return FrameCommand(id);
}

CommandState CMainFrame::StateOf(int id) {
  if (playlist_) {
    if (const auto enabled = playlist_->CommandEnabled(id)) return {*enabled, false};
  }
  auto context = Context();
  if (const auto state = DocumentCommandState(id, context)) return *state;
  if (const auto state = FrameCommandState(id)) return *state;
  return {FindCommand(id) != nullptr && FindCommand(id)->owner != CommandOwner::PlaylistView, false};
}

void CMainFrame::UpdateActions() {
  for (const auto& [id, action] : actions_) {
    const CommandState state = StateOf(id);
    action->setEnabled(state.enabled);
    action->setCheckable(state.checked || action->isCheckable());
    action->setChecked(state.checked);
  }
  for (QAction* button : toolBar_->actions()) {
    if (button->data().isValid()) button->setEnabled(StateOf(button->data().toInt()).enabled);
  }
}

std::optional<CommandState> CMainFrame::FrameCommandState(int id) {
  switch (id) {
    case 59392: return CommandState{true, toolBar_->isVisible()};
    case 32793: return CommandState{true, seekDock_->isVisible()};
    case 32810: return CommandState{true, viewMode_ == 0};
    case 32782: return CommandState{true, viewMode_ == 2};
    case 32811: return CommandState{true, viewMode_ == 1};
    case 32798: return CommandState{true, windowFlags().testFlag(Qt::WindowStaysOnTopHint)};
    case 32820: case ID_VIEW_FULLSCREEN: case 32774: case 57665: return CommandState{};
    default: return std::nullopt;
  }
}

bool CMainFrame::FrameCommand(int id) {
  const auto setMode = [this](int mode) {
    viewMode_ = mode;
    ApplyViewMode();
  };
  switch (id) {
    case 59392: toolBar_->setVisible(!toolBar_->isVisible()); return true;
    case 32793: seekDock_->setVisible(!seekDock_->isVisible()); return true;
    case 32810: setMode(0); return true;
    case 32782: setMode(2); return true;
    case 32811: setMode(1); return true;
    case 32820:
      // Playlist and Video -> Playlist -> Video -> Playlist and Video.
      if (!fullScreen_->Window() && viewMode_ >= 0 && viewMode_ <= 2) setMode(std::array{2, 0, 1}[static_cast<std::size_t>(viewMode_)]);
      return true;
    case 32798:
      setWindowFlag(Qt::WindowStaysOnTopHint, !windowFlags().testFlag(Qt::WindowStaysOnTopHint));
      show();
      return true;
    case ID_VIEW_FULLSCREEN:
      fullScreen_->Window() ? fullScreen_->Close() : fullScreen_->EnterFullScreen();
      return true;
    case 32774:
      for (const char* program : {"pavucontrol", "gnome-control-center", "kmix"}) {
        if (QProcess::startDetached(program, program == std::string_view("gnome-control-center") ? QStringList{"sound"} : QStringList{})) break;
      }
      return true;
    case 57665: close(); return true;
    default: return false;
  }
}

void CMainFrame::PopupMenu(std::string_view name, QPoint at) {
  const MenuItem* items = ContextMenu(name);
  if (!items) return;
  QMenu menu;
  for (const MenuItem& entry : items->popup) {
    if (entry.IsSeparator()) {
      menu.addSeparator();
    } else if (entry.id > 0) {
      QAction* action = menu.addAction(QString::fromUtf8(entry.text.data(), entry.text.size()));
      const CommandState state = StateOf(entry.id);
      action->setEnabled(state.enabled);
      action->setCheckable(state.checked);
      action->setChecked(state.checked);
      connect(action, &QAction::triggered, this, [this, id = entry.id] { OnCommand(id); });
    }
  }
  menu.exec(at);
}

void CMainFrame::SendPositionTick() {
  std::int64_t duration = 0, position = 0;
  doc_.GetDurationAndPosition(duration, position);
  seekBar_->SetPosition(duration, position);
}

void CMainFrame::StartPositionTimer(int periodMs) { positionTimer_.start(periodMs); }
void CMainFrame::KillPositionTimer() { positionTimer_.stop(); }
IPlaylistView* CMainFrame::GetPlaylistPane() { return playlist_ ? &playlist_->playListModel() : nullptr; }
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
