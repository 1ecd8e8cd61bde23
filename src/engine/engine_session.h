// What word extraction and the word table work on: the core of the session plus the
// engine's own state (the table, the line being scanned, the loaded lists, the comment scan).
#pragma once

#include "engine/extraction.h"
#include "engine/list_state.h"
#include "engine/word_table.h"
#include "settings/session_core.h"
#include "text/markup.h"

namespace talq {

struct EngineSession : SessionCore {
  using SessionCore::SessionCore;

  WordTable words;
  ExtractionState extraction;
  ListState lists;
  CommentState comments;
};

}  // namespace talq
