// `talq settings save|show` and the options that start a command from a saved record.
#include "cli/settings_command.h"

#include <CLI/CLI.hpp>
#include <unistd.h>

#include <filesystem>
#include <ostream>

#include "cli/cli_host.h"
#include "cli/cli_options.h"
#include "run/saved_state.h"
#include "run/session.h"
#include "settings/defaults.h"
#include "settings/setting_choices.h"
#include "settings/setting_fields.h"
#include "settings/state_file.h"

namespace talq::cli {

void AddSavedSettingsOptions(CLI::App& app, Options& opt) {
  app.add_option("--settings", opt.settingsFile,
                 "start from the settings file FILE (as \"Load settings from file\"), before --set")
      ->option_text("FILE");
  app.add_flag("--state", opt.state, "start from the saved state file, before --settings and --set");
}

int ApplySavedSettings(Session& s, const Options& opt) {
  if (opt.state) {
    const std::string path = StateFilePath();
    std::error_code ec;
    if (!path.empty() && std::filesystem::exists(path, ec)) {
      const int status = LoadSettingsFile(s, path);
      if (status == kRestoreInvalidIndex || status == kRestoreFailed) return 1;
    }
  }
  if (!opt.settingsFile.empty()) {
    const int status = LoadSettingsFile(s, opt.settingsFile);
    if (status != kRestored) return 1;
  }
  return 0;
}

bool SettingsCommands::Parsed() const {
  return (save && save->parsed()) || (show && show->parsed());
}

void AddSettingsSaveShow(CLI::App& settings, Options& opt, SettingsCommands& cmd) {
  cmd.save = settings.add_subcommand(
      "save", "Write the settings record (the defaults, then the options given) to FILE.");
  cmd.save->add_option("FILE", cmd.file, "the settings file to write (e.g. mine.talq)")->required();
  AddCommonOptions(*cmd.save, opt);
  AddTableOptions(*cmd.save, opt);
  cmd.show = settings.add_subcommand(
      "show", "Print every field of the record in FILE (default: the state file) as NAME=VALUE.");
  cmd.show->add_option("FILE", cmd.file, "a settings file; without it the state file");
}

void PrintSettings(const Settings& s, std::ostream& out) {
  for (const FieldInfo& f : SettingFields()) {
    if (!f.persisted) continue;
    if (f.type != FieldType::History) {
      out << f.name << '=' << FieldValueText(s, f.name) << '\n';
      continue;
    }
    // --set adds a new path and selects it: the paths in order rebuild the history, and
    // the selection follows when it is not the last one.
    const FileHistory& h = f.historyRef(const_cast<Settings&>(s));
    for (const auto& path : h.items) out << f.name << '=' << path << '\n';
    if (h.items.empty() || h.index != static_cast<int>(h.items.size()) - 1)
      out << f.name << '=' << h.Selected() << '\n';
  }
}

namespace {

int Save(SettingsCommands& cmd, Options& opt, std::ostream& err) {
  RecordListOrder(opt, *cmd.save);
  CliHost host(err, opt.quiet, false);
  host.answerYes = opt.yes;
  Session s(host);
  FillSettingChoices(s.settings);
  Initialize(s.settings, nullptr);
  opt.keepRecordSource = true;
  opt.saveOnly = true;
  int status = ApplySavedSettings(s, opt);
  std::string problem;
  if (status == 0) status = ApplyOptions(s, opt, problem);
  if (status == 2) {
    err << "talq: " << problem << '\n';
    return 2;
  }
  s.settings.blnStartUpCompleted = true;
  if (status == 0) status = ApplyLists(s, opt);
  if (status == 0) {
    const std::string error = SaveState(s.settings, cmd.file);
    if (!error.empty()) {
      static_cast<Host&>(host).MsgBox(error, "Save settngs", MsgIcon::Exclamation);
      status = 1;
    } else if (!opt.quiet) {
      err << "Settings saved to " << cmd.file << '\n';
    }
  }
  if (status != 0) host.FlushHeldMessages();
  return status;
}

int Show(const std::string& file, std::ostream& out, std::ostream& err) {
  const std::string path = file.empty() ? StateFilePath() : file;
  Settings s;
  FillSettingChoices(s);
  const RecordReading read = ReadStateRecord(s, path);
  std::string problem;
  if (read.status == kRestoreNoFile) {
    problem = "Load settings: Error when attempting to load settings: No such file or directory";
  } else if (read.status == kRestoreFailed) {
    problem = "Load settings: Error when attempting to load settings: " + read.reason;
  } else if (read.endOfFile) {
    problem = "Error restoring saved state: Input past end of file.";
  } else if (HasUnselectedChoice(s)) {
    problem = "Load settings: Invalid combo box index.";
  }
  if (!problem.empty()) {
    err << problem << " (" << path << ")\n";
    return 1;
  }
  PrintSettings(s, out);
  return 0;
}

}  // namespace

int RunSettingsCommand(SettingsCommands& cmd, Options& opt, std::ostream& out,
                       std::ostream& err) {
  if (cmd.save && cmd.save->parsed()) return Save(cmd, opt, err);
  return Show(cmd.file, out, err);
}

}  // namespace talq::cli
