#pragma once
// The LumivaultHD output: a V4L2 video-output node, or any writable file or fifo that takes
// raw I420 frames back to back.

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <utility>

namespace halcyon {

class UniqueFd {
 public:
  explicit UniqueFd(int fd = -1) : fd_(fd) {}
  ~UniqueFd();
  UniqueFd(UniqueFd&& other) noexcept : fd_(other.release()) {}
  UniqueFd& operator=(UniqueFd&& other) noexcept;
  UniqueFd(const UniqueFd&) = delete;
  UniqueFd& operator=(const UniqueFd&) = delete;

  int get() const { return fd_; }
  int release() {
    const int fd = fd_;
    fd_ = -1;
    return fd;
  }

 private:
  int fd_;
};

class LumivaultDevice {
 public:
  // The node LUMIVOX_LUMIVAULT_DEVICE names, else the first /dev/video* output whose card
  // name holds "LumivaultHD". On failure `error` says why.
  static std::optional<LumivaultDevice> Find(std::string& error);
  // An existing file, fifo or device node; a regular file is emptied, never created.
  static std::optional<LumivaultDevice> Open(const std::string& path, std::string& error);

  const std::string& path() const { return path_; }
  // Tells a V4L2 node the frame size; plain files take whatever comes.
  bool Configure(unsigned width, unsigned height, std::string& error);
  bool Write(const std::uint8_t* data, std::size_t size, std::string& error);

 private:
  LumivaultDevice(UniqueFd fd, std::string path, bool v4l2) : fd_(std::move(fd)), path_(std::move(path)), v4l2_(v4l2) {}

  UniqueFd fd_;
  std::string path_;
  bool v4l2_;
};

}  // namespace halcyon
