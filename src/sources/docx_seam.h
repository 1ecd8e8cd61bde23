// Where .docx documents join the per-file reader. Until their text can be extracted,
// DocxSupported() is false and a .docx file is classified like any other file.
#pragma once

#include <string>

namespace talq {

struct Session;

// Whether .docx text extraction is available.
bool DocxSupported();
// Extracts the document's text into a temporary folder and measures it. Positive: go on;
// 0: stop the run; negative: refused after its message.
int DocxPreCheck(Session& s, const std::string& path);
// Removes the temporary folder of the current document.
void DocxCleanUp(Session& s);

}  // namespace talq
