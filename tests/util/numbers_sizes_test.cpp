#include <clocale>
#include <filesystem>

#include <gtest/gtest.h>

#include "support/temp_files.h"

#include "util/numbers.h"
#include "util/sizes.h"

namespace talq {
namespace {

// Tests run in a locale without grouping rules ("C" or "C.UTF-8").
TEST(NumbersTest, FallbackSeparatorsAndRounding) {
  EXPECT_EQ(FormatCount(0), "0");
  EXPECT_EQ(FormatCount(999), "999");
  EXPECT_EQ(FormatCount(1204), "1,204");
  EXPECT_EQ(FormatCount(-1234567), "-1,234,567");
  EXPECT_EQ(FormatNumber(1024, 2), "1,024.00");
  EXPECT_EQ(FormatNumber(1234567.891, 1), "1,234,567.9");
  EXPECT_EQ(FormatNumber(0.004, 2), "0.00");
  EXPECT_EQ(FormatNumber(-0.004, 2), "0.00");
  EXPECT_EQ(FormatNumber(2.5, 0), "2");
  EXPECT_EQ(DecimalSeparator(), ".");
}

TEST(NumbersTest, GroupsWithTheLocalesRules) {
  const std::string saved = std::setlocale(LC_NUMERIC, nullptr);
  if (!std::setlocale(LC_NUMERIC, "de_DE.UTF-8")) GTEST_SKIP() << "no German locale";
  EXPECT_EQ(FormatNumber(1234567.5, 2), "1.234.567,50");
  std::setlocale(LC_NUMERIC, saved.c_str());
}

TEST(NumbersTest, NumberWords) {
  struct Case {
    std::int64_t n;
    const char* english;
    const char* german;
  };
  const Case cases[] = {
      {0, "No", "Keine"},         {1, "One", "Eine"},
      {8, "Eight", "Ache"},       {20, "Twenty", "Zwanzig"},
      {21, "Twenty one", "Eine und zwanzig"},
      {30, "Thirty", "Dreißig"},  {99, "Ninety nine", "Neun und neunzig"},
      {100, "100", "100"},        {12345, "12,345", "12,345"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(NumberWord(c.n, false), c.english) << c.n;
    EXPECT_EQ(NumberWord(c.n, true), c.german) << c.n;
  }
}

TEST(SizesTest, ByteSizeTexts) {
  struct Case {
    double value;
    int decimals;
    const char* want;
  };
  const Case cases[] = {
      {0, 2, "0 bytes"},           {1023, 2, "1023 bytes"},
      {1536, 2, "1.50 Kb"},        {1048575, 0, "1,024 Kb"},
      {1048576, 2, "1.00 Mb"},     {1610612736, 1, "1.5 Gb"},
  };
  for (const auto& c : cases) EXPECT_EQ(FormatByteSize(c.value, c.decimals), c.want) << c.value;

  EXPECT_EQ(FormatFileSizeKbMb(1023), "1023 bytes");
  EXPECT_EQ(FormatFileSizeKbMb(1024), "1.00 Kb");
  EXPECT_EQ(FormatFileSizeKbMb(1048576), "1.00 Mb");
  EXPECT_EQ(FormatFileSizeKbMb(1073741824), "1,024.00 Mb");  // no Gb step
}

TEST(SizesTest, FileSizeOfMissingOrEmptyPathIsEmpty) {
  test::TempDir dir;
  const auto file = dir.path() / "sizes.txt";
  test::WriteWholeFile(file, std::string(1536, 'x'));
  EXPECT_EQ(FileSizeText(file.string(), 2), "1.50 Kb");
  EXPECT_EQ(FileSizeTextKbMb(file.string()), "1.50 Kb");
  std::filesystem::remove(file);
  EXPECT_EQ(FileSizeText(file.string(), 2), "");
  EXPECT_EQ(FileSizeTextKbMb(""), "");
  EXPECT_EQ(FileSizeText(dir.path().string(), 2), "");
}

}  // namespace
}  // namespace talq
