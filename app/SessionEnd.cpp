#include "app/SessionEnd.h"

#include <fcntl.h>
#include <unistd.h>

#include <QGuiApplication>
#include <QSessionManager>

#include <atomic>
#include <cerrno>
#include <cstring>
#include <utility>

#include "app/AppLog.h"

namespace lumivox {
namespace {

// The pipe's write end for the handler, which can reach nothing but a global; an atomic
// int is safe to read there. -1 while no SessionEnd exists.
std::atomic<int> wakeFd{-1};

void OnEndSignal(int) {
  const int saved = errno;
  const char byte = 0;
  if (const int fd = wakeFd.load(); fd >= 0) {
    // A full pipe already holds a wake-up.
    [[maybe_unused]] const ssize_t written = ::write(fd, &byte, 1);
  }
  errno = saved;
}

}  // namespace

SessionEnd::SessionEnd(std::function<void()> end, std::function<void()> save)
    : end_(std::move(end)), save_(std::move(save)) {
  if (auto* gui = qobject_cast<QGuiApplication*>(QCoreApplication::instance())) {
    // Direct: the data must be saved before the session manager is told it may go on.
    connect(
        gui, &QGuiApplication::commitDataRequest, this,
        [this](QSessionManager&) {
          qCInfo(lcApp, "the session manager asks for a save");
          if (!ended_) save_();
        },
        Qt::DirectConnection);
  }
  int fds[2];
  if (::pipe2(fds, O_CLOEXEC | O_NONBLOCK) != 0) {
    qCWarning(lcApp, "no pipe for the end signals (%s): they end the player unsaved", std::strerror(errno));
    return;
  }
  readEnd_ = UniqueFd(fds[0]);
  writeEnd_ = UniqueFd(fds[1]);
  notifier_ = std::make_unique<QSocketNotifier>(readEnd_.get(), QSocketNotifier::Read);
  connect(notifier_.get(), &QSocketNotifier::activated, this, [this] {
    char bytes[64];
    while (::read(readEnd_.get(), bytes, sizeof bytes) > 0) continue;
    qCInfo(lcApp, "ended by a signal");
    End();
  });
  wakeFd = writeEnd_.get();
  CatchSignals();
}

SessionEnd::~SessionEnd() {
  for (const Caught& caught : caught_) ::sigaction(caught.signal, &caught.former, nullptr);
  wakeFd = -1;
}

void SessionEnd::CatchSignals() {
  struct sigaction action {};
  action.sa_handler = OnEndSignal;
  sigemptyset(&action.sa_mask);
  action.sa_flags = SA_RESTART;
  for (const int signal : {SIGTERM, SIGINT, SIGHUP}) {
    Caught caught{signal, {}};
    if (::sigaction(signal, nullptr, &caught.former) != 0 || caught.former.sa_handler == SIG_IGN) continue;
    if (::sigaction(signal, &action, nullptr) == 0) caught_.push_back(caught);
  }
}

void SessionEnd::End() {
  if (std::exchange(ended_, true)) return;
  if (notifier_) notifier_->setEnabled(false);
  end_();
}

}  // namespace lumivox
