#include "ui/PlaylistModel.h"

#include <algorithm>

#include <QIcon>

#include "playlist/PlayerDoc.h"
#include "ui/PlaylistIcons.h"
#include "ui/PlaylistText.h"

namespace lumivox {

PlaylistModel::PlaylistModel(CPlayerDoc& doc, PlaylistIcons& icons, QObject* parent)
    : QAbstractTableModel(parent), doc_(doc), icons_(icons), rows_(doc.GetCount()) {}

int PlaylistModel::rowCount(const QModelIndex& parent) const { return parent.isValid() ? 0 : rows_; }

int PlaylistModel::columnCount(const QModelIndex& parent) const { return parent.isValid() ? 0 : ColumnCount; }

Qt::ItemFlags PlaylistModel::flags(const QModelIndex& index) const {
  if (!index.isValid()) return Qt::NoItemFlags;
  return Qt::ItemIsSelectable | Qt::ItemIsEnabled | Qt::ItemIsDragEnabled | Qt::ItemNeverHasChildren;
}

QVariant PlaylistModel::data(const QModelIndex& index, int role) const {
  if (!checkIndex(index, CheckIndexOption::IndexIsValid)) return {};
  const int entryIndex = EntryIndex(index.row());
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

void PlaylistModel::AppendItem() { InsertRow(rows_); }

void PlaylistModel::InsertItemAt(int index) { InsertRow(std::clamp(index, 0, rows_)); }

void PlaylistModel::InsertRow(int row) {
  insertingRow_ = row;
  beginInsertRows({}, row, row);
  ++rows_;
  insertingRow_ = -1;
  endInsertRows();
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

void PlaylistModel::RemoveRowRange(int first, int last) {
  if (first < 0 || last >= rows_ || first > last) return;
  beginRemoveRows({}, first, last);
  for (int row = last; row >= first; --row) doc_.RemoveItem(row);
  rows_ -= last - first + 1;
  endRemoveRows();
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

void PlaylistModel::MoveRow(int from, int to) {
  if (from < 0 || to < 0 || from >= rows_ || to >= rows_ || from == to) return;
  beginMoveRows({}, from, from, {}, to > from ? to + 1 : to);
  doc_.MoveItem(from, to);
  endMoveRows();
}

}  // namespace lumivox
