// Fuzz target: a state or named settings file read back into the settings record.
#include <cstddef>
#include <cstdint>
#include <string>

#include "fuzz_support.h"
#include "settings/state_file.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace talq;
  const std::string path = fuzz::WriteInput("talq.usr", data, size);
  Settings s;
  const RecordReading r = ReadStateRecord(s, path);
  if (r.status == kRestored) HasUnselectedChoice(s);
  // What was read must write back.
  StateRecordText(s);
  return 0;
}
