#include "util/paths.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <filesystem>
#include <system_error>

#include "util/text_case.h"

namespace talq {

namespace {

// Index just past the last "/", 0 when there is none.
std::size_t NameStart(std::string_view path) {
  const auto slash = path.rfind('/');
  return slash == std::string_view::npos ? 0 : slash + 1;
}

}  // namespace

std::string GetFileExtension(std::string_view path, bool lowerCase) {
  const std::string_view name = path.substr(NameStart(path));
  const auto dot = name.rfind('.');
  if (dot == std::string_view::npos) return {};
  const std::string_view ext = name.substr(dot + 1);
  return lowerCase ? LowerCaseAccented(ext) : std::string(ext);
}

std::string GetFileName(std::string_view path, bool lowerCase) {
  const auto slash = path.rfind('/');
  if (slash == std::string_view::npos) return {};
  const std::string_view name = path.substr(slash + 1);
  return lowerCase ? LowerCaseAccented(name) : std::string(name);
}

std::string GetFolderPart(std::string_view path, bool normaliseCase) {
  const std::string_view folder = path.substr(0, NameStart(path));
  return normaliseCase ? LowerCaseAccented(folder) : std::string(folder);
}

std::string ChangeExtension(std::string_view path, std::string_view extension) {
  // Only a "." of the name counts: "/a.b/file" must not lose its file name.
  const std::size_t start = NameStart(path);
  const auto dot = path.substr(start).rfind('.');
  std::string out(path);
  if (dot == std::string_view::npos) {
    out += '.';
  } else {
    out.resize(start + dot + 1);
  }
  out.append(extension);
  return out;
}

std::string TrimPathBox(std::string_view text) {
  const auto first = text.find_first_not_of(" \t\r\n");
  if (first == std::string_view::npos) return "";
  return std::string(text.substr(first, text.find_last_not_of(" \t\r\n") - first + 1));
}

bool FileExists(const std::string& path) {
  if (path.empty()) return false;
  std::error_code ec;
  const auto st = std::filesystem::status(path, ec);
  return !ec && std::filesystem::exists(st) && !std::filesystem::is_directory(st);
}

bool FileHasNoBytes(const std::string& path) {
  std::error_code ec;
  if (!std::filesystem::is_regular_file(path, ec) || std::filesystem::file_size(path, ec) != 0 || ec)
    return false;
  const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) return false;
  char byte;
  ssize_t n;
  do {
    n = ::read(fd, &byte, 1);
  } while (n < 0 && errno == EINTR);
  ::close(fd);
  return n == 0;
}

}  // namespace talq
