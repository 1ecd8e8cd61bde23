// The words-vs-files table as a workbook: a worksheet per table ("Alphabetical", "By
// frequency") and one listing the files ("Files"); words are always text cells.
#pragma once

#include <functional>
#include <string>

#include "reports/words_files_table.h"

namespace talq {

// Writes the workbook at path (replaced). Each table sheet holds the preamble, a bold header
// row frozen with the word column, the rows and the bold totals row; counts and totals are
// numbers, relative cells fractions shown as whole percentages. onFrequencyTable runs
// before the frequency table is written. Returns no text, or why it failed.
TableWriteError WriteTableWorkbook(const std::string& path, const WordsFilesTable& table,
                                   const TableOptions& options,
                                   const std::function<void()>& onFrequencyTable = {});

}  // namespace talq
