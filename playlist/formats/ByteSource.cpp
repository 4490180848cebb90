#include "playlist/formats/ByteSource.h"

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
  std::uint64_t size = 0;
  fd_ = OpenRegularFile(path, size);
  return static_cast<bool>(fd_);
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
