#include "settings/state_file.h"

#include <sys/resource.h>

#include <csignal>
#include <filesystem>

#include <gtest/gtest.h>

#include "settings/nondefault_settings.h"
#include "support/temp_files.h"

namespace talq {
namespace {

namespace fs = std::filesystem;

std::vector<std::string> Lines(const Settings& s) {
  const std::string record = StateRecordText(s);
  EXPECT_TRUE(record.ends_with("\r\n"));
  return test::SplitLines(record, "\r\n");
}

std::string Join(const std::vector<std::string>& lines, std::size_t count, const char* eol) {
  std::string out;
  for (std::size_t i = 0; i < count && i < lines.size(); ++i) out += lines[i] + eol;
  return out;
}

// Every persisted field as text, histories in full.
std::string Dump(const Settings& s) {
  std::string out;
  for (const auto& f : SettingFields()) {
    if (!f.persisted) continue;
    out += f.name + "=" + FieldValueText(s, f.name) + "\n";
    if (f.type == FieldType::History)
      for (const auto& p : f.historyRef(const_cast<Settings&>(s)).items) out += " |" + p + "\n";
  }
  return out;
}

class StateFileTest : public ::testing::Test {
 protected:
  std::string Write(const std::string& text) { return temp_.Write("s.talq", text); }
  test::TempDir temp_;
  fs::path dir_ = temp_.path();
};

TEST_F(StateFileTest, RecordLayout) {
  Settings s;
  std::vector<std::string> lines = Lines(s);
  ASSERT_EQ(lines.size(), 79u);
  for (int reserved : {1, 5, 6, 10, 11}) EXPECT_EQ(lines[reserved - 1], "\"\"");
  EXPECT_EQ(lines[12 - 1], "1");  // cboShortWordSize
  EXPECT_EQ(lines[36 - 1], "0");  // reserved number
  EXPECT_EQ(Join({lines.begin() + 47, lines.begin() + 52}, 5, ","), "0,-1,0,-1,2,");
  // The words-to-ignore handling as one -1/0 line per option; no filter mode is 0.
  EXPECT_EQ(Join({lines.end() - 5, lines.end()}, 5, ","), "0,0,-1,0,0,");

  s.chkUseLog10 = 0;  // always written as 1
  s.cboWordsFile[0] = {{"/a.txt", "/b.txt"}, 1};
  s.txbFolder = "say \"hi\"\r\nthere\nnow";
  lines = Lines(s);
  ASSERT_EQ(lines.size(), 81u);
  EXPECT_EQ(lines[0], "\"say \"\"hi\"\" there now\"");
  EXPECT_EQ(lines[38 - 1], "1");
  EXPECT_EQ(Join({lines.begin() + 47, lines.begin() + 51}, 4, ","), "2,\"/a.txt\",\"/b.txt\",1,");

  // chkTerminatePhraseAtTab is written twice.
  Settings tabOff;
  tabOff.chkTerminatePhraseAtTab = 0;
  const auto on = Lines(Settings()), off = Lines(tabOff);
  int differing = 0;
  for (std::size_t i = 0; i < on.size(); ++i) differing += on[i] != off[i] ? 1 : 0;
  EXPECT_EQ(differing, 2);
}

TEST_F(StateFileTest, EveryFieldSurvivesSaveAndRestore) {
  Settings saved = testing::NonDefaultSettings();
  saved.txbFolder = "/caf\xC3\xA9 \"q\" \xE2\x80\x9Cx\xE2\x80\x9D/" + std::string(300, 'p');
  saved.txbWordsToIgnoreOrCount[1] = "\"\" \"New York\", <a\"b>";
  saved.cboWordsFile[1] = {{"/l/\"1\".txt", "/l/\xC3\xBC.txt", "/l/3.txt"}, 1};
  saved.txbFile[1] = "/out\r\nput.txt";  // a line break comes back as a space
  saved.chkUseLog10 = 1;                  // always written as 1
  const std::string path = (dir_ / "all.talq").string();
  ASSERT_EQ(SaveState(saved, path), "");

  Settings restored;
  const RecordReading r = ReadStateRecord(restored, path);
  EXPECT_EQ(r.status, kRestored);
  EXPECT_FALSE(r.endOfFile);
  saved.txbFile[1] = "/out put.txt";
  EXPECT_EQ(Dump(restored), Dump(saved));
}

TEST_F(StateFileTest, ForeignRecords) {
  std::vector<std::string> lines = Lines(Settings());
  lines[0] = "\"C:\\caf\xE9 \x93neu\x94\"";  // Windows-1252
  lines[1] = "  \"one\"  ";
  lines[2] = "unquoted path";
  lines[46 - 1] = "-1";  // cboDisplayFormat: nothing selected
  lines[49 - 1] = "2";   // history index 2 with no files
  lines[52 - 1] = "7";   // any other source number is the folder
  Settings s;
  s.source = Source::optInFile;
  s.cboWordsFile[0] = {{"/old.txt"}, 0};
  const RecordReading r = ReadStateRecord(s, Write("\xEF\xBB\xBF" + Join(lines, 79, "\n")));
  EXPECT_EQ(r.status, kRestored);
  EXPECT_FALSE(r.endOfFile);
  EXPECT_EQ(s.txbFolder, "C:\\caf\xC3\xA9 \xE2\x80\x9Cneu\xE2\x80\x9D");
  EXPECT_EQ(s.txbWordsToIgnoreOrCount[0], "one");
  EXPECT_EQ(s.txbFile[0], "unquoted path");
  EXPECT_TRUE(HasUnselectedChoice(s));
  EXPECT_TRUE(s.cboWordsFile[0].items.empty());
  EXPECT_EQ(s.cboWordsFile[0].index, -1);
  EXPECT_EQ(s.source, Source::optFolder);
  EXPECT_EQ(s.filterMode, FilterMode::optIncludeAllWords);

  s.txbFolder = "kept";
  EXPECT_EQ(ReadStateRecord(s, (dir_ / "none.talq").string()).status, kRestoreNoFile);
  EXPECT_EQ(ReadStateRecord(s, dir_.string()).status, kRestoreNoFile);
  EXPECT_EQ(s.txbFolder, "kept");
}

TEST_F(StateFileTest, InvalidValuesStopTheReadingUnapplied) {
  const std::vector<std::string> lines = Lines(Settings());
  const std::pair<int, std::string> cases[] = {
      {46, "20"}, {46, "-2"}, {46, "x"}, {46, "1.5"}, {46, "99999999999"},  // cboDisplayFormat
      {21, "2"},  {21, ""},                                                  // a check field
      {48, "-1"}, {48, "100"}, {49, ""},  // history count; an index past its one file
      {52, "many"},                        // source kind
      {79, "1"},                           // an option line takes -1 or 0
      {1, "\"" + std::string(kMaxRecordLine + 1, 'a') + "\""},
  };
  for (const auto& [line, value] : cases) {
    std::vector<std::string> edited = lines;
    edited[line - 1] = value;
    if (line == 49) {  // one file, selected index 1
      edited[47] = "1";
      edited[48] = "\"/a\"";
      edited.insert(edited.begin() + 49, "1");
    }
    Settings s;
    s.cboDisplayFormat = 5;
    s.chkCaseSignificant = 1;
    s.txbFolder = "before";
    const RecordReading r = ReadStateRecord(s, Write(Join(edited, edited.size(), "\r\n")));
    SCOPED_TRACE("line " + std::to_string(line) + " = " + value.substr(0, 20));
    EXPECT_EQ(r.status, kRestoreFailed);
    EXPECT_EQ(r.reason, kInvalidData);
    EXPECT_EQ(s.cboDisplayFormat, line <= 46 ? 5 : 0);
    EXPECT_EQ(s.chkCaseSignificant, line <= 21 ? 1 : 0);
    EXPECT_EQ(s.txbFolder, line == 1 ? "before" : "");
  }
}

TEST_F(StateFileTest, ShortRecords) {
  const std::vector<std::string> lines = Lines(testing::NonDefaultSettings());
  Settings s;
  s.cboWordsFile[0] = {{"/kept.txt"}, 0};
  RecordReading r = ReadStateRecord(s, Write(Join(lines, 30, "\r\n")));
  EXPECT_EQ(r.status, kRestored);
  EXPECT_TRUE(r.endOfFile);
  EXPECT_FALSE(r.reachedTableFields);
  EXPECT_EQ(r.applied.back(), "chkAllowWordsWithPeriods");  // line 30
  EXPECT_EQ(s.chkAllowWordsWithPeriods, 1);
  EXPECT_EQ(s.chkAllowWordsWithCommas, 0);  // line 31

  r = ReadStateRecord(s, Write(Join(lines, 48, "\r\n")));  // a history cut short
  EXPECT_EQ(s.cboWordsFile[0].items, std::vector<std::string>{"/kept.txt"});
  r = ReadStateRecord(s, Write(Join(lines, 64, "\r\n")));
  EXPECT_TRUE(r.reachedTableFields);
}

TEST_F(StateFileTest, SavingIsAtomic) {
  const std::string path = Write("old record\r\n");
  Settings s;
  s.txbFolder = std::string(64 * 1024, 'x');
  // A write that fails midway; the file-size limit stands in for a full disk.
  struct rlimit old {};
  getrlimit(RLIMIT_FSIZE, &old);
  struct rlimit small = old;
  small.rlim_cur = 4096;
  auto* previous = std::signal(SIGXFSZ, SIG_IGN);
  setrlimit(RLIMIT_FSIZE, &small);
  const std::string error = SaveState(s, path);
  setrlimit(RLIMIT_FSIZE, &old);
  std::signal(SIGXFSZ, previous);
  EXPECT_EQ(error, std::string(kSaveStateError) + "File too large");
  EXPECT_EQ(test::ReadWholeFile(path), "old record\r\n");

  fs::create_directory(dir_ / "folder.talq");
  EXPECT_EQ(SaveState(s, (dir_ / "folder.talq").string()),
            std::string(kSaveStateError) + "Is a directory");
  std::size_t entries = 0;  // no temporary file is left behind
  for ([[maybe_unused]] const auto& e : fs::directory_iterator(dir_)) ++entries;
  EXPECT_EQ(entries, 2u);

  // A symbolic link stays a link; the file it names is replaced.
  fs::create_symlink(path, dir_ / "link.talq");
  ASSERT_EQ(SaveState(s, (dir_ / "link.talq").string()), "");
  EXPECT_TRUE(fs::is_symlink(dir_ / "link.talq"));
  EXPECT_EQ(test::ReadWholeFile(path), StateRecordText(s));
}

}  // namespace
}  // namespace talq
