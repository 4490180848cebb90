// The rows of the playlist view: one height for every row, the top row given by the scroll
// bar, a row per scroll step; what lies where, painting, and selecting by area.
#include "ui/PlayListView.h"

#include <algorithm>

#include <QAccessible>
#include <QPaintEvent>
#include <QPainter>
#include <QScrollBar>

#include "ui/PlaylistDelegate.h"
#include "ui/PlaylistModel.h"

namespace lumivox {

QRect CPlayListView::CellRect(int column, const QRect& rowRect) const {
  return QRect(column == 0 ? 0 : titleWidth_, rowRect.top(), columnWidth(column), rowRect.height());
}

int CPlayListView::RowHeight() const { return PlaylistDelegate::RowHeight(fontMetrics()); }

int CPlayListView::TopRow() const {
  // Until a delayed layout fits the scroll bar to a change of rows, the rows it would show.
  return std::clamp(verticalScrollBar()->value(), 0, std::max(0, model_->rowCount() - PageRows()));
}

int CPlayListView::PageRows() const { return std::max(1, viewport()->height() / RowHeight()); }

QRect CPlayListView::RowRect(int row) const {
  const int height = RowHeight();
  return QRect(0, (row - TopRow()) * height, titleWidth_ + durationWidth_, height);
}

int CPlayListView::RowAtY(int y) const {
  const int height = RowHeight();
  const int row = TopRow() + (y >= 0 ? y / height : -((height - 1 - y) / height));
  return row >= 0 && row < model_->rowCount() ? row : -1;
}

QRect CPlayListView::visualRect(const QModelIndex& index) const {
  if (!index.isValid() || index.model() != model_) return {};
  return CellRect(index.column(), RowRect(index.row()));
}

QModelIndex CPlayListView::indexAt(const QPoint& point) const {
  const int row = RowAtY(point.y());
  if (row < 0 || point.x() < 0 || point.x() >= titleWidth_ + durationWidth_) return {};
  return model_->index(row, point.x() < titleWidth_ ? PlaylistModel::TitleColumn : PlaylistModel::DurationColumn);
}

int CPlayListView::verticalOffset() const { return TopRow() * RowHeight(); }

void CPlayListView::scrollTo(const QModelIndex& index, ScrollHint hint) {
  if (!index.isValid()) return;
  executeDelayedItemsLayout();
  const int row = index.row(), top = TopRow(), page = PageRows();
  QScrollBar* bar = verticalScrollBar();
  switch (hint) {
    case PositionAtTop: bar->setValue(row); break;
    case PositionAtBottom: bar->setValue(row - page + 1); break;
    case PositionAtCenter: bar->setValue(row - page / 2); break;
    case EnsureVisible:
      if (row < top) {
        bar->setValue(row);
      } else if (row >= top + page) {
        bar->setValue(row - page + 1);
      }
      break;
  }
}

QModelIndex CPlayListView::moveCursor(CursorAction cursorAction, Qt::KeyboardModifiers) {
  const int rows = model_->rowCount();
  if (rows == 0) return {};
  const int current = FocusedRow();
  if (current < 0) return model_->index(0, 0);
  int row = current;
  switch (cursorAction) {
    case MoveUp:
    case MovePrevious: row = current - 1; break;
    case MoveDown:
    case MoveNext: row = current + 1; break;
    case MovePageUp: row = current - PageRows(); break;
    case MovePageDown: row = current + PageRows(); break;
    case MoveHome: row = 0; break;
    case MoveEnd: row = rows - 1; break;
    case MoveLeft:
    case MoveRight: break;
  }
  return model_->index(std::clamp(row, 0, rows - 1), 0);
}

void CPlayListView::setSelection(const QRect& rect, QItemSelectionModel::SelectionFlags command) {
  const int rows = model_->rowCount();
  const QRect area = rect.normalized();
  int first = RowAtY(area.top()), last = RowAtY(area.bottom());
  const bool across = area.right() >= 0 && area.left() < titleWidth_ + durationWidth_;
  if ((first < 0 && last < 0) || !across) {
    // Nothing hit: an area away from every row only clears.
    if (command & QItemSelectionModel::Clear) selectionModel()->clear();
    return;
  }
  if (first < 0) first = 0;
  if (last < 0) last = rows - 1;
  const QItemSelection selection(model_->index(first, 0), model_->index(last, PlaylistModel::ColumnCount - 1));
  selectionModel()->select(selection, command);
}

QRegion CPlayListView::visualRegionForSelection(const QItemSelection& selection) const {
  const int top = TopRow(), bottom = top + PageRows();
  QRegion region;
  for (const QItemSelectionRange& range : selection) {
    const int first = std::max(range.top(), top), last = std::min(range.bottom(), bottom);
    if (first <= last) region += RowRect(first).united(RowRect(last));
  }
  return region;
}

void CPlayListView::updateGeometries() {
  QScrollBar* bar = verticalScrollBar();
  const int page = PageRows();
  bar->setRange(0, std::max(0, model_->rowCount() - page));
  bar->setPageStep(page);
  bar->setSingleStep(1);
  QAbstractItemView::updateGeometries();
}

void CPlayListView::scrollContentsBy(int dx, int dy) { QAbstractItemView::scrollContentsBy(dx, dy * RowHeight()); }

void CPlayListView::currentChanged(const QModelIndex& current, const QModelIndex& previous) {
  QAbstractItemView::currentChanged(current, previous);
  // The focus frame spans every column.
  for (const QModelIndex& index : {previous, current}) {
    if (index.isValid()) viewport()->update(RowRect(index.row()));
  }
  if (QAccessible::isActive() && hasFocus() && current.isValid()) {
    QAccessibleEvent focus(this, QAccessible::Focus);
    focus.setChild(current.row());
    QAccessible::updateAccessibility(&focus);
  }
}

void CPlayListView::paintEvent(QPaintEvent* event) {
  const QRect dirty = event->rect();
  const int first = RowAtY(dirty.top());
  if (first < 0) return;
  const int last = std::min(model_->rowCount() - 1, TopRow() + dirty.bottom() / RowHeight());
  QPainter painter(viewport());
  for (int row = first; row <= last; ++row) DrawRow(painter, row);
}

void CPlayListView::DrawRow(QPainter& painter, int row) const {
  PlaylistRow drawn;
  drawn.index = model_->index(row, PlaylistModel::TitleColumn);
  const QRect band = RowRect(row);
  for (int column = 0; column < PlaylistModel::ColumnCount; ++column) drawn.cells.push_back(CellRect(column, band));
  drawn.selected = selectionModel()->isSelected(drawn.index);
  drawn.focusFrame = hasFocus() && row == FocusedRow();
  drawn.dropHighlighted = row == dropRow_;
  delegate_->DrawRow(painter, drawn, *this);
}

}  // namespace lumivox
