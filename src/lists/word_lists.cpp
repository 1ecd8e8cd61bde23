#include "lists/word_lists.h"

#include <algorithm>
#include <map>
#include <numeric>
#include <vector>

#include "engine/extraction.h"
#include "lists/list_history.h"
#include "lists/list_lookup_impl.h"
#include "lists/patterns.h"
#include "sources/classify.h"
#include "sources/line_reader.h"
#include "sources/source_session.h"
#include "sources/text_prep.h"
#include "text/markup.h"
#include "text/word_chars.h"
#include "util/numbers.h"
#include "util/paths.h"
#include "util/program_texts.h"
#include "util/text_case.h"
#include "util/utf8.h"

namespace talq {

namespace {

constexpr char kProhibitedEnds[] = "'.,()+-";

// Removes "/* ... */" (across lines, through inBlock) and "// ..." from line. An
// angle-bracketed stretch is an entry, never a comment: "<a//b>" stays whole.
void StripComments(std::u32string& line, bool& inBlock) {
  std::u32string out;
  std::size_t i = 0;
  while (i < line.size()) {
    if (inBlock) {
      const auto end = line.find(U"*/", i);
      if (end == std::u32string::npos) break;
      inBlock = false;
      i = end + 2;
      out.push_back(U' ');
      continue;
    }
    const char32_t c = line[i];
    if (c == U'<') {
      const auto close = line.find(U'>', i + 1);
      if (close != std::u32string::npos) {
        out.append(line, i, close - i + 1);
        i = close + 1;
        continue;
      }
    }
    if (c == U'/' && i + 1 < line.size() && line[i + 1] == U'/') break;
    if (c == U'/' && i + 1 < line.size() && line[i + 1] == U'*') {
      inBlock = true;
      i += 2;
      continue;
    }
    out.push_back(c);
    ++i;
  }
  line = std::move(out);
}

// Each "<" up to the next ">" of text, in order.
std::vector<std::pair<std::size_t, std::size_t>> BracketSpans(std::u32string_view text) {
  std::vector<std::pair<std::size_t, std::size_t>> spans;
  std::size_t i = 0;
  while ((i = text.find(U'<', i)) != std::u32string_view::npos) {
    const auto close = text.find(U'>', i + 1);
    if (close == std::u32string_view::npos) break;
    spans.emplace_back(i, close + 1);
    i = close + 1;
  }
  return spans;
}

bool HasOutsideBrackets(std::u32string_view text, std::u32string_view chars) {
  std::size_t from = 0;
  for (const auto& [start, end] : BracketSpans(text)) {
    if (text.substr(from, start - from).find_first_of(chars) != std::u32string_view::npos) {
      return true;
    }
    from = end;
  }
  return text.substr(from).find_first_of(chars) != std::u32string_view::npos;
}

template <class S>
S CollapseSpaces(const S& text) {
  S out;
  for (auto c : text) {
    if (c < 32) continue;  // control characters are dropped
    if (c == ' ' && !out.empty() && out.back() == ' ') continue;
    out.push_back(c);
  }
  return out;
}

template <class S>
void ReplaceAll(S& text, const S& from, const S& to) {
  for (std::size_t i = 0; (i = text.find(from, i)) != S::npos; i += to.size()) {
    text.replace(i, from.size(), to);
  }
}

std::string PlusToSpaceOutsideBrackets(std::string_view entry) {
  std::string out(entry);
  bool inside = false;
  for (char& c : out) {
    if (c == '<') inside = true;
    if (c == '>') inside = false;
    if (c == '+' && !inside) c = ' ';
  }
  return out;
}

bool IsPhraseEntry(std::string_view entry) { return NumWordsInEntry(entry) > 1; }

std::string StripEnds(std::string_view item) {
  const auto first = item.find_first_not_of(kProhibitedEnds);
  if (first == std::string_view::npos) return {};
  const auto last = item.find_last_not_of(kProhibitedEnds);
  return std::string(item.substr(first, last - first + 1));
}

// Angle-bracketed stretches stand in the line as one private-use character each, which the
// reader admits as a word character, so the extractor takes them whole whatever they hold.
class Placeholders {
 public:
  char32_t For(const std::u32string& span) {
    auto it = codes_.find(span);
    if (it != codes_.end()) return it->second;
    const char32_t code = Next();
    codes_.emplace(span, code);
    spans_.emplace(code, span);
    return code;
  }
  std::string Expand(std::string_view word) const {
    if (spans_.empty()) return std::string(word);
    std::u32string out;
    for (char32_t c : DecodeUtf8(word)) {
      auto it = spans_.find(c);
      if (it == spans_.end()) {
        out.push_back(c);
      } else {
        out += it->second;
      }
    }
    return EncodeUtf8(out);
  }

 private:
  char32_t Next() {
    const auto n = static_cast<char32_t>(codes_.size());
    return n < 0x1900 ? 0xE000 + n : 0xF0000 + (n - 0x1900);
  }
  std::map<std::u32string, char32_t> codes_;
  std::map<char32_t, std::u32string> spans_;
};

// Puts back what ReadWords borrows, on every way out.
class ReadingGuard {
 public:
  ReadingGuard(SourceSession& s, bool countOnly) : s_(s) {
    suppressWords_ = s.settings.chkSuppressWords;
    allowComments_ = s.settings.chkAllowCommentMarkers;
    kind_ = s.settings.commentMarkerKind;
    comments_ = s.comments;
    extraChars_ = s.extraction.strAllowedExtraChars;
    caption_ = s.host.Caption("cmdCountWords");
    s.settings.chkSuppressWords = 1;
    s.settings.chkAllowCommentMarkers = 1;
    s.settings.commentMarkerKind = CommentMarkerKind::C;
    SetCommentMarkers(s.comments, "C");
    s.comments.intWithinComment = -1;
    s.comments.blnCharacterEntitiesPossible = false;
    s.run.blnReadingWords = true;
    s.run.blnReadingCountOnlyWords = countOnly;
    s.lists.blnCheckForNonAlphaNumeric = countOnly;
  }
  ~ReadingGuard() {
    s_.settings.chkSuppressWords = suppressWords_;
    s_.settings.chkAllowCommentMarkers = allowComments_;
    s_.settings.commentMarkerKind = kind_;
    s_.comments = comments_;
    s_.extraction.strAllowedExtraChars = extraChars_;
    s_.run.blnReadingWords = false;
    s_.run.blnReadingCountOnlyWords = false;
    s_.lists.blnCheckForNonAlphaNumeric = false;
    s_.host.SetCaption("cmdCountWords", caption_);
  }
  ReadingGuard(const ReadingGuard&) = delete;
  ReadingGuard& operator=(const ReadingGuard&) = delete;

 private:
  SourceSession& s_;
  int suppressWords_;
  int allowComments_;
  CommentMarkerKind kind_;
  CommentState comments_;
  std::u32string extraChars_;
  std::string caption_;
};

}  // namespace

bool ReadWords(SourceSession& session, int index) {
  const bool countOnly = index == kCountOnly;
  const std::string path = session.settings.cboWordsFile[index].Selected();
  bool utf8 = false;
  int verdict = 0;
  if (!CheckTextFile(session, path, true, utf8, verdict, false)) return false;
  EncodingInfo info;
  GetTextEncoding(path, true, &info);
  const TextEncoding encoding =
      utf8 || info.encoding == TextEncoding::Utf8 ? TextEncoding::Utf8 : TextEncoding::Ansi;

  ListState& lists = session.lists;
  ReadingGuard guard(session, countOnly);
  ClearNonAlphaNumericFlags(session);
  if (countOnly) {
    lists.blnCountOnlyWordsFileContainsWildcards = false;
    lists.blnCountOnlyWordsFileContainsAngleBrackets = false;
    session.run.blnCountOnlyWordsIncludePhrase = false;
  } else {
    lists.blnWordsToIgnoreFileContainsWildcards = false;
    lists.blnWordsToIgnoreFileContainsAngleBrackets = false;
  }
  std::u32string& allowed = session.extraction.strAllowedExtraChars;
  allowed = DecodeUtf8(strAllPossibleExtraChars) + (countOnly ? U"+" : U"~?");

  session.words.Clear();
  session.host.SetCaption("cmdCountWords", ProgramText(25));
  session.host.TxbSet(countOnly ? "Now reading count-only words . . . "
                                : "Now reading words to ignore . . . ");

  LineReader reader;
  if (!reader.Open(path, encoding, info.hasBom ? info.bomLength : 0)) return false;
  Placeholders placeholders;
  bool inBlock = false;
  std::u32string line;
  while (reader.ReadLfLine(line)) {
    TrimLine(line);
    NormaliseLine(line);
    StripComments(line, inBlock);
    std::replace(line.begin(), line.end(), U'\t', U' ');
    TrimLine(line);
    if (line.empty()) continue;

    if (countOnly) {
      const auto spans = BracketSpans(line);
      bool skip = false;
      for (const auto& [start, end] : spans) {
        const std::string entry = EncodeUtf8(line.substr(start, end - start));
        std::string inner;
        const int code = CheckRegExp(entry, inner);
        if (code != kRegExpAdmissible) {
          ReportRegExp(session.host, code, entry, path + " inadmissible regular expression",
                       "The following line will be ignored:\n" + EncodeUtf8(line), false);
          skip = true;
          break;
        }
      }
      if (skip) continue;
      if (!spans.empty()) lists.blnCountOnlyWordsFileContainsAngleBrackets = true;
      if (HasOutsideBrackets(line, U"?~")) {
        lists.blnCountOnlyWordsFileContainsWildcards = true;
        return false;
      }
      std::u32string marked;
      std::size_t from = 0;
      for (const auto& [start, end] : spans) {
        marked.append(line, from, start - from);
        const char32_t code = placeholders.For(line.substr(start, end - start));
        marked.push_back(code);
        if (allowed.find(code) == std::u32string::npos) allowed.push_back(code);
        from = end;
      }
      marked.append(line, from);
      line = CollapseSpaces(marked);
      ReplaceAll(line, std::u32string(U", "), std::u32string(U";"));
      if (line.find(U' ') != std::u32string::npos) session.run.blnCountOnlyWordsIncludePhrase = true;
      std::replace(line.begin(), line.end(), U' ', U'+');
    } else {
      if (line.find_first_of(U"<>") != std::u32string::npos) {
        lists.blnWordsToIgnoreFileContainsAngleBrackets = true;
        return false;
      }
      const std::u32string lowered = LowerCaseAccented(line);
      line.assign(1, U' ');
      line += lowered;
    }

    session.extraction.strLine = line + U" ";
    ProcessLine(session);
    session.host.Pump();
    if (session.run.blnStop) {
      session.settings.cboWordsFile[index].index = -1;
      session.words.Clear();
      return false;
    }
  }

  std::vector<std::string>& loaded = lists.Loaded(index);
  loaded.assign(1, std::string());
  for (std::int64_t i = 1; i <= session.words.lngNumWords; ++i) {
    loaded.push_back(placeholders.Expand(session.words.udtWords[i].strWord));
  }
  lists.LoadedCount(index) = session.words.lngNumWords;
  for (std::size_t i = 1; i < loaded.size(); ++i) {
    if (countOnly && IsPhraseEntry(loaded[i])) session.run.blnCountOnlyWordsIncludePhrase = true;
    if (!countOnly && loaded[i].find_first_of("~?") != std::string::npos) {
      lists.blnWordsToIgnoreFileContainsWildcards = true;
    }
  }
  if (countOnly) AllowSeenCharacters(session);
  return true;
}

bool AttemptToReadWords(SourceSession& session, int index) {
  ListState& lists = session.lists;
  Host& host = session.host;
  const std::string path = session.settings.cboWordsFile[index].Selected();
  bool ok = false;
  if (path.empty()) {
    lists.strLoadedFile[index].clear();
    return false;
  }
  if (!FileExists(path)) {
    if (session.settings.blnStartUpCompleted) {
      host.MsgBox(std::string("File for ") + (index == kWordsToIgnore ? "words-to-ignore" : "count-only words") +
                      " not found.",
                  "File not found", MsgIcon::Exclamation);
    } else if (index == kWordsToIgnore) {
      SetPathToCWDs_Eng(session);
    }
    lists.strLoadedFile[index].clear();
    return false;
  }

  if (index == kCountOnly) session.run.blnThereAreCountOnlyWords = false;
  ok = ReadWords(session, index);
  if (!session.run.blnStop) {
    if (ok && index == kCountOnly) {
      const std::int64_t n = lists.lngNumCountOnlyWords;
      const std::string text =
          (n == 1 ? std::string("One count-only word/phrase")
                  : FormatCount(n) + " count-only-words/phrases") +
          " loaded from " + path + "\n\n" +
          (n == 1 ? "Do you wish to display it?" : "Do you wish to list them?");
      if (host.MsgBox(text, "Count-only words/phrases loaded", MsgIcon::Question,
                      MsgButtons::YesNo, MsgAnswer::Yes) == MsgAnswer::Yes) {
        ListCountOnlyWords(session);
      }
      PutCountOnlyWordsIntoLowerCase(session);
    } else if (ok) {
      PutWordsToIgnoreInOrder(session);
      SyncCommonWordsLanguage(session);
    } else {
      host.TxbClear();
      std::string text;
      if (index == kCountOnly && lists.blnCountOnlyWordsFileContainsWildcards) {
        text = "The file " + path + "\n contains words with wildcards: * ?\n\n"
               "Either these should be removed or regular expressions\n"
               "should be used instead of simple patterns.";
      } else {
        const char* noun = index == kWordsToIgnore ? "words-to-ignore"
                           : lists.lngNumCountOnlyWords < 2 ? "count-only word or phrase"
                                                             : "count-only words or phrases";
        text = std::string("Error when attempting to load ") + noun + "\nfrom file " + path;
      }
      host.MsgBox(text, "Error when reading count-only words/phrases", MsgIcon::Exclamation);
      session.settings.txbWordsToIgnoreOrCount[index].clear();
      lists.Extra(index).assign(1, std::string());
      lists.ExtraCount(index) = 0;
    }
  }
  if (!ok) {
    // Entries of a refused file are never used.
    lists.Loaded(index).assign(1, std::string());
    lists.LoadedCount(index) = 0;
  }
  lists.blnListingCountOnlyWords = false;
  session.settings.blnWordsGot = false;
  lists.strLoadedFile[index] = ok ? path : std::string();
  SetThereAreListFlags(session);
  InstallWordLists(session);
  return ok;
}

bool LoadListFile(SourceSession& session, int index, const std::string& path) {
  bool added = false;
  AddFileToHistory(session, index, path, added);
  if (AttemptToReadWords(session, index)) return true;
  if (added && session.settings.cboWordsFile[index].Selected() == path) {
    RemoveSelectedFile(session, index);
  }
  if (index == kWordsToIgnore) SyncCommonWordsLanguage(session);
  return false;
}

void PutWordsToIgnoreInOrder(SourceSession& session) {
  ListState& lists = session.lists;
  std::vector<std::string>& w = lists.strWordsToIgnore;
  if (w.size() > 2) std::sort(w.begin() + 1, w.end());
}

void SplitRecordedFrequencies(SourceSession& session) {
  ListState& lists = session.lists;
  std::vector<std::string>& entries = lists.strCountOnlyWords;
  lists.strRecommendedFrequencies.assign(1, RecordedFrequency());
  for (std::size_t i = 1; i < entries.size(); ++i) {
    std::string& entry = entries[i];
    RecordedFrequency rec;
    const auto first = entry.find('+');
    const auto second = first == std::string::npos ? first : entry.find('+', first + 1);
    if (second != std::string::npos && second + 1 < entry.size()) {
      std::string head = entry.substr(0, second);
      std::replace(head.begin(), head.end(), '+', ' ');
      if (head.size() < 6) head.insert(0, 6 - head.size(), ' ');
      rec.strFrequency = head;
      entry.erase(0, second + 1);
    }
    rec.strWord = PlusToSpaceOutsideBrackets(entry);
    lists.strRecommendedFrequencies.push_back(rec);
  }
  lists.blnCountOnlyWordsIncludeRecommendedFrequencies = true;
}

void PutCountOnlyWordsIntoLowerCase(SourceSession& session) {
  ListState& lists = session.lists;
  std::vector<std::string>& entries = lists.strCountOnlyWords;
  lists.blnCountOnlyWordsIncludeRecommendedFrequencies = false;
  const int format = session.settings.cboDisplayFormat;
  if ((format == 5 || format == 7) && lists.lngNumCountOnlyWords >= 1) {
    const std::string& first = entries[1];
    const auto digits = first.find_first_not_of("0123456789");
    const bool leadingNumber = digits != 0 && first.find_first_not_of('0') < digits;
    const auto pluses = std::count(first.begin(), first.end(), '+');
    if (leadingNumber && pluses >= 2 && first.back() != '+') SplitRecordedFrequencies(session);
  }
  for (std::size_t i = 1; i < entries.size(); ++i) entries[i] = LowerCaseExceptRegexp(entries[i]);
  if (entries.size() <= 2) return;
  if (!lists.blnCountOnlyWordsIncludeRecommendedFrequencies) {
    std::sort(entries.begin() + 1, entries.end());
    return;
  }
  std::vector<std::size_t> order(entries.size() - 1);
  std::iota(order.begin(), order.end(), 1);
  std::stable_sort(order.begin(), order.end(),
                   [&](std::size_t a, std::size_t b) { return entries[a] < entries[b]; });
  std::vector<std::string> sorted(1);
  std::vector<RecordedFrequency> recs(1);
  for (std::size_t i : order) {
    sorted.push_back(entries[i]);
    recs.push_back(lists.strRecommendedFrequencies[i]);
  }
  entries = std::move(sorted);
  lists.strRecommendedFrequencies = std::move(recs);
}

void ListCountOnlyWords(SourceSession& session) {
  ListState& lists = session.lists;
  lists.blnListingCountOnlyWords = true;
  const std::int64_t n = lists.lngNumCountOnlyWords;
  std::vector<std::string> entries(lists.strCountOnlyWords.begin() + 1,
                                   lists.strCountOnlyWords.begin() + 1 + n);
  std::sort(entries.begin(), entries.end());
  const auto phrases = std::count_if(entries.begin(), entries.end(), IsPhraseEntry);
  std::string text;
  if (n == 1) {
    text = phrases == 1 ? "There is one phrase in the count-only file:"
                        : "There is one word in the count-only file:";
  } else {
    const char* noun = phrases == 0 ? "words" : phrases == n ? "phrases" : "words or phrases";
    text = "There are " + FormatCount(n) + " " + noun + " in the count-only file:";
  }
  text += "\n\n";
  for (const std::string& e : entries) text += PlusToSpaceOutsideBrackets(e) + "\n";
  session.host.TxbSet(text);
  lists.blnListingCountOnlyWords = false;
}

void SetThereAreListFlags(SourceSession& session) {
  const ListState& l = session.lists;
  session.run.blnThereAreCountOnlyWords =
      l.intNumExtraCountOnlyWords >= 1 || l.lngNumCountOnlyWords >= 1;
  session.run.blnThereAreWordsToIgnore = l.HasWordsToIgnore();
}

bool GetExtraWords(SourceSession& session, int index) {
  Settings& s = session.settings;
  ListState& lists = session.lists;
  std::u32string box = DecodeUtf8(s.txbWordsToIgnoreOrCount[index]);
  TrimLine(box);
  std::string text = EncodeUtf8(box);
  s.txbWordsToIgnoreOrCount[index] = text;
  if (index == kWordsToIgnore || s.chkCaseSignificant == 0) text = LowerCaseExceptRegexp(text);

  std::vector<std::string> items;
  if (index == kCountOnly) {
    if (s.blnStartUpCompleted) {
      for (const auto& [start, end] : BracketSpans(box)) {
        const std::string entry = EncodeUtf8(std::u32string_view(box).substr(start, end - start));
        std::string inner;
        const int code = CheckRegExp(entry, inner);
        if (code != kRegExpAdmissible) {
          ReportRegExp(session.host, code, entry,
                       "Extra count-only words/phrases: inadmissible regular expression", "",
                       false);
          return false;
        }
      }
    }
    text = CollapseSpaces(text);
    ReplaceAll(text, std::string(" ,"), std::string(","));
    ReplaceAll(text, std::string(", "), std::string(";"));
    std::replace(text.begin(), text.end(), ' ', '+');
    std::size_t start = 0;
    for (;;) {
      const auto semi = text.find(';', start);
      items.push_back(text.substr(start, semi == std::string::npos ? semi : semi - start));
      if (semi == std::string::npos) break;
      start = semi + 1;
    }
  } else {
    std::size_t start = 0;
    while (start < text.size()) {
      const auto space = text.find(' ', start);
      items.push_back(text.substr(start, space == std::string::npos ? space : space - start));
      if (space == std::string::npos) break;
      start = space + 1;
    }
  }

  std::vector<std::string>& extra = lists.Extra(index);
  extra.assign(1, std::string());
  for (const std::string& item : items) {
    std::string stripped = StripEnds(item);
    if (!stripped.empty()) extra.push_back(std::move(stripped));
  }
  std::sort(extra.begin() + 1, extra.end());
  lists.ExtraCount(index) = static_cast<int>(extra.size() - 1);
  if (index == kCountOnly) {
    for (std::size_t i = 1; i < extra.size(); ++i) {
      if (IsPhraseEntry(extra[i])) session.run.blnCountOnlyWordsIncludePhrase = true;
    }
  }
  SetThereAreListFlags(session);
  InstallWordLists(session);
  return true;
}

bool CheckAllowedExtraChars(SourceSession& session) {
  if (!session.settings.blnStartUpCompleted) return true;
  BuildAllowedExtraChars(session.settings, session.extraction.strAllowedExtraChars);
  SetAllowedExtraChars2(session.settings, session.extraction.strAllowedExtraChars);
  const std::u32string allowed = session.extraction.strAllowedExtraChars + U"~?";
  for (int index : {kWordsToIgnore, kCountOnly}) {
    const std::u32string box = DecodeUtf8(session.settings.txbWordsToIgnoreOrCount[index]);
    bool inside = false;
    for (std::size_t i = 0; i < box.size(); ++i) {
      const char32_t c = box[i];
      if (c == U'<') inside = true;
      if (inside) {
        if (c == U'>') inside = false;
        continue;
      }
      if (c == U' ' || IsWordChar(c, false, allowed)) continue;
      if (index == kCountOnly && c == U',' && i + 1 < box.size() && box[i + 1] == U' ') continue;
      const bool prohibited = std::string_view(strProhibitedChars).find(static_cast<char>(c)) !=
                                  std::string_view::npos && c < 0x80;
      std::string text = "The character '" + EncodeUtf8(std::u32string(1, c)) +
                         "' occurs in some extra " +
                         (index == kWordsToIgnore ? "word-to-ignore" : "count-only word") +
                         "\nbut is not " + (prohibited ? "" : "currently set as ") +
                         "a character allowed in a word.";
      if (c == U',') {
        text += index == kWordsToIgnore
                    ? "\n\nWords-to-ignore must be separated by a space, not by a comma."
                    : "\n\nCount-only words and phrases must be separated by comma+space, not "
                      "just by comma.";
      } else if (c == U'^') {
        text += index == kWordsToIgnore ? "\n\nPerhaps some Word-to-ignore"
                                        : "\n\nPerhaps some count-only word";
        text += " is a regular expression\nwithout angle brackets.";
      }
      session.host.MsgBox(text, "Character not allowed", MsgIcon::Information);
      return false;
    }
  }
  return true;
}

void LeaveExtraWordsBox(SourceSession& session, int index) {
  Settings& s = session.settings;
  std::u32string box = DecodeUtf8(s.txbWordsToIgnoreOrCount[index]);
  TrimLine(box);
  s.txbWordsToIgnoreOrCount[index] = EncodeUtf8(box);
  if (box.empty()) {
    session.lists.Extra(index).assign(1, std::string());
    session.lists.ExtraCount(index) = 0;
    SetThereAreListFlags(session);
    return;
  }
  if (index == kWordsToIgnore || s.chkCaseSignificant == 0) {
    s.txbWordsToIgnoreOrCount[index] = LowerCaseExceptRegexp(s.txbWordsToIgnoreOrCount[index]);
  }
  if (GetExtraWords(session, index)) CheckAllowedExtraChars(session);
}

}  // namespace talq
