#include "sources/classify.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <cerrno>
#include <cstring>
#include <optional>
#include <string_view>

#include "sources/source_file.h"
#include "util/paths.h"

namespace talq {
namespace {

// The length to judge by: the stat length, unless it says 0 (files of /proc and /sys) and
// the sample found bytes; a full sample then leaves the length open (more than it).
std::int64_t LengthFromSample(std::int64_t length, std::size_t got, std::size_t wanted) {
  if (length != 0 || got == 0) return length;
  return got < wanted ? std::int64_t(got) : std::int64_t(wanted) + 1;
}

// The probe code for a failed open.
int FailureCode(const SourceFile& file) {
  const int e = file.OpenError();
  return e == EACCES || e == EPERM ? kEncPermissionDenied : kEncOpenFailed;
}

constexpr std::string_view kTextExtensions[] = {"prn",  "csv", "xhtml", "xhtm", "shtml", "shtm",
                                                "html", "htm", "xml",   "log",  "txt"};

// Bytes read while looking for ten non-empty lines: the declaration stands near the start.
constexpr std::size_t kCharsetLookLimit = 1 << 20;

// Where the first ten non-empty lines of data (the start of a file) end; nullopt when data
// may end before they do, so that more of the file must be looked at.
std::optional<std::size_t> FirstLinesEnd(std::string_view data, bool wholeFile) {
  // The next CR and the next LF, each searched for again only once passed: a file's first
  // line may be all of it.
  std::size_t cr = 0, lf = 0;
  bool crKnown = false, lfKnown = false;
  const auto next = [&data](char c, std::size_t from, std::size_t& at, bool& known) {
    if (!known || at < from) {
      const void* p = std::memchr(data.data() + from, c, data.size() - from);
      at = p ? std::size_t(static_cast<const char*>(p) - data.data()) : data.size();
      known = true;
    }
    return at;
  };
  int lines = 0;
  std::size_t i = 0;
  while (i < data.size() && lines < 10) {
    const std::size_t end = std::min(next('\r', i, cr, crKnown), next('\n', i, lf, lfKnown));
    if (end > i) ++lines;
    // A line cut by the end of data, or a CR there, may go on in the file.
    if (!wholeFile && end + 1 >= data.size()) return std::nullopt;
    i = end + 1;
    if (end < data.size() && data[end] == '\r' && i < data.size() && data[i] == '\n') ++i;
  }
  if (!wholeFile && lines < 10) return std::nullopt;
  return std::min(i, data.size());
}

// A charset declaration of UTF-8, quoted or not. The search goes from '=' to '=', a byte that
// prose seldom holds.
bool DeclaresUtf8(std::string_view text) {
  static constexpr std::string_view kCharset = "charset";
  for (std::size_t at = text.find('='); at != std::string_view::npos; at = text.find('=', at + 1)) {
    if (at < kCharset.size() || text.substr(at - kCharset.size(), kCharset.size()) != kCharset)
      continue;
    const std::string_view rest = text.substr(at + 1);
    if (rest.starts_with("UTF-8") || rest.starts_with("\"UTF-8\"")) return true;
  }
  return false;
}

// Whether the first ten non-empty lines declare UTF-8 or hold a typographic mark of it, from
// the sample when it holds them, else from the first megabyte of file; false when the file
// cannot be read. No mark holds a line break, so the lines are searched where they stand.
bool HeadHasUtf8Signature(const SourceFile& file, const std::string& sample, bool sampleIsWhole) {
  std::string data;
  std::string_view head = sample;
  std::optional<std::size_t> end = FirstLinesEnd(head, sampleIsWhole);
  if (!end) {
    if (!file.ReadStart(kCharsetLookLimit, data)) return false;
    head = data;
    end = FirstLinesEnd(head, true);
  }
  head = head.substr(0, *end);
  return DeclaresUtf8(head) || head.find("\xE2\x80") != std::string_view::npos;
}

// Valid UTF-8 holding a multi-byte sequence and no NUL (a NUL marks binary data or UTF-16).
// A sequence cut by the end of the sample is forgiven when the file goes on after it.
bool LooksLikeUtf8(std::string_view s, bool sampleIsWholeFile) {
  bool multiByte = false;
  std::size_t i = 0;
  while (i < s.size()) {
    const unsigned char b = static_cast<unsigned char>(s[i]);
    if (b == 0) return false;
    if (b < 0x80) {
      ++i;
      continue;
    }
    std::size_t len;
    unsigned char lo = 0x80, hi = 0xBF;  // bounds of the second byte
    if (b >= 0xC2 && b <= 0xDF) {
      len = 2;
    } else if (b >= 0xE0 && b <= 0xEF) {
      len = 3;
      if (b == 0xE0) lo = 0xA0;
      if (b == 0xED) hi = 0x9F;  // no surrogates
    } else if (b >= 0xF0 && b <= 0xF4) {
      len = 4;
      if (b == 0xF0) lo = 0x90;
      if (b == 0xF4) hi = 0x8F;
    } else {
      return false;
    }
    for (std::size_t k = 1; k < len; ++k) {
      if (i + k >= s.size()) return !sampleIsWholeFile && multiByte;
      const unsigned char c = static_cast<unsigned char>(s[i + k]);
      if (k == 1 ? (c < lo || c > hi) : (c < 0x80 || c > 0xBF)) return false;
    }
    multiByte = true;
    i += len;
  }
  return multiByte;
}

void SetInfo(EncodingInfo* info, TextEncoding encoding, int bomLength) {
  if (info == nullptr) return;
  info->encoding = encoding;
  info->hasBom = bomLength > 0;
  info->bomLength = bomLength;
}

bool StartsWith(std::string_view s, std::string_view prefix) {
  return s.substr(0, prefix.size()) == prefix;
}

}  // namespace

bool HasTextFileExtension(const std::string& path) {
  const std::string ext = GetFileExtension(path, true);
  return std::find(std::begin(kTextExtensions), std::end(kTextExtensions), ext) !=
         std::end(kTextExtensions);
}

namespace {

// GetTextEncoding on an open file, leaving its first kTextSampleSize bytes in sample.
int ProbeEncoding(const SourceFile& file, const std::string& path, bool checkCharset,
                  EncodingInfo* info, std::string& sample) {
  SetInfo(info, TextEncoding::Ansi, 0);
  sample.clear();
  if (!file.ok()) return FileExists(path) ? FailureCode(file) : kEncNotFound;
  if (file.IsDirectory()) return kEncNotFound;
  std::int64_t length = file.Length();
  if (length < 0) return kEncOpenFailed;
  if (!file.ReadStart(static_cast<std::size_t>(kTextSampleSize), sample)) return kEncOpenFailed;
  length = LengthFromSample(length, sample.size(), kTextSampleSize);
  if (length == 0) return kEncZeroLength;
  if (length < 5) return kEncTooShort;
  if (sample.size() < 5) return kEncOpenFailed;  // shrank while we looked

  if (StartsWith(sample, "{\\rtf")) return kEncRtf;
  using namespace std::string_view_literals;
  if (StartsWith(sample, "\xFF\xFE\0\0"sv)) {
    SetInfo(info, TextEncoding::Utf32LE, 4);
    return kEncUtf16LE;
  }
  if (StartsWith(sample, "\xFF\xFE")) {
    SetInfo(info, TextEncoding::Utf16LE, 2);
    return kEncUtf16LE;
  }
  if (StartsWith(sample, "\xFE\xFF")) {
    SetInfo(info, TextEncoding::Utf16BE, 2);
    return kEncUtf16BE;
  }
  if (StartsWith(sample, "\xEF\xBB\xBF")) {
    SetInfo(info, TextEncoding::Utf8, 3);
    return kEncUtf8;
  }
  if (StartsWith(sample, "\0\0\xFE\xFF"sv)) {
    SetInfo(info, TextEncoding::Utf32BE, 4);
    return kEncUtf32BE;
  }

  if (GetFileExtension(path, true) == "xml") {
    if (sample[0] == '<' && sample[1] != '\0') {
      SetInfo(info, TextEncoding::Utf8, 0);
      return kEncUtf8;
    }
    if (sample[0] == '<') {
      SetInfo(info, TextEncoding::Utf16LE, 0);
      return kEncUtf16LE;
    }
    if (sample[0] == '\0' && sample[1] == '<') {
      SetInfo(info, TextEncoding::Utf16BE, 0);
      return kEncUtf16BE;
    }
  }

  const bool sampleIsWhole = static_cast<std::int64_t>(sample.size()) >= length;
  if (checkCharset && HasTextFileExtension(path)) {
    if (HeadHasUtf8Signature(file, sample, sampleIsWhole)) {
      SetInfo(info, TextEncoding::Utf8, 0);
      return kEncUtf8;
    }
  }

  if (LooksLikeUtf8(sample, sampleIsWhole)) {
    SetInfo(info, TextEncoding::Utf8, 0);
    return kEncUtf8;
  }
  return kEncNothing;
}

}  // namespace

int GetTextEncoding(const std::string& path, bool checkCharset, EncodingInfo* info) {
  SetInfo(info, TextEncoding::Ansi, 0);
  if (path.empty()) return kEncEmptyPath;
  const std::shared_ptr<SourceFile> file = SourceFile::Open(path);
  std::string sample;
  return ProbeEncoding(*file, path, checkCharset, info, sample);
}

int IsTextFile(const std::string& path, std::int32_t sampleSize, double thresholdPercent,
               TextFileStats& stats, bool checkCharset, std::int64_t* fileSize) {
  if (path.empty()) {
    if (fileSize != nullptr) *fileSize = -1;
    SetInfo(&stats.encoding, TextEncoding::Ansi, 0);
    return kEncEmptyPath;
  }
  return IsTextFile(*SourceFile::Open(path), path, sampleSize, thresholdPercent, stats,
                    checkCharset, fileSize);
}

int IsTextFile(const SourceFile& file, const std::string& path, std::int32_t sampleSize,
               double thresholdPercent, TextFileStats& stats, bool checkCharset,
               std::int64_t* fileSize) {
  if (fileSize != nullptr) *fileSize = -1;
  SetInfo(&stats.encoding, TextEncoding::Ansi, 0);
  if (path.empty()) return kEncEmptyPath;
  // One open and one stat serve the probe, the sample and the size.
  if (fileSize != nullptr && file.ok()) *fileSize = std::max<std::int64_t>(file.Length(), 0);
  std::string sample;
  const int code = ProbeEncoding(file, path, checkCharset, &stats.encoding, sample);
  if (code < 0 || code == kEncRtf) return code;
  if (code == kEncUtf8) {
    stats.blnUtf8 = true;
    return kTextCrLf;
  }
  if (code > 0) return kTextOtherUnicode;

  stats.dblAnomalousPercent = 0.0;
  stats.bytFirstAnomalous = 32;
  // The probe's sample, or its start; a size of 0 may hide text (/proc files), and then
  // the sample says what is there.
  const std::size_t wanted = static_cast<std::size_t>(std::max(sampleSize, 0));
  if (wanted > sample.size() && sample.size() == static_cast<std::size_t>(kTextSampleSize)) {
    if (!file.ReadStart(wanted, sample)) return kEncOpenFailed;
  }
  if (sample.size() > wanted) sample.resize(wanted);
  if (sample.empty()) return kEncZeroLength;

  bool hasLf = false, hasCr = false;
  std::int64_t count = 0;
  const double earlyFrom = sampleSize / 5.0;
  bool early = false;  // past earlyFrom; the share only grows where an anomaly is met
  for (std::size_t k = 0; k < sample.size(); ++k) {
    const unsigned char c = static_cast<unsigned char>(sample[k]);
    const std::int64_t i = static_cast<std::int64_t>(k) + 1;
    bool anomaly = false;
    if (c == '\n') {
      hasLf = true;
    } else if (c == '\r') {
      hasCr = true;
    } else if (c < 32 && c != '\t' && c != '\f' && c != '\b') {
      anomaly = true;
      ++count;
      if (stats.bytFirstAnomalous == 32) {
        stats.bytFirstAnomalous = c;
        stats.lngAnomalyPosition = static_cast<std::int32_t>(i);
      }
    }
    if (i > earlyFrom && (anomaly || !early)) {
      early = true;
      stats.dblAnomalousPercent = count * 100.0 / static_cast<double>(i);
      if (stats.dblAnomalousPercent > 10.0 * thresholdPercent) return kNotText;
    }
  }
  stats.dblAnomalousPercent = count == 0 ? 0.0 : count * 100.0 / static_cast<double>(sample.size());
  if (stats.dblAnomalousPercent > thresholdPercent) return kNotText;
  if (hasCr && !hasLf) return kTextCr;
  if (hasLf && !hasCr) return kTextLf;
  return kTextCrLf;
}

}  // namespace talq
