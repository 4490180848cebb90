#include "playlist/formats/ByteSource.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>

namespace lumivox {

std::ptrdiff_t MemorySource::Read(char* buffer, std::size_t size) {
  const std::size_t count = std::min(size, rest_.size());
  std::memcpy(buffer, rest_.data(), count);
  rest_.remove_prefix(count);
  return static_cast<std::ptrdiff_t>(count);
}

bool FileSource::Open(const std::string& path) {
  UniqueFd fd(::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY));
  if (!fd) return false;
  struct stat info;
  if (::fstat(fd.get(), &info) != 0 || !S_ISREG(info.st_mode)) return false;
  fd_ = std::move(fd);
  return true;
}

std::ptrdiff_t FileSource::Read(char* buffer, std::size_t size) {
  if (!fd_) return -1;
  for (;;) {
    const ssize_t count = ::read(fd_.get(), buffer, size);
    if (count >= 0) return count;
    if (errno != EINTR) return -1;
  }
}

}  // namespace lumivox
