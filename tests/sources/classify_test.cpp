#include "sources/classify.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "host/scripted_host.h"
#include "support/shown_messages.h"
#include "support/temp_files.h"
#include "util/sizes.h"

namespace talq {
namespace {

namespace fs = std::filesystem;

std::string Fixture(const std::string& name) {
  return std::string(TALQ_TEST_DATA_DIR) + "/sources/" + name;
}

// A scratch folder for files the fixtures cannot hold (generated sizes, odd encodings).
class ClassifyTest : public ::testing::Test {
 protected:
  std::string Write(const std::string& name, const std::string& bytes) {
    return temp_.Write(name, bytes);
  }
  test::TempDir temp_;
};

struct VerdictCase {
  const char* file;
  double threshold;
  int verdict;
  bool utf8;
  TextEncoding encoding;
  int bomLength;
};

TEST(IsTextFile, FixtureVerdicts) {
  using E = TextEncoding;
  for (const VerdictCase& c : {
           VerdictCase{"ansi_1252.txt", 1.0, kTextCrLf, false, E::Ansi, 0},
           VerdictCase{"utf8_nobom.txt", 1.0, kTextCrLf, true, E::Utf8, 0},
           VerdictCase{"utf8_bom.txt", 1.0, kTextCrLf, true, E::Utf8, 3},
           VerdictCase{"utf16le_bom.txt", 1.0, kTextOtherUnicode, false, E::Utf16LE, 2},
           VerdictCase{"utf32be_bom.txt", 1.0, kTextOtherUnicode, false, E::Utf32BE, 4},
           VerdictCase{"lf_only.txt", 1.0, kTextLf, false, E::Ansi, 0},
           VerdictCase{"cr_only.txt", 1.0, kTextCr, false, E::Ansi, 0},
           VerdictCase{"crlf.txt", 1.0, kTextCrLf, false, E::Ansi, 0},
           VerdictCase{"four_bytes.txt", 1.0, kEncTooShort, false, E::Ansi, 0},
           VerdictCase{"five_bytes.txt", 1.0, kTextCrLf, false, E::Ansi, 0},
           VerdictCase{"rtf_start.txt", 1.0, kTextRtf, false, E::Ansi, 0},
           VerdictCase{"binary.bin", 1.0, kNotText, false, E::Ansi, 0},
           VerdictCase{"nul_at_5000.txt", 1.0, kTextCrLf, false, E::Ansi, 0},
           VerdictCase{"page.htm", 1.0, kTextCrLf, true, E::Utf8, 0},  // charset declaration
           VerdictCase{"data.xml", 1.0, kTextCrLf, true, E::Utf8, 0},  // "<?xml"
           VerdictCase{"comments.c", 0.0, kTextCrLf, false, E::Ansi, 0},
           VerdictCase{"page.php", 0.0, kTextLf, false, E::Ansi, 0},
           VerdictCase{"missing.txt", 1.0, kEncNotFound, false, E::Ansi, 0},
       }) {
    TextFileStats st;
    EXPECT_EQ(IsTextFile(Fixture(c.file), kTextSampleSize, c.threshold, st), c.verdict) << c.file;
    EXPECT_EQ(st.blnUtf8, c.utf8) << c.file;
    EXPECT_EQ(st.encoding.encoding, c.encoding) << c.file;
    EXPECT_EQ(st.encoding.bomLength, c.bomLength) << c.file;
    EXPECT_EQ(st.encoding.hasBom, c.bomLength > 0) << c.file;
  }
  TextFileStats st;
  EXPECT_EQ(IsTextFile("", kTextSampleSize, 1.0, st), kEncEmptyPath);
}

TEST(IsTextFile, RunningCheckRefusesAtFirstAnomalyAfterFirstFifth) {
  TextFileStats st;
  EXPECT_EQ(IsTextFile(Fixture("nul_at_5000.txt"), kTextSampleSize, 0.0, st), kNotText);
  EXPECT_EQ(st.bytFirstAnomalous, 0);
  EXPECT_EQ(st.lngAnomalyPosition, 5000);
  EXPECT_DOUBLE_EQ(st.dblAnomalousPercent, 100.0 / 5000);

  TextFileStats passed;
  EXPECT_EQ(IsTextFile(Fixture("nul_at_5000.txt"), kTextSampleSize, 1.0, passed), kTextCrLf);
  EXPECT_DOUBLE_EQ(passed.dblAnomalousPercent, 100.0 / kTextSampleSize);
  EXPECT_EQ(passed.lngAnomalyPosition, 5000);
}

TEST_F(ClassifyTest, GeneratedFiles) {
  const std::string sampleFill(kTextSampleSize - 3, 'a');
  struct Case {
    const char* name;
    std::string bytes;
    int verdict;
    bool utf8;
    TextEncoding encoding;
  };
  using E = TextEncoding;
  for (const Case& c : {
           Case{"u32le.txt", std::string("\xFF\xFE\0\0h\0\0\0", 8), kTextOtherUnicode, false,
                E::Utf32LE},
           // A sequence cut by the end of the sample does not spoil UTF-8.
           Case{"cut.txt", "\xC3\xA9" + sampleFill + "\xE2\x80\x94 tail", kTextCrLf, true, E::Utf8},
           // ...but a file that itself ends inside a sequence is not UTF-8.
           Case{"trunc.dat", "caf\xC3\xA9 \xE2\x80", kTextCrLf, false, E::Ansi},
           Case{"overlong.dat", "ab \xC0\xAF cd", kTextCrLf, false, E::Ansi},
           Case{"nul_utf8.txt", std::string("caf\xC3\xA9\0 and more text here", 25), kNotText,
                false, E::Ansi},
           Case{"lower.htm", "<meta charset=utf-8>\r\n<p>plain</p>\r\n", kTextCrLf, false, E::Ansi},
           Case{"quoted.html", "\r\n\r\n<meta charset=\"UTF-8\">\r\n", kTextCrLf, true, E::Utf8},
           Case{"dash.txt", "\n\nan \xE2\x80 pair\n", kTextCrLf, true, E::Utf8},
           // The first ten lines may run past the sample: the look goes on in the file.
           Case{"long.htm", sampleFill + "aaaa charset=UTF-8\n", kTextCrLf, true, E::Utf8},
           Case{"tenth.htm", "\n\nx\nx\nx\nx\nx\nx\nx\nx\nx\n" + sampleFill + " charset=UTF-8\n",
                kTextCrLf, true, E::Utf8},
           Case{"eleventh.htm", "x\nx\nx\nx\nx\nx\nx\nx\nx\nx\n" + sampleFill + " charset=UTF-8\n",
                kTextLf, false, E::Ansi},
           Case{"decl.txt", "<?xml version=\"1.0\"?>\r\n", kTextCrLf, false, E::Ansi},
           Case{"wide.xml", std::string("<\0?\0x\0", 6), kTextOtherUnicode, false, E::Utf16LE},
           Case{"controls.txt", "tab\there\fform\bback\r\n", kTextCrLf, false, E::Ansi},
           Case{"esc.txt", "one \x1B escape\r\n", kNotText, false, E::Ansi},
       }) {
    TextFileStats st;
    EXPECT_EQ(IsTextFile(Write(c.name, c.bytes), kTextSampleSize, 0.0, st), c.verdict) << c.name;
    EXPECT_EQ(st.blnUtf8, c.utf8) << c.name;
    EXPECT_EQ(st.encoding.encoding, c.encoding) << c.name;
  }
}

TEST_F(ClassifyTest, ProbeCodes) {
  EXPECT_EQ(GetTextEncoding(Write("empty.txt", "")), kEncZeroLength);
  EXPECT_EQ(GetTextEncoding(temp_.path().string()), kEncNotFound);  // a folder is no file
  EXPECT_EQ(GetTextEncoding(Write("be.xml", std::string("\0<\0?x", 5))), kEncUtf16BE);
  EXPECT_EQ(GetTextEncoding(Write("plain.htm", "charset=UTF-8 plain"), false), kEncNothing);
  std::string late;  // the charset look stops after ten non-empty lines
  for (int i = 0; i < 10; ++i) late += "line\r\n\r\n";
  EXPECT_EQ(GetTextEncoding(Write("late.htm", late + "charset=UTF-8\r\n")), kEncNothing);
}

// Former fault: a file whose size reads 0 but that holds text was refused as zero-length.
TEST(IsTextFile, SizeZeroIsNotTrustedWhenTheFileHoldsText) {
  if (!fs::exists("/proc/version")) GTEST_SKIP() << "no /proc";
  ASSERT_EQ(fs::file_size("/proc/version"), 0u);
  TextFileStats st;
  EXPECT_GT(IsTextFile("/proc/version", kTextSampleSize, 1.0, st, true), 0);
  EXPECT_GT(GetTextEncoding("/proc/version"), kEncZeroLength);
}

struct MessageCase {
  const char* file;
  const char* text;  // after "File " + path; nullptr: no message
  const char* title;
  bool result;
};

TEST(CheckTextFile, RefusalsAndTheMacWarning) {
  const char* kHint =
      "\n\nYou could try reading it using its associated application, then copying the text "
      "and pasting it into the textbox (then copy it to the clipboard and select 'Clipboard' "
      "as the source).";
  for (const MessageCase& c : {
           MessageCase{"missing.txt", " not found.", "Fatal error", false},
           MessageCase{"four_bytes.txt", "\ncontains only from 1 to 4 bytes.", "Fatal error", false},
           MessageCase{"rtf_start.txt", "\nis an RTF file.", "Fatal error", false},
           MessageCase{"utf32be_bom.txt", "\nis a Unicode file but not UTF-8 encoded.",
                       "Fatal error", false},
           MessageCase{"binary.bin",
                       "\nis not an ANSI or UTF-8 encoded text file.\nIt appears to be a binary file.",
                       "Not a text file", false},
           MessageCase{"crlf.txt", nullptr, nullptr, true},
           MessageCase{"utf8_nobom.txt", nullptr, nullptr, true},
       }) {
    ScriptedHost host;
    TextCheckState state;
    host.TxbSet("old report");
    bool utf8 = false;
    int verdict = 99;
    EXPECT_EQ(CheckTextFile(host, state, Fixture(c.file), false, utf8, verdict, false), c.result)
        << c.file;
    EXPECT_EQ(host.TxbText(), "") << c.file;
    EXPECT_EQ(test::Shown(host), c.text ? test::Lines{std::string(c.title) + ": File " +
                                                      Fixture(c.file) + c.text}
                                        : test::Lines{});
    for (const auto& m : host.messages) EXPECT_EQ(m.icon, MsgIcon::Information);
  }

  ScriptedHost host;
  TextCheckState state;
  bool utf8 = false;
  int verdict = 0;
  EXPECT_FALSE(CheckTextFile(host, state, Fixture("nul_at_5000.txt"), true, utf8, verdict, false));
  ASSERT_EQ(host.messages.size(), 1u);
  EXPECT_EQ(host.messages[0].text, "File " + Fixture("nul_at_5000.txt") +
                                       "\nis not an ANSI or UTF-8 encoded text file.\n"
                                       "It appears to be a binary file." + kHint);
  EXPECT_FALSE(CheckTextFile(host, state, "", true, utf8, verdict, false));
  EXPECT_EQ(host.messages.size(), 1u);
  EXPECT_TRUE(CheckTextFile(host, state, Fixture("utf8_bom.txt"), true, utf8, verdict, false));
  EXPECT_TRUE(utf8);
  EXPECT_EQ(verdict, kTextCrLf);

  // The Mac line-ending warning: none when suppressed, then once only.
  host.messages.clear();
  EXPECT_TRUE(CheckTextFile(host, state, Fixture("cr_only.txt"), true, utf8, verdict, false));
  EXPECT_TRUE(host.messages.empty());
  for (int i = 0; i < 2; ++i)
    EXPECT_TRUE(CheckTextFile(host, state, Fixture("cr_only.txt"), false, utf8, verdict, false));
  EXPECT_EQ(test::Shown(host),
            test::Lines{"This is a Mac-style text file: File " + Fixture("cr_only.txt") +
                        "\nhas Macintosh-type line endings (CR).\n\n"
                        "You might wish to use a program such as Notepad++\n"
                        "to convert the line endings to Windows-type (CR+LF)."});
  EXPECT_EQ(verdict, kTextCr);
}

TEST_F(ClassifyTest, UnixLineEndingWarnings) {
  auto unixFile = [&](const char* name, std::size_t lines) {
    std::string text;
    for (std::size_t i = 0; i < lines; ++i) text += "abcdefghi\n";
    return Write(name, text);
  };
  const std::string small = unixFile("small.txt", 25600), mid = unixFile("mid.txt", 30000),
                    big = unixFile("big.txt", 60000);
  auto warning = [](const std::string& path, const char* tail) {
    return "File " + path + "\nhas Unix-type line endings (LF).\n\nThe size of this file is " +
           FileSizeTextKbMb(path) + "\n" + tail + " Notepad++\n" +
           "to convert the line endings to Windows-type (CR+LF).";
  };
  const char* kSlow = "so processing of this file might be rather slow.\n\n"
                      "It is advisable to use a program such as";
  const std::string ask = "This is a Unix-style text file: " + warning(mid, kSlow) +
                          "\n\nDo you wish to continue processing this file?";
  struct Case {
    std::string path;
    bool suppress, offer;
    std::deque<MsgAnswer> answers;
    bool result;
    test::Lines shown;
  };
  for (const Case& c : std::vector<Case>{
           {small, false, true, {}, true, {}},
           {big, true, false, {}, true, {}},
           {mid, false, false, {}, true, {"This is a Unix-style file: " + warning(mid, kSlow)}},
           {mid, false, true, {MsgAnswer::Yes}, true, {ask}},
           {mid, false, true, {MsgAnswer::No}, false,
            {ask, "This is a Unix-style text file: Operation canceled."}},
           {big, false, true, {}, false,
            {"Cannot process this file: " +
             warning(big, "so processing of this file would take a long time.\n\n"
                          "You can process this file by first using a program such as")}},
       }) {
    ScriptedHost host;
    host.answers = c.answers;
    TextCheckState state;
    bool utf8 = false;
    int verdict = -100;
    EXPECT_EQ(CheckTextFile(host, state, c.path, c.suppress, utf8, verdict, c.offer), c.result);
    EXPECT_EQ(verdict, c.result ? kTextLf : kNotText);
    EXPECT_EQ(test::Shown(host), c.shown) << c.path;
    if (c.shown.size() == 2 && host.messages.size() == 2) {
      EXPECT_EQ(host.messages[0].buttons, MsgButtons::YesNo);
      EXPECT_EQ(host.messages[1].icon, MsgIcon::None);
    }
  }
}

}  // namespace
}  // namespace talq
