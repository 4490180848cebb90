#include "desktop/ScreenSaverInhibitor.h"

#include <QDBusMessage>
#include <QDBusPendingCallWatcher>

#include "desktop/DesktopLog.h"
#include "playlist/PlayerDoc.h"

namespace lumivox {
namespace {

constexpr char kReason[] = "Playing a video";
constexpr uint kInhibitIdle = 8;

QDBusMessage ScreenSaverCall(const QString& method) {
  return QDBusMessage::createMethodCall("org.freedesktop.ScreenSaver", "/org/freedesktop/ScreenSaver",
                                        "org.freedesktop.ScreenSaver", method);
}

}  // namespace

ScreenSaverInhibitor::ScreenSaverInhibitor(const QDBusConnection& bus) : bus_(bus) {}

// An end that skipped the last change notice still lets the screen saver go; Qt sends
// what is queued as it closes the connection.
ScreenSaverInhibitor::~ScreenSaverInhibitor() { SetInhibited(false); }

void ScreenSaverInhibitor::SetInhibited(bool inhibited) {
  if (inhibited == wanted_) return;
  wanted_ = inhibited;
  if (!wanted_) refused_ = false;
  Settle();
}

void ScreenSaverInhibitor::Settle() {
  if (asking_) return;
  const bool held = !std::holds_alternative<std::monostate>(hold_);
  if (wanted_ && !held && !refused_) {
    Ask(Service::ScreenSaver);
  } else if (!wanted_ && held) {
    auto* watcher = new QDBusPendingCallWatcher(bus_.asyncCall(ReleaseCall()), this);
    connect(watcher, &QDBusPendingCallWatcher::finished, this, [](QDBusPendingCallWatcher* call) {
      if (call->isError()) qCInfo(lcDesktop) << "screen saver not released:" << call->error().message();
      call->deleteLater();
    });
    hold_ = std::monostate{};
    qCDebug(lcDesktop) << "screen saver released";
  }
}

void ScreenSaverInhibitor::Ask(Service service) {
  QDBusMessage call;
  if (service == Service::ScreenSaver) {
    call = ScreenSaverCall("Inhibit");
    call << QString::fromUtf8(kAppTitle.data(), kAppTitle.size()) << QString(kReason);
  } else {
    call = QDBusMessage::createMethodCall("org.freedesktop.portal.Desktop", "/org/freedesktop/portal/desktop",
                                          "org.freedesktop.portal.Inhibit", "Inhibit");
    call << QString() << kInhibitIdle << QVariantMap{{"reason", QString(kReason)}};
  }
  asking_ = true;
  auto* watcher = new QDBusPendingCallWatcher(bus_.asyncCall(call), this);
  connect(watcher, &QDBusPendingCallWatcher::finished, this, [this, service](QDBusPendingCallWatcher* reply) {
    Answered(service, reply->reply());
    reply->deleteLater();
  });
}

void ScreenSaverInhibitor::Answered(Service service, const QDBusMessage& reply) {
  asking_ = false;
  const QVariant held = reply.arguments().value(0);
  if (reply.type() == QDBusMessage::ErrorMessage || !held.isValid()) {
    qCInfo(lcDesktop) << (service == Service::ScreenSaver ? "ScreenSaver" : "portal")
                      << "did not inhibit:" << reply.errorMessage();
    if (service == Service::ScreenSaver) return Ask(Service::Portal);
    refused_ = true;
    return;
  }
  if (service == Service::ScreenSaver) {
    hold_ = held.toUInt();
  } else {
    hold_ = held.value<QDBusObjectPath>();
  }
  qCDebug(lcDesktop) << "screen saver inhibited";
  Settle();
}

QDBusMessage ScreenSaverInhibitor::ReleaseCall() const {
  if (const uint* cookie = std::get_if<uint>(&hold_)) {
    QDBusMessage call = ScreenSaverCall("UnInhibit");
    call << *cookie;
    return call;
  }
  return QDBusMessage::createMethodCall("org.freedesktop.portal.Desktop", std::get<QDBusObjectPath>(hold_).path(),
                                        "org.freedesktop.portal.Request", "Close");
}

}  // namespace lumivox
