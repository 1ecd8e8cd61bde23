// Report layouts through the command line against reviewed golden files: every display
// format in both orders, with and without relative frequencies, in the text box (standard
// output), the output file and the output file with commas. TALQ_UPDATE_GOLDEN=1 rewrites
// the goldens under tests/data/cli/golden.
#include <gtest/gtest.h>

#include <cstdlib>
#include <regex>

#include "cli_harness.h"

namespace talq::cli::test {
namespace {

struct GoldenCase {
  const char* name;                 // golden file stem
  std::vector<std::string> source;  // SOURCE and its switches
};

// Test listings and failures name the case instead of dumping its bytes.
void PrintTo(const GoldenCase& c, std::ostream* os) { *os << c.name; }

enum class Sink { Stdout, File, FileWithCommas };

// Carriage returns made visible, so a golden can be read and a stray CR is a difference.
std::string ShowCr(const std::string& text) {
  return std::regex_replace(text, std::regex("\r"), "<CR>");
}

std::string Section(const GoldenCase& c, int format, const char* order, bool relative,
                    Sink sink, std::string& stdoutOfTextBoxRun) {
  TempDir temp;
  std::vector<std::string> args{"count", "-q", "-f", std::to_string(format), "--order", order};
  if (relative) args.push_back("--relative");
  std::vector<std::string> shown = args;
  if (sink != Sink::Stdout) {
    args.insert(args.end(), {"-o", temp / "report.txt"});
    shown.insert(shown.end(), {"-o", "OUT"});
  }
  if (sink == Sink::FileWithCommas) {
    for (auto* v : {&args, &shown}) v->insert(v->end(), {"--set", "chkOutputWithCommas=1"});
  }
  for (auto* v : {&args, &shown}) v->insert(v->end(), c.source.begin(), c.source.end());

  const CliResult r = RunIn(FixtureDir(), args);
  std::string text = "###";
  for (const auto& a : shown) text += " " + a;
  text += " -> exit " + std::to_string(r.status) + "\n";
  if (!r.err.empty()) text += "--- stderr\n" + r.err;
  if (r.status != 0) {
    EXPECT_EQ(r.out, "") << text;
  }
  if (sink == Sink::Stdout) {
    stdoutOfTextBoxRun = r.out;
    return text + "--- stdout\n" + r.out;
  }
  // Writing a file changes nothing on standard output.
  EXPECT_EQ(r.out, stdoutOfTextBoxRun) << text;
  if (!std::filesystem::exists(temp / "report.txt")) return text + "--- no file\n";
  return text + "--- file\n" + ShowCr(ReadWholeFile(temp / "report.txt"));
}

class ReportGoldenTest : public ::testing::TestWithParam<std::tuple<GoldenCase, int>> {};

TEST_P(ReportGoldenTest, MatchesGolden) {
  const auto& [c, format] = GetParam();
  std::string actual;
  for (const char* order : {"freq", "alpha"}) {
    for (bool relative : {false, true}) {
      std::string textBox;
      for (Sink sink : {Sink::Stdout, Sink::File, Sink::FileWithCommas})
        actual += Section(c, format, order, relative, sink, textBox);
    }
  }
  char stem[64];
  std::snprintf(stem, sizeof stem, "%s_f%02d.txt", c.name, format);
  const std::string path = FixtureDir() + "/golden/" + stem;
  if (const char* update = std::getenv("TALQ_UPDATE_GOLDEN"); update && *update == '1') {
    WriteWholeFile(path, actual);
    GTEST_SKIP() << "rewrote " << path;
  }
  EXPECT_EQ(actual, ReadWholeFile(path)) << "golden " << path;
}

const GoldenCase kCases[] = {
    {"file", {"corpus.txt"}},
    {"folder", {"-r", "tree"}},
};

INSTANTIATE_TEST_SUITE_P(
    Layouts, ReportGoldenTest, ::testing::Combine(::testing::ValuesIn(kCases), ::testing::Range(0, 14)),
    [](const auto& info) {
      return std::string(std::get<0>(info.param).name) + "_f" +
             std::to_string(std::get<1>(info.param));
    });

}  // namespace
}  // namespace talq::cli::test
