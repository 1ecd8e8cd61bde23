#include "run/saved_state.h"

#include "lists/list_offers.h"
#include "lists/word_lists.h"
#include "run/counting_run.h"
#include "run/session.h"
#include "settings/defaults.h"
#include "settings/state_file.h"
#include "sources/file_reader.h"
#include "sources/file_selection.h"
#include "util/paths.h"
#include "util/program_texts.h"

namespace talq {

namespace {

constexpr const char* kSettingsFilter = "TALQ settings files (*.talq)";

// The leave-the-box processing of the boxes the record set. It runs once the whole record
// is in, so that parsing sees the restored word settings: run field by field, the extra
// count-only box would be lower-cased for good under the case rule the record had not yet
// restored.
void LeaveRestoredBoxes(Session& s, const std::vector<std::string>& applied) {
  for (const std::string& name : applied) {
    for (int i = 0; i < 2; ++i) {
      if (name == "txbWordsToIgnoreOrCount(" + std::to_string(i) + ")") LeaveExtraWordsBox(s, i);
      if (name == "txbFileFilepathSpecifications(" + std::to_string(i) + ")")
        FileSpecificationsLostFocus(s, i);
    }
  }
}

void ShowStateFile(Session& s, const std::string& path) {
  s.settings.txbStateFile = path;
  s.host.SetLabelVisible("txbStateFile", true);
}

}  // namespace

int RestoreSavedState(Session& s, const std::string& path, std::string* reason) {
  Settings& st = s.settings;
  Host& host = s.host;
  const bool restoringForWindow = st.blnRestoring;
  const RecordReading read = ReadStateRecord(st, path);
  if (read.status == kRestoreNoFile) return kRestoreNoFile;
  // Words kept from the last count were cut under the settings just replaced.
  st.blnWordsGot = false;
  if (read.status == kRestoreFailed) {
    if (reason) *reason = read.reason;
    return kRestoreFailed;
  }
  int status = read.status;

  if (read.endOfFile) {
    if (read.reachedTableFields) {
      st.chkZeroCellsBlank = 0;
      st.tableLayout = TableLayout::optAlphabetical;
    }
    if (host.MsgBox("Input past end of file.  Set default values?", "Error restoring saved state",
                    MsgIcon::Question, MsgButtons::YesNo, MsgAnswer::No) == MsgAnswer::Yes) {
      SetDefaultValues(st);
      st.blnRestoring = restoringForWindow;
      host.MsgBox("Saving the settings should fix the 'Input past end of file' error.",
                  "Input past end of file", MsgIcon::Information);
    }
  }
  LeaveRestoredBoxes(s, read.applied);

  // "Disable" is off and unavailable while there is no output file.
  if (TrimPathBox(st.txbFile[1]).empty()) st.chkDisableOutputToFile = 0;
  if (HasUnselectedChoice(st)) status = kRestoreInvalidIndex;

  if (!st.txbFile[0].empty()) CheckInputFile(s, st.txbFile[0]);
  st.txbFolder = TrimPathBox(st.txbFolder);
  if (st.txbFolder.empty()) st.chkIncludeSubfolders = 0;

  if (!restoringForWindow && !OfferSelectedListFiles(s)) status = kRestoreListLoadFailed;
  return status;
}

void RestoreStateAtStartUp(Session& s) {
  Settings& st = s.settings;
  std::string reason;
  const int status = RestoreSavedState(s, "", &reason);
  if (status == kRestoreInvalidIndex || status == kRestoreFailed) {
    const std::string text = (status == kRestoreInvalidIndex ? ProgramText(37)
                                                             : ProgramText(38) + ": " + reason) +
                             "\n\n" + ProgramText(39) + ProgramText(40);
    if (s.host.MsgBox(text, kProgramTitle, MsgIcon::Question, MsgButtons::YesNo,
                      MsgAnswer::Yes) == MsgAnswer::Yes) {
      Initialize(st, &s.host);
    } else {
      // Quitting must not write over the file the user may still want to repair.
      st.chkSaveStateOnQuit = 0;
    }
  }
  if (st.cboWordsFile[kWordsToIgnore].items.empty()) {
    OfferEnglishCommonWords(s);
    SetCountWordsCaption(s);
  }
}

bool cmdSaveState_Click(Session& s) {
  const std::string error = SaveState(s.settings, "");
  if (error.empty()) return true;
  s.host.MsgBox(error, "Save state", MsgIcon::Exclamation);
  return false;
}

void SaveStateOnQuit(Session& s) {
  if (s.settings.chkSaveStateOnQuit == 1) cmdSaveState_Click(s);
}

bool SaveSettingsToFile(Session& s) {
  const auto chosen = s.host.ChooseSaveFile("Specify file to save settings to", kSettingsFilter,
                                            s.settings.txbStateFile);
  if (!chosen || chosen->empty()) return false;
  ShowStateFile(s, *chosen);
  const std::string error = SaveState(s.settings, *chosen);
  if (error.empty()) {
    s.host.SetLabel("lblState", "Settings saved to");
    return true;
  }
  s.host.MsgBox(error, "Save settngs", MsgIcon::Exclamation);
  s.host.SetLabel("lblState", "Error saving to");
  return false;
}

int LoadSettingsFile(Session& s, const std::string& path) {
  Settings& st = s.settings;
  std::string reason;
  st.blnRestoring = true;
  const int status = RestoreSavedState(s, path, &reason);
  st.blnRestoring = false;
  if (status == kRestoreNoFile) {
    // Nothing was loaded, which must not pass for a load.
    s.host.MsgBox("Error when attempting to load settings: No such file or directory",
                  "Load settings", MsgIcon::Exclamation);
  } else if (status == kRestoreInvalidIndex) {
    s.host.MsgBox("Invalid combo box index.", "Load settings", MsgIcon::Exclamation);
  } else if (status == kRestoreFailed) {
    s.host.MsgBox("Error when attempting to load settings: " + reason, "Load settings",
                  MsgIcon::Exclamation);
  }
  return status;
}

bool LoadSettingsFromFile(Session& s) {
  const auto chosen = s.host.ChooseOpenFile("Specify file to load settings from.",
                                            kSettingsFilter, s.settings.txbStateFile);
  if (!chosen || chosen->empty()) return false;
  ShowStateFile(s, *chosen);
  const int status = LoadSettingsFile(s, *chosen);
  if (status == kRestored) {
    s.host.SetLabel("lblState", "Settings loaded from");
    return true;
  }
  if (status != kRestoreNoFile) Initialize(s.settings, &s.host);
  // Initialize empties the box; the label names the file that failed.
  ShowStateFile(s, *chosen);
  s.host.SetLabel("lblState", "Error loading from");
  return false;
}

}  // namespace talq
