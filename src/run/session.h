// Session: the engine's whole state for one program run. Each layer's state record is
// built into it (settings and flags, engine, reports, sources); the counting run adds its
// own. Procedures take the record of their layer, so a Session serves them all.
#pragma once

#include "engine/phrase_filter.h"
#include "run/counting_run.h"
#include "run/phrase_run.h"
#include "sources/source_session.h"

namespace talq {

struct Session : SourceSession {
  using SourceSession::SourceSession;

  CountingRunState counting;
  PhraseRunState phrases;
  PhraseFilterState filter;
};

}  // namespace talq
