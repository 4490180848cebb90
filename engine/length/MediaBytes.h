#pragma once
// The bytes a length scanner reads: a file read piece by piece, or a buffer in memory.

#include <cstdint>
#include <memory>
#include <span>
#include <string>

#include "playlist/formats/UniqueFd.h"

namespace lumivox {

class MediaBytes {
 public:
  virtual ~MediaBytes() = default;
  std::uint64_t size() const { return size_; }
  // Up to `count` bytes from `offset`: fewer near the end or after a read error. Valid
  // until the next call.
  virtual std::span<const unsigned char> View(std::uint64_t offset, std::size_t count) = 0;

 protected:
  std::uint64_t size_ = 0;
};

class MemoryBytes final : public MediaBytes {
 public:
  explicit MemoryBytes(std::span<const unsigned char> bytes) : bytes_(bytes) { size_ = bytes.size(); }
  std::span<const unsigned char> View(std::uint64_t offset, std::size_t count) override;

 private:
  std::span<const unsigned char> bytes_;
};

// Reads with pread into a buffer of its own rather than mapping the file: a file cut short
// while it is scanned gives short reads, not a SIGBUS.
class FileBytes final : public MediaBytes {
 public:
  // A regular file only: a FIFO or device is refused without waiting for a writer.
  bool Open(const std::string& path);
  std::span<const unsigned char> View(std::uint64_t offset, std::size_t count) override;

 private:
  std::size_t Fill(std::uint64_t offset, std::size_t count);

  UniqueFd fd_;
  std::unique_ptr<unsigned char[]> buffer_;
  std::size_t bufferSize_ = 0;
  std::uint64_t bufferStart_ = 0;
  std::size_t bufferFill_ = 0;
};

}  // namespace lumivox
