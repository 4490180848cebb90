#pragma once
// The seek bar across the bottom of the main frame: a track with a thumb for the play
// position on the left and the elapsed or remaining time on the right, all painted by the
// bar itself in the player colours.

#include <QString>
#include <QWidget>

#include <array>
#include <cstdint>
#include <functional>

#include "settings/PlayerOptions.h"
#include "ui/SeekBarGeometry.h"

namespace lumivox {

class CSeekBar : public QWidget {
  Q_OBJECT

 public:
  // Receives the position (100-ns units) chosen by a drag on the track.
  using SeekHandler = std::function<void(std::int64_t position)>;

  explicit CSeekBar(QWidget* parent = nullptr);

  // Shows a new duration and position (100-ns units), fed by the frame four times a second
  // while the file plays; a duration of -1 (a stream of unknown length) shows the position
  // alone and takes no seeking. Ignored while the user drags; repaints only when a
  // whole-second value changes.
  void SetPosition(std::int64_t duration, std::int64_t position);

  // The player colours; the bar uses Background, Text and Splitter.
  void SetColors(const std::array<ColorRef, kPlayerColorCount>& colors);

  // Called once per drag, when the button is released.
  void SetSeekHandler(SeekHandler handler);

  // Which side faces the views: the edge strip is drawn there. Bottom-docked by default.
  void SetDockedAtTop(bool top);

  std::int64_t Duration() const { return duration_; }
  std::int64_t Position() const { return position_; }
  bool IsDragging() const { return dragging_; }
  bool IsRemainingMode() const { return remainingMode_; }
  QString TimeText() const;

  // 330 x 14 dialog units of the bar's font.
  QSize sizeHint() const override;

 protected:
  void paintEvent(QPaintEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  void changeEvent(QEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;

 private:
  void Layout();
  QColor PlayerColor(PlayerColorIndex index) const;
  void DrawTrack(QPainter& painter) const;
  void DrawTime(QPainter& painter) const;
  void RepaintTrackAndTime();

  std::int64_t duration_ = 0;  // 0 = nothing open, -1 = unknown
  std::int64_t position_ = 0;
  bool dragging_ = false;
  bool remainingMode_ = false;  // not kept between runs
  bool dockedAtTop_ = false;
  SeekRect track_;
  SeekRect time_;
  std::array<ColorRef, kPlayerColorCount> colors_ = DefaultPlayerColors();
  SeekHandler seekHandler_;
};

}  // namespace lumivox
