// Session: the engine's whole state for one program run (settings, run flags, word table,
// lists, reports) and the Host it talks through. Procedures of the engine take it by reference.
#pragma once

#include "run/counting_run.h"
#include "engine/extraction.h"
#include "engine/word_table.h"
#include "host/host.h"
#include "engine/list_state.h"
#include "reports/report_state.h"
#include "settings/run_flags.h"
#include "settings/settings.h"
#include "sources/classify.h"
#include "sources/file_reader.h"
#include "sources/file_selection.h"
#include "text/markup.h"

namespace talq {

struct Session {
  explicit Session(Host& h) : host(h) {}
  Session(const Session&) = delete;
  Session& operator=(const Session&) = delete;

  Host& host;
  Settings settings;
  RunFlags run;
  // Each unit keeps its own state here, as a member of its own type.
  WordTable words;
  ExtractionState extraction;
  CountingRunState counting;
  ListState lists;
  CommentState comments;
  TextCheckState textCheck;
  SourceState sources;
  FileSelection selection;
  ReportState reports;
};

}  // namespace talq
