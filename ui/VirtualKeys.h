#pragma once
// Qt key events as the key table sees them: a virtual-key code and accelerator modifier
// flags. Punctuation keys are read by the US layout, shifted or not, so Shift+1 is the
// '1' key with Shift held. A layout typing no Latin letters is read by a Latin one.

#include <Qt>

#include <cstdint>

class QKeyEvent;

namespace lumivox {

class LatinKeymap;

struct VirtualKeyPress {
  std::uint8_t flags = 0;  // FVIRTKEY plus FSHIFT/FCONTROL/FALT for the modifiers held
  std::uint16_t key = 0;   // 0 when the key has no virtual-key code

  friend bool operator==(const VirtualKeyPress&, const VirtualKeyPress&) = default;
};

// The virtual-key code of a Qt key; Qt::KeypadModifier picks the numeric pad's codes
// for digits and operators. 0 when there is none.
std::uint16_t VirtualKeyCode(int qtKey, Qt::KeyboardModifiers modifiers);

// FVIRTKEY, with FSHIFT, FCONTROL and FALT for Shift, Ctrl and Alt held.
std::uint8_t AccelFlags(Qt::KeyboardModifiers modifiers);

// A key with no virtual-key code of its own takes that of its Latin key, if any.
VirtualKeyPress VirtualKeyOf(const QKeyEvent& event, LatinKeymap& latin);

}  // namespace lumivox
