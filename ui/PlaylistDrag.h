#pragma once
// Where the selected rows of the playlist go when a drag to reorder them is released.

#include <vector>

#include "playlist/IndexRange.h"

namespace lumivox {

// The places every one of the `selected` rows (runs, ascending) of a list of `count` rows
// moves on a release over row `target` (-1 below the last row). Moving down they go
// target - first - 1 places, so the first lands just before the target; moving up
// first - target places, so the first lands on the target. The gaps between them stay.
// 0 when nothing moves: the target is the first selected row or the one after it, or the
// last selected row plus target - first would pass the row count.
int DragDistance(const std::vector<IndexRange>& selected, int target, int count);

}  // namespace lumivox
