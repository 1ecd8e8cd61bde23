// The word-list reader's guard: classification with the user told why a file is refused.
#include <filesystem>
#include <system_error>

#include "sources/source_session.h"
#include "sources/classify.h"
#include "util/sizes.h"

namespace talq {
namespace {

constexpr const char* kFatal = "Fatal error";
constexpr const char* kTryClipboard =
    "You could try reading it using its associated application, then copying the text and "
    "pasting it into the textbox (then copy it to the clipboard and select 'Clipboard' as the "
    "source).";
constexpr const char* kConvertLineEndings = "to convert the line endings to Windows-type (CR+LF).";

std::int64_t FileLength(const std::string& path) {
  std::error_code ec;
  const auto size = std::filesystem::file_size(path, ec);
  return ec ? -1 : static_cast<std::int64_t>(size);
}

}  // namespace

bool CheckTextFile(Host& host, TextCheckState& state, const std::string& path,
                   bool suppressLineEndingWarnings, bool& utf8, int& verdict,
                   bool offerToContinue) {
  host.TxbClear();
  TextFileStats stats;
  stats.blnUtf8 = utf8;
  verdict = IsTextFile(path, kTextSampleSize, 0.0, stats, true);
  utf8 = stats.blnUtf8;
  const std::string p = "File " + path;
  auto fatal = [&](const std::string& text) {
    host.MsgBox(text, kFatal, MsgIcon::Information);
    return false;
  };

  switch (verdict) {
    case kEncEmptyPath:
      return false;
    case kEncNotFound:
      return fatal(p + " not found.");
    case kEncZeroLength:
      return fatal(p + " is zero-length.");
    case kEncPermissionDenied:
      return fatal(p + "\n cannot be opened (permission denied).");
    case kEncTooShort:
      return fatal(p + "\ncontains only from 1 to 4 bytes.");
    case kEncOpenFailed:
      return fatal(p + "\ncannot be opened.");
    case kTextRtf:
      return fatal(p + "\nis an RTF file.");
    case kTextOtherUnicode:
      return fatal(p + "\nis a Unicode file but not UTF-8 encoded.");
    case kNotText: {
      std::string text = p + "\nis not an ANSI or UTF-8 encoded text file.";
      if (stats.dblAnomalousPercent > 0.0) {
        text += "\nIt appears to be a binary file.";
        const std::int64_t length = FileLength(path);
        if (stats.dblAnomalousPercent < 9.0 && length >= 1 && length < 102400) {
          text += "\n\n";
          text += kTryClipboard;
        }
      }
      host.MsgBox(text, "Not a text file", MsgIcon::Information);
      return false;
    }
    default:
      break;
  }
  if (suppressLineEndingWarnings) return true;

  if (verdict == kTextCr) {
    if (!state.blnMacLineEndingsReported) {
      state.blnMacLineEndingsReported = true;
      host.MsgBox(p + "\nhas Macintosh-type line endings (CR).\n\n"
                      "You might wish to use a program such as Notepad++\n" +
                      kConvertLineEndings,
                  "This is a Mac-style text file", MsgIcon::Information);
    }
    return true;
  }
  if (verdict != kTextLf) return true;

  const std::int64_t length = FileLength(path);
  if (length <= 256000) return true;
  const std::string first = p + "\nhas Unix-type line endings (LF).\n\nThe size of this file is " +
                            FileSizeTextKbMb(path) + "\n";
  if (length > 512000) {
    host.MsgBox(first + "so processing of this file would take a long time.\n\n"
                        "You can process this file by first using a program such as Notepad++\n" +
                    kConvertLineEndings,
                "Cannot process this file", MsgIcon::Information);
    verdict = kNotText;
    return false;
  }
  const std::string text = first + "so processing of this file might be rather slow.\n\n"
                                   "It is advisable to use a program such as Notepad++\n" +
                           kConvertLineEndings;
  if (!offerToContinue) {
    host.MsgBox(text, "This is a Unix-style file", MsgIcon::Information);
    return true;
  }
  const std::string title = "This is a Unix-style text file";
  const MsgAnswer answer =
      host.MsgBox(text + "\n\nDo you wish to continue processing this file?", title,
                  MsgIcon::Information, MsgButtons::YesNo, MsgAnswer::No);
  if (answer == MsgAnswer::Yes) return true;
  host.MsgBox("Operation canceled.", title, MsgIcon::None);
  verdict = kNotText;
  return false;
}

bool CheckTextFile(SourceSession& session, const std::string& path, bool suppressLineEndingWarnings,
                   bool& utf8, int& verdict, bool offerToContinue) {
  return CheckTextFile(session.host, session.textCheck, path, suppressLineEndingWarnings, utf8,
                       verdict, offerToContinue);
}

}  // namespace talq
