#include "settings/setting_choices.h"

#include <charconv>

#include "util/program_texts.h"

namespace talq {

namespace {

std::vector<std::string> Numbers(std::initializer_list<int> values) {
  std::vector<std::string> out;
  for (int v : values) out.push_back(std::to_string(v));
  return out;
}

std::vector<std::string> Range(int from, int to, int step = 1) {
  std::vector<std::string> out;
  for (int v = from; v <= to; v += step) out.push_back(std::to_string(v));
  return out;
}

std::vector<std::string> Concat(std::vector<std::string> a, const std::vector<std::string>& b) {
  a.insert(a.end(), b.begin(), b.end());
  return a;
}

}  // namespace

const std::vector<std::string>& ShortWordSizeChoices() {
  static const auto list = Range(2, 20);
  return list;
}

const std::vector<std::string>& LongWordSizeChoices() {
  static const auto list = Range(20, 100, 10);
  return list;
}

const std::vector<std::string>& ThresholdFrequencyChoices() {
  static const auto list = Concat(Range(2, 9), Range(10, 100, 10));
  return list;
}

const std::vector<std::string>& ExcessFrequencyChoices() {
  static const auto list =
      Concat(Concat(Range(1, 9), Range(10, 100, 10)), Numbers({200, 300, 400, 500}));
  return list;
}

const std::vector<std::string>& CommonWordsLanguagesChoices() {
  static const std::vector<std::string> list = {
      "English", "German", "Spanish",           "Portuguese",
      "Italian", "French", "All six languages", "[No language selected]"};
  return list;
}

const std::vector<std::string>& PhraseLengthChoices() {
  static const auto list = Range(1, 25);
  return list;
}

const std::vector<std::string>& MinimumFrequencyChoices() {
  static const auto list = Range(1, 30);
  return list;
}

std::vector<std::string> WordOrderChoices() { return {ProgramText(43), ProgramText(44)}; }

std::vector<std::string> DisplayFormatChoices() {
  std::vector<std::string> out;
  for (int n = 51; n <= 64; ++n) out.push_back(ProgramText(n));
  return out;
}

SettingChoices FillSettingChoices(Settings& s) {
  SettingChoices c;
  c.cboShortWordSize = ShortWordSizeChoices();
  c.cboLongWordSize = LongWordSizeChoices();
  c.cboThresholdFrequency = ThresholdFrequencyChoices();
  c.cboExcessFrequency = ExcessFrequencyChoices();
  c.cboCommonWordsLanguages = CommonWordsLanguagesChoices();
  c.cboWordOrder = WordOrderChoices();
  c.cboDisplayFormat = DisplayFormatChoices();
  s.cboShortWordSize = 1;
  s.cboLongWordSize = 3;
  s.cboThresholdFrequency = 0;
  s.cboExcessFrequency = 10;
  s.cboCommonWordsLanguages = 0;
  s.cboWordOrder = 0;
  s.cboDisplayFormat = 0;
  return c;
}

int ChoiceNumber(const std::vector<std::string>& choices, int index) {
  if (index < 0 || index >= static_cast<int>(choices.size())) return 0;
  const std::string& text = choices[static_cast<std::size_t>(index)];
  int value = 0;
  std::from_chars(text.data(), text.data() + text.size(), value);
  return value;
}

}  // namespace talq
