// A file that exists but cannot be opened for reading, even by root.
#pragma once

#include <string>

namespace talq::test {

// Makes path such a file: mode 000 for an ordinary user; for root, whom modes do not stop, a
// symbolic link to a kernel setting that is write-only for everyone. False when neither works
// here (the caller skips).
bool MakeUnreadableFile(const std::string& path);

}  // namespace talq::test
