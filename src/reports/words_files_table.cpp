// The words-vs-files table: building it from the word table and writing the text file.
#include "reports/words_files_table.h"

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <memory>
#include <utility>

#include "reports/atomic_output.h"
#include "reports/report_session.h"
#include "reports/report_sinks.h"
#include "reports/xlsx_table.h"
#include "util/paths.h"
#include "util/program_texts.h"
#include "util/text_case.h"
#include "util/times.h"

namespace talq {

namespace {

// Lines into a file, CR LF after each, buffered; remembers the first failure. The file is
// written beside its target and renamed over it once whole, so a failure keeps the old table.
class LineWriter {
 public:
  explicit LineWriter(const std::string& path) { error_ = OpenPendingOutput(path, pending_, file_); }
  ~LineWriter() {
    if (file_) ClosePendingOutput(pending_, file_, error_ ? error_ : ECANCELED);
  }
  void Line(std::string_view text) {
    buffer_.append(text).append("\r\n");
    if (buffer_.size() >= (1u << 20)) Flush();
  }
  // 0, or the errno of the first failure.
  int Close() {
    Flush();
    if (file_) error_ = ClosePendingOutput(pending_, std::exchange(file_, nullptr), error_);
    return error_;
  }

 private:
  void Flush() {
    errno = 0;
    if (file_ && !error_ && !buffer_.empty() &&
        std::fwrite(buffer_.data(), 1, buffer_.size(), file_) != buffer_.size())
      error_ = errno ? errno : EIO;
    buffer_.clear();
  }
  PendingOutput pending_;
  std::FILE* file_ = nullptr;
  std::string buffer_;
  int error_ = 0;
};

// The file-index block and the header row.
void WriteArrayHeader(LineWriter& out, const WordsFilesTable& t) {
  std::string line;
  for (std::size_t i = 0; i < t.files.size(); ++i) {
    line.assign(1, '\t').append(std::to_string(i + 1)).append(1, '\t').append(t.files[i]);
    out.Line(line);
  }
  out.Line("");
  line = "<File indices>";
  for (std::size_t i = 0; i < t.files.size(); ++i) line.append(1, '\t').append(std::to_string(i + 1));
  out.Line(line.append("\t\tTotal"));
}

// A blank line and the totals row.
void WriteArrayTotals(LineWriter& out, const WordsFilesTable& t) {
  out.Line("");
  std::string totals = "Total";
  for (std::int64_t c : t.columnTotals) totals.append(1, '\t').append(std::to_string(c));
  if (t.files.size() > 1) totals.append("\t\t").append(std::to_string(t.grandTotal));
  out.Line(totals);
}

// The row text: the word, its cells and, with more than one file, the total.
class RowFormatter {
 public:
  RowFormatter(std::size_t files, const TableOptions& o)
      : files_(files), options_(o), dense_(files, 0) {}
  std::string Format(const TableRow& row) {
    for (const auto& [file, count] : row.counts) dense_[std::size_t(file - 1)] += count;
    std::string text = row.word;
    for (std::int64_t& c : dense_) {
      text += '\t';
      if (c != 0) {
        text += CellText(c, row.total, options_.relativeCells);
      } else if (!options_.blankZeros) {
        text += '0';
      }
      c = 0;
    }
    if (files_ > 1) text.append("\t\t").append(std::to_string(row.total));
    return text;
  }

 private:
  std::size_t files_;
  TableOptions options_;
  std::vector<std::int64_t> dense_;
};

}  // namespace

TableOptions TableOptionsFromSettings(const ReportSession& s) {
  const Settings& st = s.settings;
  TableOptions o;
  o.alphabetical = st.tableLayout != TableLayout::optByFrequency;
  o.byFrequency = st.tableLayout != TableLayout::optAlphabetical;
  o.blankZeros = st.chkZeroCellsBlank != 0;
  o.relativeCells = st.chkWriteRelativeFrequency != 0;
  return o;
}

WordsFilesTable BuildWordsFilesTable(const ReportSession& s) {
  WordsFilesTable t;
  const WordTable& w = s.words;
  // A single file or the clipboard is one file, whatever a folder run registered before.
  const bool oneSource = s.settings.source != Source::optFolder;
  if (oneSource) {
    t.files.push_back(s.settings.source == Source::optInFile ? s.settings.txbFile[0]
                                                             : std::string("the clipboard"));
  } else {
    for (std::int64_t n = 1; n <= w.NumFilesRegistered(); ++n) t.files.push_back(w.FileName(n));
  }
  t.columnTotals.assign(t.files.size(), 0);

  std::string mostFrequent;
  for (std::int64_t i = 1; i <= w.lngNumWords; ++i) {
    const WordRecord& rec = w.udtWords[std::size_t(i)];
    if (!rec.blnIncluded) continue;
    if (mostFrequent.empty() && rec.lngFrequency == w.lngMaxFrequency) mostFrequent = rec.strWord;
    TableRow row;
    row.word = rec.strWord;
    if (oneSource) {
      row.counts.emplace_back(1, rec.lngFrequency);
    } else {
      for (std::int64_t k = 0; k < rec.NumFiles(); ++k) {
        const std::int64_t file = rec.FileNumber(k);
        if (file >= 1 && file <= std::int64_t(t.files.size()))
          row.counts.emplace_back(file, rec.FileCount(k));
      }
    }
    for (const auto& [file, count] : row.counts) {
      row.total += count;
      t.columnTotals[std::size_t(file - 1)] += count;
    }
    t.grandTotal += row.total;
    t.rows.push_back(std::move(row));
  }

  // Larger totals first, equal totals by the word: for every total, however large.
  t.frequencyOrder.resize(t.rows.size());
  for (std::size_t i = 0; i < t.rows.size(); ++i) t.frequencyOrder[i] = i;
  std::stable_sort(t.frequencyOrder.begin(), t.frequencyOrder.end(),
                   [&](std::size_t a, std::size_t b) {
                     const TableRow& x = t.rows[a];
                     const TableRow& y = t.rows[b];
                     if (x.total != y.total) return x.total > y.total;
                     return x.word < y.word;
                   });

  t.preamble.push_back("Output from " + ProgramText(1) + " at " + DateTimeText());
  std::string source = "the files specified by the file indices.";
  if (s.settings.source == Source::optOnClipboard)
    source = "the clipboard";
  else if (t.files.size() == 1)
    source = "the file " + t.files[0];
  t.preamble.push_back("showing the frequency of each word or phrase in " + source);
  if (w.lngMaxFrequency >= 1 && w.lngNumWords >= 2)
    t.preamble.push_back("Maximum frequency = " + std::to_string(w.lngMaxFrequency) +
                         "    The word or phrase '" + mostFrequent +
                         "' occurs with this frequency (there may be others).");
  t.preamble.push_back("");
  return t;
}

bool CheckSpreadsheetWord(std::string_view word, bool numeralsAllowed) {
  const std::string lower = LowerCaseAccented(std::string(word));
  if (lower == "true" || lower == "false") return true;
  if (!numeralsAllowed) return false;
  const std::size_t first = word.find_first_not_of(' ');
  if (first == std::string_view::npos) return false;
  const std::string_view t = word.substr(first, word.find_last_not_of(' ') - first + 1);
  for (std::size_t i = 0; i < t.size(); ++i) {
    const char c = t[i];
    if ((c == '-' || c == '+') && i > 0) return false;
    if (std::strchr("0123456789-+,.", c) == nullptr || c == '\0') return false;
  }
  return true;
}

std::string CellText(std::int64_t count, std::int64_t rowTotal, bool relative) {
  if (!relative) return std::to_string(count);
  const double share = rowTotal > 0 ? double(count) * 100.0 / double(rowTotal) : 0.0;
  return std::to_string(std::llround(share)) + "%";
}

bool IsWorkbookPath(std::string_view path) {
  if (path.size() < 5) return false;
  std::string tail(path.substr(path.size() - 5));
  for (char& c : tail) c = char(std::tolower(static_cast<unsigned char>(c)));
  return tail == ".xlsx";
}

TableWriteError WriteTableText(const std::string& path, const WordsFilesTable& t,
                               const TableOptions& options, bool numeralsAllowed,
                               bool& spreadsheetWarning,
                               const std::function<void()>& onFrequencyTable) {
  LineWriter out(path);
  for (const std::string& line : t.preamble) out.Line(line);
  const bool header = t.files.size() > 1;
  RowFormatter rows(t.files.size(), options);
  auto writeRow = [&](const TableRow& row) {
    out.Line(rows.Format(row));
    if (!spreadsheetWarning) spreadsheetWarning = CheckSpreadsheetWord(row.word, numeralsAllowed);
  };
  if (options.alphabetical) {
    if (header) WriteArrayHeader(out, t);
    for (const TableRow& row : t.rows) writeRow(row);
    WriteArrayTotals(out, t);
  }
  if (options.byFrequency) {
    if (options.alphabetical) out.Line("");
    if (onFrequencyTable) onFrequencyTable();
    if (header) WriteArrayHeader(out, t);
    for (std::size_t i : t.frequencyOrder) writeRow(t.rows[i]);
    WriteArrayTotals(out, t);
  }
  const int err = out.Close();
  if (err == 0) return {};
  return {err, std::strerror(err)};
}

void WriteCountArrayFile(ReportSession& s) {
  const std::string path = TrimPathBox(s.settings.txbFile[1]);
  const TableOptions options = TableOptionsFromSettings(s);
  s.host.TxbSet("Now writing " + path + " . . .");
  const WordsFilesTable table = BuildWordsFilesTable(s);
  const bool workbook = IsWorkbookPath(path);
  bool warning = false;
  TableWriteError error;
  if (workbook) {
    error = WriteTableWorkbook(path, table, options, [&s] { s.host.TxbSet(ProgramText(356)); });
  } else {
    error = WriteTableText(path, table, options, s.settings.chkAllowWordsWithNumerals != 0, warning,
                           [&s] { s.host.TxbSet(ProgramText(356)); });
  }
  if (!error.text.empty()) {
    // The system's own reason (a full disk is ENOSPC), not a generic I/O error.
    const int code = error.code != 0 ? error.code : EIO;
    s.reports.intOutputFileError = code;
    ReportError(s, code, error.text + " (" + path + ")", "WriteCountArrayFile");
    return;
  }
  // A workbook keeps every word as text: no conversion warning, and no tabs to speak of.
  std::string message = ProgramText(359) + path + "\n\n";
  message += workbook ? ProgramText(362) : ProgramText(360) + "\n" + ProgramText(361);
  if (warning) message += "\n\n" + ProgramText(357) + "\n" + ProgramText(358);
  s.host.TxbSet(message);
}

}  // namespace talq
