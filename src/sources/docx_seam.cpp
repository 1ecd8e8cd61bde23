// .docx seam: no extraction yet.
#include "sources/docx_seam.h"

namespace talq {

bool DocxSupported() { return false; }
int DocxPreCheck(Session&, const std::string&) { return -5; }
void DocxCleanUp(Session&) {}

}  // namespace talq
