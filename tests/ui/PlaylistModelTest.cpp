#include <gtest/gtest.h>

#include <QAbstractItemModelTester>
#include <QSignalSpy>

#include "CategoryLog.h"
#include "playlist/DocFixture.h"
#include "ui/PlaylistIcons.h"
#include "ui/PlaylistModel.h"

namespace lumivox::test {
namespace {

class PlaylistModelTest : public DocFixture {
 protected:
  PlaylistModelTest() { frame.view = &model; }
  ~PlaylistModelTest() override { frame.view = nullptr; }

  QString Text(int row, int column) const { return model.index(row, column).data().toString(); }
  // The titles the model shows, and those the document holds.
  QString Shown() const {
    QString titles;
    for (int row = 0; row < model.rowCount(); ++row) titles += Text(row, 0) + ' ';
    return titles;
  }
  QString Held() const {
    QString titles;
    for (const PlaylistEntry* e : doc->entries())
      titles += QString::fromUtf8(e->title().data(), e->title().size()) + ' ';
    return titles;
  }

  PlaylistIcons icons;
  PlaylistModel model{*doc, icons};
};

TEST_F(PlaylistModelTest, RowsShowTitleDurationAndStateOrNothingWithoutTheirEntry) {
  Fill({"/m/a.mp3", "/media/music/b.avi", "/m/c.wav", "/m/d.wav"});
  doc->GetEntry(1)->duration = 42 * kUnitsPerSecond;
  doc->GetEntry(2)->duration = 3600 * kUnitsPerSecond;
  doc->GetEntry(2)->cannotPlay = true;
  frame.view = nullptr;  // the document drops an entry behind the model's back
  doc->RemoveItem(3);
  struct Row {
    QVariant title, duration, current, cannotPlay;
  };
  const Row rows[] = {
      {"a.mp3", "", true, false}, {"b.avi", "0:42", false, false}, {"c.wav", "1:00:00", false, true}, {{}, {}, {}, {}}};
  ASSERT_EQ(model.rowCount(), 4);
  ASSERT_EQ(model.columnCount(), 2);
  for (int row = 0; row < 4; ++row) {
    const QModelIndex title = model.index(row, 0), duration = model.index(row, 1);
    EXPECT_EQ(title.data(), rows[row].title) << row;
    EXPECT_EQ(duration.data(), rows[row].duration) << row;
    EXPECT_EQ(duration.data(PlaylistModel::CurrentRole), rows[row].current) << row;
    EXPECT_EQ(title.data(PlaylistModel::CannotPlayRole), rows[row].cannotPlay) << row;
    EXPECT_EQ(title.data(Qt::DecorationRole).isValid(), row < 3) << row;
    EXPECT_FALSE(duration.data(Qt::DecorationRole).isValid()) << row;
  }
  EXPECT_EQ(model.index(0, 0).data(Qt::TextAlignmentRole).toInt() & Qt::AlignHorizontal_Mask, Qt::AlignLeft);
  EXPECT_EQ(model.index(0, 1).data(Qt::TextAlignmentRole).toInt() & Qt::AlignHorizontal_Mask, Qt::AlignRight);
}

TEST_F(PlaylistModelTest, RedrawItemsRepaintBothColumnsOfTheirRowsOnly) {
  Fill({"/m/a.mp3", "/m/b.mp3", "/m/c.mp3"});
  QSignalSpy changed(&model, &QAbstractItemModel::dataChanged);
  QSignalSpy updates(&model, &PlaylistModel::windowUpdateRequested);
  model.RedrawItem(-1);
  model.RedrawItem(3);
  EXPECT_EQ(changed.size(), 0);
  ASSERT_TRUE(doc->OpenItem(2));  // the old and the new current row
  ASSERT_EQ(changed.size(), 2);
  for (const int i : {0, 1}) {
    EXPECT_EQ(changed[i][0].toModelIndex(), model.index(2 * i, 0));
    EXPECT_EQ(changed[i][1].toModelIndex(), model.index(2 * i, 1));
  }
  EXPECT_EQ(updates.size(), 2);

  changed.clear();
  model.RedrawItems(2, 1);
  model.RedrawItems(-5, 7);  // one change over the rows there are
  ASSERT_EQ(changed.size(), 1);
  EXPECT_EQ(changed[0][0].toModelIndex(), model.index(0, 0));
  EXPECT_EQ(changed[0][1].toModelIndex(), model.index(2, 1));
}

// The model tester checks every step; each change names the rows it takes away (-) or
// brings (+) as they stand then, or moves (m); the rows show the entries at the end.
TEST_F(PlaylistModelTest, EditsReachTheDocumentWithOneChangePerRunOfRows) {
  enum Edit { Remove, Move, Insert, Up, Down };
  struct Case {
    Edit edit;
    std::vector<IndexRange> runs;
    int distance;       // of a move
    const char* order;  // the titles after the edit
    int current;        // the document's current index after it; entry b was current
    const char* changes;
  };
  const Case cases[] = {
      {Remove, {{1, 2}}, 0, "ade", 1, " -bc"},
      {Remove, {{4, 4}, {0, 0}, {2, 2}}, 0, "bd", 0, " -a -c -e"},
      {Remove, {{0, 1}, {4, 4}}, 0, "cd", 0, " -ab -e"},
      {Move, {{0, 0}, {2, 2}}, 2, "bdaec", 0, " -a -c +a +c"},
      {Move, {{3, 4}}, -2, "adebc", 3, " -de +de"},
      {Move, {{3, 4}}, 1, "abcde", 1, ""},  // e cannot go down
      // The document inserts x, y and z at 0, 1 and 4 together.
      {Insert, {{0, 1}, {4, 4}}, 0, "xyabzcde", 3, " +xy +z"},
      {Up, {{2, 3}}, 0, "acdbe", 3, " m"},
      {Down, {{1, 2}}, 0, "adbce", 2, " m"},
      {Up, {{0, 1}}, 0, "abcde", 1, ""},  // row 0 cannot go up
  };
  for (const Case& c : cases) {
    doc->RemoveAll();
    Fill({"/m/a", "/m/b", "/m/c", "/m/d", "/m/e"});
    ASSERT_TRUE(doc->OpenItem(1));
    CategoryLog log("qt.modeltest");
    QAbstractItemModelTester tester(&model, QAbstractItemModelTester::FailureReportingMode::Warning);
    QString changes;
    const auto rows = [&](const char* sign) {
      return [this, &changes, sign](const QModelIndex&, int first, int last) {
        changes += sign;
        for (int row = first; row <= last; ++row) changes += Text(row, 0);
      };
    };
    const QObject scope;
    QObject::connect(&model, &QAbstractItemModel::rowsAboutToBeRemoved, &scope, rows(" -"));
    QObject::connect(&model, &QAbstractItemModel::rowsInserted, &scope, rows(" +"));
    QObject::connect(&model, &QAbstractItemModel::rowsMoved, &scope, [&] { changes += " m"; });
    const auto& run = c.runs.front();
    if (c.edit == Remove) model.RemoveRows(c.runs);
    if (c.edit == Move) model.MoveRows(c.runs, c.distance);
    if (c.edit == Up) model.MoveRunUp(run.first, run.last);
    if (c.edit == Down) model.MoveRunDown(run.first, run.last);
    if (c.edit == Insert) {
      const CPlayerDoc::InsertBlock block(*doc);
      const char* names[] = {"/m/x", "/m/y", "/m/z"};
      for (int i = 0; const auto& [first, last] : c.runs) {
        for (int at = first; at <= last; ++at) doc->InsertFile(at, names[i++], false);
      }
    }
    EXPECT_EQ(Held().remove(' '), c.order) << c.edit;
    EXPECT_EQ(Shown(), Held());
    EXPECT_EQ(doc->GetCurrentIndex(), c.current) << c.order;
    EXPECT_EQ(changes, c.changes) << c.order;
    EXPECT_EQ(log.Lines(), std::vector<std::string>{});
  }
  // One entry at a time, and a rebuild.
  CategoryLog log("qt.modeltest");
  QAbstractItemModelTester tester(&model, QAbstractItemModelTester::FailureReportingMode::Warning);
  doc->InsertFile(1, "/m/one", false);
  doc->AddFile("/m/two", false);
  EXPECT_EQ(Shown(), Held());
  doc->RemoveAll();
  EXPECT_EQ(model.rowCount(), 0);
  EXPECT_EQ(log.Lines(), std::vector<std::string>{});
}

}  // namespace
}  // namespace lumivox::test
