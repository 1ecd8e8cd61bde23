#include "util/program_texts.h"

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <system_error>
#include <unordered_map>

#include "util/paths.h"
#include "util/utf8.h"

namespace talq {

namespace {

// Program texts are global by nature: loaded once at start-up, read everywhere.
std::unordered_map<int, std::string>& Table() {
  static std::unordered_map<int, std::string> table;
  return table;
}

enum : int {
  kNothingRead = 0,
  kCannotOpen = -1,
  kEmptyFile = -6,
  kReadError = -7,
  kMissingBase = -500,
  kTooLongBase = -1000,
  kDuplicateBase = -1500,
};

bool ReadWholeFile(const std::string& fileName, std::string& content, int& code) {
  std::error_code ec;
  if (std::filesystem::is_directory(fileName, ec)) {
    code = kCannotOpen;
    return false;
  }
  std::FILE* f = std::fopen(fileName.c_str(), "rb");
  if (!f) {
    code = kCannotOpen;
    return false;
  }
  char buf[8192];
  std::size_t n;
  while ((n = std::fread(buf, 1, sizeof buf, f)) > 0) content.append(buf, n);
  const bool failed = std::ferror(f) != 0;
  std::fclose(f);
  if (failed) {
    code = kReadError;
    return false;
  }
  return true;
}

// Parses a 16-bit text number; false for anything else.
bool ParseNumber(std::string_view s, int& number) {
  while (!s.empty() && s.front() == ' ') s.remove_prefix(1);
  while (!s.empty() && s.back() == ' ') s.remove_suffix(1);
  bool negative = false;
  if (!s.empty() && s.front() == '-') {
    negative = true;
    s.remove_prefix(1);
  }
  if (s.empty() || s.size() > 6) return false;
  int value = 0;
  for (char c : s) {
    if (c < '0' || c > '9') return false;
    value = value * 10 + (c - '0');
  }
  if (negative) value = -value;
  if (value < -32768 || value > 32767) return false;
  number = value;
  return true;
}

// The stored form of a text: "\n" becomes a line break.
std::string Unescape(std::string_view s) {
  std::string out;
  out.reserve(s.size());
  for (std::size_t i = 0; i < s.size(); ++i) {
    if (s[i] == '\\' && i + 1 < s.size() && s[i + 1] == 'n') {
      out += '\n';
      ++i;
    } else {
      out += s[i];
    }
  }
  return out;
}

}  // namespace

int LoadProgramTexts(const std::string& fileName) {
  auto& table = Table();
  table.clear();
  std::string content;
  int code = 0;
  if (!ReadWholeFile(fileName, content, code)) return code;
  if (content.empty()) return kEmptyFile;
  std::string_view rest(content);
  if (rest.starts_with("\xEF\xBB\xBF")) rest.remove_prefix(3);

  std::unordered_map<int, std::string> loaded;
  int lineNumber = 0;
  while (!rest.empty()) {
    const auto eol = rest.find('\n');
    std::string_view line = rest.substr(0, eol);
    rest = eol == std::string_view::npos ? std::string_view() : rest.substr(eol + 1);
    ++lineNumber;
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    if (line.empty() || line.front() == '#') continue;
    const auto tab = line.find('\t');
    int number = 0;
    if (tab == std::string_view::npos || !ParseNumber(line.substr(0, tab), number)) {
      return kMissingBase - lineNumber;
    }
    std::string text = Unescape(line.substr(tab + 1));
    if (Utf8Length(text) > static_cast<std::size_t>(kMaxProgramTextLength)) {
      return kTooLongBase - lineNumber;
    }
    if (!loaded.emplace(number, std::move(text)).second) return kDuplicateBase - lineNumber;
  }
  if (loaded.empty()) return kNothingRead;
  table = std::move(loaded);
  return static_cast<int>(table.size());
}

std::string ProgramTextLoadMessage(int code, const std::string& fullPath) {
  switch (code) {
    case 0: return "No program text was read.";
    case -1: return "Cannot open file containing program text.\n" + fullPath;
    case -2: return "Particular memory allocation error.";
    case -3: return "Too much program text.";
    case -4: return "Text not recovered.";
    case -6: return "File is empty.";
    case -7: return "Error reading file.";
    case -8: return "General memory allocation error.";
    default: break;
  }
  if (code < kDuplicateBase) {
    return "Duplicate in program text at line " + std::to_string(-(code - kDuplicateBase)) + ".";
  }
  if (code < kTooLongBase) {
    return "String too long at line " + std::to_string(-(code - kTooLongBase)) + ".";
  }
  if (code < kMissingBase) {
    return "Missing string at line " + std::to_string(-(code - kMissingBase)) + ".";
  }
  return "Error " + std::to_string(code);
}

std::string ProgramText(int number) {
  const auto& table = Table();
  const auto it = table.find(number);
  if (it == table.end() || it->second == "~") return {};
  return it->second;
}

std::string DataDir() {
  if (const char* env = std::getenv("TALQ_DATA_DIR"); env && *env) return env;
#ifdef TALQ_SOURCE_DATA_DIR
  if (FileExists(std::string(TALQ_SOURCE_DATA_DIR) + "/" + std::string(kProgramTextFile))) {
    return TALQ_SOURCE_DATA_DIR;
  }
#endif
#ifdef TALQ_INSTALL_DATA_DIR
  return TALQ_INSTALL_DATA_DIR;
#else
  return "/usr/local/share/talq";
#endif
}

std::string LanguageName(int index) {
  if (index < 0 || index >= kNumLanguages) return {};
  return std::string(kLanguageNames[static_cast<std::size_t>(index)]);
}

std::string CommonWordFileName(int index) {
  if (index < 0 || index >= kNumLanguages) return {};
  return std::string(kCommonWordFiles[static_cast<std::size_t>(index)]);
}

}  // namespace talq
