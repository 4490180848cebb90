#pragma once
// The one top-level window: menus, the tool bar and seek bar at the bottom, one of three
// pane layouts, full screen, the position timer and the engine's graph-notify.

#include <QMainWindow>
#include <QPointer>

#include <functional>
#include <memory>

#include "playlist/DocumentInterfaces.h"
#include "ui/DocumentCommands.h"
#include "ui/PositionTimer.h"
#include "ui/ViewSite.h"

class QAction;
class QMenu;
class QSystemTrayIcon;
class QToolBar;

namespace lumivox {

class CFullScreenWnd;
class CGraphPlayer;
class PlaylistIcons;
class CPlayListView;
class CPlayerDoc;
class CPlayerSplitter;
class CSeekBar;
class CVideoView;

class PlayerSettings;

// "View"/"ViewMode": the pane layout. The frame keeps the number as read, so one that names
// no layout is written back unchanged; it shows the video alone.
enum class ViewMode { PlaylistAndVideo = 0, Video = 1, Playlist = 2 };
constexpr bool operator==(int stored, ViewMode mode) { return stored == static_cast<int>(mode); }

class CMainFrame final : public QMainWindow, public IMainFrame {
  Q_OBJECT

 public:
  // Reads its bars, top-most state, view mode and placement from the "View" settings.
  CMainFrame(CPlayerDoc& doc, PlayerSettings& settings);
  ~CMainFrame() override;

  // The application's own commands, asked last.
  void SetAppCommands(std::function<bool(int)> run) { appCommands_ = std::move(run); }
  // The engine whose graph the filter list shows; none over another engine.
  void SetGraphPlayer(CGraphPlayer* engine) { graphPlayer_ = engine; }

  // Safe from any thread: the engine's graph-notify.
  void PostGraphNotify();
  bool ApplyViewMode();
  int viewMode() const { return viewMode_; }
  void SetViewMode(ViewMode mode) { viewMode_ = static_cast<int>(mode); }
  void ReattachVideo();
  // Routes a command: the active view, the document, the frame. False when nobody ran it.
  bool OnCommand(int id);
  CommandState StateOf(int id);
  // Moves the current file to `position` (100-ns units), as the seek bar does.
  void SeekTo(std::int64_t position);
  CSeekBar& seekBar() const { return *seekBar_; }
  // Keys aimed at `target` go through the user's key table: the main window with its panes
  // and the full-screen window, not the seek bar.
  bool TranslatesKeysFor(QWidget* target) const;
  bool trayIconShown() const { return trayIcon_ != nullptr; }
  void AddTrayIcon();
  void RemoveTrayIcon();
  void RestoreFromTray();
  // The "View" values the close writes, written now.
  void SaveWindowValues();

  // IMainFrame
  void SendPositionTick() override;
  void StartPositionTimer(int periodMs) override;
  void KillPositionTimer() override;
  void StartReconnectTimer(int ms) override;
  IPlaylistView* GetPlaylistPane() override;
  IVideoOwner* GetVideoPane() override;
  IVideoOwner* GetFullScreenWnd() override;
  void SetDocumentTitle(std::string_view title) override;
  void SetCaption(std::string_view caption) override;
  void ResizeBy(int dx, int dy) override;
  void DocumentChanged() override;

 Q_SIGNALS:
  // Once the window is idle after changes that DocumentChanged was told of.
  void stateChanged();
  // The position moved by a seek rather than by playing.
  void seeked();

 protected:
  void customEvent(QEvent* event) override;
  void closeEvent(QCloseEvent* event) override;
  void changeEvent(QEvent* event) override;
  void dragEnterEvent(QDragEnterEvent* event) override;
  void dropEvent(QDropEvent* event) override;
  // The bars have no menu of their own to hide them with.
  QMenu* createPopupMenu() override { return nullptr; }

 private:
  void BuildMenus();
  void BuildBars();
  QMenu* AddMenu(QMenu* menu, const struct MenuItem& item);
  bool RouteCommand(int id);
  // Menus take their items' states as they open; the tool bar as the states change.
  void UpdateMenu(QMenu& menu);
  void UpdateToolBar();
  void PopupMenu(std::string_view name, QPoint at, int defaultId = 0, int greyedId = 0);
  void LoadPlacement();
  void OnOptions();
  void OnFilterList();
  void SavePlaylistWidth();
  bool FrameCommand(int id);
  std::optional<CommandState> FrameCommandState(int id);
  DocumentCommandContext Context();

  CPlayerDoc& doc_;
  PlayerSettings& settings_;
  PlayerOptions& options_;
  std::function<bool(int)> appCommands_;
  CGraphPlayer* graphPlayer_ = nullptr;
  ViewSite site_;
  std::unique_ptr<PlaylistIcons> icons_;
  QToolBar* toolBar_ = nullptr;
  QToolBar* seekDock_ = nullptr;
  CSeekBar* seekBar_ = nullptr;
  QPointer<CPlayListView> playlist_;
  QPointer<CVideoView> video_;
  QPointer<CPlayerSplitter> splitter_;
  std::unique_ptr<QSystemTrayIcon> trayIcon_;
  std::unique_ptr<CFullScreenWnd> fullScreen_;
  bool toolBarUpdatePending_ = false;
  PositionTimer positionTimer_;
  QTimer reconnectTimer_;
  int viewMode_ = static_cast<int>(ViewMode::Video);
};

}  // namespace lumivox
