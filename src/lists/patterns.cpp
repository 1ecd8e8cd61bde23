#include "lists/patterns.h"

#include <algorithm>

#include "host/host.h"
#include "text/regexp.h"
#include "util/text_case.h"
#include "util/utf8.h"

namespace talq {
namespace {

// Applies f to every stretch of text outside "<...>" and copies the bracketed stretches
// unchanged. A "<" opens a bracketed stretch only when a ">" follows it.
template <typename F>
std::string ApplyOutsideBrackets(std::string_view text, F f) {
  std::string out;
  out.reserve(text.size());
  std::size_t i = 0;
  while (i < text.size()) {
    std::size_t open = text.find('<', i);
    std::size_t close = open == std::string_view::npos ? open : text.find('>', open + 1);
    if (close == std::string_view::npos) {
      out += f(text.substr(i));
      break;
    }
    out += f(text.substr(i, open - i));
    out.append(text.substr(open, close - open + 1));
    i = close + 1;
  }
  return out;
}

// Splits at "+" outside bracketed stretches (same bracket rule as above).
std::vector<std::string_view> SplitEntry(std::string_view s) {
  std::vector<std::string_view> parts;
  std::size_t start = 0;
  std::size_t i = 0;
  while (i < s.size()) {
    if (s[i] == '<') {
      std::size_t close = s.find('>', i + 1);
      if (close != std::string_view::npos) {
        i = close + 1;
        continue;
      }
    } else if (s[i] == '+') {
      parts.push_back(s.substr(start, i - start));
      start = i + 1;
    }
    ++i;
  }
  parts.push_back(s.substr(start));
  return parts;
}

// The position counts as "inside square brackets": the nearest square bracket to the left
// is "[" and the nearest to the right is "]".
bool InsideSquareBrackets(std::string_view s, std::size_t pos) {
  std::size_t left = s.find_last_of("[]", pos == 0 ? std::string_view::npos : pos - 1);
  if (pos == 0 || left == std::string_view::npos || s[left] != '[') return false;
  std::size_t right = s.find_first_of("[]", pos + 1);
  return right != std::string_view::npos && s[right] == ']';
}

bool HasUnescapedOutsideBrackets(std::string_view s, char c) {
  for (std::size_t i = 0; i < s.size(); ++i) {
    if (s[i] != c) continue;
    if (i == 0) return true;
    if (s[i - 1] == '\\' || InsideSquareBrackets(s, i)) continue;
    return true;
  }
  return false;
}

// Escaped or not, every opening character needs a later closing one.
bool Balanced(std::string_view s, char open, char close) {
  int depth = 0;
  for (char c : s) {
    if (c == open) ++depth;
    if (c == close && --depth < 0) return false;
  }
  return depth == 0;
}

std::string CollapseRuns(std::string_view p) {
  std::string out;
  out.reserve(p.size());
  for (char c : p) {
    if (c == '~' && !out.empty() && out.back() == '~') continue;
    out.push_back(c);
  }
  return out;
}

bool IsPlainAscii(char c) {
  auto u = static_cast<unsigned char>(c);
  return u >= 0x80 || (c >= '0' && c <= '9') || (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}

// Entries are mostly stored lower-case already; skip the copy for plain ASCII ones.
bool MayNeedLowering(std::string_view s) {
  return std::any_of(s.begin(), s.end(), [](char c) {
    return (c >= 'A' && c <= 'Z') || static_cast<unsigned char>(c) >= 0x80;
  });
}

bool MatchWord(std::string_view w, std::string_view p, bool caseSignificant,
               InvalidRegExpMark& mark) {
  std::string inner;
  if (IsAngleBracketed(p, inner)) {
    if (!IsValidRegExp(inner)) {
      mark.blnInvalidRegExp = true;
      mark.strInvalidRegExp = inner;
      return false;
    }
  } else {
    int quick = QuickWildcardCompare(w, p);
    if (quick == -1) return false;
    if (quick == 1) return true;  // MatchOne could only agree
  }
  return MatchOne(w, p, caseSignificant);
}

}  // namespace

int CheckRegExp(std::string_view entry, std::string& inner) {
  if (!IsAngleBracketed(entry, inner)) return kRegExpNotBracketed;
  std::string_view r = inner;
  if (!IsValidRegExp(r)) return kRegExpInvalid;
  if (r.find(' ') != std::string_view::npos) return kRegExpSpace;
  if (HasUnescapedOutsideBrackets(r, '.')) return kRegExpUnescapedPeriod;
  if (r.front() == '^' && r.back() == '$') return kRegExpWholeWord;
  if (HasUnescapedOutsideBrackets(r, '$')) return kRegExpUnescapedDollar;
  if (HasUnescapedOutsideBrackets(r, '^')) return kRegExpUnescapedCaret;
  if (!Balanced(r, '[', ']')) return kRegExpSquareBrackets;
  if (!Balanced(r, '{', '}')) return kRegExpBraces;
  if (!Balanced(r, '(', ')')) return kRegExpParentheses;
  return kRegExpAdmissible;
}

std::string RegExpCheckMessage(int code) {
  switch (code) {
    case kRegExpAdmissible: return "is valid and is TALQ-admissible.";
    case kRegExpNotBracketed: return "Not a TALQ-regexp.";
    case kRegExpInvalid: return "is not a valid regular expression.";
    case kRegExpSpace: return "contains a space -- inadmissible in this program.";
    case kRegExpUnescapedPeriod:
      return "contains an unescaped '.' outside square brackets.\nPerhaps use '[\\S]' instead of '.'.";
    case kRegExpWholeWord: return "is of the form '^...$' -- not admissible in this program.'";
    case kRegExpUnescapedDollar:
      return "contains an unescaped '$' outside square brackets.\nPerhaps use '\\$' instead.";
    case kRegExpUnescapedCaret: return "contains an unescaped '^' outside square brackets.";
    case kRegExpSquareBrackets: return "contains one or more non-matching square brackets.";
    case kRegExpBraces: return "contains one or more non-matching braces.";
    case kRegExpParentheses: return "contains one or more non-matching parentheses.";
    default: return "";
  }
}

void ReportRegExp(Host& host, int code, std::string_view entry, const std::string& title,
                  std::string_view trailing, bool showAnyway) {
  if (code >= 0 && !showAnyway) return;
  std::string text(entry);
  text += '\n';
  text += RegExpCheckMessage(code);
  if (!trailing.empty()) {
    text += '\n';
    text += trailing;
  }
  host.MsgBox(text, title, MsgIcon::Information);
}

std::string LowerCaseExceptRegexp(std::string_view text) {
  return ApplyOutsideBrackets(text, [](std::string_view s) { return LowerCaseAccented(s); });
}

int NumWordsInEntry(std::string_view entry) {
  return static_cast<int>(SplitEntry(entry).size());
}

int CountOnlyPhraseWindow(const ListState& lists) {
  int most = 1;
  auto scan = [&most](const std::vector<std::string>& entries, std::int64_t count) {
    std::int64_t last = std::min<std::int64_t>(count, static_cast<std::int64_t>(entries.size()) - 1);
    for (std::int64_t i = 1; i <= last; ++i) most = std::max(most, NumWordsInEntry(entries[i]));
  };
  scan(lists.strCountOnlyWords, lists.lngNumCountOnlyWords);
  scan(lists.strExtraCountOnlyWords, lists.intNumExtraCountOnlyWords);
  return most;
}

int QuickWildcardCompare(std::string_view w, std::string_view p0) {
  std::string p = CollapseRuns(p0);
  if (p.empty() || w.empty() || w.find_first_of("~?") != std::string_view::npos) return -1;
  if (p.find("~?") != std::string::npos) return 0;
  if (p == "~") return 1;
  if (p == "?" && Utf8Length(w) == 1) return 1;
  if (p.find_first_of("~?") == std::string::npos) return p == w ? 1 : -1;
  return 0;
}

bool MatchOne(std::string_view w, std::string_view p, bool caseSignificant) {
  std::string pattern;
  if (IsAngleBracketed(p, pattern)) {
    if (pattern.empty()) return false;
  } else {
    std::string collapsed = CollapseRuns(p);
    if (collapsed == "~") return true;
    pattern.assign(1, '^');
    for (char c : collapsed) {
      if (c == '~') {
        pattern += ".*";
      } else if (c == '?') {
        pattern += '.';
      } else {
        if (!IsPlainAscii(c)) pattern += '\\';
        pattern += c;
      }
    }
    pattern += '$';
  }
  return RegExpMatches(pattern, w, !caseSignificant);
}

bool MatchPhrase(std::string_view t, std::string_view e, bool caseSignificant,
                 InvalidRegExpMark& mark) {
  if (t.find('+') == std::string_view::npos && e.find('+') == std::string_view::npos)
    return MatchWord(t, e, caseSignificant, mark);
  std::vector<std::string_view> words = SplitEntry(t);
  std::vector<std::string_view> entryWords = SplitEntry(e);
  if (words.size() != entryWords.size()) return false;
  for (std::size_t i = 0; i < words.size(); ++i) {
    if (!MatchWord(words[i], entryWords[i], caseSignificant, mark)) return false;
  }
  return true;
}

bool IsInList(std::string_view word, const std::vector<std::string>& entries,
              std::int64_t first, std::int64_t count, bool accentFolding, bool caseSignificant,
              InvalidRegExpMark& mark) {
  if (word.empty() || count <= 0 || first < 0) return false;
  std::int64_t last = std::min<std::int64_t>(first + count - 1,
                                             static_cast<std::int64_t>(entries.size()) - 1);
  std::string t = caseSignificant ? std::string(word) : LowerCaseExceptRegexp(word);
  auto fold = [caseSignificant](std::string_view s) {
    return ApplyOutsideBrackets(s, [caseSignificant](std::string_view part) {
      return caseSignificant ? FoldAccents(part) : LowerCaseAccented(FoldAccents(part));
    });
  };
  std::string foldedWord = accentFolding ? fold(word) : std::string();
  // A mark left by an earlier lookup must not end this walk, so this walk gets its own.
  InvalidRegExpMark local;
  for (std::int64_t i = first; i <= last; ++i) {
    const std::string& entry = entries[i];
    bool found = caseSignificant || !MayNeedLowering(entry)
                     ? MatchPhrase(t, entry, caseSignificant, local)
                     : MatchPhrase(t, LowerCaseExceptRegexp(entry), false, local);
    if (!found && !local.blnInvalidRegExp && accentFolding)
      found = MatchPhrase(foldedWord, fold(entry), caseSignificant, local);
    if (local.blnInvalidRegExp) {
      mark = local;
      return false;
    }
    if (found) return true;
  }
  return false;
}

}  // namespace talq
