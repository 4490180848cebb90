#include "tools/ProbeCommand.h"

#include <chrono>
#include <condition_variable>
#include <mutex>
#include <ostream>

#include "engine/GraphPlayer.h"
#include "tools/ToolCommands.h"

namespace lumivox::tool {
namespace {

// The graph-notify post of a program without a window: wakes the waiting thread.
class Notifier {
 public:
  void Post() {
    {
      std::lock_guard lock(mutex_);
      posted_ = true;
    }
    woken_.notify_all();
  }
  bool WaitUntil(std::chrono::steady_clock::time_point deadline) {
    std::unique_lock lock(mutex_);
    const bool posted = woken_.wait_until(lock, deadline, [this] { return posted_; });
    posted_ = false;
    return posted;
  }

 private:
  std::mutex mutex_;
  std::condition_variable woken_;
  bool posted_ = false;
};

bool PlayToEnd(CGraphPlayer& player, std::int64_t duration, std::ostream& out, Notifier& notifier) {
  using Clock = std::chrono::steady_clock;
  const auto start = Clock::now();
  const auto limit = std::chrono::milliseconds(std::max<std::int64_t>(duration, 0) / 10'000 * 2 + 5000);
  player.Run();
  while (notifier.WaitUntil(start + limit)) {
    for (GraphEvent event; player.GetEvent(event);) {
      if (event.code == EC_ERRORABORT) {
        out << "error: " << player.LastError() << '\n';
        return false;
      }
      if (event.code != EC_COMPLETE) continue;
      const auto elapsed = std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - start);
      out << "complete: " << elapsed.count() << '\n';
      return true;
    }
  }
  out << "complete: timeout\n";
  return false;
}

}  // namespace

int ProbeFile(const std::string& path, const ProbeOptions& options, std::ostream& out) {
  const GraphChoices choices{options.lumivault, options.mpegSoftDecoder};
  Notifier notifier;
  CGraphPlayer player([choices] { return choices; }, [&notifier] { notifier.Post(); });
  if (!player.Open(path)) {
    out << "open: failed\nerror: " << player.LastError() << '\n';
    return kFailed;
  }
  out << "open: ok\n";
  for (const auto& filter : player.EnumFilters()) out << "filter: " << GST_OBJECT_NAME(filter.get()) << '\n';
  std::int64_t duration = -1;
  if (!player.GetTimes(&duration, nullptr)) duration = -1;
  out << "duration: " << duration << '\n';
  std::int32_t width = 0;
  std::int32_t height = 0;
  if (player.HasBasicVideo() && player.GetVideoWidth(width) && player.GetVideoHeight(height)) {
    out << "video: " << width << 'x' << height << '\n';
  } else {
    out << "video: none\n";
  }
  const bool completed = !options.play || PlayToEnd(player, duration, out, notifier);
  player.Close();
  return completed ? kOk : kFailed;
}

}  // namespace lumivox::tool
