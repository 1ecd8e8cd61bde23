// What the report procedures work on: the engine's session plus the report state.
#pragma once

#include "engine/engine_session.h"
#include "reports/report_state.h"

namespace talq {

struct ReportSession : EngineSession {
  using EngineSession::EngineSession;

  ReportState reports;
};

}  // namespace talq
