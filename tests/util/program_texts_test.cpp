#include "util/program_texts.h"

#include <filesystem>

#include <gtest/gtest.h>

#include "support/temp_files.h"

namespace talq {
namespace {

class ProgramTextsTest : public ::testing::Test {
 protected:
  std::string Write(const std::string& content) { return test::WriteWholeFile(path_, content); }

  test::TempDir dir_;
  std::filesystem::path path_ = dir_.path() / "texts.dat";
};

TEST_F(ProgramTextsTest, LoadsTextsAndLooksThemUp) {
  Write("\xEF\xBB\xBF# comment\n\n21\tCount words/phrases\r\n22\t~\n23\tOne\\nTwo\n");
  ASSERT_EQ(LoadProgramTexts(path_.string()), 3);
  EXPECT_EQ(ProgramText(21), "Count words/phrases");
  EXPECT_EQ(ProgramText(22), "");
  EXPECT_EQ(ProgramText(23), "One\nTwo");
  EXPECT_EQ(ProgramText(24), "");
}

TEST_F(ProgramTextsTest, FailureCodesAndMessages) {
  struct Case {
    const char* name;
    std::string content;
    int code;
    const char* message;
  };
  const Case cases[] = {
      {"empty", "", -6, "File is empty."},
      {"only comments", "# x\n\n", 0, "No program text was read."},
      {"duplicate", "1\ta\n# c\n1\tb\n", -1503, "Duplicate in program text at line 3."},
      {"too long", "1\ta\n2\t" + std::string(1025, 'x') + "\n", -1002,
       "String too long at line 2."},
      {"no tab", "1\ta\n\n7 text\n", -503, "Missing string at line 3."},
      {"bad number", "x1\ttext\n", -501, "Missing string at line 1."},
  };
  for (const auto& c : cases) {
    const int code = LoadProgramTexts(Write(c.content));
    EXPECT_EQ(code, c.code) << c.name;
    EXPECT_EQ(ProgramTextLoadMessage(code, path_.string()), c.message) << c.name;
  }
  // A text of exactly 1024 characters (not bytes) is allowed.
  EXPECT_EQ(LoadProgramTexts(Write("5\t" + std::string(1024, 'a'))), 1);
  std::string accented;
  for (int i = 0; i < 1024; ++i) accented += "é";
  EXPECT_EQ(LoadProgramTexts(Write("5\t" + accented + "\n")), 1);
}

TEST_F(ProgramTextsTest, MissingFileNamesThePath) {
  const std::string missing = "/nonexistent/talq.dat";
  const int code = LoadProgramTexts(missing);
  EXPECT_EQ(code, -1);
  EXPECT_EQ(ProgramTextLoadMessage(code, missing),
            "Cannot open file containing program text.\n/nonexistent/talq.dat");
  EXPECT_EQ(ProgramText(21), "");  // a failed load leaves nothing behind
  EXPECT_EQ(ProgramTextLoadMessage(-5, ""), "Error -5");
  EXPECT_EQ(ProgramTextLoadMessage(-3, ""), "Too much program text.");
}

TEST(ShippedProgramTextsTest, CaptionsTheCodeReadsHoldTheirMarks) {
  const std::string file = DataDir() + "/" + std::string(kProgramTextFile);
  ASSERT_GT(LoadProgramTexts(file), 0) << ProgramTextLoadMessage(LoadProgramTexts(file), file);
  EXPECT_EQ(ProgramText(21), "Count words/phrases");
  // A caption holding "stop" marks a run in progress.
  for (int n : {25, 90}) EXPECT_NE(ProgramText(n).find("Stop"), std::string::npos) << n;
  // Each display format's caption starts with its number.
  for (int f = 0; f <= 13; ++f) {
    std::string prefix = std::to_string(f);
    prefix.insert(0, 1, '#');
    EXPECT_TRUE(ProgramText(51 + f).starts_with(prefix + ' ')) << f;
  }
}

}  // namespace
}  // namespace talq
