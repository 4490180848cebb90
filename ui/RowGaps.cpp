#include "ui/RowGaps.h"

#include <algorithm>

namespace lumivox {

void RowGaps::Reset(std::span<const IndexRange> runs) {
  keys_.clear();
  before_.assign(1, 0);
  for (const IndexRange& run : runs) {
    keys_.push_back(run.first - before_.back());
    before_.push_back(before_.back() + run.size());
  }
  first_ = end_ = 0;
}

int RowGaps::EntryIndex(int row) const {
  if (first_ == end_) return row;
  const int skipped = before_[first_];
  const auto keys = keys_.begin();
  // The last left-out run starting at or before the row, counted without the left-out runs.
  const auto after = std::upper_bound(keys + static_cast<std::ptrdiff_t>(first_),
                                      keys + static_cast<std::ptrdiff_t>(end_), row - skipped);
  if (after == keys + static_cast<std::ptrdiff_t>(first_)) return row;
  return row + before_[static_cast<std::size_t>(after - keys)] - skipped;
}

}  // namespace lumivox
