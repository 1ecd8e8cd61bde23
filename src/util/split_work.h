// One pass over a large array split between threads: the passes after counting (settling,
// sorting, listing) use every core the run may use. Calls back into the window stay on the
// calling thread.
#pragma once

#include <algorithm>
#include <cstddef>
#include <exception>
#include <functional>
#include <system_error>
#include <thread>
#include <utility>
#include <vector>

#include "util/vector_state.h"

namespace talq {

// [begin, end) of part k when n items are cut into `parts` nearly equal parts.
inline std::pair<std::size_t, std::size_t> PartRange(std::size_t n, int k, int parts) {
  const std::size_t p = static_cast<std::size_t>(std::max(parts, 1));
  const std::size_t kk = static_cast<std::size_t>(k);
  return {n * kk / p, n * (kk + 1) / p};
}

// Keeps thread t off the core its creator runs on, when the process may run elsewhere: a new
// thread often starts on its creator's core and waits there, for the whole of a short pass
// that the creator works on too, while another core idles.
void KeepOffCreatorsCore(std::thread& t);

// Calls part(k) for every k in [0, parts): part 0 on the calling thread (the one part that may
// call back into the window), each other on a thread of its own; returns when all have ended,
// rethrowing an exception of any part then. A thread that cannot be started leaves its part
// to the calling thread.
inline void InParts(int parts, const std::function<void(int)>& part) {
  parts = std::max(parts, 1);
  std::vector<std::exception_ptr> errors(static_cast<std::size_t>(parts));
  const auto guarded = [&](int k) {
    try {
      part(k);
    } catch (...) {
      errors[static_cast<std::size_t>(k)] = std::current_exception();
    }
  };
  std::vector<std::thread> threads;
  std::vector<int> here{0};
  for (int k = 1; k < parts; ++k) {
    try {
      threads.emplace_back([&guarded, k] {
        ClearUpperVectorState();  // a thread inherits its creator's vector state
        guarded(k);
      });
      KeepOffCreatorsCore(threads.back());
    } catch (const std::system_error&) {
      here.push_back(k);
    }
  }
  for (int k : here) guarded(k);
  for (std::thread& t : threads) t.join();
  for (const std::exception_ptr& e : errors)
    if (e) std::rethrow_exception(e);
}

// Sorts v by less, a total order (so that the result is std::sort's), in `parts` runs sorted
// side by side and then merged.
template <typename T, typename Less>
void SortInParts(std::vector<T>& v, Less less, int parts) {
  parts = std::max(1, std::min<int>(parts, static_cast<int>(v.size() / 2) + 1));
  std::vector<std::size_t> bounds;
  for (int k = 0; k <= parts; ++k) bounds.push_back(PartRange(v.size(), k, parts).first);
  bounds.back() = v.size();
  InParts(parts, [&](int k) {
    std::sort(v.begin() + static_cast<std::ptrdiff_t>(bounds[static_cast<std::size_t>(k)]),
              v.begin() + static_cast<std::ptrdiff_t>(bounds[static_cast<std::size_t>(k) + 1]),
              less);
  });
  // Runs merged pairwise until one is left.
  std::vector<T> other;
  if (bounds.size() > 2) other.resize(v.size());
  while (bounds.size() > 2) {
    std::vector<std::size_t> merged{0};
    for (std::size_t r = 0; r + 1 < bounds.size(); r += 2) {
      const auto first = v.begin() + static_cast<std::ptrdiff_t>(bounds[r]);
      const auto mid = v.begin() + static_cast<std::ptrdiff_t>(bounds[r + 1]);
      const std::size_t endAt = r + 2 < bounds.size() ? bounds[r + 2] : bounds[r + 1];
      const auto last = v.begin() + static_cast<std::ptrdiff_t>(endAt);
      std::merge(std::make_move_iterator(first), std::make_move_iterator(mid),
                 std::make_move_iterator(mid), std::make_move_iterator(last),
                 other.begin() + static_cast<std::ptrdiff_t>(bounds[r]), less);
      merged.push_back(endAt);
    }
    v.swap(other);
    bounds = std::move(merged);
  }
}

}  // namespace talq
