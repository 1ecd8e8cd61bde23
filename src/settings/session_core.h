// The part of a session every layer reaches: the Host, the settings record and the run
// flags. Each layer above extends it with the state it owns; the run's Session completes it.
#pragma once

#include "host/host.h"
#include "settings/run_flags.h"
#include "settings/settings.h"

namespace talq {

struct SessionCore {
  explicit SessionCore(Host& h) : host(h) {}
  SessionCore(const SessionCore&) = delete;
  SessionCore& operator=(const SessionCore&) = delete;

  Host& host;
  Settings settings;
  RunFlags run;
};

}  // namespace talq
