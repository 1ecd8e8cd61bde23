// What follows a user's change of a settings-window field: the question before a change
// that makes the words kept from the last count stale, the checks that come after it,
// "Check all" / "Clear all", and the count-only box's tooltip that states the case rule.
// Windows call these after writing the new value into the record.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace talq {

struct Session;
struct Settings;

// True for the check fields whose change means the kept text must be read anew.
bool InvalidatesKeptText(std::string_view field);

// The user has just set check field `field` (the record holds the new value). Before
// start-up ends or while blnRestoring is set: nothing. With words kept from the last count,
// asks whether reading the source anew is OK; Yes clears blnWordsGot, No puts the field back.
// Then a character field runs CheckAllowedExtraChars unless checkExtraChars is false.
// "any of:" first trims its characters when checked and unchecks itself when there are none.
// Returns false when the field was put back (also when "any of:" unchecked itself).
bool CheckFieldClicked(Session& session, std::string_view field, bool checkExtraChars = true);

// The check fields "Check all checkboxes" and "Clear all checkboxes" set, in their order.
const std::vector<std::string>& CheckAllFields();

// "Check all checkboxes" (set) / "Clear all checkboxes": every field of CheckAllFields to 1
// or 0 ("any of:" to 1 only when it has characters), each change through CheckFieldClicked
// without the extra-character check. chkUseLog10 stays 1.
void SetOrClearCheckboxes(Session& session, bool set);

// The tooltip of txbWordsToIgnoreOrCount(1); its last sentence follows chkCaseSignificant.
std::string CountOnlyBoxToolTip(const Settings& s);

}  // namespace talq
