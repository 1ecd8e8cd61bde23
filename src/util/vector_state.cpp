#include "util/vector_state.h"

namespace talq {

void ClearUpperVectorState() {
#if defined(__x86_64__) || defined(__i386__)
  static const bool avx = __builtin_cpu_supports("avx");
  // The lower halves, all that code built without AVX keeps in these registers, stay intact.
  if (avx) asm volatile("vzeroupper" ::: "memory");
#endif
}

}  // namespace talq
