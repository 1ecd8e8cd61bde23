// The words-vs-files table for spreadsheets: every included entry of a run against the files
// it came from, written after the run as a tab-delimited text file or, for an output name
// ending in ".xlsx", as a workbook.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace talq {

struct ReportSession;

// One entry: its per-file counts (file index from 1, count), sparse, and their sum.
struct TableRow {
  std::string word;
  std::vector<std::pair<std::int64_t, std::int64_t>> counts;
  std::int64_t total = 0;
};

// What the dialog chose (frmCountArray's fields of the settings record).
struct TableOptions {
  bool alphabetical = true;   // optAlphabetical or optBoth
  bool byFrequency = false;   // optByFrequency or optBoth
  bool blankZeros = false;    // chkZeroCellsBlank
  bool relativeCells = false; // chkWriteRelativeFrequency
};

// The table of a finished run, in the order the file writers need it.
struct WordsFilesTable {
  std::vector<std::string> files;           // the path of file index i + 1
  std::vector<TableRow> rows;               // included entries in table (sort-key) order
  std::vector<std::int64_t> columnTotals;   // per file, absolute counts
  std::int64_t grandTotal = 0;
  std::vector<std::size_t> frequencyOrder;  // rows by total, larger first, then by word
  std::vector<std::string> preamble;        // the lines above the tables, the last one empty
};

// The dialog's choices from the settings record.
TableOptions TableOptionsFromSettings(const ReportSession& s);

// Builds the table of the session's counted word table. A single-file or clipboard source
// is one file, named by its path or "the clipboard".
WordsFilesTable BuildWordsFilesTable(const ReportSession& s);

// True when a spreadsheet could read word as something other than text: "true" or "false"
// in any case, or, with numerals allowed in words, something that looks like a number.
bool CheckSpreadsheetWord(std::string_view word, bool numeralsAllowed);

// The text of one cell: c, or c's share of the row total as a whole percentage ("67%").
std::string CellText(std::int64_t count, std::int64_t rowTotal, bool relative);

// Whether the output file is written as a workbook (its name ends in ".xlsx", any case).
bool IsWorkbookPath(std::string_view path);

// The run's hook: writes the table to the output file, then shows the closing message in
// the text box. A failure is reported (ReportError) and leaves its error number in
// reports.intOutputFileError.
void WriteCountArrayFile(ReportSession& s);

// Why a table could not be written: the system's error number (EIO where the system gave
// none, such as a worksheet too small) and the text to show. An empty text: written.
struct TableWriteError {
  int code = 0;
  std::string text;
};

// The tab-delimited file (UTF-8, CR LF line ends). Returns no text, or why it failed.
// onFrequencyTable runs before the frequency table is written; spreadsheetWarning is set
// when a written word could be misread by a spreadsheet.
TableWriteError WriteTableText(const std::string& path, const WordsFilesTable& table,
                               const TableOptions& options, bool numeralsAllowed,
                               bool& spreadsheetWarning,
                               const std::function<void()>& onFrequencyTable = {});

}  // namespace talq
