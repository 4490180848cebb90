#include "ui/VirtualKeys.h"

#include <QKeyEvent>

#include <algorithm>

#include "settings/KeyTable.h"
#include "ui/LatinKeymap.h"

namespace lumivox {
namespace {

// Qt keys first..last map to code, code + 1, ...
struct KeyRange {
  int first;
  int last;
  std::uint16_t code;
};

constexpr KeyRange Key(int qtKey, std::uint16_t code) { return {qtKey, qtKey, code}; }

// Digits and operators of the numeric pad, looked up first when Qt marks a key as the pad's.
constexpr KeyRange kKeypadKeys[] = {
    {Qt::Key_0, Qt::Key_9, 0x60}, Key(Qt::Key_Asterisk, 0x6A), Key(Qt::Key_Plus, 0x6B),  Key(Qt::Key_Minus, 0x6D),
    Key(Qt::Key_Period, 0x6E),    Key(Qt::Key_Comma, 0x6E),    Key(Qt::Key_Slash, 0x6F),
};

constexpr KeyRange kKeys[] = {
    {Qt::Key_A, Qt::Key_Z, 0x41},
    {Qt::Key_0, Qt::Key_9, 0x30},
    {Qt::Key_F1, Qt::Key_F24, 0x70},
    {Qt::Key_Left, Qt::Key_Down, 0x25},  // Left, Up, Right, Down in both
    Key(Qt::Key_Backspace, 0x08),
    Key(Qt::Key_Tab, 0x09),
    Key(Qt::Key_Backtab, 0x09),  // what Qt calls Shift+Tab
    Key(Qt::Key_Return, 0x0D),
    Key(Qt::Key_Enter, 0x0D),
    Key(Qt::Key_Shift, 0x10),
    Key(Qt::Key_Control, 0x11),
    Key(Qt::Key_Alt, 0x12),
    Key(Qt::Key_Pause, 0x13),
    Key(Qt::Key_CapsLock, 0x14),
    Key(Qt::Key_Escape, 0x1B),
    Key(Qt::Key_Space, 0x20),
    Key(Qt::Key_PageUp, 0x21),
    Key(Qt::Key_PageDown, 0x22),
    Key(Qt::Key_End, 0x23),
    Key(Qt::Key_Home, 0x24),
    Key(Qt::Key_Print, 0x2C),
    Key(Qt::Key_Insert, 0x2D),
    Key(Qt::Key_Delete, 0x2E),
    Key(Qt::Key_Help, 0x2F),
    Key(Qt::Key_Meta, 0x5B),
    Key(Qt::Key_Super_L, 0x5B),
    Key(Qt::Key_Super_R, 0x5C),
    Key(Qt::Key_Menu, 0x5D),
    Key(Qt::Key_NumLock, 0x90),
    Key(Qt::Key_ScrollLock, 0x91),
    // Shift with a digit: Qt reports the character, the key table wants the digit key.
    Key(Qt::Key_ParenRight, '0'),
    Key(Qt::Key_Exclam, '1'),
    Key(Qt::Key_At, '2'),
    Key(Qt::Key_NumberSign, '3'),
    Key(Qt::Key_Dollar, '4'),
    Key(Qt::Key_Percent, '5'),
    Key(Qt::Key_AsciiCircum, '6'),
    Key(Qt::Key_Ampersand, '7'),
    Key(Qt::Key_Asterisk, '8'),
    Key(Qt::Key_ParenLeft, '9'),
    // Punctuation keys, unshifted and shifted character.
    Key(Qt::Key_Semicolon, 0xBA),
    Key(Qt::Key_Colon, 0xBA),
    Key(Qt::Key_Equal, 0xBB),
    Key(Qt::Key_Plus, 0xBB),
    Key(Qt::Key_Comma, 0xBC),
    Key(Qt::Key_Less, 0xBC),
    Key(Qt::Key_Minus, 0xBD),
    Key(Qt::Key_Underscore, 0xBD),
    Key(Qt::Key_Period, 0xBE),
    Key(Qt::Key_Greater, 0xBE),
    Key(Qt::Key_Slash, 0xBF),
    Key(Qt::Key_Question, 0xBF),
    Key(Qt::Key_QuoteLeft, 0xC0),
    Key(Qt::Key_AsciiTilde, 0xC0),
    Key(Qt::Key_BracketLeft, 0xDB),
    Key(Qt::Key_BraceLeft, 0xDB),
    Key(Qt::Key_Backslash, 0xDC),
    Key(Qt::Key_Bar, 0xDC),
    Key(Qt::Key_BracketRight, 0xDD),
    Key(Qt::Key_BraceRight, 0xDD),
    Key(Qt::Key_Apostrophe, 0xDE),
    Key(Qt::Key_QuoteDbl, 0xDE),
};

template <std::size_t N>
std::uint16_t Find(const KeyRange (&table)[N], int qtKey) {
  const auto hit =
      std::ranges::find_if(table, [qtKey](const KeyRange& r) { return qtKey >= r.first && qtKey <= r.last; });
  return hit == std::end(table) ? 0 : std::uint16_t(hit->code + (qtKey - hit->first));
}

}  // namespace

std::uint16_t VirtualKeyCode(int qtKey, Qt::KeyboardModifiers modifiers) {
  if (modifiers & Qt::KeypadModifier) {
    if (const std::uint16_t code = Find(kKeypadKeys, qtKey)) return code;
  }
  return Find(kKeys, qtKey);
}

std::uint8_t AccelFlags(Qt::KeyboardModifiers modifiers) {
  std::uint8_t flags = FVIRTKEY;
  if (modifiers & Qt::ShiftModifier) flags |= FSHIFT;
  if (modifiers & Qt::ControlModifier) flags |= FCONTROL;
  if (modifiers & Qt::AltModifier) flags |= FALT;
  return flags;
}

VirtualKeyPress VirtualKeyOf(const QKeyEvent& event, LatinKeymap& latin) {
  VirtualKeyPress press{AccelFlags(event.modifiers()), VirtualKeyCode(event.key(), event.modifiers())};
  if (press.key == 0) press.key = VirtualKeyCode(latin.LatinKey(event), event.modifiers());
  return press;
}

}  // namespace lumivox
