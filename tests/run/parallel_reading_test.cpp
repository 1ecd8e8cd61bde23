// Counting on several threads gives exactly what one thread gives: the table with its
// per-file data, the report, and every label and message in order.
#include "run/parallel_reading.h"

#include <gtest/gtest.h>

#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <string>
#include <vector>

#include "host/scripted_host.h"
#include "run/counting_run.h"
#include "run/session.h"
#include "settings/setting_choices.h"
#include "sources/line_reader.h"
#include "support/table_dump.h"
#include "util/program_texts.h"

namespace talq {
namespace {

namespace fs = std::filesystem;

// Keeps every label change and message in order.
class LoggingHost : public ScriptedHost {
 public:
  std::vector<std::string> log;
  void SetLabel(const std::string& name, const std::string& text) override {
    log.push_back(name + "=" + text);
    ScriptedHost::SetLabel(name, text);
  }
  MsgAnswer MsgBox(const std::string& text, const std::string& title, MsgIcon icon,
                   MsgButtons buttons, MsgAnswer defaultButton) override {
    log.push_back("msg " + title + ": " + text);
    return ScriptedHost::MsgBox(text, title, icon, buttons, defaultButton);
  }
};

void Write(const fs::path& path, const std::string& bytes) {
  fs::create_directories(path.parent_path());
  std::ofstream(path, std::ios::binary) << bytes;
}

// Text of about `bytes` bytes: words of a small vocabulary (some accented, capitalised,
// hyphenated, with digits or apostrophes), lines ending in LF, CR LF or CR, blank lines.
std::string GeneratedText(std::size_t bytes, unsigned seed) {
  static const char* const kWords[] = {"the", "The", "harbour", "ship's", "don't", "café",
                                       "Ærø", "well-known", "x86", "naïve", "a", "of",
                                       "rock-and-roll", "ÉTUDE", "e.g.", "1999", "zebra"};
  static const char* const kEnds[] = {"\n", "\r\n", "\r", "\n\n", " .\n", ",\t\n"};
  std::mt19937 rng(seed);
  std::uniform_int_distribution<std::size_t> word(0, std::size(kWords) - 1), end(0, 5),
      len(0, 12), rare(0, 999);
  std::string text;
  while (text.size() < bytes) {
    const std::size_t n = len(rng);
    for (std::size_t k = 0; k < n; ++k) {
      if (k > 0) text += ' ';
      // Now and then a word met nowhere else, so new entries keep arriving.
      if (rare(rng) == 0) {
        text += 'w';
        text += std::to_string(rng() % 100000);
      } else {
        text += kWords[word(rng)];
      }
    }
    text += kEnds[end(rng)];
  }
  return text;
}

class ParallelReadingTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() { LoadProgramTexts(DataDir() + "/talq.dat"); }

  void SetUp() override {
    root = fs::temp_directory_path() / ("talq_parallel_" + std::to_string(::getpid()));
    fs::remove_all(root);
    const fs::path tree = root / "tree";
    Write(tree / "a.txt", GeneratedText(40000, 1));
    Write(tree / "b_crlf.txt", "One two, three.\r\nTwo three four.\r\n\r\nthe END\r\n");
    Write(tree / "c.c", "int the; /* a comment\n across lines */ // the rest\nreturn zebra;\n");
    Write(tree / "d.htm",
          "<!DOCTYPE html><html><head><meta charset=\"utf-8\"><title>head words</title>"
          "</head>\n<body><p>caf&eacute; the <!-- hidden\nstill hidden --> harbour</p>\n");
    Write(tree / "e_empty.txt", "");
    Write(tree / "f.bin", std::string("\x01\x02\x03\x04\x05\x06 binary", 13));
    Write(tree / "g_ansi.txt", "caf\xE9 na\xEFve \xC6r\xF8 the end\n");
    Write(tree / "h_utf16.txt", std::string("\xFF\xFE" "t\0h\0e\0 \0s\0e\0a\0\n\0", 18));
    Write(tree / "sub" / "i.txt", GeneratedText(30000, 2));
    Write(tree / "sub" / "deeper" / "j.txt", "zebra the Zebra");
    Write(root / "big.txt", "\xEF\xBB\xBF" + GeneratedText(700000, 3));
  }
  void TearDown() override { fs::remove_all(root); }

  struct Outcome {
    std::string table, report;
    std::vector<std::string> log;
  };

  // One whole count with `jobs` threads after `configure` set the settings.
  Outcome Count(int jobs, bool folder, const std::function<void(Session&)>& configure) {
    LoggingHost host;
    Session s(host);
    FillSettingChoices(s.settings);
    s.settings.chkDisableOutputToFile = 1;
    if (folder) {
      s.settings.source = Source::optFolder;
      s.settings.txbFolder = (root / "tree").string();
      s.settings.chkIncludeSubfolders = 1;
    } else {
      s.settings.source = Source::optInFile;
      s.settings.txbFile[0] = (root / "big.txt").string();
    }
    s.sources.intJobs = jobs;
    s.sources.lngChunkBytes = 64 << 10;
    configure(s);
    const RunResult r = CountWords(s);
    EXPECT_TRUE(RunSucceeded(r)) << static_cast<int>(r);
    return Outcome{DumpWordTable(s.words), host.TxbText(), host.log};
  }

  fs::path root;
};

TEST_F(ParallelReadingTest, FourThreadsGiveWhatOneGives) {
  struct Case {
    const char* name;
    std::function<void(Session&)> configure;
  };
  const Case cases[] = {
      {"defaults", [](Session&) {}},
      {"case, numerals, hyphens, apostrophes, periods",
       [](Session& s) {
         s.settings.chkCaseSignificant = 1;
         s.settings.chkAllowWordsWithNumerals = 1;
         s.settings.chkAllowWordsWithHyphens = 1;
         s.settings.chkAllowWordsWithApostrophes = 1;
         s.settings.chkAllowWordsWithPeriods = 1;
         s.settings.chkIgnoreShortWords = 0;
       }},
      {"7-bit only, words to ignore by pattern, live display",
       [](Session& s) {
         s.settings.chkOnly7bitASCII = 1;
         s.settings.chkSuppressWords = 0;
         s.settings.txbWordsToIgnoreOrCount[0] = "th~ z?bra <^w[0-9]+7$>";
       }},
      {"count-only phrases (read on one thread)",
       [](Session& s) { s.settings.txbWordsToIgnoreOrCount[1] = "harbour zebra the+harbour"; }},
  };
  for (const Case& c : cases) {
    for (bool folder : {true, false}) {
      SCOPED_TRACE(std::string(c.name) + (folder ? ", folder" : ", large file"));
      const Outcome one = Count(1, folder, c.configure);
      const Outcome four = Count(4, folder, c.configure);
      EXPECT_NE(one.table, "");
      EXPECT_EQ(four.table, one.table);
      EXPECT_EQ(four.report, one.report);
      EXPECT_EQ(four.log, one.log);
    }
  }
}

// Tables large enough for the passes after counting to split between threads (settling the
// per-file counts, sorting, filtering, chaining, listing to the file and to the box): 16
// files of 3,000 distinct words each from 10,000, listed in three formats and both orders.
TEST_F(ParallelReadingTest, FourThreadsSettleSortAndListLargeTablesAsOneDoes) {
  const fs::path wide = root / "wide";
  std::mt19937 rng(7);
  for (int f = 0; f < 16; ++f) {
    std::string text;
    for (int k = 0; k < 3000; ++k) {
      unsigned n = static_cast<unsigned>(rng() % 10000);
      std::string word = "q";
      for (; n > 0 || word.size() < 4; n /= 26) word += static_cast<char>('a' + n % 26);
      text += word + (k % 12 == 11 ? "\n" : " ");
    }
    Write(wide / ("f" + std::to_string(f) + ".txt"), text);
  }
  struct Case {
    int format, order;
  };
  for (const Case c : {Case{0, 0}, Case{13, 0}, Case{1, 1}}) {
    SCOPED_TRACE("format " + std::to_string(c.format) + ", order " + std::to_string(c.order));
    std::string files[2];
    Outcome outcomes[2];
    for (int run = 0; run < 2; ++run) {
      const fs::path out = root / ("out" + std::to_string(run) + ".txt");
      outcomes[run] = Count(run == 0 ? 1 : 4, true, [&](Session& s) {
        s.settings.txbFolder = wide.string();
        s.settings.chkDisableOutputToFile = 0;
        s.settings.txbFile[1] = out.string();
        s.settings.cboDisplayFormat = c.format;
        s.settings.cboWordOrder = c.order;
      });
      std::ifstream in(out, std::ios::binary);
      files[run].assign(std::istreambuf_iterator<char>(in), {});
      fs::remove(out);
    }
    EXPECT_GT(files[0].size(), 40000u);
    EXPECT_EQ(files[1], files[0]);
    EXPECT_EQ(outcomes[1].table, outcomes[0].table);
    EXPECT_EQ(outcomes[1].report, outcomes[0].report);
    EXPECT_EQ(outcomes[1].log, outcomes[0].log);
  }
}

TEST(LineStartTest, CutsOnlyAfterAWholeLineEnding) {
  const fs::path path = fs::temp_directory_path() / ("talq_cuts_" + std::to_string(::getpid()));
  const std::string text = "ab\r\ncd\ref\ngh";
  Write(path, text);
  const std::int64_t n = static_cast<std::int64_t>(text.size());
  // Position -> the line start at or after it.
  const std::vector<std::pair<std::int64_t, std::int64_t>> cases = {
      {0, 0}, {1, 4}, {3, 4}, {4, 4}, {5, 7}, {7, 7}, {8, 10}, {10, 10}, {11, n}, {n, n}};
  for (const auto& [p, start] : cases) EXPECT_EQ(LineStartAtOrAfter(path.string(), p, n), start) << p;
  fs::remove(path);
}

}  // namespace
}  // namespace talq
