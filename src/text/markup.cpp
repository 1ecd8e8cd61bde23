#include "text/markup.h"

#include <algorithm>

#include "text/entities.h"
#include "util/punctuation.h"
#include "util/text_case.h"
#include "util/utf8.h"

namespace talq {

namespace {

// C and C++ sources and headers under their usual names.
bool IsCFamilyExtension(std::string_view ext) {
  for (std::string_view e : {"c", "cpp", "h", "hpp", "cc", "cxx", "hh", "hxx"})
    if (ext == e) return true;
  return false;
}

}  // namespace
namespace {

struct MarkerPair {
  std::u32string_view start;
  std::u32string_view end;
};

constexpr MarkerPair kCMarkers[] = {{U"/*", U"*/"}, {U"//", U""}};
constexpr MarkerPair kXmlMarkers[] = {{U"<?xml", U"?>"}, {U"<!--", U"-->"}, {U"<", U">"}};
constexpr MarkerPair kHtmlMarkers[] = {
    {U"&", U";"},        {U"<script", U"/script>"}, {U"<style", U"/style>"},
    {U"<noscript", U"/noscript>"}, {U"<!--", U"-->"}, {U"<", U">"}};
// "<?php" closes at "?>": PHP code is not text.
constexpr MarkerPair kPhpMarkers[] = {
    {U"&", U";"},        {U"<script", U"/script>"}, {U"<style", U"/style>"},
    {U"<noscript", U"/noscript>"}, {U"<!--", U"-->"}, {U"<?php", U"?>"},
    {U"<", U">"},        {U"/*", U"*/"},           {U"//", U""}};

constexpr std::u32string_view kCdataStart = U"<![CDATA[";
// What a numeric reference may consist of after its "&#".
constexpr std::u32string_view kReferenceChars =
    U"ABCDEFGHIJKLMNOPQRSTUVWXYZŠŒŸÀÁÂÃÄÅÆÇÈÉÊËÌÍÎÏÐÑÒÓÔÕÖØÙÚÛÜÝÞ"
    U"abcdefghijklmnopqrstuvwxyzšœÿàáâãäåæçèéêëìíîïðñòóôõöøùúûüýþß0123456789";

template <std::size_t N>
void WritePairs(CommentState& state, const MarkerPair (&pairs)[N]) {
  for (std::size_t i = 0; i < N; ++i) {
    state.strStartCommentMarker[i] = pairs[i].start;
    state.strEndCommentMarker[i] = pairs[i].end;
  }
  state.intNumCommentMarkers = static_cast<int>(N);
}

// The word-character test for characters met in markers and entities (digits not admitted).
bool IsWordCharacter(char32_t c, std::u32string_view extra) {
  if (c < 128) {
    if ((c >= U'A' && c <= U'Z') || (c >= U'a' && c <= U'z')) return true;
  } else if (c < 256) {
    if ((c >= 192 && c <= 214) || (c >= 216 && c <= 246) || c >= 248) return true;
  } else if (IsUnicodeLetter(c)) {
    return true;
  }
  return extra.find(c) != std::u32string_view::npos;
}

bool StartsWithAt(std::u32string_view line, std::size_t pos, std::u32string_view what) {
  return pos <= line.size() && line.substr(pos, what.size()) == what;
}

bool IsCdataStart(std::u32string_view line, std::size_t pos) {
  if (pos > line.size() || line.size() - pos < kCdataStart.size()) return false;
  for (std::size_t k = 0; k < kCdataStart.size(); ++k) {
    char32_t c = line[pos + k];
    if (c >= U'a' && c <= U'z') c -= 32;
    if (c != kCdataStart[k]) return false;
  }
  return true;
}

bool IsXmlSet(const CommentState& state) { return state.strStartCommentMarker[0] == U"<?xml"; }

// Puts into out the text a numeric reference stands for, normalised as the line around it
// was; leaves out empty when the reference is to stay (and be skipped): no character, or
// one that would be read as mark-up ("<", ">", "&").
void DecodeNumericReference(std::u32string_view reference, std::u32string& out) {
  char32_t c = NumericReferenceValue(reference);
  if (c == 0) return;
  // As browsers read them: 128..159 are the Windows-1252 characters of those bytes.
  if (c >= 0x80 && c <= 0x9F) c = DecodeWindows1252(static_cast<unsigned char>(c));
  if (c >= 0x80 && c <= 0x9F) return;  // undefined there: a control, removed from text
  // Line breaks, controls and no-break spaces have already become spaces in the line.
  if ((c < 32 && c != U'\t') || c == 0xA0) c = U' ';
  AppendNormalisedPunctuation(out, c);
  if (out.find_first_of(U"<>&") != std::u32string::npos) out.clear();
}

}  // namespace

void SetCommentMarkers(CommentState& state, std::string_view setName) {
  if (setName == "C") {
    WritePairs(state, kCMarkers);
  } else if (setName == "XML") {
    WritePairs(state, kXmlMarkers);
  } else if (setName == "HTML") {
    WritePairs(state, kHtmlMarkers);
  } else if (setName == "PHP") {
    WritePairs(state, kPhpMarkers);
  } else {
    for (int i = 0; i < 2; ++i) {
      state.strStartCommentMarker[i].clear();
      state.strEndCommentMarker[i].clear();
    }
    state.intNumCommentMarkers = 0;
  }
}

bool SetCommentMarkersForExtension(CommentState& state, std::string_view lowerExtension) {
  std::string_view set = "None";
  if (lowerExtension == "php") {
    set = "PHP";
  } else if (lowerExtension == "xml") {
    set = "XML";
  } else if (lowerExtension.find("htm") != std::string_view::npos) {
    set = "HTML";
  } else if (IsCFamilyExtension(lowerExtension)) {
    set = "C";
  }
  SetCommentMarkers(state, set);
  state.blnCharacterEntitiesPossible = set == "PHP" || set == "XML" || set == "HTML";
  return true;
}

void SetClipboardCommentMarkers(CommentState& state, bool allowCommentMarkers) {
  SetCommentMarkers(state, allowCommentMarkers ? "C" : "");
  state.blnCharacterEntitiesPossible = false;
  state.intWithinComment = -1;
}

bool CommentMarkersOK(Host& host, std::string_view allowedExtraChars) {
  const std::u32string extra = DecodeUtf8(allowedExtraChars);
  for (std::u32string_view marker : {std::u32string_view(U"/*"), std::u32string_view(U"//")}) {
    std::size_t n = 0;
    while (n < marker.size() && IsWordCharacter(marker[n], extra)) ++n;
    if (n == marker.size()) {
      host.MsgBox("With the current settings the start-comment marker\n\"" + EncodeUtf8(marker) +
                      "\" could be part of a word.\n\n"
                      "Check the the 'Settings' window and perhaps disallow comment\n"
                      "markers or restrict allowable characters in 'words'.",
                  "Error", MsgIcon::Exclamation);
      return false;
    }
  }
  return true;
}

std::u32string DecodeEntities(std::u32string_view text) {
  std::u32string out;
  std::u32string replacement;
  std::size_t copied = 0;  // text before this index is already in out
  std::size_t semicolon = std::u32string_view::npos;
  std::size_t a = text.find(U'&');
  while (a != std::u32string_view::npos) {
    if (semicolon == std::u32string_view::npos || semicolon < a) {
      semicolon = text.find(U';', a);
      if (semicolon == std::u32string_view::npos) break;
    }
    std::u32string_view candidate = text.substr(a, semicolon - a + 1);
    const char32_t named = candidate == U"&quot;" ? U'"' : LookUpEntity(candidate);
    replacement.clear();
    if (named != 0) replacement = named;
    else DecodeNumericReference(candidate, replacement);
    if (!replacement.empty()) {
      out.append(text.substr(copied, a - copied));
      out.append(replacement);
      copied = semicolon + 1;
      a = text.find(U'&', copied);
    } else {
      // Another "&" may start the real entity before this ";" ("a & b &amp; c").
      a = text.find(U'&', a + 1);
    }
  }
  if (copied == 0) return std::u32string(text);
  out.append(text.substr(copied));
  return out;
}

int EntityLength(std::u32string_view text) {
  if (text.size() < 4) return 0;
  if (text[0] == U'&' && text[1] == U'#') return 1;
  if (text[0] != U'&') return 0;
  const std::size_t q = text.find(U';');
  if (q == std::u32string_view::npos) return 0;
  const std::size_t space = text.find(U' ');
  if ((space == std::u32string_view::npos || space > q) && q + 1 < 21) {
    return IsWordCharacter(text[1], U"#") ? static_cast<int>(q + 1) : 0;
  }
  return 0;
}

int CommentStartAt(const CommentState& state, std::u32string_view line, std::size_t lngLP) {
  const int count = std::min(state.intNumCommentMarkers, CommentState::kMaxMarkers);
  for (int i = 0; i < count; ++i) {
    const std::u32string& start = state.strStartCommentMarker[i];
    if (start.empty() || !StartsWithAt(line, lngLP, start)) continue;
    if (state.blnCharacterEntitiesPossible && start == U"&" && state.strEndCommentMarker[i] == U";") {
      return EntityLength(line.substr(lngLP)) != 0 ? i : -1;  // a lone "&" is text
    }
    // Pair 3 means a CDATA section only to SkipComment in XML; elsewhere it is another pair.
    if (IsXmlSet(state) && IsCdataStart(line, lngLP)) return 3;
    return i;
  }
  return -1;
}

void SkipComment(CommentState& state, std::u32string_view line, std::size_t& lngLP) {
  const int within = state.intWithinComment;
  if (within < 0 || within >= CommentState::kMaxMarkers) return;
  if (IsXmlSet(state) && within == 3) {
    lngLP += kCdataStart.size();  // the section's content is text
    state.intWithinComment = -1;
    return;
  }
  const std::u32string& end = state.strEndCommentMarker[within];
  if (end.empty()) {
    lngLP = line.size();
    state.intWithinComment = -1;
    return;
  }
  if (state.blnCharacterEntitiesPossible && StartsWithAt(line, lngLP, U"&#")) {
    // The reference ends at its ";": a word right after it is text.
    std::size_t p = lngLP + 2;
    while (p < line.size() && kReferenceChars.find(line[p]) != std::u32string_view::npos) ++p;
    if (p < line.size() && line[p] == U';') ++p;
    lngLP = p;
    // Skipped whole: a reference cut by the end of the line must not hide the next line.
    state.intWithinComment = -1;
    return;
  }
  const std::size_t p = lngLP < line.size() ? line.find(end, lngLP) : std::u32string_view::npos;
  if (p == std::u32string_view::npos) {
    lngLP = line.size();  // the comment goes on in the next line
    return;
  }
  lngLP = p + end.size();
  state.intWithinComment = -1;
}

std::u32string BlankDoubleHyphens(std::u32string_view text) {
  std::u32string out(text);
  std::size_t p = out.find(U"--");
  while (p != std::u32string::npos) {
    const bool openComment = p >= 2 && StartsWithAt(out, p - 2, U"<!--");
    const bool closeComment = StartsWithAt(out, p, U"-->");
    if (!openComment && !closeComment) {
      out[p] = U' ';
      out[p + 1] = U' ';
    }
    p = out.find(U"--", p + 2);
  }
  return out;
}

}  // namespace talq
