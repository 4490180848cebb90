#pragma once
// Keeps the session's screen saver off while asked to: org.freedesktop.ScreenSaver's
// Inhibit, or the desktop portal's where that service is absent (sandboxes, some
// desktops). Calls never wait: a request still out when the wish changes is settled when
// its reply comes.

#include <QDBusConnection>
#include <QDBusObjectPath>
#include <QObject>

#include <variant>

class QDBusMessage;

namespace lumivox {

class ScreenSaverInhibitor final : public QObject {
 public:
  explicit ScreenSaverInhibitor(const QDBusConnection& bus);
  ~ScreenSaverInhibitor() override;

  void SetInhibited(bool inhibited);

 private:
  enum class Service { ScreenSaver, Portal };
  // The ScreenSaver's cookie or the portal's request.
  using Hold = std::variant<std::monostate, uint, QDBusObjectPath>;

  void Settle();
  void Ask(Service service);
  void Answered(Service service, const QDBusMessage& reply);
  QDBusMessage ReleaseCall() const;

  QDBusConnection bus_;
  bool wanted_ = false;
  bool asking_ = false;
  // Neither service took the last request: none is asked again until the wish ends.
  bool refused_ = false;
  Hold hold_;
};

}  // namespace lumivox
