#include "ui/PlaylistDrag.h"

namespace lumivox {

int DragDistance(const std::vector<IndexRange>& selected, int target, int count) {
  if (selected.empty()) return 0;
  if (target < 0) target = count;
  const int distance = target - selected.front().first;
  if (distance > 1) return selected.back().last + distance > count ? 0 : distance - 1;
  return distance < 0 ? distance : 0;
}

}  // namespace lumivox
