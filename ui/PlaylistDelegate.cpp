#include "ui/PlaylistDelegate.h"

#include <algorithm>

#include <QIcon>
#include <QPainter>
#include <QWidget>

#include "ui/PlaylistModel.h"
#include "ui/PlaylistText.h"

namespace lumivox {
namespace {

constexpr int kIconLeft = 2;
constexpr int kTitleInset = 2;
constexpr int kTitleExtra = 4;
constexpr int kCellInset = 6;
constexpr int kCellExtra = 12;
constexpr int kInsertionMarkHeight = 2;
constexpr int kRowPadding = 2;
constexpr int kTextFlags = Qt::TextSingleLine | Qt::AlignVCenter | Qt::TextDontClip;

}  // namespace

PlaylistDelegate::PlaylistDelegate(const std::array<ColorRef, kPlayerColorCount>& colors, QObject* parent)
    : QStyledItemDelegate(parent), colors_(colors) {}

QColor PlaylistDelegate::ToColor(ColorRef color) {
  return QColor(int(color & 0xFF), int(color >> 8 & 0xFF), int(color >> 16 & 0xFF));
}

QRect PlaylistDelegate::IconRect(const QRect& cell) {
  return QRect(cell.left() + kIconLeft, cell.top() + (cell.height() - kIconSize) / 2, kIconSize, kIconSize);
}

QRect PlaylistDelegate::LabelRect(const QRect& cell) {
  const int left = cell.left() + kIconLeft + kIconSize;
  return QRect(left, cell.top(), std::max(0, cell.right() + 1 - left), cell.height());
}

bool PlaylistDelegate::TitleFits(const QFontMetrics& metrics, const QString& title, const QRect& cell) {
  return FitsWhole(metrics, title, LabelRect(cell).width(), kTitleExtra);
}

int PlaylistDelegate::RowHeight(const QFontMetrics& metrics) {
  return std::max(kIconSize, metrics.height()) + kRowPadding;
}

void PlaylistDelegate::DrawRow(QPainter& painter, const PlaylistRow& row, const QWidget& control) const {
  if (row.cells.isEmpty()) return;
  QRect bounds = row.cells.front();
  bounds.setRight(row.cells.back().left() + row.cells.back().width() - 1);
  if (bounds.width() <= 0 || bounds.height() <= 0) return;
  const QRect label = LabelRect(row.cells.front());
  QRect band = bounds;
  band.setLeft(label.left());

  const QPalette& palette = control.palette();
  const QColor highlight = palette.color(QPalette::Active, QPalette::Highlight);
  const QColor fill = row.selected ? highlight : palette.color(QPalette::Active, QPalette::Base);
  painter.save();
  painter.fillRect(band, fill);
  if (row.dropHighlighted) {
    painter.fillRect(QRect(band.left(), band.top(), band.width(), kInsertionMarkHeight),
                     palette.color(QPalette::Active, QPalette::HighlightedText));
  }
  DrawIcon(painter, IconRect(row.cells.front()), row.index.data(Qt::DecorationRole).value<QIcon>(),
           row.selected ? &highlight : nullptr);

  painter.setPen(TextColor(row, palette));
  painter.setFont(control.font());
  const QFontMetrics metrics(control.font());
  const QString title = row.index.data().toString();
  painter.drawText(label.adjusted(kTitleInset, 0, -kTitleInset, 0), kTextFlags | Qt::AlignLeft,
                   MakeShortString(metrics, title, label.width(), kTitleExtra));

  for (int column = 1; column < row.cells.size(); ++column) {
    const QRect& cell = row.cells[column];
    const QModelIndex index = row.index.siblingAtColumn(column);
    const QString text = index.data().toString();
    if (text.isEmpty()) continue;
    const int align = FitsWhole(metrics, text, cell.width(), kCellExtra)
                          ? index.data(Qt::TextAlignmentRole).toInt() & Qt::AlignHorizontal_Mask
                          : Qt::AlignLeft;
    painter.drawText(cell.adjusted(kCellInset, 0, -kCellInset, 0), kTextFlags | align,
                     MakeShortString(metrics, text, cell.width(), kCellExtra));
  }
  if (row.focusFrame) DrawFocusFrame(painter, band, fill);
  painter.restore();
}

QColor PlaylistDelegate::TextColor(const PlaylistRow& row, const QPalette& palette) const {
  if (row.index.data(PlaylistModel::CurrentRole).toBool()) return ToColor(colors_[PlayerColor_CurrentFile]);
  if (row.index.data(PlaylistModel::CannotPlayRole).toBool()) return ToColor(colors_[PlayerColor_UnsupportedFile]);
  return palette.color(QPalette::Active, row.selected ? QPalette::HighlightedText : QPalette::Text);
}

void PlaylistDelegate::DrawIcon(QPainter& painter, const QRect& rect, const QIcon& icon, const QColor* blend) {
  if (icon.isNull()) return;
  QPixmap pixmap = icon.pixmap(rect.size());
  if (blend) {
    // A selected icon is half blended with the selection colour.
    QPainter tint(&pixmap);
    tint.setCompositionMode(QPainter::CompositionMode_SourceAtop);
    QColor half = *blend;
    half.setAlpha(128);
    tint.fillRect(pixmap.rect(), half);
  }
  painter.drawPixmap(rect, pixmap);
}

void PlaylistDelegate::DrawFocusFrame(QPainter& painter, const QRect& band, const QColor& under) {
  // A dotted frame in the inverse of the band's colour, which is flat beneath it, so the
  // frame shows on any colour.
  QPen pen(QColor(255 - under.red(), 255 - under.green(), 255 - under.blue()), 0);
  pen.setDashPattern({1.0, 1.0});
  painter.setPen(pen);
  painter.setBrush(Qt::NoBrush);
  painter.drawRect(band.adjusted(0, 0, -1, -1));
}

}  // namespace lumivox
