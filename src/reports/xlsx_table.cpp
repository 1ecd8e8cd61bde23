// The words-vs-files workbook, written with libxlsxwriter.
#include "reports/xlsx_table.h"

#include <xlsxwriter.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <vector>

#include "reports/atomic_output.h"
#include "util/utf8.h"

namespace talq {

namespace {

constexpr double kMaxWordColumn = 80;
constexpr double kMaxPathColumn = 120;

double Digits(std::int64_t n) { return double(std::to_string(n).size()); }

// Writes one worksheet; remembers the first libxlsxwriter error.
class SheetWriter {
 public:
  SheetWriter(lxw_worksheet* ws, lxw_format* bold, lxw_format* percent)
      : ws_(ws), bold_(bold), percent_(percent) {}
  void Text(lxw_row_t row, lxw_col_t col, const std::string& text, bool bold = false) {
    if (!text.empty()) Check(worksheet_write_string(ws_, row, col, text.c_str(), bold ? bold_ : nullptr));
  }
  void Number(lxw_row_t row, lxw_col_t col, double value, bool percent = false, bool bold = false) {
    Check(worksheet_write_number(ws_, row, col, value, percent ? percent_ : bold ? bold_ : nullptr));
  }
  lxw_worksheet* Sheet() const { return ws_; }
  lxw_error Error() const { return error_; }

 private:
  void Check(lxw_error e) {
    if (e != LXW_NO_ERROR && error_ == LXW_NO_ERROR) error_ = e;
  }
  lxw_worksheet* ws_;
  lxw_format* bold_;
  lxw_format* percent_;
  lxw_error error_ = LXW_NO_ERROR;
};

// Widths in characters: the word column fits the longest word, file columns their totals
// (no cell is larger; a number wider than its column would show as "#####"), the total
// column the grand total.
void SetWidths(lxw_worksheet* ws, const WordsFilesTable& t, const TableOptions& o) {
  std::size_t longest = std::string("<File indices>").size();
  for (const TableRow& r : t.rows) longest = std::max(longest, Utf8Length(r.word));
  worksheet_set_column(ws, 0, 0, std::min(kMaxWordColumn, double(longest) + 2), nullptr);
  if (t.files.empty()) return;
  std::int64_t largest = 0;
  for (std::int64_t c : t.columnTotals) largest = std::max(largest, c);
  // Relative cells show up to "100%"; the totals row below them stays absolute.
  const double cell = std::max({o.relativeCells ? 4.0 : 0.0, Digits(largest),
                                Digits(std::int64_t(t.files.size())), 3.0}) + 2;
  worksheet_set_column(ws, 1, lxw_col_t(t.files.size()), cell, nullptr);
  if (t.files.size() > 1) {
    const lxw_col_t total = lxw_col_t(t.files.size() + 2);
    worksheet_set_column(ws, total, total, std::max(Digits(t.grandTotal), 5.0) + 2, nullptr);
  }
}

void WriteTableSheet(SheetWriter& w, const WordsFilesTable& t, const TableOptions& o,
                     const std::vector<std::size_t>* order) {
  const std::size_t files = t.files.size();
  lxw_row_t row = 0;
  for (const std::string& line : t.preamble) w.Text(row++, 0, line);
  const lxw_row_t header = row;
  w.Text(header, 0, "<File indices>", true);
  for (std::size_t i = 0; i < files; ++i) w.Number(header, lxw_col_t(i + 1), double(i + 1), false, true);
  if (files > 1) w.Text(header, lxw_col_t(files + 2), "Total", true);
  worksheet_freeze_panes(w.Sheet(), header + 1, 1);
  row = header + 1;

  std::vector<std::int64_t> dense(files, 0);
  auto writeRow = [&](const TableRow& r) {
    w.Text(row, 0, r.word);
    for (const auto& [file, count] : r.counts) dense[std::size_t(file - 1)] += count;
    for (std::size_t i = 0; i < files; ++i) {
      const std::int64_t c = dense[i];
      dense[i] = 0;
      if (c == 0 && o.blankZeros) continue;
      if (o.relativeCells && c != 0 && r.total > 0)
        w.Number(row, lxw_col_t(i + 1), double(c) / double(r.total), true);
      else
        w.Number(row, lxw_col_t(i + 1), double(c));
    }
    if (files > 1) w.Number(row, lxw_col_t(files + 2), double(r.total));
    ++row;
  };
  if (order) {
    for (std::size_t i : *order) writeRow(t.rows[i]);
  } else {
    for (const TableRow& r : t.rows) writeRow(r);
  }
  ++row;
  w.Text(row, 0, "Total", true);
  for (std::size_t i = 0; i < files; ++i) w.Number(row, lxw_col_t(i + 1), double(t.columnTotals[i]), false, true);
  if (files > 1) w.Number(row, lxw_col_t(files + 2), double(t.grandTotal), false, true);
}

void WriteFilesSheet(SheetWriter& w, const WordsFilesTable& t) {
  w.Text(0, 0, "File index", true);
  w.Text(0, 1, "Path", true);
  worksheet_freeze_panes(w.Sheet(), 1, 0);
  std::size_t longest = 4;
  for (std::size_t i = 0; i < t.files.size(); ++i) {
    w.Number(lxw_row_t(i + 1), 0, double(i + 1));
    w.Text(lxw_row_t(i + 1), 1, t.files[i]);
    longest = std::max(longest, Utf8Length(t.files[i]));
  }
  worksheet_set_column(w.Sheet(), 0, 0, 12, nullptr);
  worksheet_set_column(w.Sheet(), 1, 1, std::min(kMaxPathColumn, double(longest) + 2), nullptr);
}

}  // namespace

TableWriteError WriteTableWorkbook(const std::string& path, const WordsFilesTable& t,
                                   const TableOptions& options,
                                   const std::function<void()>& onFrequencyTable) {
  // Preamble, header, rows, a blank row and the totals must fit one worksheet.
  if (t.preamble.size() + t.rows.size() + 3 > LXW_ROW_MAX)
    return {EFBIG, "The table has more rows than a worksheet can hold."};
  if (t.files.size() + 3 > LXW_COL_MAX)
    return {EFBIG, "The table has more columns than a worksheet can hold."};

  // Rows go straight to temporary files instead of staying in memory.
  lxw_workbook_options opt{};
  opt.constant_memory = LXW_TRUE;
  // The workbook is written beside its target and renamed over it once whole.
  PendingOutput pending;
  std::FILE* probe = nullptr;
  if (int err = OpenPendingOutput(path, pending, probe)) return {err, std::strerror(err)};
  std::fclose(probe);
  lxw_workbook* wb = workbook_new_opt((pending.temp.empty() ? path : pending.temp).c_str(), &opt);
  if (!wb) {
    FinishPendingOutput(pending, EIO);
    return {EIO, "Cannot create the workbook."};
  }
  lxw_format* bold = workbook_add_format(wb);
  format_set_bold(bold);
  lxw_format* percent = workbook_add_format(wb);
  format_set_num_format(percent, "0%");

  lxw_error error = LXW_NO_ERROR;
  auto sheet = [&](const char* name) {
    lxw_worksheet* ws = workbook_add_worksheet(wb, name);
    return SheetWriter(ws, bold, percent);
  };
  if (options.alphabetical) {
    SheetWriter w = sheet("Alphabetical");
    SetWidths(w.Sheet(), t, options);
    WriteTableSheet(w, t, options, nullptr);
    if (error == LXW_NO_ERROR) error = w.Error();
  }
  if (options.byFrequency) {
    if (onFrequencyTable) onFrequencyTable();
    SheetWriter w = sheet("By frequency");
    SetWidths(w.Sheet(), t, options);
    WriteTableSheet(w, t, options, &t.frequencyOrder);
    if (error == LXW_NO_ERROR) error = w.Error();
  }
  SheetWriter files = sheet("Files");
  WriteFilesSheet(files, t);
  if (error == LXW_NO_ERROR) error = files.Error();

  const lxw_error closed = workbook_close(wb);
  if (error == LXW_NO_ERROR) error = closed;
  const int err = FinishPendingOutput(pending, error == LXW_NO_ERROR ? 0 : EIO);
  if (error != LXW_NO_ERROR) return {EIO, lxw_strerror(error)};
  if (err == 0) return {};
  return {err, std::strerror(err)};
}

}  // namespace talq
