// Reactions of the report to the display controls (format, order, relative frequency,
// sort by number of files): enabling the check boxes and relisting the current table.
#pragma once

namespace talq {

struct ReportSession;

// Enables the relative-frequency box for the formats that show a frequency, and the
// number-of-files box only for format #13 in frequency order with a folder source
// (unchecking it when disabled). The window reads the result from s.reports.
void UpdateDisplayOptionControls(ReportSession& s);

// After start-up and unless the format is being set by code: relists the current table
// when the format may be used and a table exists.
void RelistIfReady(ReportSession& s);

// True when the selected format may be used with the selected source; otherwise tells
// the user, selects format #0 and returns false.
bool CheckDisplayFormatAvailable(ReportSession& s);

}  // namespace talq
