// .docx documents: recognition, extraction limits, text runs, the text file, and counting
// documents alone and in folders without leaving temporary folders behind.
#include "sources/docx.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <deque>
#include <filesystem>

#include "sources/docx_reading.h"
#include "support/counting_session.h"
#include "support/shown_messages.h"
#include "support/zip_files.h"

namespace talq {
namespace {

namespace fs = std::filesystem;
using test::DocumentXml;
using test::WriteDocx;
using test::WriteZip;

using test::ReadWholeFile;

// Every test runs with its own system temporary directory, which must be empty at the end.
class DocxTest : public test::CountingTest {
 protected:
  void SetUp() override {
    CountingTest::SetUp();
    fs::create_directories(dir);
    fs::create_directories(tmp);
  }
  void TearDown() override { EXPECT_TRUE(fs::is_empty(tmp)) << "a temporary folder was left behind"; }

  std::string Docx(const std::string& name, const std::string& xml) {
    const std::string p = (dir / name).string();
    EXPECT_TRUE(WriteDocx(p, xml));
    return p;
  }
  std::string Write(const std::string& name, const std::string& bytes) {
    return temp.Write("work/" + name, bytes);
  }

  fs::path dir = temp.path() / "work", tmp = temp.path() / "tmp";
  test::ScopedEnv tmpEnv_{"TMPDIR", tmp.string()};
};

using Words = test::Counts;

TEST_F(DocxTest, OnlyTheZipSignatureUnderADocxNameMakesADocument) {
  const std::string sig = std::string("PK\x03\x04", 4) + std::string(12, 'x');
  struct Case {
    std::string name, bytes;
    int signature;
    bool docx;
  } cases[] = {
      {"a.docx", sig, 1, true},
      {"b.DocX", sig, 1, true},
      {"c.txt", sig, 1, false},
      {"d.docx", "PK\x05\x06" + std::string(12, 'x'), 0, false},
      {"e.docx", "plain text that is long enough", 0, false},
      {"f.docx", std::string("PK\x03\x04", 4) + "short", -2, false},
  };
  for (const auto& c : cases) {
    const std::string p = Write(c.name, c.bytes);
    EXPECT_EQ(ReadZipSignature(p), c.signature) << c.name;
    EXPECT_EQ(IsDocxFile(p), c.docx) << c.name;
  }
  EXPECT_EQ(ReadZipSignature((dir / "missing.docx").string()), -1);
  // A .docx name without the signature is read as the text it is.
  CountFile(Write("notes.docx", "plain words here\n"));
  EXPECT_EQ(Table(), (Words{{"plain", 1}, {"words", 1}, {"here", 1}}));
}

TEST_F(DocxTest, TextRunsBecomeLines) {
  struct Case {
    const char* what;
    std::string xml;
    std::vector<std::string> runs;
    std::string file;  // the text file, join-unless-period
  } cases[] = {
      {"one sentence", DocumentXml({{"One sentence."}}), {"One sentence. "}, "One sentence. \n"},
      {"two paragraphs without periods", DocumentXml({{"alpha"}, {"beta"}}),
       {"alpha ", "beta "}, "alpha beta "},
      {"runs inside a paragraph join", DocumentXml({{"Hel", "lo."}, {"next"}}),
       {"Hel", "lo. ", "next "}, "Hello. \nnext "},
      {"entities", DocumentXml({{"salt &amp; pepper &lt;b&gt; &quot;q&quot; it&apos;s &#233;t&#xE9; &amp;lt;"}}),
       {"salt & pepper <b> \"q\" it's été &lt; "}, "salt & pepper <b> \"q\" it's été &lt; "},
      {"look-alikes and empty runs",
       "<w:p><w:tbl><w:tr><w:r><w:tab/><w:t/><w:t xml:space=\"preserve\"/><w:t>x</w:t>"
       "<w:tblGrid>y</w:t></w:r></w:tr></w:tbl></w:p>",
       {"x "}, "x "},
      {"breaks", "<w:r><w:t>a</w:t><w:br/><w:t>b</w:t><w:br w:type=\"page\"/><w:t>c</w:t></w:r>",
       {"a ", "b ", "c"}, "a b c"},
      {"no runs", "<w:document><w:body/></w:document>", {}, ""},
  };
  for (const auto& c : cases) {
    const std::vector<std::string> lines = ConvertDocumentXml(c.xml);
    EXPECT_EQ(lines, c.runs) << c.what;
    const std::string out = (dir / "out.txt").string();
    EXPECT_EQ(WriteLinesToFile(out, lines, 0, lines.empty() ? 0 : lines.size() - 1, true), "");
    EXPECT_EQ(ReadWholeFile(out), c.file) << c.what;
  }
  const std::vector<std::string> runs{"A. ", "b", "c."};
  const std::string out = (dir / "plain.txt").string();
  EXPECT_EQ(WriteLinesToFile(out, runs, 1, 2, false), "");
  EXPECT_EQ(ReadWholeFile(out), "bc.");
}

TEST_F(DocxTest, ExtractionOutcomesAndLimits) {
  const std::string xml = DocumentXml({{"word"}});
  std::string bomb(kDocxMaxSize + 1, ' ');
  std::string atLimit(kDocxMaxSize, ' ');
  atLimit.replace(0, xml.size(), xml);
  std::string lying;
  ASSERT_TRUE(WriteZip((dir / "lying.docx").string(), {{"word/document.xml", bomb}}));
  lying = ReadWholeFile(dir / "lying.docx");
  test::SetDeclaredSize(lying, 100);

  struct Case {
    const char* what;
    std::function<std::string()> make;
    std::int64_t result;
  } cases[] = {
      {"a document", [&] { return Docx("ok.docx", xml); }, std::int64_t(xml.size())},
      {"no document.xml", [&] {
         const std::string p = (dir / "nodoc.docx").string();
         EXPECT_TRUE(WriteZip(p, {{"word/other.xml", xml}}));
         return p; }, kDocxZipFailed},
      {"a damaged archive", [&] {
         std::string bytes = ReadWholeFile(Docx("tmp.docx", xml));
         return Write("damaged.docx", bytes.substr(0, bytes.size() / 2)); }, kDocxZipFailed},
      {"not a zip", [&] { return Write("fake.docx", std::string("PK\x03\x04", 4) + std::string(100, 'z')); },
       kDocxZipFailed},
      {"20971520 bytes", [&] { return Docx("limit.docx", atLimit); }, kDocxMaxSize},
      {"one byte more", [&] { return Docx("over.docx", bomb); }, kDocxTooBig},
      {"a header that lies", [&] { return Write("lie.docx", lying); }, kDocxTooBig},
  };
  for (const auto& c : cases) {
    const std::string path = c.make();
    host.answers = {MsgAnswer::Yes};
    DocxExtraction docx;
    EXPECT_EQ(ExtractDocx(path, host, true, docx), c.result) << c.what;
    if (c.result >= 0) {
      EXPECT_EQ(fs::status(docx.folder).permissions() & fs::perms::all, fs::perms::owner_all);
      EXPECT_EQ(std::int64_t(fs::file_size(docx.xmlPath)), c.result) << c.what;
    } else {
      EXPECT_TRUE(docx.folder.empty()) << c.what;
      EXPECT_TRUE(fs::is_empty(tmp)) << c.what;
    }
  }

  // Encrypted members cannot be read without their password.
  const std::string locked = (dir / "locked.docx").string();
  if (WriteZip(locked, {{"word/document.xml", xml}}, "secret")) {
    DocxExtraction docx;
    EXPECT_EQ(ExtractDocx(locked, host, true, docx), kDocxZipFailed);
  }
}

TEST_F(DocxTest, BigDocumentsAskAndNoTemporaryDirectoryRefuses) {
  const std::string big = Docx("big.docx", std::string(kDocxWarnSize + 1, ' '));
  host.messages.clear();
  DocxExtraction docx;
  EXPECT_EQ(ExtractDocx(big, host, true, docx), kDocxDeclined);  // No is the default
  EXPECT_EQ(test::Shown(host),
            (test::Lines{"Big file: " + big + "\nis rather large.  It may take awhile to scan.\n"
                                              "Do you wish to continue?",
                         "Big file: You could try saving it as a text file\n"
                         "and applying this program to that text file."}));

  ::setenv("TMPDIR", (dir / "no such folder").c_str(), 1);
  host.messages.clear();
  EXPECT_EQ(CountFile(Docx("small.docx", DocumentXml({{"word"}}))), RunResult::Refused);
  EXPECT_EQ(test::Shown(host), (test::Lines{"Error: Cannot create temporary folder.",
                                            "Error: Unable to create temporary folder."}));
  EXPECT_EQ(host.messages[0].icon, MsgIcon::Critical);
  ::setenv("TMPDIR", tmp.c_str(), 1);
}

TEST_F(DocxTest, DocumentsAreCountedAloneAndInFolders) {
  const std::string doc = Docx("report.docx",
                               DocumentXml({{"Caf\xC3\xA9 cr\xC3\xA8me \xE2\x80\x94 done."},
                                            {"tom &amp; jerry"}}));
  EXPECT_EQ(CountFile(doc), RunResult::Reported);
  EXPECT_EQ(Table(), (Words{{"café", 1}, {"crème", 1}, {"done", 1}, {"tom", 1}, {"jerry", 1}}));

  fs::create_directories(dir / "folder");
  fs::rename(doc, dir / "folder" / "report.docx");
  Write("folder/notes.txt", "jerry again\n");
  Write("folder/broken.docx", std::string("PK\x03\x04", 4) + std::string(64, 'z'));
  s.settings.chkExtractTextFromDocx = 1;
  host.messages.clear();
  EXPECT_EQ(CountFolder(dir / "folder"), RunResult::Reported);
  EXPECT_EQ(Table(), (Words{{"café", 1}, {"crème", 1}, {"done", 1}, {"tom", 1}, {"jerry", 2},
                            {"again", 1}}));
  // The broken document is reported in both passes and the scan goes on.
  ASSERT_FALSE(host.messages.empty());
  EXPECT_EQ(host.messages[0].title, "Unable to process file");
  EXPECT_EQ(ReadWholeFile(dir / "folder" / "extracted_text" / "report.txt"),
            "Café crème — done. \ntom & jerry ");
}

TEST_F(DocxTest, AStopEndsTheConversionAtOnceEarlyAndAfterAQuestionLater) {
  const std::string doc = Docx("s.docx", DocumentXml({{"alpha."}, {"beta."}}));
  struct Case {
    std::int64_t seconds;
    std::deque<MsgAnswer> answers;
    std::string text;
    std::size_t questions;
  } cases[] = {
      {5, {}, "", 0},
      {20, {MsgAnswer::Yes}, "", 1},
      {20, {MsgAnswer::No}, "alpha. \nbeta. \n", 1},
  };
  for (const auto& c : cases) {
    DocxExtraction docx;
    ASSERT_GE(DocxPreCheck(s, doc, docx), 0);
    s.run.blnStop = true;
    s.run.lngSecondsElapsed = c.seconds;
    host.answers = c.answers;
    host.messages.clear();
    EXPECT_EQ(ReadWholeFile(DocxToTextFile(s, doc, docx)), c.text) << c.seconds;
    ASSERT_EQ(host.messages.size(), c.questions) << c.seconds;
    if (c.questions) {
      EXPECT_EQ(host.messages[0].title, "Stop");
    }
    EXPECT_EQ(s.run.blnStop, c.text.empty()) << c.seconds;
  }
}

TEST_F(DocxTest, FormerFaults) {
  // A run ending a paragraph whose last element is a tab ran on into the next paragraph.
  CountFile(Docx("tab.docx", "<w:p><w:r><w:t>one</w:t></w:r><w:r><w:tab/></w:r></w:p>"
                             "<w:p><w:r><w:t>two</w:t></w:r></w:p>"));
  EXPECT_EQ(Table(), (Words{{"one", 1}, {"two", 1}}));

  // "&amp;lt;" was decoded twice, to "<".
  EXPECT_EQ(DecodeXmlEntities("&amp;lt; &amp;amp; &#38;lt;"), "&lt; &amp; &lt;");

  // With subfolders, a second run counted the text extracted by the first one again.
  fs::create_directories(dir / "g");
  WriteDocx((dir / "g" / "d.docx").string(), DocumentXml({{"once"}}));
  s.settings.chkExtractTextFromDocx = 1;
  s.settings.chkIncludeSubfolders = 1;
  for (int run = 0; run < 2; ++run) {
    CountFolder(dir / "g");
    EXPECT_EQ(Table(), (Words{{"once", 1}})) << "run " << run;
  }
  s.settings.chkExtractTextFromDocx = 0;
  s.settings.chkIncludeSubfolders = 0;

  // An empty document.xml stopped a folder scan without a word.
  fs::create_directories(dir / "f");
  WriteDocx((dir / "f" / "empty.docx").string(), "");
  Write("f/z.txt", "later words\n");
  EXPECT_EQ(CountFolder(dir / "f"), RunResult::Reported);
  EXPECT_EQ(Table(), (Words{{"later", 1}, {"words", 1}}));
}

}  // namespace
}  // namespace talq
