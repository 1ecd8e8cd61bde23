// Report layouts: the fourteen display formats in both word orders, their cells and title
// line, and the summary texts that stand above or instead of a listing. Lines go to the
// current sink (report_sinks.h).
#pragma once

#include <cstdint>
#include <string>

namespace talq {

struct ReportSession;

// Display formats needing per-file data (folder source only).
inline constexpr int kFirstFolderFormat = 11;

// How a line is laid out: for the text box, the file, or the file with commas.
enum class LineLayout { Textbox, FileWithTabs, FileWithCommas };

// Cells of entry i (1-based) of the word table; i = 0 gives the column title.
std::string RankColumn(ReportSession& s, std::int64_t i);
std::string FreqColumn(ReportSession& s, std::int64_t i);
std::string WordColumn(ReportSession& s, std::int64_t i);  // may widen intWordWidth for the title
std::string LogRankColumn(ReportSession& s, std::int64_t i);
std::string LogFreqColumn(ReportSession& s, std::int64_t i);
std::string FilesColumn(ReportSession& s, std::int64_t i);
std::string RecommendedFrequencyColumn(ReportSession& s, std::int64_t i);

// The file lines under entry i ("\n" after each), with or without per-file counts.
std::string ListFilesContainingWord(ReportSession& s, std::int64_t i, bool withCounts);

// Entry i (or the title for 0) in the selected format, lines separated by "\n".
std::string FormatLine(ReportSession& s, std::int64_t i, LineLayout layout);

// Computes the column widths, then emits the title line through DisplayNextLine(0).
void SetColumnWidths(ReportSession& s);

// Formats entry i (title for 0), applies the phrase filter, hands the line to the sink.
void DisplayNextLine(ReportSession& s, std::int64_t i);

// One listing pass to the current sink (s.reports.blnOutputFile), in table-chain order or
// alphabetically; with chkSortByNumberOfFiles in format #13 of a folder run, the chain's
// entries by number of files, larger first. Stops early after Pump() when blnStop is set.
void ListWordsByFrequency(ReportSession& s);
void ListWordsAlphabetically(ReportSession& s);

// Starts formatting the lines of the text box's pass on other threads, where the run has
// threads to spare and the box takes lines in blocks; the next pass takes them when it lists
// the same entries. For the time the output file takes to close. Call with blnOutputFile
// false and the column widths of the pass before.
void StartBoxListingAhead(ReportSession& s, bool alphabetical);

// "N files (in M folders) were scanned." with its following line breaks.
std::string MakeFilesScannedText(const ReportSession& s);

// Figures of an all-phrases count that its summary reports.
struct PhraseCountFigures {
  int intMinNumWordsInPhrase = 2;
  int intMaxNumWordsInPhrase = 2;
  int intMFPThresholdFrequency = 2;
  bool blnStripPhrases = false;
  bool blnExcludePhrasesContainingAWordToIgnore = false;
  bool blnExcludePhrasesConsistingOnlyOfWordsToIgnore = false;
};

// Builds the phrase-count summary; it becomes strHowManyPhrases when phrases were found in
// an all-phrases count, otherwise it replaces the text box. Returns the text.
std::string MakePhraseCountSummary(ReportSession& s, const PhraseCountFigures& f);

// "No words ... satisfying the specified conditions were found." into the text box.
void ReportNothingFound(ReportSession& s);

}  // namespace talq
