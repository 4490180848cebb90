#include "ui/PlaylistDrag.h"

namespace lumivox {

std::vector<RowMove> DragMoves(const std::vector<int>& selected, int target, int count) {
  std::vector<RowMove> moves;
  if (selected.empty()) return moves;
  if (target < 0) target = count;
  const int distance = target - selected.front();
  if (distance > 1) {
    // From the last row up, so the rows still to move keep their indexes.
    if (selected.back() + distance > count) return moves;
    for (auto row = selected.rbegin(); row != selected.rend(); ++row) moves.push_back({*row, *row + distance - 1});
  } else if (distance < 0) {
    // From the first row down, for the same reason.
    for (const int row : selected) moves.push_back({row, row + distance});
  }
  return moves;
}

}  // namespace lumivox
