// Counting on every core: the files of a folder run read ahead on worker threads, and a
// large file cut at line starts into stretches cut into words side by side; the words of each
// are counted into the session's table in reading order, so the result is that of a
// one-thread run.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "sources/file_reader.h"

namespace talq {

struct SourceSession;

// Threads a run uses: intJobs when set, else one per core (at least 1).
int JobsFor(const SourceSession& s);

class ParallelReader : public ParallelReading {
 public:
  // jobs: worker threads (at least 2 for any effect).
  explicit ParallelReader(int jobs);
  ~ParallelReader() override;

  // A file the counting pass of a folder run (s) accepted, in scan order, with the verdict,
  // encoding and length it found: worker threads begin reading it at once (from file when
  // the counting pass kept it open), and the reading pass takes what they counted without
  // classifying the file again.
  void Plan(const SourceSession& s, const std::string& path, int verdict, TextEncoding encoding,
            int bomLength, std::int64_t length, std::shared_ptr<SourceFile> file = nullptr);

  bool ReadFile(SourceSession& s, const FileToRead& f) override;

 private:
  struct FolderWork;
  bool ReadChunked(SourceSession& s, const FileToRead& f);
  bool ReadPlanned(SourceSession& s, const FileToRead& f);

  struct Planned {
    std::string path;
    int verdict;
    TextEncoding encoding;
    int bomLength;
    std::int64_t length;
    std::shared_ptr<SourceFile> file;
  };
  int jobs_;
  std::vector<Planned> plan_;
  std::size_t nextPlanned_ = 0;
  std::unique_ptr<FolderWork> folder_;
};

// Whether nothing carries from one line to the next while s counts text of this kind, so
// that its lines may be counted in any grouping: no comment or mark-up state, no phrase
// window, no count-only list (whose messages must keep their place), no list being read.
bool LinesIndependent(const SourceSession& s, bool html);

}  // namespace talq
