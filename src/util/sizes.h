// File-size texts shown in messages and in the file lines of reports.
#pragma once

#include <cstdint>
#include <string>

namespace talq {

// "0 bytes", "N bytes" below 1024, else Kb / Mb / Gb with `decimals` places, grouped.
std::string FormatByteSize(double value, int decimals);

// "N bytes" below 1024, else Kb or Mb (no Gb step) with two decimals; `unused` is ignored.
std::string FormatFileSizeKbMb(std::int64_t value, int unused = 2);

// FormatByteSize of the file's length; "" for an empty path or a file that does not exist.
std::string FileSizeText(const std::string& path, int decimals);

// FormatFileSizeKbMb of the file's length; "" for an empty path or a file that does not exist.
std::string FileSizeTextKbMb(const std::string& path);

}  // namespace talq
