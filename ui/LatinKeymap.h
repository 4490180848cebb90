#pragma once
// Keys on a layout that types no Latin letters: Ctrl+Q quits and Alt+V changes the view with a
// Russian layout, as Qt's own shortcuts do, by asking which Latin key the same physical key is.

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>

class QKeyEvent;
struct xkb_state;

namespace lumivox {

// XKB rule names: the keymap as the X server was told it ("evdev", "pc105", "ru,us", ...).
struct KeymapNames {
  std::string rules, model, layout, variant, options;

  friend bool operator==(const KeymapNames&, const KeymapNames&) = default;
};

// The names on the X server's root window; empty ones without an X display.
KeymapNames ConfiguredKeymapNames();

class LatinKeymap {
 public:
  // `configured` is asked at each key looked up, and the keymap compiled again when it changes,
  // so a layout added while the player runs counts.
  explicit LatinKeymap(std::function<KeymapNames()> configured = ConfiguredKeymapNames);
  ~LatinKeymap();
  LatinKeymap(const LatinKeymap&) = delete;
  LatinKeymap& operator=(const LatinKeymap&) = delete;

  // For a key typing a character beyond Latin-1, the Qt key its physical key (the X keycode in
  // nativeScanCode) types with the same modifiers in the first Latin layout configured, or in
  // "us" when none is. 0 for any other key, and when the Latin key types no ASCII character.
  int LatinKey(const QKeyEvent& event);

 private:
  struct StateDeleter {
    void operator()(xkb_state* state) const;
  };

  void Compile(const KeymapNames& names);

  std::function<KeymapNames()> configured_;
  std::optional<KeymapNames> compiled_;
  std::unique_ptr<xkb_state, StateDeleter> state_;
  std::uint32_t layout_ = 0;
};

}  // namespace lumivox
