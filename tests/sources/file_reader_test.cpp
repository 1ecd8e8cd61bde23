// Files and clipboard text through a whole count: decoding, line ends, mark-up, statuses.
#include "sources/file_reader.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "support/counting_session.h"
#include "support/shown_messages.h"

namespace talq {
namespace {

namespace fs = std::filesystem;

const std::string kData = std::string(TALQ_TEST_DATA_DIR) + "/sources/";

class FileReaderTest : public test::CountingTest {
 protected:
  // Counts one file or clipboard text; returns the included entries.
  test::Counts Count(const std::string& path) {
    CountFile(path);
    return Table();
  }
  test::Counts CountClipboardText(const std::string& text) {
    CountClipboard(text);
    return Table();
  }

  const fs::path dir = temp.path();
};

using test::Counts;

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

TEST_F(FileReaderTest, HtmlHeadAndMarkupAreNotCounted) {
  ExpectWords(Count(kData + "page.htm"), {{"salt", 1}, {"pepper", 1}, {"café", 1}, {"then", 1},
                                          {"sample", 0}, {"page", 0}, {"color", 0},
                                          {"scripted", 0}, {"comment", 0}}, "page.htm");
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
  EXPECT_TRUE(test::Shown(host).back().starts_with("Not a text file: " + kData +
                                                   "binary.bin is not a text file.\n\n"));

  host.messages.clear();
  std::string in = Write("in.txt", "some words\n");
  s.settings.txbFile[1] = (dir / "." / "in.txt").string();  // another spelling of the same file
  EXPECT_EQ(DoItFromFile(s, in), kFileIsOutputFile);
  EXPECT_EQ(test::Shown(host),
            test::Lines{"Error: The output file cannot be the same as some input file."});
}

// The status texts are a table of the code; what is decided is which of two texts an empty
// status gets, and that a file that is not text gets none here (it had its own).
TEST_F(FileReaderTest, ReportFileStatusTellsAnEmptyBoxFromAnEmptyFile) {
  for (const char* box : {"  ", "x"}) ReportFileStatus(s, kFileEmptyOrNoPath, box);
  ReportFileStatus(s, kFileNotText, "x");
  EXPECT_EQ(test::Shown(host), (test::Lines{"Error: Input file not specified.",
                                            "Error: Input file is zero-length."}));
  for (int status : {kFileBadPath, kFileNotFound, kFileIsOutputFile})
    ReportFileStatus(s, status, "x");
  EXPECT_EQ(host.messages.size(), 5u);  // one more each
}

TEST_F(FileReaderTest, ClipboardPhrasesRunAcrossLinesButLineCommentsEndAtTheirLine) {
  s.settings.chkAllowCommentMarkers = 1;
  Counts got = CountClipboardText("alpha // hidden words\r\nbeta\rgamma\n");
  ExpectWords(got, {{"alpha", 1}, {"beta", 1}, {"gamma", 1}, {"hidden", 0}}, "clipboard");

  s.settings.txbWordsToIgnoreOrCount[1] = "end of, new york";
  host.choices.push_back(1);
  got = CountClipboardText("at the end\nof it, new\nyork");
  ExpectWords(got, {{"end of", 1}, {"new york", 1}}, "phrases across lines");
}

TEST_F(FileReaderTest, ClipboardLimitsAndPlausibility) {
  host.clipboard = std::string(100000, 'a');
  EXPECT_EQ(GetClipboardText(s, false), 0);
  host.clipboard = std::string(100001, 'a');
  EXPECT_EQ(GetClipboardText(s, false), 3);
  EXPECT_EQ(test::Shown(host).back(),
            "Too much clipboard text: There are 100,001 characters in the text on the clipboard.\n"
            "The maximum permitted is 100,000.  If possible,\n"
            "count word frequencies for this text using an input file.");
  host.clipboard = "";
  EXPECT_EQ(GetClipboardText(s, false), 4);

  s.sources.strClipboardText = "bad\x01text";
  EXPECT_EQ(DoItFromClipboard(s), kFileEmptyOrNoPath);
  EXPECT_EQ(host.messages.back().title, "Invalid input");
}

}  // namespace
}  // namespace talq
