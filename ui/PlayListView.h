#pragma once
// The playlist pane: a two-column list without a header over the document's entries,
// drawn row by row by PlaylistDelegate. It plays, deletes and reorders entries with its
// own commands, keys and mouse drags, takes files dropped on it, and leaves its context
// menus and the properties sheet to the frame. Its rows are all one height and it scrolls
// a row at a time, so it keeps nothing per row: a million-entry list lays out at once.

#include <array>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include <QAbstractItemView>

#include "playlist/IndexRange.h"
#include "settings/PlayerOptions.h"

namespace lumivox {

class CPlayerDoc;
class PlaylistDelegate;
class PlaylistIcons;
class PlaylistModel;

// The context menu a right click asks for, its default item and the item it greys
// whatever the command's own rule says (0: none).
struct PlaylistPopup {
  std::string_view menu;  // "PlayListView0" (no row hit or none selected) or "PlayListView1"
  int defaultId = 0;
  int greyedId = 0;
};

class CPlayListView final : public QAbstractItemView {
  Q_OBJECT

 public:
  static constexpr std::string_view kNoRowPopup = "PlayListView0";
  static constexpr std::string_view kRowPopup = "PlayListView1";

  // `icons` outlives the view, as the entries keep indexes into it; `colors` is the
  // application's colour table, read again by ApplyColors and at every row drawn.
  CPlayListView(CPlayerDoc& doc, PlaylistIcons& icons, const std::array<ColorRef, kPlayerColorCount>& colors,
                QWidget* parent = nullptr);
  ~CPlayListView() override;

  // What the document talks to: the frame hands it out as the playlist pane.
  PlaylistModel& playlistModel() const { return *model_; }

  // Background and Text of the colour table become the list's colours.
  void ApplyColors();
  // The title column takes the client width but 50 pixels for the duration column.
  void AdjustColumns();
  int columnWidth(int column) const { return column == 0 ? titleWidth_ : column == 1 ? durationWidth_ : 0; }
  // The insertion mark above `row` during a drag over the list; -1 for none.
  void SetDropHighlight(int row);
  int dropHighlight() const { return dropRow_; }

  // The view's own commands, asked before the document's: true when it took `id`.
  bool OnCommand(int id);
  // The enable rule of a command the view takes; nothing for any other command.
  std::optional<bool> CommandEnabled(int id) const;

 Q_SIGNALS:
  // The properties sheet is wanted for the entry of `row`.
  void propertiesRequested(int row);
  void contextMenuRequested(const lumivox::PlaylistPopup& popup, const QPoint& globalPos);

 public:
  QRect visualRect(const QModelIndex& index) const override;
  void scrollTo(const QModelIndex& index, ScrollHint hint = EnsureVisible) override;
  QModelIndex indexAt(const QPoint& point) const override;

 protected:
  QModelIndex moveCursor(CursorAction cursorAction, Qt::KeyboardModifiers modifiers) override;
  int horizontalOffset() const override { return 0; }
  int verticalOffset() const override;
  bool isIndexHidden(const QModelIndex&) const override { return false; }
  void setSelection(const QRect& rect, QItemSelectionModel::SelectionFlags command) override;
  QRegion visualRegionForSelection(const QItemSelection& selection) const override;
  void updateGeometries() override;
  void scrollContentsBy(int dx, int dy) override;
  void currentChanged(const QModelIndex& current, const QModelIndex& previous) override;
  void paintEvent(QPaintEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  void mouseDoubleClickEvent(QMouseEvent* event) override;
  void contextMenuEvent(QContextMenuEvent* event) override;
  void focusInEvent(QFocusEvent* event) override;
  void focusOutEvent(QFocusEvent* event) override;
  bool viewportEvent(QEvent* event) override;
  // Drag to reorder: the base class starts it, these follow and end it.
  void startDrag(Qt::DropActions supportedActions) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  // Files and folders dropped from outside.
  void dragEnterEvent(QDragEnterEvent* event) override;
  void dragMoveEvent(QDragMoveEvent* event) override;
  void dragLeaveEvent(QDragLeaveEvent* event) override;
  void dropEvent(QDropEvent* event) override;

 private:
  void OnRebuilt();
  void OnPlay();
  void OnDelete();
  void OnMoveUp();
  void OnMoveDown();
  void OnProperties();
  void PlayRow(int row);
  bool IsRowSelected(int row) const;
  std::vector<IndexRange> SelectedRuns() const;
  int FocusedRow() const;
  QRect CellRect(int column, const QRect& rowRect) const;
  int RowHeight() const;
  int TopRow() const;
  // Rows fully inside the client area, at least one.
  int PageRows() const;
  // The row's band across the client area, wherever it lies.
  QRect RowRect(int row) const;
  // The row at height `y` of the client area, -1 above or below the rows.
  int RowAtY(int y) const;
  void DrawRow(QPainter& painter, int row) const;
  void OnRowsChanged();
  void ShowLabelTip(const QHelpEvent& event);
  void DragFeedback(const QPoint& at);
  // False when no drag to reorder was going on.
  bool EndDrag(const QPoint& at);
  void MoveSelection(const std::vector<IndexRange>& runs, int distance);
  void RestoreCursor();
  // One row up or down when `at` lies on the first or last row's height of the client.
  void AutoScroll(const QPoint& at);
  // The row under `at`, -1 below the rows or outside the client area.
  int RowAt(const QPoint& at) const;
  // Adds the dropped names at the end, or inserts them at `row` in their order.
  void InsertDropped(const std::vector<std::string>& names, int row);

  CPlayerDoc& doc_;
  const std::array<ColorRef, kPlayerColorCount>& colors_;
  PlaylistModel* model_;
  PlaylistDelegate* delegate_;
  int titleWidth_ = 0;
  int durationWidth_ = 0;
  int dropRow_ = -1;
  bool dragging_ = false;
  bool noEntryCursor_ = false;  // shown while a drag to reorder is outside the client area
};

}  // namespace lumivox
