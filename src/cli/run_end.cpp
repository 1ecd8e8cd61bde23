// The end of a command-line run.
#include "cli/run_end.h"

#include <cerrno>
#include <cstring>
#include <ostream>

#include "run/session.h"
#include "util/paths.h"

namespace talq::cli {

bool WriteReport(const std::string& text, std::ostream& out, std::ostream& err) {
  errno = 0;
  out << text;
  if (!text.empty() && text.back() != '\n') out << '\n';
  out.flush();
  if (out) return true;
  const int code = errno;
  if (code == EPIPE) return true;
  err << "talq: cannot write the report to standard output: "
      << std::strerror(code != 0 ? code : EIO) << '\n';
  return false;
}

bool ReportOutputFileFailure(const Session& s, std::ostream& err, const char* what) {
  const int code = s.reports.intOutputFileError;
  if (code == 0) return false;
  err << "talq: cannot write the " << what << " to " << TrimPathBox(s.settings.txbFile[1]) << ": "
      << std::strerror(code) << '\n';
  return true;
}

void ReportStopped(const Session& s, std::ostream& err) {
  err << (s.reports.blnCountingStopped ? "talq: Counting was stopped and this list is incomplete."
                                       : "talq: Counting was stopped.")
      << '\n';
}

void ReportSkipped(const Session& s, bool verbose, std::ostream& err) {
  const auto& skipped = s.sources.skipped;
  if (skipped.empty()) return;
  if (verbose)
    for (const SkippedEntry& e : skipped) err << "talq: skipped " << e.path << ": " << e.reason << '\n';
  const std::size_t n = skipped.size();
  err << "talq: " << n << (n == 1 ? " file or folder was" : " files or folders were")
      << " skipped because " << (n == 1 ? "it" : "they") << " could not be read"
      << (verbose ? "." : " (--verbose lists them).") << '\n';
}

}  // namespace talq::cli
