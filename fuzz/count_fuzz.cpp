// Fuzz target: a whole count of one file under varied settings: decoding, line ends,
// comment markers, character entities, double hyphens, word cutting, the phrase window
// and the word table. The first three bytes choose the settings.
#include <cstddef>
#include <cstdint>
#include <string>

#include "fuzz_support.h"
#include "run/counting_run.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace talq;
  static const char* const kExtensions[8] = {"txt", "htm", "xml", "c", "cpp", "php", "html", "log"};
  fuzz::Bits bits(data, size, 3);
  fuzz::FreshSession f;
  Settings& st = f.s.settings;
  const char* ext = kExtensions[bits.Take(3)];
  st.chkAllowWordsWithHyphens = bits.Flag();
  st.chkAllowWordsWithApostrophes = bits.Flag();
  st.chkAllowWordsWithPeriods = bits.Flag();
  st.chkAllowWordsWithAmpersands = bits.Flag();
  st.chkAllowWordsWithNumerals = bits.Flag();
  st.chkAllowWordsWithForwardslashes = bits.Flag();
  st.chkAllowWordsWithParentheses = bits.Flag();
  st.chkAllowWordsWithCommas = bits.Flag();
  st.chkAllowWordsWithUserSpecifiedExtraChars = bits.Flag();
  st.txbUserSpecifiedExtraChars = "#+";
  st.chkAllowCommentMarkers = bits.Flag();
  st.chkCaseSignificant = bits.Flag();
  st.chkDropFinalS = bits.Flag();
  st.chkOnly7bitASCII = bits.Flag();
  st.chkIgnoreShortWords = bits.Flag();
  st.chkIgnoreRepetitions = bits.Flag();
  st.chkTerminatePhraseAtEndOfLine = bits.Flag();
  st.chkTerminatePhraseAtComma = bits.Flag();
  // Typed list entries: phrases open the phrase window, wildcards and expressions the lookups.
  if (bits.Flag()) st.txbWordsToIgnoreOrCount[0] = "and the <x.*>";
  if (bits.Flag()) st.txbWordsToIgnoreOrCount[1] = "the+cat a+~ing+of <wo.d> word";

  st.source = Source::optInFile;
  st.txbFile[0] = fuzz::WriteInput(std::string("input.") + ext, data, size);
  CountWords(f.s);
  return 0;
}
