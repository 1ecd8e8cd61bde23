// The file and clipboard sources.
#include "sources/file_reader.h"

#include <sys/stat.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <optional>
#include <system_error>

#include "engine/extraction.h"
#include "reports/report_sinks.h"
#include "sources/classify.h"
#include "sources/docx.h"
#include "sources/docx_reading.h"
#include "sources/line_reader.h"
#include "sources/source_file.h"
#include "sources/source_session.h"
#include "sources/text_prep.h"
#include "text/markup.h"
#include "util/numbers.h"
#include "util/paths.h"
#include "util/program_texts.h"
#include "util/sizes.h"
#include "util/text_case.h"
#include "util/utf8.h"

namespace talq {

namespace fs = std::filesystem;

namespace {

bool ContainsUpper(const std::u32string& upper, std::u32string_view what) {
  return upper.find(what) != std::u32string::npos;
}

// The output file is the input file (stat-ed as inputStat): the same path, or the same
// file under another name. A folder run stats the output file once for all its files.
bool IsOutputFile(SourceSession& s, const std::string& input, const struct stat& inputStat) {
  const std::string& output = s.settings.txbFile[1];
  if (input == output) return true;
  SourceState::OutputIdentity fresh;
  SourceState::OutputIdentity* id = &fresh;
  if (s.settings.source == Source::optFolder) {
    if (!s.sources.output || s.sources.output->path != output) s.sources.output.emplace();
    id = &*s.sources.output;
  }
  if (id->path != output || id == &fresh) {
    id->path = output;
    id->exists = ::stat(output.c_str(), &id->status) == 0;
  }
  return id->exists && id->status.st_dev == inputStat.st_dev &&
         id->status.st_ino == inputStat.st_ino;
}

// The verdicts after which a file is not read.
bool RefusedVerdict(int verdict) {
  return verdict == kNotText || verdict == kEncZeroLength || verdict == kEncPermissionDenied ||
         verdict == kEncOpenFailed || verdict == kEncNotFound;
}

// Reads on to the end of the HTML head. Returns the rest of the line after "</HEAD>" or
// an empty line at the end of the file; sets utf8 when the head declares that charset.
std::u32string SkipHtmlHead(LineReader& reader, std::u32string line, bool& utf8) {
  for (;;) {
    std::u32string upper = UpperCaseAccented(line);
    if (!utf8 && (ContainsUpper(upper, U"CHARSET=UTF-8") ||
                  ContainsUpper(upper, U"CHARSET=\"UTF-8\""))) {
      utf8 = true;
      reader.SetEncoding(TextEncoding::Utf8);
    }
    std::size_t p = upper.find(U"</HEAD>");
    if (p != std::u32string::npos) return line.substr(p + 7);
    if (!reader.ReadLfLine(line)) return U"";
  }
}

}  // namespace

void HandOverLine(SourceSession& s, std::u32string& line, bool endOfLineReset) {
  if (!s.settings.chkCaseSignificant) {
    // ASCII in a loop that vectorises; the rest only when the line holds any.
    char32_t bits = 0;  // an integer reduction vectorises where a bool one does not
    for (char32_t& c : line) {
      bits |= c;
      c = c - U'A' < 26u ? c + 0x20 : c;
    }
    if (bits >= 0x80) {
      for (char32_t& c : line)
        if (c >= 0x80) c = LowerChar(c);
    }
  }
  if (endOfLineReset && s.settings.chkTerminatePhraseAtEndOfLine) ResetPhrases(s);
  s.extraction.strLine.swap(line);
  s.extraction.strLine += U' ';
  ProcessLine(s);
}

namespace {

// The end of a file read through: labels and, for a single file, the scanning flag.
void FinishFile(SourceSession& s, bool singleFile) {
  if (singleFile) {
    s.host.SetLabel("lblNumberOfWords", "");
    s.run.blnScanningFiles = false;
  }
  s.host.SetLabel("lblTwirler", "");
}

std::string FileLineText(const SourceSession& s, const std::string& path, std::int64_t size) {
  const std::string& folder = s.settings.txbFolder;
  std::string shown = path;
  if (s.settings.source == Source::optFolder && Utf8Length(folder) > 13 &&
      path.compare(0, folder.size(), folder) == 0)
    shown = "{Folder}" + path.substr(folder.size());
  return shown + " [" + FormatByteSize(static_cast<double>(size), 2) + "]\n";
}

// Whether a file whose size reads 0 holds nothing (files of /proc hold text).
bool HasNoBytes(const std::string& path, const SourceFile* file) {
  if (file == nullptr || !file->ok()) return FileHasNoBytes(path);
  std::string first;
  return file->ReadStart(1, first) && first.empty();
}

// CheckInputFile on what a stat of path found (st, when found); file is path opened, or null.
int CheckInputFile(SourceSession& s, const std::string& path, bool found, const struct stat& st,
                   const SourceFile* file) {
  const std::string p = TrimPathBox(path);
  int code = 0;
  found = found && !p.empty();
  if (!p.empty() && p.back() == '/') {
    code = 1;
  } else if (!found || S_ISDIR(st.st_mode)) {
    code = 2;
  } else if (!S_ISREG(st.st_mode) || (st.st_size == 0 && HasNoBytes(p, file))) {
    code = 3;
  }
  if (code != 0) {
    if (s.settings.blnStartUpCompleted && s.settings.source == Source::optInFile)
      s.settings.txbFile[0].clear();
    s.host.SetLabel("lblFilesize", "");
    s.host.SetLabel("lblXMLsize", "");
  } else {
    s.host.SetLabel("lblFilesize", "Filesize: " + FormatByteSize(static_cast<double>(st.st_size), 2));
  }
  return code;
}

std::string NotTextMessage(const std::string& path, const TextFileStats& st,
                           std::int64_t length) {
  std::string m = path + " is not a text file.\n\n";
  if (st.dblAnomalousPercent > 1.0) {
    m += "This file contains a byte " + std::to_string(st.bytFirstAnomalous) + " at position " +
         std::to_string(st.lngAnomalyPosition) + ", " +
         "indicating that it does not consist solely of text.  " +
         "The percentage of such anomalous bytes in the first " +
         std::to_string(kTextSampleSize) + " bytes is " +
         FormatNumber(st.dblAnomalousPercent, 2) + "%.\n\n";
  }
  if (st.dblAnomalousPercent < 9.0 && length < 102400) {
    m += "You could try reading it using its associated application, then copying the text "
         "and pasting it into the textbox (then copy it to the clipboard and select "
         "'Clipboard' as the source).";
  }
  return m;
}

// Keeps what the counting pass learned of path for the reading pass, with the open file
// (when it is to be read and few enough are open).
void Remember(SourceState& src, const std::string& path, SourceState::Classified entry,
              const std::shared_ptr<SourceFile>& file) {
  if (file && src.filesKeptOpen < DescriptorsToKeep()) {
    entry.file = file;
    ++src.filesKeptOpen;
  }
  src.classified[path] = std::move(entry);
}

}  // namespace

int CheckInputFile(SourceSession& s, const std::string& path) {
  struct stat st{};
  const std::string p = TrimPathBox(path);
  const bool found = !p.empty() && ::stat(p.c_str(), &st) == 0;
  return CheckInputFile(s, path, found, st, nullptr);
}

void ReportFileStatus(SourceSession& s, int status, const std::string& inputBox) {
  switch (status) {
    case kFileBadPath:
      s.host.MsgBox("Invalid input file specification.", "Invalid input", MsgIcon::Exclamation);
      break;
    case kFileNotFound:
      s.host.MsgBox("Input file does not exist.", "File not found", MsgIcon::Exclamation);
      break;
    case kFileEmptyOrNoPath:
      s.host.MsgBox(TrimPathBox(inputBox).empty() ? "Input file not specified."
                                                 : "Input file is zero-length.",
                    "Error", MsgIcon::Exclamation);
      break;
    case kFileIsOutputFile:
      s.host.MsgBox("The output file cannot be the same as the input file.", "Error",
                    MsgIcon::Exclamation);
      break;
    default:
      break;
  }
}

int DoItFromFile(SourceSession& s, const std::string& pathIn) {
  Settings& st = s.settings;
  RunFlags& run = s.run;
  const std::string path = TrimPathBox(pathIn);
  const bool singleFile = st.source == Source::optInFile;
  if (path.empty()) {
    run.blnStop = true;
    return kFileEmptyOrNoPath;
  }
  SourceState& src = s.sources;
  const bool folderScan = st.source == Source::optFolder;
  // A folder run's reading pass takes what its counting pass learned of the file: its
  // stat, its verdict and, while few enough files are open, the open file itself.
  std::optional<SourceState::Classified> known;
  if (folderScan && run.blnScanningFiles && !run.blnCountingFiles) {
    if (auto it = src.classified.find(path); it != src.classified.end()) {
      known = std::move(it->second);
      src.classified.erase(it);
    }
  }
  // Otherwise the file is opened once here, and that one open and fstat serve the checks,
  // the classification and the reading.
  std::shared_ptr<SourceFile> file;
  struct stat fileStat{};
  bool found = true;
  if (known) {
    fileStat = known->status;
    file = std::move(known->file);
  } else {
    file = SourceFile::Open(path);
    if (file->ok()) fileStat = file->Status();
    else found = ::stat(path.c_str(), &fileStat) == 0;  // not there, or not to be opened
  }
  if (int c = CheckInputFile(s, path, found, fileStat, file.get()); c != 0) return c;

  if (!st.txbFile[1].empty() && IsOutputFile(s, path, fileStat)) {
    const char* msg = "The output file cannot be the same as some input file.";
    OutputToTxb(s, std::string("\n") + msg + "\n");
    s.host.MsgBox(msg, "Error", MsgIcon::Exclamation);
    run.blnStop = true;
    return kFileIsOutputFile;
  }

  src.blnIsDocx = !run.blnReadingWords && GetFileExtension(path, true) == "docx" &&
                  (file ? HasZipSignature(*file) : IsDocxFile(path));
  if (singleFile) {
    run.blnScanningFiles = true;
    s.host.SetCaption("cmdCountWords", ProgramText(25));
  }

  // A document is read through the text extracted from it; its temporary folder goes
  // with `docx` on every path out.
  const bool isDocx = src.blnIsDocx;
  DocxExtraction docx;
  std::string textPath = path;
  if (isDocx) {
    if (DocxPreCheck(s, path, docx, file.get()) < 0) {
      s.host.SetLabel("lblFilesize", "");
      s.host.SetLabel("lblXMLsize", "");
      // In a folder scan the text box lists the files read so far: it is kept.
      if (singleFile) {
        run.blnElapsedTimeRunning = false;
        ClearTextbox(s);
      }
      return kFileDocxFailed;
    }
    // The reading pass finds the document open.
    if (folderScan && run.blnCountingFiles && !run.blnListingFilesOnly)
      Remember(src, path, {kTextCrLf, {}, 0, fileStat, nullptr}, file);
  } else {
    s.host.SetLabel("lblXMLsize", "");
  }

  TextFileStats stats;
  int verdict = kTextCrLf;
  std::int64_t length = 0;
  // Returns a status when the file is not read as text (after its message).
  auto classify = [&]() -> std::optional<int> {
    if (known && !isDocx) {
      verdict = known->verdict;
      stats = known->stats;
      length = known->length;
    } else {
      // A document's text is a file of its own.
      verdict = isDocx || !file ? IsTextFile(textPath, kTextSampleSize, 1.0, stats, true, &length)
                                : IsTextFile(*file, textPath, kTextSampleSize, 1.0, stats, true, &length);
      if (!isDocx && folderScan && run.blnCountingFiles && !run.blnListingFilesOnly)
        Remember(src, textPath, {verdict, stats, length, fileStat, nullptr},
                 RefusedVerdict(verdict) ? nullptr : file);
    }
    if (verdict == kNotText) {
      if (!singleFile) return kFileDone;
      s.host.MsgBox(NotTextMessage(path, stats, length), "Not a text file", MsgIcon::Information);
      ClearTextbox(s);
      run.blnScanningFiles = false;
      return kFileNotText;
    }
    if (verdict == kEncZeroLength) {
      if (singleFile)
        s.host.MsgBox("This is a zero-length file.", "Invalid input file", MsgIcon::Information);
      return kFileZeroLength;
    }
    if (verdict == kEncPermissionDenied || verdict == kEncOpenFailed || verdict == kEncNotFound) {
      if (singleFile)
        s.host.MsgBox("This file cannot be opened.", "Invalid input file", MsgIcon::Information);
      return kFilePermissionDenied;
    }
    return std::nullopt;
  };
  // A document's text is classified once it is extracted, after the file is counted.
  if (!isDocx) {
    if (std::optional<int> status = classify()) return *status;
  }

  const TextEncoding encoding = stats.encoding.encoding;
  const bool decodedUnicode = encoding != TextEncoding::Ansi;
  const int saved7bit = st.chkOnly7bitASCII;
  const bool listingOrCounting = run.blnListingFilesOnly || run.blnCountingFiles;
  if (decodedUnicode && !listingOrCounting) {
    st.chkOnly7bitASCII = 0;
    if (encoding == TextEncoding::Utf8) s.host.SetLabel("lblTotalNumOccurrences", "This is a UTF8 file.");
  }
  struct Restore7bit {
    Settings& st;
    int value;
    ~Restore7bit() { st.chkOnly7bitASCII = value; }
  } restore{st, saved7bit};

  run.blnStop = false;

  if (folderScan && (run.blnListingFilesOnly || (run.blnScanningFiles && !run.blnCountingFiles))) {
    std::string box = s.host.TxbText();
    const bool showNames = !st.chkSuppressFilenames || run.blnListingFilesOnly;
    if (!box.empty() && !st.chkSuppressWords && box.back() != '\n' && showNames)
      OutputToTxb(s, "\n");
    if (showNames) OutputToTxb(s, FileLineText(s, path, fileStat.st_size));
    if (s.reports.blnTextboxFull) {
      run.blnStop = true;
      return kFileTextboxFull;
    }
  }

  if (folderScan) {
    ++run.lngFilesDone;
    if (run.blnCountingFiles && !run.blnListingFilesOnly) {
      if (run.lngFilesDone % 5 == 0 || run.lngFilesDone <= 10)
        s.host.TxbSet("Counting files . . . " + std::to_string(run.lngFilesDone));
    }
    s.host.Pump();
    if (run.blnScanningFiles && run.lngFilesTotal > 0) {
      std::int64_t k = (std::int64_t(run.intProgressWidth) * run.lngFilesDone * 2 +
                        run.lngFilesTotal) / (2 * run.lngFilesTotal);
      s.host.SetLabel("lblNumOccurrences", ProgressBar(run.intProgressWidth, k));
    }
  }
  if (listingOrCounting) return kFileDone;

  src.strClipboardText.clear();
  if (singleFile) {
    s.words.Clear();
    run.blnStop = false;
  }
  const std::string extension = GetFileExtension(path, true);
  SetCommentMarkersForExtension(s.comments, extension);
  if (verdict == kTextLf)
    s.host.SetLabel("lblNumWordsExcluded", "This is a Unix-type file.");
  else if (verdict == kTextCr)
    s.host.SetLabel("lblNumWordsExcluded", "This is a Macintosh-type file.");
  else if (verdict == kTextCrLf && stats.blnUtf8)
    s.host.SetLabel("lblNumWordsExcluded", "This is a UTF-8 text file.");
  else
    s.host.SetLabel("lblNumWordsExcluded", "");

  TextEncoding readAs = encoding;
  int bomLength = stats.encoding.bomLength;
  if (isDocx) {
    textPath = DocxToTextFile(s, path, docx);
    if (textPath.empty()) return kFileDone;
    if (std::optional<int> status = classify()) return *status;
    // The extracted text is written as UTF-8, whatever its first bytes suggest.
    readAs = TextEncoding::Utf8;
    bomLength = 0;
  }

  const bool lineBar = singleFile && run.blnScanningFiles && length > 10240;
  if (lineBar) {
    std::string empty(std::size_t(run.intProgressWidth) + 2, ' ');
    empty.front() = '[';
    empty.back() = ']';
    s.host.SetLabel("lblNumOccurrences", empty);
  }
  s.comments.intWithinComment = -1;

  const bool html = extension.find("htm") != std::string::npos;
  if (src.parallel != nullptr && !isDocx &&
      src.parallel->ReadFile(s, FileToRead{textPath, extension, readAs, bomLength, length,
                                           lineBar, saved7bit, file})) {
    FinishFile(s, singleFile);
    return kFileDone;
  }
  LineReader reader;
  const bool opened = !isDocx && file ? reader.Open(*file, readAs, bomLength)
                                      : reader.Open(textPath, readAs, bomLength);
  if (!opened) {
    if (singleFile)
      s.host.MsgBox("This file cannot be opened.", "Invalid input file", MsgIcon::Information);
    return kFilePermissionDenied;
  }
  std::int64_t lastK = -1;
  LineLoopHooks hooks;
  hooks.beforeLine = [&s] {
    s.host.Pump();
    return !s.run.blnStop;
  };
  if (lineBar) {
    hooks.afterRead = [&](std::int64_t bytes) {
      const std::int64_t k = LineBarPosition(run.intProgressWidth, bytes, length);
      if (k != lastK) {
        lastK = k;
        s.host.SetLabel("lblNumOccurrences", ProgressBar(run.intProgressWidth, k));
      }
    };
  }
  ReadLines(s, reader, html, readAs == TextEncoding::Utf8, hooks);
  reader.Close();
  FinishFile(s, singleFile);
  return kFileDone;
}

void ReadLines(SourceSession& s, LineReader& reader, bool html, bool utf8,
               const LineLoopHooks& hooks) {
  bool headSkipped = false;
  std::u32string line;
  for (;;) {
    if (hooks.beforeLine && !hooks.beforeLine()) break;
    if (!reader.ReadLfLine(line)) break;
    if (hooks.afterRead) hooks.afterRead(reader.BytesRead());
    if (html && !headSkipped) {
      std::u32string upper = UpperCaseAccented(line);
      if (ContainsUpper(upper, U"<!DOCTYPE") && ContainsUpper(upper, U"HTML")) {
        line = SkipHtmlHead(reader, std::move(line), utf8);
        headSkipped = true;
      }
    }
    TrimLine(line);
    if (line.empty()) continue;
    NormaliseLine(line);
    HandOverLine(s, line, true);
  }
}

std::int64_t LineBarPosition(int width, std::int64_t bytes, std::int64_t length) {
  return length > 0 ? (std::int64_t(width) * bytes * 2 + length) / (2 * length) : 0;
}

int GetClipboardText(SourceSession& s, bool showInTextbox) {
  std::optional<std::string> text = s.host.GetClipboardText();
  if (!text || text->empty()) {
    s.host.MsgBox(ProgramText(213), "", MsgIcon::Exclamation);
    return 4;
  }
  std::int64_t length = std::int64_t(Utf8Length(*text));
  if (length > s.sources.lngMaxClipboardChars) {
    s.host.MsgBox("There are " + FormatCount(length) + " characters in the text on the clipboard.\n" +
                      "The maximum permitted is " + FormatCount(s.sources.lngMaxClipboardChars) +
                      ".  If possible,\ncount word frequencies for this text using an input file.",
                  "Too much clipboard text", MsgIcon::Exclamation);
    return 3;
  }
  s.sources.strClipboardText = std::move(*text);
  if (showInTextbox) s.host.TxbSet(s.sources.strClipboardText);
  return 0;
}

bool StartTextWithoutFile(SourceSession& s) {
  const bool markers = s.settings.chkAllowCommentMarkers != 0;
  if (markers && !CommentMarkersOK(s.host, EncodeUtf8(s.extraction.strAllowedExtraChars)))
    return false;
  SetClipboardCommentMarkers(s.comments, markers);
  s.words.Clear();
  s.run.blnStop = false;
  s.run.blnReadingWords = false;
  s.host.SetCaption("cmdCountWords", ProgramText(25));
  s.comments.intWithinComment = -1;
  return true;
}

int DoItFromClipboard(SourceSession& s) {
  std::u32string text = DecodeUtf8(s.sources.strClipboardText);
  if (!text.empty() && text.front() == 0xFEFF) text.erase(0, 1);
  if (!IsNaturalLanguageText(text, 3000, true)) {
    s.host.MsgBox("The text on the clipboard does not consist\nsolely of natural language words.",
                  "Invalid input", MsgIcon::Exclamation);
    return kFileEmptyOrNoPath;
  }
  if (!StartTextWithoutFile(s)) return kFileEmptyOrNoPath;

  // Line by line, so that a line comment ends at its line; phrases still run across lines.
  std::u32string line;
  std::size_t start = 0;
  while (start <= text.size() && !s.run.blnStop) {
    std::size_t end = start;
    while (end < text.size() && text[end] != U'\n' && text[end] != U'\r') ++end;
    line.assign(text, start, end - start);
    std::size_t next = end + 1;
    if (end < text.size() && text[end] == U'\r' && next < text.size() && text[next] == U'\n') ++next;
    start = next;
    TrimLine(line);
    if (!line.empty()) {
      NormaliseLine(line);
      HandOverLine(s, line, false);
    }
    if (end >= text.size()) break;
  }
  return kFileDone;
}

}  // namespace talq
