// Reading throughput: one file read into a filled word table the way a single-file count
// reads it (decoding, line preparation, lower-casing, extraction, counting), default settings.
// The corpus folder comes from TALQ_CORPORA (default bench/corpora); a missing corpus skips.
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <filesystem>
#include <string>

#include "engine/extraction.h"
#include "host/scripted_host.h"
#include "lists/list_lookup_impl.h"
#include "run/counting_run.h"
#include "run/session.h"
#include "settings/defaults.h"
#include "settings/setting_choices.h"
#include "sources/file_reader.h"
#include "text/word_chars.h"
#include "util/program_texts.h"

namespace {

namespace fs = std::filesystem;

std::string CorpusPath(const char* name) {
  const char* dir = std::getenv("TALQ_CORPORA");
  return (fs::path(dir != nullptr && *dir != '\0' ? dir : "bench/corpora") / name).string();
}

std::string DataDir() {
  const char* dir = std::getenv("TALQ_DATA_DIR");
  return dir != nullptr && *dir != '\0' ? dir : TALQ_SOURCE_DATA_DIR;
}

// The state a counting run sets up before it reads its source.
void PrepareSession(talq::Session& s, const std::string& path) {
  using namespace talq;
  FillSettingChoices(s.settings);
  Initialize(s.settings, nullptr);
  s.settings.blnStartUpCompleted = true;
  s.settings.source = Source::optInFile;
  s.settings.txbFile[0] = path;
  InstallWordLists(s);
  SetPhraseWindow(s, s.extraction.intPhraseWindow);
  BuildAllowedExtraChars(s.settings, s.extraction.strAllowedExtraChars);
  SetAllowedExtraChars2(s.settings, s.extraction.strAllowedExtraChars);
  ResetPhrases(s);
}

void ReadFile(benchmark::State& state, const char* name) {
  const std::string path = CorpusPath(name);
  std::error_code ec;
  const auto bytes = fs::file_size(path, ec);
  if (ec) {
    state.SkipWithError(("corpus missing: " + path).c_str());
    return;
  }
  talq::LoadProgramTexts(DataDir() + "/talq.dat");
  talq::ScriptedHost host;
  talq::Session s{host};
  PrepareSession(s, path);
  for (auto _ : state) {
    s.words.Clear();
    if (talq::DoItFromFile(s, path) != talq::kFileDone) {
      state.SkipWithError("the file was not read");
      return;
    }
    benchmark::DoNotOptimize(s.words.lngNumWords);
  }
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) *
                          static_cast<std::int64_t>(bytes));
  state.counters["distinct"] = static_cast<double>(s.words.lngNumWords);
}

// The same file, then the run's post-processing: key sort, filters, chain and the listing.
void WholeCount(benchmark::State& state, const char* name) {
  const std::string path = CorpusPath(name);
  std::error_code ec;
  const auto bytes = fs::file_size(path, ec);
  if (ec) {
    state.SkipWithError(("corpus missing: " + path).c_str());
    return;
  }
  talq::LoadProgramTexts(DataDir() + "/talq.dat");
  const std::string out = (fs::temp_directory_path() / "talq_bench_out.txt").string();
  for (auto _ : state) {
    talq::ScriptedHost host;
    host.answerYes = true;  // overwrite the output file of the previous round
    talq::Session s{host};
    PrepareSession(s, path);
    s.settings.txbFile[1] = out;
    if (!talq::RunSucceeded(talq::CountWords(s, false))) {
      state.SkipWithError("the count did not finish");
      return;
    }
  }
  fs::remove(out, ec);
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) *
                          static_cast<std::int64_t>(bytes));
}

BENCHMARK_CAPTURE(ReadFile, big, "big.txt")->Unit(benchmark::kMillisecond)->MinTime(2.0);
BENCHMARK_CAPTURE(ReadFile, russian, "multilingual/ru.txt")->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(WholeCount, big, "big.txt")->Unit(benchmark::kMillisecond)->Iterations(1);

}  // namespace

BENCHMARK_MAIN();
