// Fuzz target: a count of all phrases of a short text under settings taken from the first
// six bytes (lengths 1-6, minimum frequency, the four words-to-ignore handlings, word rules,
// terminators, the source, the listing), the redundant sub-phrase pass, the report, then a
// filtered report. Short texts are also counted the slow literal way, and the two must keep
// the same phrases: a difference is a fault like a crash.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "fuzz_support.h"
#include "run/counting_run.h"
#include "run/phrase_run.h"
#include "support/phrase_reference.h"

namespace {

using namespace talq;

// Longer inputs only slow the search: phrases come from a few hundred words.
constexpr std::size_t kMaxText = 16 * 1024;
// Up to this size the literal way (quadratic in the phrases) runs as well.
constexpr std::size_t kMaxCompared = 4 * 1024;

const char* const kIgnore[4] = {"", "the a of", "<t.e> ~s", "and+the x?"};
const char* const kFilters[4] = {"of the", "The, END!", "a b", "éa x-y"};

struct Setup {
  int source = 0;  // clipboard, text file, mark-up file, folder of files split at form feeds
  bool filterFromText = false;
  int filter = 0;
  FilterMode filterMode = FilterMode::None;
};

Setup Configure(Settings& st, fuzz::Bits& bits) {
  Setup u;
  const int minWords = 1 + int(bits.Take(3) % 6);
  st.cboPhraseLength[0] = minWords - 1;
  st.cboPhraseLength[1] = minWords - 1 + int(bits.Take(3) % (7 - minWords));
  st.cboMinimumFrequency = int(bits.Take(2));
  st.wordsToIgnoreHandling = WordsToIgnoreHandling(bits.Take(2));
  st.txbWordsToIgnoreOrCount[0] = kIgnore[bits.Take(2)];
  st.chkIgnoreShortWords = bits.Flag();
  st.chkIgnoreRepetitions = bits.Flag();
  st.chkIgnoreNoLetter = bits.Flag();
  st.cboLongWordSize = int(bits.Take(2));
  st.chkTerminatePhraseAtPeriod = bits.Flag();
  st.chkTerminatePhraseAtComma = bits.Flag();
  st.chkTerminatePhraseAtTab = bits.Flag();
  st.chkTerminatePhraseAtDoubleQuote = bits.Flag();
  st.chkTerminatePhraseAtEndOfLine = bits.Flag();
  st.chkCaseSignificant = bits.Flag();
  st.chkDropFinalS = bits.Flag();
  st.chkOnly7bitASCII = bits.Flag();
  st.chkAllowWordsWithApostrophes = bits.Flag();
  st.chkAllowWordsWithHyphens = bits.Flag();
  st.chkAllowWordsWithNumerals = bits.Flag();
  st.chkSuppressWords = bits.Flag();
  u.source = int(bits.Take(2));
  st.cboWordOrder = int(bits.Take(1));
  // The per-file formats (11-13) need a folder.
  st.cboDisplayFormat = int(bits.Take(4)) % (u.source == 3 ? 14 : 11);
  u.filterMode = FilterMode(bits.Take(2));
  u.filterFromText = bits.Flag();
  u.filter = int(bits.Take(2));
  return u;
}

// Puts the text where the chosen source reads it.
void PlaceText(fuzz::FreshSession& f, const Setup& u, std::string_view text, const std::string& tag) {
  Settings& st = f.s.settings;
  if (u.source == 0) {
    st.source = Source::optOnClipboard;
    f.host.clipboard = std::string(text);
    return;
  }
  if (u.source < 3) {
    st.source = Source::optInFile;
    const std::string name = tag + (u.source == 1 ? "input.txt" : "input.htm");
    st.txbFile[0] = fuzz::WriteInput(name, reinterpret_cast<const std::uint8_t*>(text.data()), text.size());
    return;
  }
  const std::filesystem::path dir = fuzz::ScratchDir() / (tag + "folder");
  std::error_code ec;
  std::filesystem::remove_all(dir, ec);
  std::filesystem::create_directories(dir, ec);
  int file = 0;
  for (std::size_t start = 0; start <= text.size() && file < 4; ++file) {
    std::size_t end = text.find('\f', start);
    if (end == std::string_view::npos || file == 3) end = text.size();
    const std::string_view part = text.substr(start, end - start);
    // Appended, not `"f" + std::to_string(...)`: GCC 12 warns falsely (-Wrestrict) on that.
    std::string name("f");
    name.append(std::to_string(file)).append(".txt");
    const std::string path = (dir / name).string();
    if (std::FILE* out = std::fopen(path.c_str(), "wb")) {
      std::fwrite(part.data(), 1, part.size(), out);
      std::fclose(out);
    }
    start = end + 1;
  }
  st.source = Source::optFolder;
  st.txbFolder = dir.string();
}

// Included entries as "phrase=frequency", sorted.
std::string Included(WordTable& t) {
  t.SettleCounts();
  std::vector<std::string> entries;
  for (std::int64_t i = 1; i <= t.lngNumWords; ++i) {
    const WordRecord& r = t.udtWords[std::size_t(i)];
    if (r.blnIncluded) entries.push_back(r.strWord + "=" + std::to_string(r.lngFrequency));
  }
  std::sort(entries.begin(), entries.end());
  std::string out;
  for (const std::string& e : entries) out += e + "\n";
  return out;
}

RunResult CountPhrases(fuzz::FreshSession& f, const Setup& u, std::string_view text, bool literal) {
  PlaceText(f, u, text, literal ? "literal_" : "");
  if (literal) UseLiteralPhraseCount(f.s);
  return cmdCountAllPhrases_Click(f.s);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size > kMaxText) return 0;
  const std::uint8_t* const input = data;
  const std::size_t inputSize = size;
  fuzz::Bits bits(data, size, 6);
  const std::string_view text(reinterpret_cast<const char*>(data), size);

  fuzz::FreshSession fast;
  const Setup u = Configure(fast.s.settings, bits);
  const RunResult result = CountPhrases(fast, u, text, false);
  if (u.filterMode != FilterMode::None) {
    fast.s.settings.filterMode = u.filterMode;
    fast.s.settings.txbFilterWords =
        u.filterFromText ? std::string(text.substr(0, text.find('\n')).substr(0, 40)) : kFilters[u.filter];
    txbFilterWords_LostFocus(fast.s);
    cmdFilterResults_Click(fast.s);
  }

  if (size <= kMaxCompared) {
    fuzz::FreshSession slow;
    const std::uint8_t* again = input;
    std::size_t againSize = inputSize;
    fuzz::Bits replay(again, againSize, 6);
    Configure(slow.s.settings, replay);
    const RunResult literalResult = CountPhrases(slow, u, text, true);
    const std::string kept = Included(fast.s.words), literalKept = Included(slow.s.words);
    if (result != literalResult || kept != literalKept) {
      std::fprintf(stderr, "phrase counter: result %d, literal way %d\n--- counter\n%s--- literal\n%s",
                   int(result), int(literalResult), kept.c_str(), literalKept.c_str());
      __builtin_trap();
    }
  }
  return 0;
}
