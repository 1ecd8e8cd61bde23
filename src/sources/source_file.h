// A file to be read, opened once: its descriptor and what one fstat said of it, shared by
// the classifier, the line reader and reading threads, closed with the last holder.
#pragma once

#include <sys/stat.h>

#include <cstdint>
#include <memory>
#include <string>

namespace talq {

class SourceFile {
 public:
  // Opens path read-only without blocking (a FIFO never waits for a writer) and stats the
  // descriptor. Never null; ok() tells whether it opened.
  static std::shared_ptr<SourceFile> Open(const std::string& path);
  ~SourceFile();
  SourceFile(const SourceFile&) = delete;
  SourceFile& operator=(const SourceFile&) = delete;

  bool ok() const { return fd_ >= 0 && statOk_; }
  int fd() const { return fd_; }
  // errno of the failed open (0 when it opened).
  int OpenError() const { return error_; }
  // What the fstat at the open said; valid only when ok().
  const struct stat& Status() const { return st_; }
  // The length the fstat gave, or -1 when the file is not ok().
  std::int64_t Length() const { return ok() ? static_cast<std::int64_t>(st_.st_size) : -1; }
  bool IsDirectory() const { return ok() && S_ISDIR(st_.st_mode); }
  // Reads up to n bytes from the start into out (by position: the descriptor is shared);
  // false on a read error.
  bool ReadStart(std::size_t n, std::string& out) const;

 private:
  SourceFile() = default;
  int fd_ = -1;
  int error_ = 0;
  bool statOk_ = false;
  struct stat st_{};
};

// How many files a folder run may hold open between its counting and reading passes:
// half of what the process may open, so that lists, output and threads keep room.
std::size_t DescriptorsToKeep();

}  // namespace talq
