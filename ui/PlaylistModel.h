#pragma once
// The rows of the playlist view over the document. Row i always stands for entry i; the
// model keeps no entry data, only its own row count, because the document changes its
// list first and tells the view afterwards.

#include <QAbstractTableModel>

#include "playlist/DocumentInterfaces.h"

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

  int rowCount(const QModelIndex& parent = {}) const override;
  int columnCount(const QModelIndex& parent = {}) const override;
  QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
  Qt::ItemFlags flags(const QModelIndex& index) const override;

  // What the document reports after it changed its list.
  void AppendItem() override;
  void InsertItemAt(int index) override;
  void RedrawItem(int index) override;
  void RedrawItems(int first, int last) override;
  void UpdateWindow() override;
  void OnDocumentUpdate() override;

  // The view's own edits, which it makes through the model: the document does not
  // report them. Rows first..last are removed from the last to the first.
  void RemoveRowRange(int first, int last);
  // Moves the run of rows first..last one row up (down), one MoveItem per row of the
  // run, so the row in front of (behind) the run ends up behind (in front of) it.
  void MoveRunUp(int first, int last);
  void MoveRunDown(int first, int last);
  // Moves one row with its entry (MoveItem) so that it stands at `to`; selection and
  // focus go with it.
  void MoveRow(int from, int to);

 Q_SIGNALS:
  // Repaint what is invalid now, not at the next turn of the event loop.
  void windowUpdateRequested();

 private:
  void InsertRow(int row);
  int EntryIndex(int row) const { return insertingRow_ >= 0 && row >= insertingRow_ ? row + 1 : row; }
  QVariant Icon(int entryIndex) const;

  CPlayerDoc& doc_;
  PlaylistIcons& icons_;
  int rows_ = 0;
  // While a row is announced, the document already holds its entry: rows from here on
  // still show the entries they showed before.
  int insertingRow_ = -1;
};

}  // namespace lumivox
