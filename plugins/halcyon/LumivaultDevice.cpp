#include "LumivaultDevice.h"

#include <fcntl.h>
#include <linux/videodev2.h>
#include <signal.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <system_error>
#include <vector>

namespace halcyon {

namespace {

constexpr char kDeviceVariable[] = "LUMIVOX_LUMIVAULT_DEVICE";
constexpr char kCardName[] = "LumivaultHD";

std::string SystemMessage(int error) { return std::generic_category().message(error); }

int RetryIoctl(int fd, unsigned long request, void* arg) {
  int result;
  do {
    result = ioctl(fd, request, arg);
  } while (result < 0 && errno == EINTR);
  return result;
}

std::optional<v4l2_capability> QueryCapability(int fd) {
  v4l2_capability capability{};
  if (RetryIoctl(fd, VIDIOC_QUERYCAP, &capability) < 0) return std::nullopt;
  return capability;
}

bool HasVideoOutput(const v4l2_capability& capability) {
  const std::uint32_t caps =
      (capability.capabilities & V4L2_CAP_DEVICE_CAPS) ? capability.device_caps : capability.capabilities;
  return caps & V4L2_CAP_VIDEO_OUTPUT;
}

bool IsLumivaultNode(const std::string& path) {
  const UniqueFd fd(open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC));
  if (fd.get() < 0) return false;
  const auto capability = QueryCapability(fd.get());
  if (!capability || !HasVideoOutput(*capability)) return false;
  const auto* card = reinterpret_cast<const char*>(capability->card);
  return std::string(card, strnlen(card, sizeof capability->card)).find(kCardName) != std::string::npos;
}

std::vector<std::string> VideoNodes() {
  std::vector<std::string> nodes;
  std::error_code ec;
  for (const auto& entry : std::filesystem::directory_iterator("/dev", ec)) {
    if (entry.path().filename().string().starts_with("video")) nodes.push_back(entry.path());
  }
  std::sort(nodes.begin(), nodes.end());
  return nodes;
}

bool MakeBlocking(int fd) {
  const int flags = fcntl(fd, F_GETFL);
  return flags >= 0 && fcntl(fd, F_SETFL, flags & ~O_NONBLOCK) == 0;
}

// A fifo whose reader went away raises SIGPIPE, which would end the whole player. Hold it
// back on this thread and take it off again, so the write merely fails with EPIPE.
class SigpipeGuard {
 public:
  SigpipeGuard() {
    sigemptyset(&pipe_);
    sigaddset(&pipe_, SIGPIPE);
    sigset_t pending;
    sigpending(&pending);
    was_pending_ = sigismember(&pending, SIGPIPE) == 1;
    pthread_sigmask(SIG_BLOCK, &pipe_, &saved_);
  }
  ~SigpipeGuard() {
    if (!was_pending_) {
      const timespec no_wait{};
      sigtimedwait(&pipe_, nullptr, &no_wait);
    }
    pthread_sigmask(SIG_SETMASK, &saved_, nullptr);
  }
  SigpipeGuard(const SigpipeGuard&) = delete;
  SigpipeGuard& operator=(const SigpipeGuard&) = delete;

 private:
  sigset_t pipe_;
  sigset_t saved_;
  bool was_pending_ = false;
};

}  // namespace

UniqueFd::~UniqueFd() {
  if (fd_ >= 0) close(fd_);
}

UniqueFd& UniqueFd::operator=(UniqueFd&& other) noexcept {
  if (this != &other) {
    if (fd_ >= 0) close(fd_);
    fd_ = other.release();
  }
  return *this;
}

std::optional<LumivaultDevice> LumivaultDevice::Find(std::string& error) {
  const char* named = std::getenv(kDeviceVariable);
  if (named && *named) return Open(named, error);
  error = "No LumivaultHD video output device found (LUMIVOX_LUMIVAULT_DEVICE names none).";
  for (const std::string& node : VideoNodes()) {
    if (!IsLumivaultNode(node)) continue;
    if (auto device = Open(node, error)) return device;
  }
  return std::nullopt;
}

std::optional<LumivaultDevice> LumivaultDevice::Open(const std::string& path, std::string& error) {
  // Non-blocking, so a fifo without a reader fails at once instead of hanging the state change.
  UniqueFd fd(open(path.c_str(), O_WRONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC));
  if (fd.get() < 0) {
    const int err = errno;
    error = "Cannot open " + path + " for writing: " + SystemMessage(err) + ".";
    return std::nullopt;
  }
  struct stat status {};
  if (fstat(fd.get(), &status) != 0) {
    const int err = errno;
    error = "Cannot examine " + path + ": " + SystemMessage(err) + ".";
    return std::nullopt;
  }
  bool v4l2 = false;
  if (S_ISREG(status.st_mode) && ftruncate(fd.get(), 0) != 0) {
    const int err = errno;
    error = "Cannot empty " + path + ": " + SystemMessage(err) + ".";
    return std::nullopt;
  }
  if (S_ISCHR(status.st_mode)) {
    // A character device that is no V4L2 node at all (/dev/null) just takes the bytes.
    if (const auto capability = QueryCapability(fd.get())) {
      if (!HasVideoOutput(*capability)) {
        error = path + " is a video device without video output.";
        return std::nullopt;
      }
      v4l2 = true;
    }
  }
  if (!MakeBlocking(fd.get())) {
    const int err = errno;
    error = "Cannot set up " + path + ": " + SystemMessage(err) + ".";
    return std::nullopt;
  }
  return LumivaultDevice(std::move(fd), path, v4l2);
}

bool LumivaultDevice::Configure(unsigned width, unsigned height, std::string& error) {
  if (!v4l2_) return true;
  v4l2_format format{};
  format.type = V4L2_BUF_TYPE_VIDEO_OUTPUT;
  format.fmt.pix.width = width;
  format.fmt.pix.height = height;
  format.fmt.pix.pixelformat = V4L2_PIX_FMT_YUV420;
  format.fmt.pix.field = V4L2_FIELD_NONE;
  format.fmt.pix.bytesperline = width;
  if (RetryIoctl(fd_.get(), VIDIOC_S_FMT, &format) < 0) {
    const int err = errno;
    error = path_ + " refuses the frame format: " + SystemMessage(err) + ".";
    return false;
  }
  if (format.fmt.pix.width != width || format.fmt.pix.height != height ||
      format.fmt.pix.pixelformat != V4L2_PIX_FMT_YUV420) {
    error = path_ + " cannot take " + std::to_string(width) + "x" + std::to_string(height) + " I420 frames.";
    return false;
  }
  return true;
}

bool LumivaultDevice::Write(const std::uint8_t* data, std::size_t size, std::string& error) {
  const SigpipeGuard guard;
  while (size > 0) {
    const ssize_t written = write(fd_.get(), data, size);
    if (written < 0 && errno == EINTR) continue;
    if (written <= 0) {
      const std::string reason = written < 0 ? SystemMessage(errno) : "nothing was taken";
      error = "Writing to " + path_ + " failed: " + reason + ".";
      return false;
    }
    data += written;
    size -= static_cast<std::size_t>(written);
  }
  return true;
}

}  // namespace halcyon
