// Line reading with decoding. Files are read in blocks so that gigabyte inputs stream.
#include "sources/line_reader.h"

#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <cstring>

#include "sources/source_file.h"
#include "sources/text_prep.h"
#include "util/utf8.h"

namespace talq {

namespace {
constexpr std::size_t kBlock = 1 << 20;

// The first LF or CR in p[i, end), or end. Eight bytes at a time while none is among them.
std::size_t FindLineBreak(const char* p, std::size_t i, std::size_t end) {
  constexpr std::uint64_t kOnes = 0x0101010101010101ull;
  constexpr std::uint64_t kHighs = 0x8080808080808080ull;
  for (; i + 8 <= end; i += 8) {
    std::uint64_t v;
    std::memcpy(&v, p + i, 8);
    const std::uint64_t lf = v ^ (kOnes * '\n');
    const std::uint64_t cr = v ^ (kOnes * '\r');
    if ((((lf - kOnes) & ~lf) | ((cr - kOnes) & ~cr)) & kHighs) break;  // a zero byte in either
  }
  while (i < end && p[i] != '\n' && p[i] != '\r') ++i;
  return i;
}

bool IsByteEncoding(TextEncoding e) { return e == TextEncoding::Ansi || e == TextEncoding::Utf8; }

int UnitSize(TextEncoding e) {
  return (e == TextEncoding::Utf16LE || e == TextEncoding::Utf16BE) ? 2 : 4;
}

void DecodeBytes(std::string_view raw, TextEncoding e, std::u32string& line) {
  if (e == TextEncoding::Utf8) {
    // Into the caller's buffer: no allocation per line once it has grown. A character
    // takes at least one byte, so raw.size() characters always suffice.
    line.resize(raw.size());
    char32_t* out = line.data();
    std::size_t i = 0, k = 0;
    const char* p = raw.data();
    while (i < raw.size()) {
      // Runs of ASCII, most text, are widened eight bytes at a time.
      for (std::uint64_t v; i + 8 <= raw.size(); i += 8, k += 8) {
        std::memcpy(&v, p + i, 8);
        if (v & 0x8080808080808080ull) break;
        for (int j = 0; j < 8; ++j) out[k + j] = static_cast<unsigned char>(p[i + j]);
      }
      if (i == raw.size()) break;
      const auto b = static_cast<unsigned char>(raw[i]);
      if (b < 0x80) {
        out[k++] = b;
        ++i;
      } else {
        out[k++] = DecodeUtf8At(raw, i);
      }
    }
    line.resize(k);
    return;
  }
  line.resize(raw.size());
  for (std::size_t k = 0; k < raw.size(); ++k) {
    const auto b = static_cast<unsigned char>(raw[k]);
    line[k] = b < 0x80 ? char32_t(b) : DecodeWindows1252(b);
  }
}

// Bytes that units[from, to) took in the file: a supplementary character was a UTF-16 pair.
std::int64_t UnitBytes(const std::u32string& units, std::size_t from, std::size_t to, int us) {
  std::int64_t n = std::int64_t(to - from) * us;
  if (us == 2)
    for (std::size_t i = from; i < to; ++i) n += units[i] >= 0x10000 ? 2 : 0;
  return n;
}
}  // namespace

void LineReader::Bytes::DropFront(std::size_t n) {
  std::memmove(data_.get(), data_.get() + n, size_ - n);
  size_ -= n;
}

void LineReader::Bytes::resize(std::size_t n) {
  if (n > capacity_) {
    auto grown = std::make_unique_for_overwrite<char[]>(n);
    if (size_ > 0) std::memcpy(grown.get(), data_.get(), size_);
    data_ = std::move(grown);
    capacity_ = n;
  }
  size_ = n;
}

LineReader::~LineReader() { Close(); }

bool LineReader::OpenRange(const std::string& path, TextEncoding encoding, std::int64_t begin,
                           std::int64_t end) {
  if (!Open(path, encoding, 0)) return false;
  offset_ = begin;
  limit_ = end;
  return true;
}

bool LineReader::OpenRange(const SourceFile& file, TextEncoding encoding, std::int64_t begin,
                           std::int64_t end) {
  if (!Open(file, encoding, 0)) return false;
  offset_ = begin;
  limit_ = end;
  return true;
}

bool LineReader::Open(const std::string& path, TextEncoding encoding, int skipBytes) {
  Close();
  const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) return false;
  Start(fd, true, encoding, skipBytes);
  return true;
}

bool LineReader::Open(const SourceFile& file, TextEncoding encoding, int skipBytes) {
  Close();
  if (!file.ok()) return false;
  Start(file.fd(), false, encoding, skipBytes);
  return true;
}

void LineReader::Start(int fd, bool owns, TextEncoding encoding, int skipBytes) {
  Attach(fd, encoding);
  ownsFd_ = owns;
  offset_ = 0;  // a file is read by position, so stretches of it can be read apart
  while (skipBytes > 0 && (buf_.size() - pos_ > 0 || Fill())) {
    std::size_t n = std::min<std::size_t>(std::size_t(skipBytes), buf_.size() - pos_);
    pos_ += n;
    consumed_ += std::int64_t(n);
    skipBytes -= int(n);
  }
}

void LineReader::Attach(int fd, TextEncoding encoding) {
  Close();
  fd_ = fd;
  ownsFd_ = false;
  offset_ = -1;
  limit_ = INT64_MAX;
  encoding_ = encoding;
  buf_.clear();
  pos_ = 0;
  eof_ = false;
  consumed_ = 0;
  fileBytes_ = 0;
  units_.clear();
  unitPos_ = 0;
}

void LineReader::Close() {
  if (fd_ >= 0 && ownsFd_) ::close(fd_);
  fd_ = -1;
  ownsFd_ = false;
}

void LineReader::SetEncoding(TextEncoding encoding) {
  if (IsByteEncoding(encoding) && IsByteEncoding(encoding_)) encoding_ = encoding;
}

bool LineReader::Fill() {
  if (eof_ || fd_ < 0) {
    eof_ = true;
    return false;
  }
  if (pos_ > 0) {
    buf_.DropFront(pos_);
    pos_ = 0;
  }
  std::size_t old = buf_.size();
  const bool positioned = offset_ >= 0;
  const std::size_t want =
      positioned ? std::size_t(std::min<std::int64_t>(std::int64_t(kBlock), limit_ - offset_)) : kBlock;
  buf_.resize(old + kBlock);
  ssize_t n = 0;
  if (want > 0) {
    do {
      n = positioned ? ::pread(fd_, buf_.data() + old, want, offset_)
                     : ::read(fd_, buf_.data() + old, want);
    } while (n < 0 && errno == EINTR);
  }
  if (n > 0 && positioned) offset_ += n;
  if (n <= 0) {
    buf_.resize(old);
    eof_ = true;
    return false;
  }
  buf_.resize(old + std::size_t(n));
  fileBytes_ += n;
  return true;
}

bool LineReader::ReadLfLine(std::u32string& line) {
  line.clear();
  return IsByteEncoding(encoding_) ? NextByteLine(line) : NextUnitLine(line);
}

bool LineReader::NextByteLine(std::u32string& line) {
  std::size_t scanFrom = pos_;
  for (;;) {
    const char* base = buf_.data();
    std::size_t end = buf_.size();
    std::size_t i = scanFrom;
    i = FindLineBreak(base, i, end);
    if (i < end) {
      // A CR at the end of the block may be the first half of CR LF.
      if (base[i] == '\r' && i + 1 == end && !eof_) {
        std::size_t rel = i - pos_;
        Fill();  // at the end of the file the CR stands alone
        scanFrom = pos_ + rel;
        continue;
      }
      std::string_view raw(buf_.data() + pos_, i - pos_);
      std::size_t next = i + 1;
      if (buf_[i] == '\r' && next < buf_.size() && buf_[next] == '\n') ++next;
      DecodeBytes(raw, encoding_, line);
      consumed_ += std::int64_t(next - pos_);
      pos_ = next;
      return true;
    }
    std::size_t rel = end - pos_;
    if (!Fill()) {
      if (pos_ >= buf_.size()) return false;
      std::string_view raw(buf_.data() + pos_, buf_.size() - pos_);
      DecodeBytes(raw, encoding_, line);
      consumed_ += std::int64_t(raw.size());
      pos_ = buf_.size();
      return true;
    }
    scanFrom = pos_ + rel;
  }
}

void LineReader::DecodeUnits() {
  if (unitPos_ > 0) {
    units_.erase(0, unitPos_);
    unitPos_ = 0;
  }
  const int us = UnitSize(encoding_);
  const bool big = encoding_ == TextEncoding::Utf16BE || encoding_ == TextEncoding::Utf32BE;
  std::size_t avail = (buf_.size() - pos_) / std::size_t(us) * std::size_t(us);
  const auto* p = reinterpret_cast<const unsigned char*>(buf_.data() + pos_);
  std::size_t i = 0;
  auto unitAt = [&](std::size_t k) -> std::uint32_t {
    if (us == 2) return big ? (p[k] << 8 | p[k + 1]) : (p[k + 1] << 8 | p[k]);
    return big ? (std::uint32_t(p[k]) << 24 | p[k + 1] << 16 | p[k + 2] << 8 | p[k + 3])
               : (std::uint32_t(p[k + 3]) << 24 | p[k + 2] << 16 | p[k + 1] << 8 | p[k]);
  };
  while (i < avail) {
    std::uint32_t u = unitAt(i);
    if (us == 4) {
      units_ += (u > 0x10FFFF || (u >= 0xD800 && u <= 0xDFFF)) ? char32_t(0xFFFD) : char32_t(u);
      i += 4;
    } else if (u >= 0xD800 && u <= 0xDBFF) {
      if (i + 2 >= avail) {
        if (!eof_) break;  // the low half is in the next block
        units_ += char32_t(0xFFFD);
        i += 2;
        continue;
      }
      std::uint32_t lo = unitAt(i + 2);
      if (lo >= 0xDC00 && lo <= 0xDFFF) {
        units_ += char32_t(0x10000 + ((u - 0xD800) << 10) + (lo - 0xDC00));
        i += 4;
      } else {
        units_ += char32_t(0xFFFD);
        i += 2;
      }
    } else {
      units_ += (u >= 0xDC00 && u <= 0xDFFF) ? char32_t(0xFFFD) : char32_t(u);
      i += 2;
    }
  }
  pos_ += i;
  // A trailing partial unit at the end of the file is not text.
  if (eof_ && pos_ < buf_.size() && (buf_.size() - pos_) < std::size_t(us)) {
    units_ += char32_t(0xFFFD);
    pos_ = buf_.size();
  }
}

bool LineReader::NextUnitLine(std::u32string& line) {
  const int us = UnitSize(encoding_);
  for (;;) {
    std::size_t i = unitPos_;
    while (i < units_.size() && units_[i] != U'\n' && units_[i] != U'\r') ++i;
    bool haveEnd = i < units_.size();
    bool crAtEdge = haveEnd && units_[i] == U'\r' && i + 1 == units_.size() && !eof_;
    if (haveEnd && !crAtEdge) {
      line.assign(units_, unitPos_, i - unitPos_);
      std::size_t next = i + 1;
      if (units_[i] == U'\r' && next < units_.size() && units_[next] == U'\n') ++next;
      consumed_ = std::min(consumed_ + UnitBytes(units_, unitPos_, next, us), fileBytes_);
      unitPos_ = next;
      return true;
    }
    bool more = Fill();
    DecodeUnits();
    if (!more && eof_ && (i >= units_.size() || crAtEdge)) {
      // Everything is decoded: whatever is left is the last line.
      std::size_t j = unitPos_;
      while (j < units_.size() && units_[j] != U'\n' && units_[j] != U'\r') ++j;
      if (j < units_.size()) continue;
      if (unitPos_ >= units_.size()) return false;
      line.assign(units_, unitPos_, std::u32string::npos);
      // A partial unit at the end counts as a whole one: no more than the file holds.
      consumed_ = std::min(consumed_ + UnitBytes(units_, unitPos_, units_.size(), us), fileBytes_);
      unitPos_ = units_.size();
      return true;
    }
  }
}

std::int64_t LineStartAtOrAfter(const std::string& path, std::int64_t p, std::int64_t length) {
  if (p <= 0) return 0;
  if (p >= length) return length;
  const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) return length;
  const std::int64_t result = LineStartAtOrAfter(fd, p, length);
  ::close(fd);
  return result;
}

std::int64_t LineStartAtOrAfter(int fd, std::int64_t p, std::int64_t length) {
  if (p <= 0) return 0;
  if (p >= length) return length;
  std::string buf(1 << 16, '\0');
  std::int64_t at = p - 1;  // the byte before the candidate decides
  std::int64_t result = length;
  for (bool done = false; !done && at < length;) {
    const ssize_t n = ::pread(fd, buf.data(), buf.size(), at);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) break;
    for (ssize_t i = 0; i < n; ++i) {
      const char c = buf[std::size_t(i)];
      if (c == '\n') {
        result = at + i + 1;
      } else if (c == '\r') {
        // A CR ends a line unless an LF follows; the next read tells at a block edge.
        if (i + 1 < n) {
          if (buf[std::size_t(i) + 1] == '\n') continue;
          result = at + i + 1;
        } else {
          const std::int64_t next = at + i + 1;
          char d = 0;
          const bool more = next < length && ::pread(fd, &d, 1, next) == 1;
          if (more && d == '\n') continue;
          result = next;
        }
      } else {
        continue;
      }
      done = true;
      break;
    }
    at += n;
  }
  return result;
}

}  // namespace talq
