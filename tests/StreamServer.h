#pragma once
// A small HTTP server on the loopback for the stream tests, with a thread of its own so that
// the player's waits never stall it. What it answers depends on the path:
//   /NAME.EXT       the file it was given for ".EXT", once, with its length
//   /radio-drop     the ".mp3" file over and over, with ICY titles "Evening Tune" when asked;
//                   the first connection stalls for 1.5 s after 32 KiB (two seconds of the
//                   test tone) and is dropped after 48 KiB
//   /lying-icy      the same, endless, with ICY blocks whose length bytes promise far more
//                   than they hold
//   /silent         the headers, then nothing
//   /endless-header a header line that never ends
//   anything else   404

#include <QThread>

#include <atomic>
#include <map>
#include <memory>
#include <string>
#include <string_view>

namespace lumivox::test {

class StreamServer {
 public:
  // Files by extension, ".mp3" among them.
  explicit StreamServer(std::map<std::string, std::string> files);
  ~StreamServer();
  StreamServer(const StreamServer&) = delete;
  StreamServer& operator=(const StreamServer&) = delete;

  std::string Url(std::string_view path) const;

 private:
  std::map<std::string, std::string> files_;
  std::atomic<bool> firstDropped_ = false;
  std::unique_ptr<QThread> thread_;
  int port_ = 0;
};

}  // namespace lumivox::test
