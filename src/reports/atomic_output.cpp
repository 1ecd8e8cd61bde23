// Output files written beside their target and renamed into place.
#include "reports/atomic_output.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <filesystem>

namespace talq {

int OpenPendingOutput(const std::string& path, PendingOutput& out, std::FILE*& file) {
  std::error_code ec;
  out.target = path;
  out.temp.clear();
  if (std::filesystem::is_symlink(path, ec)) {
    auto real = std::filesystem::weakly_canonical(path, ec);
    if (!ec) out.target = real.string();
  }
  mode_t mode = 0666;
  struct stat st {};
  if (::stat(out.target.c_str(), &st) == 0) {
    if (S_ISDIR(st.st_mode)) return EISDIR;
    if (!S_ISREG(st.st_mode)) {  // a device or pipe (/dev/stdout) is written as it is
      errno = 0;
      file = std::fopen(path.c_str(), "wb");
      return file ? 0 : (errno ? errno : EIO);
    }
    const int probe = ::open(out.target.c_str(), O_WRONLY | O_CLOEXEC | O_NOCTTY | O_NONBLOCK);
    if (probe < 0) return errno ? errno : EACCES;
    ::close(probe);
    mode = st.st_mode & 07777;
  } else {
    const mode_t mask = ::umask(0);
    ::umask(mask);
    mode &= ~mask;
  }
  std::string name = out.target + ".talq-XXXXXX";
  const int fd = ::mkstemp(name.data());
  if (fd < 0) return errno ? errno : EIO;
  out.temp = name;
  if (::fchmod(fd, mode) != 0 || (file = ::fdopen(fd, "wb")) == nullptr) {
    const int err = errno ? errno : EIO;
    ::close(fd);
    ::unlink(out.temp.c_str());
    out.temp.clear();
    return err;
  }
  return 0;
}

int ClosePendingOutput(PendingOutput& out, std::FILE* file, int err) {
  errno = 0;
  if (out.temp.empty()) {
    if (std::fclose(file) != 0 && !err) err = errno ? errno : EIO;
    return err;
  }
  if (!err && std::fflush(file) != 0) err = errno ? errno : EIO;
  if (!err && ::fsync(::fileno(file)) != 0 && errno != EINVAL) err = errno ? errno : EIO;
  errno = 0;
  if (std::fclose(file) != 0 && !err) err = errno ? errno : EIO;
  return FinishPendingOutput(out, err);
}

int FinishPendingOutput(PendingOutput& out, int err) {
  if (out.temp.empty()) return err;
  errno = 0;
  if (!err && std::rename(out.temp.c_str(), out.target.c_str()) != 0) err = errno ? errno : EIO;
  if (err) ::unlink(out.temp.c_str());
  out.temp.clear();
  return err;
}

}  // namespace talq
