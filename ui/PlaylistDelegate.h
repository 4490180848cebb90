#pragma once
// Draws one playlist row by hand: a label band in the selection or background colour, the
// type icon, the title cut to its column, the duration right aligned, the text in the
// current-file or unsupported-file colour, and a dotted focus frame.

#include <array>

#include <QList>
#include <QModelIndex>
#include <QRect>
#include <QStyledItemDelegate>

#include "settings/PlayerOptions.h"

class QPainter;

namespace lumivox {

// One row as the view lays it out.
struct PlaylistRow {
  QModelIndex index;   // the row's first column
  QList<QRect> cells;  // one rectangle per column, left to right
  bool selected = false;
  bool focusFrame = false;       // the row has the focus and the view the keyboard focus
  bool dropHighlighted = false;  // draws the insertion mark along the row's top
};

class PlaylistDelegate final : public QStyledItemDelegate {
  Q_OBJECT

 public:
  static constexpr int kIconSize = 16;

  PlaylistDelegate(const std::array<ColorRef, kPlayerColorCount>& colors, QObject* parent = nullptr);

  static QColor ToColor(ColorRef color);
  // Every row's height: the taller of the icon and a line of text, and a margin.
  static int RowHeight(const QFontMetrics& metrics);
  // Where column 0's icon and label lie within its cell.
  static QRect IconRect(const QRect& cell);
  static QRect LabelRect(const QRect& cell);
  // True when `title` is drawn whole in column 0's `cell`.
  static bool TitleFits(const QFontMetrics& metrics, const QString& title, const QRect& cell);

  // Colours and font come from `control`: Base is the text background, Text the text.
  void DrawRow(QPainter& painter, const PlaylistRow& row, const QWidget& control) const;

 private:
  QColor TextColor(const PlaylistRow& row, const QPalette& palette) const;
  static void DrawIcon(QPainter& painter, const QRect& rect, const QIcon& icon, const QColor* blend);
  static void DrawFocusFrame(QPainter& painter, const QRect& band, const QColor& under);

  const std::array<ColorRef, kPlayerColorCount>& colors_;
};

}  // namespace lumivox
