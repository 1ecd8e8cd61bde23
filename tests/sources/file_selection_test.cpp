#include "sources/file_selection.h"

#include <gtest/gtest.h>

#include "run/session.h"
#include "host/scripted_host.h"
#include "support/shown_messages.h"

namespace talq {
namespace {

TEST(FileSpecifications, NormalFormOfTheBox) {
  struct Case {
    const char* box;
    const char* normal;
    std::vector<std::string> entries;
  };
  const Case cases[] = {
      {"*.txt,   *.txt", "*.txt", {"*.txt"}},
      {"b*.xml a*.htm*", "a*.htm*, b*.xml", {"a*.htm*", "b*.xml"}},
      {"  *.TXT,,*.txt  ", "*.TXT", {"*.txt"}},  // same pattern in another case
      {"Zeta alpha", "alpha, Zeta", {"alpha", "zeta"}},
      {" , , ", "", {}},
  };
  for (const auto& c : cases) {
    std::vector<std::string> entries{"stale"};
    EXPECT_EQ(NormaliseFileSpecifications(c.box, entries), c.normal) << c.box;
    EXPECT_EQ(entries, c.entries) << c.box;
  }
}

TEST(FileSpecifications, TooManyEntriesGiveAnEmptyList) {
  std::string box;
  for (int i = 0; i < 65535; ++i) box.append("p").append(std::to_string(i)).append(" ");
  std::vector<std::string> entries;
  EXPECT_EQ(NormaliseFileSpecifications(box, entries), "");
  EXPECT_TRUE(entries.empty());
}

TEST(MatchFilePattern, WildcardsPerPart) {
  struct Case {
    const char* name;
    const char* pattern;
    bool match;
  };
  const Case cases[] = {
      {"a.txt", "*.txt", true},
      {"a.text", "*.txt", false},
      {"page.html", "*.htm*", true},
      {"readme", "*.*", true},       // no "." in the name: empty extension
      {"readme", "*.txt", false},
      {"readme", "readme.", true},
      {"readme.txt", "readme*", true},  // no "." in the pattern: the whole name
      {"x.tar.gz", "*.gz", true},
      {"x.tar.gz", "x.*", false},  // split at the last "."
      {"a.txt", "?.txt", true},
      {"ab.txt", "?.txt", false},
      {"\xC3\xA9.txt", "?.txt", true},  // "?" is one character, not one byte
      {"abcbd.x", "a*b?.x", true},  // "*" backtracks
      {"notes: draft.txt", "*.txt", true},
  };
  for (const auto& c : cases)
    EXPECT_EQ(MatchFilePattern(c.name, c.pattern), c.match) << c.name << " vs " << c.pattern;
}

TEST(IsSelectedFile, SkippedExtensionsExclusionsAndPatterns) {
  FileSelection none;
  FileSelection docs;
  docs.filePatterns = {"*.doc", "*.386", "*.txt"};
  FileSelection excluding;
  excluding.exclusionTexts = {"copy", "bak"};
  struct Case {
    const FileSelection* sel;
    const char* path;
    bool selected;
  };
  const Case cases[] = {
      {&none, "/d/a.txt", true},
      {&none, "/d/README", true},
      {&none, "/d/pic.JPG", false},
      {&docs, "/d/letter.doc", false},  // never, whatever the patterns
      {&docs, "/d/LETTER.DOC", false},
      {&docs, "/d/driver.386", true},
      {&docs, "/d/NOTES.TXT", true},
      {&excluding, "/d/Copy of a.txt", false},
      {&excluding, "/d/a.BAK.txt", false},
      {&excluding, "/copy/a.txt", true},  // folders are excluded by the scan, not here
  };
  for (const auto& c : cases) EXPECT_EQ(IsSelectedFile(*c.sel, c.path), c.selected) << c.path;
}

struct BoxCase {
  const char* patterns;
  const char* exclusions;
  const char* message;  // "" when accepted
};

TEST(CheckPatternCharacters, FirstOffenderIsReported) {
  const BoxCase cases[] = {
      {"*.txt a?.htm*", "copy bak", ""},
      {"*.txt a/b", "", "File pattern 'a/b' contains an invalid character."},
      {"a\"b", "", "File pattern 'a\"b' contains an invalid character."},
      {"", "ba?k", "Folder pattern 'ba?k' contains an invalid character."},
      {"a;b", "c<d", "File pattern 'a;b' contains an invalid character."},
  };
  for (const auto& c : cases) {
    ScriptedHost host;
    Session s(host);
    s.settings.txbFileFilepathSpecifications[0] = c.patterns;
    s.settings.txbFileFilepathSpecifications[1] = c.exclusions;
    GetFileFilepathSpecifications(s, 0);
    GetFileFilepathSpecifications(s, 1);
    SCOPED_TRACE(std::string(c.patterns) + " / " + c.exclusions);
    const bool ok = CheckPatternCharacters(s);
    EXPECT_EQ(ok, *c.message == '\0');
    EXPECT_EQ(test::Shown(host),
              ok ? test::Lines{} : test::Lines{std::string("Invalid input: ") + c.message});
    for (const auto& m : host.messages) EXPECT_EQ(m.icon, MsgIcon::Exclamation);
  }
}

TEST(FileSpecificationsLostFocus, DocPatternsAreRefused) {
  const char* kDoc =
      "Match file patterns: This software does not process .doc files.  To process\n"
      "Word .doc files they should first be converted to .docx files.";
  struct Case {
    const char* box;
    bool refused;
  };
  const Case cases[] = {{"*.txt, *.DOC", true}, {"*.doc *.txt", true}, {"*.docx", false}};
  for (const auto& c : cases) {
    ScriptedHost host;
    Session s(host);
    s.settings.txbFileFilepathSpecifications[0] = c.box;
    EXPECT_EQ(FileSpecificationsLostFocus(s, 0), !c.refused) << c.box;
    EXPECT_EQ(test::Shown(host), c.refused ? test::Lines{kDoc} : test::Lines{}) << c.box;
  }
}

}  // namespace
}  // namespace talq
