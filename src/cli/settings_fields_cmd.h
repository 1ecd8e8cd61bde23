// `talq settings fields`: every field of the settings record with its type, its choices and
// its default, for a newcomer writing --set NAME=VALUE.
#pragma once

#include <iosfwd>
#include <string>

namespace CLI {
class App;
}

namespace talq::cli {

// The end of `talq count --help`: the display formats, the default word rules and where the
// settings fields are listed. Loads the program texts when it can.
std::string CountHelpFooter();

// Adds `fields` to the `settings` command; returns it (parsed() says whether it was given).
CLI::App* AddSettingsFields(CLI::App& settings);

// Lists the field table: "NAME  TYPE  default VALUE", then one "  INDEX  MEANING" line per
// choice. The program texts must be loaded (some choice lists are program texts). Returns 0.
int PrintSettingsFields(std::ostream& out);

}  // namespace talq::cli
