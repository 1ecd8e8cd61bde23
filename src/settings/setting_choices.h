// The texts of every choice field's list. A choice field stores an index into its list;
// the engine uses the number the selected text shows.
#pragma once

#include <string>
#include <vector>

#include "settings/settings.h"

namespace talq {

// "2" … "20".
const std::vector<std::string>& ShortWordSizeChoices();
// "20", "30", … "100".
const std::vector<std::string>& LongWordSizeChoices();
// "2" … "10", "20" … "100".
const std::vector<std::string>& ThresholdFrequencyChoices();
// "1" … "10", "20" … "100", "200" … "500".
const std::vector<std::string>& ExcessFrequencyChoices();
// The six languages, "All six languages", "[No language selected]" (index 7).
const std::vector<std::string>& CommonWordsLanguagesChoices();
// "1" … "25" (both phrase-length fields).
const std::vector<std::string>& PhraseLengthChoices();
// "1" … "30".
const std::vector<std::string>& MinimumFrequencyChoices();
// Program texts 43 and 44 (frequency order, alphabetical order); "" until texts are loaded.
std::vector<std::string> WordOrderChoices();
// Program texts 51 to 64: display formats #0 … #13.
std::vector<std::string> DisplayFormatChoices();

// Index of cboCommonWordsLanguages that means no common-word list.
inline constexpr int kNoLanguageSelected = 7;

// Every choice list a window shows, filled once at start-up.
struct SettingChoices {
  std::vector<std::string> cboShortWordSize;
  std::vector<std::string> cboLongWordSize;
  std::vector<std::string> cboThresholdFrequency;
  std::vector<std::string> cboExcessFrequency;
  std::vector<std::string> cboCommonWordsLanguages;
  std::vector<std::string> cboWordOrder;
  std::vector<std::string> cboDisplayFormat;
};

// Fills the lists (captions from the loaded program texts) and selects each list's default
// index in s. Run before any default or restore; the phrase-window lists are not touched.
SettingChoices FillSettingChoices(Settings& s);

// The number shown by choice `index` of `choices`; 0 when index is outside the list.
int ChoiceNumber(const std::vector<std::string>& choices, int index);

}  // namespace talq
