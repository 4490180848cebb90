#include "engine/length/MediaBytes.h"

#include <unistd.h>

#include <algorithm>
#include <cerrno>

namespace lumivox {
namespace {

// Big enough that a walk over frame headers makes few system calls.
constexpr std::size_t kReadChunk = 256 * 1024;

}  // namespace

std::span<const unsigned char> MemoryBytes::View(std::uint64_t offset, std::size_t count) {
  if (offset >= bytes_.size()) return {};
  return bytes_.subspan(offset, std::min<std::uint64_t>(count, bytes_.size() - offset));
}

bool FileBytes::Open(const std::string& path) {
  fd_ = OpenRegularFile(path, size_);
  bufferFill_ = 0;
  return static_cast<bool>(fd_);
}

std::span<const unsigned char> FileBytes::View(std::uint64_t offset, std::size_t count) {
  if (offset >= size_) return {};
  count = static_cast<std::size_t>(std::min<std::uint64_t>(count, size_ - offset));
  const bool buffered = offset >= bufferStart_ && offset - bufferStart_ + count <= bufferFill_;
  if (!buffered) {
    bufferStart_ = offset;
    bufferFill_ =
        Fill(offset, static_cast<std::size_t>(std::min<std::uint64_t>(std::max(count, kReadChunk), size_ - offset)));
  }
  const std::size_t at = static_cast<std::size_t>(offset - bufferStart_);
  return std::span<const unsigned char>(buffer_.get() + at, std::min(count, bufferFill_ - at));
}

std::size_t FileBytes::Fill(std::uint64_t offset, std::size_t count) {
  if (bufferSize_ < count) {
    buffer_ = std::make_unique_for_overwrite<unsigned char[]>(count);
    bufferSize_ = count;
  }
  std::size_t filled = 0;
  while (filled < count) {
    const ssize_t got = ::pread(fd_.get(), buffer_.get() + filled, count - filled, static_cast<off_t>(offset + filled));
    if (got > 0) {
      filled += static_cast<std::size_t>(got);
    } else if (got == 0 || errno != EINTR) {
      break;
    }
  }
  return filled;
}

}  // namespace lumivox
