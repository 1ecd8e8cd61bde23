#include "util/split_work.h"

#include <gtest/gtest.h>

#include <atomic>
#include <functional>
#include <random>
#include <stdexcept>
#include <thread>

namespace talq {
namespace {

// Any size against any number of parts (more parts than elements too): std::sort's order.
TEST(SplitWorkTest, SortInPartsOrdersLikeStdSort) {
  for (const std::size_t n : {0u, 1u, 2u, 7u, 1000u, 4099u}) {
    for (const int parts : {1, 2, 3, 4, 8}) {
      std::mt19937 random(static_cast<unsigned>(n * 31 + static_cast<std::size_t>(parts)));
      std::vector<std::pair<int, std::size_t>> v(n);  // many equal keys, then the position
      for (std::size_t i = 0; i < n; ++i) v[i] = {static_cast<int>(random() % 13), i};
      auto expected = v;
      std::sort(expected.begin(), expected.end());
      SortInParts(v, std::less<>(), parts);
      EXPECT_EQ(v, expected) << n << " in " << parts << " parts";
    }
  }
}

// Every part runs once, part 0 here; a part's exception reaches the caller only after the
// other parts have ended.
TEST(SplitWorkTest, InPartsRunsEveryPartAndPassesOnAFailure) {
  const std::thread::id caller = std::this_thread::get_id();
  std::vector<std::atomic<int>> runs(5);
  InParts(5, [&](int k) {
    ++runs[static_cast<std::size_t>(k)];
    if (k == 0) {
      EXPECT_EQ(std::this_thread::get_id(), caller);
    }
  });
  for (const auto& r : runs) EXPECT_EQ(r.load(), 1);

  std::atomic<int> ended{0};
  EXPECT_THROW(InParts(3,
                       [&](int k) {
                         if (k == 1) throw std::runtime_error("part 1");
                         ++ended;
                       }),
               std::runtime_error);
  EXPECT_EQ(ended.load(), 2);

  // The parts of n items cover [0, n) without a gap or an overlap.
  for (const std::size_t n : {0u, 1u, 5u, 1000u}) {
    std::size_t next = 0;
    for (int k = 0; k < 3; ++k) {
      const auto [from, to] = PartRange(n, k, 3);
      EXPECT_EQ(from, next);
      next = to;
    }
    EXPECT_EQ(next, n);
  }
}

}  // namespace
}  // namespace talq
