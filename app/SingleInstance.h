#pragma once
// One player per user: a start finds the running one through a local socket named
// "LUMIVOX_MAIN_WND", hands it the names of its command line as a file-drop block, and
// ends. An empty message only asks it to come to the front.

#include <QLocalServer>
#include <QObject>

#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace lumivox {

inline constexpr const char* kMainWindowClass = "LUMIVOX_MAIN_WND";

// The shell's file-drop layout: a 20-byte little-endian header (offset of the names 20,
// drop point 10,10, non-client 1, single-byte names 0), then each name and a zero byte,
// then one more zero byte.
std::string BuildDropBlock(const std::vector<std::string>& names);
// The names of a drop block; none for a block that is cut short or not laid out so.
std::vector<std::string> ParseDropBlock(std::string_view block);

class SingleInstance : public QObject {
  Q_OBJECT

 public:
  // `serverName` defaults to the per-user socket of kMainWindowClass.
  explicit SingleInstance(QString serverName = {});
  ~SingleInstance() override;

  // True when another instance runs; it has then been handed `names` (or asked to come
  // to the front when there are none).
  bool FindPreviousInstance(const std::vector<std::string>& names);
  // Becomes the instance later starts find. False when the socket cannot be made.
  bool Listen();

 Q_SIGNALS:
  void activateRequested();
  void filesDropped(std::vector<std::string> names);

 private:
  void OnConnection();

  QString serverName_;
  std::unique_ptr<QLocalServer> server_;
};

}  // namespace lumivox
