#include "playlist/formats/FileReplacer.h"

#include <dirent.h>
#include <fcntl.h>
#include <stdlib.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdint>
#include <cstring>
#include <memory>
#include <random>
#include <string_view>

#include "playlist/PathText.h"
#include "playlist/formats/ListFilesLog.h"
#include "playlist/formats/UniqueFd.h"

namespace lumivox {
namespace {

constexpr std::string_view kTemporaryMark = ".lumivox-";
constexpr std::string_view kTemporaryEnd = ".tmp";
constexpr std::size_t kTagDigits = 16;
// Keeps a temporary name within the 255 bytes a file name may have.
constexpr std::size_t kMaxNameInTemporary = 200;

// Logs why `target` was not saved; `error` is the errno, if one tells more.
bool Failed(const std::string& target, const char* what, int error = 0) {
  if (error != 0) {
    qCWarning(lcListFiles, "%s not saved: %s: %s", target.c_str(), what, std::strerror(error));
  } else {
    qCWarning(lcListFiles, "%s not saved: %s", target.c_str(), what);
  }
  return false;
}

class FileSink final : public ByteSink {
 public:
  FileSink(FileCalls& calls, int fd) : calls_(calls), fd_(fd) {}
  bool Write(std::string_view bytes) override {
    while (!bytes.empty()) {
      const ssize_t count = calls_.Write(fd_, bytes.data(), bytes.size());
      if (count < 0) {
        if (errno == EINTR) continue;
        error_ = errno;
        return false;
      }
      bytes.remove_prefix(static_cast<std::size_t>(count));
    }
    return true;
  }
  int error() const { return error_; }

 private:
  FileCalls& calls_;
  int fd_;
  int error_ = 0;
};

// ".NAME.lumivox-": the start of every temporary name of the target NAME.
std::string TemporaryPrefix(std::string_view name) {
  std::string prefix = ".";
  prefix += name.substr(0, kMaxNameInTemporary);
  prefix += kTemporaryMark;
  return prefix;
}

bool IsTemporaryOf(std::string_view entry, std::string_view prefix) {
  if (entry.size() != prefix.size() + kTagDigits + kTemporaryEnd.size() || !entry.starts_with(prefix) ||
      !entry.ends_with(kTemporaryEnd)) {
    return false;
  }
  for (const char c : entry.substr(prefix.size(), kTagDigits)) {
    if ((c < '0' || c > '9') && (c < 'a' || c > 'f')) return false;
  }
  return true;
}

struct DirCloser {
  void operator()(DIR* dir) const { ::closedir(dir); }
};

bool SameFile(const struct stat& a, const struct stat& b) { return a.st_dev == b.st_dev && a.st_ino == b.st_ino; }

// Still the file that `fd` has open under `name`, not one put in its place.
bool StillNamed(int folder, const std::string& name, int fd) {
  struct stat opened;
  struct stat named;
  return ::fstat(fd, &opened) == 0 && ::fstatat(folder, name.c_str(), &named, AT_SYMLINK_NOFOLLOW) == 0 &&
         SameFile(opened, named);
}

// Removes what saves of this target that were killed or crashed left behind. A running
// save holds a lock on its temporary file for as long as the file exists, so a file that
// can be locked has been given up by its writer.
void RemoveStaleTemporaries(int folder, const std::string& prefix) {
  const int listing = ::openat(folder, ".", O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (listing < 0) return;
  const std::unique_ptr<DIR, DirCloser> dir(::fdopendir(listing));
  if (!dir) {
    ::close(listing);
    return;
  }
  while (const dirent* item = ::readdir(dir.get())) {
    const std::string name = item->d_name;
    if (!IsTemporaryOf(name, prefix)) continue;
    constexpr int kFlags = O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC | O_NOCTTY;
    UniqueFd fd(::openat(folder, name.c_str(), O_RDONLY | kFlags));
    if (!fd && errno == EACCES) fd = UniqueFd(::openat(folder, name.c_str(), O_WRONLY | kFlags));
    struct stat info;
    if (!fd || ::fstat(fd.get(), &info) != 0 || !S_ISREG(info.st_mode) || info.st_uid != ::geteuid()) continue;
    if (::flock(fd.get(), LOCK_EX | LOCK_NB) != 0 || !StillNamed(folder, name, fd.get())) continue;
    if (::unlinkat(folder, name.c_str(), 0) == 0)
      qCInfo(lcListFiles, "removed %s, left by an interrupted save", name.c_str());
  }
}

// A new, uniquely named file in `folder` that is removed again unless it is kept. It is
// locked from its creation until it has been renamed or removed.
class TemporaryFile {
 public:
  TemporaryFile(FileCalls& calls, int folder, const std::string& prefix) : folder_(folder) {
    std::random_device entropy;
    for (int attempt = 0; attempt < 16 && !fd_; ++attempt) {
      const std::uint64_t tag = (std::uint64_t{entropy()} << 32) | entropy();
      std::string name = prefix;
      static constexpr char kHex[] = "0123456789abcdef";
      for (int shift = 60; shift >= 0; shift -= 4) name += kHex[(tag >> shift) & 15];
      name += kTemporaryEnd;
      // 0666 so that the umask decides, as for any file the user saves.
      UniqueFd fd(calls.OpenAt(folder, name.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0666));
      if (!fd) {
        error_ = errno;
        if (error_ == EEXIST) continue;
        break;
      }
      // A cleaner may have taken the file in the moment before the lock: then make another.
      const bool lockable = ::flock(fd.get(), LOCK_EX) == 0;
      if (lockable && !StillNamed(folder, name, fd.get())) continue;
      if (lockable) lock_ = UniqueFd(::dup(fd.get()));
      fd_ = std::move(fd);
      name_ = std::move(name);
    }
  }
  ~TemporaryFile() {
    if (!name_.empty()) ::unlinkat(folder_, name_.c_str(), 0);
  }
  TemporaryFile(const TemporaryFile&) = delete;
  TemporaryFile& operator=(const TemporaryFile&) = delete;

  explicit operator bool() const { return static_cast<bool>(fd_); }
  // Why no file could be made.
  int error() const { return error_; }
  int fd() const { return fd_.get(); }
  // Closes the file; its lock stays until it is renamed or removed.
  bool Close() { return fd_.Close(); }

  bool RenameTo(const std::string& target) {
    if (::renameat(folder_, name_.c_str(), folder_, target.c_str()) != 0) return false;
    name_.clear();
    return true;
  }

 private:
  int folder_;
  UniqueFd fd_;
  UniqueFd lock_;
  std::string name_;
  int error_ = 0;
};

// The folder refuses new names but an existing file in it may still be writable.
bool FolderForbidsNewFiles(int error) { return error == EACCES || error == EPERM || error == EROFS; }

bool WriteInPlace(FileCalls& calls, int folder, const std::string& name, const std::string& target,
                  const std::function<bool(ByteSink&)>& produce) {
  UniqueFd fd(
      calls.OpenAt(folder, name.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC | O_NOCTTY | O_NONBLOCK, 0666));
  if (!fd) return Failed(target, "cannot open it", errno);
  FileSink sink(calls, fd.get());
  if (!produce(sink)) return Failed(target, "cannot write it", sink.error());
  return fd.Close() || Failed(target, "cannot close it", errno);
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

int FileCalls::OpenAt(int folder, const char* name, int flags, mode_t mode) {
  return ::openat(folder, name, flags, mode);
}

ssize_t FileCalls::Write(int fd, const void* bytes, std::size_t size) { return ::write(fd, bytes, size); }

int FileCalls::SyncData(int fd) { return ::fdatasync(fd); }

bool ReplaceFileContents(const std::string& path, const std::function<bool(ByteSink&)>& produce) {
  FileCalls calls;
  return ReplaceFileContents(path, produce, calls);
}

bool ReplaceFileContents(const std::string& path, const std::function<bool(ByteSink&)>& produce, FileCalls& calls) {
  const std::string target = ResolvedTarget(path);
  if (target.empty()) return WriteInPlace(calls, AT_FDCWD, path, path, produce);
  struct stat info;
  const bool exists = ::stat(target.c_str(), &info) == 0;
  if (exists && !S_ISREG(info.st_mode)) return Failed(target, "not a regular file");
  if (!exists && errno != ENOENT) return Failed(target, "cannot look at it", errno);

  // Names relative to the folder, so that a temporary name never grows past PATH_MAX.
  const std::string folderName = FolderOf(target);
  const std::string name(TitleOf(target));
  const UniqueFd folder(::open(folderName.empty() ? "." : folderName.c_str(), O_PATH | O_DIRECTORY | O_CLOEXEC));
  if (!folder) return Failed(target, "cannot open its folder", errno);
  if (name.empty()) return Failed(target, "no file name");
  const std::string prefix = TemporaryPrefix(name);
  // First, so that what interrupted saves took is free again for this one.
  RemoveStaleTemporaries(folder.get(), prefix);

  TemporaryFile temporary(calls, folder.get(), prefix);
  if (!temporary) {
    if (!FolderForbidsNewFiles(temporary.error())) return Failed(target, "no temporary file", temporary.error());
    qCInfo(lcListFiles, "%s: the folder takes no new files, writing in place", target.c_str());
    return WriteInPlace(calls, folder.get(), name, target, produce);
  }
  if (exists) ::fchmod(temporary.fd(), info.st_mode & 07777);
  FileSink sink(calls, temporary.fd());
  if (!produce(sink)) return Failed(target, "cannot write the temporary file", sink.error());
  // The old list is only given up once the new one is on the disk.
  if (exists && calls.SyncData(temporary.fd()) != 0) return Failed(target, "cannot flush the temporary file", errno);
  if (!temporary.Close()) return Failed(target, "cannot close the temporary file", errno);
  return temporary.RenameTo(name) || Failed(target, "cannot rename the temporary file over it", errno);
}

}  // namespace lumivox
