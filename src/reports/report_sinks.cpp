// Report sinks: the output file and the text box, ListWords and the error report.
#include "reports/report_sinks.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <filesystem>

#include "reports/atomic_output.h"
#include "reports/report_formats.h"
#include "reports/report_session.h"
#include "reports/report_text.h"
#include "util/program_texts.h"
#include "util/utf8.h"

namespace talq {

using namespace report_text;

namespace {

OutputFileWriter g_writer = &std::fwrite;

void WriteRaw(ReportSession& s, std::string_view text) {
  auto& r = s.reports;
  if (!r.intOutputFileNumber || r.intOutputFileError || text.empty()) return;
  errno = 0;
  if (g_writer(text.data(), 1, text.size(), r.intOutputFileNumber) != text.size())
    r.intOutputFileError = errno ? errno : EIO;
}

// Whether the folder that would hold `path` exists (a bare name lies in the working folder).
bool FolderOfPathExists(const std::string& path) {
  std::filesystem::path parent = std::filesystem::path(path).parent_path();
  if (parent.empty()) return true;
  std::error_code ec;
  return std::filesystem::is_directory(parent, ec);
}

bool IsPermissionError(int err) {
  return err == EACCES || err == EPERM || err == EROFS || err == ETXTBSY || err == EBUSY;
}

// Closes the output file after a failure: reports it, empties the text box. The error stays
// in intOutputFileError, so that the run ends as failed whichever step failed.
void FailFile(ReportSession& s, int err) {
  auto& r = s.reports;
  if (r.intOutputFileNumber) std::fclose(r.intOutputFileNumber);
  r.intOutputFileNumber = nullptr;
  r.blnOutputFile = false;
  r.intOutputFileError = err;
  if (IsPermissionError(err))
    s.host.MsgBox("Perhaps the output file\nis in use by another application.",
                  "Permission denied", MsgIcon::Information);
  else
    ReportError(s, err, std::strerror(err), "ListWords");
  s.host.TxbClear();
}

void RunPass(ReportSession& s) {
  if (s.settings.cboWordOrder == 1)
    ListWordsAlphabetically(s);
  else
    ListWordsByFrequency(s);
}

// Decides file output, asking before an existing file is overwritten. True: write the file.
bool PrepareFileOutput(ReportSession& s) {
  auto& st = s.settings;
  if (Trim(st.txbFile[1]).empty() || st.chkDisableOutputToFile) return false;
  std::error_code ec;
  if (st.chkWarnOnOverwrite && std::filesystem::exists(Trim(st.txbFile[1]), ec)) {
    auto answer = s.host.InputBox(
        "To overwrite the current output file click on 'OK'.\n"
        "To write to a different file edit the filepath below.\n"
        "To disable file output click on 'Cancel'.",
        "The output file exists.", st.txbFile[1]);
    std::string path = answer ? Trim(*answer) : std::string();
    if (path.empty()) {
      st.chkDisableOutputToFile = 1;
      return false;
    }
    if (!FolderOfPathExists(path)) {
      s.host.MsgBox("Folder does not exist.", "Error", MsgIcon::Exclamation);
      st.chkDisableOutputToFile = 1;
      return false;
    }
    st.txbFile[1] = path;  // kept as typed: paths are case-sensitive here
  }
  return true;
}

// The source lines at the head of the output file.
std::string SourceLines(const ReportSession& s) {
  const auto& st = s.settings;
  switch (st.source) {
    case Source::optInFile:
      return "File: " + st.txbFile[0] + "\n";
    case Source::optFolder:
      return "Folder: " + st.txbFolder + (st.chkIncludeSubfolders ? " plus any subfolders" : "") +
             "\n" + Trim(MakeFilesScannedText(s));
    default:
      return {};
  }
}

// Whether text holds at least n characters; a byte count below n settles it without counting.
bool AtLeastChars(const std::string& text, std::size_t n) {
  return text.size() >= n && Utf8Length(text) >= n;
}

}  // namespace

void WriteOutputFileLine(ReportSession& s, std::string_view line) {
  // Most lines are one line: written as they are, without a copy.
  if (line.find('\n') == std::string_view::npos) {
    WriteRaw(s, line);
  } else {
    WriteRaw(s, ToCrLf(line));
  }
  WriteRaw(s, "\r\n");
}

void EmitReportLine(ReportSession& s, std::string_view line, bool title) {
  auto& r = s.reports;
  int f = s.settings.cboDisplayFormat;
  if (f == 9 && title) return;
  if (r.blnOutputFile) {
    if (f == 9) {
      WriteRaw(s, (r.blnEntryWritten ? ", " : "") + Trim(line));
      r.blnEntryWritten = true;
    } else {
      WriteOutputFileLine(s, f == 8 ? Trim(line) : line);
    }
    return;
  }
  const bool limited = s.host.TxbHasCapacityLimit();
  if (limited && r.blnTextboxFull) return;
  // What the box already holds counts as well: the pending text is handed over every 2049
  // characters, so on its own it never reaches the limit and the whole list went to the box.
  const std::size_t inBox = limited ? s.host.TxbLength() : 0;
  const std::size_t room = lngTextboxLimit - std::min(inBox, lngTextboxLimit);
  if (!limited || !AtLeastChars(r.strOutput, room)) {
    if (f == 9) {
      r.strOutput += Trim(line);
      r.strOutput += ", ";
    } else {
      r.strOutput += f == 8 ? Trim(line) : line;
      r.strOutput += '\n';
    }
  }
  if (limited && AtLeastChars(r.strOutput, room)) {
    r.blnTextboxFull = true;
  } else if (AtLeastChars(r.strOutput, lngTextboxFlush)) {
    s.host.TxbAppend(r.strOutput);
    r.strOutput.clear();
  }
}

BlockForm PassBlockForm(ReportSession& s) {
  const int f = s.settings.cboDisplayFormat;
  if (f == 8 || f == 9) return BlockForm::None;
  if (s.reports.blnOutputFile) return BlockForm::FileLines;
  return s.host.TxbHasCapacityLimit() ? BlockForm::None : BlockForm::BoxLines;
}

void AppendInBlockForm(BlockForm form, std::string_view line, std::string& block) {
  if (form == BlockForm::FileLines) {
    if (line.find('\n') == std::string_view::npos) {
      block += line;
    } else {
      block += ToCrLf(line);
    }
    block += "\r\n";
  } else {
    block += line;
    block += '\n';
  }
}

void EmitReportBlock(ReportSession& s, std::string_view block) {
  auto& r = s.reports;
  if (r.blnOutputFile) {
    WriteRaw(s, block);
    return;
  }
  r.strOutput += block;
  if (AtLeastChars(r.strOutput, lngTextboxFlush)) {
    s.host.TxbAppend(r.strOutput);
    r.strOutput.clear();
  }
}

void SetOutputFileWriter(OutputFileWriter writer) { g_writer = writer ? writer : &std::fwrite; }

void ListWords(ReportSession& s) {
  auto& r = s.reports;
  // Lines formatted ahead and not taken (after a failed file) are dropped when the listing ends.
  struct Drop {
    ReportState& r;
    ~Drop() { r.listingAhead.reset(); }
  } drop{r};
  s.run.blnStop = false;  // a listing is a new operation; an old stop request must not cut it
  if (s.words.lngNumWordsIncluded == 0) {
    ClearTextbox(s);
    ReportNothingFound(s);
    return;
  }
  if (PrepareFileOutput(s)) {
    std::string path = Trim(s.settings.txbFile[1]);
    if (!FolderOfPathExists(path)) {
      s.host.TxbClear();
      s.host.MsgBox("Output folder does not exist.", "Output file error", MsgIcon::Exclamation);
      r.intOutputFileError = ENOENT;
      return;
    }
    s.host.TxbSet("Now processing and writing to output file ...");
    PendingOutput pending;
    std::FILE* file = nullptr;
    if (int err = OpenPendingOutput(path, pending, file)) {
      FailFile(s, err);
      return;
    }
    r.intOutputFileNumber = file;
    r.intOutputFileError = 0;
    WriteRaw(s, ToCrLf(SourceLines(s)));
    r.blnOutputFile = true;
    RunPass(s);
    r.blnOutputFile = false;
    // Closing waits for the disk: the box's lines are formatted meanwhile.
    if (!s.run.blnStop && !r.intOutputFileError)
      StartBoxListingAhead(s, s.settings.cboWordOrder == 1);
    // A stopped listing is incomplete: the old file stays as it was.
    const int err = ClosePendingOutput(pending, r.intOutputFileNumber,
                                       r.intOutputFileError ? r.intOutputFileError
                                       : s.run.blnStop      ? ECANCELED
                                                            : 0);
    r.intOutputFileNumber = nullptr;
    if (s.run.blnStop && err == ECANCELED) {
      OutputToTxb(s, "\nOutput to file was terminated.");
      return;
    }
    if (err) {
      FailFile(s, err);
      return;
    }
    r.blnOutputFileWritten = true;
  }
  r.blnOutputFile = false;
  RunPass(s);
  if (s.run.blnStop) {
    OutputToTxb(s, "\nListing stopped.\n");
    return;
  }
  if (s.settings.cboDisplayFormat == 9 && s.host.TxbLength() > 2) {
    std::string t = s.host.TxbText();
    if (t.ends_with(", ")) s.host.TxbSet(t.substr(0, t.size() - 2));
  }
  if (s.host.TxbHasCapacityLimit() && !r.blnTextboxFull && s.host.TxbLength() > lngTextboxLimit)
    ReportError(s, -7, "", "");
}

void OutputToTxb(ReportSession& s, const std::string& message) {
  auto& r = s.reports;
  Host& h = s.host;
  if (r.blnTextboxFull) {
    h.TxbCaretToStart();
    return;
  }
  h.TxbAppend(message);
  h.TxbCaretToEnd();
  std::size_t len = h.TxbLength();
  if (h.TxbHasCapacityLimit() && len > lngTextboxLimit && len == r.lngTxbLengthLast) {
    h.SetLabel("lblTwirler", "");
    std::string t = h.TxbText();
    if (Utf8Length(t) > 1024) t = DropLastChars(t, 256);
    t += "\n\nTextbox is full.";
    if (s.run.blnListingFilesOnly) {
      t += "\n\nTo this point: " +
           FilesInFoldersText(r.lngNumFilesScanned, r.intNumFoldersScanned);
      s.settings.txbFile[0].clear();
    }
    h.TxbSet(t);
    h.TxbCaretToEnd();
    r.blnTextboxFull = true;
    return;
  }
  r.lngTxbLengthBefore = r.lngTxbLengthLast;
  r.lngTxbLengthLast = len;
  h.TxbCaretToStart();
}

void ClearTextbox(ReportSession& s) {
  s.host.TxbClear();
  s.reports.blnTextboxFull = false;
  s.reports.lngTxbLengthLast = s.reports.lngTxbLengthBefore = 0;
}

void ReportError(ReportSession& s, int number, const std::string& description,
                 const std::string& procedure) {
  auto& r = s.reports;
  Host& h = s.host;
  s.run.blnElapsedTimeRunning = false;
  h.SetLabel("lblTwirler", "");
  std::string msg;
  if (number != -7) {
    msg = "At " + procedure + " error #" + std::to_string(number) + ".\nDescription: " +
          description;
    if (r.blnOutputFileWritten) msg.append("\n").append(ProgramText(96));
  } else {
    if (h.TxbLength() < 256 && !r.strOutput.empty()) {
      msg = ProgramText(92) + "  ";
      h.TxbSet(FirstChars(r.strOutput, 4096));
    } else {
      msg = ProgramText(93) + "  ";
    }
    if (Trim(s.settings.txbFile[1]).empty())
      msg += ProgramText(94);
    else if (s.settings.chkDisableOutputToFile)
      msg += ProgramText(95);
    else if (r.blnOutputFileWritten)
      msg.append("\n").append(ProgramText(96));
    std::string t = h.TxbText();
    if (Utf8Length(t) > 1024) {
      t = DropLastChars(t, 32);
      auto nl = t.rfind('\n');
      if (nl != std::string::npos) t = t.substr(0, nl) + "\n\n" + ProgramText(93);
      h.TxbSet(t);
    }
    r.blnTextboxFull = true;
  }
  h.MsgBox(msg, r.blnTextboxFull ? ProgramText(93) : ProgramText(97), MsgIcon::Exclamation);
}

std::string FilesInFoldersText(std::int64_t files, std::int64_t folders) {
  return std::to_string(files) + " file" + (files != 1 ? "s" : "") + " in " +
         std::to_string(folders) + " folder" + (folders != 1 ? "s" : "");
}

}  // namespace talq
