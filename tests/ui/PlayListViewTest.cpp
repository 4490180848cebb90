#include <gtest/gtest.h>

#include <QAccessible>
#include <QImage>
#include <QPainter>
#include <QScrollBar>
#include <QSet>
#include <QSignalSpy>
#include <QTest>

#include "playlist/DocFixture.h"
#include "res/ResourceIds.h"
#include "ui/PlayListView.h"
#include "ui/PlaylistDelegate.h"
#include "ui/PlaylistIcons.h"
#include "ui/PlaylistModel.h"

namespace lumivox::test {
namespace {

// Colour table entries (0x00BBGGRR) and selection colours, all told apart easily.
constexpr ColorRef kBackground = 0x00302010, kText = 0x00C0D0E0, kCurrent = 0x0000FF00, kUnsupported = 0x000000FF;
const QColor kHighlight(0, 0, 160), kHighlightText(255, 255, 0);

QColor Rgb(ColorRef c) { return QColor(int(c & 0xFF), int(c >> 8 & 0xFF), int(c >> 16 & 0xFF)); }

using View = CPlayListView;

class PlayListViewTest : public DocFixture {
 protected:
  PlayListViewTest() {
    options.playerColor = {kBackground, kText, 0x808080, kCurrent, kUnsupported};
    view = std::make_unique<CPlayListView>(*doc, icons, options.playerColor);
    frame.view = &view->playlistModel();
    QFont font(QStringLiteral("DejaVu Sans"), 10);
    font.setStyleStrategy(QFont::NoAntialias);  // text pixels in the text colour only
    view->setFont(font);
    QPalette colours = view->palette();
    colours.setColor(QPalette::Highlight, kHighlight);
    colours.setColor(QPalette::HighlightedText, kHighlightText);
    view->setPalette(colours);
    view->resize(260, 200);
  }
  ~PlayListViewTest() override { frame.view = nullptr; }

  void Show() {
    view->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(view.get()));
    QCoreApplication::processEvents();
  }
  void Refill() {
    doc->RemoveAll();
    Fill({"/m/a", "/m/b", "/m/c", "/m/d", "/m/e"});
  }
  QModelIndex Index(int row) const { return view->model()->index(row, 0); }
  void Select(const QList<int>& rows) {
    view->selectionModel()->clearSelection();
    for (const int row : rows)
      view->selectionModel()->select(Index(row), QItemSelectionModel::Select | QItemSelectionModel::Rows);
  }
  QList<int> Selected() const {
    QList<int> rows;
    for (const QModelIndex& index : view->selectionModel()->selectedRows()) rows << index.row();
    std::sort(rows.begin(), rows.end());
    return rows;
  }
  void Focus(int row) { view->selectionModel()->setCurrentIndex(Index(row), QItemSelectionModel::NoUpdate); }
  QRect RowRect(int row) const {
    const QRect cell = view->visualRect(Index(row));
    return QRect(0, cell.top(), view->viewport()->width(), cell.height());
  }
  QRect TitleCell(int row) const { return QRect(0, RowRect(row).top(), view->columnWidth(0), RowRect(row).height()); }
  QImage Render() const {
    QImage image(view->viewport()->size(), QImage::Format_RGB32);
    view->viewport()->render(&image);
    return image;
  }
  static QSet<QRgb> ColoursIn(const QImage& image, const QRect& area) {
    QSet<QRgb> colours;
    for (int y = area.top(); y <= area.bottom(); ++y) {
      for (int x = area.left(); x <= area.right(); ++x) colours.insert(image.pixel(x, y));
    }
    return colours;
  }
  // Leftmost and rightmost columns of `area` holding a pixel of `colour`; -1 for none.
  static std::pair<int, int> Extent(const QImage& image, const QRect& area, const QColor& colour) {
    std::pair<int, int> extent{-1, -1};
    for (int x = area.left(); x <= area.right(); ++x) {
      for (int y = area.top(); y <= area.bottom(); ++y) {
        if (image.pixel(x, y) != colour.rgb()) continue;
        if (extent.first < 0) extent.first = x;
        extent.second = x;
      }
    }
    return extent;
  }

  PlaylistIcons icons;
  std::unique_ptr<CPlayListView> view;
};

// --- drawing

TEST_F(PlayListViewTest, RowColoursFollowCurrentUnplayableAndSelection) {
  struct Case {
    int open;  // entry opened first, -1 for a fresh list (current index 0)
    int row;
    bool selected;
    QColor fill, text;
  };
  const QColor bg = Rgb(kBackground);
  const Case cases[] = {
      {-1, 0, false, bg, Rgb(kCurrent)},     {-1, 0, true, kHighlight, Rgb(kCurrent)},
      {-1, 1, false, bg, Rgb(kUnsupported)}, {-1, 1, true, kHighlight, Rgb(kUnsupported)},
      {-1, 2, false, bg, Rgb(kText)},        {-1, 2, true, kHighlight, kHighlightText},
      {3, 3, false, bg, Rgb(kCurrent)},      {3, 3, true, kHighlight, Rgb(kCurrent)},
      {3, 0, false, bg, Rgb(kText)},
  };
  Show();
  engine->failing = {"/m/d"};
  for (const Case& c : cases) {
    Refill();
    doc->GetEntry(1)->cannotPlay = true;
    if (c.open >= 0) doc->OpenItem(c.open);
    Select(c.selected ? QList<int>{c.row} : QList<int>{});
    const QImage image = Render();
    const QRect row = RowRect(c.row), label = PlaylistDelegate::LabelRect(TitleCell(c.row));
    const std::string what =
        QStringLiteral("row %1 open %2 selected %3").arg(c.row).arg(c.open).arg(c.selected).toStdString();
    // Inside the band's edge, where a focus frame would go, only the fill and the text show.
    EXPECT_EQ(ColoursIn(image, label.adjusted(1, 1, -1, -1)), QSet<QRgb>({c.fill.rgb(), c.text.rgb()})) << what;
    EXPECT_EQ(QColor(image.pixel(row.right() - 2, row.center().y())), c.fill) << what;
    EXPECT_EQ(QColor(image.pixel(0, row.center().y())), bg) << what;  // the icon's margin is no part of the band
  }
}

TEST_F(PlayListViewTest, DurationsStandRightAlignedUnlessCutShort) {
  enum Place { None, Right, Left };
  const std::tuple<std::int64_t, int, Place> cases[] = {
      {42, 50, Right}, {10 * 3600 + 61, 90, Right}, {10 * 3600 + 61, 50, Left}, {-1, 50, None}};
  Fill({"/m/a.mp3"});
  PlaylistDelegate delegate(options.playerColor);
  for (const auto& [seconds, width, place] : cases) {
    doc->GetEntry(0)->duration = seconds < 0 ? -1 : seconds * kUnitsPerSecond;
    QImage image(100 + width, 20, QImage::Format_RGB32);
    QPainter painter(&image);
    delegate.DrawRow(painter, PlaylistRow{Index(0), {QRect(0, 0, 100, 20), QRect(100, 0, width, 20)}}, *view);
    painter.end();
    const int textLeft = 100 + 6, textRight = 100 + width - 1 - 6;  // inside the 6-pixel insets
    const auto [left, right] = Extent(image, QRect(100, 0, width, 20), Rgb(kCurrent));
    EXPECT_EQ(left < 0, place == None) << seconds << " in " << width;
    if (place == None) continue;
    EXPECT_GE(left, textLeft) << seconds << " in " << width;
    EXPECT_LE(right, textRight) << seconds << " in " << width;
    EXPECT_EQ(right >= textRight - 3, place == Right) << seconds << " in " << width;
    EXPECT_EQ(left <= textLeft + 2, place == Left) << seconds << " in " << width;
  }
}

TEST_F(PlayListViewTest, FocusFrameIsADottedInverseAroundTheBand) {
  Fill({"/m/a.mp3", "/m/b.mp3"});
  PlaylistDelegate delegate(options.playerColor);
  const QRect cells[] = {QRect(0, 0, 150, 20), QRect(150, 0, 50, 20)};
  const int bandLeft = PlaylistDelegate::LabelRect(cells[0]).left();
  for (const bool selected : {false, true}) {
    for (const bool focus : {false, true}) {
      QImage image(200, 20, QImage::Format_RGB32);
      QPainter painter(&image);
      delegate.DrawRow(painter, PlaylistRow{Index(1), {cells[0], cells[1]}, selected, focus}, *view);
      painter.end();
      const QColor fill = selected ? kHighlight : Rgb(kBackground);
      const QRgb inverse = qRgb(255 - fill.red(), 255 - fill.green(), 255 - fill.blue());
      int inverted = 0;  // every other pixel of the band's edge
      for (int x = bandLeft; x < 200; ++x) inverted += (image.pixel(x, 0) == inverse) + (image.pixel(x, 19) == inverse);
      for (int y = 1; y < 19; ++y) inverted += (image.pixel(bandLeft, y) == inverse) + (image.pixel(199, y) == inverse);
      EXPECT_NEAR(inverted, focus ? 200 - bandLeft + 18 : 0, 4) << selected << focus;
      EXPECT_FALSE(ColoursIn(image, QRect(bandLeft + 1, 1, 198 - bandLeft, 18)).contains(inverse));
    }
  }
}

TEST_F(PlayListViewTest, TheInsertionMarkRunsTwoPixelsHighAlongTheRowsTop) {
  Fill({"/m/a.mp3", "/m/b.mp3", "/m/c.mp3"});
  Show();
  view->SetDropHighlight(1);
  Select({1});
  const QImage marked = Render();
  const int x = RowRect(1).right() - 3, top = RowRect(1).top();
  const QColor column[] = {marked.pixel(x, top), marked.pixel(x, top + 1), marked.pixel(x, top + 2)};
  EXPECT_EQ(column[0], kHighlightText);
  EXPECT_EQ(column[1], kHighlightText);
  EXPECT_EQ(column[2], kHighlight);
  EXPECT_EQ(QColor(marked.pixel(x, RowRect(2).top())), Rgb(kBackground));
  view->SetDropHighlight(-1);
  EXPECT_EQ(QColor(Render().pixel(x, top)), kHighlight);
}

TEST_F(PlayListViewTest, ASelectedRowsIconIsBlended) {
  Fill({"/m/a.mp3", "/m/b.mp3"});
  Show();
  const QRect icon = PlaylistDelegate::IconRect(TitleCell(1));
  const QImage plain = Render();
  EXPECT_GT(ColoursIn(plain, icon).size(), 1) << "an icon is drawn";
  Select({1});
  EXPECT_NE(plain.copy(icon), Render().copy(icon));
}

TEST_F(PlayListViewTest, ApplyColorsRereadsTheColourTable) {
  Fill({"/m/a.mp3"});
  Show();
  const QPoint margin(0, RowRect(0).center().y());
  EXPECT_EQ(QColor(Render().pixel(margin)), Rgb(kBackground));
  options.playerColor[PlayerColor_Background] = 0x00405060;
  options.playerColor[PlayerColor_Text] = 0x00010203;
  view->ApplyColors();
  EXPECT_EQ(QColor(Render().pixel(margin)), Rgb(0x00405060));
  EXPECT_EQ(view->palette().color(QPalette::Text), Rgb(0x00010203));
}

// --- layout and rebuilds

TEST_F(PlayListViewTest, ColumnsTakeTheClientWidthButFiftyPixels) {
  Fill({"/m/a.mp3"});
  Show();
  const int frameWidth = view->width() - view->viewport()->width();
  const std::tuple<int, int, int> cases[] = {{63, 63, 0}, {64, 14, 50}, {300, 250, 50}, {10, 10, 0}, {200, 150, 50}};
  for (const auto& [client, title, duration] : cases) {
    view->resize(client + frameWidth, 200);
    QCoreApplication::processEvents();
    ASSERT_EQ(view->viewport()->width(), client);
    EXPECT_EQ(view->columnWidth(0), title) << client;
    EXPECT_EQ(view->columnWidth(1), duration) << client;
  }
}

TEST_F(PlayListViewTest, ADocumentUpdateRebuildsWithRowZeroFocusedAndNothingSelected) {
  for (int i = 0; i < 60; ++i) doc->AddFile("/m/" + std::to_string(i) + ".mp3", false);
  Show();
  Select({3, 4});
  Focus(40);
  view->scrollToBottom();
  ASSERT_GT(view->verticalScrollBar()->value(), 0);
  view->playlistModel().OnDocumentUpdate();
  EXPECT_EQ(view->currentIndex().row(), 0);
  EXPECT_TRUE(Selected().isEmpty());
  EXPECT_EQ(view->verticalScrollBar()->value(), 0);
  EXPECT_EQ(view->model()->rowCount(), 60);
}

// --- playing, deleting, moving

TEST_F(PlayListViewTest, EnterDoubleClickAndPlayStartTheRightRow) {
  enum Way { Return, Enter, DoubleClick, RightDoubleClick, PlayCommand };
  struct Case {
    Way way;
    QList<int> selected;
    int focus;
    const char* played;  // "" for nothing
  };
  const Case cases[] = {
      {Return, {0}, 2, "/m/c"},         {Enter, {}, 3, "/m/d"},  // the focused row, selected or not
      {DoubleClick, {}, 1, "/m/e"},     {RightDoubleClick, {}, 1, ""},
      {PlayCommand, {3, 1}, 4, "/m/b"}, {PlayCommand, {}, 4, ""},  // the first selected row
  };
  Show();
  for (const Case& c : cases) {
    Refill();
    engine->Close();
    Select(c.selected);
    Focus(c.focus);
    const QPoint lastRow = view->visualRect(Index(4)).center();
    if (c.way == Return) QTest::keyClick(view.get(), Qt::Key_Return);
    if (c.way == Enter) QTest::keyClick(view.get(), Qt::Key_Enter);
    if (c.way == DoubleClick) QTest::mouseDClick(view->viewport(), Qt::LeftButton, {}, lastRow);
    if (c.way == RightDoubleClick) QTest::mouseDClick(view->viewport(), Qt::RightButton, {}, lastRow);
    if (c.way == PlayCommand) {
      EXPECT_TRUE(view->OnCommand(ID_PLAYLIST_PLAY));
    }
    EXPECT_EQ(engine->open, c.played) << c.way;
    EXPECT_EQ(engine->state, *c.played ? State_Running : State_Stopped) << c.way;
  }
}

TEST_F(PlayListViewTest, DeleteReopensTheCurrentEntryWithoutPlayingAndClearsAnEmptyList) {
  struct Case {
    QList<int> selected;
    int open;  // opened before, -1 for none
    const char* failing;
    const char* order;
    const char* opened;  // what the engine holds afterwards
    int focus;           // the focused row afterwards; row 3 had the focus
  };
  const Case cases[] = {
      {{1, 3}, -1, "", "ace", "", 2},         // the current entry stays: nothing opens
      {{1, 2}, 1, "", "ade", "/m/d", 1},      // the entry now at the current index opens
      {{1, 2}, 1, "/m/d", "ade", "/m/e", 1},  // unplayable entries are skipped
      {{3, 4}, 4, "", "abc", "/m/c", 2},      // the current index falls back to the last row
      {{0, 1, 2, 3, 4}, 2, "", "", "", -1},   // nothing left: the document is cleared
      {{}, 0, "", "abcde", "/m/a", 3},
  };
  for (const Case& c : cases) {
    Refill();
    engine->failing = {c.failing};
    if (c.open >= 0) doc->OpenItem(c.open);
    Select(c.selected);
    Focus(3);
    EXPECT_TRUE(view->OnCommand(ID_EDIT_DELETE));
    EXPECT_EQ(Titles(), c.order) << c.order;
    EXPECT_EQ(view->currentIndex().row(), c.focus) << c.order;
    EXPECT_EQ(engine->open, c.opened) << c.order;
    EXPECT_EQ(engine->state, State_Stopped) << c.order;
    EXPECT_EQ(view->model()->rowCount(), doc->GetCount());
  }
}

TEST_F(PlayListViewTest, MovesTakeSelectionAndFocusWithTheEntries) {
  struct Case {
    int command;
    QList<int> selected;
    int focus;
    const char* order;
    QList<int> selectedAfter;
    int focusAfter;
  };
  const Case cases[] = {
      {ID_EDIT_MOVE_UP, {1, 2}, 2, "bcade", {0, 1}, 1},   {ID_EDIT_MOVE_UP, {1, 3}, 4, "badce", {0, 2}, 4},
      {ID_EDIT_MOVE_UP, {0, 2}, 2, "abcde", {0, 2}, 2},  // row 0 is selected: nothing moves
      {ID_EDIT_MOVE_DOWN, {3}, 3, "abced", {4}, 4},       {ID_EDIT_MOVE_DOWN, {0, 1, 3}, 0, "cabed", {1, 2, 4}, 1},
      {ID_EDIT_MOVE_DOWN, {2, 4}, 2, "abcde", {2, 4}, 2},  // the last row is selected
  };
  for (const Case& c : cases) {
    Refill();
    Select(c.selected);
    Focus(c.focus);
    EXPECT_TRUE(view->OnCommand(c.command));
    EXPECT_EQ(Titles(), c.order);
    EXPECT_EQ(Selected(), c.selectedAfter) << c.order;
    EXPECT_EQ(view->currentIndex().row(), c.focusAfter) << c.order;
  }
}

TEST_F(PlayListViewTest, EnableRulesFollowSelectionAndFocus) {
  // Enabled: Delete, Move Up, Move Down, Properties.
  const std::tuple<QList<int>, bool, std::array<bool, 4>> cases[] = {
      {{}, true, {false, false, false, true}},  {{}, false, {false, false, false, false}},
      {{0}, true, {true, false, true, true}},   {{2}, true, {true, true, true, true}},
      {{4}, false, {true, true, false, false}}, {{0, 4}, true, {true, false, false, true}},
  };
  const int commands[] = {ID_EDIT_DELETE, ID_EDIT_MOVE_UP, ID_EDIT_MOVE_DOWN, ID_FILE_PROPERTIES};
  Refill();
  QSignalSpy properties(view.get(), &CPlayListView::propertiesRequested);
  for (const auto& [selected, focused, enabled] : cases) {
    Select(selected);
    focused ? Focus(3) : view->selectionModel()->clearCurrentIndex();
    for (int i = 0; i < 4; ++i) EXPECT_EQ(view->CommandEnabled(commands[i]), enabled[i]) << commands[i];
    EXPECT_EQ(view->CommandEnabled(ID_PLAYLIST_PLAY), true);
    EXPECT_TRUE(view->OnCommand(ID_FILE_PROPERTIES));
    EXPECT_EQ(properties.size(), focused ? 1 : 0);
    if (focused) {
      EXPECT_EQ(properties.takeFirst()[0].toInt(), 3);  // for the focused row
    }
  }
  // The document's command, not the view's.
  EXPECT_EQ(view->CommandEnabled(ID_EDIT_ADD), std::nullopt);
  EXPECT_FALSE(view->OnCommand(ID_EDIT_ADD));
}

// --- menus, tips, size

// Over a selected row it asks for the row popup, which MainFrameTest shows and checks.
TEST_F(PlayListViewTest, RightClickAwayFromASelectedRowAsksForTheListPopup) {
  // Rows, selected rows, clicked row (-1 below the rows), greyed item.
  const std::tuple<int, QList<int>, int, int> cases[] = {
      {5, {}, 1, 0},
      {5, {1}, -1, 0},
      {0, {}, -1, ID_EDIT_DELETE_ALL},
  };
  Show();
  std::vector<PlaylistPopup> asked;
  QObject::connect(view.get(), &CPlayListView::contextMenuRequested,
                   [&](const PlaylistPopup& popup, const QPoint&) { asked.push_back(popup); });
  for (const auto& [rows, selected, row, greyed] : cases) {
    doc->RemoveAll();
    for (int i = 0; i < rows; ++i) doc->AddFile("/m/" + std::to_string(i), false);
    Select(selected);
    const QPoint at = row >= 0 ? RowRect(row).center() : QPoint(10, view->viewport()->height() - 5);
    QContextMenuEvent click(QContextMenuEvent::Mouse, at, view->viewport()->mapToGlobal(at));
    QCoreApplication::sendEvent(view->viewport(), &click);
    ASSERT_EQ(asked.size(), 1u) << row;
    EXPECT_EQ(asked[0].menu, View::kNoRowPopup) << row;
    EXPECT_EQ(asked[0].greyedId, greyed) << rows << row;
    EXPECT_EQ(asked[0].defaultId, 0) << row;
    asked.clear();
  }
  QContextMenuEvent key(QContextMenuEvent::Keyboard, QPoint(5, 5), view->viewport()->mapToGlobal(QPoint(5, 5)));
  QCoreApplication::sendEvent(view->viewport(), &key);
  EXPECT_TRUE(asked.empty());
}

TEST_F(PlayListViewTest, ScreenReadersSeeAnItemPerRowNamedByItsTextsAndFollowingTheRows) {
  Refill();
  doc->GetEntry(2)->duration = 75 * kUnitsPerSecond;
  Show();
  view->activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(view.get()));
  view->setFocus();
  Select({2});
  Focus(2);
  QAccessibleInterface* list = QAccessible::queryAccessibleInterface(view.get());
  ASSERT_NE(list, nullptr);
  EXPECT_EQ(list->role(), QAccessible::List);
  EXPECT_EQ(list->childCount(), 5);
  QAccessibleInterface* third = list->child(2);
  ASSERT_NE(third, nullptr);
  EXPECT_EQ(third->text(QAccessible::Name), "c, 1:15");
  EXPECT_EQ(list->child(0)->text(QAccessible::Name), "a");
  EXPECT_TRUE(third->state().selected && third->state().focused);
  EXPECT_FALSE(list->child(1)->state().selected);
  EXPECT_EQ(list->focusChild(), third);
  EXPECT_EQ(list->indexOfChild(third), 2);
  const QPoint middle = view->viewport()->mapToGlobal(RowRect(3).center());
  EXPECT_EQ(list->childAt(middle.x(), middle.y()), list->child(3));
  EXPECT_TRUE(list->child(4)->rect().contains(view->viewport()->mapToGlobal(RowRect(4).center())));
  // A change of rows drops the items made before: readers ask again.
  const QAccessible::Id before = QAccessible::uniqueId(third);
  EXPECT_TRUE(view->OnCommand(ID_EDIT_DELETE));
  EXPECT_EQ(QAccessible::accessibleInterface(before), nullptr);
  EXPECT_EQ(list->childCount(), 4);
  EXPECT_EQ(list->child(2)->text(QAccessible::Name), "d");
}

TEST_F(PlayListViewTest, AHundredThousandRowsBuildScrollAndGoByKeysWithoutPerRowWork) {
  constexpr int kRows = 100'000;
  Show();
  for (int i = 0; i < kRows; ++i) doc->AddFile("/m/" + std::to_string(i) + (i % 2 ? ".mp3" : ".avi"), false);
  QCoreApplication::processEvents();
  view->scrollToBottom();
  Render();
  view->scrollToTop();
  Render();
  EXPECT_EQ(view->model()->rowCount(), kRows);
  int fetched = 0;
  for (const PlaylistEntry* e : doc->entries()) fetched += e->iconIndex != -1;
  EXPECT_LT(fetched, 100);  // only rows that were shown asked for their icon
  EXPECT_EQ(icons.count(), 2);

  QTest::keyClick(view.get(), Qt::Key_A);
  EXPECT_LT(view->selectionModel()->selectedRows().size(), 2);
  QTest::keyClick(view.get(), Qt::Key_A, Qt::ControlModifier);
  EXPECT_EQ(view->selectionModel()->selectedRows().size(), kRows);
  QTest::keyClick(view.get(), Qt::Key_Delete);
  EXPECT_EQ(doc->GetCount(), 0);
  EXPECT_EQ(view->model()->rowCount(), 0);
}

}  // namespace
}  // namespace lumivox::test
