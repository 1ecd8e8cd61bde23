// The fixed table of named character entities decoded in mark-up sources.
#pragma once

#include <string_view>

namespace talq {

// One table entry: the entity from "&" to ";" and the character that replaces it.
struct EntityEntry {
  std::u32string_view name;
  char32_t replacement;
};

// The table in its fixed order ("&quot;" is not in it; DecodeEntities handles it apart).
const EntityEntry* EntityTableBegin();
const EntityEntry* EntityTableEnd();

// The replacement for an entity of the table (exact case), or 0 when it is not in it.
char32_t LookUpEntity(std::u32string_view entity);

}  // namespace talq
