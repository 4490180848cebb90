#pragma once
// The frame's position timer. The document starts it at each successful open and kills it
// before the next; it then ticks only while the file plays, since a stopped or paused file
// keeps its position and the process need not wake for it. Any change of state outside
// play gives one tick instead, so the seek bar shows where the file stopped.

#include <QTimer>

#include <functional>

namespace lumivox {

class PositionTimer {
 public:
  // `plays` tells whether the open file plays; `tick` feeds the seek bar.
  PositionTimer(std::function<bool()> plays, std::function<void()> tick);

  void Start(int periodMs);
  void Kill();
  // After any change of the engine's state.
  void Follow();
  // After a seek: with no tick coming, the bar shows the new position at once.
  void Seeked();

 private:
  std::function<bool()> plays_;
  std::function<void()> tick_;
  QTimer timer_;
  bool started_ = false;
};

}  // namespace lumivox
