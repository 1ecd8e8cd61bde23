// Ctrl-C during a count of the built program: the first stops the count, lists what was
// found and exits 130; the stop question is not allowed to swallow it.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <fstream>
#include <string>
#include <thread>
#include <vector>

#include "cli/cli_harness.h"

namespace talq::cli {
namespace {

using namespace talq::cli::test;

// A text of 331,776 distinct five-letter words (no letter five times, no digits) in lines of
// 12, so that stopping asks "Really stop?" and the table outgrows its first allocation.
std::string ManyWords(std::size_t bytes) {
  std::string text;
  for (int i = 0; text.size() < bytes; ++i) {
    text += {char('b' + i % 24), char('b' + i / 24 % 24), char('b' + i / 576 % 24),
             char('b' + i / 13824 % 24), 'a'};
    text += i % 12 == 11 ? '\n' : ' ';
  }
  return text;
}

// What the process has read so far (its rchar), or 0 when /proc cannot tell.
long long BytesRead(pid_t pid) {
  std::ifstream io("/proc/" + std::to_string(pid) + "/io");
  std::string key;
  long long value = 0;
  while (io >> key >> value)
    if (key == "rchar:") return value;
  return 0;
}

// Starts talq with args and sends Ctrl-C once it has read `after` bytes; false when it
// ended first.
bool RunAndInterrupt(const std::vector<std::string>& args, long long after, const std::string& out,
                     const std::string& err, int& status) {
  pid_t pid = fork();
  if (pid < 0) return false;
  if (pid == 0) {
    freopen(out.c_str(), "w", stdout);
    freopen(err.c_str(), "w", stderr);
    std::vector<char*> argv{const_cast<char*>("talq")};
    for (const std::string& a : args) argv.push_back(const_cast<char*>(a.c_str()));
    argv.push_back(nullptr);
    execv(TALQ_BINARY, argv.data());
    _exit(127);
  }
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(30);
  while (BytesRead(pid) < after) {
    if (waitpid(pid, &status, WNOHANG) == pid) return false;
    if (std::chrono::steady_clock::now() > deadline) break;
    std::this_thread::sleep_for(std::chrono::milliseconds(1));
  }
  kill(pid, SIGINT);
  return waitpid(pid, &status, 0) == pid;
}

TEST(Interrupt, FirstCtrlCStopsTheCountListsWhatWasFoundAndExits130) {
  TempDir dir;
  WriteWholeFile(dir / "big.txt", ManyWords(64u << 20));
  const std::string out = dir / "out.txt", err = dir / "err.txt";
  for (bool quiet : {false, true}) {
    int status = 0;
    // Ctrl-C comes once the count has read a few megabytes, whatever the machine's speed:
    // the handler is in place by then and most of the file is still ahead.
    if (!RunAndInterrupt({"count", dir / "big.txt", "--set", "chkIgnoreRepetitions=0",
                          quiet ? "-q" : "--summary"},
                         8 << 20, out, err, status))
      GTEST_SKIP() << "the count ended before Ctrl-C";
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 130);
    const std::string messages = ReadWholeFile(err);
    const std::string notice = "talq: Counting was stopped and this list is incomplete.\n";
    if (quiet) {
      EXPECT_EQ(messages, notice);
    } else {
      EXPECT_NE(messages.find("found so far.\n\nReally stop?"), std::string::npos) << messages;
      EXPECT_NE(messages.find("Counting interrupted: The operation was stopped before all words"),
                std::string::npos)
          << messages;
      // One stop only: the listing that follows is complete.
      EXPECT_EQ(messages.find("Really stop?"), messages.rfind("Really stop?"));
      EXPECT_NE(messages.find(notice), std::string::npos) << messages;
    }
    const std::string report = ReadWholeFile(out);
    EXPECT_GT(std::count(report.begin(), report.end(), '\n'), 1000);
  }
}

// Former fault: Ctrl-C while a large words-to-ignore list loaded was taken by the count that
// followed, which printed the loading notice as its report.
TEST(Interrupt, CtrlCWhileListsLoadStopsBeforeCounting) {
  TempDir dir;
  std::string list;
  for (int i = 0; i < 1000000; ++i)
    list += {char('a' + i % 26), char('a' + i / 26 % 26), char('a' + i / 676 % 26),
             char('a' + i / 17576 % 26), char('a' + i / 456976), '\n'};
  WriteWholeFile(dir / "ignore.txt", list);
  WriteWholeFile(dir / "text.txt", "hello world\n");
  const std::string out = dir / "out.txt", err = dir / "err.txt";
  int status = 0;
  if (!RunAndInterrupt({"count", dir / "text.txt", "--ignore-file", dir / "ignore.txt", "-y"},
                       1 << 20, out, err, status))
    GTEST_SKIP() << "the run ended before Ctrl-C";
  ASSERT_TRUE(WIFEXITED(status));
  EXPECT_EQ(WEXITSTATUS(status), 130);
  EXPECT_EQ(ReadWholeFile(out), "");
  EXPECT_EQ(ReadWholeFile(err), "talq: Stopped while the word lists were read; nothing was counted.\n");
}

}  // namespace
}  // namespace talq::cli
