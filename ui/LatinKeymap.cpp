#include "ui/LatinKeymap.h"

#include <QGuiApplication>
#include <QKeyEvent>

#include <algorithm>
#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <string_view>

#include <xcb/xcb.h>
#include <xkbcommon/xkbcommon.h>

#include "ui/UiLog.h"

namespace lumivox {
namespace {

struct ContextDeleter {
  void operator()(xkb_context* context) const { xkb_context_unref(context); }
};
struct KeymapDeleter {
  void operator()(xkb_keymap* keymap) const { xkb_keymap_unref(keymap); }
};
struct FreeDeleter {
  void operator()(void* reply) const { std::free(reply); }
};
using KeymapPtr = std::unique_ptr<xkb_keymap, KeymapDeleter>;

void LogXkb(xkb_context*, xkb_log_level, const char* format, va_list arguments) {
  char text[512];
  std::vsnprintf(text, sizeof text, format, arguments);
  qCWarning(lcUi) << "xkbcommon:" << QString::fromUtf8(text).trimmed();
}

KeymapPtr Keymap(xkb_context* context, const KeymapNames& names) {
  // Empty names are xkbcommon's defaults.
  const xkb_rule_names rules{names.rules.c_str(), names.model.c_str(), names.layout.c_str(), names.variant.c_str(),
                             names.options.c_str()};
  KeymapPtr keymap(xkb_keymap_new_from_names(context, &rules, XKB_KEYMAP_COMPILE_NO_FLAGS));
  if (!keymap) {
    qCWarning(lcUi) << "no keymap for layouts" << names.layout.c_str() << "variants" << names.variant.c_str()
                    << "options" << names.options.c_str();
  }
  return keymap;
}

// The first layout that types a Latin letter on the top letter row's first key.
std::optional<xkb_layout_index_t> FirstLatinLayout(xkb_keymap* keymap) {
  const xkb_keycode_t q = xkb_keymap_key_by_name(keymap, "AD01");
  for (xkb_layout_index_t layout = 0; layout < xkb_keymap_num_layouts(keymap); ++layout) {
    const xkb_keysym_t* syms = nullptr;
    if (xkb_keymap_key_get_syms_by_level(keymap, q, layout, 0, &syms) == 1 &&
        ((syms[0] >= XKB_KEY_a && syms[0] <= XKB_KEY_z) || (syms[0] >= XKB_KEY_A && syms[0] <= XKB_KEY_Z))) {
      return layout;
    }
  }
  return std::nullopt;
}

}  // namespace

KeymapNames ConfiguredKeymapNames() {
  auto* x11 = qGuiApp ? qGuiApp->nativeInterface<QNativeInterface::QX11Application>() : nullptr;
  if (!x11) return {};
  xcb_connection_t* connection = x11->connection();
  constexpr std::string_view kProperty = "_XKB_RULES_NAMES";
  const std::unique_ptr<xcb_intern_atom_reply_t, FreeDeleter> atom(
      xcb_intern_atom_reply(connection, xcb_intern_atom(connection, 1, kProperty.size(), kProperty.data()), nullptr));
  if (!atom || atom->atom == XCB_ATOM_NONE) return {};
  const xcb_window_t root = xcb_setup_roots_iterator(xcb_get_setup(connection)).data->root;
  const std::unique_ptr<xcb_get_property_reply_t, FreeDeleter> property(xcb_get_property_reply(
      connection, xcb_get_property(connection, 0, root, atom->atom, XCB_ATOM_STRING, 0, 1024), nullptr));
  if (!property) return {};
  // Five strings, each ended by a NUL.
  const std::string_view value(static_cast<const char*>(xcb_get_property_value(property.get())),
                               xcb_get_property_value_length(property.get()));
  KeymapNames names;
  std::size_t start = 0;
  for (std::string* field : {&names.rules, &names.model, &names.layout, &names.variant, &names.options}) {
    if (start >= value.size()) break;
    const std::size_t end = std::min(value.find('\0', start), value.size());
    *field = value.substr(start, end - start);
    start = end + 1;
  }
  return names;
}

void LatinKeymap::StateDeleter::operator()(xkb_state* state) const { xkb_state_unref(state); }

LatinKeymap::LatinKeymap(std::function<KeymapNames()> configured) : configured_(std::move(configured)) {}

LatinKeymap::~LatinKeymap() = default;

void LatinKeymap::Compile(const KeymapNames& names) {
  compiled_ = names;
  state_.reset();
  const std::unique_ptr<xkb_context, ContextDeleter> context(xkb_context_new(XKB_CONTEXT_NO_ENVIRONMENT_NAMES));
  if (!context) {
    qCWarning(lcUi) << "no xkbcommon context";
    return;
  }
  xkb_context_set_log_fn(context.get(), LogXkb);
  KeymapPtr keymap = Keymap(context.get(), names);
  std::optional<xkb_layout_index_t> latin = keymap ? FirstLatinLayout(keymap.get()) : std::nullopt;
  if (!latin) {
    KeymapNames us;
    us.layout = "us";
    keymap = Keymap(context.get(), us);
    latin = 0;
  }
  if (!keymap) return;
  layout_ = *latin;
  state_.reset(xkb_state_new(keymap.get()));
}

int LatinKeymap::LatinKey(const QKeyEvent& event) {
  // Latin-1 letters, and keys that are no character, are the layout's own.
  if (event.key() <= 0xff || event.key() >= Qt::Key_Escape || event.nativeScanCode() == 0) return 0;
  const KeymapNames names = configured_();
  if (names != compiled_) Compile(names);
  if (!state_) return 0;
  // The real modifiers are the low byte of the X state, in the order of the keymap's first eight.
  xkb_state_update_mask(state_.get(), event.nativeModifiers() & 0xff, 0, 0, 0, 0, layout_);
  const xkb_keysym_t sym = xkb_state_key_get_one_sym(state_.get(), event.nativeScanCode());
  // The printable ASCII key symbols are their characters; Qt's keys are the capitals.
  if (sym >= XKB_KEY_a && sym <= XKB_KEY_z) return int(sym - XKB_KEY_a + Qt::Key_A);
  return sym >= XKB_KEY_space && sym <= XKB_KEY_asciitilde ? int(sym) : 0;
}

}  // namespace lumivox
