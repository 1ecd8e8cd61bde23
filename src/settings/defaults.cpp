#include "settings/defaults.h"

#include <string>

#include "util/text_case.h"
#include "util/utf8.h"

namespace talq {

void SetDefaultValues(Settings& s) {
  s.blnRestoring = true;
  s.blnWordsGot = false;
  s.txbUserSpecifiedExtraChars.clear();

  s.chkAllowWordsWithHyphens = 1;
  s.chkAllowWordsWithApostrophes = 0;
  s.chkAllowWordsWithUnderscores = 0;
  s.chkAllowWordsWithColons = 0;
  s.chkAllowWordsWithBackslashes = 0;
  s.chkAllowWordsWithForwardslashes = 0;
  s.chkAllowWordsWithParentheses = 0;
  s.chkAllowWordsWithAmpersands = 0;
  s.chkAllowWordsWithPeriods = 0;
  s.chkAllowWordsWithCommas = 0;
  s.chkAllowWordsWithAtSigns = 0;
  s.chkAllowWordsWithNumerals = 0;
  s.chkAllowWordsWithUserSpecifiedExtraChars = 0;
  s.chkCaseSignificant = 0;
  s.chkDropFinalS = 1;
  s.chkOnly7bitASCII = 0;

  s.chkIgnoreShortWords = 1;
  s.chkIgnoreInfrequentWords = 0;
  s.chkIgnoreExcessivelyFrequentWords = 0;
  s.chkIgnoreNoLetter = 1;
  s.chkIgnoreRepetitions = 1;

  s.chkTerminatePhraseAtEndOfLine = 0;
  s.chkTerminatePhraseAtPeriod = 1;
  s.chkTerminatePhraseAtDoubleQuote = 1;
  s.chkTerminatePhraseAtTab = 1;
  s.chkTerminatePhraseAtComma = 0;

  s.chkAllowCommentMarkers = 0;
  s.chkExtractTextFromDocx = 0;
  s.chkOutputWithCommas = 0;
  s.chkWarnOnOverwrite = 0;
  s.chkSaveStateOnQuit = 0;
  s.chkUseLog10 = 1;
  s.commentMarkerKind = CommentMarkerKind::None;

  s.cboShortWordSize = 1;
  s.cboLongWordSize = 3;
  s.cboThresholdFrequency = 0;
  s.cboExcessFrequency = 10;

  s.wordsToIgnoreHandling = WordsToIgnoreHandling::optExcludePhrasesAllWordsToIgnore;
  s.blnRestoring = false;
}

void Initialize(Settings& s, Host* host) {
  s.cboPhraseLength[0] = 2;
  s.cboPhraseLength[1] = 5;
  s.cboMinimumFrequency = 1;
  s.chkDisplayRelativeFrequency = 0;
  s.chkSortByNumberOfFiles = 0;
  s.source = Source::optFolder;
  s.txbFolder.clear();
  // Include-subfolders is unavailable without a folder.
  s.chkIncludeSubfolders = 0;
  s.txbStateFile.clear();
  for (int i = 0; i < 2; ++i) {
    s.txbFile[i].clear();
    s.txbFileFilepathSpecifications[i].clear();
    s.txbWordsToIgnoreOrCount[i].clear();
  }
  s.chkDisableOutputToFile = 0;
  SetDefaultValues(s);
  s.chkSuppressWords = 1;
  s.chkSuppressFilenames = 0;
  s.cboWordOrder = 0;
  s.cboDisplayFormat = 0;

  static const char* const kinds[2] = {"words-to-ignore", "count-only-words/phrases"};
  for (int i = 0; i < 2; ++i) {
    FileHistory& history = s.cboWordsFile[i];
    if (host == nullptr || history.items.empty()) continue;
    const std::string text = std::string("Do you wish to clear all ") + kinds[i] + " files?";
    if (host->MsgBox(text, kProgramTitle, MsgIcon::Question, MsgButtons::YesNo,
                     MsgAnswer::Yes) == MsgAnswer::Yes) {
      history.items.clear();
      history.index = -1;
    }
  }

  s.tableLayout = TableLayout::optAlphabetical;
  s.chkZeroCellsBlank = 0;
  s.txbFilterWords.clear();
}

namespace {

// A letter as word extraction sees it: ASCII letters, the Latin-1 letters, and beyond
// U+00FF whatever Unicode calls a letter.
bool IsLetter(char32_t c) {
  if ((c >= U'A' && c <= U'Z') || (c >= U'a' && c <= U'z')) return true;
  if (c < 0xC0) return false;
  if (c <= 0xFF) return c != 0xD7 && c != 0xF7;
  return IsUnicodeLetter(c);
}

bool Contains(std::u32string_view set, char32_t c) {
  return set.find(c) != std::u32string_view::npos;
}


}  // namespace

void CleanUpUserSpecifiedExtraChars(Settings& s, Host& host) {
  const std::u32string admitted = DecodeUtf8(strAllPossibleExtraChars);
  const std::u32string prohibited = DecodeUtf8(strProhibitedChars);
  const std::u32string text = DecodeUtf8(s.txbUserSpecifiedExtraChars);

  for (char32_t c : text) {
    if (Contains(prohibited, c)) {
      std::string shown;
      AppendUtf8(shown, c);
      host.MsgBox("The character " + shown + " is not permitted in words.",
                  "Invalid character", MsgIcon::Information);
      break;
    }
  }

  // A space inside the box would join words across it, so spaces go along with the
  // surrounding ones that trimming removes.
  std::u32string unique;
  for (char32_t c : text)
    if (c != U' ' && !IsLetter(c) && !Contains(admitted, c) && !Contains(prohibited, c) &&
        !Contains(unique, c))
      unique += c;

  s.txbUserSpecifiedExtraChars = EncodeUtf8(unique);
  if (unique.empty() && s.chkAllowWordsWithUserSpecifiedExtraChars == 1)
    s.chkAllowWordsWithUserSpecifiedExtraChars = 0;
}

}  // namespace talq
