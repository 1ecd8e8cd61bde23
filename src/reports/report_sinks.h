// Report sinks: ListWords runs the listing into the output file and the text box; the text
// box helpers (OutputToTxb, ClearTextbox) and the common error report of the main window.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <string>
#include <string_view>

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
void EmitReportLine(ReportSession& s, std::string_view line, bool title);

// How the current pass's sink takes many entry lines at once, already in its own form:
// lines ending in CR LF (inner "\n" as CR LF) for the file, in "\n" for a text box without a
// capacity limit; None where each line needs EmitReportLine (formats #8 and #9, a limited box).
enum class BlockForm { None, FileLines, BoxLines };
BlockForm PassBlockForm(ReportSession& s);
// Appends line in that form to block. Touches nothing else: other threads may call it.
void AppendInBlockForm(BlockForm form, std::string_view line, std::string& block);
// Hands block, lines in PassBlockForm(s), to the current sink; the same as emitting them
// one by one.
void EmitReportBlock(ReportSession& s, std::string_view block);

// Writes one line (CR LF added, inner "\n" as CR LF) to the open output file.
void WriteOutputFileLine(ReportSession& s, std::string_view line);

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
