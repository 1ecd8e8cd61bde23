// Restoring and saving with the questions, messages and field side effects around the file.
#include "run/saved_state.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "host/scripted_host.h"
#include "run/session.h"
#include "settings/defaults.h"
#include "settings/setting_choices.h"
#include "settings/state_file.h"
#include "support/shown_messages.h"
#include "support/temp_files.h"
#include "util/program_texts.h"

namespace talq {
namespace {

namespace fs = std::filesystem;

class SavedStateTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() { LoadProgramTexts(DataDir() + "/talq.dat"); }

  void SetUp() override {
    FillSettingChoices(s.settings);
    Initialize(s.settings, nullptr);
  }

  // The record of `record` with line `line` (1-based) replaced, cut after `keep` lines.
  std::string Record(const Settings& record, int line = 0, const std::string& value = "",
                     int keep = 1000) {
    std::vector<std::string> lines = test::SplitLines(StateRecordText(record), "\r\n");
    if (line > 0) lines[line - 1] = value;
    std::string out;
    for (int n = 0; n < keep && n < int(lines.size()); ++n) out += lines[n] + "\r\n";
    return out;
  }
  ScriptedHost host;
  Session s{host};
  test::TempDir temp_;
  test::ScopedEnv home_{"XDG_CONFIG_HOME", temp_ / "cfg"};
};

TEST_F(SavedStateTest, CutRecordAsksAndKeepsWhatWasRead) {
  Settings saved;
  saved.chkAllowWordsWithPeriods = 1;  // line 30
  saved.chkAllowWordsWithCommas = 1;   // line 31, cut off
  const std::string path = temp_.Write("cut.talq", Record(saved, 0, "", 30));
  s.settings.chkOnly7bitASCII = 1;  // a later field keeps what it had

  host.answers.push_back(MsgAnswer::No);
  EXPECT_EQ(RestoreSavedState(s, path), kRestored);
  EXPECT_EQ(
      test::Shown(host),
      test::Lines{"Error restoring saved state: Input past end of file.  Set default values?"});
  EXPECT_EQ(s.settings.chkAllowWordsWithPeriods, 1);
  EXPECT_EQ(s.settings.chkAllowWordsWithCommas, 0);
  EXPECT_EQ(s.settings.chkOnly7bitASCII, 1);

  // Yes applies the defaults and says how to fix the file.
  host.answers.push_back(MsgAnswer::Yes);
  EXPECT_EQ(RestoreSavedState(s, path), kRestored);
  EXPECT_EQ(
      test::Shown(host).back(),
      "Input past end of file: Saving the settings should fix the 'Input past end of file' error.");
  EXPECT_EQ(s.settings.chkOnly7bitASCII, 0);

  // Cut inside the spreadsheet-table fields: those two go back to their initial values.
  saved.chkZeroCellsBlank = 1;
  saved.tableLayout = TableLayout::optBoth;
  host.messages.clear();
  EXPECT_EQ(RestoreSavedState(s, temp_.Write("cut2.talq", Record(saved, 0, "", 66))), kRestored);
  EXPECT_EQ(host.messages[0].answer, MsgAnswer::No);
  EXPECT_EQ(s.settings.chkZeroCellsBlank, 0);
  EXPECT_EQ(s.settings.tableLayout, TableLayout::optAlphabetical);
}

TEST_F(SavedStateTest, LoadAndSaveButtons) {
  // Loading a bad file applies the initial settings and labels the failure.
  s.settings.txbFolder = "/before";
  host.chosenPaths.push_back(temp_.Write("bad.talq", Record(Settings(), 46, "20")));
  EXPECT_FALSE(LoadSettingsFromFile(s));
  EXPECT_EQ(host.labels["lblState"], "Error loading from");
  EXPECT_EQ(s.settings.txbFolder, "");
  EXPECT_EQ(s.settings.txbStateFile, temp_ / "bad.talq");
  EXPECT_FALSE(s.settings.blnRestoring);

  // A folder the program may not write to.
  host.messages.clear();
  host.chosenPaths.push_back(temp_ / "no/such/folder/x.talq");
  EXPECT_FALSE(SaveSettingsToFile(s));
  EXPECT_EQ(
      test::Shown(host),
      test::Lines{"Save settngs: Error when attempting to save state: No such file or directory"});
  EXPECT_EQ(host.labels["lblState"], "Error saving to");

  // The "Save settings" buttons write the state file, creating its folder.
  EXPECT_TRUE(cmdSaveState_Click(s));
  EXPECT_TRUE(fs::exists(temp_ / "cfg/talq/talq.usr"));
}

TEST_F(SavedStateTest, ListFilesOfARestoredRecord) {
  const std::string list = temp_.Write("ignore.txt", "alpha\nbeta\n");
  Settings saved;
  saved.cboWordsFile[0] = {{list}, 0};
  const std::string path = temp_.Write("lists.talq", Record(saved));

  // A settings file restores the history and selection but loads nothing.
  EXPECT_EQ(LoadSettingsFile(s, path), kRestored);
  EXPECT_TRUE(host.messages.empty());
  EXPECT_EQ(s.settings.cboWordsFile[0].Selected(), list);
  EXPECT_EQ(s.lists.lngNumWordsToIgnore, 0);

  // The state file offers it: Yes loads it...
  host.answers.push_back(MsgAnswer::Yes);
  EXPECT_EQ(RestoreSavedState(s, path), kRestored);
  EXPECT_EQ(
      test::Shown(host),
      test::Lines{"Load file?: Do you wish to load the words-to-ignore file\n" + list + " ?"});
  EXPECT_EQ(s.lists.lngNumWordsToIgnore, 2);

  // ...No deselects it and selects no language.
  host.answers.push_back(MsgAnswer::No);
  EXPECT_EQ(RestoreSavedState(s, path), kRestored);
  EXPECT_EQ(s.settings.cboWordsFile[0].index, -1);
  EXPECT_EQ(s.settings.cboCommonWordsLanguages, 7);

  // A file that does not load makes the status 2.
  fs::remove(list);
  s.settings.blnStartUpCompleted = true;
  host.answers.push_back(MsgAnswer::Yes);
  EXPECT_EQ(RestoreSavedState(s, path), kRestoreListLoadFailed);
}

TEST_F(SavedStateTest, StartUp) {
  temp_.Write("cfg/talq/talq.usr", Record(Settings(), 13, "9"));  // cboLongWordSize: 0..8
  s.settings.chkSaveStateOnQuit = 1;
  host.answers = {MsgAnswer::No, MsgAnswer::No};  // keep the file; no common words
  RestoreStateAtStartUp(s);
  ASSERT_EQ(host.messages.size(), 2u);
  EXPECT_EQ(host.messages[0].text,
            ProgramText(38) + ": Invalid data\n\n" + ProgramText(39) + ProgramText(40));
  EXPECT_EQ(host.messages[1].text, ProgramText(41) + ProgramText(42));
  EXPECT_EQ(s.settings.chkSaveStateOnQuit, 0);
  EXPECT_EQ(s.settings.cboCommonWordsLanguages, 7);
}

// Former faults: each of these failed before it was mended.
TEST_F(SavedStateTest, FormerFaults) {
  // The extra count-only box was parsed (and lower-cased for good) before the record's
  // case rule had been read.
  Settings saved;
  saved.chkCaseSignificant = 1;
  saved.txbWordsToIgnoreOrCount[1] = "New York, Paris";
  s.settings.blnStartUpCompleted = true;
  EXPECT_EQ(LoadSettingsFile(s, temp_.Write("case.talq", Record(saved))), kRestored);
  EXPECT_EQ(s.settings.txbWordsToIgnoreOrCount[1], "New York, Paris");
  EXPECT_EQ(s.lists.intNumExtraCountOnlyWords, 2);
  EXPECT_TRUE(host.messages.empty());

  // Words kept from the last count outlived a restore that changed what a word is.
  s.settings.blnWordsGot = true;
  LoadSettingsFile(s, temp_ / "case.talq");
  EXPECT_FALSE(s.settings.blnWordsGot);

  // A settings file that vanished before it was read passed for loaded.
  host.chosenPaths.push_back(temp_ / "gone.talq");
  EXPECT_FALSE(LoadSettingsFromFile(s));
  EXPECT_EQ(host.labels["lblState"], "Error loading from");
  EXPECT_EQ(host.messages.back().text,
            "Error when attempting to load settings: No such file or directory");
}

}  // namespace
}  // namespace talq
