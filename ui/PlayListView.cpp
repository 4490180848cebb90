#include "ui/PlayListView.h"

#include <algorithm>
#include <filesystem>

#include <QDragEnterEvent>
#include <QGuiApplication>
#include <QHelpEvent>
#include <QKeyEvent>
#include <QScrollBar>
#include <QToolTip>

#include "playlist/ListNames.h"
#include "playlist/PlayerDoc.h"
#include "res/ResourceIds.h"
#include "ui/PlaylistAccessible.h"
#include "ui/PlaylistDelegate.h"
#include "ui/PlaylistDrag.h"
#include "ui/PlaylistModel.h"
#include "ui/VideoView.h"

namespace lumivox {
namespace {

constexpr int kDurationWidth = 50;
constexpr int kNarrowClient = 64;

bool IsRowIn(const std::vector<IndexRange>& runs, int row) {
  return std::any_of(runs.begin(), runs.end(),
                     [row](const IndexRange& run) { return row >= run.first && row <= run.last; });
}

}  // namespace

CPlayListView::CPlayListView(CPlayerDoc& doc, PlaylistIcons& icons,
                             const std::array<ColorRef, kPlayerColorCount>& colors, QWidget* parent)
    : QAbstractItemView(parent),
      doc_(doc),
      colors_(colors),
      model_(new PlaylistModel(doc, icons, this)),
      delegate_(new PlaylistDelegate(colors, this)) {
  PlaylistAccessible::Install();
  setFrameStyle(QFrame::Box | QFrame::Plain);
  setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  setSelectionMode(ExtendedSelection);
  setSelectionBehavior(SelectRows);
  setEditTriggers(NoEditTriggers);
  setDragEnabled(true);
  setAcceptDrops(true);
  setItemDelegate(delegate_);
  setModel(model_);
  connect(model_, &QAbstractItemModel::modelReset, this, &CPlayListView::OnRebuilt);
  connect(model_, &QAbstractItemModel::rowsInserted, this, &CPlayListView::OnRowsChanged);
  connect(model_, &QAbstractItemModel::rowsRemoved, this, &CPlayListView::OnRowsChanged);
  connect(model_, &QAbstractItemModel::rowsMoved, this, &CPlayListView::OnRowsChanged);
  connect(model_, &PlaylistModel::windowUpdateRequested, this, [this] { viewport()->repaint(); });
  OnRebuilt();
  ApplyColors();
  AdjustColumns();
}

CPlayListView::~CPlayListView() { RestoreCursor(); }

void CPlayListView::ApplyColors() {
  QPalette colours = palette();
  colours.setColor(QPalette::Base, PlaylistDelegate::ToColor(colors_[PlayerColor_Background]));
  colours.setColor(QPalette::Text, PlaylistDelegate::ToColor(colors_[PlayerColor_Text]));
  setPalette(colours);
}

void CPlayListView::AdjustColumns() {
  const int width = viewport()->width();
  const bool wide = width >= kNarrowClient;
  titleWidth_ = wide ? width - kDurationWidth : width;
  durationWidth_ = wide ? kDurationWidth : 0;
  viewport()->update();
}

void CPlayListView::SetDropHighlight(int row) {
  if (row == dropRow_) return;
  dropRow_ = row;
  viewport()->update();
}

void CPlayListView::OnRebuilt() {
  updateGeometries();
  if (model_->rowCount() > 0) selectionModel()->setCurrentIndex(model_->index(0, 0), QItemSelectionModel::NoUpdate);
  scrollToTop();
}

void CPlayListView::OnRowsChanged() {
  // Laid out once the changes stop coming: a list loaded with the view shown changes
  // for every entry.
  scheduleDelayedItemsLayout();
}

bool CPlayListView::OnCommand(int id) {
  switch (id) {
    case ID_PLAYLIST_PLAY: OnPlay(); return true;
    case ID_EDIT_DELETE: OnDelete(); return true;
    case ID_EDIT_MOVE_UP: OnMoveUp(); return true;
    case ID_EDIT_MOVE_DOWN: OnMoveDown(); return true;
    case ID_FILE_PROPERTIES: OnProperties(); return true;
    default: return false;
  }
}

std::optional<bool> CPlayListView::CommandEnabled(int id) const {
  const bool any = selectionModel()->hasSelection();
  switch (id) {
    case ID_PLAYLIST_PLAY: return true;
    case ID_EDIT_DELETE: return any;
    case ID_EDIT_MOVE_UP: return any && !IsRowSelected(0);
    case ID_EDIT_MOVE_DOWN: return any && !IsRowSelected(model_->rowCount() - 1);
    case ID_FILE_PROPERTIES: return FocusedRow() >= 0;
    default: return std::nullopt;
  }
}

void CPlayListView::OnPlay() {
  const std::vector<IndexRange> runs = SelectedRuns();
  if (!runs.empty()) PlayRow(runs.front().first);
}

void CPlayListView::PlayRow(int row) { doc_.OpenItemWithFallback(row, false, true); }

void CPlayListView::OnDelete() {
  const std::vector<IndexRange> runs = SelectedRuns();
  if (runs.empty()) return;
  // Once the remaining rows fit, the list scrolls back to its first row by itself.
  const bool currentDeleted = IsRowSelected(doc_.GetCurrentIndex());
  // Every selected row goes; a selection kept until then would be cut down run by run.
  selectionModel()->clearSelection();
  // A focused row that goes hands the focus on to the row that takes its place. Taken out
  // with its row, it would first settle on a neighbour and lay out the list for it.
  const int focus = FocusedRow();
  const bool focusDeleted = IsRowIn(runs, focus);
  if (focusDeleted) selectionModel()->clearCurrentIndex();
  model_->RemoveRows(runs);
  if (focusDeleted && model_->rowCount() > 0) {
    const int row = std::min(IndexAfterRemoving(runs, focus), model_->rowCount() - 1);
    selectionModel()->setCurrentIndex(model_->index(row, 0), QItemSelectionModel::NoUpdate);
  }
  // The entry that now stands at the current index is opened, skipping unplayable ones.
  if (currentDeleted) doc_.OpenItemWithFallback(doc_.GetCurrentIndex(), true, false);
  if (model_->rowCount() == 0) doc_.RemoveAll();
}

void CPlayListView::OnMoveUp() {
  const std::vector<IndexRange> runs = SelectedRuns();
  if (runs.empty() || runs.front().first == 0) return;
  for (const IndexRange& run : runs) model_->MoveRunUp(run.first, run.last);
}

void CPlayListView::OnMoveDown() {
  const std::vector<IndexRange> runs = SelectedRuns();
  if (runs.empty() || runs.back().last == model_->rowCount() - 1) return;
  for (auto run = runs.rbegin(); run != runs.rend(); ++run) model_->MoveRunDown(run->first, run->last);
}

void CPlayListView::OnProperties() {
  const int row = FocusedRow();
  if (doc_.GetEntry(row)) Q_EMIT propertiesRequested(row);
}

bool CPlayListView::IsRowSelected(int row) const { return selectionModel()->isSelected(model_->index(row, 0)); }

std::vector<IndexRange> CPlayListView::SelectedRuns() const {
  std::vector<IndexRange> ranges;
  for (const QItemSelectionRange& range : selectionModel()->selection())
    ranges.push_back({range.top(), range.bottom()});
  return JoinRanges(std::move(ranges), model_->rowCount());
}

int CPlayListView::FocusedRow() const { return currentIndex().isValid() ? currentIndex().row() : -1; }

void CPlayListView::resizeEvent(QResizeEvent* event) {
  QAbstractItemView::resizeEvent(event);
  // Fitted once the list has settled at its new size.
  QMetaObject::invokeMethod(this, &CPlayListView::AdjustColumns, Qt::QueuedConnection);
}

void CPlayListView::keyPressEvent(QKeyEvent* event) {
  switch (event->key()) {
    case Qt::Key_Delete: OnDelete(); return;
    case Qt::Key_Return:
    case Qt::Key_Enter:
      // The focused row plays, selected or not.
      if (FocusedRow() >= 0) PlayRow(FocusedRow());
      return;
    case Qt::Key_A:
      if (event->modifiers() & Qt::ControlModifier) {
        selectAll();
        return;
      }
      break;
    default: break;
  }
  QAbstractItemView::keyPressEvent(event);
}

void CPlayListView::mouseDoubleClickEvent(QMouseEvent* event) {
  QAbstractItemView::mouseDoubleClickEvent(event);
  if (event->button() == Qt::LeftButton) OnPlay();
}

void CPlayListView::contextMenuEvent(QContextMenuEvent* event) {
  // These menus come on a right click of the mouse only, not from the keyboard.
  if (event->reason() != QContextMenuEvent::Mouse) {
    event->ignore();
    return;
  }
  PlaylistPopup popup;
  const std::vector<IndexRange> runs = SelectedRuns();
  if (runs.empty() || !indexAt(event->pos()).isValid()) {
    popup = {kNoRowPopup, 0, model_->rowCount() > 0 ? 0 : ID_EDIT_DELETE_ALL};
  } else {
    const bool one = runs.size() == 1 && runs.front().size() == 1;
    popup = {kRowPopup, ID_PLAYLIST_PLAY, one ? 0 : ID_PLAYLIST_PLAY};
  }
  Q_EMIT contextMenuRequested(popup, event->globalPos());
}

void CPlayListView::focusInEvent(QFocusEvent* event) {
  QAbstractItemView::focusInEvent(event);
  viewport()->update();  // the focus frame spans every column
}

void CPlayListView::focusOutEvent(QFocusEvent* event) {
  QAbstractItemView::focusOutEvent(event);
  viewport()->update();
}

bool CPlayListView::viewportEvent(QEvent* event) {
  if (event->type() != QEvent::ToolTip) return QAbstractItemView::viewportEvent(event);
  ShowLabelTip(static_cast<QHelpEvent&>(*event));
  return true;
}

void CPlayListView::ShowLabelTip(const QHelpEvent& event) {
  // A title cut short in its column shows whole in a tip.
  const QModelIndex index = indexAt(event.pos());
  const QRect cell = CellRect(PlaylistModel::TitleColumn, visualRect(index));
  const QString title = index.data().toString();
  if (index.column() != PlaylistModel::TitleColumn || PlaylistDelegate::TitleFits(fontMetrics(), title, cell)) {
    QToolTip::hideText();
    return;
  }
  QToolTip::showText(event.globalPos(), title, viewport(), PlaylistDelegate::LabelRect(cell));
}

void CPlayListView::startDrag(Qt::DropActions) {
  // No drag object: the held button keeps the mouse on the viewport until it is released,
  // and the rows selected then are the ones that move.
  dragging_ = true;
}

void CPlayListView::mouseMoveEvent(QMouseEvent* event) {
  // While dragging, the base class would extend the selection instead.
  if (dragging_) return DragFeedback(event->position().toPoint());
  // Rows are dragged with the left button only.
  if (event->buttons() != Qt::NoButton && !(event->buttons() & Qt::LeftButton)) return;
  QAbstractItemView::mouseMoveEvent(event);
}

void CPlayListView::mouseReleaseEvent(QMouseEvent* event) {
  const bool ends = event->button() == Qt::LeftButton || event->button() == Qt::RightButton;
  // After a drag the base class would select the row under the pointer, or clear the
  // selection below the rows.
  if (ends && EndDrag(event->position().toPoint())) return;
  QAbstractItemView::mouseReleaseEvent(event);
}

void CPlayListView::DragFeedback(const QPoint& at) {
  AutoScroll(at);
  const bool inside = viewport()->rect().contains(at);
  if (!inside && !noEntryCursor_) {
    QGuiApplication::setOverrideCursor(Qt::ForbiddenCursor);
    noEntryCursor_ = true;
  } else if (inside) {
    RestoreCursor();
  }
  SetDropHighlight(RowAt(at));
}

void CPlayListView::RestoreCursor() {
  if (!noEntryCursor_) return;
  QGuiApplication::restoreOverrideCursor();
  noEntryCursor_ = false;
}

bool CPlayListView::EndDrag(const QPoint& at) {
  RestoreCursor();
  if (!dragging_) return false;
  dragging_ = false;
  SetDropHighlight(-1);
  // Here the right and bottom edges of the client area still count as inside.
  const QSize client = viewport()->size();
  if (at.x() < 0 || at.y() < 0 || at.x() > client.width() || at.y() > client.height()) return true;
  const std::vector<IndexRange> runs = SelectedRuns();
  if (const int distance = DragDistance(runs, RowAt(at), model_->rowCount())) MoveSelection(runs, distance);
  viewport()->repaint();
  return true;
}

void CPlayListView::MoveSelection(const std::vector<IndexRange>& runs, int distance) {
  const int focus = FocusedRow();
  const bool focusMoves = IsRowIn(runs, focus);
  // Taken out with its row, the focus would first settle on a neighbour and lay out the list.
  if (focusMoves) selectionModel()->clearCurrentIndex();
  model_->MoveRows(runs, distance);
  // The rows keep their selection and the focus where they land.
  QItemSelection moved;
  for (const IndexRange& run : runs) {
    moved.select(model_->index(run.first + distance, 0), model_->index(run.last + distance, 0));
  }
  selectionModel()->select(moved, QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
  if (focusMoves) {
    selectionModel()->setCurrentIndex(model_->index(focus + distance, 0), QItemSelectionModel::NoUpdate);
  }
}

void CPlayListView::AutoScroll(const QPoint& at) {
  if (model_->rowCount() == 0 || at.x() < 0 || at.x() >= titleWidth_ + durationWidth_) return;
  executeDelayedItemsLayout();
  const int height = RowHeight();
  const int client = viewport()->height();
  int rows = 0;
  if (at.y() >= 0 && at.y() < height) {
    rows = -1;
  } else if (at.y() >= client - height && at.y() < client) {
    rows = 1;
  }
  verticalScrollBar()->setValue(TopRow() + rows);
}

int CPlayListView::RowAt(const QPoint& at) const {
  if (!viewport()->rect().contains(at)) return -1;
  const QModelIndex index = indexAt(at);
  return index.isValid() ? index.row() : -1;
}

void CPlayListView::dragEnterEvent(QDragEnterEvent* event) {
  if (DroppedFileNames(event->mimeData()).empty()) return event->ignore();
  event->setDropAction(Qt::CopyAction);
  event->accept();
}

void CPlayListView::dragMoveEvent(QDragMoveEvent* event) {
  if (DroppedFileNames(event->mimeData()).empty()) return event->ignore();
  const QPoint at = event->position().toPoint();
  AutoScroll(at);
  SetDropHighlight(RowAt(at));
  event->setDropAction(Qt::CopyAction);
  event->accept();
}

void CPlayListView::dragLeaveEvent(QDragLeaveEvent*) { SetDropHighlight(-1); }

void CPlayListView::dropEvent(QDropEvent* event) {
  SetDropHighlight(-1);
  const std::vector<std::string> names = DroppedFileNames(event->mimeData());
  if (names.empty()) return event->ignore();
  event->setDropAction(Qt::CopyAction);
  event->accept();
  InsertDropped(names, RowAt(event->position().toPoint()));
}

void CPlayListView::InsertDropped(const std::vector<std::string>& names, int row) {
  const CPlayerDoc::InsertBlock block(doc_);
  int inserted = 0;  // one per name, however many entries a folder or list brought
  for (const std::string& name : names) {
    std::error_code error;
    const bool stream = IsStreamName(name);
    const std::filesystem::file_status status =
        stream ? std::filesystem::file_status() : std::filesystem::status(name, error);
    if (!stream && !std::filesystem::exists(status)) continue;  // its attributes cannot be read
    const bool folder = std::filesystem::is_directory(status);
    if (row < 0 && folder) {
      doc_.AddFolder(name);
    } else if (row < 0) {
      doc_.AddFile(name, true);
    } else if (folder) {
      doc_.InsertFolder(row + inserted++, name);
    } else {
      doc_.InsertFile(row + inserted++, name, true);
    }
  }
}

}  // namespace lumivox
