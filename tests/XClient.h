#pragma once
// A client of an X display, beside the program under test: it reads windows, properties
// and pixels the way the server holds them, and sends real input through XTest, which the
// server delivers as if it came from the mouse and the keyboard.

#include <QImage>
#include <QPoint>
#include <QRect>

#include <xcb/xcb.h>

#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

namespace lumivox::test {

class XClient {
 public:
  explicit XClient(const std::string& display);
  bool connected() const { return connection_ != nullptr; }

  // The mapped windows directly inside `parent` (the root when 0), bottom first.
  std::vector<xcb_window_t> MappedChildren(xcb_window_t parent = 0);
  // The mapped top-level window whose WM_NAME is `name`, or 0.
  xcb_window_t TopLevelNamed(const std::string& name);
  // In root coordinates.
  QRect Geometry(xcb_window_t window);
  QRect Screen() const;
  // A property of 32-bit items (windows, atoms), empty when it is not set.
  std::vector<std::uint32_t> Property(xcb_window_t window, const std::string& name);
  xcb_atom_t Atom(const std::string& name);
  QImage Grab(const QRect& area);

  void DoubleClick(QPoint at);
  // Presses the keys in order and lets them go in reverse: {XK_Alt_L, XK_v} is Alt+V.
  void Keys(const std::vector<std::uint32_t>& keysyms);
  void Focus(xcb_window_t window);

 private:
  struct Disconnect {
    void operator()(xcb_connection_t* connection) const { xcb_disconnect(connection); }
  };
  template <typename T>
  using Reply = std::unique_ptr<T, decltype(&std::free)>;
  template <typename T>
  static Reply<T> Adopt(T* reply) {
    return Reply<T>(reply, &std::free);
  }

  void Sync();
  void Fake(std::uint8_t type, std::uint8_t detail, QPoint at = {});
  std::uint8_t KeyCode(std::uint32_t keysym);

  std::unique_ptr<xcb_connection_t, Disconnect> connection_;
  xcb_screen_t* screen_ = nullptr;
};

}  // namespace lumivox::test
