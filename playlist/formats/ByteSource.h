#pragma once
// Where the readers' bytes come from: a list file or a buffer in memory.

#include <cstddef>
#include <string>
#include <string_view>

#include "playlist/formats/UniqueFd.h"

namespace lumivox {

class ByteSource {
 public:
  virtual ~ByteSource() = default;
  // Fills up to `size` bytes of `buffer`: the count read, 0 at the end, -1 on an error.
  virtual std::ptrdiff_t Read(char* buffer, std::size_t size) = 0;
};

class MemorySource final : public ByteSource {
 public:
  explicit MemorySource(std::string_view bytes) : rest_(bytes) {}
  std::ptrdiff_t Read(char* buffer, std::size_t size) override;

 private:
  std::string_view rest_;
};

class FileSource final : public ByteSource {
 public:
  // Opens a regular file only: a folder, FIFO or device named like a list is refused at
  // once, and opening never waits for a writer.
  bool Open(const std::string& path);
  std::ptrdiff_t Read(char* buffer, std::size_t size) override;

 private:
  UniqueFd fd_;
};

}  // namespace lumivox
