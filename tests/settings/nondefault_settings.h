// A settings record in which every field of the field table differs from its default.
#pragma once

#include <string>

#include <gtest/gtest.h>

#include "settings/setting_fields.h"

namespace talq::testing {

// The text that NonDefaultSettings puts into field f.
inline std::string NonDefaultText(const FieldInfo& f) {
  switch (f.type) {
    case FieldType::Check:
      return f.defaultText == "1" ? "0" : "1";
    case FieldType::Choice:
    case FieldType::Option: {
      const auto list = f.choices();
      if (f.type == FieldType::Choice)
        return std::to_string((std::stoi(f.defaultText) + 1) % static_cast<int>(list.size()));
      for (const auto& name : list)
        if (name != f.defaultText) return name;
      return "";
    }
    case FieldType::Text:
      return "x" + f.name;
    case FieldType::History:
      return "/lists/" + f.name + ".txt";
  }
  return "";
}

inline Settings NonDefaultSettings() {
  Settings s;
  for (const auto& f : SettingFields()) {
    std::string error;
    EXPECT_TRUE(SetFieldFromText(s, f.name, NonDefaultText(f), error)) << error;
  }
  s.blnWordsGot = true;
  return s;
}

}  // namespace talq::testing
