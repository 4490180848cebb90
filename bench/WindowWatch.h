#pragma once
// What the start-up benchmark sees of a program from outside: the moment its first window
// is mapped on the display (through an X connection of its own, so any program can be
// timed the same way) and the memory it holds.

#include <poll.h>
#include <xcb/xcb.h>

#include <QElapsedTimer>
#include <QFile>

#include <memory>
#include <optional>

namespace lumivox::bench {

class WindowWatch {
 public:
  WindowWatch() : connection_(xcb_connect(nullptr, nullptr), xcb_disconnect) {
    if (xcb_connection_has_error(connection_.get())) return;
    const xcb_window_t root = xcb_setup_roots_iterator(xcb_get_setup(connection_.get())).data->root;
    const uint32_t mask = XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY;
    ready_ = !xcb_request_check(
        connection_.get(), xcb_change_window_attributes_checked(connection_.get(), root, XCB_CW_EVENT_MASK, &mask));
  }

  bool ready() const { return ready_; }

  // Forgets the windows mapped so far.
  void Clear() {
    while (xcb_generic_event_t* event = xcb_poll_for_event(connection_.get())) free(event);
  }

  // The time on `clock` at which the next top-level window is mapped, waiting up to `ms`
  // of it. The display has no window manager: top-level windows are the root's children.
  std::optional<double> NextMap(const QElapsedTimer& clock, qint64 ms) {
    while (clock.elapsed() < ms) {
      while (xcb_generic_event_t* event = xcb_poll_for_event(connection_.get())) {
        const bool mapped = (event->response_type & 0x7f) == XCB_MAP_NOTIFY;
        free(event);
        if (mapped) return static_cast<double>(clock.nsecsElapsed()) / 1e6;
      }
      pollfd fd{xcb_get_file_descriptor(connection_.get()), POLLIN, 0};
      if (::poll(&fd, 1, static_cast<int>(ms - clock.elapsed())) < 0 || xcb_connection_has_error(connection_.get())) {
        return std::nullopt;
      }
    }
    return std::nullopt;
  }

 private:
  std::unique_ptr<xcb_connection_t, void (*)(xcb_connection_t*)> connection_;
  bool ready_ = false;
};

// The resident memory of a running process, in megabytes; 0 when it cannot be read.
inline double ResidentMb(qint64 pid) {
  QFile status(QStringLiteral("/proc/%1/status").arg(pid));
  if (!status.open(QIODevice::ReadOnly)) return 0;
  for (const QByteArray& line : status.readAll().split('\n')) {
    if (line.startsWith("VmRSS:")) return line.mid(6).trimmed().split(' ').front().toDouble() / 1024;
  }
  return 0;
}

}  // namespace lumivox::bench
