#pragma once
// The entry each row shows while the rows catch up, one run at a time, with a block edit
// of the document: meanwhile the document holds entries the rows leave out, new ones not
// shown yet or removed ones already gone from the rows.

#include <span>
#include <vector>

#include "playlist/IndexRange.h"

namespace lumivox {

class RowGaps {
 public:
  // Runs of the document's indexes, sorted and apart; none left out yet.
  void Reset(std::span<const IndexRange> runs);
  // Runs first..end-1 of them are left out, the others shown.
  void LeaveOut(std::size_t first, std::size_t end) {
    first_ = first;
    end_ = end;
  }
  // The row where run `run` starts, the left-out runs before it being left out.
  int RowOf(std::size_t run) const { return keys_[run] + before_[first_]; }
  int EntryIndex(int row) const;

 private:
  std::vector<int> keys_;    // each run's first index less the sizes of the runs before it
  std::vector<int> before_;  // the sizes of the runs before each, and of all of them last
  std::size_t first_ = 0;
  std::size_t end_ = 0;
};

}  // namespace lumivox
