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

TEST_F(PlaylistModelTest, ModelTesterFindsEveryChangeConsistent) {
  CategoryLog log("qt.modeltest");
  QAbstractItemModelTester tester(&model, QAbstractItemModelTester::FailureReportingMode::Warning);
  Fill({"/m/a.mp3", "/m/b.mp3", "/m/c.mp3"});
  doc->InsertFile(0, "/m/first.mp3", false);  // the document holds the entry before it tells
  doc->InsertFile(2, "/m/middle.mp3", false);
  ASSERT_TRUE(doc->OpenItem(3));
  model.MoveRunUp(3, 4);
  model.MoveRunDown(0, 1);
  model.RemoveRowRange(1, 2);
  EXPECT_EQ(Shown(), Held());
  doc->RemoveAll();
  EXPECT_EQ(model.rowCount(), 0);
  Fill({"/m/d.mp3"});
  EXPECT_EQ(Shown(), Held());
  EXPECT_EQ(log.Lines(), std::vector<std::string>{});
}

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

TEST_F(PlaylistModelTest, TheViewsEditsReachTheDocument) {
  enum Edit { Remove, Up, Down };
  struct Case {
    Edit edit;
    int first, last;
    const char* order;  // the titles after the edit
    int current;        // the document's current index after it; entry b was current
  };
  const Case cases[] = {
      {Remove, 1, 2, "ade", 1}, {Remove, 0, 0, "bcde", 0}, {Remove, 4, 4, "abcd", 1},
      {Up, 2, 3, "acdbe", 3},   {Up, 1, 1, "bacde", 0},    {Up, 0, 1, "abcde", 1},    // row 0 cannot go up
      {Down, 1, 2, "adbce", 2}, {Down, 3, 3, "abced", 1},  {Down, 3, 4, "abcde", 1},  // nor the last down
  };
  for (const Case& c : cases) {
    doc->RemoveAll();
    Fill({"/m/a", "/m/b", "/m/c", "/m/d", "/m/e"});
    ASSERT_TRUE(doc->OpenItem(1));
    CategoryLog log("qt.modeltest");
    QAbstractItemModelTester tester(&model, QAbstractItemModelTester::FailureReportingMode::Warning);
    if (c.edit == Remove) model.RemoveRowRange(c.first, c.last);
    if (c.edit == Up) model.MoveRunUp(c.first, c.last);
    if (c.edit == Down) model.MoveRunDown(c.first, c.last);
    EXPECT_EQ(Held().remove(' '), c.order) << c.edit << " " << c.first << ".." << c.last;
    EXPECT_EQ(Shown(), Held());
    EXPECT_EQ(doc->GetCurrentIndex(), c.current) << c.order;
    EXPECT_EQ(log.Lines(), std::vector<std::string>{});
  }
}

}  // namespace
}  // namespace lumivox::test
