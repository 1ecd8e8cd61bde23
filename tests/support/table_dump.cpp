#include "support/table_dump.h"

#include <algorithm>
#include <vector>

#include "engine/word_table.h"

namespace talq {

namespace {

std::vector<const WordRecord*> ByWord(WordTable& table) {
  table.SettleCounts();
  std::vector<const WordRecord*> records;
  for (std::int64_t i = 1; i <= table.lngNumWords; ++i) records.push_back(&table.udtWords[i]);
  // std::string compares bytes unsigned, which orders UTF-8 by code point.
  std::sort(records.begin(), records.end(),
            [](const WordRecord* a, const WordRecord* b) { return a->strWord < b->strWord; });
  return records;
}

}  // namespace

std::string DumpWordTable(WordTable& table, std::int64_t minFrequency) {
  std::string out;
  for (const WordRecord* r : ByWord(table)) {
    if (r->lngFrequency < minFrequency) continue;
    out += r->strWord + '\t' + std::to_string(r->lngFrequency) + '\t' +
           (r->blnIncluded ? std::to_string(r->lngFreqRank) : std::string("x")) + '\t';
    if (r->NumFiles() == 0) out += '-';
    for (std::int64_t i = 0; i < r->NumFiles(); ++i) {
      if (i > 0) out += ' ';
      out += std::to_string(r->FileNumber(i)) + ':' + std::to_string(r->FileCount(i));
    }
    out += '\n';
  }
  return out;
}

std::string WordCounts(WordTable& table, bool includedOnly) {
  std::string out;
  for (const WordRecord* r : ByWord(table)) {
    if (includedOnly && !r->blnIncluded) continue;
    if (!out.empty()) out += " | ";
    out += r->strWord + '=' + std::to_string(r->lngFrequency);
  }
  return out;
}

}  // namespace talq
