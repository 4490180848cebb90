#pragma once
// Runs of consecutive list indexes: what a block edit of the list removes, moves or adds.

#include <vector>

namespace lumivox {

// Indexes first..last.
struct IndexRange {
  int first;
  int last;
  int size() const { return last - first + 1; }
  friend bool operator==(const IndexRange&, const IndexRange&) = default;
};

// `ranges` cut to 0..count-1 and sorted, with those that overlap or touch made one.
std::vector<IndexRange> JoinRanges(std::vector<IndexRange> ranges, int count);

// Where the entry at `index` stands once those of `runs` (sorted and apart) are gone; for
// one of them, where the next one left stands.
int IndexAfterRemoving(const std::vector<IndexRange>& runs, int index);

}  // namespace lumivox
