// Large arrays read at random (the phrase counter's text, the sub-phrase pass's tables) are
// backed by 2 MiB pages where the system allows, so that a lookup is not also a page walk.
#pragma once

#include <cstddef>
#include <vector>

namespace talq {

// Asks for huge pages on the whole 2 MiB pages inside [p, p + bytes), before the memory is
// first written. Advice only: where huge pages are unavailable nothing changes.
void AdviseHugePagesBeforeUse(void* p, std::size_t bytes);

// Gives the empty vector v room for n elements, advised as above while still untouched.
template <typename T>
void ReserveHugePages(std::vector<T>& v, std::size_t n) {
  if (v.capacity() >= n) return;
  v.reserve(n);
  AdviseHugePagesBeforeUse(v.data(), n * sizeof(T));
}

}  // namespace talq
