// `talq settings save|show` and counts that start from --settings FILE or --state.
#include <gtest/gtest.h>

#include <sstream>

#include "cli/cli_harness.h"
#include "support/zip_files.h"

namespace talq::cli::test {
namespace {

TEST(SettingsCliTest, ShowPrintsWhatSaveAcceptsBack) {
  TempDir t;
  WriteWholeFile(t / "ignore.txt", "the\n");
  CliResult saved = RunIn(t.path(), {"settings", "save", "a.talq", "-q", "-f", "3",
                                     "--set", "chkCaseSignificant=1", "--set",
                                     "txbFilterWords=say \"so\"", "--patterns", "*.txt",
                                     "--ignore-file", "ignore.txt", "--ignore-common", "de"});
  ASSERT_EQ(saved.status, 0) << saved.err;
  CliResult shown = RunIn(t.path(), {"settings", "show", "a.talq"});
  ASSERT_EQ(shown.status, 0) << shown.err;
  for (const char* line : {"cboDisplayFormat=3\n", "chkCaseSignificant=1\n",
                           "txbFilterWords=say \"so\"\n", "txbFileFilepathSpecifications(0)=*.txt\n",
                           "cboWordsFile(0)=ignore.txt\n", "source=optFolder\n"})
    EXPECT_NE(shown.out.find(line), std::string::npos) << line;

  // Every line back through --set writes the same record.
  std::vector<std::string> args{"settings", "save", "b.talq", "-q"};
  std::istringstream lines(shown.out);
  for (std::string line; std::getline(lines, line);) args.insert(args.end(), {"--set", line});
  CliResult again = RunIn(t.path(), args);
  ASSERT_EQ(again.status, 0) << again.err;
  EXPECT_EQ(ReadWholeFile(t / "b.talq"), ReadWholeFile(t / "a.talq"));
}

TEST(SettingsCliTest, CountStartsFromASettingsFile) {
  TempDir t;
  t.Write("texts/a.txt", "Apple apple pear\n");
  ASSERT_EQ(RunIn(t.path(), {"settings", "save", "case.talq", "-q", "--set",
                             "chkCaseSignificant=1", "--set", "txbFolder=" + (t / "texts"),
                             "--set", "source=optFolder"})
                .status,
            0);
  // Without SOURCE the record's folder is counted, with its case rule.
  CliResult r = RunIn(t.path(), {"count", "--settings", "case.talq"});
  EXPECT_EQ(r.status, 0) << r.err;
  EXPECT_NE(r.out.find("Apple"), std::string::npos) << r.out;
  // --set comes after the file.
  r = RunIn(t.path(), {"count", "--settings", "case.talq", "--set", "chkCaseSignificant=0"});
  EXPECT_EQ(r.out.find("Apple"), std::string::npos) << r.out;
}

// Former fault: `talq table` overwrote the table choices of a record with its own defaults.
TEST(SettingsCliTest, TableChoicesOfARecordSurvive) {
  TempDir t;
  t.Write("in/a.txt", "cat cat dog\n");
  ASSERT_TRUE(talq::test::WriteDocx(t / "in/b.docx", talq::test::DocumentXml({{"cat bird"}})));
  ASSERT_EQ(RunIn(t.path(), {"settings", "save", "z.talq", "-q", "--blank-zeros",
                             "--relative-cells", "--layout", "freq"})
                .status,
            0);
  CliResult r = RunIn(t.path(), {"table", "-q", "--settings", "z.talq", "-o", "t.txt", "in"});
  EXPECT_EQ(r.status, 0) << r.err;
  EXPECT_TRUE(r.out.starts_with("The table has been written to t.txt\n\n")) << r.out;
  EXPECT_NE(ReadWholeFile(t / "t.txt").find("\r\n<File indices>\t1\t2\t\tTotal\r\n"
                                            "cat\t67%\t33%\t\t3\r\nbird\t\t100%\t\t1\r\n"),
            std::string::npos)
      << ReadWholeFile(t / "t.txt");
}

TEST(SettingsCliTest, RecordsThatDoNotLoad) {
  TempDir t;
  WriteWholeFile(t / "a.txt", "one two\n");
  ASSERT_EQ(RunIn(t.path(), {"settings", "save", "ok.talq", "-q"}).status, 0);
  std::string record = ReadWholeFile(t / "ok.talq");
  // Line 46 is cboDisplayFormat; lines end in CR LF.
  std::size_t pos = 0;
  for (int line = 1; line < 46; ++line) pos = record.find("\r\n", pos) + 2;
  auto withFormat = [&](const std::string& v) {
    std::string r = record;
    r.replace(pos, r.find("\r\n", pos) - pos, v);
    return r;
  };
  WriteWholeFile(t / "minus.talq", withFormat("-1"));
  WriteWholeFile(t / "twenty.talq", withFormat("20"));
  EXPECT_EQ(RunIn(t.path(), {"count", "a.txt", "--settings", "minus.talq"}),
            (CliResult{1, "", "Load settings: Invalid combo box index.\n"}));
  EXPECT_EQ(RunIn(t.path(), {"settings", "show", "twenty.talq"}),
            (CliResult{1, "",
                       "Load settings: Error when attempting to load settings: Invalid data "
                       "(twenty.talq)\n"}));
  EXPECT_EQ(RunIn(t.path(), {"settings", "save", "no/such/x.talq"}).status, 1);
}

TEST(SettingsCliTest, StateFile) {
  TempDir t;
  talq::test::ScopedEnv home("XDG_CONFIG_HOME", t / "cfg");
  WriteWholeFile(t / "a.txt", "one two two\n");
  // No state file yet: --state leaves the defaults, show says there is none.
  EXPECT_EQ(RunIn(t.path(), {"count", "a.txt", "--state", "-q"}).status, 0);
  EXPECT_EQ(RunIn(t.path(), {"settings", "show"}).status, 1);

  fs::create_directories(t.path() / "cfg/talq");
  ASSERT_EQ(RunIn(t.path(), {"settings", "save", t / "cfg/talq/talq.usr", "-q", "--order",
                             "alpha"})
                .status,
            0);
  CliResult shown = RunIn(t.path(), {"settings", "show"});
  EXPECT_NE(shown.out.find("cboWordOrder=1\n"), std::string::npos);
  CliResult r = RunIn(t.path(), {"count", "a.txt", "--state"});
  EXPECT_LT(r.out.find("one"), r.out.find("two")) << r.out;
}

}  // namespace
}  // namespace talq::cli::test
