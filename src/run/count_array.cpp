// The words-vs-files table command.
#include "run/count_array.h"

#include <filesystem>
#include <system_error>

#include "reports/report_sinks.h"
#include "reports/words_files_table.h"
#include "run/session.h"
#include "util/paths.h"
#include "util/program_texts.h"

namespace talq {

namespace fs = std::filesystem;

RunResult cmdCountArray_Click(Session& s) {
  Settings& st = s.settings;
  Host& h = s.host;
  ClearTextbox(s);
  std::string output = TrimPathBox(st.txbFile[1]);
  if (output.empty()) {
    std::string caption = h.Caption("cmdCountArray");
    if (caption.empty()) caption = ProgramText(s.run.blnThereAreCountOnlyWords ? 102 : 101);
    h.MsgBox(ProgramText(103) + ProgramText(104), caption, MsgIcon::Exclamation);
    return RunResult::Refused;
  }
  std::error_code ec;
  if (st.chkWarnOnOverwrite && fs::exists(output, ec)) {
    const std::optional<std::string> answer = h.InputBox(
        "To overwrite the current output file click on 'OK'.\n"
        "To write to a different file edit the filepath below.\n\n"
        "(This 'warn on overwrite' can be disabled\nin the 'Settings' window.)",
        "The output file exists.", output);
    if (!answer || TrimPathBox(*answer).empty()) return RunResult::Cancelled;
    output = TrimPathBox(*answer);
    const fs::path folder = fs::path(output).parent_path();
    if (!folder.empty() && !fs::is_directory(folder, ec)) {
      h.MsgBox("Folder does not exist.", "Error", MsgIcon::Exclamation);
      return RunResult::Refused;
    }
  }
  st.txbFile[1] = output;
  if (!h.ShowDialog("frmCountArray")) return RunResult::Cancelled;

  CountingRunState& cr = s.counting;
  if (!cr.hooks.WriteWordsVsFilesTable) cr.hooks.WriteWordsVsFilesTable = WriteCountArrayFile;
  // The table is the run's only output: a disabled report file does not disable it, and
  // the checks that keep an output file out of the scanned folder apply to it.
  const int disabled = st.chkDisableOutputToFile;
  st.chkDisableOutputToFile = 0;
  RunResult result = CountWords(s, true);
  st.chkDisableOutputToFile = disabled;
  if (result == RunResult::TableWritten && s.reports.intOutputFileError != 0)
    result = RunResult::Failed;
  return result;
}

}  // namespace talq
