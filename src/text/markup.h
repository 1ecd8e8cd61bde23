// Comment markers, character entities and double hyphens: the pieces of mark-up and
// program sources that word extraction must not count. Lines are std::u32string and
// positions are 0-based indices (the scan position lngLP of a line is an index into it).
#pragma once

#include <array>
#include <cstddef>
#include <string>
#include <string_view>

#include "host/host.h"

namespace talq {

// The markers in force for the current file, and the scanner's state across lines.
struct CommentState {
  static constexpr int kMaxMarkers = 10;
  // Start and end markers paired by index; an empty end marker ends at the end of the line.
  // Only the first intNumCommentMarkers pairs are meaningful.
  std::array<std::u32string, kMaxMarkers> strStartCommentMarker;
  std::array<std::u32string, kMaxMarkers> strEndCommentMarker;
  int intNumCommentMarkers = 0;           // 0: comment skipping is off
  int intWithinComment = -1;              // -1 outside a comment, else the pair whose end is awaited
  bool blnCharacterEntitiesPossible = false;  // the text is mark-up and may hold entities
};

// Chooses the marker set for a lower-cased file extension ("php", "xml", "*htm*", "c",
// "cpp"; anything else: none) and whether entities are possible. Always returns true.
bool SetCommentMarkersForExtension(CommentState& state, std::string_view lowerExtension);

// Writes the pairs of the set "C", "XML", "HTML" or "PHP"; any other name turns skipping off.
void SetCommentMarkers(CommentState& state, std::string_view setName);

// Markers for clipboard text: the C markers when the user allows comment markers, else none.
// Clipboard text never holds entities.
void SetClipboardCommentMarkers(CommentState& state, bool allowCommentMarkers);

// False (after telling the user through host) when "/*" or "//" would be read as part of a
// word given allowedExtraChars (UTF-8), the extra word characters built from the settings
// with blnReadingWords false.
bool CommentMarkersOK(Host& host, std::string_view allowedExtraChars);

// The text with the named entities of the fixed table, "&quot;" and the numeric references
// of other characters replaced by their characters, a reference's character normalised as
// the source's text is. Unknown names, references to no character and to "<", ">" or "&"
// (which would read as mark-up) are left alone.
std::u32string DecodeEntities(std::u32string_view text);

// For text starting at an "&": 0 when it is not an entity, 1 for a numeric reference
// ("&#..."), otherwise the entity's length including its ";".
int EntityLength(std::u32string_view text);

// Index of the marker pair whose start marker begins at line[lngLP], or -1. Returns 3 for
// "<![CDATA[" (any case) so that SkipComment can open the section in XML files.
int CommentStartAt(const CommentState& state, std::u32string_view line, std::size_t lngLP);

// Requires state.intWithinComment >= 0. Advances lngLP past the commented stretch (to
// line.size() when it runs past the end) and sets intWithinComment to -1 when it closed.
// A numeric reference ("&#...") is skipped up to and including its ";". Callers ask
// CommentStartAt again at the new position.
void SkipComment(CommentState& state, std::u32string_view line, std::size_t& lngLP);

// The text with each "--" that is not part of "<!--" or "-->" replaced by two spaces.
std::u32string BlankDoubleHyphens(std::u32string_view text);

}  // namespace talq
