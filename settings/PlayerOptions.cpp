#include "settings/PlayerOptions.h"

namespace lumivox {
namespace {

constexpr std::array<ColorRef, kPlayerColorCount> kDefaultPlayerColors = {
    0x000000,  // background: black
    0xFFFFFF,  // text: white
    0x808080,  // splitter: grey
    0x00FF00,  // current file: green
    0x0000FF,  // unsupported file: red
};

}  // namespace

void GetDefaultPlayerColor(int index, ColorRef& colour) {
  if (index < 0 || index >= kPlayerColorCount) return;
  colour = kDefaultPlayerColors[std::size_t(index)];
}

std::array<ColorRef, kPlayerColorCount> DefaultPlayerColors() {
  std::array<ColorRef, kPlayerColorCount> colours{};
  for (int i = 0; i < kPlayerColorCount; ++i) GetDefaultPlayerColor(i, colours[std::size_t(i)]);
  return colours;
}

}  // namespace lumivox
