#include "sources/source_file.h"

#include <fcntl.h>
#include <sys/resource.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>

namespace talq {

std::shared_ptr<SourceFile> SourceFile::Open(const std::string& path) {
  std::shared_ptr<SourceFile> f(new SourceFile);
  f->fd_ = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
  if (f->fd_ < 0) {
    f->error_ = errno;
    return f;
  }
  f->statOk_ = ::fstat(f->fd_, &f->st_) == 0;
  return f;
}

SourceFile::~SourceFile() {
  if (fd_ >= 0) ::close(fd_);
}

bool SourceFile::ReadStart(std::size_t n, std::string& out) const {
  // Room for what the stat length promises (and a byte to see growth), not for n: callers
  // ask for a megabyte of files that mostly hold a few kilobytes.
  const std::int64_t length = Length();
  std::size_t room = length > 0 ? std::min<std::size_t>(n, std::size_t(length) + 1) : n;
  out.resize(room);
  std::size_t got = 0;
  while (got < n) {
    if (got == room) {
      room = std::min(n, room * 2);
      out.resize(room);
    }
    const ssize_t r = ::pread(fd_, out.data() + got, room - got, static_cast<off_t>(got));
    if (r < 0) {
      if (errno == EINTR) continue;
      return false;
    }
    if (r == 0) break;
    got += static_cast<std::size_t>(r);
  }
  out.resize(got);
  return true;
}

std::size_t DescriptorsToKeep() {
  static const std::size_t keep = [] {
    rlimit limit{};
    if (::getrlimit(RLIMIT_NOFILE, &limit) != 0 || limit.rlim_cur == RLIM_INFINITY)
      return std::size_t{512};
    return std::size_t(std::min<rlim_t>(limit.rlim_cur, 65536) / 2);
  }();
  return keep;
}

}  // namespace talq
