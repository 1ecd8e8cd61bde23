// Standard input, streamed.
#include "sources/stream_source.h"

#include "sources/file_reader.h"
#include "sources/line_reader.h"
#include "sources/source_session.h"
#include "sources/text_prep.h"
#include "text/markup.h"
#include "util/program_texts.h"
#include "util/utf8.h"

namespace talq {

namespace {
// The characters the natural-language check looks at, as for clipboard text.
constexpr std::int64_t kCheckedChars = 3000;
}  // namespace

int DoItFromStandardInput(SourceSession& s) {
  if (!StartTextWithoutFile(s)) return kFileEmptyOrNoPath;

  LineReader reader;
  reader.Attach(s.sources.intStandardInput, TextEncoding::Utf8);
  std::int64_t unchecked = kCheckedChars;
  bool first = true;
  std::u32string line;
  while (!s.run.blnStop && reader.ReadLfLine(line)) {
    if (first && !line.empty() && line.front() == 0xFEFF) line.erase(0, 1);
    first = false;
    // The check covers the text's first characters, line breaks included; a refusal may
    // come after lines were counted, and then nothing is reported.
    if (unchecked > 0) {
      if (!IsNaturalLanguageText(line, unchecked, true)) {
        s.host.MsgBox("The text on standard input does not consist\nsolely of natural language words.",
                      "Invalid input", MsgIcon::Exclamation);
        return kFileEmptyOrNoPath;
      }
      unchecked -= std::int64_t(line.size()) + 1;
    }
    TrimLine(line);
    if (!line.empty()) {
      NormaliseLine(line);
      HandOverLine(s, line, false);
    }
    s.host.Pump();
  }
  if (reader.BytesRead() == 0 && !s.run.blnStop) {
    s.host.MsgBox("There is no text on standard input.", "Invalid input", MsgIcon::Exclamation);
    return kFileEmptyOrNoPath;
  }
  return kFileDone;
}

}  // namespace talq
