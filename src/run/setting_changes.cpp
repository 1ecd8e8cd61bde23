#include "run/setting_changes.h"

#include <algorithm>
#include <array>

#include "lists/word_lists.h"
#include "run/session.h"
#include "settings/defaults.h"
#include "settings/setting_fields.h"

namespace talq {

namespace {

constexpr std::string_view kUserExtraChars = "chkAllowWordsWithUserSpecifiedExtraChars";

// The fields that decide which characters a word may hold. Backslashes are left out of the
// extra-character check: no extra entry can be refused for one.
constexpr std::array<std::string_view, 13> kCharacterFields = {
    "chkAllowWordsWithHyphens",     "chkAllowWordsWithApostrophes",
    "chkAllowWordsWithUnderscores", "chkAllowWordsWithColons",
    "chkAllowWordsWithBackslashes", "chkAllowWordsWithForwardslashes",
    "chkAllowWordsWithParentheses", "chkAllowWordsWithAmpersands",
    "chkAllowWordsWithPeriods",     "chkAllowWordsWithCommas",
    "chkAllowWordsWithAtSigns",     "chkAllowWordsWithNumerals",
    kUserExtraChars};

bool IsCharacterField(std::string_view field) {
  return std::find(kCharacterFields.begin(), kCharacterFields.end(), field) !=
         kCharacterFields.end();
}

int& CheckValue(Session& session, std::string_view field) {
  return FindField(field)->intRef(session.settings);
}

std::string TrimSpaces(const std::string& text) {
  const auto first = text.find_first_not_of(' ');
  if (first == std::string::npos) return {};
  return text.substr(first, text.find_last_not_of(' ') - first + 1);
}

const char* KeptTextNoun(Source source) {
  switch (source) {
    case Source::optInFile:
      return "file";
    case Source::optFolder:
      return "files";
    case Source::optOnClipboard:
      break;
  }
  return "clipboard";
}

}  // namespace

bool InvalidatesKeptText(std::string_view field) {
  return IsCharacterField(field) || field == "chkCaseSignificant" ||
         field == "chkAllowCommentMarkers" || field == "chkDropFinalS";
}

bool CheckFieldClicked(Session& session, std::string_view field, bool checkExtraChars) {
  Settings& s = session.settings;
  if (!s.blnStartUpCompleted || s.blnRestoring) return true;
  int& value = CheckValue(session, field);
  if (field == kUserExtraChars && value == 1) {
    s.txbUserSpecifiedExtraChars = TrimSpaces(s.txbUserSpecifiedExtraChars);
    // Nothing to admit: the box stays as it was, so nothing kept is stale.
    if (s.txbUserSpecifiedExtraChars.empty()) {
      value = 0;
      return false;
    }
  }
  if (!InvalidatesKeptText(field)) return true;

  bool kept = true;
  if (s.blnWordsGot) {
    const std::string question = std::string("Changing this entails reading the ") +
                                 KeptTextNoun(s.source) + " anew.  Is this OK?";
    if (session.host.MsgBox(question, kProgramTitle, MsgIcon::Question, MsgButtons::YesNo,
                            MsgAnswer::Yes) == MsgAnswer::Yes) {
      s.blnWordsGot = false;
    } else {
      s.blnRestoring = true;
      value = value == 1 ? 0 : 1;
      s.blnRestoring = false;
      kept = false;
    }
  }
  if (checkExtraChars && IsCharacterField(field) && field != "chkAllowWordsWithBackslashes")
    CheckAllowedExtraChars(session);
  return kept;
}

const std::vector<std::string>& CheckAllFields() {
  static const std::vector<std::string> fields = {
      "chkAllowWordsWithHyphens",
      "chkAllowWordsWithApostrophes",
      "chkAllowWordsWithUnderscores",
      "chkAllowWordsWithColons",
      "chkAllowWordsWithBackslashes",
      "chkAllowWordsWithForwardslashes",
      "chkAllowWordsWithParentheses",
      "chkAllowWordsWithAmpersands",
      "chkAllowWordsWithPeriods",
      "chkAllowWordsWithCommas",
      "chkAllowWordsWithAtSigns",
      "chkAllowWordsWithNumerals",
      std::string(kUserExtraChars),
      "chkCaseSignificant",
      "chkDropFinalS",
      "chkIgnoreShortWords",
      "chkIgnoreInfrequentWords",
      "chkIgnoreExcessivelyFrequentWords",
      "chkIgnoreRepetitions",
      "chkIgnoreNoLetter",
      "chkExtractTextFromDocx",
      "chkOutputWithCommas",
      "chkAllowCommentMarkers",
      "chkWarnOnOverwrite",
      "chkSaveStateOnQuit",
      "chkTerminatePhraseAtEndOfLine",
      "chkTerminatePhraseAtPeriod",
      "chkTerminatePhraseAtDoubleQuote",
      "chkTerminatePhraseAtTab",
      "chkTerminatePhraseAtComma",
      "chkOnly7bitASCII",
      "chkPatternMatchingInWordsToIgnoreFile",
      "chkPatternMatchingInCountOnlyWordsFile",
  };
  return fields;
}

void SetOrClearCheckboxes(Session& session, bool set) {
  Settings& s = session.settings;
  for (const std::string& field : CheckAllFields()) {
    int target = set ? 1 : 0;
    if (field == kUserExtraChars && s.txbUserSpecifiedExtraChars.empty()) target = 0;
    int& value = CheckValue(session, field);
    if (value == target) continue;
    value = target;
    CheckFieldClicked(session, field, false);
  }
  s.chkUseLog10 = 1;
}

std::string CountOnlyBoxToolTip(const Settings& s) {
  return std::string("Extra words and phrases to be counted ") +
         "may be added here.  A comma plus a space should be used to separate them (not just "
         "a comma)." +
         (s.chkCaseSignificant == 1 ? "  Case is significant." : "  Case is not significant.");
}

}  // namespace talq
