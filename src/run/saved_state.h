// Restoring and saving the settings record with every step around the file: the field
// side effects, the questions and messages, start-up, the settings window's save and load
// buttons and the save on quitting. The record's file form is settings/state_file.h.
#pragma once

#include <string>

namespace talq {

struct Session;

// Restores the record at path (the state file when empty) over the session's settings and
// returns a RestoreStatus. A file that ends early asks "Input past end of file.  Set default
// values?" (No by default); the extra-entry and pattern boxes then get their leave-the-box
// processing, the input file and folder boxes their checks, and, unless blnRestoring is set,
// the selected list files are offered for loading. reason receives the text of status 3.
// The windows rebuild their tooltips afterwards.
int RestoreSavedState(Session& s, const std::string& path, std::string* reason = nullptr);

// Start-up after Initialize: restores the state file, offers the initial settings after
// status 1 or 3 (No clears chkSaveStateOnQuit), then offers the English common-word file
// when no words-to-ignore file is known.
void RestoreStateAtStartUp(Session& s);

// A "Save settings" button: saves to the state file; a failure shows the "Save state" box.
// True on success (the window then shows program text 50).
bool cmdSaveState_Click(Session& s);

// Quitting: saves as cmdSaveState_Click does when chkSaveStateOnQuit is checked.
void SaveStateOnQuit(Session& s);

// "Save settings to file": asks for a path, saves the record there, shows the path in
// txbStateFile and sets lblState. False when cancelled or failed.
bool SaveSettingsToFile(Session& s);

// "Load settings from file": asks for a path and loads it as LoadSettingsFile does, showing
// the path in txbStateFile and setting lblState; a failed load applies Initialize. False
// when cancelled or failed.
bool LoadSettingsFromFile(Session& s);

// Restores the settings file at path with blnRestoring set (the list files it selects are
// not loaded). Status 1 shows "Invalid combo box index.", status 3 "Error when attempting
// to load settings: " and the reason, a missing file the same with "No such file or
// directory", all titled "Load settings". Returns the status.
int LoadSettingsFile(Session& s, const std::string& path);

}  // namespace talq
