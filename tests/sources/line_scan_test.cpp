// Line splitting at every position against the word-at-a-time break scan, and decoding into
// a buffer that is reused from a longer line.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "sources/line_reader.h"
#include "util/utf8.h"

namespace talq {
namespace {

namespace fs = std::filesystem;

std::vector<std::string> ReadAll(const std::string& bytes, TextEncoding e) {
  const fs::path p = fs::temp_directory_path() / ("talq_ls_" + std::to_string(::getpid()));
  std::ofstream(p, std::ios::binary) << bytes;
  LineReader r;
  EXPECT_TRUE(r.Open(p.string(), e, 0));
  std::vector<std::string> out;
  std::u32string line;
  while (r.ReadLfLine(line)) out.push_back(EncodeUtf8(line));
  r.Close();
  fs::remove(p);
  return out;
}

TEST(LineScanTest, BreaksAreFoundAtEveryOffset) {
  for (const std::string brk : {"\n", "\r", "\r\n"}) {
    for (std::size_t a = 0; a < 20; ++a) {
      for (std::size_t b : {std::size_t(1), std::size_t(7), std::size_t(8), std::size_t(17)}) {
        const std::string first(a, 'x'), second(b, 'y');
        const std::vector<std::string> expected{first, second, "z"};
        EXPECT_EQ(ReadAll(first + brk + second + brk + "z", TextEncoding::Ansi), expected)
            << "break " << int(brk[0]) << " after " << a;
      }
    }
  }
}

TEST(LineScanTest, ShortLineAfterLongMultiByteLine) {
  const std::string longLine = "Ärger über Öl — ça va, Привет мир";
  EXPECT_EQ(ReadAll(longLine + "\nab\n\xC3\n", TextEncoding::Utf8),
            (std::vector<std::string>{longLine, "ab", "\xEF\xBF\xBD"}));
}

}  // namespace
}  // namespace talq
