// The per-file reader's side of .docx documents.
#include "sources/docx_reading.h"

#include <filesystem>
#include <memory>
#include <system_error>
#include <vector>

#include "reports/report_sinks.h"
#include "sources/source_session.h"
#include "sources/text_prep.h"
#include "util/paths.h"
#include "util/program_texts.h"
#include "util/sizes.h"

namespace talq {

namespace fs = std::filesystem;

namespace {

// Documents this long show their runs in the text box while they are converted.
constexpr std::size_t kShowRunsAbove = 1024000;
// ...and this long a progress bar in the totals label.
constexpr std::size_t kProgressBarAbove = 1000000;

DocxConvertCallbacks SessionCallbacks(SourceSession& s, std::size_t xmlLength) {
  DocxConvertCallbacks cb;
  auto runs = std::make_shared<std::size_t>(0);
  cb.StopRequested = [&s, runs] {
    if ((++*runs & 63) == 0) s.host.Pump();
    if (!s.run.blnStop) return false;
    // A stop in the first seconds is taken at once; later the user confirms it.
    if (s.run.lngSecondsElapsed < 10) return true;
    if (s.host.MsgBox("Many different words have been found.\nDo you really wish to stop?",
                      "Stop", MsgIcon::Question, MsgButtons::YesNo,
                      MsgAnswer::Yes) == MsgAnswer::Yes)
      return true;
    s.run.blnStop = false;
    s.run.blnStopRequested = false;
    s.run.blnElapsedTimeRunning = true;
    return false;
  };
  // Progress only for a single document: in a folder scan the text box lists the files.
  if (s.settings.source == Source::optInFile && xmlLength > kProgressBarAbove) {
    cb.OnRun = [&s, xmlLength](std::size_t index, const std::string& text, std::size_t pos) {
      if (xmlLength > kShowRunsAbove) {
        if (index % 400 == 0) s.host.TxbClear();
        if (index % 20 == 0) s.host.TxbAppend(text + "\n");
      }
      if (index % 20 == 0) {
        const int w = s.run.intProgressWidth;
        const auto k = std::int64_t((std::uint64_t(w) * pos * 2 + xmlLength) / (2 * xmlLength));
        s.host.SetLabel("lblTotalNumOccurrences", ProgressBar(w, k));
      }
    };
  }
  return cb;
}

}  // namespace

std::int64_t DocxPreCheck(SourceSession& s, const std::string& path, DocxExtraction& docx,
                          const SourceFile* file) {
  const std::int64_t r = ExtractDocx(path, s.host, true, docx, file);
  switch (r) {
    case kDocxNoTempFolder:
      s.host.MsgBox("Unable to create temporary folder.", ProgramText(34), MsgIcon::Exclamation);
      break;
    case kDocxTooBig:
      s.host.MsgBox(path + "\nis too large (more than 20 Mb) to be scanned directly.\n\n"
                           "You might be able to save it as a text file\n"
                           "and apply this program to that text file.",
                    "File too big", MsgIcon::Information);
      break;
    case kDocxZipFailed:
      s.host.MsgBox("Cannot extract the text from the MS Word file \n" + path +
                        "\n\nYou could try saving it as a text file and applying this program\n"
                        "to that text file. Or copy the text from the Word file to the clipboard\n"
                        "and select 'Clipboard' before counting.",
                    "Unable to process file", MsgIcon::Information);
      break;
    default:
      break;
  }
  return r;
}

std::string DocxToTextFile(SourceSession& s, const std::string& path, DocxExtraction& docx) {
  std::vector<std::string> lines;
  std::string error =
      ConvertExtractedXml(docx, lines, SessionCallbacks(s, std::size_t(docx.xmlLength)));
  const std::string textPath =
      docx.folder + ChangeExtension(fs::path(path).filename().string(), "txt");
  if (error.empty())
    error = WriteLinesToFile(textPath, lines, 0, lines.empty() ? 0 : lines.size() - 1, true);
  if (!error.empty()) {
    s.host.MsgBox(error + " when processing \n" + path, "Error", MsgIcon::Exclamation);
    s.run.blnStop = true;
    return {};
  }
  s.host.SetLabel("lblXMLsize", "Text: " + FileSizeText(textPath, 2));
  if (s.settings.chkExtractTextFromDocx) {
    const fs::path folder = fs::path(path).parent_path() / "extracted_text";
    std::error_code ec;
    fs::create_directories(folder, ec);
    if (!ec)
      fs::copy_file(textPath, folder / fs::path(textPath).filename(),
                    fs::copy_options::overwrite_existing, ec);
    if (ec)
      s.host.MsgBox(ec.message() + " when copying the extracted text to \n" + folder.string(),
                    "Error", MsgIcon::Exclamation);
  }
  return textPath;
}

}  // namespace talq
