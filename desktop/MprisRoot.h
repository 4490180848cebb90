#pragma once
// The MPRIS2 root interface: who the player is, what it opens, Raise and Quit.

#include <QDBusAbstractAdaptor>
#include <QStringList>

namespace lumivox {

class CMainFrame;

class MprisRoot final : public QDBusAbstractAdaptor {
  Q_OBJECT
  Q_CLASSINFO("D-Bus Interface", "org.mpris.MediaPlayer2")
  Q_PROPERTY(bool CanQuit READ CanQuit CONSTANT)
  Q_PROPERTY(bool CanRaise READ CanRaise CONSTANT)
  Q_PROPERTY(bool HasTrackList READ HasTrackList CONSTANT)
  Q_PROPERTY(QString Identity READ Identity CONSTANT)
  Q_PROPERTY(QString DesktopEntry READ DesktopEntry CONSTANT)
  Q_PROPERTY(QStringList SupportedUriSchemes READ SupportedUriSchemes CONSTANT)
  Q_PROPERTY(QStringList SupportedMimeTypes READ SupportedMimeTypes CONSTANT)

 public:
  MprisRoot(QObject* host, CMainFrame& frame);

  bool CanQuit() const { return true; }
  bool CanRaise() const { return true; }
  bool HasTrackList() const { return false; }
  QString Identity() const;
  QString DesktopEntry() const;
  // The schemes GStreamer's installed sources read, looked up when first asked.
  QStringList SupportedUriSchemes();
  // The types of the media and list files the player opens, looked up when first asked.
  QStringList SupportedMimeTypes();

 public Q_SLOTS:
  void Raise();
  void Quit();

 private:
  CMainFrame& frame_;
  QStringList mimeTypes_;
  QStringList schemes_;
};

}  // namespace lumivox
