// The field table: every member of Settings by its control name, with its kind, its
// choices and its default. The state and settings files, the command line's
// `--set NAME=VALUE` and the settings window's widget binding all work from this one table.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "settings/settings.h"

namespace talq {

enum class FieldType {
  Check,    // int 0 or 1
  Choice,   // int index into choices()
  Text,     // std::string
  Option,   // one of choices() (the option names), stored as an enum
  History,  // FileHistory: paths plus the selected index
};

struct FieldInfo {
  std::string name;  // control name; array elements as "txbFile(1)"
  FieldType type = FieldType::Text;
  // Check and Choice: the int member.
  int& (*intRef)(Settings&) = nullptr;
  // Text: the string member.
  std::string& (*textRef)(Settings&) = nullptr;
  // History: the history member.
  FileHistory& (*historyRef)(Settings&) = nullptr;
  // Option: the position of the selected option in choices(), and its setter.
  int (*getOption)(const Settings&) = nullptr;
  void (*setOption)(Settings&, int) = nullptr;
  // Choice: the list's texts. Option: the option names in order. Otherwise null.
  std::vector<std::string> (*choices)() = nullptr;
  // The default, written as FieldValueText writes the value.
  std::string defaultText;
  // False for fields that the state and settings files do not hold.
  bool persisted = true;
};

// All fields. Persisted fields come first, in the order the state file holds them (its
// reserved lines and repeated values are the file format's own business).
const std::vector<FieldInfo>& SettingFields();

// The field called `name` (exact spelling), or nullptr.
const FieldInfo* FindField(std::string_view name);

// Sets field `name` from its text form: a check field takes "0" or "1"; a choice field an
// index into its list; an option field one of its option names (e.g. "optFolder"); a text
// field any text; a history field a path, added when absent and then selected ("" selects
// nothing). On refusal returns false, leaves s unchanged and sets error to one line.
bool SetFieldFromText(Settings& s, std::string_view name, std::string_view value,
                      std::string& error);

// The text form of field `name` as SetFieldFromText takes it (a history: its selected
// path). "" for an unknown name.
std::string FieldValueText(const Settings& s, std::string_view name);

// The number of paths a file history may hold.
inline constexpr int kMaxHistoryFiles = 99;

}  // namespace talq
