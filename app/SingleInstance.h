#pragma once
// One player per user: a start finds the running one through a local socket named
// "LUMIVOX_MAIN_WND" in a folder only the user can write to, hands it the names of its
// command line as a file-drop block, and ends. Every hand-over brings the running
// player's window to the front; an empty one does nothing else.

#include <QLocalServer>
#include <QObject>

#include <cstddef>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace lumivox {

inline constexpr const char* kMainWindowClass = "LUMIVOX_MAIN_WND";
// The most a hand-over may send; a longer one is cut off and dropped.
inline constexpr std::size_t kMaxHandOverBytes = 16 * 1024 * 1024;

// The shell's file-drop layout: a 20-byte little-endian header (offset of the names 20,
// drop point 10,10, non-client 1, single-byte names 0), then each name and a zero byte,
// then one more zero byte.
std::string BuildDropBlock(const std::vector<std::string>& names);
// The names of a drop block; none for a block that is cut short or not laid out so.
std::vector<std::string> ParseDropBlock(std::string_view block);

// True when the process at the other end of the connected local socket `fd` may hand
// names to this one or take them from it.
using PeerCheck = std::function<bool(int fd)>;
// Only a process of this user (its user id as the kernel tells it) may.
bool PeerIsThisUser(int fd);

class SingleInstance : public QObject {
  Q_OBJECT

 public:
  // The socket lives in `folder`; by default in $XDG_RUNTIME_DIR or, without a usable
  // one, in a folder of the user's cache that only the user may enter. A folder that is
  // not the user's own or that others may write to is never used.
  explicit SingleInstance(std::string folder = {}, PeerCheck peerCheck = PeerIsThisUser);
  ~SingleInstance() override;

  // True when another instance runs; it has then been handed `names` (or asked to come
  // to the front when there are none).
  bool FindPreviousInstance(const std::vector<std::string>& names);
  // Becomes the instance later starts find. False when the socket cannot be made.
  bool Listen();

 Q_SIGNALS:
  // At every accepted hand-over, before its names are looked at.
  void activateRequested();
  void filesDropped(std::vector<std::string> names);

 private:
  // The socket's full name; empty when its folder is not safe to use.
  QString ServerName();
  void OnConnection();

  std::string folder_;
  PeerCheck peerCheck_;
  std::unique_ptr<QLocalServer> server_;
};

}  // namespace lumivox
