// Report state: the figures a listing reads (set by the counting run and the folder scan),
// the column widths of the current pass and the text-box sink's bookkeeping.
#pragma once

#include <cstddef>
#include <cstdio>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <utility>
#include <vector>

namespace talq {

struct ListingAhead;

// Longest text the report text box is trusted to hold, in characters.
inline constexpr std::size_t lngTextboxLimit = 65000;
// Pending text box text is flushed once it holds this many characters.
inline constexpr std::size_t lngTextboxFlush = 2049;

struct ReportState {
  // Summary figures, set by the counting run after the table is filtered.
  std::int64_t lngNumOccurrences = 0;       // sum of the included entries' counts
  std::int64_t lngTotalNumOccurrences = 0;  // words met before list filtering
  std::int64_t lngNumWordsExcluded = 0;
  std::int64_t lngMaxNumFiles = 0;
  int intMaxWordLengthFound = 0;       // longest included entry, in characters
  int intNumWordsInLongestPhrase = 0;  // most words in one included entry
  int intMinWidth = 8;                 // the run sets it at its start

  // Set by the folder scan (kept current while it runs).
  std::int64_t lngNumFilesScanned = 0;
  std::int64_t intNumFoldersScanned = 0;

  bool blnCountingStopped = false;       // the listed table is from a stopped count
  bool blnSettingDisplayFormat = false;  // the format combo is being set by code
  bool blnFilteringPhrases = false;      // phrase filtering is active for this listing
  bool blnFilterWordFound = false;       // some phrase passed the filter in this pass
  std::string strHowManyPhrases;         // summary put above a phrase listing

  // The count chooser's "only specified" choice: the format #5 and #7 column then shows the
  // recorded frequencies the count-only list carries (in the list state).
  bool blnCountSpecifiedWordsPhrases = false;

  // Whether a phrase passes the phrase filter; unset: every phrase passes.
  std::function<bool(const std::string& phrase)> PhrasePassesFilter;

  // Enabled state of the display check boxes, for the window to show.
  bool blnRelativeFrequencyEnabled = true;
  bool blnSortByNumberOfFilesEnabled = false;

  // Column widths of the current pass (SetColumnWidths).
  int intRankWidth = 8;
  int intFreqWidth = 8;
  int intWordWidth = 8;

  // Sinks.
  bool blnOutputFile = false;         // the current pass writes to the file
  std::string strOutput;              // pending text for the text box
  bool blnTextboxFull = false;        // the text box took no more text
  bool blnOutputFileWritten = false;  // the output file was completely written
  std::size_t lngTxbLengthLast = 0;   // text box length after the last OutputToTxb
  std::size_t lngTxbLengthBefore = 0;  // ...and after the one before it
  std::FILE* intOutputFileNumber = nullptr;  // the open output file during the file pass
  int intOutputFileError = 0;                // errno of the first failed write, 0 if none
  bool blnEntryWritten = false;  // a format #9 entry is already in this pass's line
  // The next pass's lines, formatting on other threads meanwhile (StartBoxListingAhead).
  std::shared_ptr<ListingAhead> listingAhead;
};

}  // namespace talq
