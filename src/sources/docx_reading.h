// How the per-file reader reads a .docx document: the pre-check with its messages, and the
// conversion into a text file, with the stop question and progress of a counting run.
#pragma once

#include <cstdint>
#include <string>

#include "sources/docx.h"

namespace talq {

struct SourceSession;
class SourceFile;

// Extracts the document into docx and measures it. Returns the XML length (0 or more) or
// a DocxCode after its message ("Unable to create temporary folder.", "File too big",
// "Unable to process file"; nothing for a declined big file). file, when given, is path
// already open.
std::int64_t DocxPreCheck(SourceSession& s, const std::string& path, DocxExtraction& docx,
                          const SourceFile* file = nullptr);

// Converts the extracted XML into a text file named like the document with the extension
// "txt" in the temporary folder, and copies it into "extracted_text/" beside the document
// when chkExtractTextFromDocx is set. Returns the text file's path, or "" after an error
// message (run.blnStop then set).
std::string DocxToTextFile(SourceSession& s, const std::string& path, DocxExtraction& docx);

}  // namespace talq
