// Command-line options -> settings record and word lists.
#include "cli/cli_options.h"

#include <CLI/CLI.hpp>

#include <filesystem>

#include "cli/settings_command.h"
#include "run/session.h"
#include "host/scripted_host.h"
#include "lists/list_history.h"
#include "lists/word_lists.h"
#include "settings/setting_choices.h"
#include "settings/setting_fields.h"
#include "sources/folder_scan.h"
#include "util/program_texts.h"

namespace talq::cli {

namespace fs = std::filesystem;

namespace {

std::string Join(const std::vector<std::string>& parts, const char* sep) {
  std::string out;
  for (const auto& p : parts) {
    if (!out.empty()) out += sep;
    out += p;
  }
  return out;
}

}  // namespace

namespace {

// What a command takes besides the folder selection, the settings record and the message
// switches, which every command takes.
struct OptionGroups {
  bool report = true;    // -o, the display options, --summary and --all-words
  bool counting = true;  // -j and the word lists
};

// Declares the options of groups in one fixed order, so every command's --help reads alike.
void AddOptions(CLI::App& app, Options& opt, OptionGroups groups) {
  if (groups.report) {
    app.add_option("-o,--output", opt.output, "also write the report to FILE, in the output-file layout");
    app.add_option("-f,--format", opt.format, "display format 0-13")->check(CLI::Range(0, 13));
    app.add_option("--order", opt.order, "freq or alpha")->check(CLI::IsMember({"freq", "alpha"}));
    app.add_flag("--relative", opt.relative, "relative frequencies");
    app.add_flag("--sort-by-files", opt.sortByFiles,
                 "format 13: list the words found in the most files first");
  }
  app.add_flag("-r,--subfolders", opt.subfolders, "include subfolders");
  // One value per occurrence: a vector option would otherwise swallow SOURCE too.
  app.add_option("--patterns", opt.patterns, "file-name patterns to scan, e.g. \"*.txt *.htm\"")
      ->expected(1)->allow_extra_args(false)->multi_option_policy(CLI::MultiOptionPolicy::TakeAll);
  app.add_option("--exclude", opt.exclude, "path fragments to exclude")
      ->expected(1)->allow_extra_args(false)->multi_option_policy(CLI::MultiOptionPolicy::TakeAll);
  app.add_option("--set", opt.sets,
                 "set a field of the settings record, NAME=VALUE (repeatable): check fields 0/1, "
                 "choice fields the list index, text fields as given")
      ->expected(1)->allow_extra_args(false)->multi_option_policy(CLI::MultiOptionPolicy::TakeAll);
  if (groups.report)
    app.add_flag("--summary", opt.summary, "print the result labels to standard error after the report");
  app.add_flag("-y,--yes", opt.yes, "answer Yes to every question (otherwise: each question's default)");
  app.add_flag("-q,--quiet", opt.quiet, "no progress and no notices on standard error");
  app.add_flag("-v,--verbose", opt.verbose, "list the files and folders a scan skipped, with the reason");
  if (groups.counting) {
    app.add_option("-j,--jobs", opt.jobs, "threads to count with (default: one per core; 1: one thread)")
        ->check(CLI::Range(1, 1024));
    app.add_option("--ignore-file", opt.ignoreFileArgs, "add FILE to the words-to-ignore history, select and load it")
        ->expected(1)->allow_extra_args(false)->multi_option_policy(CLI::MultiOptionPolicy::TakeAll);
    app.add_option("--ignore-common", opt.ignoreCommonArgs, "the common-word file of LANG: en, de, es, pt, it, fr or all")
        ->expected(1)->allow_extra_args(false)->multi_option_policy(CLI::MultiOptionPolicy::TakeAll)
        ->check(CLI::IsMember({"en", "de", "es", "pt", "it", "fr", "all"}));
    app.add_option("--ignore", opt.ignoreWords, "extra words to ignore, separated by spaces")
        ->expected(1)->allow_extra_args(false)->multi_option_policy(CLI::MultiOptionPolicy::TakeAll);
    app.add_option("--count-only-file", opt.countOnlyFiles, "add, select and load a count-only file")
        ->expected(1)->allow_extra_args(false)->multi_option_policy(CLI::MultiOptionPolicy::TakeAll);
    app.add_option("--count-only", opt.countOnly, "extra count-only words/phrases, separated by comma and space")
        ->expected(1)->allow_extra_args(false)->multi_option_policy(CLI::MultiOptionPolicy::TakeAll);
  }
  if (groups.report)
    app.add_flag("--all-words", opt.allWords, "count all words even when count-only entries exist");
  AddSavedSettingsOptions(app, opt);
}

}  // namespace

void AddCommonOptions(CLI::App& app, Options& opt) { AddOptions(app, opt, {}); }

void AddListFilesOptions(CLI::App& app, Options& opt) {
  AddOptions(app, opt, {.report = false, .counting = false});
}

void AddTableCommandOptions(CLI::App& app, Options& opt) {
  app.add_option("-o,--output", opt.output,
                 "the table file (needed): tab-delimited text, or a workbook when its name ends "
                 "in .xlsx");
  AddOptions(app, opt, {.report = false, .counting = true});
  AddTableOptions(app, opt);
}

void AddTableOptions(CLI::App& app, Options& opt) {
  app.add_option("--layout", opt.layout,
                 "alpha: one table in alphabetical order (default); freq: one table by "
                 "frequency; both: alphabetical followed by frequency")
      ->check(CLI::IsMember({"alpha", "freq", "both"}));
  app.add_flag("--blank-zeros", opt.blankZeros, "leave a cell blank when its count is zero");
  app.add_flag("--relative-cells", opt.relativeCells,
               "write each cell as its share of the row total instead of its count");
}

void RecordListOrder(Options& opt, const CLI::App& command) {
  opt.ignoreFiles.clear();
  std::size_t file = 0, common = 0;
  for (const CLI::Option* o : command.parse_order()) {
    if (o->get_name() == "--ignore-file" && file < opt.ignoreFileArgs.size())
      opt.ignoreFiles.push_back(opt.ignoreFileArgs[file++]);
    else if (o->get_name() == "--ignore-common" && common < opt.ignoreCommonArgs.size())
      opt.ignoreFiles.push_back("common:" + opt.ignoreCommonArgs[common++]);
  }
}

int ApplyOptions(Session& s, const Options& opt, std::string& problem) {
  Settings& st = s.settings;
  s.sources.intJobs = opt.jobs;
  for (const std::string& kv : opt.sets) {
    std::size_t eq = kv.find('=');
    if (eq == std::string::npos) {
      problem = "--set takes NAME=VALUE, not \"" + kv + "\".";
      return 2;
    }
    if (!SetFieldFromText(st, kv.substr(0, eq), kv.substr(eq + 1), problem)) return 2;
  }
  if (opt.format >= 0) st.cboDisplayFormat = opt.format;
  if (opt.order == "freq") st.cboWordOrder = 0;
  if (opt.order == "alpha") st.cboWordOrder = 1;
  if (opt.relative) st.chkDisplayRelativeFrequency = 1;
  if (opt.sortByFiles) st.chkSortByNumberOfFiles = 1;
  if (opt.subfolders) st.chkIncludeSubfolders = 1;
  if (!opt.patterns.empty()) st.txbFileFilepathSpecifications[0] = Join(opt.patterns, " ");
  if (!opt.exclude.empty()) st.txbFileFilepathSpecifications[1] = Join(opt.exclude, " ");
  if (!opt.output.empty()) {
    st.txbFile[1] = opt.output;
    st.chkDisableOutputToFile = 0;
  }

  if (opt.table || opt.saveOnly) {
    // Only what is given: a record restored by --settings keeps its own choices.
    if (!opt.layout.empty())
      st.tableLayout = opt.layout == "freq"   ? TableLayout::optByFrequency
                       : opt.layout == "both" ? TableLayout::optBoth
                                              : TableLayout::optAlphabetical;
    if (opt.blankZeros) st.chkZeroCellsBlank = 1;
    if (opt.relativeCells) st.chkWriteRelativeFrequency = 1;
  }

  std::string source = opt.source;
  if (source.empty() && opt.keepRecordSource) {
    // A restored record keeps its source; its clipboard is standard input here.
    if (st.source != Source::optOnClipboard || opt.saveOnly) return 0;
    source = "-";
  }
  if (source.empty() && !opt.listFiles) source = DataDir() + "/sample.txt";
  std::error_code ec;
  if (source == "-") {
    st.source = Source::optOnClipboard;
    s.sources.intStandardInput = opt.standardInput;
  } else if (opt.listFiles || fs::is_directory(source, ec)) {
    st.source = Source::optFolder;
    st.txbFolder = source;
  } else {
    st.source = Source::optInFile;
    st.txbFile[0] = source;
  }
  return 0;
}

int ApplyLists(Session& s, const Options& opt) {
  Settings& st = s.settings;
  if (!opt.ignoreWords.empty()) st.txbWordsToIgnoreOrCount[0] = Join(opt.ignoreWords, " ");
  if (!opt.countOnly.empty()) st.txbWordsToIgnoreOrCount[1] = Join(opt.countOnly, ", ");

  std::vector<std::string> ignorePaths;
  for (const std::string& f : opt.ignoreFiles) {
    if (f.rfind("common:", 0) == 0) {
      ignorePaths.push_back(CommonWordsPathForCode(f.substr(7)));
    } else {
      ignorePaths.push_back(f);
    }
  }
  // Every file goes into the history; the last one is selected and loaded.
  auto load = [&](int list, const std::vector<std::string>& paths) {
    bool added = false;
    for (std::size_t i = 0; i + 1 < paths.size(); ++i) AddFileToHistory(s, list, paths[i], added);
    if (paths.size() > 1)
      s.host.MsgBox(std::string("Only the last ") +
                        (list == 0 ? "words-to-ignore" : "count-only") +
                        " file given is loaded: " + paths.back(),
                    "", MsgIcon::Information);
    return paths.empty() || LoadListFile(s, list, paths.back());
  };
  if (!load(0, ignorePaths)) return 1;
  if (!load(1, opt.countOnlyFiles)) return 1;

  for (int list = 0; list < 2; ++list)
    if (!GetExtraWords(s, list)) return 1;
  SetThereAreListFlags(s);
  // The count chooser: only the specified entries when there are any, unless --all-words.
  auto* host = dynamic_cast<ScriptedHost*>(&s.host);
  if (host) host->choices.push_back(s.run.blnThereAreCountOnlyWords && !opt.allWords ? 1 : 0);
  return 0;
}

bool ListingSucceeded(FolderScanResult r) {
  return r == FolderScanResult::Listed || r == FolderScanResult::Done;
}

}  // namespace talq::cli
