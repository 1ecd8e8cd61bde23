// Work on large arrays in steps, with a call back between them, so that a long sort or fill
// on the window's thread lets the window handle its events meanwhile.
#pragma once

#include <algorithm>
#include <cstddef>
#include <utility>
#include <vector>

namespace talq {

// Gives the empty vector v n value-initialised elements, `step` at a time (1 MiB by default),
// calling pause() after each: the first writes to fresh memory cost about 3 ms per MiB.
template <typename T, typename Pause>
void PacedResize(std::vector<T>& v, std::size_t n, Pause pause,
                 std::size_t step = (std::size_t{1} << 20) / sizeof(T)) {
  while (v.size() < n) {
    v.resize(std::min(n, v.size() + std::max<std::size_t>(step, 1)));
    pause();
  }
}

// Sorts v by less and calls pause() after each step of about `step` elements' work; a pause()
// that returns false ends the sort at once, and PacedSort returns false with v's elements in
// no particular order. less must be a strict weak order; where it is total (no two elements
// equivalent) the result is std::sort's, otherwise equivalent elements may come in any
// order. Vectors of at most `step` elements are std::sort-ed without a pause; longer ones are
// sorted in runs of `step` and merged pairwise, with as much room again.
template <typename T, typename Less, typename Pause>
bool PacedSort(std::vector<T>& v, Less less, Pause pause, std::size_t step = 1u << 14) {
  const std::size_t n = v.size();
  if (step == 0) step = 1;
  if (n <= step) {
    std::sort(v.begin(), v.end(), less);
    return true;
  }
  for (std::size_t b = 0; b < n; b += step) {
    std::sort(v.begin() + b, v.begin() + std::min(n, b + step), less);
    if (!pause()) return false;
  }
  std::vector<T> other;
  bool goOn = true;
  PacedResize(other, n, [&] { goOn = goOn && pause(); });
  if (!goOn) return false;
  std::size_t budget = step;
  for (std::size_t width = step; width < n; width *= 2) {
    T* src = v.data();
    T* out = other.data();
    for (std::size_t lo = 0; lo < n; lo += 2 * width) {
      std::size_t i = lo;
      const std::size_t mid = std::min(n, lo + width);
      std::size_t j = mid;
      const std::size_t end = std::min(n, lo + 2 * width);
      std::size_t k = lo;
      while (i < mid && j < end) {
        out[k++] = less(src[j], src[i]) ? std::move(src[j++]) : std::move(src[i++]);
        if (--budget == 0) {
          if (!pause()) {
            // What is not yet merged joins what is, so that no element is lost.
            std::move(src + i, src + mid, out + k);
            std::move(src + j, src + n, out + k + (mid - i));
            v.swap(other);
            return false;
          }
          budget = step;
        }
      }
      for (; i < mid; ++i) out[k++] = std::move(src[i]);
      for (; j < end; ++j) out[k++] = std::move(src[j]);
    }
    v.swap(other);
  }
  return true;
}

}  // namespace talq
