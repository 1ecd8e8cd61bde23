// Display-control reactions: check-box enabling, format availability and relisting.
#include "reports/display_controls.h"

#include "reports/report_formats.h"
#include "reports/report_session.h"
#include "reports/report_sinks.h"
#include "util/program_texts.h"

namespace talq {

namespace {
// Program text of the caption of format #0; format #N is this + N.
constexpr int kFirstFormatCaption = 51;
}  // namespace

void UpdateDisplayOptionControls(ReportSession& s) {
  int f = s.settings.cboDisplayFormat;
  s.reports.blnRelativeFrequencyEnabled =
      f == 0 || f == 1 || f == 2 || f == 4 || f == 5 || f == 7 || f == 11 || f == 13;
  bool files = f == 13 && s.settings.cboWordOrder == 0 && s.settings.source == Source::optFolder;
  s.reports.blnSortByNumberOfFilesEnabled = files;
  if (!files) s.settings.chkSortByNumberOfFiles = 0;
}

void RelistIfReady(ReportSession& s) {
  if (!s.settings.blnStartUpCompleted || s.reports.blnSettingDisplayFormat) return;
  if (CheckDisplayFormatAvailable(s) && (s.settings.blnWordsGot || s.reports.blnCountingStopped)) {
    ListWords(s);
    if (s.reports.blnCountingStopped)
      s.host.MsgBox(ProgramText(22), ProgramText(23), MsgIcon::Information);
  }
}

bool CheckDisplayFormatAvailable(ReportSession& s) {
  int f = s.settings.cboDisplayFormat;
  if (f < kFirstFolderFormat || s.settings.source == Source::optFolder) return true;
  s.host.MsgBox("The display format '" + ProgramText(kFirstFormatCaption + f) +
                    "' is available\nonly when the source of the text is a folder.",
                "Unavailable display format", MsgIcon::Information);
  s.reports.blnSettingDisplayFormat = true;
  s.settings.cboDisplayFormat = 0;
  s.reports.blnSettingDisplayFormat = false;
  return false;
}

}  // namespace talq
