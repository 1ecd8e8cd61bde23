// The line reader: every line ending at every offset, every encoding, block boundaries.
#include "sources/line_reader.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "support/temp_files.h"
#include "util/utf8.h"

namespace talq {
namespace {

namespace fs = std::filesystem;

class LineReaderTest : public ::testing::Test {
 protected:
  std::string Write(const std::string& bytes) {
    return test::WriteWholeFile(dir_.path() / std::to_string(counter_++), bytes);
  }
  std::vector<std::string> Lines(const std::string& bytes, TextEncoding e, int skip = 0) {
    LineReader r;
    EXPECT_TRUE(r.Open(Write(bytes), e, skip));
    std::vector<std::string> out;
    std::u32string line;
    while (r.ReadLfLine(line)) out.push_back(EncodeUtf8(line));
    EXPECT_EQ(r.BytesRead(), std::int64_t(bytes.size()));
    return out;
  }
  test::TempDir dir_;
  int counter_ = 0;
};

using V = std::vector<std::string>;

TEST_F(LineReaderTest, EveryLineEndingEndsALine) {
  EXPECT_EQ(Lines("a\r\nb\nc\rd", TextEncoding::Utf8), (V{"a", "b", "c", "d"}));
  EXPECT_EQ(Lines("a\n\nb\n", TextEncoding::Utf8), (V{"a", "", "b"}));
  EXPECT_EQ(Lines("a\r\rb\r", TextEncoding::Ansi), (V{"a", "", "b"}));
  EXPECT_EQ(Lines("", TextEncoding::Utf8), V{});
}

TEST_F(LineReaderTest, BreaksAreFoundAtEveryOffset) {
  for (const std::string brk : {"\n", "\r", "\r\n"}) {
    for (std::size_t a = 0; a < 20; ++a) {
      for (std::size_t b : {std::size_t(1), std::size_t(7), std::size_t(8), std::size_t(17)}) {
        const std::string first(a, 'x'), second(b, 'y');
        EXPECT_EQ(Lines(first + brk + second + brk + "z", TextEncoding::Ansi), (V{first, second, "z"}))
            << "break " << int(brk[0]) << " after " << a;
      }
    }
  }
}

TEST_F(LineReaderTest, DecodesAnsiAndUtf8AndRepairsNothing) {
  EXPECT_EQ(Lines("caf\xE9 \x93q\x94", TextEncoding::Ansi), V{"café “q”"});
  EXPECT_EQ(Lines("caf\xC3\xA9\n\xFFx", TextEncoding::Utf8), (V{"café", "\uFFFDx"}));
  // A short line decoded into the buffer of a longer one.
  const std::string longLine = "Ärger über Öl — ça va, Привет мир";
  EXPECT_EQ(Lines(longLine + "\nab\n\xC3\n", TextEncoding::Utf8), (V{longLine, "ab", "\uFFFD"}));
}

TEST_F(LineReaderTest, DecodesUtf16AndUtf32) {
  std::string le("\xFF\xFE" "a\0\r\0\n\0\xE9\0=\xD8\0\xDE", 14);  // a CRLF é U+1F600
  EXPECT_EQ(Lines(le, TextEncoding::Utf16LE, 2), (V{"a", "é\U0001F600"}));
  std::string be("\xFE\xFF\0a\0\n\0b", 8);
  EXPECT_EQ(Lines(be, TextEncoding::Utf16BE, 2), (V{"a", "b"}));
  std::string be32("\0\0\xFE\xFF\0\0\0x\0\0\0\r\0\0\x04\x10", 16);
  EXPECT_EQ(Lines(be32, TextEncoding::Utf32BE, 4), (V{"x", "А"}));
  std::string lone("\0\xD8" "b\0", 4);  // unpaired high surrogate
  EXPECT_EQ(Lines(lone, TextEncoding::Utf16LE), V{"\uFFFDb"});
}

TEST_F(LineReaderTest, CrLfSplitAcrossBlocksIsOneLineEnd) {
  std::string big(1 << 20, 'x');
  big[(1 << 20) - 1] = '\r';
  std::string bytes = big + "\nnext\n";
  V lines = Lines(bytes, TextEncoding::Ansi);
  ASSERT_EQ(lines.size(), 2u);
  EXPECT_EQ(lines[0].size(), std::size_t((1 << 20) - 1));
  EXPECT_EQ(lines[1], "next");

  std::string u16;
  for (int i = 0; i < (1 << 19) - 1; ++i) u16 += std::string("y\0", 2);
  u16 += std::string("\r\0\n\0z\0", 6);  // the CR ends the first block
  V l16 = Lines(u16, TextEncoding::Utf16LE);
  ASSERT_EQ(l16.size(), 2u);
  EXPECT_EQ(l16[1], "z");
}

TEST_F(LineReaderTest, HeadCharsetSwitchesTheFollowingLinesToUtf8) {
  LineReader r;
  ASSERT_TRUE(r.Open(Write("caf\xC3\xA9\ncaf\xC3\xA9\n"), TextEncoding::Ansi, 0));
  std::u32string line;
  ASSERT_TRUE(r.ReadLfLine(line));
  EXPECT_EQ(EncodeUtf8(line), "cafÃ©");
  r.SetEncoding(TextEncoding::Utf8);
  ASSERT_TRUE(r.ReadLfLine(line));
  EXPECT_EQ(EncodeUtf8(line), "café");
}

// Former faults.

// A file whose length is not a whole number of units counted the partial unit at its end as
// a whole one: more bytes read than the file holds.
TEST_F(LineReaderTest, PartialUnitAtTheEndCountsOnlyItsBytes) {
  const std::string u32be("\0\0\0a\0\0\0\n\0\0\x04", 11);
  EXPECT_EQ(Lines(u32be, TextEncoding::Utf32BE), (std::vector<std::string>{"a", "\xEF\xBF\xBD"}));
  const std::string u16le("a\0\n\0b", 5);
  EXPECT_EQ(Lines(u16le, TextEncoding::Utf16LE), (std::vector<std::string>{"a", "\xEF\xBF\xBD"}));
}

}  // namespace
}  // namespace talq
