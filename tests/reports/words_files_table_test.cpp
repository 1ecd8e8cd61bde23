// The words-vs-files table: rows, cells, orders, the text layout, the workbook read back,
// and the command's checks before counting.
#include "reports/words_files_table.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <regex>

#include "host/scripted_host.h"
#include "report_fixture.h"
#include "reports/xlsx_table.h"
#include "run/count_array.h"
#include "run/session.h"
#include "settings/defaults.h"
#include "settings/setting_choices.h"
#include "support/counting_session.h"
#include "support/shown_messages.h"
#include "support/temp_files.h"
#include "support/zip_files.h"
#include "util/program_texts.h"

namespace talq {
namespace {

namespace fs = std::filesystem;
using testing::FillTable;

using test::ReadWholeFile;

// The lines of a CR LF file, the first one (it holds the date) left out.
std::vector<std::string> LinesAfterFirst(const std::string& text) {
  EXPECT_TRUE(text.ends_with("\r\n"));
  std::vector<std::string> lines = test::SplitLines(text, "\r\n");
  lines.erase(lines.begin());
  return lines;
}

// A host whose table dialog answers as told.
class DialogHost : public ScriptedHost {
 public:
  bool dialogAnswer = true;
  std::vector<std::string> dialogs;
  bool ShowDialog(const std::string& name) override {
    dialogs.push_back(name);
    return dialogAnswer;
  }
};

class WordsFilesTableTest : public ::testing::Test {
 protected:
  void SetUp() override { test::PrepareCountingSession(s); }
  void Write(const std::string& name, const std::string& text) { temp.Write("in/" + name, text); }
  // The two-file example: cat twice in one.txt and once in two.txt; dog only in one.txt.
  void TwoFiles() {
    FillTable(s, {{"/t/one.txt", "cat", 2}, {"/t/one.txt", "dog", 1}, {"/t/two.txt", "cat", 1}});
  }
  std::vector<std::string> TextLines(const TableOptions& o, bool* warning = nullptr) {
    const std::string out = (dir / "t.txt").string();
    bool w = false;
    EXPECT_EQ(WriteTableText(out, BuildWordsFilesTable(s), o, s.settings.chkAllowWordsWithNumerals != 0, w).text, "");
    if (warning) *warning = w;
    return LinesAfterFirst(ReadWholeFile(out));
  }
  RunResult Command(const std::string& output) {
    s.settings.source = Source::optFolder;
    s.settings.txbFolder = (dir / "in").string();
    s.settings.txbFile[1] = output;
    return cmdCountArray_Click(s);
  }

  DialogHost host;
  Session s{host};
  test::TempDir temp;
  fs::path dir = temp.path();
};

TEST_F(WordsFilesTableTest, RowsCellsAndFraming) {
  using Lines = std::vector<std::string>;
  const Lines index = {"\t1\t/t/one.txt", "\t2\t/t/two.txt", "", "<File indices>\t1\t2\t\tTotal"};
  const Lines head = {"showing the frequency of each word or phrase in the files specified by the file indices.",
                      "Maximum frequency = 3    The word or phrase 'cat' occurs with this frequency (there may be others).",
                      ""};
  auto join = [](std::initializer_list<Lines> parts) {
    Lines all;
    for (const Lines& p : parts) all.insert(all.end(), p.begin(), p.end());
    return all;
  };
  struct Case {
    const char* what;
    TableOptions options;
    Lines want;
  } cases[] = {
      {"counts", {true, false, false, false},
       join({head, index, {"cat\t2\t1\t\t3", "dog\t1\t0\t\t1", "", "Total\t3\t1\t\t4"}})},
      {"blank zeros", {true, false, true, false},
       join({head, index, {"cat\t2\t1\t\t3", "dog\t1\t\t\t1", "", "Total\t3\t1\t\t4"}})},
      {"relative cells keep absolute totals", {true, false, false, true},
       join({head, index, {"cat\t67%\t33%\t\t3", "dog\t100%\t0\t\t1", "", "Total\t3\t1\t\t4"}})},
      {"both tables", {true, true, false, false},
       join({head, index, {"cat\t2\t1\t\t3", "dog\t1\t0\t\t1", "", "Total\t3\t1\t\t4", ""},
             index, {"cat\t2\t1\t\t3", "dog\t1\t0\t\t1", "", "Total\t3\t1\t\t4"}})},
  };
  TwoFiles();
  for (const auto& c : cases) EXPECT_EQ(TextLines(c.options), c.want) << c.what;

  // One file: no index block, no total column, the file named in the second line.
  FillTable(s, {{"", "cat", 2}, {"", "dog", 1}});
  s.settings.source = Source::optInFile;
  s.settings.txbFile[0] = "/t/only.txt";
  EXPECT_EQ(TextLines({true, false, false, false}),
            (Lines{"showing the frequency of each word or phrase in the file /t/only.txt",
                   "Maximum frequency = 2    The word or phrase 'cat' occurs with this frequency (there may be others).",
                   "", "cat\t2", "dog\t1", "", "Total\t3"}));
}

TEST_F(WordsFilesTableTest, SpreadsheetWordsAndCells) {
  struct Case {
    const char* word;
    bool numerals, misread;
  } words[] = {
      {"true", false, true}, {"FALSE", false, true}, {"truth", false, false},
      {"1,000", true, true},  {"1,000", false, false}, {"-12.5", true, true},
      {"+5", true, true},     {"1-2", true, false},   {"12a", true, false},
  };
  for (const auto& c : words)
    EXPECT_EQ(CheckSpreadsheetWord(c.word, c.numerals), c.misread) << c.word << " " << c.numerals;
  EXPECT_EQ(CellText(1, 8, true), "13%");  // 12.5 rounds up
  EXPECT_FALSE(IsWorkbookPath("/x/t.xlsx.txt"));
}

TEST_F(WordsFilesTableTest, TheCommandWritesTheFileAndTheClosingMessage) {
  Write("one.txt", "cat cat true\n");
  Write("two.txt", "cat 1,000\n");
  s.settings.chkAllowWordsWithNumerals = 1;
  s.settings.chkAllowWordsWithCommas = 1;
  s.settings.tableLayout = TableLayout::optByFrequency;
  const std::string out = (dir / "table.txt").string();
  EXPECT_EQ(Command(out), RunResult::TableWritten);
  EXPECT_EQ(host.dialogs, std::vector<std::string>{"frmCountArray"});
  const std::vector<std::string> lines = LinesAfterFirst(ReadWholeFile(out));
  ASSERT_GE(lines.size(), 9u);
  EXPECT_EQ(lines[7], "cat\t2\t1\t\t3");
  EXPECT_EQ(host.TxbText(), ProgramText(359) + out + "\n\n" + ProgramText(360) + "\n" +
                                ProgramText(361) + "\n\n" + ProgramText(357) + "\n" +
                                ProgramText(358));
}

TEST_F(WordsFilesTableTest, ChecksBeforeCounting) {
  Write("one.txt", "cat\n");
  host.messages.clear();
  EXPECT_EQ(Command(""), RunResult::Refused);
  EXPECT_EQ(test::Shown(host),
            test::Lines{ProgramText(101) + ": " + ProgramText(103) + ProgramText(104)});

  const std::string existing = (dir / "old.txt").string();
  std::ofstream(existing) << "keep";
  s.settings.chkWarnOnOverwrite = 1;
  host.inputs = {std::nullopt};
  EXPECT_EQ(Command(existing), RunResult::Cancelled);
  host.inputs = {(dir / "missing" / "t.txt").string()};
  host.messages.clear();
  EXPECT_EQ(Command(existing), RunResult::Refused);
  EXPECT_EQ(test::Shown(host), test::Lines{"Error: Folder does not exist."});
  EXPECT_EQ(ReadWholeFile(existing), "keep");

  s.settings.chkWarnOnOverwrite = 0;
  host.dialogAnswer = false;
  EXPECT_EQ(Command(existing), RunResult::Cancelled);
  EXPECT_EQ(ReadWholeFile(existing), "keep");

  // A file that cannot be written is a failure, reported.
  host.dialogAnswer = true;
  host.messages.clear();
  EXPECT_EQ(Command(dir.string()), RunResult::Failed);
  ASSERT_FALSE(host.messages.empty());
  EXPECT_NE(host.messages.back().text.find("WriteCountArrayFile"), std::string::npos);
}

TEST_F(WordsFilesTableTest, WorkbookKeepsWordsAsTextAndCountsAsNumbers) {
  Write("one.txt", "cat cat true\n");
  Write("two.txt", "cat 1000\n");
  s.settings.chkAllowWordsWithNumerals = 1;
  s.settings.chkIgnoreNoLetter = 0;
  s.settings.tableLayout = TableLayout::optBoth;
  s.settings.chkWriteRelativeFrequency = 1;
  s.settings.chkZeroCellsBlank = 1;
  const std::string out = (dir / "table.XLSX").string();
  ASSERT_EQ(Command(out), RunResult::TableWritten);
  EXPECT_EQ(host.TxbText(), ProgramText(359) + out + "\n\n" + ProgramText(362));

  const std::optional<std::string> book = test::ReadZipMember(out, "xl/workbook.xml");
  ASSERT_TRUE(book);
  EXPECT_TRUE(std::regex_search(*book, std::regex("name=\"Alphabetical\".*name=\"By frequency\".*name=\"Files\"")));
  const std::optional<std::string> sheet = test::ReadZipMember(out, "xl/worksheets/sheet1.xml");
  ASSERT_TRUE(sheet);
  // The header row is row 5 and frozen with the word column.
  EXPECT_NE(sheet->find("xSplit=\"1\" ySplit=\"5\""), std::string::npos);
  auto cell = [&](const std::string& ref) {
    std::smatch m;
    const std::regex re("<c r=\"" + ref + "\"([^>]*)>(.*?)</c>");
    return std::regex_search(*sheet, m, re) ? m[1].str() + "|" + m[2].str() : std::string("absent");
  };
  EXPECT_EQ(cell("A6"), " t=\"inlineStr\"|<is><t>1000</t></is>");
  EXPECT_EQ(cell("B6"), "absent");  // a blank zero
  EXPECT_EQ(cell("C6"), " s=\"2\"|<v>1</v>");
  EXPECT_EQ(cell("A7"), " t=\"inlineStr\"|<is><t>cat</t></is>");
  EXPECT_EQ(cell("B7"), " s=\"2\"|<v>0.6666666666666666</v>");
  EXPECT_EQ(cell("E7"), "|<v>3</v>");
  EXPECT_EQ(cell("A8"), " t=\"inlineStr\"|<is><t>true</t></is>");
  EXPECT_EQ(cell("A10"), " s=\"1\" t=\"inlineStr\"|<is><t>Total</t></is>");
  EXPECT_EQ(cell("E10"), " s=\"1\"|<v>5</v>");
  const std::optional<std::string> files = test::ReadZipMember(out, "xl/worksheets/sheet3.xml");
  ASSERT_TRUE(files);
  EXPECT_NE(files->find((dir / "in" / "two.txt").string()), std::string::npos);
}

TEST_F(WordsFilesTableTest, FormerFaults) {
  // Totals above 99999 made the frequency order's key negative: 100001 came before 100002.
  FillTable(s, {{"/t/a.txt", "aaa", 100001}, {"/t/a.txt", "bbb", 100002}, {"/t/b.txt", "ccc", 5},
                {"/t/b.txt", "ddd", 5}});
  const WordsFilesTable t = BuildWordsFilesTable(s);
  std::vector<std::string> order;
  for (std::size_t i : t.frequencyOrder) order.push_back(t.rows[i].word);
  EXPECT_EQ(order, (std::vector<std::string>{"bbb", "aaa", "ccc", "ddd"}));

  // With relative cells, file columns were sized for "100%" and showed a total of 200003
  // as "#####".
  const std::string book = (dir / "wide.xlsx").string();
  ASSERT_EQ(WriteTableWorkbook(book, t, {true, false, false, true}).text, "");
  EXPECT_NE(test::ReadZipMember(book, "xl/worksheets/sheet1.xml")->find("<col min=\"2\" max=\"3\" width=\"8."),
            std::string::npos);

  // The spreadsheet warning was only looked for in the alphabetical table.
  FillTable(s, {{"/t/a.txt", "true", 1}, {"/t/b.txt", "cat", 1}});
  bool warning = false;
  TextLines({false, true, false, false}, &warning);
  EXPECT_TRUE(warning);
}

}  // namespace
}  // namespace talq
