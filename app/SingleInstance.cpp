#include "app/SingleInstance.h"

#include <QDir>
#include <QLocalSocket>
#include <QStandardPaths>

#include <cstdint>

namespace lumivox {
namespace {

constexpr std::uint32_t kHeaderSize = 20;
constexpr int kHandOverMs = 1000;

void PutLe32(std::string& out, std::uint32_t value) {
  for (int shift = 0; shift < 32; shift += 8) out.push_back(static_cast<char>(value >> shift & 0xFF));
}

std::uint32_t GetLe32(std::string_view in, std::size_t at) {
  std::uint32_t value = 0;
  for (int i = 3; i >= 0; --i) value = value << 8 | static_cast<unsigned char>(in[at + static_cast<std::size_t>(i)]);
  return value;
}

QString DefaultServerName() {
  // Per user: the socket lives in the user's runtime folder, not in the shared /tmp.
  QString folder = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
  if (folder.isEmpty()) folder = QDir::tempPath();
  return folder + "/" + kMainWindowClass;
}

}  // namespace

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

SingleInstance::SingleInstance(QString serverName)
    : serverName_(serverName.isEmpty() ? DefaultServerName() : std::move(serverName)) {}

SingleInstance::~SingleInstance() = default;

bool SingleInstance::FindPreviousInstance(const std::vector<std::string>& names) {
  QLocalSocket socket;
  socket.connectToServer(serverName_);
  if (!socket.waitForConnected(kHandOverMs)) return false;
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
  server_ = std::make_unique<QLocalServer>();
  server_->setSocketOptions(QLocalServer::UserAccessOption);
  connect(server_.get(), &QLocalServer::newConnection, this, &SingleInstance::OnConnection);
  if (server_->listen(serverName_)) return true;
  // A socket left by a player that crashed: nobody answers on it.
  QLocalServer::removeServer(serverName_);
  return server_->listen(serverName_);
}

void SingleInstance::OnConnection() {
  while (QLocalSocket* socket = server_->nextPendingConnection()) {
    connect(socket, &QLocalSocket::disconnected, this, [this, socket] {
      const QByteArray data = socket->readAll();
      socket->deleteLater();
      const auto names = ParseDropBlock(std::string_view(data.constData(), static_cast<std::size_t>(data.size())));
      if (names.empty()) {
        Q_EMIT activateRequested();
      } else {
        Q_EMIT filesDropped(names);
      }
    });
  }
}

}  // namespace lumivox
