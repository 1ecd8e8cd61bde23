// A session set up as the program starts it (program texts, choices, defaults) with short
// words counted, and a temporary folder, for tests that run whole counts from files, folders
// or the clipboard.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <map>
#include <string>

#include "host/scripted_host.h"
#include "run/counting_run.h"
#include "run/session.h"
#include "settings/defaults.h"
#include "settings/setting_choices.h"
#include "support/temp_files.h"
#include "util/program_texts.h"

namespace talq::test {

using Counts = std::map<std::string, std::int64_t>;

// A session as after start-up, with short words counted too.
inline void PrepareCountingSession(Session& s) {
  ASSERT_GT(LoadProgramTexts(DataDir() + "/talq.dat"), 0);
  FillSettingChoices(s.settings);
  Initialize(s.settings, nullptr);
  s.settings.chkIgnoreShortWords = 0;
  s.settings.blnStartUpCompleted = true;
}

class CountingTest : public ::testing::Test {
 protected:
  void SetUp() override { PrepareCountingSession(s); }

  // Word -> frequency of the table's included entries.
  Counts Table() {
    s.words.SettleCounts();
    Counts m;
    for (std::int64_t i = 1; i <= s.words.lngNumWords; ++i)
      if (s.words.udtWords[i].blnIncluded) m[s.words.udtWords[i].strWord] = s.words.udtWords[i].lngFrequency;
    return m;
  }
  // A count of one file, of a folder, of text on the clipboard.
  RunResult CountFile(const std::string& path) {
    s.settings.source = Source::optInFile;
    s.settings.txbFile[0] = path;
    return CountWords(s);
  }
  RunResult CountFolder(const std::filesystem::path& folder) {
    s.settings.source = Source::optFolder;
    s.settings.txbFolder = folder.string();
    return CountWords(s);
  }
  RunResult CountClipboard(const std::string& text) {
    s.settings.source = Source::optOnClipboard;
    host.clipboard = text;
    return CountWords(s);
  }
  std::string Write(const std::string& name, const std::string& bytes) {
    return temp.Write(name, bytes);
  }

  ScriptedHost host;
  Session s{host};
  TempDir temp;
};

}  // namespace talq::test
