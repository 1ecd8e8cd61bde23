// The state file and named settings files: where the state file lives, and the record's
// text form (one value a line, in the order of the field table) written and read back.
#pragma once

#include <string>
#include <vector>

#include "settings/settings.h"

namespace talq {

// Results of a restore.
enum RestoreStatus : int {
  kRestoreNoFile = -1,         // the file does not exist; nothing changed
  kRestored = 0,
  kRestoreInvalidIndex = 1,    // a choice field ended at -1
  kRestoreListLoadFailed = 2,  // a list file offered for loading did not load
  kRestoreFailed = 3,          // the reading failed; see the reason
};

// Reason of kRestoreFailed when a value could not be applied to its field.
inline constexpr const char* kInvalidData = "Invalid data";
// Prefix of every error text SaveState returns.
inline constexpr const char* kSaveStateError = "Error when attempting to save state: ";
// Longest line the reader accepts (bytes, without the line end).
inline constexpr std::size_t kMaxRecordLine = 1 << 20;

// $XDG_CONFIG_HOME/talq/talq.usr, by default ~/.config/talq/talq.usr. "" when no home
// folder is known.
std::string StateFilePath();

// The record of s as the files hold it: every persisted field in table order with the
// format's reserved and repeated lines, CR LF line ends, texts quoted with inner quotes
// doubled and line breaks written as spaces. Bytes of the values are written as they are.
std::string StateRecordText(const Settings& s);

// Writes the record of s to path (the state file when empty; its folder is created). The
// record goes to a temporary file beside the target, is flushed and renamed over it, so a
// failed save leaves the old file whole. Returns "" on success, else kSaveStateError and
// the system's description of the failure.
std::string SaveState(const Settings& s, const std::string& path);

// What reading a record did.
struct RecordReading {
  int status = kRestored;  // kRestoreNoFile, kRestored or kRestoreFailed
  std::string reason;      // with kRestoreFailed: kInvalidData or the error's description
  bool endOfFile = false;  // the file ended before the last field
  bool reachedTableFields = false;   // ...and the reading had reached chkZeroCellsBlank
  std::vector<std::string> applied;  // names of the fields set, in the order read
};

// Reads the record at path (the state file when empty) into s, applying each field as it
// is read; a field whose value is refused (out of range, not a number, a line over
// kMaxRecordLine bytes) stops the reading with kInvalidData and is not changed, nor is any
// later field. Lines may end in CR LF or LF; a line that is not UTF-8 is read as
// Windows-1252. Asks nothing and runs no field's side effects.
RecordReading ReadStateRecord(Settings& s, const std::string& path);

// True when a choice field that counts or reports use is at -1 (cboCommonWordsLanguages
// may be).
bool HasUnselectedChoice(const Settings& s);

}  // namespace talq
