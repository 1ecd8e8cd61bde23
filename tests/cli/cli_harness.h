// Helpers for the command-line tests: in-process runs from a chosen working folder, runs of
// the built binary, temporary folders and whole-file reads.
#pragma once

#include <sys/wait.h>
#include <unistd.h>

#include <atomic>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "cli/cli.h"

namespace talq::cli::test {

namespace fs = std::filesystem;

// The command line's fixtures (tests/data/cli).
inline std::string FixtureDir() { return std::string(TALQ_TEST_DATA_DIR) + "/cli"; }

struct CliResult {
  int status = -1;
  std::string out;
  std::string err;
};

// A fresh folder under the system's temporary folder, removed with the object.
class TempDir {
 public:
  TempDir() {
    static std::atomic<int> counter{0};
    path_ = fs::temp_directory_path() /
            ("talq_cli_" + std::to_string(::getpid()) + "_" + std::to_string(counter++));
    fs::remove_all(path_);
    fs::create_directories(path_);
  }
  ~TempDir() {
    std::error_code ec;
    fs::remove_all(path_, ec);
  }
  TempDir(const TempDir&) = delete;
  TempDir& operator=(const TempDir&) = delete;
  const fs::path& path() const { return path_; }
  std::string operator/(const std::string& name) const { return (path_ / name).string(); }

 private:
  fs::path path_;
};

// The whole file as bytes; "" when it cannot be read.
inline std::string ReadWholeFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

// Writes text to path, replacing it.
inline void WriteWholeFile(const std::string& path, const std::string& text) {
  std::ofstream(path, std::ios::binary) << text;
}

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
