#include "ui/PlaylistModel.h"

#include <algorithm>

#include <QIcon>

#include "playlist/PlayerDoc.h"
#include "ui/PlaylistIcons.h"
#include "ui/PlaylistText.h"

namespace lumivox {

PlaylistModel::PlaylistModel(CPlayerDoc& doc, PlaylistIcons& icons, QObject* parent)
    : QAbstractTableModel(parent), doc_(doc), icons_(icons), rows_(doc.GetCount()) {}

QModelIndex PlaylistModel::index(int row, int column, const QModelIndex& parent) const {
  const bool inside = !parent.isValid() && row >= 0 && row < rows_ && column >= 0 && column < ColumnCount;
  return inside ? createIndex(row, column) : QModelIndex();
}

int PlaylistModel::rowCount(const QModelIndex& parent) const { return parent.isValid() ? 0 : rows_; }

int PlaylistModel::columnCount(const QModelIndex& parent) const { return parent.isValid() ? 0 : ColumnCount; }

Qt::ItemFlags PlaylistModel::flags(const QModelIndex& index) const {
  if (!index.isValid()) return Qt::NoItemFlags;
  return Qt::ItemIsSelectable | Qt::ItemIsEnabled | Qt::ItemIsDragEnabled | Qt::ItemNeverHasChildren;
}

QVariant PlaylistModel::data(const QModelIndex& index, int role) const {
  if (!checkIndex(index, CheckIndexOption::IndexIsValid)) return {};
  const int entryIndex = gaps_.EntryIndex(index.row());
  const PlaylistEntry* entry = doc_.GetEntry(entryIndex);
  if (!entry) return {};
  const bool title = index.column() == TitleColumn;
  switch (role) {
    case Qt::DisplayRole:
      if (title) return QString::fromUtf8(entry->title().data(), static_cast<qsizetype>(entry->title().size()));
      return DurationText(entry->duration);
    case Qt::DecorationRole: return title ? Icon(entryIndex) : QVariant();
    case Qt::TextAlignmentRole: return int(Qt::AlignVCenter | (title ? Qt::AlignLeft : Qt::AlignRight));
    case CurrentRole: return entryIndex == doc_.GetCurrentIndex();
    case CannotPlayRole: return entry->cannotPlay;
    default: return {};
  }
}

QVariant PlaylistModel::Icon(int entryIndex) const {
  PlaylistEntry* entry = doc_.GetEntry(entryIndex);
  if (entry->iconIndex == -1) entry->iconIndex = icons_.IndexFor(entry->path());
  return icons_.Icon(entry->iconIndex);
}

void PlaylistModel::AppendItem() { InsertItemAt(rows_); }

void PlaylistModel::InsertItemAt(int index) {
  const int row = std::clamp(index, 0, rows_);
  const IndexRange run{row, row};
  ShowRuns({&run, 1});
}

void PlaylistModel::InsertItems(const std::vector<IndexRange>& runs) { ShowRuns(runs); }

void PlaylistModel::ShowRuns(std::span<const IndexRange> runs) {
  gaps_.Reset(runs);
  for (std::size_t j = 0; j < runs.size(); ++j) {
    gaps_.LeaveOut(j, runs.size());
    beginInsertRows({}, runs[j].first, runs[j].last);
    rows_ += runs[j].size();
    gaps_.LeaveOut(j + 1, runs.size());
    endInsertRows();
  }
}

void PlaylistModel::HideRuns(const std::vector<IndexRange>& runs) {
  gaps_.Reset(runs);
  for (std::size_t j = 0; j < runs.size(); ++j) {
    const int row = gaps_.RowOf(j);
    beginRemoveRows({}, row, row + runs[j].size() - 1);
    rows_ -= runs[j].size();
    gaps_.LeaveOut(0, j + 1);
    endRemoveRows();
  }
}

void PlaylistModel::RedrawItem(int index) { RedrawItems(index, index); }

void PlaylistModel::RedrawItems(int first, int last) {
  first = std::max(first, 0);
  last = std::min(last, rows_ - 1);
  if (first > last) return;
  Q_EMIT dataChanged(index(first, TitleColumn), index(last, DurationColumn));
}

void PlaylistModel::UpdateWindow() { Q_EMIT windowUpdateRequested(); }

void PlaylistModel::OnDocumentUpdate() {
  beginResetModel();
  rows_ = doc_.GetCount();
  endResetModel();
}

void PlaylistModel::RemoveRows(const std::vector<IndexRange>& ranges) {
  const std::vector<IndexRange> runs = JoinRanges(ranges, rows_);
  HideRuns(runs);
  doc_.RemoveItems(runs);
  gaps_.Reset({});
}

void PlaylistModel::MoveRunUp(int first, int last) {
  if (first < 1 || last >= rows_ || first > last) return;
  beginMoveRows({}, first - 1, first - 1, {}, last + 1);
  for (int row = first; row <= last; ++row) doc_.MoveItem(row, row - 1);
  endMoveRows();
}

void PlaylistModel::MoveRunDown(int first, int last) {
  if (first < 0 || last + 1 >= rows_ || first > last) return;
  beginMoveRows({}, last + 1, last + 1, {}, first);
  for (int row = last; row >= first; --row) doc_.MoveItem(row, row + 1);
  endMoveRows();
}

void PlaylistModel::MoveRows(const std::vector<IndexRange>& ranges, int distance) {
  const std::vector<IndexRange> runs = JoinRanges(ranges, rows_);
  if (runs.empty() || distance == 0 || runs.front().first + distance < 0 || runs.back().last + distance >= rows_)
    return;
  HideRuns(runs);
  doc_.MoveItems(runs, distance);
  std::vector<IndexRange> moved = runs;
  for (IndexRange& run : moved) run = {run.first + distance, run.last + distance};
  ShowRuns(moved);
}

}  // namespace lumivox
