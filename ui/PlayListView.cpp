#include "ui/PlayListView.h"

#include <algorithm>

#include <QHeaderView>
#include <QHelpEvent>
#include <QKeyEvent>
#include <QPainter>
#include <QToolTip>

#include "playlist/PlayerDoc.h"
#include "ui/PlayListDelegate.h"
#include "ui/PlayListModel.h"

namespace lumivox {
namespace {

constexpr int kDurationWidth = 50;
constexpr int kNarrowClient = 64;

// Runs of consecutive rows, in the order of `rows`.
std::vector<std::pair<int, int>> Runs(const std::vector<int>& rows) {
  std::vector<std::pair<int, int>> runs;
  for (const int row : rows) {
    if (!runs.empty() && runs.back().second + 1 == row) {
      runs.back().second = row;
    } else {
      runs.emplace_back(row, row);
    }
  }
  return runs;
}

}  // namespace

CPlayListView::CPlayListView(CPlayerDoc& doc, CPlayListIcons& icons,
                             const std::array<ColorRef, kPlayerColorCount>& colors, QWidget* parent)
    : QTreeView(parent),
      doc_(doc),
      colors_(colors),
      model_(new CPlayListModel(doc, icons, this)),
      delegate_(new CPlayListDelegate(colors, this)) {
  setFrameStyle(QFrame::Box | QFrame::Plain);
  setHeaderHidden(true);
  setRootIsDecorated(false);
  setItemsExpandable(false);
  setExpandsOnDoubleClick(false);
  setUniformRowHeights(true);
  setAllColumnsShowFocus(true);
  setSelectionMode(ExtendedSelection);
  setSelectionBehavior(SelectRows);
  setEditTriggers(NoEditTriggers);
  setItemDelegate(delegate_);
  setModel(model_);
  header()->setStretchLastSection(false);
  header()->setMinimumSectionSize(0);
  header()->setSectionResizeMode(QHeaderView::Fixed);
  connect(model_, &QAbstractItemModel::modelReset, this, &CPlayListView::OnRebuilt);
  connect(model_, &CPlayListModel::windowUpdateRequested, this, [this] { viewport()->repaint(); });
  OnRebuilt();
  ApplyColors();
  AdjustColumns();
}

void CPlayListView::ApplyColors() {
  QPalette colours = palette();
  colours.setColor(QPalette::Base, CPlayListDelegate::ToColor(colors_[PlayerColor_Background]));
  colours.setColor(QPalette::Text, CPlayListDelegate::ToColor(colors_[PlayerColor_Text]));
  setPalette(colours);
}

void CPlayListView::AdjustColumns() {
  // Windows hid the list while its columns changed, against flicker; held updates do that.
  setUpdatesEnabled(false);
  const int width = viewport()->width();
  const bool wide = width >= kNarrowClient;
  header()->resizeSection(CPlayListModel::TitleColumn, wide ? width - kDurationWidth : width);
  header()->resizeSection(CPlayListModel::DurationColumn, wide ? kDurationWidth : 0);
  // Without a vertical scroll bar the first row always stands at the top here.
  setUpdatesEnabled(true);
}

void CPlayListView::SetDropHighlight(int row) {
  if (row == dropRow_) return;
  dropRow_ = row;
  viewport()->update();
}

void CPlayListView::OnRebuilt() {
  if (model_->rowCount() > 0) selectionModel()->setCurrentIndex(model_->index(0, 0), QItemSelectionModel::NoUpdate);
  scrollToTop();
}

bool CPlayListView::OnCommand(int id) {
  switch (id) {
    case kPlayCommand: OnPlay(); return true;
    case kDeleteCommand: OnDelete(); return true;
    case kMoveUpCommand: OnMoveUp(); return true;
    case kMoveDownCommand: OnMoveDown(); return true;
    case kPropertiesCommand: OnProperties(); return true;
    default: return false;
  }
}

std::optional<bool> CPlayListView::CommandEnabled(int id) const {
  const bool any = selectionModel()->hasSelection();
  switch (id) {
    case kPlayCommand: return true;
    case kDeleteCommand: return any;
    case kMoveUpCommand: return any && !IsRowSelected(0);
    case kMoveDownCommand: return any && !IsRowSelected(model_->rowCount() - 1);
    case kPropertiesCommand: return FocusedRow() >= 0;
    default: return std::nullopt;
  }
}

void CPlayListView::OnPlay() {
  const std::vector<int> rows = SelectedRows();
  if (!rows.empty()) PlayRow(rows.front());
}

void CPlayListView::PlayRow(int row) { doc_.OpenItemWithFallback(row, false, true); }

void CPlayListView::OnDelete() {
  const std::vector<int> rows = SelectedRows();
  if (rows.empty()) return;
  // Once the remaining rows fit, the list scrolls back to its first row by itself.
  const bool currentDeleted = IsRowSelected(doc_.GetCurrentIndex());
  const auto runs = Runs(rows);
  for (auto run = runs.rbegin(); run != runs.rend(); ++run) model_->RemoveRowRange(run->first, run->second);
  // The entry that now stands at the current index is opened, skipping unplayable ones.
  if (currentDeleted) doc_.OpenItemWithFallback(doc_.GetCurrentIndex(), true, false);
  if (model_->rowCount() == 0) doc_.RemoveAll();
}

void CPlayListView::OnMoveUp() {
  const std::vector<int> rows = SelectedRows();
  if (rows.empty() || rows.front() == 0) return;
  for (const auto& [first, last] : Runs(rows)) model_->MoveRunUp(first, last);
}

void CPlayListView::OnMoveDown() {
  const std::vector<int> rows = SelectedRows();
  if (rows.empty() || rows.back() == model_->rowCount() - 1) return;
  const auto runs = Runs(rows);
  for (auto run = runs.rbegin(); run != runs.rend(); ++run) model_->MoveRunDown(run->first, run->second);
}

void CPlayListView::OnProperties() {
  const int row = FocusedRow();
  if (doc_.GetEntry(row)) Q_EMIT propertiesRequested(row);
}

bool CPlayListView::IsRowSelected(int row) const { return selectionModel()->isSelected(model_->index(row, 0)); }

std::vector<int> CPlayListView::SelectedRows() const {
  std::vector<int> rows;
  for (const QItemSelectionRange& range : selectionModel()->selection()) {
    for (int row = range.top(); row <= range.bottom(); ++row) rows.push_back(row);
  }
  std::sort(rows.begin(), rows.end());
  rows.erase(std::unique(rows.begin(), rows.end()), rows.end());
  return rows;
}

int CPlayListView::FocusedRow() const { return currentIndex().isValid() ? currentIndex().row() : -1; }

QRect CPlayListView::CellRect(int column, const QRect& rowRect) const {
  return QRect(columnViewportPosition(column), rowRect.top(), columnWidth(column), rowRect.height());
}

void CPlayListView::drawRow(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const {
  PlayListRow row;
  row.index = index.siblingAtColumn(CPlayListModel::TitleColumn);
  for (int column = 0; column < model_->columnCount(); ++column) row.cells.push_back(CellRect(column, option.rect));
  row.selected = selectionModel()->isSelected(row.index);
  row.focusFrame = hasFocus() && index.row() == FocusedRow();
  row.dropHighlighted = index.row() == dropRow_;
  delegate_->DrawRow(*painter, row, *this);
}

void CPlayListView::resizeEvent(QResizeEvent* event) {
  QTreeView::resizeEvent(event);
  // Fitted once the list has settled at its new size.
  QMetaObject::invokeMethod(this, &CPlayListView::AdjustColumns, Qt::QueuedConnection);
}

void CPlayListView::keyPressEvent(QKeyEvent* event) {
  switch (event->key()) {
    case Qt::Key_Delete:
      OnDelete();
      return;
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
    default:
      break;
  }
  QTreeView::keyPressEvent(event);
}

void CPlayListView::mouseDoubleClickEvent(QMouseEvent* event) {
  QTreeView::mouseDoubleClickEvent(event);
  if (event->button() == Qt::LeftButton) OnPlay();
}

void CPlayListView::contextMenuEvent(QContextMenuEvent* event) {
  // Windows offered these menus on a right click of the mouse only.
  if (event->reason() != QContextMenuEvent::Mouse) {
    event->ignore();
    return;
  }
  PlayListPopup popup;
  const std::vector<int> rows = SelectedRows();
  if (rows.empty() || !indexAt(event->pos()).isValid()) {
    popup = {kNoRowPopup, model_->rowCount() > 0, true};
  } else {
    popup = {kRowPopup, true, rows.size() < 2};
  }
  Q_EMIT contextMenuRequested(popup, event->globalPos());
}

void CPlayListView::focusInEvent(QFocusEvent* event) {
  QTreeView::focusInEvent(event);
  viewport()->update();  // the focus frame spans every column
}

void CPlayListView::focusOutEvent(QFocusEvent* event) {
  QTreeView::focusOutEvent(event);
  viewport()->update();
}

bool CPlayListView::viewportEvent(QEvent* event) {
  if (event->type() != QEvent::ToolTip) return QTreeView::viewportEvent(event);
  ShowLabelTip(static_cast<QHelpEvent&>(*event));
  return true;
}

void CPlayListView::ShowLabelTip(const QHelpEvent& event) {
  // A title cut short in its column shows whole in a tip.
  const QModelIndex index = indexAt(event.pos());
  const QRect cell = CellRect(CPlayListModel::TitleColumn, visualRect(index));
  const QString title = index.data().toString();
  if (index.column() != CPlayListModel::TitleColumn || CPlayListDelegate::TitleFits(fontMetrics(), title, cell)) {
    QToolTip::hideText();
    return;
  }
  QToolTip::showText(event.globalPos(), title, viewport(), CPlayListDelegate::LabelRect(cell));
}

}  // namespace lumivox
