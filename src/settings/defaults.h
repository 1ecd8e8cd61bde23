// Applying the defaults to the settings record, and the clean-up of the user's extra
// word characters.
#pragma once

#include "host/host.h"
#include "settings/settings.h"

namespace talq {

// Title of questions that carry no title of their own.
inline constexpr const char* kProgramTitle = "TALQ";

// "Restore defaults": the settings-window fields (word definition, filters, phrase
// termination, input/output options) and the words-to-ignore handling get their defaults;
// clears blnWordsGot. Leaves the word-list fields, the main-window fields and
// cboCommonWordsLanguages alone.
void SetDefaultValues(Settings& s);

// "Reinitialize" and start-up: every field except chkWriteRelativeFrequency, the filter
// mode and cboCommonWordsLanguages returns to its initial value (chkIncludeSubfolders goes
// off with the emptied folder). For each list whose history holds files, asks through host whether to clear
// it ("Do you wish to clear all ... files?", Yes/No) and empties it on Yes. A null host asks
// nothing and keeps the histories.
void Initialize(Settings& s, Host* host);

// Leaving the extra-characters box: drops spaces, reports the first prohibited character in an
// "Invalid character" box, drops letters, characters other check fields admit, prohibited
// characters and repeats. An empty result unchecks chkAllowWordsWithUserSpecifiedExtraChars.
void CleanUpUserSpecifiedExtraChars(Settings& s, Host& host);

}  // namespace talq
