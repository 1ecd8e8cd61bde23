// Files and clipboard text through a whole count: decoding, line ends, mark-up, statuses.
#include "sources/file_reader.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <map>

#include "run/counting_run.h"
#include "run/session.h"
#include "host/scripted_host.h"
#include "settings/defaults.h"
#include "settings/setting_choices.h"
#include "util/program_texts.h"

namespace talq {
namespace {

namespace fs = std::filesystem;

const std::string kData = std::string(TALQ_TEST_DATA_DIR) + "/sources/";

class FileReaderTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_GT(LoadProgramTexts(DataDir() + "/talq.dat"), 0);
    FillSettingChoices(s.settings);
    Initialize(s.settings, nullptr);
    s.settings.chkIgnoreShortWords = 0;
    s.settings.blnStartUpCompleted = true;
    dir = fs::temp_directory_path() / ("talq_fr_" + std::to_string(::getpid()));
    fs::create_directories(dir);
  }
  void TearDown() override { fs::remove_all(dir); }

  std::string Write(const std::string& name, const std::string& bytes) {
    fs::path p = dir / name;
    std::ofstream(p, std::ios::binary) << bytes;
    return p.string();
  }

  // Counts one file; returns word -> frequency of the included entries.
  std::map<std::string, std::int64_t> Count(const std::string& path) {
    s.settings.source = Source::optInFile;
    s.settings.txbFile[0] = path;
    CountWords(s);
    return Table();
  }
  std::map<std::string, std::int64_t> CountClipboard(const std::string& text) {
    s.settings.source = Source::optOnClipboard;
    host.clipboard = text;
    CountWords(s);
    return Table();
  }
  std::map<std::string, std::int64_t> Table() {
    std::map<std::string, std::int64_t> m;
    for (std::int64_t i = 1; i <= s.words.lngNumWords; ++i) {
      if (s.words.udtWords[i].blnIncluded) m[s.words.udtWords[i].strWord] = s.words.udtWords[i].lngFrequency;
    }
    return m;
  }

  ScriptedHost host;
  Session s{host};
  fs::path dir;
};

using Counts = std::map<std::string, std::int64_t>;

void ExpectWords(const Counts& got, const Counts& want, const std::string& what) {
  for (const auto& [w, n] : want) {
    auto it = got.find(w);
    if (n == 0) {
      EXPECT_EQ(it, got.end()) << what << ": \"" << w << "\" should not be counted";
    } else {
      EXPECT_TRUE(it != got.end() && it->second == n)
          << what << ": \"" << w << "\" expected " << n << ", got "
          << (it == got.end() ? 0 : it->second);
    }
  }
}

TEST_F(FileReaderTest, EveryEncodingIsDecodedAndNormalised) {
  s.settings.chkAllowWordsWithApostrophes = 1;
  struct Case {
    const char* file;
    Counts want;
  } cases[] = {
      {"ansi_1252.txt", {{"café", 1}, {"crème", 1}, {"ångström", 1}, {"hello", 1},
                         {"don't", 1}, {"straße", 1}, {"über", 1}}},
      {"utf8_nobom.txt", {{"café", 1}, {"привет", 1}, {"мир", 1}, {"καλημέρα", 1},
                          {"日本語のテキスト", 1}, {"don't", 1}, {"one", 1}, {"two", 1}}},
      {"utf16le_bom.txt", {}},
      {"utf32be_bom.txt", {}},
  };
  for (const auto& c : cases) {
    Counts got = Count(kData + c.file);
    EXPECT_FALSE(got.empty()) << c.file;
    ExpectWords(got, c.want, c.file);
    for (const auto& [w, n] : got) EXPECT_EQ(w.find("\xEF\xBB\xBF"), std::string::npos) << c.file;
  }
}

TEST_F(FileReaderTest, UnicodeFilesSwitchSevenBitOffForTheirDuration) {
  s.settings.chkOnly7bitASCII = 1;
  Counts got = Count(kData + "utf8_nobom.txt");
  ExpectWords(got, {{"café", 1}, {"мир", 1}}, "utf-8");
  EXPECT_EQ(s.settings.chkOnly7bitASCII, 1);
  got = Count(Write("u16.txt", std::string("\xFF\xFE" "c\0a\0f\0\xE9\0", 10)));
  ExpectWords(got, {{"café", 1}}, "utf-16");
  got = Count(kData + "ansi_1252.txt");
  ExpectWords(got, {{"café", 0}, {"stop", 1}}, "ansi keeps the rule");
}

TEST_F(FileReaderTest, EveryLineEndingSplitsLines) {
  for (const char* f : {"lf_only.txt", "cr_only.txt", "crlf.txt"}) {
    Counts got = Count(kData + f);
    ExpectWords(got, {{"line", 3}, {"first", 1}, {"third", 1}}, f);
  }
  // An LF-only UTF-8 C file: the line comment ends at its line.
  Counts got = Count(Write("lf.c", "int a; // gone \xC3\xA9t\xC3\xA9\nint kept;\n"));
  ExpectWords(got, {{"int", 2}, {"kept", 1}, {"gone", 0}, {"été", 0}}, "lf.c");
}

TEST_F(FileReaderTest, MarkupAndCommentsAreNotCounted) {
  struct Case {
    const char* file;
    Counts want;
  } cases[] = {
      {"comments.c", {{"int", 2}, {"counted", 1}, {"char", 1}, {"after", 1}, {"tail", 1},
                      {"block", 0}, {"spanning", 0}, {"comment", 0}, {"inline", 0}}},
      {"page.php", {{"before", 1}, {"after", 1}, {"tail", 1}, {"end", 1}, {"echo", 0},
                    {"hidden", 0}, {"code", 0}, {"secret", 0}}},
      {"page.htm", {{"salt", 1}, {"pepper", 1}, {"café", 1}, {"then", 1}, {"sample", 0},
                    {"page", 0}, {"color", 0}, {"scripted", 0}, {"comment", 0}}},
  };
  for (const auto& c : cases) ExpectWords(Count(kData + c.file), c.want, c.file);
}

TEST_F(FileReaderTest, RussianTextGivesRussianWordsUnderTheDefaultRules) {
  Counts got = Count(Write("ru.txt", "Мама мыла раму. Ёлка стоит, ёжик бежит.\n"));
  ExpectWords(got, {{"мама", 1}, {"мыла", 1}, {"раму", 1}, {"ёлка", 1}, {"ёжик", 1}}, "ru");
}

TEST_F(FileReaderTest, RefusalsReturnTheirStatusAndMessage) {
  s.settings.source = Source::optInFile;
  EXPECT_EQ(DoItFromFile(s, (dir / "missing.txt").string()), kFileNotFound);
  EXPECT_EQ(DoItFromFile(s, dir.string() + "/"), kFileBadPath);
  EXPECT_EQ(DoItFromFile(s, Write("empty.txt", "")), kFileEmptyOrNoPath);
  EXPECT_EQ(DoItFromFile(s, "   "), kFileEmptyOrNoPath);
  EXPECT_TRUE(s.run.blnStop);

  host.messages.clear();
  EXPECT_EQ(DoItFromFile(s, kData + "binary.bin"), kFileNotText);
  ASSERT_FALSE(host.messages.empty());
  EXPECT_EQ(host.messages.back().title, "Not a text file");
  EXPECT_EQ(host.messages.back().text.rfind(kData + "binary.bin is not a text file.\n\n", 0), 0u);

  host.messages.clear();
  std::string in = Write("in.txt", "some words\n");
  s.settings.txbFile[1] = (dir / "." / "in.txt").string();  // another spelling of the same file
  EXPECT_EQ(DoItFromFile(s, in), kFileIsOutputFile);
  ASSERT_FALSE(host.messages.empty());
  EXPECT_EQ(host.messages.back().text, "The output file cannot be the same as some input file.");
  EXPECT_EQ(host.messages.back().title, "Error");
}

TEST_F(FileReaderTest, ReportFileStatusTexts) {
  struct Case {
    int status;
    std::string box, text, title;
  } cases[] = {
      {kFileBadPath, "x/", "Invalid input file specification.", "Invalid input"},
      {kFileNotFound, "x", "Input file does not exist.", "File not found"},
      {kFileEmptyOrNoPath, "", "Input file not specified.", "Error"},
      {kFileEmptyOrNoPath, "x", "Input file is zero-length.", "Error"},
      {kFileIsOutputFile, "x", "The output file cannot be the same as the input file.", "Error"},
  };
  for (const auto& c : cases) {
    host.messages.clear();
    ReportFileStatus(s, c.status, c.box);
    ASSERT_EQ(host.messages.size(), 1u);
    EXPECT_EQ(host.messages[0].text, c.text);
    EXPECT_EQ(host.messages[0].title, c.title);
    EXPECT_EQ(host.messages[0].icon, MsgIcon::Exclamation);
  }
  host.messages.clear();
  ReportFileStatus(s, kFileNotText, "x");
  EXPECT_TRUE(host.messages.empty());
}

TEST_F(FileReaderTest, ClipboardPhrasesRunAcrossLinesButLineCommentsEndAtTheirLine) {
  s.settings.chkAllowCommentMarkers = 1;
  Counts got = CountClipboard("alpha // hidden words\r\nbeta\rgamma\n");
  ExpectWords(got, {{"alpha", 1}, {"beta", 1}, {"gamma", 1}, {"hidden", 0}}, "clipboard");

  s.settings.txbWordsToIgnoreOrCount[1] = "end of, new york";
  host.choices.push_back(1);
  got = CountClipboard("at the end\nof it, new\nyork");
  ExpectWords(got, {{"end of", 1}, {"new york", 1}}, "phrases across lines");
}

TEST_F(FileReaderTest, ClipboardLimitsAndPlausibility) {
  host.clipboard = std::string(100000, 'a');
  EXPECT_EQ(GetClipboardText(s, false), 0);
  host.clipboard = std::string(100001, 'a');
  EXPECT_EQ(GetClipboardText(s, false), 3);
  EXPECT_EQ(host.messages.back().title, "Too much clipboard text");
  EXPECT_EQ(host.messages.back().text,
            "There are 100,001 characters in the text on the clipboard.\nThe maximum permitted is "
            "100,000.  If possible,\ncount word frequencies for this text using an input file.");
  host.clipboard = "";
  EXPECT_EQ(GetClipboardText(s, false), 4);

  s.sources.strClipboardText = "bad\x01text";
  EXPECT_EQ(DoItFromClipboard(s), kFileEmptyOrNoPath);
  EXPECT_EQ(host.messages.back().title, "Invalid input");
}

}  // namespace
}  // namespace talq
