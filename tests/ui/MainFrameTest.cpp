// The main frame over the document with a scripted engine: layouts, command routing with
// enable and mark rules, the position timer.

#include <gtest/gtest.h>

#include <QActionGroup>
#include <QDialog>
#include <QDropEvent>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QMimeData>
#include <QSplitter>
#include <QTest>
#include <QTimer>
#include <QToolBar>
#include <QToolTip>
#include <QUrl>

#include <array>
#include <climits>
#include <functional>

#include "DialogAnswer.h"
#include "playlist/DocFixture.h"
#include "res/ResourceIds.h"
#include "ui/AboutBox.h"
#include "ui/MainFrame.h"
#include "ui/PlayListView.h"
#include "ui/SeekBar.h"
#include "ui/VideoView.h"

namespace lumivox::test {
namespace {

constexpr std::array<const char*, 4> kEdges = {"Left", "Top", "Right", "Bottom"};

class MainFrameTest : public DocFixture {
 protected:
  MainFrameTest() { frame.ApplyViewMode(); }
  ~MainFrameTest() override { doc->SetFrame(nullptr); }
  CMainFrame frame{*doc, settings};
};

TEST_F(MainFrameTest, LayoutsGiveTheirPanesAndTheViewModeCommandCycles) {
  using enum ViewMode;
  const struct {
    int command;
    ViewMode mode;
    int modeItem;
    bool playlist, video;
  } cases[] = {{ID_VIEW_PLAYLIST_AND_VIDEO, PlaylistAndVideo, ID_VIEW_PLAYLIST_AND_VIDEO, true, true},
               {ID_CHANGE_VIEW_MODE, Playlist, ID_VIEW_PLAYLIST, true, false},
               {ID_CHANGE_VIEW_MODE, Video, ID_VIEW_VIDEO, false, true},
               {ID_CHANGE_VIEW_MODE, PlaylistAndVideo, ID_VIEW_PLAYLIST_AND_VIDEO, true, true},
               {ID_VIEW_PLAYLIST, Playlist, ID_VIEW_PLAYLIST, true, false},
               {ID_VIEW_VIDEO, Video, ID_VIEW_VIDEO, false, true}};
  for (const auto& c : cases) {
    ASSERT_TRUE(frame.OnCommand(c.command)) << c.command;
    EXPECT_EQ(frame.viewMode(), c.mode);
    EXPECT_EQ(frame.GetPlaylistPane() != nullptr, c.playlist) << c.modeItem;
    EXPECT_EQ(frame.GetVideoPane() != nullptr, c.video) << c.modeItem;
    EXPECT_TRUE(frame.StateOf(c.modeItem).checked);
  }
}

TEST_F(MainFrameTest, AViewModeThatNamesNoLayoutShowsTheVideoAndIsWrittenBack) {
  settings.WriteProfileInt("View", "ViewMode", 7);
  CMainFrame odd{*doc, settings};
  odd.ApplyViewMode();
  ASSERT_TRUE(odd.OnCommand(ID_CHANGE_VIEW_MODE));
  EXPECT_EQ(odd.viewMode(), 7);
  EXPECT_TRUE(odd.GetVideoPane());
  EXPECT_FALSE(odd.GetPlaylistPane());
  for (const int id : {ID_VIEW_PLAYLIST_AND_VIDEO, ID_VIEW_PLAYLIST, ID_VIEW_VIDEO})
    EXPECT_FALSE(odd.StateOf(id).checked) << id;
  odd.close();
  EXPECT_EQ(settings.GetProfileInt("View", "ViewMode", -1), 7);
}

TEST_F(MainFrameTest, TheShownPlaylistPaneKeepsItsWidthThroughViewChanges) {
  frame.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&frame));
  const int quarter = frame.centralWidget()->width() / 4;
  for (int round = 0; round < 6; ++round) {
    ASSERT_TRUE(frame.OnCommand(ID_CHANGE_VIEW_MODE));
    QApplication::processEvents();
    if (frame.viewMode() == ViewMode::PlaylistAndVideo) {
      EXPECT_EQ(frame.findChild<QSplitter*>()->sizes().front(), quarter) << round;
    }
  }
  EXPECT_EQ(settings.GetProfileInt("View", "PlayListWidth", -1), quarter);
}

// What a popup shown while `trigger` runs offered: its default item and which items were
// enabled. shown stays false when no menu came up.
struct ShownMenu {
  bool shown = false;
  int defaultId = 0;
  std::map<int, bool> enabled;
};

ShownMenu MenuShownBy(const std::function<void()>& trigger) {
  ShownMenu seen;
  QTimer poll;
  QObject::connect(&poll, &QTimer::timeout, [&seen] {
    auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
    if (!menu) return;
    seen.shown = true;
    if (menu->defaultAction()) seen.defaultId = menu->defaultAction()->data().toInt();
    for (QAction* action : menu->actions()) {
      if (action->data().isValid()) seen.enabled[action->data().toInt()] = action->isEnabled();
    }
    menu->close();
  });
  poll.start(20);
  trigger();
  return seen;
}

TEST_F(MainFrameTest, ContextMenusCarryTheirDefaultAndGreyedItemsAndTheBarsHaveNone) {
  ASSERT_TRUE(frame.OnCommand(ID_VIEW_PLAYLIST_AND_VIDEO));
  frame.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&frame));
  Fill({"/m/a.mp3", "/m/b.mp3", "/m/c.mp3"});
  auto* playlist = frame.findChild<CPlayListView*>();
  auto* video = dynamic_cast<CVideoView*>(frame.GetVideoPane());
  ASSERT_TRUE(video);
  const auto rightClick = [](QWidget* widget, QPoint at) {
    QContextMenuEvent event(QContextMenuEvent::Mouse, at, widget->mapToGlobal(at));
    QApplication::sendEvent(widget, &event);
  };
  const ShownMenu pane = MenuShownBy([&] {
    QMouseEvent release(QEvent::MouseButtonRelease, QPointF(20, 20), video->mapToGlobal(QPointF(20, 20)),
                        Qt::RightButton, Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(video, &release);
  });
  ASSERT_TRUE(pane.shown);
  EXPECT_EQ(pane.defaultId, ID_VIEW_FULLSCREEN);
  const QPoint firstRow = playlist->visualRect(playlist->model()->index(0, 0)).center();
  for (const int selected : {1, 2}) {
    playlist->selectionModel()->clearSelection();
    for (int row = 0; row < selected; ++row) {
      playlist->selectionModel()->select(playlist->model()->index(row, 0),
                                         QItemSelectionModel::Select | QItemSelectionModel::Rows);
    }
    const ShownMenu rows = MenuShownBy([&] { rightClick(playlist->viewport(), firstRow); });
    ASSERT_TRUE(rows.shown);
    EXPECT_EQ(rows.defaultId, ID_PLAYLIST_PLAY);
    EXPECT_EQ(rows.enabled.at(ID_PLAYLIST_PLAY), selected == 1) << selected;
  }
  for (QWidget* bar : {static_cast<QWidget*>(frame.findChild<QToolBar*>()), static_cast<QWidget*>(&frame.seekBar())}) {
    EXPECT_FALSE(MenuShownBy([&] { rightClick(bar, QPoint(2, 2)); }).shown) << bar->metaObject()->className();
  }
}

TEST_F(MainFrameTest, MarkedItemsShowOnlyTheirMarkAndRadioItemsAreExclusive) {
  const auto action = [this](int id) {
    for (QAction* a : frame.menuBar()->findChildren<QAction*>()) {
      if (a->data() == id) return a;
    }
    return static_cast<QAction*>(nullptr);
  };
  const auto showMenus = [this] {
    for (QMenu* menu : frame.menuBar()->findChildren<QMenu*>()) Q_EMIT menu->aboutToShow();
  };
  for (const int command : {ID_VIEW_PLAYLIST_AND_VIDEO, ID_VIEW_VIDEO, ID_VIEW_PLAYLIST}) {
    ASSERT_TRUE(frame.OnCommand(command));
    showMenus();
    for (const int id : {ID_VIEW_PLAYLIST_AND_VIDEO, ID_VIEW_VIDEO, ID_VIEW_PLAYLIST}) {
      QAction* item = action(id);
      ASSERT_TRUE(item && item->actionGroup()) << id;
      EXPECT_TRUE(item->actionGroup()->isExclusive()) << id;
      EXPECT_EQ(item->actionGroup(), action(ID_VIEW_PLAYLIST_AND_VIDEO)->actionGroup()) << id;
      EXPECT_EQ(item->isChecked(), id == command) << id;
      EXPECT_EQ(item->isCheckable(), id == command) << "no empty mark on " << id;
    }
  }
  for (const int id : {ID_SKIP_1SEC, ID_REPEAT_NONE, ID_ASPECT_NOT_FIXED}) EXPECT_TRUE(action(id)->actionGroup()) << id;
  for (const int id : {ID_VIEW_TOOLBAR, ID_PLAY_SHUFFLE, ID_VIEW_ALWAYS_ON_TOP}) {
    EXPECT_FALSE(action(id)->actionGroup()) << "a check mark: " << id;
  }
  ASSERT_TRUE(frame.OnCommand(ID_VIEW_TOOLBAR));
  showMenus();
  EXPECT_FALSE(action(ID_VIEW_TOOLBAR)->isCheckable()) << "the hidden tool bar leaves no empty box";
}

TEST_F(MainFrameTest, OnlyButtonsWithAPromptShowATip) {
  frame.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&frame));
  auto* bar = frame.findChild<QToolBar*>();
  for (QAction* button : bar->actions()) {
    if (!button->data().isValid()) continue;
    QWidget* widget = bar->widgetForAction(button);
    QHelpEvent help(QEvent::ToolTip, QPoint(4, 4), widget->mapToGlobal(QPoint(4, 4)));
    QApplication::sendEvent(widget, &help);
    const int id = button->data().toInt();
    const bool tipless = id == ID_EDIT_DELETE || id == ID_EDIT_MOVE_UP || id == ID_EDIT_MOVE_DOWN;
    EXPECT_EQ(QToolTip::isVisible(), !tipless) << id;
    QToolTip::hideText();
    ASSERT_TRUE(QTest::qWaitFor([] { return !QToolTip::isVisible(); }));
  }
}

// The buttons' rules: ButtonsFollowEachChangeAtOnceWithoutWaitingOnTheGraph.
TEST_F(MainFrameTest, CommandsWithoutAButtonAreGreyedByTheirRules) {
  EXPECT_FALSE(frame.StateOf(ID_PLAY_PLAYPAUSE).enabled) << "Play / Pause needs an open file";
  EXPECT_FALSE(frame.StateOf(ID_TOOL_DIRECTSHOW_FILTERS).enabled) << "so does the filter list";
  EXPECT_FALSE(frame.OnCommand(ID_PLAY_STOP)) << "a disabled command does not run";
  Fill({"/m/a.mp3", "/m/b.mp3"});
  doc->OpenItem(0);
  EXPECT_TRUE(frame.StateOf(ID_PLAY_PLAYPAUSE).enabled);
  EXPECT_TRUE(frame.StateOf(ID_TOOL_DIRECTSHOW_FILTERS).enabled);
  ASSERT_TRUE(frame.OnCommand(ID_VIEW_PLAYLIST));
  EXPECT_TRUE(frame.StateOf(ID_EDIT_DELETE_ALL).enabled);
  ASSERT_TRUE(frame.OnCommand(ID_VIEW_VIDEO));
  EXPECT_FALSE(frame.OnCommand(ID_EDIT_DELETE_ALL)) << "Delete All needs the playlist view";
  EXPECT_EQ(doc->GetCount(), 2);
}

TEST_F(MainFrameTest, OptionCommandsSetTheirValueAndMarkTheirItem) {
  for (const auto& [command, check] : {std::pair{ID_SKIP_30SEC, 30}, {ID_SKIP_120SEC, 120}}) {
    ASSERT_TRUE(frame.OnCommand(command));
    EXPECT_EQ(doc->skipInterval(), check);
    EXPECT_TRUE(frame.StateOf(command).checked);
  }
  ASSERT_TRUE(frame.OnCommand(ID_REPEAT_ALL));
  EXPECT_EQ(doc->repeatMode(), RepeatMode::All);
  EXPECT_FALSE(frame.StateOf(ID_REPEAT_NONE).checked);
  ASSERT_EQ(options.aspectRatio, AspectRatio::NotFixed);
  ASSERT_TRUE(frame.OnCommand(ID_CHANGE_ASPECT_RATIO));
  EXPECT_EQ(options.aspectRatio, AspectRatio::SourceSize);
  EXPECT_TRUE(frame.StateOf(ID_ASPECT_SOURCE_SIZE).checked);
  options.aspectRatio = 9;  // hand-edited: no item is marked and the cycle keeps it
  ASSERT_TRUE(frame.OnCommand(ID_CHANGE_ASPECT_RATIO));
  EXPECT_EQ(options.aspectRatio, 9);
  for (const int id : {ID_ASPECT_NOT_FIXED, ID_ASPECT_SOURCE_SIZE, ID_ASPECT_4_3, ID_ASPECT_16_9}) {
    EXPECT_FALSE(frame.StateOf(id).checked) << id;
  }
}

// Nothing polls: the buttons change with the document and the playlist selection, as soon as
// the window is idle, and no rule of a button or menu waits on the graph.
TEST_F(MainFrameTest, ButtonsFollowEachChangeAtOnceWithoutWaitingOnTheGraph) {
  auto* bar = frame.findChild<QToolBar*>();
  const auto button = [bar](int id) {
    for (QAction* action : bar->actions()) {
      if (action->data() == id) return action;
    }
    ADD_FAILURE() << "no button " << id;
    return new QAction(bar);
  };
  const auto enabled = [&button](int id) { return button(id)->isEnabled(); };
  const auto idle = [] { QCoreApplication::processEvents(); };
  ASSERT_TRUE(frame.OnCommand(ID_VIEW_PLAYLIST_AND_VIDEO));
  idle();
  EXPECT_FALSE(enabled(ID_PLAY_NEXT_TRACK));
  engine->durations["/m/a.mp3"] = 90 * 10'000'000LL;
  doc->AddFile("/m/a.mp3", false);
  doc->AddFile("/m/b.mp3", false);
  idle();
  EXPECT_TRUE(enabled(ID_PLAY_NEXT_TRACK)) << "a list edit";
  EXPECT_FALSE(enabled(ID_PLAY_REWIND));
  doc->OpenItem(0);
  idle();
  EXPECT_TRUE(enabled(ID_PLAY_REWIND)) << "an open";
  EXPECT_FALSE(enabled(ID_PLAY_STOP));
  button(ID_TOOLBAR_PLAY)->trigger();
  EXPECT_EQ(engine->state, State_Running) << "the button runs its command";
  engine->waits = 0;
  idle();
  EXPECT_TRUE(enabled(ID_PLAY_STOP)) << "a state change";
  EXPECT_FALSE(enabled(ID_TOOLBAR_PLAY));
  for (QMenu* menu : frame.menuBar()->findChildren<QMenu*>()) Q_EMIT menu->aboutToShow();
  EXPECT_EQ(engine->waits, 0);
  engine->QueueEvent(EC_COMPLETE);
  doc->ProcessGraphEvents();
  idle();
  EXPECT_EQ(doc->GetCurrentIndex(), 1);
  EXPECT_TRUE(enabled(ID_PLAY_STOP)) << "the next entry plays on";
  EXPECT_FALSE(enabled(ID_EDIT_DELETE));
  auto* view = frame.findChild<CPlayListView*>();
  view->selectionModel()->select(view->model()->index(1, 0), QItemSelectionModel::Select);
  idle();
  EXPECT_TRUE(enabled(ID_EDIT_DELETE)) << "a selection";
  EXPECT_FALSE(enabled(ID_EDIT_MOVE_DOWN)) << "the last row";
  doc->RemoveAll();
  idle();
  EXPECT_FALSE(enabled(ID_PLAY_NEXT_TRACK));
  EXPECT_FALSE(enabled(ID_PLAY_STOP));
}

// Timer events anywhere in the application while `wait` runs the event loop.
int TimerEventsDuring(const std::function<void()>& wait) {
  struct Counter : QObject {
    int timers = 0;
    bool eventFilter(QObject*, QEvent* event) override {
      timers += event->type() == QEvent::Timer;
      return false;
    }
  } counter;
  qApp->installEventFilter(&counter);
  wait();
  qApp->removeEventFilter(&counter);
  return counter.timers;
}

// The timer feeds the seek bar while the file plays; a stopped or paused file has no timer
// waking the process, and shows its position as play ends and after a seek.
TEST_F(MainFrameTest, ThePositionTimerTicksOnlyWhileTheFilePlays) {
  constexpr std::int64_t kSecond = 10'000'000;
  engine->durations["/m/a.mp3"] = 90 * kSecond;
  Fill({"/m/a.mp3"});
  doc->OpenItem(0);
  const auto idle = [] { QTest::qWait(3 * kPositionTimerMs); };
  EXPECT_EQ(TimerEventsDuring(idle), 0) << "opened, stopped";
  EXPECT_EQ(frame.seekBar().Duration(), 90 * kSecond) << "the open's own tick";
  doc->PlayPause();
  engine->position = 30 * kSecond;
  EXPECT_GE(TimerEventsDuring(idle), 2) << "playing";
  EXPECT_EQ(frame.seekBar().Position(), 30 * kSecond);
  engine->position = 31 * kSecond;
  doc->Pause();
  QCoreApplication::sendPostedEvents();  // the frame follows the state before a timer is due
  EXPECT_EQ(TimerEventsDuring(idle), 0) << "paused";
  EXPECT_EQ(frame.seekBar().Position(), 31 * kSecond) << "the last tick";
  frame.SeekTo(50 * kSecond);
  EXPECT_EQ(frame.seekBar().Position(), 50 * kSecond) << "a seek while paused";
  doc->Stop();
  EXPECT_EQ(TimerEventsDuring(idle), 0) << "stopped";
  EXPECT_EQ(frame.seekBar().Position(), 0);
}

TEST_F(MainFrameTest, ClosingSavesTheWindowAndTheNextFrameTakesItBack) {
  ASSERT_TRUE(frame.OnCommand(ID_VIEW_PLAYLIST_AND_VIDEO));
  ASSERT_TRUE(frame.OnCommand(ID_VIEW_TOOLBAR));
  ASSERT_TRUE(frame.OnCommand(ID_VIEW_ALWAYS_ON_TOP));
  frame.setGeometry(40, 50, 600, 400);
  frame.findChild<QSplitter*>()->setSizes({150, 450});
  const int playlistWidth = frame.findChild<QSplitter*>()->sizes().front();
  Fill({"/m/a.mp3"});
  frame.close();
  EXPECT_NE(TempDir::Read(dir / "data/lumivox.pls").find("/m/a.mp3"), std::string::npos) << "the document closed";

  CMainFrame next{*doc, settings};
  EXPECT_FALSE(next.StateOf(ID_VIEW_TOOLBAR).checked);
  EXPECT_TRUE(next.StateOf(ID_VIEW_SEEKBAR).checked);
  EXPECT_TRUE(next.StateOf(ID_VIEW_ALWAYS_ON_TOP).checked);
  EXPECT_EQ(next.geometry(), QRect(40, 50, 600, 400));
  ASSERT_EQ(next.viewMode(), ViewMode::PlaylistAndVideo);
  next.ApplyViewMode();
  EXPECT_EQ(settings.GetProfileInt("View", "PlayListWidth", -1), playlistWidth);
  EXPECT_EQ(next.findChild<QSplitter*>()->sizes().front(), playlistWidth);
}

TEST_F(MainFrameTest, ASavedPlaceThatCannotBeUsedGivesTheDefaultSize) {
  // Beyond the screen, without a size, wholly before the desktop, or too wide for an int.
  const std::array<int, 4> unusable[] = {{100000, 50, 100600, 450},
                                         {300, 50, 300, 450},
                                         {-5000, -5000, -4000, -4000},
                                         {INT_MIN, 50, 600, 450},
                                         {40, INT_MIN, 640, INT_MAX}};
  for (const auto& rect : unusable) {
    for (std::size_t i = 0; i < rect.size(); ++i) settings.WriteProfileInt("View", kEdges[i], rect[i]);
    CMainFrame placed{*doc, settings};
    EXPECT_EQ(placed.size(), QSize(720, 520)) << rect[0] << ',' << rect[1] << ',' << rect[2] << ',' << rect[3];
  }
}

// Which names a drop adds is the document's rule, tested with it.
TEST_F(MainFrameTest, DroppedFilesReplaceTheListAndPlay) {
  Fill({"/old.mp3"});
  const std::string file = dir.Write("one.mp3", "x");
  QMimeData data;
  data.setUrls({QUrl::fromLocalFile(QString::fromStdString(file))});
  QDragEnterEvent enter(QPoint(10, 10), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
  QApplication::sendEvent(&frame, &enter);
  QDropEvent drop(QPointF(10, 10), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
  QApplication::sendEvent(&frame, &drop);
  EXPECT_EQ(Paths(), std::vector<std::string>{file});
  EXPECT_EQ(engine->state, State_Running);
}

TEST_F(MainFrameTest, OptionsRebuildTheKeysEvenWhenCancelled) {
  options.keyTable[0].key = 'Z';
  WhenDialogShows([](QWidget* sheet) { qobject_cast<QDialog*>(sheet)->reject(); });
  ASSERT_TRUE(frame.OnCommand(ID_TOOL_OPTIONS));
  EXPECT_EQ(settings.accelTable()->Translate(FVIRTKEY | FSHIFT | FCONTROL, 'Z'), ID_PLAY_PLAYPAUSE);
}

TEST_F(MainFrameTest, TheFilterListPausesPlaybackFirst) {
  Fill({"/m/a.mp3"});
  doc->OpenItem(0);
  doc->Play();
  ASSERT_TRUE(frame.OnCommand(ID_TOOL_DIRECTSHOW_FILTERS));
  EXPECT_EQ(engine->state, State_Paused);
}

TEST_F(MainFrameTest, RestoringFromTheTrayRemovesTheIcon) {
  frame.AddTrayIcon();
  ASSERT_TRUE(frame.trayIconShown());
  ASSERT_TRUE(frame.OnCommand(ID_TRAY_RESTORE));
  EXPECT_FALSE(frame.trayIconShown());
  EXPECT_TRUE(frame.isVisible());
  frame.close();
}

TEST_F(MainFrameTest, AboutShowsTheVersion) {
  QString line;
  WhenDialogShows([&line](QWidget* box) {
    line = box->findChild<QLabel*>("programLine")->text();
    qobject_cast<QDialog*>(box)->accept();
  });
  ShowAboutBox(&frame);
  EXPECT_EQ(line, QString("lumivox Version ") + LUMIVOX_VERSION);
}

}  // namespace
}  // namespace lumivox::test
