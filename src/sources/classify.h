// Text-file classification: whether a file can be read as text, in which encoding and with
// which line endings. Files are opened read-only and closed within each call, unless the
// caller hands in one it opened.
#pragma once

#include <cstdint>
#include <string>

#include "host/host.h"

namespace talq {

struct SourceSession;
class SourceFile;

// The encoding a reader must decode the file with.
enum class TextEncoding { Ansi, Utf8, Utf16LE, Utf16BE, Utf32LE, Utf32BE };

// What the probe learned about the file's encoding; bomLength bytes at the start are no text.
struct EncodingInfo {
  TextEncoding encoding = TextEncoding::Ansi;
  bool hasBom = false;
  int bomLength = 0;
};

// Probe codes of GetTextEncoding.
enum : int {
  kEncEmptyPath = -5,
  kEncNotFound = -1,
  kEncZeroLength = -2,
  kEncPermissionDenied = -3,
  kEncTooShort = -4,
  kEncOpenFailed = -9,
  kEncNothing = 0,
  kEncUtf16LE = 1,
  kEncUtf16BE = 2,
  kEncUtf8 = 3,
  kEncUtf32BE = 5,
  kEncRtf = 6,
};

// Verdicts of IsTextFile (the negative probe codes pass through unchanged).
enum : int {
  kNotText = 0,
  kTextCrLf = 1,  // also: no line breaks in the sample, or UTF-8
  kTextLf = 2,
  kTextCr = 3,
  kTextRtf = 6,
  kTextOtherUnicode = 7,  // UTF-16 or UTF-32: a reader decodes it by EncodingInfo
};

// The sample size both callers pass to IsTextFile.
constexpr std::int32_t kTextSampleSize = 16384;

// The probe: one of the codes above. A file with a byte-order mark FF FE 00 00 (UTF-32 LE)
// gives 1 like UTF-16 LE; info (when given) tells them apart. A BOM-less sample that is
// valid UTF-8 with at least one multi-byte sequence gives 3.
int GetTextEncoding(const std::string& path, bool checkCharset = true,
                    EncodingInfo* info = nullptr);

// True when the lower-cased extension is one of prn csv xhtml xhtm shtml shtm html htm xml
// log txt.
bool HasTextFileExtension(const std::string& path);

// Figures IsTextFile returns beside its verdict. The caller sets blnUtf8 to false first:
// it is only ever set, never cleared.
struct TextFileStats {
  std::uint8_t bytFirstAnomalous = 32;  // 32 after the scan: none seen
  std::int32_t lngAnomalyPosition = 0;  // 1-based byte position in the sample
  double dblAnomalousPercent = 0.0;
  bool blnUtf8 = false;
  EncodingInfo encoding;
};

// The verdict for the file: a negative probe code, 0 (not text), 1/2/3 (line endings or
// UTF-8 with stats.blnUtf8), 6 (RTF) or 7 (UTF-16/32). sampleSize bytes are scanned; more
// than thresholdPercent anomalous bytes (controls other than CR LF TAB FF BS) refuse it.
// The file is opened and stat-ed once; fileSize (when given) receives the size the stat
// gave (0 for /proc files), or -1 when the file could not be opened.
int IsTextFile(const std::string& path, std::int32_t sampleSize, double thresholdPercent,
               TextFileStats& stats, bool checkCharset = true, std::int64_t* fileSize = nullptr);
// The same on a file already open (path names it: its extension counts); the file is
// read by position and neither stat-ed nor opened again.
int IsTextFile(const SourceFile& file, const std::string& path, std::int32_t sampleSize,
               double thresholdPercent, TextFileStats& stats, bool checkCharset = true,
               std::int64_t* fileSize = nullptr);

// State CheckTextFile keeps for the whole program run.
struct TextCheckState {
  bool blnMacLineEndingsReported = false;  // never cleared
};

// Classifies a word-list file (sample 16384, threshold 0), tells the user why it cannot be
// read, and returns whether the caller may go on. Empties the output text box first.
// verdict receives the verdict, set to 0 where a warning refuses the file.
bool CheckTextFile(Host& host, TextCheckState& state, const std::string& path,
                   bool suppressLineEndingWarnings, bool& utf8, int& verdict,
                   bool offerToContinue);
// The same, through the session's host and state.
bool CheckTextFile(SourceSession& session, const std::string& path, bool suppressLineEndingWarnings,
                   bool& utf8, int& verdict, bool offerToContinue);

}  // namespace talq
