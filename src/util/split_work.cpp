#include "util/split_work.h"

#include <pthread.h>
#include <sched.h>

namespace talq {

void KeepOffCreatorsCore(std::thread& t) {
  const int core = sched_getcpu();
  if (core < 0 || core >= CPU_SETSIZE) return;
  cpu_set_t elsewhere;
  if (sched_getaffinity(0, sizeof elsewhere, &elsewhere) != 0) return;
  CPU_CLR(core, &elsewhere);
  // Set from here, the thread moves before it first runs. It ends with its part.
  if (CPU_COUNT(&elsewhere) > 0)
    (void)pthread_setaffinity_np(t.native_handle(), sizeof elsewhere, &elsewhere);
}

}  // namespace talq
