#include "settings/defaults.h"

#include <set>
#include <string>

#include <gtest/gtest.h>

#include "host/scripted_host.h"
#include "settings/nondefault_settings.h"
#include "settings/setting_fields.h"
#include "support/shown_messages.h"

namespace talq {
namespace {

using testing::NonDefaultSettings;

// Every field named in `kept` still holds its non-default value; every other field is back
// at its default.
void ExpectDefaultsExcept(const Settings& s, const std::set<std::string>& kept) {
  const Settings changed = NonDefaultSettings();
  for (const auto& f : SettingFields()) {
    if (kept.count(f.name))
      EXPECT_EQ(FieldValueText(s, f.name), FieldValueText(changed, f.name)) << f.name;
    else
      EXPECT_EQ(FieldValueText(s, f.name), f.defaultText) << f.name;
  }
}

const std::set<std::string> kMainWindowFields = {
    "txbFolder", "txbFile(0)", "txbFile(1)", "txbFileFilepathSpecifications(0)",
    "txbFileFilepathSpecifications(1)", "source", "chkIncludeSubfolders", "chkSuppressWords",
    "chkSuppressFilenames", "chkDisableOutputToFile", "cboWordOrder", "cboDisplayFormat",
    "chkDisplayRelativeFrequency", "chkSortByNumberOfFiles"};

TEST(SetDefaultValuesTest, ResetsSettingsWindowFieldsOnly) {
  Settings s = NonDefaultSettings();
  SetDefaultValues(s);

  std::set<std::string> kept = kMainWindowFields;
  kept.insert({"cboWordsFile(0)", "cboWordsFile(1)", "txbWordsToIgnoreOrCount(0)",
                "txbWordsToIgnoreOrCount(1)", "cboCommonWordsLanguages",
                "chkPatternMatchingInWordsToIgnoreFile",
                "chkPatternMatchingInCountOnlyWordsFile", "txbStateFile", "cboPhraseLength(0)",
                "cboPhraseLength(1)", "cboMinimumFrequency", "filterMode", "txbFilterWords",
                "tableLayout", "chkZeroCellsBlank", "chkWriteRelativeFrequency"});
  ExpectDefaultsExcept(s, kept);
  EXPECT_FALSE(s.blnWordsGot);
  EXPECT_FALSE(s.blnRestoring);
}

// Records the record's state at each question, to check what Initialize has done by then.
class WatchingHost : public ScriptedHost {
 public:
  explicit WatchingHost(const Settings& s) : s_(s) {}
  std::vector<Settings> seen;

 protected:
  void OnMessage(const Message&) override { seen.push_back(s_); }

 private:
  const Settings& s_;
};

TEST(InitializeTest, AsksPerHistoryAfterTheDefaultsAndClearsOnYes) {
  Settings s = NonDefaultSettings();
  WatchingHost host(s);
  host.answers = {MsgAnswer::Yes, MsgAnswer::No};
  Initialize(s, &host);

  EXPECT_EQ(test::Shown(host),
            (test::Lines{"TALQ: Do you wish to clear all words-to-ignore files?",
                         "TALQ: Do you wish to clear all count-only-words/phrases files?"}));
  for (const auto& m : host.messages) {
    EXPECT_EQ(m.buttons, MsgButtons::YesNo);
    EXPECT_EQ(m.icon, MsgIcon::Question);
  }
  // By the first question the defaults are in, the spreadsheet fields not yet.
  EXPECT_EQ(host.seen[0].chkSuppressWords, 1);
  EXPECT_EQ(host.seen[0].chkCaseSignificant, 0);
  EXPECT_NE(host.seen[0].tableLayout, TableLayout::optAlphabetical);
  EXPECT_EQ(host.seen[0].txbFilterWords, "xtxbFilterWords");

  EXPECT_TRUE(s.cboWordsFile[0].items.empty());
  EXPECT_EQ(s.cboWordsFile[0].index, -1);
  ExpectDefaultsExcept(s, {"cboWordsFile(1)", "chkWriteRelativeFrequency", "filterMode",
                           "cboCommonWordsLanguages", "chkPatternMatchingInWordsToIgnoreFile",
                           "chkPatternMatchingInCountOnlyWordsFile"});
  EXPECT_FALSE(s.blnWordsGot);
}

TEST(InitializeTest, AsksNothingForEmptyHistoriesOrWithoutHost) {
  Settings s;
  ScriptedHost host;
  Initialize(s, &host);
  EXPECT_TRUE(host.messages.empty());

  s = NonDefaultSettings();
  Initialize(s, nullptr);
  EXPECT_EQ(s.cboWordsFile[0].items.size(), 1u);
  EXPECT_EQ(s.cboWordsFile[1].items.size(), 1u);
  EXPECT_EQ(s.source, Source::optFolder);
}

TEST(CleanUpUserSpecifiedExtraCharsTest, Cases) {
  struct Case {
    const char* typed;
    const char* kept;
    const char* message;  // "" when no box
  };
  const Case cases[] = {
      {"a1-#", "#", ""},
      {"##", "#", ""},
      {"+", "", "The character + is not permitted in words."},
      {"$*;", "$", "The character * is not permitted in words."},
      {"  $ % ", "$%", ""},
      {"Zé\u00D7\u00F7", "\u00D7\u00F7", ""},        // Latin-1 letters go, × and ÷ stay
      {"\u0436\u20AC\u00A7", "\u20AC\u00A7", ""},    // a Cyrillic letter goes, € and § stay
      {"'0_@:/.\\,()&", "", ""},
      {"", "", ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.typed);
    for (int checked : {0, 1}) {
      Settings s;
      s.txbUserSpecifiedExtraChars = c.typed;
      s.chkAllowWordsWithUserSpecifiedExtraChars = checked;
      ScriptedHost host;
      CleanUpUserSpecifiedExtraChars(s, host);
      EXPECT_EQ(s.txbUserSpecifiedExtraChars, c.kept);
      EXPECT_EQ(s.chkAllowWordsWithUserSpecifiedExtraChars, *c.kept ? checked : 0);
      EXPECT_EQ(test::Shown(host), *c.message
                                       ? test::Lines{std::string("Invalid character: ") + c.message}
                                       : test::Lines{});
      for (const auto& m : host.messages) EXPECT_EQ(m.icon, MsgIcon::Information);
    }
  }
}

}  // namespace
}  // namespace talq
