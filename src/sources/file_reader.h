// The text sources: one input file (alone or as one file of a folder scan) or the clipboard
// text, prepared and handed line by line to word extraction.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

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
};

// Reads path (the single input file, or the current file of a folder scan) into the word
// table through ProcessLine. Returns a FileStatus; refusals are reported once by message.
int DoItFromFile(SourceSession& s, const std::string& path);

// Hands one trimmed, normalised line to word extraction: lower-cased unless case is
// significant, after a phrase reset when endOfLineReset and the setting ask for one. The
// line's contents are consumed.
void HandOverLine(SourceSession& s, std::u32string& line, bool endOfLineReset);

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
