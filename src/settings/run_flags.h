// Run-time state that several layers read and write during a run (the main window's
// public flags). Not persisted. Owned by the session core; lower layers take it by reference.
#pragma once

#include <cstdint>
#include <string>

namespace talq {

struct RunFlags {
  bool blnStop = false;                         // stop requested; loops test it after Pump()
  bool blnStopRequested = false;  // the user asked to stop (not a stop raised by a refusal)
  bool blnCountingMFP = false;                  // the run counts all phrases
  bool blnThereAreCountOnlyWords = false;       // a count-only list is in force
  bool blnThereAreWordsToIgnore = false;
  bool blnCountOnlyWordsIncludePhrase = false;  // some count-only entry is a phrase
  bool blnReadingWords = false;                 // a word list is being read
  bool blnReadingCountOnlyWords = false;        // ...and it is the count-only list
  bool blnElapsedTimeRunning = false;
  std::int64_t lngSecondsElapsed = 0;

  // Folder-scan hooks driven by file selection.
  bool blnListingFilesOnly = false;
  bool blnCountingFiles = false;
  bool blnScanningFiles = false;
  std::int64_t lngFilesDone = 0;
  std::int64_t lngFilesTotal = 0;  // files found by the counting pass of a folder scan
  int intProgressWidth = 40;       // characters inside the brackets of a text progress bar

  // The file being counted, as shown in the input-file box during a folder run.
  std::string strCurrentFile;
};

}  // namespace talq
