// Report layouts: cells, columns, summaries and the messages around a listing (the
// listings themselves are checked end to end against goldens in tests/cli).
#include "report_fixture.h"
#include "reports/display_controls.h"
#include "reports/report_formats.h"
#include "reports/report_sinks.h"
#include "support/shown_messages.h"
#include "util/numbers.h"

namespace talq::testing {
namespace {

using FormatsTest = ReportTest;

// Common logarithms and relative frequencies are pinned by the goldens (tests/cli).
TEST_F(FormatsTest, NaturalLogarithmColumns) {
  FillTable(s, {{"/f/a.txt", "one", 5}, {"/f/a.txt", "ten", 10}, {"/f/a.txt", "x", 185}});
  const std::int64_t ten = 2;  // the index after the key sort: one, ten, x
  ASSERT_EQ(s.words.udtWords[ten].strWord, "ten");
  SetColumnWidths(s);
  s.settings.chkUseLog10 = 0;
  EXPECT_EQ(LogRankColumn(s, 0), "   LN(R)");
  EXPECT_EQ(LogFreqColumn(s, ten), "  2.3026");
}

TEST_F(FormatsTest, FolderOfThirteenCharactersIsNotAbbreviated) {
  FillTable(s, {{"/data/corpus1/a.txt", "word", 2}});
  s.settings.txbFolder = "/data/corpus1";  // 13 characters
  s.settings.cboDisplayFormat = 12;
  ListWords(s);
  EXPECT_EQ(host.TxbText(),
            "1 file (in 1 folder) was scanned.\n\n\nword\n    /data/corpus1/a.txt\n\n");
}

TEST_F(FormatsTest, FormatThirteenKeepsLargeCountsWhole) {
  FillTable(s, {{"/d/a.txt", "w", 3}, {"/d/b.txt", "w", 123456}, {"/d/c.txt", "w", 40}});
  s.settings.txbFolder = "/d";
  s.settings.cboDisplayFormat = 13;
  ListWords(s);
  EXPECT_NE(host.TxbText().find("w\n    123456 /d/b.txt\n       40 /d/c.txt\n        3 /d/a.txt"),
            std::string::npos)
      << host.TxbText();
}

TEST_F(FormatsTest, FilesScannedText) {
  s.reports.lngNumFilesScanned = 1204;
  s.reports.intNumFoldersScanned = 3;
  EXPECT_EQ(MakeFilesScannedText(s), "1,204 files (in 3 folders) were scanned.\n\n");
  s.reports.lngNumFilesScanned = 2;
  s.reports.intNumFoldersScanned = 1;
  s.reports.blnCountingStopped = s.run.blnCountingMFP = true;
  EXPECT_EQ(MakeFilesScannedText(s), "2 files (in 1 folder) were scanned.\n"
                                     "Counting was stopped and this list is incomplete.\n");
}

TEST_F(FormatsTest, PhraseCountSummary) {
  struct Case {
    int phrases, a, b, t, longest;
    bool ignore, strip, containing, only;
    std::string want;
  } cases[] = {
      {1, 3, 3, 2, 3, true, false, true, false,
       "There is one phrase of 3 words which occurs at least twice\n"
       "when phrases containing a word to ignore are excluded.\n\n"},
      {0, 2, 3, 1, 0, true, false, false, true,
       "There are no phrases with 2 to 3 words which occur at least once\n"
       "when phrases consisting entirely of words to ignore are excluded.\n\n"
       "You could try repeating the count without excluding phrases consisting entirely of "
       "words to ignore."},
      {3, 2, 2, 2, 2, true, true, false, false,
       "There are 3 phrases of 2 words which occur at least twice when words to ignore are "
       "excluded.\n\n"},
  };
  s.run.blnCountingMFP = true;
  for (const auto& c : cases) {
    std::vector<std::tuple<std::string, std::string, int>> adds;
    for (int k = 0; k < c.phrases; ++k) {
      std::string phrase = "p";
      phrase += std::to_string(k);
      adds.emplace_back("/d/a.txt", phrase, 1);
    }
    FillTable(s, adds);
    s.reports.intNumWordsInLongestPhrase = c.longest;
    s.reports.strHowManyPhrases.clear();
    host.TxbClear();
    s.run.blnThereAreWordsToIgnore = c.ignore;
    PhraseCountFigures f{c.a, c.b, c.t, c.strip, c.containing, c.only};
    EXPECT_EQ(MakePhraseCountSummary(s, f), c.want);
    // Found phrases head the listing; none found replaces the text box.
    EXPECT_EQ(s.reports.strHowManyPhrases, c.phrases > 0 ? c.want : "");
    EXPECT_EQ(host.TxbText(), c.phrases > 0 ? "" : c.want);
  }
}

// A relisting after the filters changed may find nothing left to list.
TEST_F(FormatsTest, NothingFound) {
  FillTable(s, {{"/d/a.txt", "zz", 1}}, {"zz"});
  s.settings.chkIgnoreShortWords = 1;
  s.settings.cboShortWordSize = 1;
  ListWords(s);
  EXPECT_EQ(host.TxbText(),
            "No words with at least 3 characters\nsatisfying the specified conditions were found.");
}

TEST_F(FormatsTest, RelistAfterStoppedCountTellsTheListIsIncomplete) {
  FillStandardTable(s);
  s.reports.blnCountingStopped = true;
  RelistIfReady(s);
  EXPECT_EQ(test::Shown(host), test::Lines{ProgramText(23) + ": " + ProgramText(22)});
  EXPECT_NE(host.TxbText().find("Counting was stopped and this list is incomplete."),
            std::string::npos);
  s.reports.blnSettingDisplayFormat = true;
  host.TxbClear();
  RelistIfReady(s);
  EXPECT_EQ(host.TxbText(), "");
}

// Former fault: "Sort by number of files instead of frequency" changed no order.
TEST_F(FormatsTest, SortByNumberOfFilesOrdersFormatThirteen) {
  struct Case {
    int format, box;
    Source source;
    const char* words;  // in listed order
  };
  for (const Case& c : {Case{13, 1, Source::optFolder, "cat dog the"},
                        Case{13, 0, Source::optFolder, "the cat dog"},
                        Case{12, 1, Source::optFolder, "the cat dog"},
                        Case{13, 1, Source::optInFile, "the cat dog"}}) {
    FillTable(s, {{"/d/a.txt", "the", 9}, {"/d/a.txt", "cat", 1}, {"/d/b.txt", "cat", 1},
                  {"/d/c.txt", "cat", 1}, {"/d/a.txt", "dog", 1}, {"/d/b.txt", "dog", 2}});
    s.settings.source = c.source;
    s.settings.cboDisplayFormat = c.format;
    s.settings.chkSortByNumberOfFiles = c.box;
    ListWordsByFrequency(s);
    std::string words, line;
    std::istringstream lines(host.TxbText());
    while (std::getline(lines, line))
      if (line == "the" || line == "cat" || line == "dog") words += (words.empty() ? "" : " ") + line;
    EXPECT_EQ(words, c.words) << c.format << c.box << int(c.source);
    EXPECT_EQ(s.words.udtWords[s.words.lngFirstFreq].strWord, "the");  // ranks unchanged
  }
}

// The frequency listing goes by the chain's links: ranks that disagree with them (a table
// chained by hand) do not reorder it, and a chain that ends early ends the listing.
TEST_F(FormatsTest, FrequencyListingFollowsTheLinks) {
  FillTable(s, {{"/d/a.txt", "the", 9}, {"/d/a.txt", "cat", 5}, {"/d/a.txt", "dog", 2}});
  s.settings.source = Source::optInFile;  // no line of files scanned
  s.settings.cboDisplayFormat = 3;        // rank and word
  const auto listed = [&] {
    ListWordsByFrequency(s);
    std::string words, line;
    std::istringstream lines(host.TxbText());
    while (std::getline(lines, line))
      if (line.size() > 4 && line.find("Word") == std::string::npos)
        words += (words.empty() ? "" : " ") + line.substr(line.find_last_of(' ') + 1);
    return words;
  };
  EXPECT_EQ(listed(), "the cat dog");
  auto& w = s.words.udtWords;
  const std::int64_t the = s.words.lngFirstFreq, cat = w[the].lngNextInChain,
                     dog = w[cat].lngNextInChain;
  // Ranks as before throughout.
  w[the].lngNextInChain = dog;
  w[dog].lngNextInChain = cat;
  w[cat].lngNextInChain = 0;
  EXPECT_EQ(listed(), "the dog cat");
  s.words.lngFirstFreq = dog;
  w[dog].lngNextInChain = the;
  w[the].lngNextInChain = cat;
  EXPECT_EQ(listed(), "dog the cat");
  s.words.lngFirstFreq = the;
  w[the].lngNextInChain = cat;
  w[cat].lngNextInChain = 0;
  EXPECT_EQ(listed(), "the cat");
}

}  // namespace
}  // namespace talq::testing
