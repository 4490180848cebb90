#pragma once
// The rows of the playlist view over the document. Row i stands for entry i; the model
// keeps no entry data, only its own row count and, while it catches up with a change of
// many rows, the runs of entries its rows still leave out.

#include <span>
#include <vector>

#include <QAbstractTableModel>

#include "playlist/DocumentInterfaces.h"
#include "ui/RowGaps.h"

namespace lumivox {

class CPlayerDoc;
class PlaylistIcons;

class PlaylistModel final : public QAbstractTableModel, public IPlaylistView {
  Q_OBJECT

 public:
  enum Column { TitleColumn = 0, DurationColumn = 1, ColumnCount = 2 };
  enum Role {
    CurrentRole = Qt::UserRole + 1,  // bool: the row is the document's current entry
    CannotPlayRole,                  // bool: the entry failed to open once
  };

  PlaylistModel(CPlayerDoc& doc, PlaylistIcons& icons, QObject* parent = nullptr);

  CPlayerDoc& document() const { return doc_; }

  // Asked for every row whenever the view lays its rows out: no virtual calls.
  QModelIndex index(int row, int column, const QModelIndex& parent = {}) const override;
  int rowCount(const QModelIndex& parent = {}) const override;
  int columnCount(const QModelIndex& parent = {}) const override;
  QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
  Qt::ItemFlags flags(const QModelIndex& index) const override;

  // What the document reports after it changed its list.
  void AppendItem() override;
  void InsertItemAt(int index) override;
  void InsertItems(const std::vector<IndexRange>& runs) override;
  void RedrawItem(int index) override;
  void RedrawItems(int first, int last) override;
  void UpdateWindow() override;
  void OnDocumentUpdate() override;

  // The view's own edits, which it makes through the model: the document does not
  // report them. The rows of `ranges` go, one change per run of them, and then their
  // entries (RemoveItems).
  void RemoveRows(const std::vector<IndexRange>& ranges);
  // Moves the run of rows first..last one row up (down), one MoveItem per row of the
  // run, so the row in front of (behind) the run ends up behind (in front of) it.
  void MoveRunUp(int first, int last);
  void MoveRunDown(int first, int last);
  // Moves the rows of `ranges` with their entries (MoveItems) `distance` places: out of
  // the list and back in at their new places, one change per run of them each way.
  void MoveRows(const std::vector<IndexRange>& ranges, int distance);

 Q_SIGNALS:
  // Repaint what is invalid now, not at the next turn of the event loop.
  void windowUpdateRequested();

 private:
  // Rows for entries the document holds already, run by run.
  void ShowRuns(std::span<const IndexRange> runs);
  // The rows of `runs` go, run by run, while the document still holds their entries.
  void HideRuns(const std::vector<IndexRange>& runs);
  QVariant Icon(int entryIndex) const;

  CPlayerDoc& doc_;
  PlaylistIcons& icons_;
  int rows_ = 0;
  RowGaps gaps_;
};

}  // namespace lumivox
