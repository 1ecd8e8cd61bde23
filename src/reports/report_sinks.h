// Report sinks: ListWords runs the listing into the output file and the text box; the text
// box helpers (OutputToTxb, ClearTextbox) and the common error report of the main window.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <string>

namespace talq {

struct ReportSession;

// Lists the current table: first into the output file (when named and not disabled, after
// the overwrite prompt and the folder check), then into the text box. Reports stops,
// file errors and a text box that cannot hold the listing.
void ListWords(ReportSession& s);

// The call that writes the output file's bytes; fwrite unless replaced.
using OutputFileWriter = std::size_t (*)(const void*, std::size_t, std::size_t, std::FILE*);
// Replaces the writer (nullptr: fwrite again). Tests inject a failing disk through it.
void SetOutputFileWriter(OutputFileWriter writer);
// Hands one formatted line of a pass to the current sink; title marks the title line.
void EmitReportLine(ReportSession& s, const std::string& line, bool title);

// Writes one line (CR LF added, inner "\n" as CR LF) to the open output file.
void WriteOutputFileLine(ReportSession& s, const std::string& line);

// Appends a message to the text box; ends with "Textbox is full." (once) when a
// capacity-limited text box stops growing. Adds nothing while the box is full.
void OutputToTxb(ReportSession& s, const std::string& message);

// Empties the text box and clears the full-flag.
void ClearTextbox(ReportSession& s);

// Shows the main window's error report; number -7 means the text box cannot hold the
// report (the text box is then cut back and marked full).
void ReportError(ReportSession& s, int number, const std::string& description,
                 const std::string& procedure);

// "12 files in 3 folders" (no digit grouping; singular for exactly one).
std::string FilesInFoldersText(std::int64_t files, std::int64_t folders);

}  // namespace talq
