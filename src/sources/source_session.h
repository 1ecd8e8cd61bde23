// What reading sources works on: the report session (file readers write notices to the text
// box) plus the state of the file check, the current source and the file selection. The
// word-list procedures take it too, since a list is read like any text file.
#pragma once

#include "reports/report_session.h"
#include "sources/classify.h"
#include "sources/file_reader.h"
#include "sources/file_selection.h"

namespace talq {

struct SourceSession : ReportSession {
  using ReportSession::ReportSession;

  TextCheckState textCheck;
  SourceState sources;
  FileSelection selection;
};

}  // namespace talq
