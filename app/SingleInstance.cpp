#include "app/SingleInstance.h"

#include <sys/socket.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QDir>
#include <QLocalSocket>
#include <QStandardPaths>

#include <cerrno>
#include <cstdint>
#include <cstring>

#include "app/AppLog.h"

namespace lumivox {
namespace {

constexpr std::uint32_t kHeaderSize = 20;
constexpr int kHandOverMs = 1000;
// What the socket buffers before a hand-over's bytes are counted.
constexpr qint64 kReadChunk = 64 * 1024;

void PutLe32(std::string& out, std::uint32_t value) {
  for (int shift = 0; shift < 32; shift += 8) out.push_back(static_cast<char>(value >> shift & 0xFF));
}

std::uint32_t GetLe32(std::string_view in, std::size_t at) {
  std::uint32_t value = 0;
  for (int i = 3; i >= 0; --i) value = value << 8 | static_cast<unsigned char>(in[at + static_cast<std::size_t>(i)]);
  return value;
}

// A folder in which no other user can have put, or later put, a socket of that name.
bool IsPrivateFolder(const std::string& folder) {
  struct stat info;
  const char* refusal = nullptr;
  if (::lstat(folder.c_str(), &info) != 0) {
    refusal = std::strerror(errno);
  } else if (!S_ISDIR(info.st_mode)) {
    refusal = "not a folder";
  } else if (info.st_uid != ::geteuid()) {
    refusal = "owned by another user";
  } else if ((info.st_mode & (S_IWGRP | S_IWOTH)) != 0) {
    refusal = "others may write to it";
  }
  if (refusal) qCWarning(lcApp, "no single-instance socket in %s: %s", folder.c_str(), refusal);
  return refusal == nullptr;
}

// $XDG_RUNTIME_DIR when it is private. Otherwise never the shared /tmp (nor Qt's
// /tmp/runtime-USER, which another user can make first), but a folder of the user's cache,
// made for the user alone.
std::string DefaultSocketFolder() {
  const std::string runtime = qEnvironmentVariable("XDG_RUNTIME_DIR").toStdString();
  if (runtime.starts_with('/') && IsPrivateFolder(runtime)) return runtime;
  const QString cache = QStandardPaths::writableLocation(QStandardPaths::CacheLocation);
  if (cache.isEmpty() || !QDir().mkpath(cache)) return {};
  const std::string folder = (cache + "/instance").toStdString();
  ::mkdir(folder.c_str(), 0700);  // one that exists already is checked before each use
  return folder;
}

}  // namespace

bool PeerIsThisUser(int fd) {
  ucred peer{};
  socklen_t size = sizeof peer;
  return ::getsockopt(fd, SOL_SOCKET, SO_PEERCRED, &peer, &size) == 0 && size == sizeof peer && peer.uid == ::geteuid();
}

std::string BuildDropBlock(const std::vector<std::string>& names) {
  std::string block;
  for (const std::uint32_t field : {kHeaderSize, 10u, 10u, 1u, 0u}) PutLe32(block, field);
  for (const auto& name : names) {
    block += name;
    block.push_back('\0');
  }
  block.push_back('\0');
  return block;
}

std::vector<std::string> ParseDropBlock(std::string_view block) {
  if (block.size() < kHeaderSize + 1 || GetLe32(block, 0) < kHeaderSize || GetLe32(block, 0) >= block.size() ||
      GetLe32(block, 16) != 0) {
    return {};
  }
  std::vector<std::string> names;
  for (std::size_t at = GetLe32(block, 0); at < block.size() && block[at] != '\0';) {
    const auto end = block.find('\0', at);
    if (end == std::string_view::npos) return {};  // the list was never closed
    names.emplace_back(block.substr(at, end - at));
    at = end + 1;
  }
  return names;
}

SingleInstance::SingleInstance(std::string folder, PeerCheck peerCheck)
    : folder_(std::move(folder)), peerCheck_(std::move(peerCheck)) {}

SingleInstance::~SingleInstance() = default;

QString SingleInstance::ServerName() {
  if (folder_.empty()) folder_ = DefaultSocketFolder();
  if (folder_.empty() || !IsPrivateFolder(folder_)) return {};
  return QString::fromStdString(folder_) + "/" + kMainWindowClass;
}

bool SingleInstance::FindPreviousInstance(const std::vector<std::string>& names) {
  const QString name = ServerName();
  if (name.isEmpty()) return false;
  QLocalSocket socket;
  socket.connectToServer(name);
  if (!socket.waitForConnected(kHandOverMs)) return false;
  if (!peerCheck_(static_cast<int>(socket.socketDescriptor()))) {
    qCWarning(lcApp, "the single-instance socket answers for another user; names not handed over");
    socket.abort();
    return false;
  }
  if (!names.empty()) {
    const std::string block = BuildDropBlock(names);
    socket.write(block.data(), static_cast<qint64>(block.size()));
    socket.waitForBytesWritten(kHandOverMs);
  }
  socket.disconnectFromServer();
  if (socket.state() != QLocalSocket::UnconnectedState) socket.waitForDisconnected(kHandOverMs);
  return true;
}

bool SingleInstance::Listen() {
  const QString name = ServerName();
  if (name.isEmpty()) return false;
  server_ = std::make_unique<QLocalServer>();
  server_->setSocketOptions(QLocalServer::UserAccessOption);
  connect(server_.get(), &QLocalServer::newConnection, this, &SingleInstance::OnConnection);
  if (server_->listen(name)) return true;
  // A socket left by a player that crashed: nobody answers on it.
  QLocalServer::removeServer(name);
  if (server_->listen(name)) return true;
  qCWarning(lcApp, "no single-instance socket %s: %s", qPrintable(name), qPrintable(server_->errorString()));
  return false;
}

void SingleInstance::OnConnection() {
  while (QLocalSocket* socket = server_->nextPendingConnection()) {
    connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
    if (!peerCheck_(static_cast<int>(socket->socketDescriptor()))) {
      qCWarning(lcApp, "a hand-over from another user was refused");
      socket->abort();
      continue;
    }
    Q_EMIT activateRequested();
    // Read as it comes, so that a sender that does not stop is cut off at the limit.
    socket->setReadBufferSize(kReadChunk);
    struct HandOver {
      QByteArray bytes;
      bool dropped = false;
    };
    auto handOver = std::make_shared<HandOver>();
    const auto take = [socket, handOver] {
      if (handOver->dropped) return false;
      handOver->bytes.append(socket->readAll());
      if (static_cast<std::size_t>(handOver->bytes.size()) <= kMaxHandOverBytes) return true;
      qCWarning(lcApp, "a hand-over longer than %zu bytes was dropped", kMaxHandOverBytes);
      handOver->dropped = true;
      handOver->bytes = QByteArray();
      return false;
    };
    connect(socket, &QLocalSocket::readyRead, this, [socket, take] {
      if (!take()) socket->abort();
    });
    connect(socket, &QLocalSocket::disconnected, this, [this, handOver, take] {
      if (!take()) return;
      const QByteArray& bytes = handOver->bytes;
      const auto names = ParseDropBlock(std::string_view(bytes.constData(), static_cast<std::size_t>(bytes.size())));
      if (!names.empty()) Q_EMIT filesDropped(names);
    });
  }
}

}  // namespace lumivox
