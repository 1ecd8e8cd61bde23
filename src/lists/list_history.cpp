#include "lists/list_history.h"

#include <algorithm>
#include <array>
#include <filesystem>

#include "lists/word_lists.h"
#include "sources/source_session.h"
#include "util/paths.h"
#include "util/program_texts.h"

namespace talq {

namespace {

std::string CommonWordsPath(int language) {
  return (std::filesystem::path(DataDir()) / CommonWordFileName(language)).string();
}

// Loads the common-word file of language as the words to ignore; false after a message.
bool LoadCommonWords(SourceSession& session, int language) {
  const std::string path = CommonWordsPath(language);
  if (!FileExists(path)) {
    session.host.MsgBox(path + " not found.", "Error", MsgIcon::Exclamation);
    SyncCommonWordsLanguage(session);
    return false;
  }
  return LoadListFile(session, kWordsToIgnore, path);
}

}  // namespace

int AddFileToHistory(SourceSession& session, int index, const std::string& path, bool& added) {
  FileHistory& h = session.settings.cboWordsFile[index];
  const auto it = std::find(h.items.begin(), h.items.end(), path);
  added = it == h.items.end();
  if (added) h.items.push_back(path);
  h.index = static_cast<int>(added ? h.items.size() - 1 : it - h.items.begin());
  return h.index;
}

void RemoveSelectedFile(SourceSession& session, int index) {
  FileHistory& h = session.settings.cboWordsFile[index];
  if (h.index >= 0 && h.index < static_cast<int>(h.items.size())) {
    h.items.erase(h.items.begin() + h.index);
  }
  h.index = -1;
}

void RemoveListFile(SourceSession& session, int index) {
  RemoveSelectedFile(session, index);
  session.lists.Loaded(index).assign(1, std::string());
  session.lists.LoadedCount(index) = 0;
  session.lists.strLoadedFile[index].clear();
  if (index == kWordsToIgnore) SyncCommonWordsLanguage(session);
  SetThereAreListFlags(session);
}

bool ChooseHistoryFile(SourceSession& session, int index, int entry) {
  FileHistory& h = session.settings.cboWordsFile[index];
  if (entry < 0 || entry >= static_cast<int>(h.items.size())) return false;
  h.index = entry;
  const int choice = session.host.Choose(
      h.items[static_cast<std::size_t>(entry)], kLoadOrRemoveTitle,
      {"Load this file", "Remove this file from the list", "Cancel"}, kCancelLoadOrRemove);
  if (choice == kLoadThisFile) return AttemptToReadWords(session, index);
  if (choice == kRemoveThisFile) {
    RemoveListFile(session, index);
    return false;
  }
  const std::string& loaded = session.lists.strLoadedFile[index];
  const auto it = std::find(h.items.begin(), h.items.end(), loaded);
  h.index = loaded.empty() || it == h.items.end() ? -1 : static_cast<int>(it - h.items.begin());
  if (index == kWordsToIgnore) SyncCommonWordsLanguage(session);
  return false;
}

bool ClearHistory(SourceSession& session, int index) {
  FileHistory& h = session.settings.cboWordsFile[index];
  if (h.items.empty()) return false;
  const MsgAnswer answer = session.host.MsgBox(
      "Do you wish to remove ALL files from this list?",
      index == kWordsToIgnore ? "Clear words-to-ignore files" : "Clear count-only words/phrases files",
      MsgIcon::Question, MsgButtons::YesNoCancel, MsgAnswer::Yes);
  if (answer != MsgAnswer::Yes) return false;
  h.items.clear();
  h.index = -1;
  session.lists.Loaded(index).assign(1, std::string());
  session.lists.LoadedCount(index) = 0;
  session.lists.strLoadedFile[index].clear();
  if (index == kWordsToIgnore) session.settings.cboCommonWordsLanguages = kNoLanguage;
  SetThereAreListFlags(session);
  return true;
}

bool AddListFile(SourceSession& session, int index) {
  Settings& s = session.settings;
  Host& host = session.host;
  if (index == kWordsToIgnore &&
      (!s.cboWordsFile[kCountOnly].Selected().empty() || !s.txbWordsToIgnoreOrCount[kCountOnly].empty())) {
    const MsgAnswer answer = host.MsgBox(
        "Since there are count-only words (that is,\nonly specified words are to be counted),\n"
        "specifying words to be ignored will have no effect.\n"
        "Do you still wish to specify words to be ignored?",
        "Proceed?", MsgIcon::Question, MsgButtons::YesNo, MsgAnswer::Yes);
    if (answer != MsgAnswer::Yes) return false;
  }
  if (static_cast<int>(s.cboWordsFile[index].items.size()) >= kMaxListFiles) {
    host.MsgBox("No more files may be added to this list.",
                index == kWordsToIgnore ? "Words-to-ignore files (99)"
                                        : "Count-only words/phrases files (99)",
                MsgIcon::Exclamation);
    return false;
  }
  const auto path = host.ChooseOpenFile(index == kWordsToIgnore
                                            ? "Specify a file containing words to ignore"
                                            : "Specify a file containing count-only words/phrases",
                                        "Any text file (*.*) | *.*", "");
  if (!path || path->empty()) return false;
  bool added = false;
  AddFileToHistory(session, index, *path, added);
  if (!added) {
    host.MsgBox(*path + "\nis already in this list. If the file has changed\n"
                        "select it from the drop-down list and reload it.",
                "Already present", MsgIcon::Information);
    return false;
  }
  if (AttemptToReadWords(session, index)) return true;
  if (s.cboWordsFile[index].Selected() == *path) RemoveSelectedFile(session, index);
  if (index == kWordsToIgnore) SyncCommonWordsLanguage(session);
  return false;
}

void SetPathToCWDs_Eng(SourceSession& session) {
  bool added = false;
  AddFileToHistory(session, kWordsToIgnore, CommonWordsPath(0), added);
}

int LanguageOfCommonWordsFile(const std::string& path) {
  const std::string name = std::filesystem::path(path).filename().string();
  for (int i = 0; i < kNumLanguages; ++i) {
    if (name == kCommonWordFiles[i]) return i;
  }
  return kNoLanguage;
}

void SyncCommonWordsLanguage(SourceSession& session) {
  session.settings.cboCommonWordsLanguages =
      LanguageOfCommonWordsFile(session.settings.cboWordsFile[kWordsToIgnore].Selected());
}

void ChooseCommonWordsLanguage(SourceSession& session, int language) {
  Settings& s = session.settings;
  if (!s.blnStartUpCompleted) return;
  if (language < 0 || language >= kNoLanguage) {
    s.cboWordsFile[kWordsToIgnore].index = -1;
    s.cboCommonWordsLanguages = kNoLanguage;
    // Without a selected file no words of one may still be ignored.
    session.lists.Loaded(kWordsToIgnore).assign(1, std::string());
    session.lists.LoadedCount(kWordsToIgnore) = 0;
    session.lists.strLoadedFile[kWordsToIgnore].clear();
    session.settings.blnWordsGot = false;
    SetThereAreListFlags(session);
    return;
  }
  if (language == LanguageOfCommonWordsFile(s.cboWordsFile[kWordsToIgnore].Selected())) return;
  const MsgAnswer answer =
      session.host.MsgBox("Load common words file for " + LanguageName(language) + "?",
                          "Load common words file", MsgIcon::Question, MsgButtons::YesNo,
                          MsgAnswer::Yes);
  if (answer != MsgAnswer::Yes) {
    SyncCommonWordsLanguage(session);
    return;
  }
  LoadCommonWords(session, language);
}

namespace {
constexpr std::array<const char*, kNumLanguages> kLanguageCodes = {"en", "de", "es", "pt",
                                                                   "it", "fr", "all"};
int LanguageOfCode(std::string_view language) {
  for (int i = 0; i < kNumLanguages; ++i)
    if (language == kLanguageCodes[i]) return i;
  return -1;
}
}  // namespace

std::string CommonWordsPathForCode(std::string_view language) {
  const int i = LanguageOfCode(language);
  return i < 0 ? std::string() : CommonWordsPath(i);
}

bool SelectCommonWords(SourceSession& session, const std::string& language) {
  const int i = LanguageOfCode(language);
  return i >= 0 && LoadCommonWords(session, i);
}

void ListButton(SourceSession& session) {
  if (session.settings.cboWordsFile[kCountOnly].Selected().empty() &&
      session.lists.lngNumCountOnlyWords == 0) {
    session.host.MsgBox("There are no count-only words/phrases.", "List", MsgIcon::Exclamation);
    return;
  }
  ListCountOnlyWords(session);
}

}  // namespace talq
