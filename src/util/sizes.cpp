#include "util/sizes.h"

#include <array>
#include <charconv>
#include <filesystem>
#include <system_error>

#include "util/numbers.h"
#include "util/paths.h"

namespace talq {

namespace {

// A value below 1024 as plain number text: no grouping, shortest form, locale's decimal mark.
std::string PlainNumber(double v) {
  std::array<char, 64> buf{};
  auto res = std::to_chars(buf.data(), buf.data() + buf.size(), v);
  std::string s(buf.data(), static_cast<std::size_t>(res.ptr - buf.data()));
  const auto dot = s.find('.');
  if (dot != std::string::npos) s.replace(dot, 1, DecimalSeparator());
  return s;
}

// Length of an existing file, or -1.
std::int64_t FileLength(const std::string& path) {
  if (!FileExists(path)) return -1;
  std::error_code ec;
  const auto size = std::filesystem::file_size(path, ec);
  return ec ? -1 : static_cast<std::int64_t>(size);
}

}  // namespace

std::string FormatByteSize(double value, int decimals) {
  if (value == 0) return "0 bytes";
  if (value < 1024) return PlainNumber(value) + " bytes";
  const double k = value / 1024;
  if (k < 1024) return FormatNumber(k, decimals) + " Kb";
  const double m = k / 1024;
  if (m < 1024) return FormatNumber(m, decimals) + " Mb";
  return FormatNumber(m / 1024, decimals) + " Gb";
}

std::string FormatFileSizeKbMb(std::int64_t value, int /*unused*/) {
  if (value < 1024) return std::to_string(value) + " bytes";
  if (value < 1048576) return FormatNumber(static_cast<double>(value) / 1024, 2) + " Kb";
  return FormatNumber(static_cast<double>(value) / 1048576, 2) + " Mb";
}

std::string FileSizeText(const std::string& path, int decimals) {
  const std::int64_t n = FileLength(path);
  return n < 0 ? std::string() : FormatByteSize(static_cast<double>(n), decimals);
}

std::string FileSizeTextKbMb(const std::string& path) {
  const std::int64_t n = FileLength(path);
  return n < 0 ? std::string() : FormatFileSizeKbMb(n);
}

}  // namespace talq
