// The settings record: every user setting under the name of the control that edits it,
// its choice lists and defaults. One instance per program; readers read it when they need it.
#pragma once

#include <string>
#include <vector>

namespace talq {

// Option groups. Enumerator names are the option buttons' names.
enum class Source { optOnClipboard, optInFile, optFolder };
enum class CommentMarkerKind { None, C, XML, HTML, PHP };
enum class WordsToIgnoreHandling {
  optAllowPhrasesAllWordsToIgnore,
  optExcludePhrasesAllWordsToIgnore,
  optRemoveWordsToIgnore,
  optExcludePhrasesWithWordToIgnore,
};
enum class FilterMode {
  None,  // nothing selected yet
  optIncludeAllWords,
  optIncludeAllWordsInSameOrder,
  optIncludeAllWordsAsSubphrase,
};
enum class TableLayout { optAlphabetical, optByFrequency, optBoth };

// A combo box holding file paths (the list-file histories): items plus the selected index.
struct FileHistory {
  std::vector<std::string> items;
  int index = -1;  // -1: nothing selected
  // The selected path, or "" when nothing is selected.
  const std::string& Selected() const;
};

struct Settings {
  // Word definition
  int chkAllowWordsWithHyphens = 1;
  int chkAllowWordsWithApostrophes = 0;
  int chkAllowWordsWithUnderscores = 0;
  int chkAllowWordsWithColons = 0;
  int chkAllowWordsWithBackslashes = 0;
  int chkAllowWordsWithForwardslashes = 0;
  int chkAllowWordsWithParentheses = 0;
  int chkAllowWordsWithAmpersands = 0;
  int chkAllowWordsWithPeriods = 0;
  int chkAllowWordsWithCommas = 0;
  int chkAllowWordsWithAtSigns = 0;
  int chkAllowWordsWithNumerals = 0;
  int chkAllowWordsWithUserSpecifiedExtraChars = 0;
  std::string txbUserSpecifiedExtraChars;
  int chkCaseSignificant = 0;
  int chkDropFinalS = 1;
  int chkOnly7bitASCII = 0;

  // Word filters
  int chkIgnoreShortWords = 1;
  int cboShortWordSize = 1;  // "3"
  int cboLongWordSize = 3;   // "50"
  int chkIgnoreInfrequentWords = 0;
  int cboThresholdFrequency = 0;  // "2"
  int chkIgnoreExcessivelyFrequentWords = 0;
  int cboExcessFrequency = 10;  // "20"
  int chkIgnoreNoLetter = 1;
  int chkIgnoreRepetitions = 1;

  // Word lists: index 0 words to ignore, index 1 count-only
  FileHistory cboWordsFile[2];
  std::string txbWordsToIgnoreOrCount[2];
  int cboCommonWordsLanguages = 0;  // 7 = "[No language selected]"
  int chkPatternMatchingInWordsToIgnoreFile = 0;
  int chkPatternMatchingInCountOnlyWordsFile = 0;

  // Phrase termination
  int chkTerminatePhraseAtEndOfLine = 0;
  int chkTerminatePhraseAtPeriod = 1;
  int chkTerminatePhraseAtDoubleQuote = 1;
  int chkTerminatePhraseAtTab = 1;
  int chkTerminatePhraseAtComma = 0;

  // Input and output options
  int chkAllowCommentMarkers = 0;
  CommentMarkerKind commentMarkerKind = CommentMarkerKind::None;
  int chkExtractTextFromDocx = 0;
  int chkOutputWithCommas = 0;
  int chkWarnOnOverwrite = 0;
  int chkSaveStateOnQuit = 0;
  int chkUseLog10 = 1;
  std::string txbStateFile;

  // Main window
  Source source = Source::optFolder;
  std::string txbFolder;
  std::string txbFile[2];  // 0 input file, 1 output file
  std::string txbFileFilepathSpecifications[2];
  int chkIncludeSubfolders = 0;
  int chkSuppressWords = 1;
  int chkSuppressFilenames = 0;
  int chkDisableOutputToFile = 0;
  int cboWordOrder = 0;
  int cboDisplayFormat = 0;
  int chkDisplayRelativeFrequency = 0;
  int chkSortByNumberOfFiles = 0;

  // Phrase window
  int cboPhraseLength[2] = {2, 5};  // "3", "6"
  int cboMinimumFrequency = 1;      // "2"
  WordsToIgnoreHandling wordsToIgnoreHandling =
      WordsToIgnoreHandling::optExcludePhrasesAllWordsToIgnore;
  FilterMode filterMode = FilterMode::None;
  std::string txbFilterWords;

  // Spreadsheet table
  TableLayout tableLayout = TableLayout::optAlphabetical;
  int chkZeroCellsBlank = 0;
  int chkWriteRelativeFrequency = 0;

  // Run-time flags kept beside the record; never persisted.
  bool blnWordsGot = false;
  bool blnStartUpCompleted = false;
  bool blnRestoring = false;

  // Numeric values of the choice fields (the number the selected text shows).
  int ShortWordSize() const;
  int LongWordSize() const;
  int ThresholdFrequency() const;
  int ExcessFrequency() const;
  int PhraseLength(int i) const;
  int MinimumFrequency() const;
};

// Every non-letter character that a check field can admit.
inline constexpr const char* strAllPossibleExtraChars = "'0123456789-_@:/.\\,()&";
// Characters never admitted in a word.
inline constexpr const char* strProhibitedChars = "+;<>*?\"~^";

}  // namespace talq
