#include "StreamServer.h"

#include <QTcpServer>
#include <QTcpSocket>
#include <QTimer>

#include <QEventLoop>

#include <atomic>
#include <functional>
#include <future>

namespace lumivox::test {
namespace {

constexpr qint64 kWriteAhead = 64 * 1024;  // what may wait unsent: the client sets the pace
constexpr int kMetaInterval = 8192;
constexpr int kStallAt = 32 * 1024;  // two seconds of the test tone
constexpr int kStallMs = 1500;
constexpr int kDropAfter = 48 * 1024;

// One ICY metadata block: a length byte counting 16-byte units, then the text padded to them.
QByteArray MetaBlock(bool lying) {
  QByteArray text = "StreamTitle='Evening Tune';";
  const int units = static_cast<int>((text.size() + 15) / 16);
  text.resize(units * 16, '\0');
  return char(lying ? 255 : units) + text;
}

// One client: reads its request, then writes the answer piece by piece as the client takes it.
// It lives as long as its socket, a child of the server.
class Connection : public QObject {
 public:
  Connection(QTcpSocket* socket, const std::map<std::string, std::string>& files, std::atomic<bool>& firstDropped)
      : QObject(socket),
        socket_(socket),
        files_(files),
        mp3_(QByteArray::fromStdString(files.at(".mp3"))),
        firstDropped_(firstDropped) {
    connect(socket_, &QTcpSocket::readyRead, this, [this] { OnRead(); });
    connect(socket_, &QTcpSocket::bytesWritten, this, [this] { Pump(); });
    connect(socket_, &QTcpSocket::disconnected, socket_, &QObject::deleteLater);
  }

 private:
  void OnRead() {
    const QByteArray read = socket_->readAll();
    if (answering_) return;
    request_ += read;
    const qsizetype end = request_.indexOf("\r\n\r\n");
    if (end < 0) return;
    answering_ = true;
    const QList<QByteArray> words = request_.left(request_.indexOf("\r\n")).split(' ');
    const std::string path = words.size() > 1 ? words[1].toStdString() : std::string();
    const bool icy = request_.toLower().contains("\r\nicy-metadata: 1");
    const auto dot = path.rfind('.');
    if (const auto file = files_.find(dot == std::string::npos ? "" : path.substr(dot)); file != files_.end()) {
      Finish("HTTP/1.0 200 OK\r\nContent-Length: " + QByteArray::number(file->second.size()) + "\r\n\r\n" +
             QByteArray::fromStdString(file->second));
    } else if (path == "/radio-drop" || path == "/lying-icy") {
      metaInterval_ = icy ? kMetaInterval : 0;
      lying_ = path == "/lying-icy";
      const bool dropping = path == "/radio-drop" && !firstDropped_.exchange(true);
      stallAt_ = dropping ? kStallAt : -1;
      dropAfter_ = dropping ? kDropAfter : -1;
      socket_->write("ICY 200 OK\r\nContent-Type: audio/mpeg\r\n" +
                     (icy ? "icy-metaint: " + QByteArray::number(kMetaInterval) + "\r\n" : QByteArray()) + "\r\n");
      next_ = [this] { return NextRadioPiece(); };
      Pump();
    } else if (path == "/silent") {
      socket_->write("HTTP/1.0 200 OK\r\nContent-Type: audio/mpeg\r\n\r\n");
    } else if (path == "/endless-header") {
      socket_->write("HTTP/1.0 200 OK\r\nX-Filler: ");
      next_ = [] { return QByteArray(4096, 'a'); };
      Pump();
    } else {
      Finish("HTTP/1.0 404 Not Found\r\nContent-Length: 0\r\n\r\n");
    }
  }

  void Finish(const QByteArray& answer) {
    socket_->write(answer);
    socket_->disconnectFromHost();
  }

  void Pump() {
    while (next_ && !stalled_ && socket_->state() == QAbstractSocket::ConnectedState &&
           socket_->bytesToWrite() < kWriteAhead) {
      const QByteArray piece = next_();
      if (stalled_) return;
      if (piece.isEmpty()) {
        next_ = nullptr;
        socket_->disconnectFromHost();
        return;
      }
      socket_->write(piece);
    }
  }

  QByteArray NextRadioPiece() {
    if (dropAfter_ >= 0 && sent_ >= dropAfter_) return {};
    if (stallAt_ >= 0 && sent_ >= stallAt_) {
      stallAt_ = -1;
      stalled_ = true;
      QTimer::singleShot(kStallMs, this, [this] {
        stalled_ = false;
        Pump();
      });
      return {};
    }
    qsizetype size = std::min<qsizetype>(4096, mp3_.size() - at_);
    if (metaInterval_) size = std::min<qsizetype>(size, metaInterval_ - sinceMeta_);
    QByteArray piece = mp3_.mid(at_, size);
    at_ = (at_ + size) % mp3_.size();
    sinceMeta_ += size;
    sent_ += size;
    if (metaInterval_ && sinceMeta_ == metaInterval_) {
      piece += MetaBlock(lying_);
      sinceMeta_ = 0;
    }
    return piece;
  }

  QTcpSocket* socket_;
  const std::map<std::string, std::string>& files_;
  QByteArray mp3_;
  std::atomic<bool>& firstDropped_;
  QByteArray request_;
  bool answering_ = false;
  std::function<QByteArray()> next_;
  int metaInterval_ = 0;
  bool lying_ = false;
  qint64 stallAt_ = -1;
  bool stalled_ = false;
  qint64 dropAfter_ = -1;
  qint64 sent_ = 0;
  qsizetype at_ = 0;
  qsizetype sinceMeta_ = 0;
};

}  // namespace

StreamServer::StreamServer(std::map<std::string, std::string> files) : files_(std::move(files)) {
  std::promise<int> port;
  std::future<int> listening = port.get_future();
  thread_.reset(QThread::create([this, &port] {
    QTcpServer server;
    QObject::connect(&server, &QTcpServer::newConnection, &server, [&] {
      while (QTcpSocket* socket = server.nextPendingConnection()) new Connection(socket, files_, firstDropped_);
    });
    port.set_value(server.listen(QHostAddress::LocalHost) ? server.serverPort() : 0);
    QEventLoop().exec();
  }));
  thread_->start();
  port_ = listening.get();
}

StreamServer::~StreamServer() {
  thread_->quit();
  thread_->wait();
}

std::string StreamServer::Url(std::string_view path) const {
  return "http://127.0.0.1:" + std::to_string(port_) + std::string(path);
}

}  // namespace lumivox::test
