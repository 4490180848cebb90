#include "playlist/IndexRange.h"

#include <algorithm>

namespace lumivox {

std::vector<IndexRange> JoinRanges(std::vector<IndexRange> ranges, int count) {
  std::sort(ranges.begin(), ranges.end(), [](const IndexRange& a, const IndexRange& b) { return a.first < b.first; });
  std::vector<IndexRange> joined;
  for (IndexRange range : ranges) {
    range = {std::max(range.first, 0), std::min(range.last, count - 1)};
    if (range.first > range.last) continue;
    if (!joined.empty() && range.first <= joined.back().last + 1) {
      joined.back().last = std::max(joined.back().last, range.last);
    } else {
      joined.push_back(range);
    }
  }
  return joined;
}

int IndexAfterRemoving(const std::vector<IndexRange>& runs, int index) {
  int before = 0;
  for (const IndexRange& run : runs) {
    if (run.first >= index) break;
    before += std::min(run.last + 1, index) - run.first;
  }
  return index - before;
}

}  // namespace lumivox
