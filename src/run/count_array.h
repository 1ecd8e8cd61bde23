// The words-vs-files table command (cmdCountArray): the output-file checks, the table
// dialog, and a counting run that ends with the table file instead of a report.
#pragma once

#include "run/counting_run.h"

namespace talq {

struct Session;

// Checks the output file (none: texts 103 and 104; an existing one, with the overwrite
// warning on: the input box), shows frmCountArray through the Host, then counts the source
// with blnMakingWordsVsFilesTable set. TableWritten when the file was written; Failed when
// writing it failed (after ReportError); otherwise how the run ended.
RunResult cmdCountArray_Click(Session& s);

}  // namespace talq
