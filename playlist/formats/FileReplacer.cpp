#include "playlist/formats/FileReplacer.h"

#include <fcntl.h>
#include <stdlib.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdint>
#include <memory>
#include <random>

#include "playlist/PathText.h"
#include "playlist/formats/UniqueFd.h"

namespace lumivox {
namespace {

class FileSink final : public ByteSink {
 public:
  explicit FileSink(int fd) : fd_(fd) {}
  bool Write(std::string_view bytes) override {
    while (!bytes.empty()) {
      const ssize_t count = ::write(fd_, bytes.data(), bytes.size());
      if (count < 0) {
        if (errno == EINTR) continue;
        return false;
      }
      bytes.remove_prefix(static_cast<std::size_t>(count));
    }
    return true;
  }

 private:
  int fd_;
};

// A new, uniquely named file in `folder` that is removed again unless it is kept.
class TemporaryFile {
 public:
  explicit TemporaryFile(const std::string& folder) {
    std::random_device entropy;
    for (int attempt = 0; attempt < 16 && !fd_; ++attempt) {
      const std::uint64_t tag = (std::uint64_t{entropy()} << 32) | entropy();
      std::string name = JoinPath(folder.empty() ? "." : folder, ".lumivox-");
      static constexpr char kHex[] = "0123456789abcdef";
      for (int shift = 60; shift >= 0; shift -= 4) name += kHex[(tag >> shift) & 15];
      name += ".tmp";
      // 0666 so that the umask decides, as for any file the user saves.
      fd_ = UniqueFd(::open(name.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666));
      if (fd_)
        name_ = std::move(name);
      else if (errno != EEXIST)
        break;
    }
  }
  ~TemporaryFile() {
    if (!name_.empty()) ::unlink(name_.c_str());
  }
  TemporaryFile(const TemporaryFile&) = delete;
  TemporaryFile& operator=(const TemporaryFile&) = delete;

  explicit operator bool() const { return static_cast<bool>(fd_); }
  int fd() const { return fd_.get(); }
  bool Close() { return fd_.Close(); }

  bool RenameTo(const std::string& target) {
    if (::rename(name_.c_str(), target.c_str()) != 0) return false;
    name_.clear();
    return true;
  }

 private:
  UniqueFd fd_;
  std::string name_;
};

bool WriteInPlace(const std::string& path, const std::function<bool(ByteSink&)>& produce) {
  UniqueFd fd(
      ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC | O_NOCTTY | O_NONBLOCK, 0666));
  if (!fd) return false;
  FileSink sink(fd.get());
  return produce(sink) && fd.Close();
}

// The file a name stands for: the end of a chain of symbolic links, so that renaming
// replaces the file and not the link. Empty when a link leads nowhere.
std::string ResolvedTarget(const std::string& path) {
  struct stat info;
  if (::lstat(path.c_str(), &info) != 0 || !S_ISLNK(info.st_mode)) return path;
  const std::unique_ptr<char, decltype(&::free)> real(::realpath(path.c_str(), nullptr), &::free);
  return real ? std::string(real.get()) : std::string();
}

}  // namespace

bool ReplaceFileContents(const std::string& path, const std::function<bool(ByteSink&)>& produce) {
  const std::string target = ResolvedTarget(path);
  if (target.empty()) return WriteInPlace(path, produce);
  struct stat info;
  const bool exists = ::stat(target.c_str(), &info) == 0;
  if (exists && !S_ISREG(info.st_mode)) return false;
  if (!exists && errno != ENOENT) return false;

  TemporaryFile temporary(FolderOf(target));
  if (!temporary) return WriteInPlace(target, produce);
  if (exists) ::fchmod(temporary.fd(), info.st_mode & 07777);
  FileSink sink(temporary.fd());
  if (!produce(sink)) return false;
  // The old list is only given up once the new one is on the disk.
  if (exists && ::fdatasync(temporary.fd()) != 0) return false;
  return temporary.Close() && temporary.RenameTo(target);
}

}  // namespace lumivox
