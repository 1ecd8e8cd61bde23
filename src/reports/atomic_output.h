// Output files written whole or not at all: the text goes to a temporary file beside the
// target and is renamed over it once complete, so a failure leaves the old file whole.
#pragma once

#include <cstdio>
#include <string>

namespace talq {

// One output file being written.
struct PendingOutput {
  std::string target;  // the file the output replaces (a symbolic link's target)
  std::string temp;    // the temporary file; "" for a device or pipe, or once renamed or removed
};

// Opens the temporary file for path into file. A device or pipe (/dev/stdout) is opened as it
// is, with no temporary file. Returns 0 or the errno of the failure: a folder is EISDIR, an
// existing file that cannot be opened for writing (read-only, a running program) is refused.
int OpenPendingOutput(const std::string& path, PendingOutput& out, std::FILE*& file);

// Flushes and closes file, then keeps or drops the output as FinishPendingOutput does.
// Returns the first error, 0 if none.
int ClosePendingOutput(PendingOutput& out, std::FILE* file, int err);

// For output whose file another library wrote and closed (out.temp, or the target itself
// when out.temp is ""): renames the temporary file into place unless err is set; on any
// failure the temporary file goes. Returns the first error, 0 if none.
int FinishPendingOutput(PendingOutput& out, int err);

}  // namespace talq
