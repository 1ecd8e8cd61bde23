// Report sinks: output-file guards and errors, stops, the text box limit and its reports.
#include <errno.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include "report_fixture.h"
#include "reports/report_sinks.h"
#include "support/shown_messages.h"

namespace talq::testing {
namespace {

// A text box that, like the GUI's, stops growing at its capacity.
class CappedHost : public ScriptedHost {
 public:
  static constexpr std::size_t kCapacity = 65535;
  CappedHost() { capacityLimited = true; }
  void TxbAppend(const std::string& text) override {
    appends.push_back(Utf8Length(text));
    std::size_t room = kCapacity - std::min(kCapacity, TxbLength());
    ScriptedHost::TxbAppend(text.substr(0, std::min(room, text.size())));
  }
  void TxbSet(const std::string& text) override {
    ScriptedHost::TxbSet(text.substr(0, std::min(kCapacity, text.size())));
  }
  std::vector<std::size_t> appends;
};

// Sets blnStop at the n-th Pump, as a click on Stop would.
class StoppingHost : public ScriptedHost {
 public:
  void Pump() override {
    if (++pumps == stopAt && run) run->blnStop = true;
  }
  int stopAt = 0;
  RunFlags* run = nullptr;
};

class SinksTest : public ReportTest {
 protected:
  std::string Out() const { return (tmp_ / "out.txt").string(); }
};

TEST_F(SinksTest, OverwritePromptAnswers) {
  const std::string prompt =
      "To overwrite the current output file click on 'OK'.\n"
      "To write to a different file edit the filepath below.\n"
      "To disable file output click on 'Cancel'.";
  const std::string typed = (tmp_ / "New Report.TXT").string();
  struct Case {
    const char* name;
    std::optional<std::string> answer;
    bool disabled;
    std::string path;  // the output box afterwards
    test::Lines shown;
  } cases[] = {
      {"cancel", std::nullopt, true, Out(), {}},
      {"emptied", "  ", true, Out(), {}},
      {"kept", Out(), false, Out(), {}},
      {"typed path keeps its case", "  " + typed, false, typed, {}},
      {"missing folder", (tmp_ / "nope" / "x.txt").string(), true, Out(),
       {"Error: Folder does not exist."}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    FillStandardTable(s);
    std::ofstream(Out()) << "old";
    s.settings.chkWarnOnOverwrite = 1;
    s.settings.chkDisableOutputToFile = 0;
    s.settings.txbFile[1] = Out();
    host.messages.clear();
    host.prompts.clear();
    host.inputs = {c.answer};
    ListWords(s);
    ASSERT_EQ(host.prompts.size(), 1u);
    EXPECT_EQ(host.prompts[0], prompt);
    EXPECT_EQ(s.settings.chkDisableOutputToFile, c.disabled ? 1 : 0);
    EXPECT_EQ(s.settings.txbFile[1], c.path);
    if (c.disabled) {
      EXPECT_EQ(ReadWholeFile(Out()), "old");
    } else {
      EXPECT_NE(ReadWholeFile(c.path).find("the"), std::string::npos);
    }
    EXPECT_EQ(test::Shown(host), c.shown);
    for (const auto& m : host.messages) EXPECT_EQ(m.icon, MsgIcon::Exclamation);
    EXPECT_NE(host.TxbText().find("        1        10  the"), std::string::npos);  // listed
  }
}

TEST_F(SinksTest, FileErrors) {
  // A running program cannot be opened for writing, not even by root: a file "in use".
  const auto busy = tmp_ / "busy";
  std::filesystem::copy_file("/bin/sleep", busy);
  pid_t child = 0;
  char arg0[] = "busy", arg1[] = "30";
  char* argv[] = {arg0, arg1, nullptr};
  ASSERT_EQ(posix_spawn(&child, busy.c_str(), nullptr, nullptr, argv, environ), 0);
  struct Reap {
    pid_t pid;
    ~Reap() {
      kill(pid, SIGKILL);
      waitpid(pid, nullptr, 0);
    }
  } reap{child};
  usleep(100000);
  struct Case {
    const char* name;
    std::string path;
    std::string text, title;
  } cases[] = {
      {"missing folder", (tmp_ / "missing" / "out.txt").string(), "Output folder does not exist.",
       "Output file error"},
      {"permission denied", busy.string(),
       "Perhaps the output file\nis in use by another application.", "Permission denied"},
      {"other error", tmp_.string(),
       "At ListWords error #21.\nDescription: Is a directory", ProgramText(97)},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    FillStandardTable(s);
    s.settings.txbFile[1] = c.path;
    host.messages.clear();
    s.reports.intOutputFileError = 0;
    ListWords(s);
    EXPECT_EQ(test::Shown(host), test::Lines{c.title + ": " + c.text});
    EXPECT_EQ(host.TxbText(), "");  // nothing listed
    EXPECT_FALSE(s.reports.blnOutputFileWritten);
    EXPECT_NE(s.reports.intOutputFileError, 0);  // the run fails
  }
}

// A disk that fills up once `room` more bytes have been written.
std::size_t g_room = 0;
std::size_t FullDiskWrite(const void* data, std::size_t size, std::size_t n, std::FILE* f) {
  const std::size_t want = size * n;
  const std::size_t put = std::fwrite(data, 1, std::min(want, g_room), f);
  g_room -= put;
  if (put < want) errno = ENOSPC;
  return put / (size ? size : 1);
}

// Names in the folder besides the output file: a leftover temporary file would show here.
std::vector<std::string> OtherFiles(const std::filesystem::path& dir) {
  std::vector<std::string> names;
  for (const auto& e : std::filesystem::directory_iterator(dir))
    if (e.path().filename() != "out.txt") names.push_back(e.path().filename().string());
  return names;
}

TEST_F(SinksTest, FailedReportLeavesTheOldFileWhole) {
  for (const std::size_t room : {0, 40}) {  // bytes the disk takes before it is full
    SCOPED_TRACE(room);
    test::WriteWholeFile(Out(), "the old report\n");
    FillStandardTable(s);
    s.settings.txbFile[1] = Out();
    host.messages.clear();
    g_room = room;
    SetOutputFileWriter(&FullDiskWrite);
    ListWords(s);
    SetOutputFileWriter(nullptr);
    EXPECT_EQ(test::Shown(host),
              test::Lines{ProgramText(97) +
                          ": At ListWords error #28.\nDescription: No space left on device"});
    EXPECT_EQ(s.reports.intOutputFileError, ENOSPC);  // the run fails: exit 1
    EXPECT_FALSE(s.reports.blnOutputFileWritten);
    EXPECT_EQ(ReadWholeFile(Out()), "the old report\n");
    EXPECT_EQ(OtherFiles(tmp_), std::vector<std::string>{});
  }
}

TEST_F(SinksTest, ReplacedReportKeepsModeAndLink) {
  namespace fs = std::filesystem;
  const fs::path real = tmp_ / "real.txt", link = tmp_ / "out.txt";
  test::WriteWholeFile(real.string(), "old");
  fs::permissions(real, fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
  fs::create_symlink(real, link);
  FillStandardTable(s);
  s.settings.cboDisplayFormat = 9;
  s.settings.txbFile[1] = link.string();
  ListWords(s);
  EXPECT_TRUE(s.reports.blnOutputFileWritten);
  EXPECT_TRUE(fs::is_symlink(link));
  EXPECT_NE(ReadWholeFile(real).find("the, cat"), std::string::npos) << ReadWholeFile(real);
  EXPECT_EQ(fs::status(real).permissions() & fs::perms::all,
            fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
  EXPECT_EQ(OtherFiles(tmp_), std::vector<std::string>{"real.txt"});
}

TEST_F(SinksTest, StopDuringEitherPass) {
  StoppingHost h;
  Session st{h};
  h.run = &st.run;
  FillStandardTable(st);
  st.settings.txbFile[1] = Out();
  h.stopAt = 2;  // during the file pass
  ListWords(st);
  EXPECT_TRUE(h.TxbText().ends_with("\nOutput to file was terminated.")) << h.TxbText();
  EXPECT_FALSE(st.reports.blnOutputFileWritten);
  EXPECT_FALSE(std::filesystem::exists(Out()));  // a cut listing is no report

  h.pumps = 0;
  h.stopAt = 7;  // five pumps in the file pass, then the second of the text box pass
  ListWords(st);
  EXPECT_TRUE(st.reports.blnOutputFileWritten);
  EXPECT_TRUE(h.TxbText().ends_with("cat\n\nListing stopped.\n")) << h.TxbText();
}

TEST_F(SinksTest, TextBoxFlushesInBlocksAndReportsWhenFull) {
  std::vector<std::tuple<std::string, std::string, int>> adds;
  for (int k = 0; k < 3000; ++k)
    adds.emplace_back("/d/a.txt", "word" + std::to_string(10000 + k), 1);
  auto list = [&](ScriptedHost& h) {
    Session st{h};
    FillTable(st, adds);
    st.settings.source = Source::optInFile;
    ListWords(st);
    return st.reports.blnTextboxFull;
  };
  const std::string full = "Textbox is full.: " + ProgramText(93) + "  " + ProgramText(94);
  CappedHost h;
  EXPECT_TRUE(list(h));
  ASSERT_GT(h.appends.size(), 2u);
  for (std::size_t k = 0; k + 1 < h.appends.size(); ++k) EXPECT_GE(h.appends[k], 2049u);
  // About 90,000 characters were listed: the box cut back to its last full line.
  EXPECT_EQ(test::Shown(h), test::Lines{full});
  const std::string text = h.TxbText();
  ASSERT_TRUE(text.ends_with("\n\nTextbox is full.")) << text.substr(text.size() - 40);
  const std::string last = text.substr(0, text.size() - 18);
  EXPECT_TRUE(last.ends_with("  word" + last.substr(last.size() - 5)));  // a whole line
  EXPECT_LE(h.TxbLength(), lngTextboxLimit + 1000);

  // Former fault: a box that takes every append (the desktop's) got the whole list, since
  // the pending text alone never reached the limit; it now stops at the limit as well.
  ScriptedHost open;
  open.capacityLimited = true;
  list(open);
  EXPECT_TRUE(open.TxbText().ends_with("\n\nTextbox is full."));
  EXPECT_LE(open.TxbLength(), lngTextboxLimit + 1000);
  EXPECT_EQ(test::Shown(open), test::Lines{full});

  // Without a capacity limit the whole list is kept and nothing is reported.
  ScriptedHost big;
  list(big);
  EXPECT_TRUE(big.messages.empty());
  EXPECT_GT(big.TxbLength(), 80000u);
}

TEST_F(SinksTest, OutputToTxbStopsAtCapacity) {
  CappedHost h;
  Session st{h};
  h.TxbSet(std::string(CappedHost::kCapacity, 'x'));
  OutputToTxb(st, "more");  // first time at capacity: remembered
  EXPECT_FALSE(st.reports.blnTextboxFull);
  st.run.blnListingFilesOnly = true;
  st.reports.lngNumFilesScanned = 12;
  st.reports.intNumFoldersScanned = 3;
  OutputToTxb(st, "more");  // did not grow: full
  EXPECT_TRUE(st.reports.blnTextboxFull);
  const std::string full = h.TxbText();
  EXPECT_EQ(full, std::string(CappedHost::kCapacity - 256, 'x') +
                      "\n\nTextbox is full.\n\nTo this point: 12 files in 3 folders");
  OutputToTxb(st, "ignored");
  EXPECT_EQ(h.TxbText(), full);
  ClearTextbox(st);
  OutputToTxb(st, "fresh");
  EXPECT_EQ(h.TxbText(), "fresh");
}

TEST_F(SinksTest, ReportErrorMessage) {
  FillStandardTable(s);
  s.reports.blnOutputFileWritten = true;
  ReportError(s, 61, "Disk full", "ListWords");
  EXPECT_EQ(test::Shown(host), test::Lines{ProgramText(97) +
                                           ": At ListWords error #61.\n"
                                           "Description: Disk full\n" +
                                           ProgramText(96)});
  for (const auto& m : host.messages) EXPECT_EQ(m.icon, MsgIcon::Exclamation);
}

}  // namespace
}  // namespace talq::testing
