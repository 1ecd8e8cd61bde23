// Loading the two word lists (0 words to ignore, 1 count-only): reading a list file, the
// questions and messages around a load, the typed extra entries, and the recorded-frequency
// form of count-only files. Every message goes through the session's Host.
#pragma once

#include <string>

namespace talq {

struct SourceSession;

// Reads the selected file of list index into its loaded entries (table order). False when
// the file is refused, holds a forbidden character (wildcard in a count-only line, angle
// bracket in a words-to-ignore line) or the user stopped; the flags tell which. Settings
// and extraction state it borrows are put back on every way out.
bool ReadWords(SourceSession& session, int index);

// Loads the selected file of list index with every question and message; the only entry
// point for loading. Sets the loaded-file record to the path, or "" on failure.
bool AttemptToReadWords(SourceSession& session, int index);

// Adds path to the history of list index (or selects it when present), loads it, and on
// failure removes an entry it added. For the command line and settings files.
bool LoadListFile(SourceSession& session, int index, const std::string& path);

// Parses txbWordsToIgnoreOrCount(index) into the extra entries (sorted). False after the
// inadmissible-expression message (count-only box, after start-up).
bool GetExtraWords(SourceSession& session, int index);

// Checks both extra boxes against the admitted word characters and reports the first
// offending character. True when nothing was reported (always before start-up).
bool CheckAllowedExtraChars(SourceSession& session);

// What leaving an extra-entry box does: trim, parse, check the characters.
void LeaveExtraWordsBox(SourceSession& session, int index);

// Splits recorded frequencies off when the entries are lines of an earlier report, then
// lower-cases (outside angle brackets) and sorts the count-only entries.
void PutCountOnlyWordsIntoLowerCase(SourceSession& session);
// Cuts every count-only entry after its second "+" into recorded frequency and entry.
void SplitRecordedFrequencies(SourceSession& session);

// Sorts the loaded words-to-ignore entries (the exact search needs them ascending).
void PutWordsToIgnoreInOrder(SourceSession& session);

// Writes the count-only entries into the report text box.
void ListCountOnlyWords(SourceSession& session);

// blnThereAreCountOnlyWords and blnThereAreWordsToIgnore from the entry counts.
void SetThereAreListFlags(SourceSession& session);

}  // namespace talq
