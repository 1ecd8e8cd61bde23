#include "engine/word_table.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <iterator>
#include <map>
#include <random>
#include <string>
#include <vector>

#include "host/scripted_host.h"
#include "settings/run_flags.h"
#include "settings/settings.h"
#include "support/table_dump.h"

namespace talq {
namespace {

// prefix followed by n in decimal.
std::string Num(const char* prefix, int n) {
  std::string s(prefix);
  s += std::to_string(n);
  return s;
}

class WordTableTest : public ::testing::Test {
 protected:
  WordTableTest() {
    settings.source = Source::optInFile;
    settings.chkSuppressWords = 1;
  }

  WordTableContext Ctx(bool countingText = true) {
    return WordTableContext{&host, &settings, &run, countingText};
  }
  void Add(std::initializer_list<const char*> words) {
    for (const char* w : words) table.AddWordToList(Ctx(), w);
  }
  const WordRecord& Rec(std::string_view word) {
    const std::int64_t i = table.IndexOf(word);
    EXPECT_NE(i, 0) << word;
    return table.udtWords.at(static_cast<std::size_t>(i));
  }
  // Entries in table order.
  static std::vector<std::string> Words(const WordTable& t) {
    std::vector<std::string> out;
    for (std::int64_t i = 1; i <= t.lngNumWords; ++i) out.push_back(t.udtWords[i].strWord);
    return out;
  }
  // (file number, count) pairs of an entry.
  static std::vector<std::pair<std::int64_t, std::int64_t>> Files(const WordRecord& r) {
    std::vector<std::pair<std::int64_t, std::int64_t>> out;
    for (std::int64_t i = 0; i < r.NumFiles(); ++i) out.emplace_back(r.FileNumber(i), r.FileCount(i));
    return out;
  }
  // Walks the chain from lngFirstFreq.
  std::vector<std::string> Chain() const {
    std::vector<std::string> out;
    for (std::int64_t i = table.lngFirstFreq; i != 0; i = table.udtWords[i].lngNextInChain) {
      out.push_back(table.udtWords[i].strWord);
      if (out.size() > table.udtWords.size()) break;  // a cycle
    }
    return out;
  }

  ScriptedHost host;
  Settings settings;
  RunFlags run;
  WordTable table;
};

using FileList = std::vector<std::pair<std::int64_t, std::int64_t>>;

TEST_F(WordTableTest, CaseSignificantWordsAreDistinctAndUpperCaseSortsFirst) {
  Add({"the", "The", "the"});
  ASSERT_EQ(table.lngNumWords, 2);
  EXPECT_EQ(Rec("The").lngFrequency, 1);
  EXPECT_EQ(Rec("the").lngFrequency, 2);
  table.SortByWord();
  EXPECT_EQ(Words(table), (std::vector<std::string>{"The", "the"}));
  // Equal sort keys fall back to the words' code points, so the order is fixed.
  table.SortWordsByKey();
  EXPECT_EQ(Words(table), (std::vector<std::string>{"The", "the"}));
  EXPECT_EQ(table.udtWords[1].strSortKey, "the");
  EXPECT_EQ(table.udtWords[2].strSortKey, "the");
}

TEST_F(WordTableTest, PerFileDataOnlyForCountedTextAndNoFileRegistryOutsideFolders) {
  Add({"solo", "solo"});  // single-file source: no registration, file number 0
  EXPECT_EQ(table.NumFilesRegistered(), 0);
  EXPECT_EQ(Files(Rec("solo")), (FileList{{0, 2}}));
  table.AddWordToList(Ctx(false), "listed");
  EXPECT_EQ(Rec("listed").NumFiles(), 0);
}

TEST_F(WordTableTest, TablesChangedByHandStayConsistent) {
  WordRecord made;
  made.strWord = "given";
  made.lngFrequency = 5;
  table.udtWords.push_back(made);
  table.lngNumWords = 1;
  Add({"given", "new"});
  EXPECT_EQ(Rec("given").lngFrequency, 6);
  EXPECT_EQ(table.lngNumWords, 2);
  table.lngNumWords = 0;  // emptied without Clear()
  Add({"again"});
  EXPECT_EQ(Words(table), (std::vector<std::string>{"again"}));
  EXPECT_EQ(table.IndexOf("given"), 0);
}

// Entries added whole (a phrase run's) bypass the index; lookups and later counts still
// find them, and counts pending before them are kept.
TEST_F(WordTableTest, EntriesAddedWholeAreFoundAndCountedOn) {
  Add({"a", "a"});
  table.AddEntry("b c", {{0, 3}});
  table.AddEntry("d", {{0, 1}});
  EXPECT_EQ(Rec("a").lngFrequency, 2);
  EXPECT_EQ(Rec("b c").lngFrequency, 3);
  Add({"d", "e"});
  EXPECT_EQ(Rec("d").lngFrequency, 2);
  EXPECT_EQ(Words(table), (std::vector<std::string>{"a", "b c", "d", "e"}));
}

TEST_F(WordTableTest, ManyFilesAndLargeCountsAreNotCapped) {
  settings.source = Source::optFolder;
  // Over a million per-file counts: they reach the records in several batches.
  for (int f = 0; f < 700005; ++f) {
    run.strCurrentFile = Num("/f", f);
    if (f % 3 != 1) Add({"w"});
    Add({"v"});
  }
  for (int k = 0; k < 100005; ++k) Add({"w"});
  const WordRecord& w = Rec("w");
  EXPECT_EQ(w.NumFiles(), 466670);
  EXPECT_EQ(w.FileNumber(200002), 300004);
  EXPECT_EQ(w.FileCount(400002), 1);
  EXPECT_EQ(w.FileNumber(466669), 700005);
  EXPECT_EQ(w.FileCount(466669), 100006);
  EXPECT_EQ(w.lngFrequency, 566675);
  EXPECT_EQ(Rec("v").NumFiles(), 700005);
  // Counts past 32 bits arrive in batches.
  WordBatch part;
  part.Add("big", 5'000'000'000);
  table.CountBatch(Ctx(), part);
  table.CountBatch(Ctx(), part);
  EXPECT_EQ(Rec("big").lngFrequency, 10'000'000'000);
  EXPECT_EQ(Files(Rec("big")), (FileList{{700005, 10'000'000'000}}));
}

TEST_F(WordTableTest, AgreesWithReferenceCounterOnManyDistinctWords) {
  std::mt19937 rng(7);
  std::map<std::string, std::int64_t> reference;
  std::map<std::string, FileList> files;  // enough file changes to settle in bulk
  settings.source = Source::optFolder;
  std::uniform_int_distribution<int> pick(0, 2999);
  for (int k = 0; k < 40000; ++k) {
    run.strCurrentFile = Num("/f", k / 97);
    const std::int64_t file = k / 97 + 1;
    // Mixed lengths, including ones past the inline hash path, words of one length that
    // differ only after their first 8 or 16 bytes, and some non-ASCII words.
    const int n = pick(rng);
    std::string w = n % 2 ? Num("w", n) + std::string(static_cast<std::size_t>(n % 23), 'x')
                          : std::string(static_cast<std::size_t>(n % 19), 'p') + Num("", n);
    if (n % 7 == 0) w += "é";
    table.AddWordToList(Ctx(), w);
    ++reference[w];
    FileList& f = files[w];
    if (f.empty() || f.back().first != file) f.emplace_back(file, 0);
    ++f.back().second;
  }
  ASSERT_EQ(table.lngNumWords, static_cast<std::int64_t>(reference.size()));
  table.SortByWord();
  std::int64_t i = 1;
  for (const auto& [word, count] : reference) {
    EXPECT_EQ(table.udtWords[i].strWord, word);
    EXPECT_EQ(table.udtWords[i].lngFrequency, count);
    EXPECT_EQ(Files(table.udtWords[i]), files[word]) << word;
    ++i;
  }
  // Lookups still work after the table was reordered, and counting may go on.
  const std::string some = std::next(reference.begin(), 1234)->first;
  EXPECT_EQ(table.udtWords[table.IndexOf(some)].strWord, some);
  table.AddWordToList(Ctx(), some);
  EXPECT_EQ(Rec(some).lngFrequency, reference[some] + 1);
  EXPECT_EQ(table.lngNumWords, static_cast<std::int64_t>(reference.size()));
}

TEST_F(WordTableTest, LengthLimitCountsCharactersWithItsExceptions) {
  const std::string a100(100, 'a'), a101(101, 'a');
  std::string e100, e101;
  for (int k = 0; k < 100; ++k) e100 += "é";
  e101 = e100 + "é";
  struct Case {
    const char* name;
    std::string word;
    bool countingText;
    bool countOnlyPhrases;
    bool counted;
  };
  const Case cases[] = {
      {"100 chars", a100, true, false, true},
      {"101 chars", a101, true, false, false},
      {"100 two-byte chars", e100, true, false, true},
      {"101 two-byte chars", e101, true, false, false},
      {"101 chars while a list is read", a101, false, false, true},
      {"101 chars under count-only phrases", a101, true, true, true},
  };
  for (const Case& c : cases) {
    for (bool later : {false, true}) {
      table.Clear();
      run.blnThereAreCountOnlyWords = c.countOnlyPhrases;
      run.blnCountOnlyWordsIncludePhrase = c.countOnlyPhrases;
      if (later) {
        table.AddWordLater(Ctx(c.countingText), c.word);
        EXPECT_EQ(table.lngNumWords, 0) << c.name << ", not yet counted";
        table.CountBatch(Ctx(c.countingText), table.TakeBatch());
      } else {
        table.AddWordToList(Ctx(c.countingText), c.word);
      }
      EXPECT_EQ(table.lngNumWords, c.counted ? 1 : 0) << c.name << (later ? ", later" : "");
    }
  }
}

TEST_F(WordTableTest, SortKeyFoldsAccentsAndCaseAndChainTiesFollowIt) {
  Add({"zeta", "etudes", "Étude", "apple", "etudes", "apple", "Étude", "apple", "big"});
  for (int k = 0; k < 4; ++k) Add({"big"});
  table.SortWordsByKey();
  EXPECT_EQ(Words(table), (std::vector<std::string>{"apple", "big", "Étude", "etudes", "zeta"}));
  EXPECT_EQ(Rec("Étude").strSortKey, "etude");
  table.udtWords[table.IndexOf("big")].blnIncluded = false;
  table.SetUpFrequencyChain(&host);
  EXPECT_EQ(Chain(), (std::vector<std::string>{"apple", "Étude", "etudes", "zeta"}));
}

TEST_F(WordTableTest, ChainMatchesAStableSortByFrequency) {
  std::mt19937 rng(11);
  std::uniform_int_distribution<int> word(0, 2499), coin(0, 3);
  for (int k = 0; k < 20000; ++k) table.AddWordToList(Ctx(), Num("v", word(rng)));
  table.SortWordsByKey();
  std::vector<std::int64_t> order;  // included entries, most frequent first, ties in table order
  for (std::int64_t i = 1; i <= table.lngNumWords; ++i) {
    table.udtWords[i].blnIncluded = coin(rng) != 0;
    if (table.udtWords[i].blnIncluded) order.push_back(i);
  }
  std::stable_sort(order.begin(), order.end(), [&](std::int64_t a, std::int64_t b) {
    return table.udtWords[a].lngFrequency > table.udtWords[b].lngFrequency;
  });
  table.SetUpFrequencyChain(&host);
  std::vector<std::int64_t> walked;
  for (std::int64_t i = table.lngFirstFreq; i != 0 && walked.size() <= order.size();
       i = table.udtWords[i].lngNextInChain) {
    walked.push_back(i);
    EXPECT_EQ(table.udtWords[i].lngFreqRank, static_cast<std::int64_t>(walked.size()));
  }
  EXPECT_EQ(walked, order);
  for (std::int64_t i = 1; i <= table.lngNumWords; ++i)  // excluded entries have no rank
    EXPECT_TRUE(table.udtWords[i].blnIncluded || table.udtWords[i].lngFreqRank == 0) << i;
  // One progress mark per 1000 links.
  std::string marks;
  for (std::size_t k = 0; k < (order.size() - 1) / 1000; ++k) marks += " .";
  EXPECT_EQ(host.TxbText(), marks);
}

TEST_F(WordTableTest, ProgressLabelTexts) {
  struct Case {
    bool countOnly, phrases, mfp, countingText;
    int words;
    const char* label;  // nullptr: none shown
  };
  const Case cases[] = {
      {false, false, false, true, 9, nullptr},
      {false, false, false, true, 10, "Number of different words found so far: 10"},
      {false, false, false, true, 1000, "Number of different words found so far: 1,000"},
      {true, true, false, true, 1, "One word or phrase found so far."},
      {true, true, false, true, 2, "Number of different words/phrases found so far: 2"},
      {true, false, false, true, 1, "One word found so far."},
      {false, false, true, true, 20, nullptr},  // a phrase count
      {false, false, false, false, 10, "Number of words read so far: 10"},  // a list read
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(::testing::Message() << c.words << " words, " << (c.label ? c.label : "none"));
    table.Clear();
    host.labels.clear();
    run.blnThereAreCountOnlyWords = c.countOnly;
    run.blnCountOnlyWordsIncludePhrase = c.phrases;
    run.blnCountingMFP = c.mfp;
    for (int k = 1; k <= c.words; ++k) table.AddWordToList(Ctx(c.countingText), Num("w", k));
    const auto shown = host.labels.find("lblNumberOfWords");
    EXPECT_EQ(shown == host.labels.end() ? "(none)" : shown->second, c.label ? c.label : "(none)");
  }
}

TEST_F(WordTableTest, LiveDisplayShowsNewWordsOncePerSecond) {
  settings.chkSuppressWords = 0;
  Add({"a", "b", "c", "d", "c"});  // "a" is the first entry, "b" opens second 0
  EXPECT_EQ(host.TxbText(), "");
  run.lngSecondsElapsed = 1;
  Add({"e", "f"});
  EXPECT_EQ(host.TxbText(), "c, d, ");
  run.lngSecondsElapsed = 2;
  Add({"g"});
  EXPECT_EQ(host.TxbText(), "c, d, f, ");

  settings.chkSuppressWords = 1;
  run.lngSecondsElapsed = 3;
  Add({"h", "i"});
  EXPECT_EQ(host.TxbText(), "c, d, f, ");

  settings.chkSuppressWords = 0;
  host.TxbSet(std::string(64990, 'x'));
  Add({"j", "k", "l", "m", "n", "o"});
  run.lngSecondsElapsed = 4;
  Add({"p"});  // the box passes 65000 characters and is emptied
  EXPECT_EQ(host.TxbLength(), 0u);
}

TEST(FindWordTest, PositionsFollowTheInsertionPoint) {
  const std::vector<std::string> words = {"", "b", "d", "f"};
  const std::vector<std::string> one = {"", "m"};
  struct Case {
    const std::vector<std::string>* list;
    std::int64_t count;
    const char* key;
    bool found;
    std::int64_t position;
  };
  const Case cases[] = {
      {&words, 0, "b", false, -1}, {&words, 3, "a", false, -1}, {&words, 3, "b", true, 1},
      {&words, 3, "c", false, -2}, {&words, 3, "d", true, 2},    {&words, 3, "e", false, -3},
      {&words, 3, "f", true, 3},   {&words, 3, "g", false, -4},  {&words, 2, "f", false, -3},
      {&one, 1, "m", true, 1},     {&one, 1, "a", false, -1},    {&one, 1, "z", false, -2},
      {&words, 3, "B", false, -1},  // ordinal: upper case sorts first
  };
  for (const Case& c : cases) {
    std::int64_t position = 0;
    EXPECT_EQ(FindWord(c.key, *c.list, c.count, position), c.found) << c.key << " " << c.count;
    EXPECT_EQ(position, c.position) << c.key << " " << c.count;
  }
}

// "/A" is another file than "/a": paths are compared exactly.
TEST_F(WordTableTest, CountsKeptApartReachTheRecordsInFileOrder) {
  settings.source = Source::optFolder;
  const char* steps[][2] = {{"/a", "x"}, {"/a", "x"}, {"/A", "y"}, {"/c", "x"}, {"/c", "x"},
                            {"/c", "x"}, {"/d", "y"}, {"/d", "x"}};
  for (const auto& [file, word] : steps) {
    run.strCurrentFile = file;
    Add({word});
  }
  EXPECT_EQ(DumpWordTable(table), "x\t6\t0\t1:2 3:3 4:1\ny\t2\t0\t2:1 4:1\n");
  EXPECT_EQ(table.NumFilesRegistered(), 4);
  EXPECT_EQ(table.FileName(2), "/A");
  // Settling twice changes nothing; counting goes on after it.
  table.SettleCounts();
  Add({"x"});
  EXPECT_EQ(DumpWordTable(table), "x\t7\t0\t1:2 3:3 4:2\ny\t2\t0\t2:1 4:1\n");
}

}  // namespace
}  // namespace talq
