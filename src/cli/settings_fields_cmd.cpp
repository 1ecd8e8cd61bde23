// The settings field table as a newcomer reads it.
#include "cli/settings_fields_cmd.h"

#include <CLI/CLI.hpp>

#include <ostream>

#include "settings/defaults.h"
#include "settings/setting_choices.h"
#include "settings/setting_fields.h"
#include "util/program_texts.h"

namespace talq::cli {

namespace {

const char* TypeName(FieldType type) {
  switch (type) {
    case FieldType::Check:
      return "check (0 or 1)";
    case FieldType::Choice:
      return "choice (an index)";
    case FieldType::Option:
      return "option (a name)";
    case FieldType::History:
      return "file history (a path)";
    case FieldType::Text:
      break;
  }
  return "text";
}

}  // namespace

std::string CountHelpFooter() {
  std::string text = "Display formats (-f N):\n";
  if (LoadProgramTexts(DataDir() + "/" + std::string(kProgramTextFile)) > 0) {
    for (const std::string& f : DisplayFormatChoices()) text += "  " + f + "\n";
  } else {
    text += "  (their names are in talq.dat, which did not load)\n";
  }
  // From the defaults themselves, so that the help cannot drift from them.
  Settings d;
  FillSettingChoices(d);
  Initialize(d, nullptr);
  text += "Default word rules: at least " + ShortWordSizeChoices()[std::size_t(d.cboShortWordSize)] +
          " letters, at most " + LongWordSizeChoices()[std::size_t(d.cboLongWordSize)] +
          "; hyphens " + (d.chkAllowWordsWithHyphens ? "kept" : "split") + ", apostrophes " +
          (d.chkAllowWordsWithApostrophes ? "kept" : "split") + ", " +
          (d.chkAllowWordsWithNumerals ? "digits allowed" : "no digits") +
          (d.chkIgnoreRepetitions ? ", words with 4 repeated letters dropped" : "") + ".\n" +
          "Change them with --set NAME=VALUE; 'talq settings fields' lists every field.\n";
  return text;
}

CLI::App* AddSettingsFields(CLI::App& settings) {
  return settings.add_subcommand(
      "fields", "List every settings field (for --set NAME=VALUE) with its type, choices and default.");
}

int PrintSettingsFields(std::ostream& out) {
  for (const FieldInfo& f : SettingFields()) {
    out << f.name << "  " << TypeName(f.type);
    if (!f.defaultText.empty() || f.type == FieldType::Text) out << "  default \"" << f.defaultText << '"';
    out << '\n';
    if (!f.choices) continue;
    const std::vector<std::string> choices = f.choices();
    for (std::size_t i = 0; i < choices.size(); ++i) {
      out << "  ";
      if (f.type == FieldType::Choice) out << i << "  ";
      out << choices[i] << '\n';
    }
  }
  return 0;
}

}  // namespace talq::cli
