#include "support/unreadable_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <fstream>

namespace talq::test {

bool MakeUnreadableFile(const std::string& path) {
  if (::geteuid() == 0) {
    if (::symlink("/proc/sys/vm/drop_caches", path.c_str()) != 0) return false;
  } else {
    std::ofstream(path) << "text\n";
    if (::chmod(path.c_str(), 0) != 0) return false;
  }
  const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK);
  if (fd < 0) return true;
  ::close(fd);
  return false;
}

}  // namespace talq::test
