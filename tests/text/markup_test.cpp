#include "text/markup.h"

#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

#include "host/scripted_host.h"
#include "support/shown_messages.h"
#include "support/temp_files.h"
#include "util/utf8.h"

namespace talq {
namespace {

std::u32string U(const std::string& s) { return DecodeUtf8(s); }
std::string S(std::u32string_view s) { return EncodeUtf8(s); }

struct InOut {
  const char* in;
  const char* out;
};

// What word extraction would see of the lines: text outside comments, each skipped stretch
// a space, runs of spaces collapsed.
std::string VisibleText(CommentState& state, const std::vector<std::string>& lines) {
  std::u32string seen;
  for (const std::string& raw : lines) {
    std::u32string line = BlankDoubleHyphens(U(raw));
    if (state.blnCharacterEntitiesPossible) line = DecodeEntities(line);
    std::size_t lp = 0;
    while (lp < line.size()) {
      if (state.intNumCommentMarkers > 0 && state.intWithinComment == -1)
        state.intWithinComment = CommentStartAt(state, line, lp);
      if (state.intWithinComment >= 0) {
        SkipComment(state, line, lp);
        seen += U' ';
        if (state.intWithinComment >= 0 && lp < line.size())
          state.intWithinComment = CommentStartAt(state, line, lp);
        continue;
      }
      seen += line[lp++];
    }
    seen += U' ';
  }
  std::string out, word;
  std::istringstream in(S(seen));
  while (in >> word) out += (out.empty() ? "" : " ") + word;
  return out;
}

// A fixture's lines; a CR left at a line's end is blank space to VisibleText.
std::vector<std::string> FixtureLines(const std::string& name) {
  return test::SplitLines(test::ReadWholeFile(TALQ_TEST_DATA_DIR "/sources/" + name), "\n");
}

TEST(CommentMarkers, ExtensionChoosesSet) {
  struct Case {
    const char* ext;
    int count;
    bool entities;
    std::u32string_view first;
  };
  for (const Case& c : {Case{"php", 9, true, U"&"}, Case{"xml", 3, true, U"<?xml"},
                        Case{"htm", 6, true, U"&"}, Case{"xhtml", 6, true, U"&"},
                        Case{"c", 2, false, U"/*"}, Case{"cpp", 2, false, U"/*"},
                        Case{"txt", 0, false, U""}, Case{"", 0, false, U""},
                        // Former fault: C headers and other C++ names counted comments.
                        Case{"h", 2, false, U"/*"}, Case{"hpp", 2, false, U"/*"},
                        Case{"cc", 2, false, U"/*"}, Case{"cxx", 2, false, U"/*"},
                        Case{"hh", 2, false, U"/*"}, Case{"hxx", 2, false, U"/*"}}) {
    CommentState st;
    SetCommentMarkers(st, "XML");  // a previous file's set must not leak
    st.blnCharacterEntitiesPossible = true;
    EXPECT_TRUE(SetCommentMarkersForExtension(st, c.ext));
    EXPECT_EQ(st.intNumCommentMarkers, c.count) << c.ext;
    EXPECT_EQ(st.blnCharacterEntitiesPossible, c.entities) << c.ext;
    if (c.count > 0) {
      EXPECT_EQ(st.strStartCommentMarker[0], c.first) << c.ext;
    }
  }
}

TEST(CommentMarkers, ClipboardUsesCMarkersOnlyWhenAllowed) {
  CommentState st;
  SetCommentMarkersForExtension(st, "htm");
  st.intWithinComment = 2;
  SetClipboardCommentMarkers(st, true);
  EXPECT_EQ(st.intNumCommentMarkers, 2);
  EXPECT_EQ(st.strStartCommentMarker[1], U"//");
  EXPECT_FALSE(st.blnCharacterEntitiesPossible);
  EXPECT_EQ(st.intWithinComment, -1);
  SetClipboardCommentMarkers(st, false);
  EXPECT_EQ(st.intNumCommentMarkers, 0);
  EXPECT_EQ(CommentStartAt(st, U"/* x */", 0), -1);
}

TEST(CommentMarkers, MarkersThatCouldBeWordsAreRefused) {
  struct Case {
    const char* extra;
    const char* marker;  // nullptr: accepted
  };
  for (const Case& c : {Case{"", nullptr}, Case{"-'_:.@0123456789", nullptr},
                        Case{"*", nullptr}, Case{"/", "//"}, Case{"*/", "/*"}}) {
    ScriptedHost host;
    EXPECT_EQ(CommentMarkersOK(host, c.extra), c.marker == nullptr) << c.extra;
    EXPECT_EQ(test::Shown(host),
              c.marker == nullptr
                  ? test::Lines{}
                  : test::Lines{std::string("Error: With the current settings the start-comment "
                                            "marker\n\"") + c.marker +
                                "\" could be part of a word.\n\nCheck the the 'Settings' window "
                                "and perhaps disallow comment\nmarkers or restrict allowable "
                                "characters in 'words'."});
  }
}

TEST(Entities, Decode) {
  for (const InOut& c : {
           InOut{"Salt &amp; pepper", "Salt & pepper"},
           InOut{"&copy; 2020&nbsp;x", "© 2020 x"},
           InOut{"&quot;hi&quot;", "\"hi\""},
           InOut{"&ldquo;a&rdquo; &#8220;b&#8221;", "'a' 'b'"},
           InOut{"a&#8212;b&#8211;c", "a—b-c"},
           InOut{"&Eacute;t&eacute; &szlig; &yuml;", "Été ß ÿ"},
           InOut{"&bogus; &AMP;", "&bogus; &AMP;"},  // unknown; names are case-exact
           InOut{"&amp", "&amp"},                     // unterminated
           InOut{"&amp;lt;", "&lt;"},                 // decoded once, not twice
           InOut{"Tom & Jerry &amp; co;", "Tom & Jerry & co;"},
           // Former fault: numeric references outside the table were skipped, cutting words
           // ("caf&#233;" counted as "caf").
           InOut{"caf&#233; Zlatkovi&#263;", "café Zlatković"},
           InOut{"&#xE9;t&#XE9; &#x0000E9;", "été é"},
           InOut{"wait&#8230;then a&#x2015;b", "wait...then a--b"},  // normalised
           // A character the table names gives its entry however it is spelled.
           InOut{"&#x201C;q&#X201d; &#08220; a&#x2014;b&#xA0;c&#x2013;d", "'q' ' a—b c-d"},
           InOut{"1990&#150;95 &#147;q&#148;", "1990-95 \"q\""},      // Windows-1252 range
           InOut{"a&#10;b&#xA0;c&#9;d", "a b c\td"},
           // No character, or one that would read as mark-up: left to be skipped.
           InOut{"&#0; &#xD800; &#x110000; &#1114112; &#129;",
                 "&#0; &#xD800; &#x110000; &#1114112; &#129;"},
           InOut{"&#000000000233; &#233 x; &#; &#x; &#12a; &#x0x41;",
                 "&#000000000233; &#233 x; &#; &#x; &#12a; &#x0x41;"},
           InOut{"a&#60;b&#62;c&#38;d&#8249;", "a&#60;b&#62;c&#38;d&#8249;"},
       }) {
    EXPECT_EQ(S(DecodeEntities(U(c.in))), c.out) << c.in;
  }
  CommentState html;
  SetCommentMarkersForExtension(html, "htm");
  EXPECT_EQ(VisibleText(html, {"caf&#233;s &#x110000;x"}), "cafés x");
}

TEST(Entities, Length) {
  struct Case {
    const char* text;
    int length;
  };
  for (const Case& c : {Case{"&amp; rest", 5}, Case{"&#8230;", 1}, Case{"&#x2026;", 1},
                        Case{"&éa;", 4}, Case{"&#1", 0}, Case{"&a;", 0}, Case{"x&amp;", 0},
                        Case{"&amp", 0}, Case{"&a b;", 0}, Case{"&1ab;", 0},
                        Case{"&abcdefghijklmnopqr;", 20}, Case{"&abcdefghijklmnopqrs;", 0}}) {
    EXPECT_EQ(EntityLength(U(c.text)), c.length) << c.text;
  }
}

TEST(CommentScanner, StartAt) {
  CommentState html, xml, none;
  SetCommentMarkersForExtension(html, "html");
  SetCommentMarkersForExtension(xml, "xml");
  SetCommentMarkersForExtension(none, "txt");
  EXPECT_EQ(CommentStartAt(html, U"a & b", 2), -1);  // a lone "&" is text
  EXPECT_EQ(CommentStartAt(html, U"&xy;", 0), 0);
  EXPECT_EQ(CommentStartAt(html, U"<SCRIPT>", 0), 5);  // exact case: only the tag pair
  EXPECT_EQ(CommentStartAt(html, U"x<script>", 1), 1);
  EXPECT_EQ(CommentStartAt(html, U"<!-- c -->", 0), 4);
  EXPECT_EQ(CommentStartAt(xml, U"<![cdata[x]]>", 0), 3);
  // Outside XML a CDATA start is an ordinary tag, not the "<noscript" pair.
  EXPECT_EQ(CommentStartAt(html, U"<![CDATA[x]]>", 0), 5);
  EXPECT_EQ(CommentStartAt(none, U"<b>", 0), -1);
  EXPECT_EQ(CommentStartAt(html, U"ab", 5), -1);  // past the end
}

TEST(CommentScanner, Fixtures) {
  struct Case {
    const char* file;
    const char* ext;
    const char* visible;
  };
  for (const Case& c : {
           Case{"page.htm", "htm", "Sample page Salt & pepper © wait...then café end"},
           Case{"data.xml", "xml", "visible text inside cdata]]>"},
           Case{"comments.c", "c", "int counted = 1; char *s = \"after\"; int tail;"},
           Case{"page.php", "php", "Before after Tail & end"},
       }) {
    CommentState st;
    SetCommentMarkersForExtension(st, c.ext);
    EXPECT_EQ(VisibleText(st, FixtureLines(c.file)), c.visible) << c.file;
    EXPECT_EQ(st.intWithinComment, -1) << c.file;
  }
  CommentState html, txt;
  SetCommentMarkersForExtension(html, "htm");
  SetCommentMarkersForExtension(txt, "txt");
  // A skipped reference ends at its ";", and one cut by the line end hides nothing more.
  EXPECT_EQ(VisibleText(html, {"wait&#0;then cut &#8230", "next line"}), "wait then cut next line");
  EXPECT_EQ(VisibleText(txt, {"a <b> &amp; /* c */"}), "a <b> &amp; /* c */");
}

TEST(DoubleHyphens, Blanked) {
  for (const InOut& c : {InOut{"one--two", "one  two"}, InOut{"--lead", "  lead"},
                         InOut{"a--b", "a  b"}, InOut{"x---y", "x  -y"},
                         InOut{"<!-- note -->", "<!-- note -->"}, InOut{"a-b", "a-b"},
                         InOut{"a -- b <!--c-- -->", "a    b <!--c   -->"}}) {
    EXPECT_EQ(S(BlankDoubleHyphens(U(c.in))), c.out) << c.in;
  }
}

}  // namespace
}  // namespace talq
