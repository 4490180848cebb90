#pragma once
// Ends the run as File > Exit does when the system asks for it: SIGTERM (a kill, the
// service manager, a desktop's "force quit"), SIGINT (Ctrl+C in the terminal it started
// from) and SIGHUP (that terminal closed). A signal handler may do next to nothing, so it
// writes a byte to a pipe that the event loop reads.
// The session manager's save request (at logout, or when the user saves the session) only
// writes what the exit writes: the player may go on. At logout the manager's Die follows,
// which Qt turns into a quit that closes the windows as File > Exit does.

#include <signal.h>

#include <QObject>
#include <QSocketNotifier>

#include <functional>
#include <memory>
#include <vector>

#include "playlist/formats/UniqueFd.h"

namespace lumivox {

class SessionEnd : public QObject {
 public:
  // `end` runs once, on the event loop; `save` at each save request. Signals ignored at
  // start (nohup) stay ignored; without a pipe the signals keep their default action. One
  // SessionEnd at a time.
  SessionEnd(std::function<void()> end, std::function<void()> save);
  ~SessionEnd() override;  // the signals get their former action back
  SessionEnd(const SessionEnd&) = delete;
  SessionEnd& operator=(const SessionEnd&) = delete;

 private:
  void CatchSignals();
  void End();

  std::function<void()> end_;
  std::function<void()> save_;
  bool ended_ = false;
  UniqueFd readEnd_;
  UniqueFd writeEnd_;
  std::unique_ptr<QSocketNotifier> notifier_;
  struct Caught {
    int signal;
    struct sigaction former;
  };
  std::vector<Caught> caught_;
};

}  // namespace lumivox
