#pragma once
// Where the selected rows of the playlist go when a drag to reorder them is released.

#include <vector>

namespace lumivox {

// One MoveItem of the document: the entry at `from` comes to stand at `to`.
struct RowMove {
  int from;
  int to;
  friend bool operator==(const RowMove&, const RowMove&) = default;
};

// The moves, in the order to make them, that take the `selected` rows (ascending) of a
// list of `count` rows to a release over row `target` (-1 below the last row). Moving
// down, every selected row goes down by target - first - 1 places, so the first lands
// just before the target; moving up, every one goes up by first - target, so the first
// lands on the target. The gaps between the selected rows stay. Nothing moves when the
// target is the first selected row or the one after it, or when the last selected row
// plus the distance would pass the row count.
std::vector<RowMove> DragMoves(const std::vector<int>& selected, int target, int count);

}  // namespace lumivox
