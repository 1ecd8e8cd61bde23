// The `talq` command line: parses arguments and runs a command against the engine.
#pragma once

#include <iosfwd>
#include <string>
#include <vector>

namespace talq::cli {

// Runs `talq` with args (without the program name). Returns the exit status:
// 0 finished, 1 refused or failed, 2 usage error.
int Run(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

}  // namespace talq::cli
