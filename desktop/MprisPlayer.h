#pragma once
// The MPRIS2 player interface. Its methods and settable properties run the commands the
// menus run, through the frame, so each command's enable rule holds for them too; its
// properties read the document and the commands' states as they are now.

#include <QDBusAbstractAdaptor>
#include <QDBusObjectPath>
#include <QVariantMap>

#include <cstdint>

namespace lumivox {

class CMainFrame;
class CPlayerDoc;

class MprisPlayer final : public QDBusAbstractAdaptor {
  Q_OBJECT
  Q_CLASSINFO("D-Bus Interface", "org.mpris.MediaPlayer2.Player")
  Q_PROPERTY(QString PlaybackStatus READ PlaybackStatus)
  Q_PROPERTY(QString LoopStatus READ LoopStatus WRITE SetLoopStatus)
  Q_PROPERTY(double Rate READ Rate WRITE SetRate)
  Q_PROPERTY(bool Shuffle READ Shuffle WRITE SetShuffle)
  Q_PROPERTY(QVariantMap Metadata READ Metadata)
  Q_PROPERTY(double Volume READ Volume WRITE SetVolume)
  Q_PROPERTY(qlonglong Position READ Position)
  Q_PROPERTY(double MinimumRate READ Rate)
  Q_PROPERTY(double MaximumRate READ Rate)
  Q_PROPERTY(bool CanGoNext READ CanGoNext)
  Q_PROPERTY(bool CanGoPrevious READ CanGoPrevious)
  Q_PROPERTY(bool CanPlay READ CanPlay)
  Q_PROPERTY(bool CanPause READ CanPause)
  Q_PROPERTY(bool CanSeek READ CanSeek)
  Q_PROPERTY(bool CanControl READ CanControl CONSTANT)

 public:
  MprisPlayer(QObject* host, CMainFrame& frame, CPlayerDoc& doc);

  QString PlaybackStatus() const;
  QString LoopStatus() const;
  void SetLoopStatus(const QString& status);
  // One speed only; a client setting 0 asks for a pause.
  double Rate() const { return 1.0; }
  void SetRate(double rate);
  bool Shuffle() const;
  void SetShuffle(bool on);
  QVariantMap Metadata() const;
  // The volume the volume commands act on; 0 when it cannot be read.
  double Volume() const;
  void SetVolume(double volume);
  // Microseconds.
  qlonglong Position() const;
  bool CanGoNext() const;
  bool CanGoPrevious() const;
  bool CanPlay() const;
  bool CanPause() const;
  bool CanSeek() const;
  bool CanControl() const { return true; }

  // Every property that changes other than by playing on, by name: what a
  // PropertiesChanged signal reports when it differs.
  QVariantMap WatchedProperties() const;

 public Q_SLOTS:
  void Next();
  void Previous();
  void Pause();
  void PlayPause();
  void Stop();
  void Play();
  void Seek(qlonglong offset);
  void SetPosition(const QDBusObjectPath& track, qlonglong position);
  void OpenUri(const QString& uri);

 Q_SIGNALS:
  void Seeked(qlonglong position);

 private:
  bool Enabled(int id) const;
  bool Reachable() const;
  // Runs a command as its menu item does.
  void Run(int id);
  // The current file's id, or the no-track id when none is open.
  QDBusObjectPath TrackId() const;

  CMainFrame& frame_;
  CPlayerDoc& doc_;
};

}  // namespace lumivox
