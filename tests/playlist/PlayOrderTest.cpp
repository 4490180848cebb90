#include <gtest/gtest.h>

#include <set>
#include <string>

#include "playlist/PlayOrder.h"
#include "playlist/ShuffleRandom.h"

namespace lumivox::test {
namespace {

void Fill(EntryList& entries, int count) {
  for (int i = 0; i < count; ++i) entries.Append("/m/" + std::to_string(i) + ".mp3");
}

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
    Fill(entries, c.count);
    PlayOrder order;
    EXPECT_EQ(order.Next(entries, c.current, c.wrap), c.next) << c.count << " " << c.current << " " << c.wrap;
    EXPECT_EQ(order.Previous(c.count, c.current, c.wrap), c.prev) << c.count << " " << c.current << " " << c.wrap;
  }
}

TEST(PlayOrder, AShuffledRoundOffersEachEntryOnceInTheFixedGeneratorsOrderThenEndsOrStartsOver) {
  EntryList entries;
  Fill(entries, 10);
  PlayOrder order;
  order.SetShuffle(true);
  ShuffleRandom reference;  // the same draws, so every run plays the same order
  std::set<int> played;
  for (int step = 0; step < 10; ++step) {
    int expected;
    do expected = reference.Next() % 10;
    while (played.contains(expected));
    played.insert(expected);
    ASSERT_EQ(order.Next(entries, 0, false), expected) << "step " << step;
    entries[static_cast<std::size_t>(expected)]->playedInRound = true;
  }
  EXPECT_EQ(order.Next(entries, 0, false), -1) << "the round is over";
  EXPECT_FALSE(entries[4]->playedInRound) << "its flags are cleared";
  for (PlaylistEntry* e : entries) e->playedInRound = true;
  EXPECT_GE(order.Next(entries, 0, true), 0) << "with wrap a new round begins";
  EXPECT_EQ(order.Previous(5, 3, true), 3) << "shuffled, back is the current entry";
}

TEST(PlayOrder, EveryEntryOfALongShuffledListCanComeUp) {
  const int count = 40000;  // beyond what a single 15-bit draw can name
  EntryList entries;
  Fill(entries, count);
  for (int i = 0; i < count - 1; ++i) entries[static_cast<std::size_t>(i)]->playedInRound = true;
  PlayOrder order;
  order.SetShuffle(true);
  EXPECT_EQ(order.Next(entries, 0, false), count - 1);
}

}  // namespace
}  // namespace lumivox::test
