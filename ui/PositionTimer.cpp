#include "ui/PositionTimer.h"

#include <utility>

namespace lumivox {

PositionTimer::PositionTimer(std::function<bool()> plays, std::function<void()> tick)
    : plays_(std::move(plays)), tick_(std::move(tick)) {
  QObject::connect(&timer_, &QTimer::timeout, &timer_, [this] { tick_(); });
}

void PositionTimer::Start(int periodMs) {
  started_ = true;
  timer_.setInterval(periodMs);
  // Restarted, as a new timer starts.
  if (plays_()) {
    timer_.start();
  } else {
    timer_.stop();
  }
}

void PositionTimer::Kill() {
  started_ = false;
  timer_.stop();
}

void PositionTimer::Follow() {
  if (started_ && plays_()) {
    if (!timer_.isActive()) timer_.start();
    return;
  }
  timer_.stop();
  // Stopping rewinds, also a file that was not playing: one tick shows where it stands.
  if (started_) tick_();
}

void PositionTimer::Seeked() {
  if (started_ && !timer_.isActive()) tick_();
}

}  // namespace lumivox
