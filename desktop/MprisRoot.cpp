#include "desktop/MprisRoot.h"

#include <QApplication>
#include <QMimeDatabase>

#include "desktop/MprisNames.h"
#include "engine/SourceFilters.h"
#include "playlist/MediaTypes.h"
#include "playlist/PlayerDoc.h"
#include "res/ResourceIds.h"
#include "ui/MainFrame.h"

namespace lumivox {

MprisRoot::MprisRoot(QObject* host, CMainFrame& frame) : QDBusAbstractAdaptor(host), frame_(frame) {}

QString MprisRoot::Identity() const { return QString::fromUtf8(kAppTitle.data(), kAppTitle.size()); }

QString MprisRoot::DesktopEntry() const { return kDesktopEntry; }

QStringList MprisRoot::SupportedUriSchemes() {
  if (schemes_.isEmpty()) {
    for (const std::string& scheme : ReadableSchemes()) schemes_ << QString::fromStdString(scheme);
  }
  return schemes_;
}

QStringList MprisRoot::SupportedMimeTypes() {
  if (!mimeTypes_.isEmpty()) return mimeTypes_;
  QStringList extensions;
  for (std::string_view extension : kMediaExtensions) extensions << QString::fromLatin1(extension);
  // The list files that have a type of their own on the desktop.
  extensions << "m3u"
             << "m3u8"
             << "pls";
  const QMimeDatabase types;
  for (const QString& extension : extensions) {
    for (const QMimeType& type : types.mimeTypesForFileName("x." + extension)) mimeTypes_ << type.name();
  }
  mimeTypes_.sort();
  mimeTypes_.removeDuplicates();
  return mimeTypes_;
}

// A minimised or tray-hidden window comes back as the tray icon would bring it.
void MprisRoot::Raise() {
  if (frame_.trayIconShown() || frame_.isMinimized()) {
    frame_.RestoreFromTray();
    return;
  }
  frame_.raise();
  frame_.activateWindow();
}

// After the reply has gone out: File > Exit ends the event loop. Like the menu item, not
// while a dialog waits for an answer.
void MprisRoot::Quit() {
  if (QApplication::activeModalWidget()) return;
  QMetaObject::invokeMethod(
      &frame_, [frame = &frame_] { frame->OnCommand(ID_APP_EXIT); }, Qt::QueuedConnection);
}

}  // namespace lumivox
