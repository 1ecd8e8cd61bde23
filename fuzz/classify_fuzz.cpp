// Fuzz target: file classification (probe, verdict, the word-list check) and decoding
// every line of the file in the encoding the classifier chose.
#include <cstddef>
#include <cstdint>
#include <string>

#include "fuzz_support.h"
#include "sources/classify.h"
#include "sources/line_reader.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace talq;
  const std::string path = fuzz::WriteInput("input.txt", data, size);

  EncodingInfo info;
  GetTextEncoding(path, true, &info);
  GetTextEncoding(path, false, nullptr);
  TextFileStats stats;
  const int verdict = IsTextFile(path, kTextSampleSize, 10.0, stats);

  ScriptedHost host;
  TextCheckState state;
  bool utf8 = false;
  int checked = 0;
  CheckTextFile(host, state, path, false, utf8, checked, true);

  if (verdict > 0) {
    LineReader reader;
    if (reader.Open(path, stats.encoding.encoding, stats.encoding.bomLength)) {
      std::u32string line;
      std::size_t lines = 0;
      while (reader.ReadLfLine(line)) {
        // An HTML head may switch a byte encoding half-way; exercise the switch.
        if (++lines == 2 && reader.Encoding() == TextEncoding::Ansi) reader.SetEncoding(TextEncoding::Utf8);
      }
      if (reader.BytesRead() > std::int64_t(size)) __builtin_trap();
    }
  }
  return 0;
}
