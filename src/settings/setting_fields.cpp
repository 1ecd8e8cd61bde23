#include "settings/setting_fields.h"

#include <algorithm>
#include <charconv>

#include "settings/setting_choices.h"

namespace talq {

namespace {

// Adapters so that choices() has one signature for fixed and program-text lists.
std::vector<std::string> ShortWordSizeList() { return ShortWordSizeChoices(); }
std::vector<std::string> LongWordSizeList() { return LongWordSizeChoices(); }
std::vector<std::string> ThresholdFrequencyList() { return ThresholdFrequencyChoices(); }
std::vector<std::string> ExcessFrequencyList() { return ExcessFrequencyChoices(); }
std::vector<std::string> CommonWordsLanguagesList() {
  return CommonWordsLanguagesChoices();
}
std::vector<std::string> PhraseLengthList() { return PhraseLengthChoices(); }
std::vector<std::string> MinimumFrequencyList() { return MinimumFrequencyChoices(); }

std::vector<std::string> SourceOptions() { return {"optOnClipboard", "optInFile", "optFolder"}; }
std::vector<std::string> CommentMarkerOptions() { return {"None", "C", "XML", "HTML", "PHP"}; }
std::vector<std::string> WordsToIgnoreOptions() {
  return {"optAllowPhrasesAllWordsToIgnore", "optExcludePhrasesAllWordsToIgnore",
          "optRemoveWordsToIgnore", "optExcludePhrasesWithWordToIgnore"};
}
std::vector<std::string> FilterModeOptions() {
  return {"None", "optIncludeAllWords", "optIncludeAllWordsInSameOrder",
          "optIncludeAllWordsAsSubphrase"};
}
std::vector<std::string> TableLayoutOptions() {
  return {"optAlphabetical", "optByFrequency", "optBoth"};
}

FieldInfo Blank(std::string name, FieldType type) {
  FieldInfo f;
  f.name = std::move(name);
  f.type = type;
  return f;
}

FieldInfo Check(std::string name, int& (*ref)(Settings&), int def) {
  FieldInfo f = Blank(std::move(name), FieldType::Check);
  f.intRef = ref;
  f.defaultText = std::to_string(def);
  return f;
}

FieldInfo Choice(std::string name, int& (*ref)(Settings&), std::vector<std::string> (*list)(),
                 int def) {
  FieldInfo f = Blank(std::move(name), FieldType::Choice);
  f.intRef = ref;
  f.choices = list;
  f.defaultText = std::to_string(def);
  return f;
}

FieldInfo Text(std::string name, std::string& (*ref)(Settings&), bool persisted = true) {
  FieldInfo f = Blank(std::move(name), FieldType::Text);
  f.textRef = ref;
  f.persisted = persisted;
  return f;
}

FieldInfo History(std::string name, FileHistory& (*ref)(Settings&)) {
  FieldInfo f = Blank(std::move(name), FieldType::History);
  f.historyRef = ref;
  return f;
}

FieldInfo Option(std::string name, int (*get)(const Settings&), void (*set)(Settings&, int),
                 std::vector<std::string> (*names)(), std::string def, bool persisted = true) {
  FieldInfo f = Blank(std::move(name), FieldType::Option);
  f.getOption = get;
  f.setOption = set;
  f.choices = names;
  f.defaultText = std::move(def);
  f.persisted = persisted;
  return f;
}

// The name and the member come from one token, so the two can never disagree.
#define TALQ_CHECK(m, def) Check(#m, [](Settings& s) -> int& { return s.m; }, def)
#define TALQ_CHOICE(m, list, def) Choice(#m, [](Settings& s) -> int& { return s.m; }, list, def)
#define TALQ_CHOICE_AT(m, i, list, def) \
  Choice(#m "(" #i ")", [](Settings& s) -> int& { return s.m[i]; }, list, def)
#define TALQ_TEXT(m) Text(#m, [](Settings& s) -> std::string& { return s.m; })
#define TALQ_TEXT_AT(m, i) \
  Text(#m "(" #i ")", [](Settings& s) -> std::string& { return s.m[i]; })
#define TALQ_HISTORY_AT(m, i) \
  History(#m "(" #i ")", [](Settings& s) -> FileHistory& { return s.m[i]; })
#define TALQ_OPTION(m, E, names, def, ...)                                          \
  Option(                                                                           \
      #m, [](const Settings& s) { return static_cast<int>(s.m); },                  \
      [](Settings& s, int v) { s.m = static_cast<E>(v); }, names, def __VA_OPT__(, ) __VA_ARGS__)

std::vector<FieldInfo> BuildFields() {
  return {
      TALQ_TEXT(txbFolder),
      TALQ_TEXT_AT(txbWordsToIgnoreOrCount, 0),
      TALQ_TEXT_AT(txbFile, 0),
      TALQ_TEXT_AT(txbFileFilepathSpecifications, 0),
      TALQ_TEXT_AT(txbWordsToIgnoreOrCount, 1),
      TALQ_TEXT_AT(txbFile, 1),
      TALQ_TEXT_AT(txbFileFilepathSpecifications, 1),
      TALQ_CHOICE(cboShortWordSize, ShortWordSizeList, 1),
      TALQ_CHOICE(cboLongWordSize, LongWordSizeList, 3),
      TALQ_CHOICE(cboThresholdFrequency, ThresholdFrequencyList, 0),
      TALQ_CHECK(chkIgnoreShortWords, 1),
      TALQ_CHECK(chkIgnoreInfrequentWords, 0),
      TALQ_CHECK(chkIgnoreRepetitions, 1),
      TALQ_CHECK(chkIgnoreExcessivelyFrequentWords, 0),
      TALQ_CHECK(chkExtractTextFromDocx, 0),
      TALQ_CHECK(chkIgnoreNoLetter, 1),
      TALQ_CHECK(chkCaseSignificant, 0),
      TALQ_CHECK(chkDropFinalS, 1),
      TALQ_CHECK(chkAllowWordsWithHyphens, 1),
      TALQ_CHECK(chkAllowWordsWithApostrophes, 0),
      TALQ_CHECK(chkAllowWordsWithUnderscores, 0),
      TALQ_CHECK(chkAllowWordsWithColons, 0),
      TALQ_CHECK(chkAllowWordsWithBackslashes, 0),
      TALQ_CHECK(chkAllowWordsWithForwardslashes, 0),
      TALQ_CHECK(chkAllowWordsWithParentheses, 0),
      TALQ_CHECK(chkAllowWordsWithPeriods, 0),
      TALQ_CHECK(chkAllowWordsWithCommas, 0),
      TALQ_CHECK(chkAllowWordsWithAtSigns, 0),
      TALQ_CHECK(chkAllowWordsWithNumerals, 0),
      TALQ_CHECK(chkAllowWordsWithAmpersands, 0),
      TALQ_CHECK(chkAllowWordsWithUserSpecifiedExtraChars, 0),
      TALQ_CHECK(chkOutputWithCommas, 0),
      TALQ_CHECK(chkUseLog10, 1),
      TALQ_CHECK(chkAllowCommentMarkers, 0),
      TALQ_CHECK(chkWarnOnOverwrite, 0),
      TALQ_CHECK(chkSaveStateOnQuit, 0),
      TALQ_CHECK(chkSuppressWords, 1),
      TALQ_CHECK(chkDisableOutputToFile, 0),
      TALQ_CHECK(chkIncludeSubfolders, 0),
      TALQ_CHOICE(cboWordOrder, WordOrderChoices, 0),
      TALQ_CHOICE(cboDisplayFormat, DisplayFormatChoices, 0),
      TALQ_CHECK(chkOnly7bitASCII, 0),
      TALQ_HISTORY_AT(cboWordsFile, 0),
      TALQ_HISTORY_AT(cboWordsFile, 1),
      TALQ_OPTION(source, Source, SourceOptions, "optFolder"),
      TALQ_CHECK(chkSuppressFilenames, 0),
      TALQ_TEXT(txbUserSpecifiedExtraChars),
      TALQ_CHECK(chkTerminatePhraseAtEndOfLine, 0),
      TALQ_CHECK(chkTerminatePhraseAtPeriod, 1),
      TALQ_CHECK(chkTerminatePhraseAtDoubleQuote, 1),
      TALQ_CHECK(chkTerminatePhraseAtTab, 1),
      TALQ_CHECK(chkTerminatePhraseAtComma, 0),
      TALQ_CHECK(chkZeroCellsBlank, 0),
      TALQ_OPTION(tableLayout, TableLayout, TableLayoutOptions, "optAlphabetical"),
      TALQ_CHOICE_AT(cboPhraseLength, 0, PhraseLengthList, 2),
      TALQ_CHOICE_AT(cboPhraseLength, 1, PhraseLengthList, 5),
      TALQ_CHOICE(cboMinimumFrequency, MinimumFrequencyList, 1),
      TALQ_CHOICE(cboExcessFrequency, ExcessFrequencyList, 10),
      TALQ_CHECK(chkPatternMatchingInWordsToIgnoreFile, 0),
      TALQ_CHECK(chkPatternMatchingInCountOnlyWordsFile, 0),
      TALQ_CHECK(chkDisplayRelativeFrequency, 0),
      TALQ_CHECK(chkWriteRelativeFrequency, 0),
      TALQ_CHECK(chkSortByNumberOfFiles, 0),
      TALQ_CHOICE(cboCommonWordsLanguages, CommonWordsLanguagesList, 0),
      TALQ_TEXT(txbFilterWords),
      TALQ_OPTION(filterMode, FilterMode, FilterModeOptions, "None"),
      TALQ_OPTION(wordsToIgnoreHandling, WordsToIgnoreHandling, WordsToIgnoreOptions,
                  "optExcludePhrasesAllWordsToIgnore"),
      // Not persisted.
      Text("txbStateFile", [](Settings& s) -> std::string& { return s.txbStateFile; }, false),
      TALQ_OPTION(commentMarkerKind, CommentMarkerKind, CommentMarkerOptions, "None", false),
  };
}

#undef TALQ_CHECK
#undef TALQ_CHOICE
#undef TALQ_CHOICE_AT
#undef TALQ_TEXT
#undef TALQ_TEXT_AT
#undef TALQ_HISTORY_AT
#undef TALQ_OPTION

// The table's references take a mutable record; reading through them changes nothing.
Settings& Unconst(const Settings& s) { return const_cast<Settings&>(s); }

bool ParseInt(std::string_view text, int& value) {
  const char* end = text.data() + text.size();
  auto [p, ec] = std::from_chars(text.data(), end, value);
  return !text.empty() && ec == std::errc() && p == end;
}

std::string Quoted(std::string_view value) {
  std::string out;
  out.reserve(value.size() + 2);
  out += '"';
  out += value;
  out += '"';
  return out;
}

std::string Joined(const std::vector<std::string>& names) {
  std::string out;
  for (const auto& n : names) out += (out.empty() ? "" : ", ") + n;
  return out;
}

}  // namespace

const std::vector<FieldInfo>& SettingFields() {
  static const std::vector<FieldInfo> fields = BuildFields();
  return fields;
}

const FieldInfo* FindField(std::string_view name) {
  for (const auto& f : SettingFields())
    if (f.name == name) return &f;
  return nullptr;
}

bool SetFieldFromText(Settings& s, std::string_view name, std::string_view value,
                      std::string& error) {
  const FieldInfo* f = FindField(name);
  if (!f) {
    error = "Unknown setting " + Quoted(name) + ".";
    return false;
  }
  const std::string fieldName(name);
  switch (f->type) {
    case FieldType::Check: {
      int v = 0;
      if (!ParseInt(value, v) || (v != 0 && v != 1)) {
        error = fieldName + " takes 0 or 1, not " + Quoted(value) + ".";
        return false;
      }
      f->intRef(s) = v;
      return true;
    }
    case FieldType::Choice: {
      const int count = static_cast<int>(f->choices().size());
      int v = 0;
      if (!ParseInt(value, v) || v < 0 || v >= count) {
        error = fieldName + " takes an index from 0 to " + std::to_string(count - 1) +
                ", not " + Quoted(value) + ".";
        return false;
      }
      f->intRef(s) = v;
      return true;
    }
    case FieldType::Text:
      f->textRef(s) = std::string(value);
      return true;
    case FieldType::Option: {
      const auto names = f->choices();
      const auto it = std::find(names.begin(), names.end(), value);
      if (it == names.end()) {
        error = fieldName + " takes one of " + Joined(names) + ", not " + Quoted(value) + ".";
        return false;
      }
      f->setOption(s, static_cast<int>(it - names.begin()));
      return true;
    }
    case FieldType::History: {
      FileHistory& h = f->historyRef(s);
      if (value.empty()) {
        h.index = -1;
        return true;
      }
      const auto it = std::find(h.items.begin(), h.items.end(), value);
      if (it != h.items.end()) {
        h.index = static_cast<int>(it - h.items.begin());
        return true;
      }
      if (static_cast<int>(h.items.size()) >= kMaxHistoryFiles) {
        error = fieldName + " already holds " + std::to_string(kMaxHistoryFiles) + " files.";
        return false;
      }
      h.items.emplace_back(value);
      h.index = static_cast<int>(h.items.size()) - 1;
      return true;
    }
  }
  return false;
}

std::string FieldValueText(const Settings& s, std::string_view name) {
  const FieldInfo* f = FindField(name);
  if (!f) return "";
  Settings& m = Unconst(s);
  switch (f->type) {
    case FieldType::Check:
    case FieldType::Choice:
      return std::to_string(f->intRef(m));
    case FieldType::Text:
      return f->textRef(m);
    case FieldType::Option: {
      const auto names = f->choices();
      const int v = f->getOption(s);
      return v >= 0 && v < static_cast<int>(names.size()) ? names[static_cast<std::size_t>(v)]
                                                          : "";
    }
    case FieldType::History:
      return f->historyRef(m).Selected();
  }
  return "";
}

}  // namespace talq
