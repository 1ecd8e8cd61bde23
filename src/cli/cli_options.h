// The options of `talq count`, `list-files` and `table`, and how they change the session:
// settings first, then the display format and order, then the two word lists.
#pragma once

#include <string>
#include <utility>
#include <vector>

namespace CLI {
class App;
}

namespace talq {
struct Session;
enum class FolderScanResult;
}

namespace talq::cli {

struct Options {
  std::string source;
  bool listFiles = false;
  std::string output;
  int format = -1;
  std::string order;
  bool relative = false;
  bool sortByFiles = false;
  bool subfolders = false;
  std::vector<std::string> patterns;
  std::vector<std::string> exclude;
  std::vector<std::string> sets;
  bool summary = false;
  bool yes = false;
  bool quiet = false;
  bool verbose = false;
  // The descriptor SOURCE "-" reads (tests hand over a pipe of their own).
  int standardInput = 0;
  int jobs = 0;  // 0: one thread per core

  // Word lists. ignoreFiles holds --ignore-file and --ignore-common in the order given
  // (a common-word language as "common:LANG").
  std::vector<std::string> ignoreFiles;
  std::vector<std::string> ignoreFileArgs, ignoreCommonArgs;
  std::vector<std::string> countOnlyFiles;
  std::vector<std::string> ignoreWords;
  std::vector<std::string> countOnly;
  bool allWords = false;

  // `talq table`: the words-vs-files table instead of a report.
  bool table = false;
  std::string layout;  // "" keeps the record's layout (alphabetical by default)
  bool blankZeros = false;
  bool relativeCells = false;

  // A saved record to start from (--settings FILE, --state); with keepRecordSource and no
  // SOURCE the record's own source stays, and saveOnly leaves standard input unread.
  std::string settingsFile;
  bool state = false;
  bool keepRecordSource = false;
  bool saveOnly = false;
};

// Declares every option of `talq count` (and `talq phrases`, `talq settings save`).
void AddCommonOptions(CLI::App& app, Options& opt);
// Declares the options `talq list-files` takes: folder selection, settings record, messages.
void AddListFilesOptions(CLI::App& app, Options& opt);
// Declares the options `talq table` takes: -o (the table file), the word lists, -j, those of
// list-files and AddTableOptions; none of the report's display options.
void AddTableCommandOptions(CLI::App& app, Options& opt);
// Declares the options only `talq table` has.
void AddTableOptions(CLI::App& app, Options& opt);
// Puts --ignore-file and --ignore-common into ignoreFiles in the order they were given.
void RecordListOrder(Options& opt, const CLI::App& command);

// Applies the source, --set, format, order and the other switches. 0 on success; 2 for a
// usage error (problem says why).
int ApplyOptions(Session& s, const Options& opt, std::string& problem);
// Loads the list files and the typed entries, and answers the count chooser. 0 or 1 (a
// list that does not load, after its message).
int ApplyLists(Session& s, const Options& opt);

// Whether a list-files run counts as success.
bool ListingSucceeded(FolderScanResult r);

}  // namespace talq::cli
