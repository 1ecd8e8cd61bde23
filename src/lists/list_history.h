// The file history of each word list (cboWordsFile(index), at most 99 paths), the
// common-word files and the operations of the settings window on both.
#pragma once

#include <string>
#include <string_view>

namespace talq {

struct SourceSession;

inline constexpr int kMaxListFiles = 99;       // paths a history may hold
inline constexpr int kNoLanguage = 7;          // cboCommonWordsLanguages: "[No language selected]"

// Adds path to the history of list index unless present, and selects it. Returns its
// position (0-based); added tells whether it was new. No limit check (see AddListFile).
int AddFileToHistory(SourceSession& session, int index, const std::string& path, bool& added);

// Removes the selected entry of the history; nothing is selected afterwards.
void RemoveSelectedFile(SourceSession& session, int index);

// "Remove this file from the list": RemoveSelectedFile and no loaded entries.
void RemoveListFile(SourceSession& session, int index);

// The load-or-remove dialog's title and options, as Host::Choose gets them: 0 load, 1 remove
// from the list, 2 (or -1, the window closed) cancel.
inline constexpr const char* kLoadOrRemoveTitle = "Load or remove this file";
inline constexpr int kLoadThisFile = 0;
inline constexpr int kRemoveThisFile = 1;
inline constexpr int kCancelLoadOrRemove = 2;

// The user chose entry `entry` of the history of list index: selects it and asks through
// Host::Choose (prompt: the path) whether to load it, remove it from the history or cancel;
// Cancel selects the loaded file's entry again (or nothing). True when a file was loaded.
bool ChooseHistoryFile(SourceSession& session, int index, int entry);

// Asks, then empties the history of list index. True when it was emptied.
bool ClearHistory(SourceSession& session, int index);

// The "add file" button: the count-only question (words to ignore), the 99-file limit, the
// open-file dialog, the history and the load. True when a file was loaded.
bool AddListFile(SourceSession& session, int index);

// Appends the English common-word file of the data folder to the words-to-ignore history
// and selects it.
void SetPathToCWDs_Eng(SourceSession& session);

// 0-6 when the name part of path is one of the common-word file names, else 7.
int LanguageOfCommonWordsFile(const std::string& path);

// cboCommonWordsLanguages from the selected words-to-ignore file.
void SyncCommonWordsLanguage(SourceSession& session);

// Choosing language (0-7) in cboCommonWordsLanguages, with its question and messages.
void ChooseCommonWordsLanguage(SourceSession& session, int language);

// Loads the common-word file of "en", "de", "es", "pt", "it", "fr" or "all" as the
// words-to-ignore list, without a question. False after a message (or for another code).
bool SelectCommonWords(SourceSession& session, const std::string& language);
// The common-word file of "en", "de", "es", "pt", "it", "fr" or "all"; "" for another code.
std::string CommonWordsPathForCode(std::string_view language);

// The "List" button: the count-only entries, or a message when there are none.
void ListButton(SourceSession& session);

}  // namespace talq
