// The counting run: what the count button starts (validation, the source, the exclusion of
// entries, statistics, summary and report) and stops, and its one-second progress tick.
#pragma once

#include <chrono>
#include <functional>
#include <optional>
#include <string>

namespace talq {

struct Session;

// How a run ended, for callers that map it to an exit status.
enum class RunResult {
  Reported,      // the report was listed
  NothingFound,  // no entry was included; the text box says so
  Refused,       // an input check or a setting refused the run (after its message)
  Cancelled,     // the user cancelled a question before counting
  Stopped,       // stopped, and the partial table was not listed
  Failed,        // an error ended the run (after its message)
  TableWritten,  // a run for the words-vs-files table ended at the table
  StopRequested, // the click was a stop request for the run in progress
};

// True for the results a command line reports as success (exit status 0).
bool RunSucceeded(RunResult result);

// Steps other units fill in; an unset hook does nothing.
struct CountingRunHooks {
  // Excludes redundant subphrases in a count-all-phrases run; tests blnStop after Pump().
  std::function<void(Session&)> ExcludeRedundantSubphrases;
  // Writes the words-vs-files table at the end of a run made for it.
  std::function<void(Session&)> WriteWordsVsFilesTable;
};

// State of the counting run, owned by the Session.
struct CountingRunState {
  int intThresholdFrequency = 0;  // minimum frequency in force for the run
  int intExcessFrequency = 0;     // maximum frequency in force for the run
  int intMFPThresholdFrequency = 2;  // minimum frequency of a count-all-phrases run
  bool blnRunInProgress = false;
  bool blnMakingWordsVsFilesTable = false;  // the run is made for the spreadsheet table
  bool blnExcludingRedundant = false;       // the redundant-subphrase phase is running
  std::optional<std::chrono::steady_clock::time_point> lastTick;  // last counted second
  CountingRunHooks hooks;
};

// The count button: a stop request while a run is in progress (see RequestStop), otherwise
// validation, the typed extra entries of both lists, the count chooser and a whole run.
RunResult cmdCountWords_Click(Session& s);

// Starts a run without the stop check (the command line's count). forTable: a run for the
// words-vs-files table (no chooser, ends after the table hook).
RunResult CountWords(Session& s, bool forTable = false);

// A stop request for the run in progress: asks "Really stop?" in a count-all-phrases run and
// after more than 800 distinct words, then sets blnStop. Returns false when the user said No.
bool RequestStop(Session& s);

// The count buttons' captions after the lists changed (idle caption; table button for
// count-only entries).
void SetCountWordsCaption(Session& s);

// Checks the selected source; false after one message.
bool ValidateInput(Session& s);

// The run wrapper: output-folder and count-only-file checks, phrase window, DoCount, and
// the controls' state afterwards.
RunResult CountWordsPhrases(Session& s);

// The run body, from the frequency-limit check to the report.
RunResult DoCount(Session& s);

// Sizes the phrase window to the longest count-only entry ("+"-separated words; at least 1).
void SetPhraseWindowForCountOnly(Session& s);

// One second of progress: lngSecondsElapsed + 1 and the progress labels.
void Timer2_Timer(Session& s);

// Runs Timer2_Timer once for every whole second since the last one while the elapsed-time
// timer runs. Hosts call it from Pump(); the overload with `now` serves tests.
void Tick(Session& s);
void Tick(Session& s, std::chrono::steady_clock::time_point now);

}  // namespace talq
