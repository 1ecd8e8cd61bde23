#include "settings/state_file.h"

#include <fcntl.h>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <charconv>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <random>
#include <string_view>

#include "settings/setting_fields.h"
#include "util/utf8.h"

namespace talq {

namespace fs = std::filesystem;

namespace {

// One step of the record: a field, or a line the format holds besides the fields.
struct RecordLine {
  enum Kind { Field, ReservedText, ReservedNumber } kind = Field;
  const FieldInfo* field = nullptr;
};

// Lines that follow a field in the file besides the fields themselves: reserved lines
// (written empty or 0, ignored on reading) and chkTerminatePhraseAtTab a second time.
struct ExtraLine {
  const char* after;
  RecordLine::Kind kind;
  const char* repeat = nullptr;  // with Field: the field written again
};
constexpr ExtraLine kExtraLines[] = {
    {"txbFileFilepathSpecifications(0)", RecordLine::ReservedText},
    {"txbFileFilepathSpecifications(0)", RecordLine::ReservedText},
    {"txbFileFilepathSpecifications(1)", RecordLine::ReservedText},
    {"txbFileFilepathSpecifications(1)", RecordLine::ReservedText},
    {"chkAllowWordsWithUserSpecifiedExtraChars", RecordLine::ReservedNumber},
    {"cboMinimumFrequency", RecordLine::Field, "chkTerminatePhraseAtTab"},
    {"chkSortByNumberOfFiles", RecordLine::ReservedNumber},
};

// How an option field is held: as the number of its selected option (unknown numbers
// select `fallback`), or as one -1/0 line per option.
struct OptionForm {
  const char* field;
  bool oneLinePerOption;
  int offset;    // number = option position - offset
  int fallback;  // option position chosen for any other number
};
constexpr OptionForm kOptionForms[] = {
    {"source", false, 0, static_cast<int>(Source::optFolder)},
    {"tableLayout", false, 0, static_cast<int>(TableLayout::optAlphabetical)},
    // Position 0 is "nothing selected", which the file writes as optIncludeAllWords.
    {"filterMode", false, 1, static_cast<int>(FilterMode::optIncludeAllWords)},
    {"wordsToIgnoreHandling", true, 0, 0},
};

const OptionForm& FormOf(const FieldInfo& f) {
  for (const auto& form : kOptionForms)
    if (f.name == form.field) return form;
  static const OptionForm none{"", false, 0, 0};
  return none;
}

const std::vector<RecordLine>& Layout() {
  static const std::vector<RecordLine> layout = [] {
    std::vector<RecordLine> out;
    for (const auto& f : SettingFields()) {
      if (!f.persisted) continue;
      out.push_back({RecordLine::Field, &f});
      for (const auto& extra : kExtraLines) {
        if (f.name != extra.after) continue;
        out.push_back({extra.kind, extra.repeat ? FindField(extra.repeat) : nullptr});
      }
    }
    return out;
  }();
  return layout;
}

// Settings are read through the table's mutable references; writing changes nothing.
Settings& Unconst(const Settings& s) { return const_cast<Settings&>(s); }

std::string Quote(std::string_view value) {
  std::string out = "\"";
  for (std::size_t i = 0; i < value.size(); ++i) {
    const char c = value[i];
    if (c == '"') {
      out += "\"\"";
    } else if (c == '\r' || c == '\n') {
      // A line break would end the field early; CR LF is one break.
      if (c == '\r' && i + 1 < value.size() && value[i + 1] == '\n') ++i;
      out += ' ';
    } else {
      out += c;
    }
  }
  out += '"';
  return out;
}

void WriteLine(std::string& out, std::string_view value) {
  out += value;
  out += "\r\n";
}

void WriteField(std::string& out, const FieldInfo& f, const Settings& s) {
  Settings& m = Unconst(s);
  switch (f.type) {
    case FieldType::Check:
      // The Zipf columns always use base 10; the field exists for the record's sake.
      WriteLine(out, f.name == "chkUseLog10" ? "1" : std::to_string(f.intRef(m)));
      return;
    case FieldType::Choice:
      WriteLine(out, std::to_string(f.intRef(m)));
      return;
    case FieldType::Text:
      WriteLine(out, Quote(f.textRef(m)));
      return;
    case FieldType::History: {
      const FileHistory& h = f.historyRef(m);
      WriteLine(out, std::to_string(h.items.size()));
      for (const auto& path : h.items) WriteLine(out, Quote(path));
      WriteLine(out, std::to_string(h.index));
      return;
    }
    case FieldType::Option: {
      const OptionForm& form = FormOf(f);
      const int selected = f.getOption(s);
      if (form.oneLinePerOption) {
        const int n = static_cast<int>(f.choices().size());
        for (int i = 0; i < n; ++i) WriteLine(out, i == selected ? "-1" : "0");
      } else {
        WriteLine(out, std::to_string(std::max(selected - form.offset, 0)));
      }
      return;
    }
  }
}

struct InvalidData {};
struct EndOfRecord {};
struct ReadFailure {
  std::string description;
};

// The lines of a record file, each decoded to UTF-8 (Windows-1252 when not UTF-8).
class RecordReader {
 public:
  explicit RecordReader(std::istream& in) : in_(in) {}

  std::string Next() {
    std::string line;
    std::streambuf* buf = in_.rdbuf();
    int c = buf->sbumpc();
    if (c == std::char_traits<char>::eof()) throw EndOfRecord{};
    while (c != std::char_traits<char>::eof() && c != '\n') {
      if (line.size() > kMaxRecordLine) throw InvalidData{};
      line.push_back(static_cast<char>(c));
      c = buf->sbumpc();
    }
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (line.size() > kMaxRecordLine) throw InvalidData{};
    if (first_) {
      first_ = false;
      if (line.rfind("\xEF\xBB\xBF", 0) == 0) line.erase(0, 3);
    }
    return IsValidUtf8(line) ? line : Windows1252ToUtf8(line);
  }

 private:
  std::istream& in_;
  bool first_ = true;
};

std::string_view TrimSpaces(std::string_view v) {
  while (!v.empty() && (v.front() == ' ' || v.front() == '\t')) v.remove_prefix(1);
  while (!v.empty() && (v.back() == ' ' || v.back() == '\t')) v.remove_suffix(1);
  return v;
}

// A quoted value up to its closing quote, two quotes inside standing for one; a line
// without a leading quote is taken whole.
std::string ParseText(std::string_view line) {
  line = TrimSpaces(line);
  if (line.empty() || line.front() != '"') return std::string(line);
  std::string out;
  for (std::size_t i = 1; i < line.size(); ++i) {
    if (line[i] != '"') {
      out += line[i];
    } else if (i + 1 < line.size() && line[i + 1] == '"') {
      out += '"';
      ++i;
    } else {
      break;
    }
  }
  return out;
}

int ParseNumber(std::string_view line) {
  std::string_view v = TrimSpaces(line);
  if (v.size() >= 2 && v.front() == '"' && v.back() == '"') v = TrimSpaces(v.substr(1, v.size() - 2));
  if (!v.empty() && v.front() == '+') v.remove_prefix(1);
  int value = 0;
  const auto [p, ec] = std::from_chars(v.data(), v.data() + v.size(), value);
  if (v.empty() || ec != std::errc() || p != v.data() + v.size()) throw InvalidData{};
  return value;
}

void ReadField(RecordReader& in, const FieldInfo& f, Settings& s) {
  switch (f.type) {
    case FieldType::Check: {
      const int v = ParseNumber(in.Next());
      if (v != 0 && v != 1) throw InvalidData{};
      f.intRef(s) = v;
      return;
    }
    case FieldType::Choice: {
      const int v = ParseNumber(in.Next());
      if (v < -1 || v >= static_cast<int>(f.choices().size())) throw InvalidData{};
      f.intRef(s) = v;
      return;
    }
    case FieldType::Text: {
      std::string v = ParseText(in.Next());
      if (f.name == "txbFilterWords") v = std::string(TrimSpaces(v));
      f.textRef(s) = std::move(v);
      return;
    }
    case FieldType::History: {
      // Taken whole or not at all: a history cut short keeps the one it had.
      const int n = ParseNumber(in.Next());
      if (n < 0 || n > kMaxHistoryFiles) throw InvalidData{};
      FileHistory h;
      for (int i = 0; i < n; ++i) h.items.push_back(ParseText(in.Next()));
      const int index = ParseNumber(in.Next());
      if (n > 0 && (index < -1 || index >= n)) throw InvalidData{};
      h.index = n > 0 ? index : -1;
      f.historyRef(s) = std::move(h);
      return;
    }
    case FieldType::Option: {
      const OptionForm& form = FormOf(f);
      const int count = static_cast<int>(f.choices().size());
      if (form.oneLinePerOption) {
        for (int i = 0; i < count; ++i) {
          const int v = ParseNumber(in.Next());
          if (v != 0 && v != -1) throw InvalidData{};
          if (v == -1) f.setOption(s, i);
        }
        return;
      }
      const long position = static_cast<long>(ParseNumber(in.Next())) + form.offset;
      f.setOption(s, position >= form.offset && position < count ? static_cast<int>(position)
                                                                 : form.fallback);
      return;
    }
  }
}

std::string HomeFolder() {
  if (const char* home = std::getenv("HOME"); home && *home) return home;
  struct passwd pw {};
  struct passwd* found = nullptr;
  std::vector<char> buf(16384);
  if (getpwuid_r(getuid(), &pw, buf.data(), buf.size(), &found) == 0 && found && found->pw_dir)
    return found->pw_dir;
  return "";
}

std::string ErrnoText(int err) { return std::strerror(err); }

// Writes all of text to fd; false with errno set on failure.
bool WriteAll(int fd, std::string_view text) {
  while (!text.empty()) {
    const ssize_t n = ::write(fd, text.data(), text.size());
    if (n < 0) {
      if (errno == EINTR) continue;
      return false;
    }
    text.remove_prefix(static_cast<std::size_t>(n));
  }
  return true;
}

// A fresh file beside target, created exclusively. Returns its descriptor (or -1 with
// errno set) and its path.
int CreateTemporaryBeside(const fs::path& target, std::string& tempPath) {
  static std::mt19937_64 rng{std::random_device{}()};
  const fs::path folder = target.has_parent_path() ? target.parent_path() : fs::path(".");
  for (int attempt = 0; attempt < 100; ++attempt) {
    char suffix[17];
    std::snprintf(suffix, sizeof suffix, "%016llx", static_cast<unsigned long long>(rng()));
    std::string name = ".";
    name += target.filename().string();
    name += '.';
    name += suffix;
    tempPath = (folder / name).string();
    const int fd = ::open(tempPath.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (fd >= 0 || errno != EEXIST) return fd;
  }
  errno = EEXIST;
  return -1;
}

}  // namespace

std::string StateFilePath() {
  std::string base;
  if (const char* xdg = std::getenv("XDG_CONFIG_HOME"); xdg && xdg[0] == '/') {
    base = xdg;
  } else {
    const std::string home = HomeFolder();
    if (home.empty()) return "";
    base = home + "/.config";
  }
  return base + "/talq/talq.usr";
}

std::string StateRecordText(const Settings& s) {
  std::string out;
  for (const RecordLine& line : Layout()) {
    switch (line.kind) {
      case RecordLine::Field:
        WriteField(out, *line.field, s);
        break;
      case RecordLine::ReservedText:
        WriteLine(out, "\"\"");
        break;
      case RecordLine::ReservedNumber:
        WriteLine(out, "0");
        break;
    }
  }
  return out;
}

std::string SaveState(const Settings& s, const std::string& path) {
  const std::string given = path.empty() ? StateFilePath() : path;
  if (given.empty()) return std::string(kSaveStateError) + "no home folder is known.";
  std::error_code ec;
  if (path.empty()) {
    fs::create_directories(fs::path(given).parent_path(), ec);
    if (ec) return kSaveStateError + ec.message();
  }
  // Replace the file a symbolic link names, not the link.
  fs::path target = given;
  if (fs::is_symlink(target, ec)) {
    const fs::path link = fs::read_symlink(target, ec);
    if (!ec) target = link.is_absolute() ? link : target.parent_path() / link;
  }

  std::string tempPath;
  const int fd = CreateTemporaryBeside(target, tempPath);
  if (fd < 0) return kSaveStateError + ErrnoText(errno);
  struct stat old {};
  if (::stat(target.c_str(), &old) == 0) ::fchmod(fd, old.st_mode & 07777);
  const std::string text = StateRecordText(s);
  int err = 0;
  if (!WriteAll(fd, text) || ::fsync(fd) != 0) err = errno;
  if (::close(fd) != 0 && err == 0) err = errno;
  if (err == 0 && ::rename(tempPath.c_str(), target.c_str()) != 0) err = errno;
  if (err != 0) {
    ::unlink(tempPath.c_str());
    return kSaveStateError + ErrnoText(err);
  }
  // The rename itself survives a crash only once the folder is flushed.
  const fs::path folder = target.has_parent_path() ? target.parent_path() : fs::path(".");
  if (const int dir = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC); dir >= 0) {
    ::fsync(dir);
    ::close(dir);
  }
  return "";
}

RecordReading ReadStateRecord(Settings& s, const std::string& path) {
  RecordReading result;
  const std::string file = path.empty() ? StateFilePath() : path;
  std::error_code ec;
  if (file.empty() || !fs::is_regular_file(file, ec)) {
    result.status = kRestoreNoFile;
    return result;
  }
  std::ifstream in(file, std::ios::binary);
  if (!in) {
    result.status = kRestoreFailed;
    result.reason = ErrnoText(errno);
    return result;
  }
  RecordReader reader(in);
  try {
    for (const RecordLine& line : Layout()) {
      if (line.kind != RecordLine::Field) {
        reader.Next();
        continue;
      }
      if (line.field->name == "chkZeroCellsBlank") result.reachedTableFields = true;
      ReadField(reader, *line.field, s);
      result.applied.push_back(line.field->name);
    }
  } catch (const EndOfRecord&) {
    result.endOfFile = true;
  } catch (const InvalidData&) {
    result.status = kRestoreFailed;
    result.reason = kInvalidData;
  } catch (const ReadFailure& e) {
    result.status = kRestoreFailed;
    result.reason = e.description;
  }
  return result;
}

bool HasUnselectedChoice(const Settings& s) {
  Settings& m = Unconst(s);
  for (const auto& f : SettingFields())
    if (f.type == FieldType::Choice && f.name != "cboCommonWordsLanguages" && f.intRef(m) < 0)
      return true;
  return false;
}

}  // namespace talq
