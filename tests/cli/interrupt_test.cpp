// Ctrl-C during a count of the built program: the first stops the count and lists what was
// found; the stop question is not allowed to swallow it.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <thread>

#include "cli/cli_harness.h"

namespace talq::cli {
namespace {

using namespace talq::cli::test;

// A text with several thousand distinct words, so that stopping asks "Really stop?".
std::string ManyWords(std::size_t bytes) {
  std::string text;
  std::string word = "aaaa";
  while (text.size() < bytes) {
    for (int i = 0; i < 12 && text.size() < bytes; ++i) {
      text += word;
      text += ' ';
      for (int k = 3; k >= 0; --k) {  // next word of four letters, skipping repetitions
        if (word[k] < 'z') {
          ++word[k];
          break;
        }
        word[k] = 'b';
      }
    }
    text += '\n';
  }
  return text;
}

TEST(Interrupt, FirstCtrlCStopsTheCountAndListsWhatWasFound) {
  TempDir dir;
  WriteWholeFile(dir / "big.txt", ManyWords(150u << 20));
  const std::string out = dir / "out.txt", err = dir / "err.txt";
  pid_t pid = fork();
  ASSERT_GE(pid, 0);
  if (pid == 0) {
    freopen(out.c_str(), "w", stdout);
    freopen(err.c_str(), "w", stderr);
    execl(TALQ_BINARY, "talq", "count", (dir / "big.txt").c_str(), "--set",
          "chkIgnoreRepetitions=0", static_cast<char*>(nullptr));
    _exit(127);
  }
  std::this_thread::sleep_for(std::chrono::milliseconds(700));
  int status = 0;
  if (waitpid(pid, &status, WNOHANG) == pid) GTEST_SKIP() << "the count ended before Ctrl-C";
  kill(pid, SIGINT);
  ASSERT_EQ(waitpid(pid, &status, 0), pid);
  ASSERT_TRUE(WIFEXITED(status));
  EXPECT_EQ(WEXITSTATUS(status), 0);
  const std::string messages = ReadWholeFile(err);
  EXPECT_NE(messages.find("found so far.\n\nReally stop?"), std::string::npos) << messages;
  EXPECT_NE(messages.find("Counting interrupted: The operation was stopped before all words"),
            std::string::npos)
      << messages;
  // One stop only: the listing that follows is complete.
  EXPECT_EQ(messages.find("Really stop?"), messages.rfind("Really stop?"));
  const std::string report = ReadWholeFile(out);
  EXPECT_GT(std::count(report.begin(), report.end(), '\n'), 1000);
}

}  // namespace
}  // namespace talq::cli
