#include "lists/word_lists.h"
#include "run/counting_run.h"

#include <gtest/gtest.h>

#include <functional>

#include "engine/extraction.h"
#include "host/scripted_host.h"
#include "lists/list_history.h"
#include "lists/list_lookup_impl.h"
#include "lists/patterns.h"
#include "run/session.h"
#include "support/shown_messages.h"
#include "support/table_dump.h"
#include "support/temp_files.h"
#include "text/word_chars.h"
#include "util/program_texts.h"
#include "util/utf8.h"

namespace talq {
namespace {

class WordListsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    session.settings.blnStartUpCompleted = true;
    host.answers.push_back(MsgAnswer::No);  // "Do you wish to list them?"
  }

  bool Load(int index, const std::string& content) {
    path_ = temp_.Write(index == kWordsToIgnore ? "ignore.txt" : "only.txt", content);
    return LoadListFile(session, index, path_);
  }
  std::vector<std::string> Entries(int index) {
    const auto& v = session.lists.Loaded(index);
    return {v.begin() + 1, v.begin() + 1 + session.lists.LoadedCount(index)};
  }
  std::vector<std::string> Extras(int index) {
    const auto& v = session.lists.Extra(index);
    return {v.begin() + 1, v.begin() + 1 + session.lists.ExtraCount(index)};
  }
  // Counts lines in s as the file reader hands them over.
  static std::string Count(Session& s, const std::vector<std::string>& lines) {
    BuildAllowedExtraChars(s.settings, s.extraction.strAllowedExtraChars);
    SetAllowedExtraChars2(s.settings, s.extraction.strAllowedExtraChars);
    SetThereAreListFlags(s);
    InstallWordLists(s);
    if (s.run.blnThereAreCountOnlyWords) SetPhraseWindow(s, CountOnlyPhraseWindow(s.lists));
    s.words.Clear();
    for (const std::string& line : lines) {
      s.extraction.strLine = DecodeUtf8(line) + U" ";
      ProcessLine(s);
    }
    return WordCounts(s.words);
  }

  ScriptedHost host;
  Session session{host};
  test::TempDir temp_;
  std::string path_;
};

TEST_F(WordListsTest, WildcardRefusedInCountOnlyFileButAcceptedTypedOrInsideExpression) {
  EXPECT_FALSE(Load(kCountOnly, "apple\ncolou?r\n"));
  EXPECT_EQ(test::Shown(host),
            test::Lines{"Error when reading count-only words/phrases: The file " + path_ +
                        "\n contains words with wildcards: * ?\n\nEither these "
                        "should be removed or regular expressions\nshould be "
                        "used instead of simple patterns."});
  EXPECT_EQ(session.lists.lngNumCountOnlyWords, 0);
  EXPECT_EQ(session.lists.strLoadedFile[kCountOnly], "");
  EXPECT_TRUE(session.settings.cboWordsFile[kCountOnly].items.empty());

  session.settings.txbWordsToIgnoreOrCount[kCountOnly] = "colou?r";
  ASSERT_TRUE(GetExtraWords(session, kCountOnly));
  EXPECT_EQ(Extras(kCountOnly), (std::vector<std::string>{"colou?r"}));

  // The refusal looks only outside angle brackets; a plain-letter expression is no tag.
  host.answers.push_back(MsgAnswer::No);
  ASSERT_TRUE(Load(kCountOnly, "<colou?r>, <abc>\n// what? a comment\n"));
  EXPECT_EQ(Entries(kCountOnly), (std::vector<std::string>{"<abc>", "<colou?r>"}));

  // Words to ignore take no angle brackets at all.
  EXPECT_FALSE(Load(kWordsToIgnore, "the\n<b>\n"));
  EXPECT_TRUE(session.lists.blnWordsToIgnoreFileContainsAngleBrackets);
  EXPECT_EQ(host.messages.back().text,
            "Error when attempting to load words-to-ignore\nfrom file " + path_);
}

TEST_F(WordListsTest, WordsToIgnoreFileFoldsCaseRemovesCommentsAndSplitsAtTabs) {
  ASSERT_TRUE(Load(kWordsToIgnore,
                   "The\nTHE\nthe\n/* header <b>\n still comment */ alpha // beta <i>\n"
                   "gamma\tdelta\nun~ ?x\n"));
  EXPECT_EQ(Entries(kWordsToIgnore),
            (std::vector<std::string>{"?x", "alpha", "delta", "gamma", "the", "un~"}));
  EXPECT_TRUE(session.lists.blnWordsToIgnoreFileContainsWildcards);
  EXPECT_TRUE(host.messages.empty());
}

TEST_F(WordListsTest, InadmissibleExpressionSkipsItsLineOnly) {
  ASSERT_TRUE(Load(kCountOnly, "<a.b> x\napple\n"));
  EXPECT_EQ(Entries(kCountOnly), (std::vector<std::string>{"apple"}));
  ASSERT_GE(host.messages.size(), 1u);
  EXPECT_EQ(host.messages[0].title, path_ + " inadmissible regular expression");
  EXPECT_TRUE(host.messages[0].text.ends_with("\nThe following line will be ignored:\n<a.b> x"));
}

TEST_F(WordListsTest, CountOnlyEntriesSwitchOnTheirCharacters) {
  session.settings.chkAllowWordsWithAmpersands = 0;
  session.settings.chkAllowWordsWithNumerals = 0;
  ASSERT_TRUE(Load(kCountOnly, "at&t\nr2-d2\n<a:b>\n"));
  EXPECT_EQ(session.settings.chkAllowWordsWithAmpersands, 1);
  EXPECT_EQ(session.settings.chkAllowWordsWithNumerals, 1);
  EXPECT_EQ(session.settings.chkAllowWordsWithHyphens, 1);
  EXPECT_EQ(session.settings.chkAllowWordsWithPeriods, 0);
  EXPECT_EQ(session.settings.chkAllowWordsWithColons, 0);  // only inside an expression
  // Borrowed settings are back.
  EXPECT_EQ(session.settings.chkAllowCommentMarkers, 0);
  EXPECT_FALSE(session.run.blnReadingWords);
}

TEST_F(WordListsTest, RecordedFrequenciesSplitOffInReportFormats) {
  session.settings.cboDisplayFormat = 5;
  ASSERT_TRUE(Load(kCountOnly, "1 120 The\n2 80 new york\n"));
  EXPECT_TRUE(session.lists.blnCountOnlyWordsIncludeRecommendedFrequencies);
  EXPECT_EQ(Entries(kCountOnly), (std::vector<std::string>{"new+york", "the"}));
  EXPECT_EQ(session.lists.strRecommendedFrequencies[1].strWord, "new york");
  EXPECT_EQ(session.lists.strRecommendedFrequencies[1].strFrequency, "  2 80");
}

TEST_F(WordListsTest, ExtraEntries) {
  Settings& s = session.settings;
  s.txbWordsToIgnoreOrCount[kWordsToIgnore] = "  viz  Ibid sans ";
  ASSERT_TRUE(GetExtraWords(session, kWordsToIgnore));
  EXPECT_EQ(Extras(kWordsToIgnore), (std::vector<std::string>{"ibid", "sans", "viz"}));
  EXPECT_EQ(s.txbWordsToIgnoreOrCount[kWordsToIgnore], "viz  Ibid sans");

  s.txbWordsToIgnoreOrCount[kCountOnly] = "New York, <Ab+c>, -pear.";
  ASSERT_TRUE(GetExtraWords(session, kCountOnly));
  EXPECT_EQ(Extras(kCountOnly), (std::vector<std::string>{"<Ab+c>", "new+york", "pear"}));
  EXPECT_TRUE(session.run.blnCountOnlyWordsIncludePhrase);
}

TEST_F(WordListsTest, CheckAllowedExtraCharsReportsTheFirstOffender) {
  struct Case {
    std::string ignore, countOnly, message;
  };
  const std::vector<Case> cases = {
      {"", "apple, pear", ""},
      {"", "<a^b> x~y", ""},
      {"", "apple,pear",
       "The character ',' occurs in some extra count-only word\nbut is not currently set as a "
       "character allowed in a word.\n\nCount-only words and phrases must be separated by "
       "comma+space, not just by comma."},
      {"of, the", "",
       "The character ',' occurs in some extra word-to-ignore\nbut is not currently set as a "
       "character allowed in a word.\n\nWords-to-ignore must be separated by a space, not by a "
       "comma."},
      {"^the", "",
       "The character '^' occurs in some extra word-to-ignore\nbut is not a character allowed "
       "in a word.\n\nPerhaps some Word-to-ignore is a regular expression\nwithout angle "
       "brackets."},
  };
  for (const Case& c : cases) {
    host.messages.clear();
    session.settings.txbWordsToIgnoreOrCount[kWordsToIgnore] = c.ignore;
    session.settings.txbWordsToIgnoreOrCount[kCountOnly] = c.countOnly;
    EXPECT_EQ(CheckAllowedExtraChars(session), c.message.empty()) << c.ignore << c.countOnly;
    EXPECT_EQ(test::Shown(host), c.message.empty()
                                     ? test::Lines{}
                                     : test::Lines{"Character not allowed: " + c.message});
  }
  session.settings.txbWordsToIgnoreOrCount[kCountOnly] = "apple, pear";
  LeaveExtraWordsBox(session, kCountOnly);
  EXPECT_EQ(Extras(kCountOnly), (std::vector<std::string>{"apple", "pear"}));
}

TEST_F(WordListsTest, HistoryHoldsAtMost99Files) {
  FileHistory& h = session.settings.cboWordsFile[kWordsToIgnore];
  for (int i = 0; i < kMaxListFiles; ++i) h.items.push_back("/x/" + std::to_string(i));
  EXPECT_FALSE(AddListFile(session, kWordsToIgnore));
  EXPECT_EQ(test::Shown(host),
            test::Lines{"Words-to-ignore files (99): No more files may be added to this list."});
  EXPECT_EQ(h.items.size(), 99u);

  bool added = true;
  EXPECT_EQ(AddFileToHistory(session, kWordsToIgnore, "/x/5", added), 5);
  EXPECT_FALSE(added);
  RemoveSelectedFile(session, kWordsToIgnore);
  EXPECT_EQ(h.items.size(), 98u);
  EXPECT_EQ(h.index, -1);
}

TEST_F(WordListsTest, CommonWordLanguages) {
  EXPECT_EQ(LanguageOfCommonWordsFile("/a/b/cwds_de.txt"), 1);
  EXPECT_EQ(LanguageOfCommonWordsFile("cwds_en_de_es_pt_it_fr.txt"), 6);
  EXPECT_EQ(LanguageOfCommonWordsFile("/a/CWDS_DE.TXT"), kNoLanguage);
  EXPECT_EQ(LanguageOfCommonWordsFile(""), kNoLanguage);

  for (const char* lang : {"en", "es", "pt", "it", "fr", "all", "de"}) {
    EXPECT_TRUE(SelectCommonWords(session, lang)) << lang;
    EXPECT_GE(session.lists.lngNumWordsToIgnore, 140) << lang;
  }
  EXPECT_EQ(session.settings.cboCommonWordsLanguages, 1);
  EXPECT_TRUE(host.messages.empty());
  ChooseCommonWordsLanguage(session, 1);
  EXPECT_TRUE(host.messages.empty());

  host.answers.push_back(MsgAnswer::No);
  ChooseCommonWordsLanguage(session, 5);
  ASSERT_EQ(host.messages.size(), 1u);
  EXPECT_EQ(host.messages[0].text, "Load common words file for French?");
  EXPECT_EQ(session.settings.cboCommonWordsLanguages, 1);

  ChooseCommonWordsLanguage(session, kNoLanguage);
  EXPECT_EQ(session.settings.cboWordsFile[kWordsToIgnore].index, -1);
}

// Choosing a history entry: load it, remove it, or cancel back to the loaded file.
TEST_F(WordListsTest, LoadOrRemoveHistoryEntry) {
  const std::string first = temp_.Write("first.txt", "alpha\n");
  const std::string second = temp_.Write("second.txt", "beta\ngamma\n");
  ASSERT_TRUE(LoadListFile(session, kWordsToIgnore, first));
  bool added = false;
  AddFileToHistory(session, kWordsToIgnore, second, added);
  FileHistory& h = session.settings.cboWordsFile[kWordsToIgnore];

  host.choices.push_back(kCancelLoadOrRemove);
  EXPECT_FALSE(ChooseHistoryFile(session, kWordsToIgnore, 1));
  EXPECT_EQ(host.prompts.back(), second);
  EXPECT_EQ(h.index, 0);
  EXPECT_EQ(Entries(kWordsToIgnore), (std::vector<std::string>{"alpha"}));

  host.choices.push_back(kLoadThisFile);
  EXPECT_TRUE(ChooseHistoryFile(session, kWordsToIgnore, 1));
  EXPECT_EQ(Entries(kWordsToIgnore), (std::vector<std::string>{"beta", "gamma"}));
  EXPECT_EQ(session.lists.strLoadedFile[kWordsToIgnore], second);

  host.choices.push_back(kRemoveThisFile);
  EXPECT_FALSE(ChooseHistoryFile(session, kWordsToIgnore, 1));
  EXPECT_EQ(h.items, (std::vector<std::string>{first}));
  EXPECT_EQ(h.index, -1);
  EXPECT_EQ(session.lists.lngNumWordsToIgnore, 0);

  // The window closed without a choice counts as Cancel; nothing is loaded now.
  host.choices.push_back(-1);
  EXPECT_FALSE(ChooseHistoryFile(session, kWordsToIgnore, 0));
  EXPECT_EQ(h.index, -1);
}

// Former fault: "[No language selected]" deselected the file but its words were still
// ignored by the next count.
TEST_F(WordListsTest, NoLanguageDropsTheCommonWords) {
  ASSERT_TRUE(SelectCommonWords(session, "en"));
  ASSERT_GT(session.lists.lngNumWordsToIgnore, 0);
  ChooseCommonWordsLanguage(session, kNoLanguage);
  EXPECT_EQ(session.lists.lngNumWordsToIgnore, 0);
  EXPECT_FALSE(session.run.blnThereAreWordsToIgnore);
  EXPECT_EQ(session.settings.cboCommonWordsLanguages, kNoLanguage);
}

// Counting through extraction with each kind of list in force (a plain count-only list is
// counted end to end by the command-line tests).
TEST_F(WordListsTest, CountsHonourTheLists) {
  struct Case {
    const char* name;
    int index;
    std::string file;   // list file content; "" for none
    std::string typed;  // extra entries of the same list
    std::function<void(Settings&)> tweak;
    std::vector<std::string> text;
    std::string expected;
  };
  const std::vector<Case> cases = {
      {"ignore file", kWordsToIgnore, "the\nof\n", "", nullptr, {"the end of the day"},
       "day=1 | end=1"},
      {"ignore typed wildcard", kWordsToIgnore, "", "t~", nullptr, {"the tea cup"}, "cup=1"},
      {"ignore file wildcard", kWordsToIgnore, "un~\nzz~\n", "",
       [](Settings& s) { s.chkPatternMatchingInWordsToIgnoreFile = 1; }, {"undo redo unit"},
       "redo=1"},
      {"count-only phrase across lines, not periods", kCountOnly, "new york\n", "", nullptr,
       {"i love new", "york and new. york"}, "new york=1"},
      {"count-only expression", kCountOnly, "<colou?r>\n", "",
       [](Settings& s) { s.chkPatternMatchingInCountOnlyWordsFile = 1; },
       {"color colour collar"}, "color=1 | colour=1"},
      {"count-only expression phrase", kCountOnly, "big <colou?r>\n", "",
       [](Settings& s) { s.chkPatternMatchingInCountOnlyWordsFile = 1; },
       {"big color big dog big colour"}, "big color=1 | big colour=1"},
      {"count-only typed", kCountOnly, "", "dog, big cat", nullptr, {"a dog and a big cat"},
       "big cat=1 | dog=1"},
  };
  for (const Case& c : cases) {
    ScriptedHost h;
    h.answers.push_back(MsgAnswer::No);
    Session s(h);
    s.settings.blnStartUpCompleted = true;
    if (c.tweak) c.tweak(s.settings);
    if (!c.file.empty()) {
      const std::string path = temp_.Write("list.txt", c.file);
      ASSERT_TRUE(LoadListFile(s, c.index, path)) << c.name;
    }
    if (!c.typed.empty()) {
      s.settings.txbWordsToIgnoreOrCount[c.index] = c.typed;
      ASSERT_TRUE(GetExtraWords(s, c.index)) << c.name;
    }
    EXPECT_EQ(Count(s, c.text), c.expected) << c.name;
  }
}

// A count remembers list answers per distinct word; remembered answers are the fresh ones,
// however many words share the memo.
TEST_F(WordListsTest, RememberedLookupsEqualFreshOnes) {
  session.settings.txbWordsToIgnoreOrCount[kWordsToIgnore] = "~ing <un[a-z]+ed> the";
  session.settings.txbWordsToIgnoreOrCount[kCountOnly] = "r?d, blue+~, <gr[ae]y>, sing";
  ASSERT_TRUE(GetExtraWords(session, kWordsToIgnore));
  ASSERT_TRUE(GetExtraWords(session, kCountOnly));
  ASSERT_TRUE(Load(kWordsToIgnore, "b?t\ncat\n"));
  session.settings.chkPatternMatchingInWordsToIgnoreFile = 1;
  struct Case {
    const char* word;
    bool ignored, countOnly;
  };
  const Case cases[] = {{"sing", true, false},  // a typed count-only entry that is ignored
                        {"song", false, false},   {"undecided", true, false},
                        {"unwise", false, false}, {"the", true, false},
                        {"bat", true, false},     {"cat", true, false},
                        {"dog", false, false},    {"red", false, true},
                        {"reed", false, false},   {"blue+sky", false, true},
                        {"grey", false, true},    {"green", false, false}};
  WordListLookup lookup;
  for (const bool remembering : {false, true}) {
    session.lists.memo.Reset(remembering);
    for (int pass = 0; pass < 2; ++pass) {  // with a memo: the first pass fills it
      for (const Case& c : cases) {
        EXPECT_EQ(lookup.IsWordToIgnore(session, c.word), c.ignored) << c.word;
        EXPECT_EQ(lookup.IsCountOnlyEntry(session, c.word), c.countOnly) << c.word;
      }
    }
  }
  EXPECT_FALSE(session.lists.memo.ignore.empty());
  EXPECT_FALSE(session.lists.memo.countOnly.empty());
}

}  // namespace
}  // namespace talq
