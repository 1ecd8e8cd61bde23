// The `talq` command line: options -> settings record -> one run -> standard output.
#include "cli/cli.h"

#include <CLI/CLI.hpp>
#include <unistd.h>

#include <atomic>
#include <csignal>
#include <filesystem>
#include <iostream>
#include <iterator>
#include <memory>
#include <sstream>

#include "cli/cli_host.h"
#include "cli/cli_options.h"
#include "cli/phrases_command.h"
#include "cli/run_end.h"
#include "cli/settings_command.h"
#include "cli/settings_fields_cmd.h"
#include "run/count_array.h"
#include "run/counting_run.h"
#include "run/phrase_run.h"
#include "run/session.h"
#include "reports/display_controls.h"
#include "settings/defaults.h"
#include "settings/setting_choices.h"
#include "sources/file_reader.h"
#include "sources/folder_scan.h"
#include "util/numbers.h"
#include "util/program_texts.h"
#include "util/times.h"

namespace talq::cli {

namespace {

std::atomic<int> gInterrupts{0};
// The state of a run whose process ends next; still reachable, so not a leak to a checker.
// Atomic, so that the store is kept although nothing reads it.
std::atomic<Session*> gLeftForExit{nullptr};

extern "C" void OnSigint(int) {
  if (gInterrupts.fetch_add(1) >= 1) _exit(130);
}

struct SigintGuard {
  struct sigaction old {};
  SigintGuard() {
    gInterrupts = 0;
    struct sigaction sa {};
    sa.sa_handler = OnSigint;
    sigemptyset(&sa.sa_mask);
    sigaction(SIGINT, &sa, &old);
  }
  ~SigintGuard() { sigaction(SIGINT, &old, nullptr); }
};

void PrintSummary(const CliHost& host, std::ostream& err) {
  for (const char* name : {"lblNumberOfWords", "lblNumWordsExcluded", "lblNumOccurrences",
                           "lblTotalNumOccurrences"}) {
    auto it = host.labels.find(name);
    if (it != host.labels.end() && !it->second.empty()) err << it->second << '\n';
  }
}

std::string ProgressLine(const Session& s) {
  std::string line = ElapsedTimeCompact(s.run.lngSecondsElapsed);
  if (s.run.lngFilesTotal > 0)
    line += "  files " + FormatCount(s.run.lngFilesDone) + " of " + FormatCount(s.run.lngFilesTotal);
  if (s.run.blnCountingMFP)
    line += "  " + FormatCount(NumPhrasesFoundSoFar(s)) + " distinct phrases";
  else
    line += "  " + FormatCount(s.words.lngNumWords) + " distinct words";
  return line;
}

}  // namespace

int Run(const std::vector<std::string>& args, std::ostream& out, std::ostream& err,
        bool leaveStateToExit) {
  Options opt;
  CLI::App app{"talq: counts words and phrases in text and lists them by frequency.", "talq"};
  app.set_version_flag("--version", std::string("talq ") + TALQ_VERSION);
  app.require_subcommand(1);
  CLI::App* count = app.add_subcommand(
      "count", "Count the words of SOURCE: a file, a folder, or \"-\" (standard input).\n"
               "Without SOURCE: the bundled sample text.");
  count->add_option("SOURCE", opt.source, "a file, a folder, or - for standard input");
  AddCommonOptions(*count, opt);
  count->footer(CountHelpFooter);
  PhraseOptions phraseOpt;
  CLI::App* phrases = app.add_subcommand(
      "phrases", "Count every phrase of SOURCE that occurs at least --min-freq times.\n"
                 "SOURCE as for count; every option of count applies too.");
  phrases->add_option("SOURCE", opt.source, "a file, a folder, or - for standard input");
  AddCommonOptions(*phrases, opt);
  AddPhraseOptions(*phrases, phraseOpt);
  CLI::App* list = app.add_subcommand("list-files", "List the files a count of FOLDER would scan.");
  list->add_option("FOLDER", opt.source, "the folder")->required();
  AddListFilesOptions(*list, opt);
  CLI::App* settings = app.add_subcommand("settings", "Save and show settings files.");
  settings->require_subcommand(1);
  SettingsCommands settingsCommands;
  AddSettingsSaveShow(*settings, opt, settingsCommands);
  CLI::App* fields = AddSettingsFields(*settings);

  CLI::App* table = app.add_subcommand(
      "table", "Write the words of SOURCE against its files, for a spreadsheet, to -o FILE.");
  table->add_option("SOURCE", opt.source, "a folder or a file")->required();
  AddTableCommandOptions(*table, opt);

  std::vector<std::string> argv(args.rbegin(), args.rend());
  try {
    app.parse(argv);
  } catch (const CLI::CallForHelp& e) {
    return app.exit(e, out, err);
  } catch (const CLI::CallForAllHelp& e) {
    return app.exit(e, out, err);
  } catch (const CLI::CallForVersion& e) {
    return app.exit(e, out, err);
  } catch (const CLI::ParseError& e) {
    err << "talq: " << e.what() << "\nRun 'talq --help' for usage.\n";
    return 2;
  }
  opt.listFiles = list->parsed();
  opt.table = table->parsed();
  RecordListOrder(opt, count->parsed()      ? *count
                       : table->parsed()    ? *table
                       : phrases->parsed()  ? *phrases
                                            : *list);
  phraseOpt.filterGiven = phrases->count("--filter") > 0;

  const std::string texts = DataDir() + "/" + std::string(kProgramTextFile);
  if (int r = LoadProgramTexts(texts); r <= 0) {
    err << ProgramTextLoadMessage(r, texts) << '\n';
    return 1;
  }
  if (fields->parsed()) return PrintSettingsFields(out);
  if (settingsCommands.Parsed()) return RunSettingsCommand(settingsCommands, opt, out, err);

  CliHost host(err, opt.quiet, isatty(STDERR_FILENO) == 1);
  host.answerYes = opt.yes;
  auto session = std::make_unique<Session>(host);
  Session& s = *session;
  struct Leave {
    std::unique_ptr<Session>& session;
    bool leave;
    ~Leave() {
      if (leave) gLeftForExit = session.release();
    }
  } leave{session, leaveStateToExit};
  FillSettingChoices(s.settings);
  Initialize(s.settings, nullptr);

  std::string problem;
  opt.keepRecordSource = !opt.settingsFile.empty() || opt.state;
  int status = ApplySavedSettings(s, opt);
  if (status == 0) status = ApplyOptions(s, opt, problem);
  if (status == 0 && phrases->parsed()) status = ApplyPhraseOptions(s, phraseOpt, problem);
  if (status == 2) {
    err << "talq: " << problem << '\n';
    return 2;
  }

  SigintGuard sigint;
  std::uint64_t pumpCount = 0;
  bool ctrlCHandled = false;
  host.onPump = [&] {
    if (gInterrupts.load() > 0 && !ctrlCHandled) {
      ctrlCHandled = true;  // later passes (the listing) clear blnStop; one Ctrl-C stops once
      // Ctrl-C acts as the Stop button. Pressing it already answers "Really stop?": a No
      // by default would make Ctrl-C do nothing in any count of more than 800 words.
      const bool yes = host.answerYes;
      host.answerYes = true;
      RequestStop(s);
      host.answerYes = yes;
    }
    if ((++pumpCount & 15) == 0) Tick(s);
  };
  host.progressText = [&] { return ProgressLine(s); };

  // The list options are the user's own loads, after start-up: a missing file is reported
  // rather than replaced by the common-word file.
  s.settings.blnStartUpCompleted = true;
  if (status == 0) status = ApplyLists(s, opt);
  // Ctrl-C while the lists were read stops before anything is counted: the run that follows
  // would clear the stop, and the text box holds only the loading notice.
  if (gInterrupts.load() > 0) {
    host.ClearProgress();
    err << "talq: Stopped while the word lists were read; nothing was counted.\n";
    return kStoppedStatus;
  }
  if (status == 0) {
    if (opt.listFiles) {
      FolderScanResult r = ListFilesToBeScanned(s, [&](const std::string& path) {
        return DoItFromFile(s, path);
      });
      status = ListingSucceeded(r) ? 0 : 1;
    } else if (opt.table) {
      status = RunSucceeded(cmdCountArray_Click(s)) ? 0 : 1;
    } else if (phrases->parsed()) {
      status = RunPhrases(s, phraseOpt);
    } else {
      RunResult r = CountWords(s);
      status = RunSucceeded(r) ? 0 : 1;
    }
  }
  host.ClearProgress();
  // A stopped run writes what it has; the listing it made is incomplete.
  const bool stopped = s.run.blnStopRequested;
  if (stopped) status = kStoppedStatus;
  if (status != 0 && status != kStoppedStatus) {
    host.FlushHeldMessages();
    if (ReportOutputFileFailure(s, err, opt.table ? "table" : "report")) status = 1;
  } else if (!WriteReport(host.TxbText(), out, err)) {
    status = 1;
  }
  if (stopped) ReportStopped(s, err);
  if (!opt.quiet) ReportSkipped(s, opt.verbose, err);
  if (opt.summary) PrintSummary(host, err);
  return status;
}

}  // namespace talq::cli
