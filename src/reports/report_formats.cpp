// Report layouts: cells, the title line, per-file sub-listings and the listing passes.
#include "reports/report_formats.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <atomic>
#include <memory>
#include <cstdio>
#include <optional>
#include <string_view>
#include <vector>

#include "engine/words_phrases.h"
#include "reports/report_session.h"
#include "reports/report_sinks.h"
#include "reports/report_text.h"
#include "util/numbers.h"
#include "util/ordered_work.h"
#include "util/utf8.h"

namespace talq {

using namespace report_text;

namespace {

// A folder path longer than this is shown as "{Folder}" in file lines.
constexpr std::size_t kFolderAbbreviationMin = 13;

const WordRecord& Entry(const ReportSession& s, std::int64_t i) {
  return s.words.udtWords[static_cast<std::size_t>(i)];
}

bool Relative(const ReportSession& s) { return s.settings.chkDisplayRelativeFrequency != 0; }

double Percent(const ReportSession& s, std::int64_t count) {
  auto total = s.reports.lngNumOccurrences;
  return total > 0 ? static_cast<double>(count) * 100.0 / static_cast<double>(total) : 0.0;
}

std::string RelativeText(const ReportSession& s, std::int64_t count) {
  return FormatNumber(Percent(s, count), 2) + "%";
}

// Logarithm with 4 decimals in the "#.0000" style: no leading zero, no grouping.
std::string LogText(const ReportSession& s, std::int64_t value) {
  double v = std::log(static_cast<double>(value));
  if (s.settings.chkUseLog10) v /= std::log(10.0);
  char buf[64];
  std::snprintf(buf, sizeof buf, "%.4f", v);
  std::string t = buf;
  if (t.rfind("0.", 0) == 0) t.erase(0, 1);
  auto dot = t.find('.');
  if (dot != std::string::npos) t.replace(dot, 1, DecimalSeparator());
  return t;
}

bool RecommendedFrequenciesInForce(const ReportSession& s) {
  return s.lists.blnCountOnlyWordsIncludeRecommendedFrequencies &&
         s.reports.blnCountSpecifiedWordsPhrases;
}

bool FolderAbbreviated(const ReportSession& s) {
  return Utf8Length(s.settings.txbFolder) > kFolderAbbreviationMin;
}

// With no mode chosen the filter tests all words (PhraseMatchesFilter), so the texts say so.
std::string FilterModeText(const ReportSession& s) {
  switch (s.settings.filterMode) {
    case FilterMode::optIncludeAllWordsInSameOrder: return "all filter words in same order";
    case FilterMode::optIncludeAllWordsAsSubphrase: return "all filter words as a subphrase";
    default: return "all filter words";
  }
}

// Format #13: file lines sorted by count, largest first (ties by text, descending), each
// indented under the word.
std::string SortFileLines(const ReportSession& s, const std::string& line, std::int64_t i) {
  std::vector<std::string> parts;
  std::size_t start = 0;
  while (start <= line.size()) {
    std::size_t nl = line.find('\n', start);
    if (nl == std::string::npos) nl = line.size();
    if (nl > start) parts.push_back(line.substr(start, nl - start));
    start = nl + 1;
  }
  if (parts.empty()) return {};
  std::string out = parts[0];
  if (i > 0 && parts.size() > 1) {
    // Lines came in per-file order; pair them with their counts to sort numerically, so
    // counts of any width order correctly.
    const WordRecord& w = Entry(s, i);
    std::vector<std::pair<std::int64_t, std::string>> files;
    for (std::size_t k = 1; k < parts.size(); ++k) {
      std::int64_t count = static_cast<std::int64_t>(k - 1) < w.NumFiles()
                               ? w.FileCount(static_cast<std::int64_t>(k - 1))
                               : 0;
      files.emplace_back(count, (Relative(s) ? "  " : "    ") + parts[k]);
    }
    std::stable_sort(files.begin(), files.end(), [](const auto& a, const auto& b) {
      return a.first != b.first ? a.first > b.first : a.second > b.second;
    });
    for (auto& f : files) out += "\n" + f.second;
  } else {
    for (std::size_t k = 1; k < parts.size(); ++k) out += "\n" + parts[k];
  }
  return out;
}

}  // namespace

namespace {

// Cells are appended to the line being built: a report lists every word twice (file and
// text box), and a string per cell made the listing a large part of a count.
void AppendPadLeft(std::string& out, std::string_view t, std::size_t width) {
  const std::size_t len = Utf8Length(t);
  if (len < width) out.append(width - len, ' ');
  out += t;
}

void AppendPadRight(std::string& out, std::string_view t, std::size_t width) {
  out += t;
  const std::size_t len = Utf8Length(t);
  if (len < width) out.append(width - len, ' ');
}

// n in decimal, written into buf.
std::string_view Decimal(std::int64_t n, char (&buf)[24]) {
  const auto end = std::to_chars(buf, buf + sizeof buf, n).ptr;
  return {buf, static_cast<std::size_t>(end - buf)};
}

void AppendRank(ReportSession& s, std::int64_t i, std::string& out) {
  char digits[24];
  const std::size_t width = static_cast<std::size_t>(std::max(s.reports.intRankWidth, 0));
  if (i == 0)
    AppendPadLeft(out, "Rank", width);
  else
    AppendPadLeft(out, Decimal(Entry(s, i).lngFreqRank, digits), width);
}

void AppendFreq(ReportSession& s, std::int64_t i, std::string& out) {
  const bool relative = Relative(s);
  char digits[24];
  std::string relativeText;
  std::string_view t;
  if (i == 0) {
    t = relative ? "Rel freq" : "Freq";
  } else if (relative) {
    t = relativeText = RelativeText(s, Entry(s, i).lngFrequency);
  } else {
    t = Decimal(Entry(s, i).lngFrequency, digits);
  }
  int width = s.reports.intFreqWidth;
  if (s.lists.blnCountOnlyWordsIncludeRecommendedFrequencies && Utf8Length(t) <= 6) width -= 2;
  AppendPadLeft(out, t, static_cast<std::size_t>(std::max(width, 0)));
}

std::string_view TrimmedView(std::string_view t) {
  const std::size_t b = t.find_first_not_of(' ');
  if (b == std::string_view::npos) return {};
  return t.substr(b, t.find_last_not_of(' ') - b + 1);
}

// The word column's title.
std::string_view WordTitle(const ReportSession& s) {
  if (s.run.blnCountingMFP) return "Phrase";
  if (s.run.blnThereAreCountOnlyWords && s.run.blnCountOnlyWordsIncludePhrase)
    return "Word or phrase";
  return "Word";
}

// The word cell; toFile: for the output file, else for the text box.
void AppendWord(ReportSession& s, std::int64_t i, std::string& out, bool toFile) {
  auto& r = s.reports;
  std::string_view t;
  if (i == 0) {
    t = WordTitle(s);
    // Written only when it grows: other threads may be formatting lines with it.
    const int width = static_cast<int>(Utf8Length(t));
    if (width > r.intWordWidth) r.intWordWidth = width;
  } else {
    t = TrimmedView(Entry(s, i).strWord);
  }
  if (toFile && s.run.blnCountingMFP) {
    out += t;
    out += '\t';
    return;
  }
  int f = s.settings.cboDisplayFormat;
  if (toFile && s.settings.chkOutputWithCommas && (f == 1 || f == 6 || f == 7)) {
    out += t;  // already without trailing spaces
    out += ", ";
    return;
  }
  AppendPadRight(out, t, static_cast<std::size_t>(std::max(r.intWordWidth, 0)));
}

}  // namespace

std::string RankColumn(ReportSession& s, std::int64_t i) {
  std::string t;
  AppendRank(s, i, t);
  return t;
}

std::string FreqColumn(ReportSession& s, std::int64_t i) {
  std::string t;
  AppendFreq(s, i, t);
  return t;
}

std::string WordColumn(ReportSession& s, std::int64_t i) {
  std::string t;
  AppendWord(s, i, t, s.reports.blnOutputFile);
  return t;
}

std::string LogRankColumn(ReportSession& s, std::int64_t i) {
  std::string t = i == 0 ? (s.settings.chkUseLog10 ? "L10(R)" : "LN(R)")
                         : LogText(s, Entry(s, i).lngFreqRank);
  return PadLeft(t, s.reports.intRankWidth);
}

std::string LogFreqColumn(ReportSession& s, std::int64_t i) {
  std::string t = i == 0 ? (s.settings.chkUseLog10 ? "L10(F)" : "LN(F)")
                         : FirstChars(LogText(s, Entry(s, i).lngFrequency),
                                      static_cast<std::size_t>(s.reports.intMinWidth));
  return PadLeft(t, s.reports.intFreqWidth);
}

namespace {

// The files cell; toFile: for the output file, else for the text box.
std::string FilesCell(ReportSession& s, std::int64_t i, bool toFile) {
  bool withFreq = s.settings.chkSortByNumberOfFiles != 0;
  const char* gap = toFile ? "\t" : (i == 0 ? "   " : "    ");
  if (i == 0) return withFreq ? std::string(" Files") + gap + "File freq" : " Files";
  std::int64_t n = Entry(s, i).NumFiles();
  if (!withFreq) return PadLeft(std::to_string(n), 5);
  std::int64_t scanned = s.reports.lngNumFilesScanned;
  double freq = scanned > 0 ? static_cast<double>(n) / static_cast<double>(scanned) : 0.0;
  return PadLeft(std::to_string(n) + gap + FormatNumber(freq, 3), 14);
}

}  // namespace

std::string FilesColumn(ReportSession& s, std::int64_t i) {
  return FilesCell(s, i, s.reports.blnOutputFile);
}

std::string RecommendedFrequencyColumn(ReportSession& s, std::int64_t i) {
  if (!RecommendedFrequenciesInForce(s)) return {};
  if (i == 0) return "RecFreq";
  std::string word = TrimRight(Entry(s, i).strWord);
  const std::vector<RecordedFrequency>& rows = s.lists.strRecommendedFrequencies;
  for (std::size_t r = 1; r < rows.size(); ++r)
    if (rows[r].strWord == word) return rows[r].strFrequency;
  return {};
}

std::string ListFilesContainingWord(ReportSession& s, std::int64_t i, bool withCounts) {
  const WordRecord& w = Entry(s, i);
  bool abbreviate = FolderAbbreviated(s);
  std::size_t folderChars = Utf8Length(s.settings.txbFolder);
  std::string out;
  for (std::int64_t k = 0; k < w.NumFiles(); ++k) {
    std::int64_t count = w.FileCount(k);
    std::string prefix;
    if (!withCounts)
      prefix = "    ";
    else if (Relative(s))
      prefix = PadLeft(FormatNumber(Percent(s, count), 2), 5) + "% ";
    else
      prefix = PadLeft(std::to_string(count), 5) + " ";
    std::int64_t number = w.FileNumber(k);
    std::string path = number >= 1 && number <= s.words.NumFilesRegistered()
                           ? s.words.FileName(number)
                           : std::string();
    out += prefix;
    out += abbreviate ? "{Folder}" + FromChar(path, folderChars) : path;
    out += "\n";
  }
  return out;
}

// FormatLine appending to out, which may already hold earlier lines.
void AppendFormattedLine(ReportSession& s, std::int64_t i, LineLayout layout, std::string& out) {
  int f = s.settings.cboDisplayFormat;
  bool tb = layout == LineLayout::Textbox;
  bool commas = layout == LineLayout::FileWithCommas;
  // Each appends its cell (W1 without trailing spaces, W2 without spaces at either end) or
  // text (T), so that a case reads as its line: the cells in order.
  const auto R = [&] { AppendRank(s, i, out); };
  const auto F = [&] { AppendFreq(s, i, out); };
  const bool toFile = layout != LineLayout::Textbox;
  const auto W = [&] { AppendWord(s, i, out, toFile); };
  const auto W1 = [&] {
    const std::size_t from = out.size();
    AppendWord(s, i, out, toFile);
    while (out.size() > from && out.back() == ' ') out.pop_back();
  };
  const auto W2 = [&] {
    const std::size_t from = out.size();
    W1();
    std::size_t b = from;
    while (b < out.size() && out[b] == ' ') ++b;
    out.erase(from, b - from);
  };
  const auto RF = [&] { out += RecommendedFrequencyColumn(s, i); };
  const auto LR = [&] { out += LogRankColumn(s, i); };
  const auto LF = [&] { out += LogFreqColumn(s, i); };
  const auto T = [&](std::string_view text) { out += text; };
  switch (f) {
    case 0:
      if (tb) return T(" "), R(), T("  "), F(), T("  "), W1();
      if (commas) return T("  "), R(), T(",  "), F(), T(",  "), W1();
      return R(), T("\t"), F(), T("\t"), W1();
    case 1:
      if (tb) return T(" "), R(), T("  "), W(), T("  "), F();
      if (commas) return T("  "), R(), T(",  "), W(), F();
      return R(), T("\t"), W(), F();
    case 2:
      if (tb) return T(" "), R(), T("  "), F();
      if (commas) return T("  "), R(), T(",  "), F();
      return R(), T("\t"), F();
    case 3:
      if (tb) return T(" "), R(), T("  "), W1();
      if (commas) return T("  "), R(), T(",  "), W1();
      return R(), T("\t"), W1();
    case 4:
      if (tb) return T(" "), F(), T("  "), R();
      if (commas) return T("  "), F(), T(",  "), R();
      return F(), T("\t"), R();
    case 5:
      if (tb && Relative(s)) return T("  "), F(), T("  "), W1();
      if (tb) return T("  "), RF(), F(), T("  "), W1();
      if (commas) return T("  "), F(), T(",  "), W1();
      return T("  "), RF(), T("\t"), F(), T("\t"), W1();
    case 6:
      if (tb) return T("  "), W(), T(" "), R();
      if (commas) return T("  "), W(), R();
      return W(), R();
    case 7:
      if (tb && Relative(s)) return T("  "), W(), T(" "), F();
      if (tb) return T("  "), W(), T(" "), F(), T("    "), RF();
      if (commas) return T("  "), W(), F();
      return T("  "), W(), T("\t"), F(), T("\t"), RF();
    case 8:
    case 9:
      return W2();
    case 10:
      if (tb) return T(" "), R(), T("  "), F(), T("  "), LR(), T("  "), LF(), T("  "), W1();
      if (commas)
        return T("  "), R(), T(",  "), F(), T(",  "), LR(), T(",  "), LF(), T(",  "), W1();
      return R(), T("\t"), F(), T("\t"), LR(), T("\t"), LF(), T("\t"), W1();
    case 11:
      if (layout == LineLayout::FileWithTabs)
        return W(), T("\t"), F(), T("\t"), T(FilesCell(s, i, toFile));
      return T("  "), W(), T(" "), F(), T(" "), T(FilesCell(s, i, toFile));
    case 12:
    case 13:
      if (i == 0) {
        if (FolderAbbreviated(s)) out += "\n{Folder} = " + s.settings.txbFolder + "\n";
        return;
      }
      return W2(), T("\n"), T(ListFilesContainingWord(s, i, f == 13));
    default:
      return;
  }
}

std::string FormatLine(ReportSession& s, std::int64_t i, LineLayout layout) {
  std::string out;
  out.reserve(64);
  AppendFormattedLine(s, i, layout, out);
  return out;
}

void SetColumnWidths(ReportSession& s) {
  auto& r = s.reports;
  const int rank = static_cast<int>(std::to_string(s.words.lngNumWordsIncluded).size());
  const int freq =
      Relative(s) ? static_cast<int>(Utf8Length(RelativeText(s, s.words.lngMaxFrequency)))
                  : static_cast<int>(std::to_string(s.words.lngMaxFrequency).size());
  const int word = std::max({r.intMaxWordLengthFound, r.intMinWidth,
                             static_cast<int>(Utf8Length(WordTitle(s)))});
  // Unchanged widths are not written again: the box pass's lines may be formatting already,
  // with the file pass's widths, which are the same.
  const auto set = [](int& width, int value) {
    if (width != value) width = value;
  };
  set(r.intRankWidth, std::max(rank, r.intMinWidth));
  set(r.intFreqWidth, std::max(freq, r.intMinWidth));
  set(r.intWordWidth, word);
  DisplayNextLine(s, 0);
}

namespace {

// The layout of the current pass's lines.
LineLayout PassLayout(const ReportSession& s) {
  return !s.reports.blnOutputFile         ? LineLayout::Textbox
         : s.settings.chkOutputWithCommas ? LineLayout::FileWithCommas
                                          : LineLayout::FileWithTabs;
}

// Appends the line of entry i (0: the title) in layout, before any phrase filter and title
// additions. Reads the session only: other threads may format lines ahead.
void AppendPassLine(ReportSession& s, std::int64_t i, LineLayout layout, std::string& out) {
  if (s.settings.cboDisplayFormat != 13) return AppendFormattedLine(s, i, layout, out);
  const std::string line = FormatLine(s, i, layout);
  if (!line.empty()) out += SortFileLines(s, line, i);
}

}  // namespace

void DisplayNextLine(ReportSession& s, std::int64_t i) {
  auto& r = s.reports;
  bool filtering = s.run.blnCountingMFP && r.blnFilteringPhrases;
  if (filtering && i > 0) {
    std::string phrase = TrimControls(WordColumn(s, i));
    if (r.PhrasePassesFilter && !r.PhrasePassesFilter(phrase)) return;
    r.blnFilterWordFound = true;
  }
  std::string line;
  AppendPassLine(s, i, PassLayout(s), line);
  const int f = s.settings.cboDisplayFormat;
  if (i == 0) {
    if (!r.strHowManyPhrases.empty()) {
      std::string head = r.strHowManyPhrases;
      if (filtering)
        head += "Phrase filtering (" + FilterModeText(s) + ") has been applied.\nFilter words: " +
                s.settings.txbFilterWords + "\n\n";
      line = head + line;
    }
    if (f == 0 || f == 3 || f == 5 || f == 8 || f == 9)
      line = TrimRight(line) + " [longest has " + std::to_string(r.intMaxWordLengthFound) +
             " characters]";
  }
  EmitReportLine(s, line, i == 0);
}

namespace {

// The listing pass shared by both orders.
template <typename Walk>
void ListingPass(ReportSession& s, bool alphabetical, Walk walk) {
  auto& r = s.reports;
  bool toBox = !r.blnOutputFile;
  if (toBox) ClearTextbox(s);
  r.strOutput.clear();
  r.blnEntryWritten = false;
  if (toBox && s.settings.source == Source::optFolder) r.strOutput = MakeFilesScannedText(s);
  SetColumnWidths(s);
  if (toBox) {
    s.host.TxbSet(r.strOutput);
    r.strOutput.clear();
  }
  walk();
  if (alphabetical && r.strOutput.ends_with(", ")) {
    r.strOutput.resize(r.strOutput.size() - 2);
    r.strOutput += "\n";
  }
  if (alphabetical && s.run.blnCountingMFP && r.blnFilteringPhrases && !r.blnFilterWordFound) {
    std::string msg;
    switch (s.settings.filterMode) {
      case FilterMode::optIncludeAllWordsInSameOrder:
        msg = "No phrase containing all filter words in same order found.";
        break;
      case FilterMode::optIncludeAllWordsAsSubphrase:
        msg = toBox ? "No phrase containing all filter words as a subphrase found."
                    : "No phrase containing all filter words as subphrase found.";
        break;
      default:
        msg = "No phrase containing all filter words found.";
    }
    if (toBox) {
      r.strOutput += "\n" + msg;
    } else {
      if (s.settings.cboDisplayFormat == 9 && r.blnEntryWritten) WriteOutputFileLine(s, "");
      WriteOutputFileLine(s, "");
      WriteOutputFileLine(s, msg);
    }
  }
  // Only a filtered listing can have found no phrase with the filter words.
  if (!alphabetical && toBox && s.run.blnCountingMFP && r.blnFilteringPhrases &&
      !s.settings.txbFilterWords.empty() && !r.blnFilterWordFound)
    r.strOutput += "\nNo phrase containing filter word(s) found.";
  if (!toBox) return;
  if (!r.strOutput.empty()) s.host.TxbAppend(r.strOutput);
  r.strOutput.clear();
  s.host.TxbCaretToStart();
  if (r.blnTextboxFull && s.host.TxbHasCapacityLimit()) ReportError(s, -7, "", "");
}

// Lines formatted on another thread in the sink's block form, or (BlockForm::None) one after
// another in text, each ending at its ends[k].
struct LineBlock {
  std::string text;
  std::vector<std::size_t> ends;
};
constexpr std::size_t kBlockLines = 2048;
using BlockWork = OrderedWork<LineBlock>;

// Threads that format lines for a listing of entries, or 0 where the listing stays on this
// thread: one thread, a short listing, or a phrase filter (which notes what passed).
int FormattingHelpers(const ReportSession& s, const std::vector<std::int64_t>& entries) {
  const int helpers = s.words.Threads() - 1;
  if (helpers < 1 || (s.run.blnCountingMFP && s.reports.blnFilteringPhrases) ||
      entries.size() < 2 * kBlockLines)
    return 0;
  return helpers;
}

// Formats the lines of entries in blocks on other threads, in layout and form.
std::unique_ptr<BlockWork> FormatBlocks(ReportSession& s, const std::vector<std::int64_t>& entries,
                                        int helpers, LineLayout layout, BlockForm form) {
  const std::size_t blocks = (entries.size() + kBlockLines - 1) / kBlockLines;
  return std::make_unique<BlockWork>(
      helpers + 1, blocks, static_cast<std::size_t>(helpers) + 2,
      [&s, &entries, layout, form](std::size_t b, const std::atomic<bool>& cancel) {
        LineBlock block;
        std::string line;
        const std::size_t end = std::min(entries.size(), (b + 1) * kBlockLines);
        for (std::size_t k = b * kBlockLines; k < end && !cancel.load(std::memory_order_relaxed);
             ++k) {
          if (form == BlockForm::None) {
            AppendPassLine(s, entries[k], layout, block.text);
            block.ends.push_back(block.text.size());
          } else {
            line.clear();
            AppendPassLine(s, entries[k], layout, line);
            AppendInBlockForm(form, line, block.text);
          }
        }
        return block;
      });
}

// The entries a pass lists, in order: the frequency chain's (by number of files with
// chkSortByNumberOfFiles in format #13 of a folder run), or the included ones alphabetically.
std::vector<std::int64_t> PassEntries(ReportSession& s, bool alphabetical);

}  // namespace

// The text box's lines being formatted while the output file is closed.
struct ListingAhead {
  std::vector<std::int64_t> entries;
  LineLayout layout;
  BlockForm form;
  std::unique_ptr<BlockWork> work;  // reads entries, so it is destroyed first
};

void StartBoxListingAhead(ReportSession& s, bool alphabetical) {
  auto& r = s.reports;
  r.listingAhead.reset();
  if (r.blnOutputFile || PassBlockForm(s) != BlockForm::BoxLines) return;
  auto ahead = std::make_shared<ListingAhead>();
  ahead->entries = PassEntries(s, alphabetical);
  const int helpers = FormattingHelpers(s, ahead->entries);
  if (helpers == 0) return;
  ahead->layout = PassLayout(s);
  ahead->form = BlockForm::BoxLines;
  ahead->work = FormatBlocks(s, ahead->entries, helpers, ahead->layout, ahead->form);
  r.listingAhead = std::move(ahead);
}

namespace {

// Shows the lines of entries in order, calling Pump() and testing the stop flag after each
// (after each block of lines where the sink takes blocks). With threads to spare, other
// threads format the lines a block ahead while this one hands them to the sink; the lines
// may be formatting already (StartBoxListingAhead).
void ListEntries(ReportSession& s, const std::vector<std::int64_t>& entries) {
  std::shared_ptr<ListingAhead> ahead = std::move(s.reports.listingAhead);
  const int helpers = FormattingHelpers(s, entries);
  if (helpers == 0) {
    for (std::int64_t entry : entries) {
      DisplayNextLine(s, entry);
      s.host.Pump();
      if (s.run.blnStop) break;
    }
    return;
  }
  const LineLayout layout = PassLayout(s);
  const BlockForm form = PassBlockForm(s);
  std::unique_ptr<BlockWork> work;
  if (ahead && ahead->layout == layout && ahead->form == form && ahead->entries == entries) {
    work = std::move(ahead->work);
  } else {
    ahead.reset();  // lines of another listing
    work = FormatBlocks(s, entries, helpers, layout, form);
  }
  const std::size_t blocks = (entries.size() + kBlockLines - 1) / kBlockLines;
  for (std::size_t b = 0; b < blocks; ++b) {
    std::optional<LineBlock> block = work->Take(b, [&s] {
      s.host.Pump();
      return !s.run.blnStop;
    });
    if (!block || s.run.blnStop) return;
    if (form != BlockForm::None) {
      EmitReportBlock(s, block->text);
      s.host.Pump();
      if (s.run.blnStop) return;
      continue;
    }
    const std::string_view text = block->text;
    std::size_t from = 0;
    for (std::size_t end : block->ends) {
      EmitReportLine(s, text.substr(from, end - from), false);
      from = end;
      s.host.Pump();
      if (s.run.blnStop) return;
    }
  }
}

// The first lngNumWordsIncluded entries of the frequency chain, in its order. Ranks follow
// the links (the table sets both): a scan for them in memory order is several times faster
// than going from record to record along the links. The links decide should they differ.
std::vector<std::int64_t> ChainOrder(ReportSession& s) {
  const WordTable& t = s.words;
  const auto count = static_cast<std::size_t>(std::max<std::int64_t>(t.lngNumWordsIncluded, 0));
  std::vector<std::int64_t> chain(count, 0), next(count, 0);
  for (std::int64_t i = 1; i <= t.lngNumWords; ++i) {
    if ((i & 0x3FFF) == 0) s.host.Pump();
    const WordRecord& w = Entry(s, i);
    if (w.lngFreqRank < 1 || static_cast<std::size_t>(w.lngFreqRank) > count) continue;
    chain[static_cast<std::size_t>(w.lngFreqRank) - 1] = i;
    next[static_cast<std::size_t>(w.lngFreqRank) - 1] = w.lngNextInChain;
  }
  std::size_t n = 0;
  if (count > 0 && chain[0] == t.lngFirstFreq && chain[0] > 0) {
    n = 1;
    while (n < count && chain[n] != 0 && next[n - 1] == chain[n]) ++n;
  }
  if (n == count || (n > 0 && next[n - 1] == 0)) {
    chain.resize(n);
    return chain;
  }
  chain.clear();
  std::int64_t i = t.lngFirstFreq;
  for (std::size_t k = 0; k < count && i > 0; ++k) {
    if ((k & 0x3FFF) == 0x3FFF) s.host.Pump();
    chain.push_back(i);
    i = Entry(s, i).lngNextInChain;
  }
  return chain;
}

// A frequency listing by number of files: the box checked with format #13 of a folder run.
bool SortingByNumberOfFiles(const ReportSession& s) {
  return s.settings.chkSortByNumberOfFiles != 0 && s.settings.cboDisplayFormat == 13 &&
         s.settings.source == Source::optFolder;
}

}  // namespace

namespace {

std::vector<std::int64_t> PassEntries(ReportSession& s, bool alphabetical) {
  if (alphabetical) {
    std::vector<std::int64_t> included;
    included.reserve(static_cast<std::size_t>(std::max<std::int64_t>(s.words.lngNumWordsIncluded, 0)));
    for (std::int64_t i = 1; i <= s.words.lngNumWords; ++i)
      if (Entry(s, i).blnIncluded) included.push_back(i);
    return included;
  }
  std::vector<std::int64_t> chain = ChainOrder(s);
  // The chain (and so the ranks) stays in frequency order; only the listing is resorted.
  if (SortingByNumberOfFiles(s)) {
    std::stable_sort(chain.begin(), chain.end(), [&](std::int64_t a, std::int64_t b) {
      return Entry(s, a).NumFiles() > Entry(s, b).NumFiles();
    });
  }
  return chain;
}

}  // namespace

void ListWordsByFrequency(ReportSession& s) {
  ListingPass(s, false, [&] { ListEntries(s, PassEntries(s, false)); });
}

void ListWordsAlphabetically(ReportSession& s) {
  ListingPass(s, true, [&] { ListEntries(s, PassEntries(s, true)); });
}

std::string MakeFilesScannedText(const ReportSession& s) {
  const auto& r = s.reports;
  std::int64_t n = r.lngNumFilesScanned, d = r.intNumFoldersScanned;
  std::string t = FormatCount(n) + " file" + (n > 1 ? "s" : "") + " (in " + FormatCount(d) +
                  " folder" + (d > 1 ? "s" : "") + (n == 1 ? ") was" : ") were") + " scanned.\n";
  if (r.blnCountingStopped) t += "Counting was stopped and this list is incomplete.\n";
  if (!s.run.blnCountingMFP) t += "\n";
  return t;
}

std::string MakePhraseCountSummary(ReportSession& s, const PhraseCountFigures& f) {
  std::int64_t n = s.words.lngNumWordsIncluded;
  int a = f.intMinNumWordsInPhrase, b = f.intMaxNumWordsInPhrase, t = f.intMFPThresholdFrequency;
  std::string text;
  if (n == 0) {
    text = "There are no phrases";
    s.host.SetLabel("lblNumberOfWords", "");
  } else if (n == 1) {
    text = "There is one phrase";
  } else {
    text = "There are " + std::to_string(n) + " phrases";
  }
  text += a != b ? " with " + std::to_string(a) + " to " + std::to_string(b)
                 : " of " + std::to_string(a);
  text += b == 1 ? " word which" : " words which";
  text += n == 1 ? " occurs at least" : " occur at least";
  text += t == 1 ? " once" : t == 2 ? " twice" : " " + std::to_string(t) + " times";
  if (!s.run.blnThereAreWordsToIgnore)
    text += ".";
  else if (f.blnStripPhrases)
    text += " when words to ignore are excluded.";
  else if (f.blnExcludePhrasesContainingAWordToIgnore)
    text += "\nwhen phrases containing a word to ignore are excluded.";
  else if (f.blnExcludePhrasesConsistingOnlyOfWordsToIgnore)
    text += "\nwhen phrases consisting entirely of words to ignore are excluded.";
  else
    text += "\n(including phrases consisting entirely of words to ignore).";
  if (a != b && n >= 4 && s.reports.intNumWordsInLongestPhrase >= 2)
    text += "\nThe longest phrase has " + std::to_string(s.reports.intNumWordsInLongestPhrase) +
            " words.";
  text += "\n\n";
  if (n == 0) {
    if (f.blnExcludePhrasesContainingAWordToIgnore)
      text +=
          "You could try repeating the count without excluding phrases containing a word to "
          "ignore.";
    else if (f.blnExcludePhrasesConsistingOnlyOfWordsToIgnore)
      text +=
          "You could try repeating the count without excluding phrases consisting entirely of "
          "words to ignore.";
  }
  if (s.run.blnCountingMFP && n > 0)
    s.reports.strHowManyPhrases = text;
  else
    s.host.TxbSet(text);
  return text;
}

void ReportNothingFound(ReportSession& s) {
  std::string t = "No " + WordsPhrases(s.run) + " ";
  if (s.settings.chkIgnoreShortWords)
    t += "with at least " + std::to_string(s.settings.cboShortWordSize + 2) + " characters\n";
  t += "satisfying the specified conditions were found.";
  OutputToTxb(s, t);
}

}  // namespace talq
