#include "settings/setting_fields.h"

#include <set>
#include <tuple>

#include <gtest/gtest.h>

#include "settings/setting_choices.h"
#include "settings/nondefault_settings.h"
#include "util/program_texts.h"

namespace talq {
namespace {

using testing::NonDefaultSettings;
using testing::NonDefaultText;

// Binds every data member of Settings. A member added to Settings breaks this binding on
// purpose: give it a field-table entry and extend the binding.
auto Members(Settings& s) {
  auto& [m0, m1, m2, m3, m4, m5, m6, m7, m8, m9, m10, m11, m12, m13, m14, m15, m16, m17, m18, m19, m20, m21, m22, m23, m24, m25, m26, m27, m28, m29, m30, m31, m32, m33, m34, m35, m36, m37, m38, m39, m40, m41, m42, m43, m44, m45, m46, m47, m48, m49, m50, m51, m52, m53, m54, m55, m56, m57, m58, m59, m60, m61, m62, m63, m64, m65, m66] = s;
  return std::tie(m0, m1, m2, m3, m4, m5, m6, m7, m8, m9, m10, m11, m12, m13, m14, m15, m16, m17, m18, m19, m20, m21, m22, m23, m24, m25, m26, m27, m28, m29, m30, m31, m32, m33, m34, m35, m36, m37, m38, m39, m40, m41, m42, m43, m44, m45, m46, m47, m48, m49, m50, m51, m52, m53, m54, m55, m56, m57, m58, m59, m60, m61, m62, m63, m64, m65, m66);
}

bool Differs(const FileHistory& a, const FileHistory& b) {
  return a.items != b.items && a.index != b.index;
}
template <class T>
bool Differs(const T& a, const T& b) {
  return a != b;
}
template <class T, std::size_t N>
bool Differs(const T (&a)[N], const T (&b)[N]) {
  for (std::size_t i = 0; i < N; ++i)
    if (!Differs(a[i], b[i])) return false;
  return true;
}

TEST(SettingFieldsTest, TableReachesEveryMember) {
  Settings defaults;
  Settings changed = NonDefaultSettings();
  changed.blnWordsGot = false;  // run-time flags are not fields
  int unchanged = 0;
  std::apply(
      [&](auto&... d) {
        std::apply([&](auto&... c) { ((unchanged += Differs(d, c) ? 0 : 1), ...); },
                   Members(changed));
      },
      Members(defaults));
  EXPECT_EQ(unchanged, 3);  // blnWordsGot, blnStartUpCompleted, blnRestoring
}

TEST(SettingFieldsTest, NamesAreUniqueAndDefaultsMatchTheRecord) {
  const Settings s;
  std::set<std::string> seen;
  for (const auto& f : SettingFields()) {
    EXPECT_TRUE(seen.insert(f.name).second) << f.name;
    EXPECT_EQ(FindField(f.name), &f);
    EXPECT_EQ(FieldValueText(s, f.name), f.defaultText) << f.name;
  }
}

TEST(SettingFieldsTest, ValuesRoundTripThroughText) {
  const Settings s = NonDefaultSettings();
  for (const auto& f : SettingFields())
    EXPECT_EQ(FieldValueText(s, f.name), NonDefaultText(f)) << f.name;
}

TEST(SettingFieldsTest, SetFieldFromTextAcceptsAndRefuses) {
  struct Case {
    const char* name;
    const char* value;
    const char* error;  // "" when accepted
  };
  const Case cases[] = {
      {"chkCaseSignificant", "1", ""},
      {"chkCaseSignificant", "0", ""},
      {"chkCaseSignificant", "2", "chkCaseSignificant takes 0 or 1, not \"2\"."},
      {"chkCaseSignificant", "yes", "chkCaseSignificant takes 0 or 1, not \"yes\"."},
      {"chkCaseSignificant", "", "chkCaseSignificant takes 0 or 1, not \"\"."},
      {"cboShortWordSize", "18", ""},
      {"cboShortWordSize", "19", "cboShortWordSize takes an index from 0 to 18, not \"19\"."},
      {"cboShortWordSize", "-1", "cboShortWordSize takes an index from 0 to 18, not \"-1\"."},
      {"cboShortWordSize", " 1", "cboShortWordSize takes an index from 0 to 18, not \" 1\"."},
      {"cboPhraseLength(1)", "25", "cboPhraseLength(1) takes an index from 0 to 24, not \"25\"."},
      {"source", "optInFile", ""},
      {"source", "Folder",
       "source takes one of optOnClipboard, optInFile, optFolder, not \"Folder\"."},
      {"tableLayout", "optBoth", ""},
      {"txbFile(1)", "out put.txt", ""},
      {"txbUserSpecifiedExtraChars", "", ""},
      {"txbFile(2)", "x", "Unknown setting \"txbFile(2)\"."},
      {"chkcasesignificant", "1", "Unknown setting \"chkcasesignificant\"."},
      {"", "1", "Unknown setting \"\"."},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.name) + "=" + c.value);
    Settings s;
    const std::string before = FieldValueText(s, c.name);
    std::string error;
    const bool ok = SetFieldFromText(s, c.name, c.value, error);
    EXPECT_EQ(ok, *c.error == '\0');
    if (ok) {
      EXPECT_EQ(FieldValueText(s, c.name), c.value);
    } else {
      EXPECT_EQ(error, c.error);
      EXPECT_EQ(FieldValueText(s, c.name), before);
    }
  }
}

TEST(SettingFieldsTest, HistoryAddsSelectsAndKeepsOneEntryPerPath) {
  Settings s;
  std::string error;
  for (const char* path : {"/a.txt", "/b.txt", "/a.txt"})
    ASSERT_TRUE(SetFieldFromText(s, "cboWordsFile(1)", path, error));
  EXPECT_EQ(s.cboWordsFile[1].items, (std::vector<std::string>{"/a.txt", "/b.txt"}));
  EXPECT_EQ(s.cboWordsFile[1].Selected(), "/a.txt");
  EXPECT_TRUE(s.cboWordsFile[0].items.empty());

  ASSERT_TRUE(SetFieldFromText(s, "cboWordsFile(1)", "", error));
  EXPECT_EQ(s.cboWordsFile[1].index, -1);
  EXPECT_EQ(s.cboWordsFile[1].Selected(), "");
  EXPECT_EQ(s.cboWordsFile[1].items.size(), 2u);

  s.cboWordsFile[1].items.resize(kMaxHistoryFiles, "/x");
  EXPECT_FALSE(SetFieldFromText(s, "cboWordsFile(1)", "/new.txt", error));
  EXPECT_EQ(error, "cboWordsFile(1) already holds 99 files.");
  EXPECT_TRUE(SetFieldFromText(s, "cboWordsFile(1)", "/b.txt", error));  // present: selects
  EXPECT_EQ(s.cboWordsFile[1].index, 1);
}

TEST(SettingChoicesTest, FillTakesCaptionsFromProgramTextsAndSelectsDefaults) {
  ASSERT_GT(LoadProgramTexts(std::string(TALQ_SOURCE_DATA_DIR) + "/talq.dat"), 0);
  Settings s;
  const char* const unselected[] = {
      "cboShortWordSize",        "cboLongWordSize", "cboThresholdFrequency", "cboExcessFrequency",
      "cboCommonWordsLanguages", "cboWordOrder",    "cboDisplayFormat"};
  for (const char* name : unselected) FindField(name)->intRef(s) = -1;
  const SettingChoices c = FillSettingChoices(s);
  EXPECT_EQ(c.cboDisplayFormat[13], ProgramText(64));
  for (const char* name : unselected)
    EXPECT_EQ(FieldValueText(s, name), FindField(name)->defaultText) << name;
}

}  // namespace
}  // namespace talq
