// Fuzz target: the text runs of a document's XML and their entities.
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "sources/docx.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace talq;
  const std::string xml(reinterpret_cast<const char*>(data), size);
  std::size_t last = 0;
  DocxConvertCallbacks cb;
  cb.OnRun = [&](std::size_t, const std::string&, std::size_t position) {
    if (position > xml.size()) __builtin_trap();
    last = position;
  };
  const std::vector<std::string> runs = ConvertDocumentXml(xml, cb);
  DecodeXmlEntities(xml);
  (void)runs;
  (void)last;
  return 0;
}
