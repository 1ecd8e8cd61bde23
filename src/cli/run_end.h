// What the command line says when a run has ended: the report on standard output, a report
// that could not be written, the notice of a stopped count and the entries a scan skipped.
#pragma once

#include <iosfwd>
#include <string>

namespace talq {
struct Session;
}

namespace talq::cli {

// Exit status of a count or listing ended by Ctrl-C.
inline constexpr int kStoppedStatus = 130;

// Writes the text box to out (ending with a line break) and flushes it. Returns false after
// saying on err why out could not be written; a reader that closed its pipe is no failure.
bool WriteReport(const std::string& text, std::ostream& out, std::ostream& err);

// When the run failed to write its output file: one line naming what was written ("report"
// or "table"), the file and the reason. Returns whether there was such a failure.
bool ReportOutputFileFailure(const Session& s, std::ostream& err, const char* what = "report");

// The notice of a stopped run (printed even when quiet: the list is incomplete).
void ReportStopped(const Session& s, std::ostream& err);

// How many files and folders the scan skipped as unreadable; with verbose, each of them with
// its reason first. Nothing when none were skipped.
void ReportSkipped(const Session& s, bool verbose, std::ostream& err);

}  // namespace talq::cli
