#include "util/paced_sort.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <random>

namespace talq {
namespace {

// Runs of every size and an odd run left over: the merges must give std::sort's order, pause
// at least once per step's work, and lose nothing when told to stop.
TEST(PacedSortTest, OrdersLikeStdSortPausesAndGivesUp) {
  struct Case {
    std::size_t n, step;
  };
  for (const Case c : {Case{0, 4}, Case{5, 8}, Case{8, 8}, Case{9, 8}, Case{100, 7}, Case{1000, 1},
                       Case{5000, 64}}) {
    std::mt19937 random(static_cast<unsigned>(c.n));
    std::vector<std::pair<int, std::size_t>> v(c.n);  // many equal keys, then the position
    for (std::size_t i = 0; i < c.n; ++i) v[i] = {static_cast<int>(random() % 13), i};
    auto expected = v;
    std::sort(expected.begin(), expected.end());
    auto kept = v;
    std::size_t pauses = 0;
    EXPECT_TRUE(PacedSort(v, std::less<>(), [&] { return ++pauses > 0; }, c.step));
    EXPECT_EQ(v, expected) << c.n << " in steps of " << c.step;
    EXPECT_GE(pauses, c.n > c.step ? c.n / c.step : 0) << c.n;
    // Given up at the last pause, in the middle of a merge: every element is still there.
    if (pauses < 2) continue;
    std::size_t left = pauses;
    EXPECT_FALSE(PacedSort(kept, std::less<>(), [&] { return --left > 0; }, c.step));
    std::sort(kept.begin(), kept.end());
    EXPECT_EQ(kept, expected) << c.n;
  }
}

}  // namespace
}  // namespace talq
