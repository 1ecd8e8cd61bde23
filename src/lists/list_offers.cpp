#include "lists/list_offers.h"

#include <string>

#include "lists/list_history.h"
#include "lists/word_lists.h"
#include "settings/defaults.h"
#include "sources/source_session.h"
#include "util/program_texts.h"

namespace talq {

bool OfferSelectedListFiles(SourceSession& session) {
  Settings& s = session.settings;
  bool allLoaded = true;
  for (int index : {kWordsToIgnore, kCountOnly}) {
    const std::string path = s.cboWordsFile[index].Selected();
    if (path.empty()) continue;
    const std::string text = std::string("Do you wish to load the ") +
                             (index == kWordsToIgnore ? "words-to-ignore" : "count-only words") +
                             " file\n" + path + " ?";
    if (session.host.MsgBox(text, "Load file?", MsgIcon::Question, MsgButtons::YesNo,
                            MsgAnswer::Yes) == MsgAnswer::Yes) {
      if (!AttemptToReadWords(session, index)) allLoaded = false;
    } else {
      s.cboWordsFile[index].index = -1;
      if (index == kWordsToIgnore) s.cboCommonWordsLanguages = kNoLanguage;
    }
  }
  return allLoaded;
}

bool OfferEnglishCommonWords(SourceSession& session) {
  Settings& s = session.settings;
  if (!s.cboWordsFile[kWordsToIgnore].items.empty()) return false;
  if (session.host.MsgBox(ProgramText(41) + ProgramText(42), kProgramTitle, MsgIcon::Question,
                          MsgButtons::YesNo, MsgAnswer::Yes) != MsgAnswer::Yes) {
    s.cboCommonWordsLanguages = kNoLanguage;
    return false;
  }
  SetPathToCWDs_Eng(session);
  return AttemptToReadWords(session, kWordsToIgnore);
}

}  // namespace talq
