// A small counted table from three files in two folders, ready to list.
#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <utility>
#include <vector>

#include "run/session.h"
#include "host/scripted_host.h"
#include "support/temp_files.h"
#include "util/program_texts.h"
#include "util/utf8.h"

namespace talq::testing {

inline constexpr const char* kFolder = "/data/corpus/texts";

// Counts (file path, word, times) into the session's table as a folder run would, excludes
// `excluded`, sorts, chains and sets the summary figures.
inline void FillTable(Session& s, const std::vector<std::tuple<std::string, std::string, int>>& adds,
                      const std::vector<std::string>& excluded = {}) {
  s.words.Clear();
  s.settings.source = Source::optFolder;
  s.settings.txbFolder = kFolder;
  WordTableContext ctx = CountingContext(s);
  ctx.countingText = true;
  for (const auto& [file, word, times] : adds) {
    s.run.strCurrentFile = file;
    for (int k = 0; k < times; ++k) s.words.AddWordToList(ctx, word);
  }
  s.words.SortWordsByKey();
  auto& r = s.reports;
  s.words.lngNumWordsIncluded = s.words.lngMaxFrequency = r.lngNumOccurrences = 0;
  r.intMaxWordLengthFound = 0;
  for (std::int64_t i = 1; i <= s.words.lngNumWords; ++i) {
    auto& w = s.words.udtWords[static_cast<std::size_t>(i)];
    for (const auto& x : excluded) w.blnIncluded = w.blnIncluded && w.strWord != x;
    if (!w.blnIncluded) continue;
    ++s.words.lngNumWordsIncluded;
    r.lngNumOccurrences += w.lngFrequency;
    s.words.lngMaxFrequency = std::max(s.words.lngMaxFrequency, w.lngFrequency);
    r.intMaxWordLengthFound =
        std::max(r.intMaxWordLengthFound, static_cast<int>(Utf8Length(w.strWord)));
  }
  s.words.SetUpFrequencyChain(nullptr);
  r.lngNumFilesScanned = s.words.NumFilesRegistered();
  r.intNumFoldersScanned = r.lngNumFilesScanned > 1 ? 2 : 1;
}

// The standard table: "the" in all three files, the rest in fewer; "zz" excluded.
inline void FillStandardTable(Session& s) {
  const std::string a = std::string(kFolder) + "/one.txt";
  const std::string b = std::string(kFolder) + "/sub/two.txt";
  const std::string c = std::string(kFolder) + "/sub/three.txt";
  FillTable(s,
            {{a, "the", 3}, {a, "cat", 4}, {a, "dogs", 1}, {a, "zz", 7},
             {b, "the", 2}, {b, "Étude", 1}, {b, "a-very-long-word", 1},
             {c, "the", 5}, {c, "Étude", 1}, {c, "dogs", 1}},
            {"zz"});
}

using test::ReadWholeFile;

// Loads the program texts once and gives each test a fresh temporary folder.
class ReportTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() { LoadProgramTexts(DataDir() + "/talq.dat"); }
  void SetUp() override { s.settings.blnStartUpCompleted = true; }

  ScriptedHost host;
  Session s{host};
  test::TempDir temp_;
  std::filesystem::path tmp_ = temp_.path();
};

}  // namespace talq::testing
