// Fuzz target: a .docx archive: the signature check, extraction of its document member
// (zip headers, inflating, size limits) and the conversion of what was extracted.
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "fuzz_support.h"
#include "sources/docx.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace talq;
  const std::string path = fuzz::WriteInput("input.docx", data, size);
  IsDocxFile(path);
  DocxExtraction docx;
  docx.folder = CreateTempFolder("talq_fuzz");
  if (docx.folder.empty()) return 0;
  docx.xmlPath = docx.folder + "word/document.xml";
  // A small limit keeps each run quick; the limit's checks are what matters here.
  if (ExtractDocumentXml(path, docx.folder, 1 << 20) == 1) {
    std::vector<std::string> lines;
    ConvertExtractedXml(docx, lines);
  }
  return 0;
}
