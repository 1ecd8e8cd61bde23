// Word table throughput: counting a Zipf-distributed stream of words, and sorting plus
// chaining a table of one million distinct entries. Inputs are generated with fixed seeds.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdint>
#include <random>
#include <string>
#include <string_view>
#include <utility>
#include <unordered_set>
#include <vector>

#include "engine/word_table.h"
#include "host/scripted_host.h"
#include "settings/run_flags.h"
#include "settings/settings.h"

namespace {

constexpr std::size_t kDistinct = 1'000'000;
constexpr std::size_t kStream = 10'000'000;

// One million distinct words of 3 to 12 letters; about one in ten capitalised and one in
// twenty with an accented letter, so the sort keys exercise folding too.
const std::vector<std::string>& Vocabulary() {
  static const std::vector<std::string> words = [] {
    std::mt19937_64 rng(20240601);
    std::uniform_int_distribution<int> length(3, 12), letter(0, 25), dice(0, 99);
    std::unordered_set<std::string> seen;
    std::vector<std::string> out;
    out.reserve(kDistinct);
    seen.reserve(kDistinct * 2);
    while (out.size() < kDistinct) {
      std::string w;
      const int n = length(rng);
      for (int i = 0; i < n; ++i) w.push_back(static_cast<char>('a' + letter(rng)));
      const int d = dice(rng);
      if (d < 10) w[0] = static_cast<char>(w[0] - 'a' + 'A');
      if (d >= 95) w.replace(w.size() / 2, 1, "é");
      if (seen.insert(w).second) out.push_back(std::move(w));
    }
    return out;
  }();
  return words;
}

// Ten million word indices drawn from a Zipf distribution (exponent 1) over the vocabulary.
const std::vector<std::uint32_t>& Stream() {
  static const std::vector<std::uint32_t> stream = [] {
    std::vector<double> cumulative(kDistinct);
    double sum = 0;
    for (std::size_t r = 0; r < kDistinct; ++r) cumulative[r] = (sum += 1.0 / double(r + 1));
    std::mt19937_64 rng(42);
    std::uniform_real_distribution<double> u(0.0, sum);
    std::vector<std::uint32_t> out(kStream);
    for (auto& idx : out) {
      const auto it = std::lower_bound(cumulative.begin(), cumulative.end(), u(rng));
      idx = static_cast<std::uint32_t>(std::min<std::size_t>(it - cumulative.begin(), kDistinct - 1));
    }
    return out;
  }();
  return stream;
}

// The stream laid out as running text, as a scanner hands words over: one buffer read front
// to back, so the benchmark measures the table rather than fetching scattered strings.
struct Text {
  std::string buffer;
  std::vector<std::string_view> words;
};

const Text& StreamText() {
  static const Text text = [] {
    const auto& vocabulary = Vocabulary();
    Text t;
    t.buffer.reserve(Stream().size() * 9);
    std::vector<std::pair<std::size_t, std::size_t>> spans;
    spans.reserve(Stream().size());
    for (std::uint32_t idx : Stream()) {
      spans.emplace_back(t.buffer.size(), vocabulary[idx].size());
      t.buffer += vocabulary[idx];
    }
    t.words.reserve(spans.size());
    for (const auto& [at, n] : spans) t.words.emplace_back(t.buffer.data() + at, n);
    return t;
  }();
  return text;
}

struct Run {
  talq::ScriptedHost host;
  talq::Settings settings;
  talq::RunFlags run;
  Run() {
    settings.source = talq::Source::optFolder;
    settings.chkSuppressWords = 1;
    run.strCurrentFile = "/home/user/texts/corpus/part-0001.txt";
  }
  talq::WordTableContext Ctx() { return {&host, &settings, &run, true}; }
};

void BM_AddWordToList(benchmark::State& state) {
  const auto& stream = StreamText().words;
  Run r;
  const talq::WordTableContext ctx = r.Ctx();
  talq::WordTable table;
  for (auto _ : state) {
    state.PauseTiming();
    table.Clear();
    state.ResumeTiming();
    for (std::string_view w : stream) table.AddWordToList(ctx, w);
    benchmark::DoNotOptimize(table.lngNumWords);
  }
  state.counters["distinct"] = static_cast<double>(table.lngNumWords);
  state.SetItemsProcessed(static_cast<std::int64_t>(state.iterations() * stream.size()));
}
BENCHMARK(BM_AddWordToList)->Unit(benchmark::kMillisecond)->Iterations(3);

void BM_SortAndChain(benchmark::State& state) {
  const auto& words = Vocabulary();
  const auto& stream = Stream();
  Run r;
  const talq::WordTableContext ctx = r.Ctx();
  // Every word once, in vocabulary order (not sorted), then the stream for frequencies.
  talq::WordTable filled;
  for (const auto& w : words) filled.AddWordToList(ctx, w);
  for (std::uint32_t idx : stream) filled.AddWordToList(ctx, words[idx]);
  talq::WordTable table;
  for (auto _ : state) {
    state.PauseTiming();
    table = filled;
    state.ResumeTiming();
    table.SortWordsByKey();
    table.SetUpFrequencyChain(nullptr);
    benchmark::DoNotOptimize(table.lngFirstFreq);
  }
  state.SetItemsProcessed(static_cast<std::int64_t>(state.iterations()) * filled.lngNumWords);
}
BENCHMARK(BM_SortAndChain)->Unit(benchmark::kMillisecond)->Iterations(3);

}  // namespace

BENCHMARK_MAIN();
