// Character-counting padding and trimming for report cells.
#include "reports/report_text.h"

#include "util/utf8.h"

namespace talq::report_text {

namespace {
// Byte offset of character n of s (s.size() when s is shorter).
std::size_t ByteOffset(std::string_view s, std::size_t n) {
  std::size_t i = 0;
  while (n > 0 && i < s.size()) {
    DecodeUtf8At(s, i);
    --n;
  }
  return i;
}
}  // namespace

std::string PadLeft(std::string_view s, std::size_t width) {
  std::size_t len = Utf8Length(s);
  std::string out(len < width ? width - len : 0, ' ');
  out += s;
  return out;
}

std::string PadRight(std::string_view s, std::size_t width) {
  std::string out(s);
  std::size_t len = Utf8Length(s);
  if (len < width) out.append(width - len, ' ');
  return out;
}

std::string TrimRight(std::string_view s) {
  std::size_t e = s.find_last_not_of(' ');
  return e == std::string_view::npos ? std::string() : std::string(s.substr(0, e + 1));
}

std::string Trim(std::string_view s) {
  std::size_t b = s.find_first_not_of(' ');
  if (b == std::string_view::npos) return {};
  return TrimRight(s.substr(b));
}

std::string TrimControls(std::string_view s) {
  std::size_t b = 0, e = s.size();
  while (b < e && static_cast<unsigned char>(s[b]) <= 32) ++b;
  while (e > b && static_cast<unsigned char>(s[e - 1]) <= 32) --e;
  return std::string(s.substr(b, e - b));
}

std::string FirstChars(std::string_view s, std::size_t n) {
  return std::string(s.substr(0, ByteOffset(s, n)));
}

std::string DropLastChars(std::string_view s, std::size_t n) {
  std::size_t len = Utf8Length(s);
  return FirstChars(s, len > n ? len - n : 0);
}

std::string FromChar(std::string_view s, std::size_t n) {
  return std::string(s.substr(ByteOffset(s, n)));
}

std::string ToCrLf(std::string_view s) {
  std::string out;
  out.reserve(s.size() + 16);
  for (std::size_t from = 0;;) {
    const std::size_t nl = s.find('\n', from);
    if (nl == std::string_view::npos) {
      out.append(s.substr(from));
      return out;
    }
    out.append(s.substr(from, nl - from));
    out += "\r\n";
    from = nl + 1;
  }
}

}  // namespace talq::report_text
