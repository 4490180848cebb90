#include <gtest/gtest.h>

#include <algorithm>

#include <QDragEnterEvent>
#include <QGuiApplication>
#include <QMimeData>
#include <QTest>
#include <QUrl>

#include "playlist/DocFixture.h"
#include "ui/PlayListView.h"
#include "ui/PlaylistDrag.h"
#include "ui/PlaylistIcons.h"
#include "ui/PlaylistModel.h"

namespace lumivox::test {
namespace {

TEST(PlaylistDragRuleTest, SelectedRowsLandBeforeTheTargetOrNothingMoves) {
  // Selected rows, target row (-1 below the last row), row count, places every one moves:
  // 0 on itself, just below it, with none selected, and when the last would pass the end.
  const std::tuple<std::vector<IndexRange>, int, int, int> cases[] = {
      {{{1, 1}}, 4, 5, 2},          {{{1, 2}}, 4, 5, 2},
      {{{0, 0}, {2, 2}}, 3, 5, 2},  {{{1, 1}}, -1, 5, 3},
      {{{3, 3}}, 1, 5, -2},         {{{2, 2}, {4, 4}}, 0, 5, -2},
      {{{4, 4}}, 0, 5, -4},         {{{2, 2}}, 2, 5, 0},
      {{{2, 2}}, 3, 5, 0},          {{}, 3, 5, 0},
      {{{1, 2}}, -1, 5, 0},         {{{1, 1}, {4, 4}}, 3, 5, 0},
      {{{0, 0}, {8, 8}}, 5, 10, 0},
  };
  for (const auto& [selected, target, count, distance] : cases) {
    EXPECT_EQ(DragDistance(selected, target, count), distance) << target;
  }
}

class PlaylistDragTest : public DocFixture {
 protected:
  static constexpr Qt::DropActions kActions = Qt::CopyAction | Qt::MoveAction;

  PlaylistDragTest() {
    frame.view = &list.playlistModel();
    list.resize(260, 200);
    list.show();
    EXPECT_TRUE(QTest::qWaitForWindowExposed(&list));
  }
  ~PlaylistDragTest() override { frame.view = nullptr; }

  // Five entries a to e, with `current` playing.
  void Refill(int current) {
    doc->RemoveAll();
    Fill({"/m/a", "/m/b", "/m/c", "/m/d", "/m/e"});
    doc->OpenItemWithFallback(current, false, true);
  }
  // The first letter of every title.
  std::string Order() const {
    std::string letters;
    for (const PlaylistEntry* e : doc->entries()) letters += e->title().front();
    return letters;
  }
  QPoint RowPoint(int row) const { return list.visualRect(list.model()->index(row, 0)).center(); }
  int TopRow() const { return list.indexAt(QPoint(2, 2)).row(); }

  // A shell drag of `data` entering the viewport at `at`, and moving there.
  bool Enter(const QMimeData& data, QPoint at) {
    QDragEnterEvent enter(at, kActions, &data, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(list.viewport(), &enter);
    return enter.isAccepted();
  }
  void Move(const QMimeData& data, QPoint at) {
    QDragMoveEvent move(at, kActions, &data, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(list.viewport(), &move);
  }
  // Drags `data` onto `at` and drops it there; false when it is refused.
  bool Drop(const QMimeData& data, QPoint at) {
    if (!Enter(data, at)) return false;
    Move(data, at);
    QDropEvent drop(at, kActions, &data, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(list.viewport(), &drop);
    EXPECT_EQ(list.dropHighlight(), -1);
    return drop.isAccepted() && drop.dropAction() == Qt::CopyAction;
  }
  static std::unique_ptr<QMimeData> Files(const QStringList& names) {
    auto data = std::make_unique<QMimeData>();
    QList<QUrl> urls;
    for (const QString& name : names) urls << (name.startsWith('/') ? QUrl::fromLocalFile(name) : QUrl(name));
    data->setUrls(urls);
    return data;
  }

  PlaylistIcons icons;
  CPlayListView list{*doc, icons, options.playerColor};
};

TEST_F(PlaylistDragTest, DroppedFilesAreInsertedAtTheRowOrAddedAtTheEnd) {
  const QString f = QString::fromStdString(dir.Write("f.mp3", "")), g = QString::fromStdString(dir.Write("g.wav", ""));
  const QString folder = QString::fromStdString(dir.Write("sub/h.mp3", "")).section('/', 0, -2);
  dir.Write("sub/i.wav", "");
  dir.Write("sub/notes.txt", "");
  const QString missing = QString::fromStdString(dir / "missing.mp3");
  // Names dropped, row dropped on (-1 below the rows), order after.
  const std::tuple<QStringList, int, std::string> cases[] = {
      {{f, g}, 3, "abcfgde"},
      {{f, missing, folder}, -1, "abcdefhi"},
      // One place per name, also for a folder of two files; an unreadable name takes none.
      {{missing, folder, f}, 1, "ahfibcde"},
      {{"http://radio.test/live", f}, 1, "alfbcde"},  // a stream's URL, never looked for on disk
  };
  for (const auto& [names, row, order] : cases) {
    Refill(3);
    const QPoint at = row >= 0 ? RowPoint(row) : QPoint(10, list.viewport()->height() - 3);
    EXPECT_TRUE(Drop(*Files(names), at)) << order;
    EXPECT_EQ(Order(), order);
    EXPECT_EQ(list.model()->rowCount(), doc->GetCount());
    EXPECT_EQ(doc->GetEntry(doc->GetCurrentIndex())->title(), "d") << order;  // still the playing entry
    EXPECT_EQ(engine->open, "/m/d");
    EXPECT_EQ(engine->state, State_Running);
  }
  // Anything but local files and streams GStreamer reads is refused.
  QMimeData text, remote;
  text.setText(f);
  remote.setUrls({QUrl("nosuchscheme://example.org/f.mp3")});
  EXPECT_FALSE(Drop(text, RowPoint(1)));
  EXPECT_FALSE(Drop(remote, RowPoint(1)));
  EXPECT_EQ(Order(), "alfbcde");
}

TEST_F(PlaylistDragTest, TheMarkFollowsTheDragWhichScrollsOneRowPerMoveNearAnEdge) {
  for (int i = 0; i < 40; ++i) doc->AddFile("/m/" + std::to_string(i), false);
  list.scrollTo(list.model()->index(20, 0), QAbstractItemView::PositionAtTop);
  const int top = TopRow(), bottom = list.viewport()->height() - 2;
  const auto data = Files({QString::fromStdString(dir.Write("f.mp3", ""))});
  ASSERT_TRUE(Enter(*data, RowPoint(top + 3)));
  // Client row y, top row after the move there.
  const std::pair<int, int> moves[] = {{bottom, top + 1}, {bottom, top + 2}, {1, top + 1}, {60, top + 1}};
  for (const auto& [y, after] : moves) {
    Move(*data, QPoint(20, y));
    EXPECT_EQ(TopRow(), after) << y;
    EXPECT_EQ(list.dropHighlight(), list.indexAt(QPoint(20, y)).row());
  }
  QDragLeaveEvent leave;
  QCoreApplication::sendEvent(list.viewport(), &leave);
  EXPECT_EQ(list.dropHighlight(), -1);
}

TEST_F(PlaylistDragTest, DraggedRowsMoveOnReleaseInsideTheList) {
  QWidget* viewport = list.viewport();
  Refill(4);
  // Release point, order after, selected rows and focused row after (the focus goes with
  // row 1, which was pressed), current index after (entry e stays current).
  const QPoint outside(-1, 30);
  const std::tuple<QPoint, std::string, QList<int>, int, int> cases[] = {
      {outside, "abcde", {1, 2}, 1, 4},
      {RowPoint(4), "adebc", {3, 4}, 3, 2},
      {QPoint(30, viewport->height() - 3), "abcde", {1, 2}, 1, 4},  // two rows below the last row
  };
  for (const auto& [release, order, selected, focus, current] : cases) {
    Refill(4);
    list.selectionModel()->select(QItemSelection(list.model()->index(1, 0), list.model()->index(2, 1)),
                                  QItemSelectionModel::ClearAndSelect);
    QTest::mousePress(viewport, Qt::LeftButton, {}, RowPoint(1));
    QTest::mouseMove(viewport, RowPoint(2));
    QTest::mouseMove(viewport, RowPoint(3));  // far enough: the drag begins
    QTest::mouseMove(viewport, RowPoint(4));
    EXPECT_EQ(list.dropHighlight(), 4);
    QTest::mouseMove(viewport, outside);
    ASSERT_TRUE(QGuiApplication::overrideCursor());
    EXPECT_EQ(QGuiApplication::overrideCursor()->shape(), Qt::ForbiddenCursor);
    QTest::mouseMove(viewport, RowPoint(3));
    EXPECT_FALSE(QGuiApplication::overrideCursor());
    QTest::mouseMove(viewport, release);
    QTest::mouseRelease(viewport, Qt::LeftButton, {}, release);
    EXPECT_FALSE(QGuiApplication::overrideCursor());
    EXPECT_EQ(list.dropHighlight(), -1);
    EXPECT_EQ(Order(), order);
    QList<int> rows;
    for (const QModelIndex& index : list.selectionModel()->selectedRows()) rows << index.row();
    std::sort(rows.begin(), rows.end());
    EXPECT_EQ(rows, selected) << order;
    EXPECT_EQ(list.currentIndex().row(), focus) << order;
    EXPECT_EQ(doc->GetCurrentIndex(), current) << order;
  }
}

}  // namespace
}  // namespace lumivox::test
