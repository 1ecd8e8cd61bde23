// File selection: pattern boxes, their checks and the per-file selection rule.
#include "sources/file_selection.h"

#include <algorithm>
#include <filesystem>
#include <system_error>

#include "sources/source_session.h"
#include "util/paths.h"
#include "util/text_case.h"
#include "util/utf8.h"

namespace talq {

namespace fs = std::filesystem;

namespace {

constexpr std::size_t kMaxSpecificationEntries = 65534;

// Glob match over code points, so "?" stands for one character, not one byte.
bool WildcardMatch(std::u32string_view text, std::u32string_view pattern) {
  std::size_t t = 0, p = 0;
  std::size_t starP = std::u32string_view::npos, starT = 0;
  while (t < text.size()) {
    if (p < pattern.size() && (pattern[p] == U'?' || pattern[p] == text[t])) {
      ++t;
      ++p;
    } else if (p < pattern.size() && pattern[p] == U'*') {
      starP = p++;
      starT = t;
    } else if (starP != std::u32string_view::npos) {
      p = starP + 1;
      t = ++starT;
    } else {
      return false;
    }
  }
  while (p < pattern.size() && pattern[p] == U'*') ++p;
  return p == pattern.size();
}

// Splits at the last "."; without one the whole text is the first part.
std::pair<std::u32string_view, std::u32string_view> SplitAtLastDot(std::u32string_view s) {
  auto dot = s.rfind(U'.');
  if (dot == std::u32string_view::npos) return {s, {}};
  return {s.substr(0, dot), s.substr(dot + 1)};
}

bool ContainsAnyExclusion(const std::vector<std::string>& texts, const std::string& lowered) {
  return std::any_of(texts.begin(), texts.end(), [&](const std::string& x) {
    return lowered.find(x) != std::string::npos;
  });
}

fs::path CanonicalAbsolute(const std::string& path) {
  std::error_code ec;
  fs::path abs = fs::absolute(path, ec);
  if (ec) return fs::path(path).lexically_normal();
  fs::path canon = fs::weakly_canonical(abs, ec);
  if (ec) canon = abs.lexically_normal();
  // "/a/b/" and "/a/b" name one folder.
  if (!canon.has_filename() && canon.has_relative_path()) canon = canon.parent_path();
  return canon;
}

// Component-wise: "/a/bc" is not below "/a/b".
bool IsSameOrBelow(const fs::path& inner, const fs::path& outer) {
  auto i = inner.begin();
  for (auto o = outer.begin(); o != outer.end(); ++o, ++i) {
    if (i == inner.end() || *i != *o) return false;
  }
  return true;
}

}  // namespace

std::string NormaliseFileSpecifications(std::string_view boxText,
                                        std::vector<std::string>& entries) {
  std::vector<std::string> raw;
  std::string current;
  for (char c : boxText) {
    if (c == ',' || c == ' ') {
      if (!current.empty()) raw.push_back(std::move(current));
      current.clear();
    } else {
      current += c;
    }
  }
  if (!current.empty()) raw.push_back(std::move(current));

  entries.clear();
  if (raw.size() > kMaxSpecificationEntries) return "";

  std::vector<std::pair<std::string, std::string>> keyed;  // (lower-cased, as typed)
  keyed.reserve(raw.size());
  for (auto& r : raw) keyed.emplace_back(LowerCaseAccented(r), std::move(r));
  std::sort(keyed.begin(), keyed.end());
  keyed.erase(std::unique(keyed.begin(), keyed.end(),
                          [](const auto& a, const auto& b) { return a.first == b.first; }),
              keyed.end());

  std::string box;
  for (auto& [lower, typed] : keyed) {
    if (!box.empty()) box += ", ";
    box += typed;
    entries.push_back(std::move(lower));
  }
  return box;
}

void GetFileFilepathSpecifications(SourceSession& s, int index) {
  auto& list = index == 0 ? s.selection.filePatterns : s.selection.exclusionTexts;
  auto& box = s.settings.txbFileFilepathSpecifications[index];
  box = NormaliseFileSpecifications(box, list);
}

bool FileSpecificationsLostFocus(SourceSession& s, int index) {
  GetFileFilepathSpecifications(s, index);
  const std::string lowered = LowerCaseAccented(s.settings.txbFileFilepathSpecifications[index]);
  const bool endsWithDoc = lowered.size() >= 4 && lowered.compare(lowered.size() - 4, 4, ".doc") == 0;
  if (endsWithDoc || lowered.find(".doc,") != std::string::npos) {
    s.host.MsgBox(
        "This software does not process .doc files.  To process\n"
        "Word .doc files they should first be converted to .docx files.",
        "Match file patterns", MsgIcon::Information);
    return false;
  }
  return CheckPatternCharacters(s);
}

bool CheckPatternCharacters(SourceSession& s) {
  static constexpr std::string_view kForbidden = "~,;/\\<>`\"";
  for (const auto& p : s.selection.filePatterns) {
    if (p.find_first_of(kForbidden) != std::string::npos) {
      s.host.MsgBox("File pattern '" + p + "' contains an invalid character.", "Invalid input",
                    MsgIcon::Exclamation);
      return false;
    }
  }
  for (const auto& x : s.selection.exclusionTexts) {
    if (x.find_first_of(kForbidden) != std::string::npos ||
        x.find_first_of("*?") != std::string::npos) {
      s.host.MsgBox("Folder pattern '" + x + "' contains an invalid character.", "Invalid input",
                    MsgIcon::Exclamation);
      return false;
    }
  }
  return true;
}

bool MatchFilePattern(std::string_view name, std::string_view pattern) {
  const std::u32string n = DecodeUtf8(name);
  const std::u32string p = DecodeUtf8(pattern);
  if (p.find(U'.') == std::u32string::npos) return WildcardMatch(n, p);
  auto [nBase, nExt] = SplitAtLastDot(n);
  auto [pBase, pExt] = SplitAtLastDot(p);
  return WildcardMatch(nBase, pBase) && WildcardMatch(nExt, pExt);
}

bool IsSelectedFile(const FileSelection& sel, std::string_view path) {
  const std::string ext = GetFileExtension(path, true);
  if (std::find(kSkippedExtensions.begin(), kSkippedExtensions.end(), ext) !=
      kSkippedExtensions.end())
    return false;
  auto slash = path.rfind('/');
  const std::string name =
      LowerCaseAccented(slash == std::string_view::npos ? path : path.substr(slash + 1));
  if (ContainsAnyExclusion(sel.exclusionTexts, name)) return false;
  if (sel.filePatterns.empty()) return true;
  return std::any_of(sel.filePatterns.begin(), sel.filePatterns.end(),
                     [&](const std::string& p) { return MatchFilePattern(name, p); });
}

bool OutputFileInFolder(const std::string& folder, const std::string& outputFile, bool orBelow) {
  if (folder.empty() || outputFile.empty()) return false;
  const fs::path dir = CanonicalAbsolute(folder);
  const fs::path outDir = CanonicalAbsolute(outputFile).parent_path();
  return orBelow ? IsSameOrBelow(outDir, dir) : outDir == dir;
}

}  // namespace talq
