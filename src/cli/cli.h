// The `talq` command line: parses arguments and runs a command against the engine.
#pragma once

#include <iosfwd>
#include <string>
#include <vector>

namespace talq::cli {

// Runs `talq` with args (without the program name). Returns the exit status:
// 0 finished, 1 refused or failed, 2 usage error. With leaveStateToExit (for a process that
// ends right after), the run's state is not freed: the system takes a large word table back
// at once, where freeing it entry by entry costs milliseconds.
int Run(const std::vector<std::string>& args, std::ostream& out, std::ostream& err,
        bool leaveStateToExit = false);

}  // namespace talq::cli
