#include <gtest/gtest.h>

#include <string>

#include "playlist/PlayOrder.h"

namespace lumivox::test {
namespace {

TEST(PlayOrder, SequentialNextAndPreviousWithAndWithoutWrapping) {
  const struct {
    int count, current;
    bool wrap;
    int next, prev;
  } cases[] = {
      {1, 0, true, 0, 0},   {1, 0, false, -1, -1}, {3, 0, true, 1, 2},   {3, 0, false, 1, -1},  {3, 2, true, 0, 1},
      {3, 2, false, -1, 1}, {3, 1, false, 2, 0},   {3, -1, true, 0, -2}, {0, -1, true, -1, -2},
  };
  for (const auto& c : cases) {
    EntryList entries;
    for (int i = 0; i < c.count; ++i) entries.Append("/m/" + std::to_string(i) + ".mp3");
    PlayOrder order;
    EXPECT_EQ(order.Next(entries, c.current, c.wrap), c.next) << c.count << " " << c.current << " " << c.wrap;
    EXPECT_EQ(order.Previous(c.count, c.current, c.wrap), c.prev) << c.count << " " << c.current << " " << c.wrap;
  }
}

TEST(PlayOrder, AShuffledRoundOffersEachEntryOnceThenEndsOrStartsOver) {
  EntryList entries;
  for (int i = 0; i < 5; ++i) entries.Append("/m/" + std::to_string(i) + ".mp3");
  PlayOrder order;
  order.SetShuffle(true);
  std::string seen(5, '.');
  for (int step = 0; step < 5; ++step) {
    const int next = order.Next(entries, 0, false);
    ASSERT_GE(next, 0);
    EXPECT_EQ(seen[static_cast<std::size_t>(next)], '.') << "offered twice: " << next;
    seen[static_cast<std::size_t>(next)] = 'x';
    entries[static_cast<std::size_t>(next)]->playedInRound = true;
  }
  EXPECT_EQ(order.Next(entries, 0, false), -1) << "the round is over";
  EXPECT_GE(order.Next(entries, 0, true), 0) << "a new round begins";
  EXPECT_EQ(order.Previous(5, 3, true), 3) << "shuffled, back is the current entry";
}

}  // namespace
}  // namespace lumivox::test
