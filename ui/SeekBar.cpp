#include "ui/SeekBar.h"

#include <QFontMetrics>
#include <QMouseEvent>
#include <QPainter>
#include <QRegion>

#include <utility>

namespace lumivox {

namespace {

constexpr int kWidthUnits = 330;
constexpr int kHeightUnits = 14;
constexpr int kEdgeStripHeight = 2;

const QColor kGrooveGrey(192, 192, 192);  // the groove and the thumb's inner outline
const QColor kThumbWhite(255, 255, 255);  // the thumb's outer outline

QRect ToQRect(const SeekRect& r) { return QRect(r.left, r.top, r.Width(), r.Height()); }

// A 1-pixel outline lying inside r, the rest filled.
void DrawOutlinedRect(QPainter& painter, const SeekRect& r, const QColor& outline, const QColor& fill) {
  if (r.IsEmpty()) return;
  painter.fillRect(ToQRect(r), outline);
  const SeekRect inside{r.left + 1, r.top + 1, r.right - 1, r.bottom - 1};
  if (!inside.IsEmpty()) painter.fillRect(ToQRect(inside), fill);
}

}  // namespace

CSeekBar::CSeekBar(QWidget* parent) : QWidget(parent) {
  // Docked across the frame: the frame's width, the bar's own height.
  setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
  setAttribute(Qt::WA_OpaquePaintEvent);
}

void CSeekBar::SetPosition(std::int64_t duration, std::int64_t position) {
  if (dragging_) return;
  // Fed every 250 ms, but the thumb and the text only change visibly with whole seconds.
  const bool sameLength = (duration < 0) == (duration_ < 0) && SameWholeSecond(duration, duration_);
  if (sameLength && SameWholeSecond(position, position_)) return;
  duration_ = duration;
  position_ = position;
  RepaintTrackAndTime();
}

void CSeekBar::SetColors(const std::array<ColorRef, kPlayerColorCount>& colors) {
  colors_ = colors;
  update();
}

void CSeekBar::SetSeekHandler(SeekHandler handler) { seekHandler_ = std::move(handler); }

void CSeekBar::SetDockedAtTop(bool top) {
  dockedAtTop_ = top;
  update();
}

QString CSeekBar::TimeText() const {
  return QString::fromStdString(SeekTimeText(duration_, position_, remainingMode_));
}

QSize CSeekBar::sizeHint() const {
  // Dialog units from this widget's font, so the bar grows with the font: x * average
  // letter width / 4, y * character height / 8.
  const QFontMetrics metrics = fontMetrics();
  const int baseUnitX = DialogBaseUnitX(
      metrics.horizontalAdvance(QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz")));
  return {DialogUnitsToPixelsX(kWidthUnits, baseUnitX), DialogUnitsToPixelsY(kHeightUnits, metrics.height())};
}

void CSeekBar::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  painter.fillRect(rect(), PlayerColor(PlayerColor_Background));
  // The edge strip lies on the side facing the views.
  const int stripTop = dockedAtTop_ ? height() - kEdgeStripHeight : 0;
  painter.fillRect(QRect(0, stripTop, width(), kEdgeStripHeight), PlayerColor(PlayerColor_Splitter));
  DrawTrack(painter);
  DrawTime(painter);
}

void CSeekBar::resizeEvent(QResizeEvent* event) {
  QWidget::resizeEvent(event);
  Layout();
}

void CSeekBar::changeEvent(QEvent* event) {
  QWidget::changeEvent(event);
  if (event->type() == QEvent::FontChange) {
    Layout();
    update();
  }
}

void CSeekBar::Layout() {
  // The longest text the box can be asked to show, with a pixel either side for the ink.
  const int textWidth = fontMetrics().horizontalAdvance(QStringLiteral("-9:59:59/9:59:59")) + 2;
  const SeekBarLayout layout = LayoutSeekBar(width(), height(), textWidth);
  track_ = layout.track;
  time_ = layout.time;
}

void CSeekBar::mousePressEvent(QMouseEvent* event) {
  if (event->button() != Qt::LeftButton) return QWidget::mousePressEvent(event);
  // Qt grabs the mouse for the pressed widget, so the drag keeps its moves and release.
  const QPoint point = event->position().toPoint();
  if (track_.Contains(point.x(), point.y()) && duration_ >= 0) {
    dragging_ = true;
    position_ = PositionFromX(track_, duration_, point.x());
    RepaintTrackAndTime();
  } else if (time_.Contains(point.x(), point.y())) {
    remainingMode_ = !remainingMode_;
    RepaintTrackAndTime();
  }
}

void CSeekBar::mouseMoveEvent(QMouseEvent* event) {
  if (!dragging_) return QWidget::mouseMoveEvent(event);
  position_ = PositionFromX(track_, duration_, event->position().toPoint().x());
  RepaintTrackAndTime();
}

void CSeekBar::mouseReleaseEvent(QMouseEvent* event) {
  if (event->button() != Qt::LeftButton || !dragging_) return QWidget::mouseReleaseEvent(event);
  // Seek once, on release; the next tick of the frame's timer shows where playback went.
  position_ = PositionFromX(track_, duration_, event->position().toPoint().x());
  if (seekHandler_) seekHandler_(position_);
  dragging_ = false;
}

QColor CSeekBar::PlayerColor(PlayerColorIndex index) const {
  const ColorRef colour = colors_[index];  // 0x00BBGGRR
  return QColor(colour & 0xFF, (colour >> 8) & 0xFF, (colour >> 16) & 0xFF);
}

void CSeekBar::DrawTrack(QPainter& painter) const {
  const QColor background = PlayerColor(PlayerColor_Background);
  if (!track_.IsEmpty()) painter.fillRect(ToQRect(track_), background);
  DrawOutlinedRect(painter, GrooveRect(track_), kGrooveGrey, background);
  const std::optional<SeekRect> thumb = ThumbRect(track_, duration_, position_);
  if (!thumb) return;
  DrawOutlinedRect(painter, *thumb, kThumbWhite, background);
  DrawOutlinedRect(painter, {thumb->left + 1, thumb->top + 1, thumb->right - 1, thumb->bottom - 1}, kGrooveGrey,
                   background);
}

void CSeekBar::DrawTime(QPainter& painter) const {
  if (time_.IsEmpty()) return;
  painter.fillRect(ToQRect(time_), PlayerColor(PlayerColor_Background));
  painter.setPen(PlayerColor(PlayerColor_Text));
  painter.drawText(ToQRect(time_), Qt::AlignRight | Qt::AlignVCenter | Qt::TextSingleLine, TimeText());
}

void CSeekBar::RepaintTrackAndTime() {
  // Painted at once, as the position and the mode change; the edge strip stays as it is.
  repaint(QRegion(ToQRect(track_)) + QRegion(ToQRect(time_)));
}

}  // namespace lumivox
