#include "settings/settings.h"

#include "settings/setting_choices.h"

namespace talq {

const std::string& FileHistory::Selected() const {
  static const std::string none;
  if (index < 0 || index >= static_cast<int>(items.size())) return none;
  return items[static_cast<std::size_t>(index)];
}

int Settings::ShortWordSize() const { return ChoiceNumber(ShortWordSizeChoices(), cboShortWordSize); }
int Settings::LongWordSize() const { return ChoiceNumber(LongWordSizeChoices(), cboLongWordSize); }
int Settings::ThresholdFrequency() const {
  return ChoiceNumber(ThresholdFrequencyChoices(), cboThresholdFrequency);
}
int Settings::ExcessFrequency() const {
  return ChoiceNumber(ExcessFrequencyChoices(), cboExcessFrequency);
}
int Settings::PhraseLength(int i) const {
  if (i < 0 || i > 1) return 0;
  return ChoiceNumber(PhraseLengthChoices(), cboPhraseLength[i]);
}
int Settings::MinimumFrequency() const {
  return ChoiceNumber(MinimumFrequencyChoices(), cboMinimumFrequency);
}

}  // namespace talq
