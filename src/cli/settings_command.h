// `talq settings save FILE` and `talq settings show [FILE]`, and the --settings FILE and
// --state options through which a counting command starts from a saved record.
#pragma once

#include <iosfwd>
#include <string>

namespace CLI {
class App;
}

namespace talq {
struct Session;
struct Settings;
}

namespace talq::cli {

struct Options;

// Declares --settings FILE and --state on a command.
void AddSavedSettingsOptions(CLI::App& app, Options& opt);

// Restores the state file (--state), then FILE (--settings), each as "Load settings from
// file" does: histories and selections restored, list files not loaded. A missing state
// file leaves the defaults. 0, or 1 after the message of a file that did not load.
int ApplySavedSettings(Session& s, const Options& opt);

// The `settings` subcommands of this unit and what they were given.
struct SettingsCommands {
  CLI::App* save = nullptr;
  CLI::App* show = nullptr;
  std::string file;

  // Whether one of them was on the command line.
  bool Parsed() const;
};

// Adds `save` and `show` to the `settings` command into cmd (which they write to, so it
// must outlive the parse); save takes the counting options.
void AddSettingsSaveShow(CLI::App& settings, Options& opt, SettingsCommands& cmd);

// Runs the parsed one of them. Exit status: 0, 1 failed (after its message), 2 usage.
int RunSettingsCommand(SettingsCommands& cmd, Options& opt, std::ostream& out,
                       std::ostream& err);

// Every persisted field of s as NAME=VALUE lines in the record's order, in the form --set
// takes; a history as one line per path, then its selection when that is not the last path.
void PrintSettings(const Settings& s, std::ostream& out);

}  // namespace talq::cli
