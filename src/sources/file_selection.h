// File selection for folder runs: the two pattern boxes (file-name patterns and excluded
// path texts), their checks, and the decision whether one file of a folder is read.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace talq {

struct SourceSession;

// Extensions (lower case, without ".") that a folder run never reads.
inline constexpr std::array<std::string_view, 26> kSkippedExtensions = {
    "ico", "gif", "jpg", "png", "bmp", "zip", "bin", "xls", "mdb", "pdf", "com", "exe", "dll",
    "cab", "ocx", "vxd", "drv", "sys", "vbx", "---", "css", "js",  "loaded_0", "ini", "gdoc",
    "doc"};

// File-selection state of a session: the parsed pattern boxes and the figures of the last
// folder pass.
struct FileSelection {
  std::vector<std::string> filePatterns;    // lower-cased, sorted, no duplicates
  std::vector<std::string> exclusionTexts;  // lower-cased, sorted, no duplicates
};

// Normal form of one pattern box: "," counts as a space, entries sorted case-insensitively,
// duplicates (ignoring case) dropped, joined by ", ". Fills `entries` with the lower-cased
// entries; more than 65534 entries give an empty list and an empty box.
std::string NormaliseFileSpecifications(std::string_view boxText,
                                        std::vector<std::string>& entries);

// Parses box `index` (0 file patterns, 1 exclusion texts) of txbFileFilepathSpecifications
// into the session's list and rewrites the box in normal form.
void GetFileFilepathSpecifications(SourceSession& s, int index);

// The pattern box's lost-focus handling: normalises box `index`, refuses ".doc" patterns
// and runs CheckPatternCharacters. Returns false after a message.
bool FileSpecificationsLostFocus(SourceSession& s, int index);

// True when no file pattern holds any of ~,;/\<>` or a double quote and no exclusion text
// holds those or "*" or "?"; otherwise shows one message for the first offender.
bool CheckPatternCharacters(SourceSession& s);

// Wildcard match of a file name (no folder part) against one pattern, both already
// lower-cased. A pattern with a "." matches the parts before and after the last "." of
// each separately (a name without "." has an empty extension); a pattern without "."
// matches the whole name. "*" is any run of characters, "?" one character.
bool MatchFilePattern(std::string_view name, std::string_view pattern);

// Whether a folder run reads the file at `path`: its extension is not skipped, its
// lower-cased name holds no exclusion text, and it matches a pattern (any name when there
// are no patterns).
bool IsSelectedFile(const FileSelection& sel, std::string_view path);

// Whether `outputFile` lies directly in `folder`, or anywhere below it with `orBelow`.
// Both are compared exactly, as weakly canonical absolute paths.
bool OutputFileInFolder(const std::string& folder, const std::string& outputFile, bool orBelow);

}  // namespace talq
