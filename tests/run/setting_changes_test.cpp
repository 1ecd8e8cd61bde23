// The rules that follow a user's change of a settings-window field.
#include "run/setting_changes.h"

#include <gtest/gtest.h>

#include "host/scripted_host.h"
#include "run/session.h"
#include "settings/setting_fields.h"
#include "support/shown_messages.h"

namespace talq {
namespace {

class SettingChangesTest : public ::testing::Test {
 protected:
  void SetUp() override { s.settings.blnStartUpCompleted = true; }
  int& Field(const std::string& name) { return FindField(name)->intRef(s.settings); }
  // The user clicks check field `name`.
  bool Click(const std::string& name) {
    Field(name) = 1 - Field(name);
    return CheckFieldClicked(s, name);
  }
  ScriptedHost host;
  Session s{host};
};

TEST_F(SettingChangesTest, ChangeAfterACountAsksWhetherToReadAnew) {
  struct Case {
    const char* field;
    Source source;
    MsgAnswer answer;
    const char* noun;
  };
  const Case cases[] = {
      {"chkCaseSignificant", Source::optFolder, MsgAnswer::No, "files"},
      {"chkAllowWordsWithHyphens", Source::optInFile, MsgAnswer::Yes, "file"},
      {"chkDropFinalS", Source::optOnClipboard, MsgAnswer::No, "clipboard"},
      {"chkAllowCommentMarkers", Source::optFolder, MsgAnswer::Yes, "files"},
      {"chkAllowWordsWithBackslashes", Source::optInFile, MsgAnswer::No, "file"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.field);
    host.messages.clear();
    s.settings.source = c.source;
    s.settings.blnWordsGot = true;
    const int before = Field(c.field);
    host.answers.push_back(c.answer);
    EXPECT_EQ(Click(c.field), c.answer == MsgAnswer::Yes);
    EXPECT_EQ(test::Shown(host),
              test::Lines{std::string("TALQ: Changing this entails reading the ") + c.noun +
                          " anew.  Is this OK?"});
    EXPECT_EQ(host.messages[0].buttons, MsgButtons::YesNo);
    EXPECT_EQ(Field(c.field), c.answer == MsgAnswer::Yes ? 1 - before : before);
    EXPECT_EQ(s.settings.blnWordsGot, c.answer == MsgAnswer::No);
    EXPECT_FALSE(s.settings.blnRestoring);
  }
}

TEST_F(SettingChangesTest, NoQuestionWithoutKeptWordsOrWhileTheProgramSetsFields) {
  s.settings.blnWordsGot = true;
  EXPECT_TRUE(Click("chkIgnoreShortWords"));  // a filter, not what a word is
  EXPECT_TRUE(Click("chkOnly7bitASCII"));
  s.settings.blnRestoring = true;
  EXPECT_TRUE(Click("chkCaseSignificant"));
  s.settings.blnRestoring = false;
  s.settings.blnStartUpCompleted = false;
  EXPECT_TRUE(Click("chkCaseSignificant"));
  s.settings.blnStartUpCompleted = true;
  s.settings.blnWordsGot = false;
  EXPECT_TRUE(Click("chkCaseSignificant"));
  EXPECT_TRUE(host.messages.empty());
}

TEST_F(SettingChangesTest, CharacterFieldsCheckTheExtraEntries) {
  s.settings.txbWordsToIgnoreOrCount[0] = "well-known c:\\temp";
  Click("chkAllowWordsWithBackslashes");  // never reported for itself
  Click("chkAllowWordsWithBackslashes");
  EXPECT_TRUE(host.messages.empty());
  Click("chkAllowWordsWithHyphens");  // unchecked
  ASSERT_EQ(host.messages.size(), 1u);
  EXPECT_TRUE(test::Shown(host)[0].starts_with("Character not allowed: The character '-'"));

  host.messages.clear();
  Field("chkAllowWordsWithHyphens") = 0;
  EXPECT_TRUE(CheckFieldClicked(s, "chkAllowWordsWithColons", false));
  EXPECT_TRUE(host.messages.empty());
}

TEST_F(SettingChangesTest, AnyOfUnchecksItselfWithoutCharacters) {
  s.settings.blnWordsGot = true;
  s.settings.txbUserSpecifiedExtraChars = "   ";
  EXPECT_FALSE(Click("chkAllowWordsWithUserSpecifiedExtraChars"));
  EXPECT_EQ(s.settings.chkAllowWordsWithUserSpecifiedExtraChars, 0);
  EXPECT_EQ(s.settings.txbUserSpecifiedExtraChars, "");
  EXPECT_TRUE(host.messages.empty());

  s.settings.txbUserSpecifiedExtraChars = " # ";
  host.answers.push_back(MsgAnswer::Yes);
  EXPECT_TRUE(Click("chkAllowWordsWithUserSpecifiedExtraChars"));
  EXPECT_EQ(s.settings.chkAllowWordsWithUserSpecifiedExtraChars, 1);
  EXPECT_EQ(s.settings.txbUserSpecifiedExtraChars, "#");
}

TEST_F(SettingChangesTest, CheckAllAndClearAll) {
  s.settings.txbWordsToIgnoreOrCount[0] = "well-known";
  SetOrClearCheckboxes(s, false);
  for (const std::string& name : CheckAllFields()) EXPECT_EQ(Field(name), 0) << name;
  EXPECT_EQ(s.settings.chkUseLog10, 1);
  EXPECT_TRUE(host.messages.empty());  // the hyphen is no longer admitted, but not reported

  // With kept words the question comes once: Yes lets the rest through.
  s.settings.blnWordsGot = true;
  host.answers.push_back(MsgAnswer::Yes);
  SetOrClearCheckboxes(s, true);
  EXPECT_EQ(host.messages.size(), 1u);
  for (const std::string& name : CheckAllFields())
    EXPECT_EQ(Field(name), name == "chkAllowWordsWithUserSpecifiedExtraChars" ? 0 : 1) << name;
  EXPECT_EQ(s.settings.chkUseLog10, 1);

  s.settings.txbUserSpecifiedExtraChars = "#";
  SetOrClearCheckboxes(s, true);
  EXPECT_EQ(s.settings.chkAllowWordsWithUserSpecifiedExtraChars, 1);
}

TEST_F(SettingChangesTest, CountOnlyToolTipStatesTheCaseRule) {
  const std::string start =
      "Extra words and phrases to be counted may be added here.  A comma plus a space should "
      "be used to separate them (not just a comma).";
  EXPECT_EQ(CountOnlyBoxToolTip(s.settings), start + "  Case is not significant.");
  s.settings.chkCaseSignificant = 1;
  EXPECT_EQ(CountOnlyBoxToolTip(s.settings), start + "  Case is significant.");
}

}  // namespace
}  // namespace talq
