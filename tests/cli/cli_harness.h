// Helpers for the command-line tests: in-process runs from a chosen working folder, runs of
// the built binary, temporary folders and whole-file reads.
#pragma once

#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "cli/cli.h"
#include "support/temp_files.h"

namespace talq::cli::test {

namespace fs = std::filesystem;

// The command line's fixtures (tests/data/cli).
inline std::string FixtureDir() { return std::string(TALQ_TEST_DATA_DIR) + "/cli"; }

struct CliResult {
  int status = -1;
  std::string out;
  std::string err;
  bool operator==(const CliResult&) const = default;
};

// A failed comparison shows the whole outcome.
inline void PrintTo(const CliResult& r, std::ostream* os) {
  *os << "exit " << r.status << "\n--- stdout\n" << r.out << "--- stderr\n" << r.err;
}

using ::talq::test::ReadWholeFile;
using ::talq::test::TempDir;
using ::talq::test::WriteWholeFile;

// Runs talq::cli::Run with args, the working folder set to dir for the run.
inline CliResult RunIn(const std::string& dir, const std::vector<std::string>& args) {
  const fs::path before = fs::current_path();
  fs::current_path(dir);
  std::ostringstream out, err;
  CliResult r;
  r.status = Run(args, out, err);
  fs::current_path(before);
  r.out = out.str();
  r.err = err.str();
  return r;
}

// Runs the talq binary through the shell: `cd dir && [stdinCommand |] talq args`, args as
// typed (the caller quotes). Standard input is empty without stdinCommand; standard output
// goes to stdoutPath when one is given (then out stays empty).
inline CliResult RunBinary(const std::string& dir, const std::string& args,
                           const std::string& stdinCommand = "",
                           const std::string& stdoutPath = "") {
  TempDir temp;
  const std::string outPath = stdoutPath.empty() ? temp / "stdout" : stdoutPath;
  const std::string errPath = temp / "stderr";
  std::string command = "cd '" + dir + "' && ";
  command += stdinCommand.empty() ? "</dev/null " : stdinCommand + " | ";
  command += std::string("'") + TALQ_BINARY + "' " + args + " >'" + outPath + "' 2>'" +
             errPath + "'";
  CliResult r;
  const int raw = std::system(command.c_str());
  r.status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
  if (stdoutPath.empty()) r.out = ReadWholeFile(outPath);
  r.err = ReadWholeFile(errPath);
  return r;
}

}  // namespace talq::cli::test
