// The text sources: one input file (alone or as one file of a folder scan) or the clipboard
// text, prepared and handed line by line to word extraction.
#pragma once

#include <sys/stat.h>

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <unordered_map>
#include <vector>

#include "sources/classify.h"
#include "sources/source_file.h"

namespace talq {

struct SourceSession;

// Status codes of DoItFromFile / DoItFromClipboard.
enum FileStatus : int {
  kFileDone = 0,
  kFileBadPath = 1,        // the path ends with "/"
  kFileNotFound = 2,
  kFileEmptyOrNoPath = 3,  // no path (blnStop set), zero length, or unusable clipboard text
  kFileIsOutputFile = 4,   // blnStop set
  kFileCancelled = 5,
  kFileNotText = 6,
  kFileZeroLength = 10,
  kFilePermissionDenied = 11,
  kFileTextboxFull = 12,   // blnStop set
  kFileDocxFailed = 13,
};

// A file or folder a folder scan could not read, and the system's reason.
struct SkippedEntry {
  std::string path;
  std::string reason;
};

// A file whose lines DoItFromFile is about to read (after its checks and messages).
struct FileToRead {
  std::string path;       // the file read (a document's extracted text for .docx)
  std::string extension;  // lower-cased, of the path the user gave
  TextEncoding encoding = TextEncoding::Ansi;
  int bomLength = 0;
  std::int64_t length = 0;
  bool lineBar = false;      // the line progress bar is shown
  int userOnly7bitASCII = 0;  // chkOnly7bitASCII as the user set it (a file may lift it)
  std::shared_ptr<SourceFile> file;  // path, already open (null: open it by path)
};

// Reading on other threads, installed by the counting run for the length of a run.
class ParallelReading {
 public:
  virtual ~ParallelReading() = default;
  // Reads f into the session's word table with the same result as DoItFromFile's own line
  // loop (table, order, per-file data, labels, the progress bar), Pump() and the stop flag
  // served on the calling thread. False, having read nothing, when it does not apply.
  virtual bool ReadFile(SourceSession& s, const FileToRead& f) = 0;
};

// State of the sources kept across calls.
struct SourceState {
  std::string strClipboardText;
  std::int64_t lngMaxClipboardChars = 100000;
  bool blnIsDocx = false;
  // When >= 0, the clipboard source is this descriptor instead (the command line's
  // standard input): streamed line by line, with no length limit.
  int intStandardInput = -1;
  // The unreadable entries of the last folder-scan pass, in scan order.
  std::vector<SkippedEntry> skipped;
  int intJobs = 0;                      // threads a run may use; 0: one per core
  // A stretch of a large file per thread. A folder's files of at most a quarter of it are cut
  // into words on other threads and counted on the calling one; larger ones are counted there.
  std::int64_t lngChunkBytes = std::int64_t{4} << 20;
  ParallelReading* parallel = nullptr;  // set by the run while it reads
  // What a folder run's counting pass learned of each file it accepted or refused, by path;
  // its reading pass takes each entry instead of stat-ing, opening and classifying the file
  // again. A file to be read stays open between the passes while few enough are.
  struct Classified {
    int verdict = 0;
    TextFileStats stats;
    std::int64_t length = 0;
    struct stat status{};
    std::shared_ptr<SourceFile> file;
  };
  std::unordered_map<std::string, Classified> classified;
  std::size_t filesKeptOpen = 0;  // entries of classified holding their file open
  // The output file as stat-ed once for a folder run (every file is compared with it).
  struct OutputIdentity {
    std::string path;
    bool exists = false;
    struct stat status{};
  };
  std::optional<OutputIdentity> output;
};

class LineReader;

// What DoItFromFile's line loop does besides extraction: beforeLine runs before each line
// is read (false ends the loop); afterRead gets the file's bytes read after each line.
struct LineLoopHooks {
  std::function<bool()> beforeLine;
  std::function<void(std::int64_t)> afterRead;
};

// Where the line progress bar of width stands after bytes of length were read (rounded).
std::int64_t LineBarPosition(int width, std::int64_t bytes, std::int64_t length);

// The line loop: every line of reader, its HTML head skipped when html, trimmed, normalised,
// lower-cased unless case is significant, into word extraction (phrases reset at line ends
// as the settings say). The comment state and phrase window are the caller's to set up.
void ReadLines(SourceSession& s, LineReader& reader, bool html, bool utf8, const LineLoopHooks& hooks);

// Reads path (the single input file, or the current file of a folder scan) into the word
// table through ProcessLine. Returns a FileStatus; refusals are reported once by message.
int DoItFromFile(SourceSession& s, const std::string& path);

// Hands one trimmed, normalised line to word extraction: lower-cased unless case is
// significant, after a phrase reset when endOfLineReset and the setting ask for one. The
// line's contents are consumed.
void HandOverLine(SourceSession& s, std::u32string& line, bool endOfLineReset);

// Readies a count of text that is no file (clipboard or standard input): comment markers,
// an empty table, the run flags. False when the comment markers are refused (already said).
bool StartTextWithoutFile(SourceSession& s);

// Counts strClipboardText (fetched by GetClipboardText). Returns a FileStatus.
int DoItFromClipboard(SourceSession& s);

// Fetches the clipboard text into strClipboardText; shows it in the text box when asked.
// Returns 0, 3 (too long) or 4 (no text).
int GetClipboardText(SourceSession& s, bool showInTextbox);

// 0 valid; 1 the trimmed path ends with "/"; 2 no such file; 3 zero length.
int CheckInputFile(SourceSession& s, const std::string& path);

// Tells the user about statuses 1..4 of DoItFromFile; inputBox is the input-file box text.
void ReportFileStatus(SourceSession& s, int status, const std::string& inputBox);

}  // namespace talq
