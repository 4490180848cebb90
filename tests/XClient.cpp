#include "XClient.h"

#include <xcb/xtest.h>

#include <chrono>
#include <cstring>
#include <thread>

namespace lumivox::test {

XClient::XClient(const std::string& display) {
  int screenNumber = 0;
  connection_.reset(xcb_connect(display.c_str(), &screenNumber));
  if (xcb_connection_has_error(connection_.get())) {
    connection_.reset();
    return;
  }
  auto roots = xcb_setup_roots_iterator(xcb_get_setup(connection_.get()));
  for (int i = 0; i < screenNumber && roots.rem; ++i) xcb_screen_next(&roots);
  screen_ = roots.data;
}

std::vector<xcb_window_t> XClient::MappedChildren(xcb_window_t parent) {
  std::vector<xcb_window_t> mapped;
  const xcb_window_t of = parent ? parent : screen_->root;
  auto tree = Adopt(xcb_query_tree_reply(connection_.get(), xcb_query_tree(connection_.get(), of), nullptr));
  if (!tree) return mapped;
  const xcb_window_t* children = xcb_query_tree_children(tree.get());
  for (int i = 0; i < xcb_query_tree_children_length(tree.get()); ++i) {
    auto attributes = Adopt(xcb_get_window_attributes_reply(
        connection_.get(), xcb_get_window_attributes(connection_.get(), children[i]), nullptr));
    if (attributes && attributes->map_state == XCB_MAP_STATE_VIEWABLE) mapped.push_back(children[i]);
  }
  return mapped;
}

xcb_window_t XClient::TopLevelNamed(const std::string& name) {
  for (xcb_window_t window : MappedChildren()) {
    auto property = Adopt(xcb_get_property_reply(
        connection_.get(),
        xcb_get_property(connection_.get(), 0, window, XCB_ATOM_WM_NAME, XCB_GET_PROPERTY_TYPE_ANY, 0, 256), nullptr));
    if (!property) continue;
    const auto* text = static_cast<const char*>(xcb_get_property_value(property.get()));
    if (std::string(text, xcb_get_property_value_length(property.get())) == name) return window;
  }
  return 0;
}

QRect XClient::Geometry(xcb_window_t window) {
  auto geometry =
      Adopt(xcb_get_geometry_reply(connection_.get(), xcb_get_geometry(connection_.get(), window), nullptr));
  auto origin = Adopt(xcb_translate_coordinates_reply(
      connection_.get(), xcb_translate_coordinates(connection_.get(), window, screen_->root, 0, 0), nullptr));
  if (!geometry || !origin) return {};
  return QRect(origin->dst_x, origin->dst_y, geometry->width, geometry->height);
}

QRect XClient::Screen() const { return QRect(0, 0, screen_->width_in_pixels, screen_->height_in_pixels); }

xcb_atom_t XClient::Atom(const std::string& name) {
  auto atom = Adopt(xcb_intern_atom_reply(
      connection_.get(), xcb_intern_atom(connection_.get(), 0, static_cast<std::uint16_t>(name.size()), name.c_str()),
      nullptr));
  return atom ? atom->atom : xcb_atom_t{XCB_ATOM_NONE};
}

std::vector<std::uint32_t> XClient::Property(xcb_window_t window, const std::string& name) {
  auto property = Adopt(xcb_get_property_reply(
      connection_.get(), xcb_get_property(connection_.get(), 0, window, Atom(name), XCB_GET_PROPERTY_TYPE_ANY, 0, 1024),
      nullptr));
  if (!property || property->format != 32) return {};
  const auto* items = static_cast<const std::uint32_t*>(xcb_get_property_value(property.get()));
  return std::vector<std::uint32_t>(items, items + xcb_get_property_value_length(property.get()) / 4);
}

QImage XClient::Grab(const QRect& area) {
  auto image = Adopt(xcb_get_image_reply(
      connection_.get(),
      xcb_get_image(connection_.get(), XCB_IMAGE_FORMAT_Z_PIXMAP, screen_->root, static_cast<std::int16_t>(area.x()),
                    static_cast<std::int16_t>(area.y()), static_cast<std::uint16_t>(area.width()),
                    static_cast<std::uint16_t>(area.height()), ~0u),
      nullptr));
  // A 24-bit screen keeps 32 bits a pixel, as QImage's RGB32 does.
  if (!image || image->depth != 24 ||
      xcb_get_image_data_length(image.get()) != static_cast<int>(area.width() * area.height() * 4)) {
    return {};
  }
  QImage grabbed(area.size(), QImage::Format_RGB32);
  std::memcpy(grabbed.bits(), xcb_get_image_data(image.get()), static_cast<std::size_t>(grabbed.sizeInBytes()));
  return grabbed;
}

void XClient::Sync() {
  // The server answers after it has carried out everything sent before.
  std::free(xcb_get_input_focus_reply(connection_.get(), xcb_get_input_focus(connection_.get()), nullptr));
}

void XClient::Fake(std::uint8_t type, std::uint8_t detail, QPoint at) {
  xcb_test_fake_input(connection_.get(), type, detail, XCB_CURRENT_TIME, screen_->root,
                      static_cast<std::int16_t>(at.x()), static_cast<std::int16_t>(at.y()), 0);
}

void XClient::DoubleClick(QPoint at) {
  Fake(XCB_MOTION_NOTIFY, 0, at);
  for (int click = 0; click < 2; ++click) {
    Fake(XCB_BUTTON_PRESS, 1);
    Fake(XCB_BUTTON_RELEASE, 1);
  }
  Sync();
}

std::uint8_t XClient::KeyCode(std::uint32_t keysym) {
  const xcb_setup_t* setup = xcb_get_setup(connection_.get());
  const int count = setup->max_keycode - setup->min_keycode + 1;
  const auto cookie = xcb_get_keyboard_mapping(connection_.get(), setup->min_keycode, static_cast<std::uint8_t>(count));
  auto mapping = Adopt(xcb_get_keyboard_mapping_reply(connection_.get(), cookie, nullptr));
  if (!mapping) return 0;
  const xcb_keysym_t* keysyms = xcb_get_keyboard_mapping_keysyms(mapping.get());
  for (int code = 0; code < count; ++code) {
    for (int column = 0; column < mapping->keysyms_per_keycode; ++column) {
      if (keysyms[code * mapping->keysyms_per_keycode + column] == keysym) {
        return static_cast<std::uint8_t>(setup->min_keycode + code);
      }
    }
  }
  return 0;
}

void XClient::Keys(const std::vector<std::uint32_t>& keysyms) {
  std::vector<std::uint8_t> codes;
  for (std::uint32_t keysym : keysyms) codes.push_back(KeyCode(keysym));
  // One at a time, a few milliseconds apart as a hand types: events that come at once can
  // reach a menu the first of them opened.
  const auto send = [this](std::uint8_t type, std::uint8_t code) {
    Fake(type, code);
    Sync();
    std::this_thread::sleep_for(std::chrono::milliseconds(12));
  };
  for (std::uint8_t code : codes) send(XCB_KEY_PRESS, code);
  for (auto code = codes.rbegin(); code != codes.rend(); ++code) send(XCB_KEY_RELEASE, *code);
}

void XClient::Focus(xcb_window_t window) {
  xcb_set_input_focus(connection_.get(), XCB_INPUT_FOCUS_POINTER_ROOT, window, XCB_CURRENT_TIME);
  Sync();
}

}  // namespace lumivox::test
