#include "desktop/MprisPlayer.h"

#include <QApplication>
#include <QFileInfo>
#include <QMetaProperty>
#include <QUrl>

#include <algorithm>
#include <array>
#include <cmath>
#include <utility>

#include "desktop/DesktopLog.h"
#include "engine/SourceFilters.h"
#include "playlist/ListNames.h"
#include "playlist/PlayerDoc.h"
#include "res/ResourceIds.h"
#include "ui/MainFrame.h"

namespace lumivox {
namespace {

constexpr std::int64_t kUnitsPerMicrosecond = 10;
constexpr char kNoTrack[] = "/org/mpris/MediaPlayer2/TrackList/NoTrack";

// Loop status names and the repeat commands that set them.
constexpr std::array<std::pair<const char*, int>, 3> kLoopStatus = {
    {{"None", ID_REPEAT_NONE}, {"Playlist", ID_REPEAT_ALL}, {"Track", ID_REPEAT_ONE}}};

}  // namespace

MprisPlayer::MprisPlayer(QObject* host, CMainFrame& frame, CPlayerDoc& doc)
    : QDBusAbstractAdaptor(host), frame_(frame), doc_(doc) {}

bool MprisPlayer::Enabled(int id) const { return frame_.StateOf(id).enabled; }

// As with the menus, nothing runs while a dialog of the player waits for an answer.
bool MprisPlayer::Reachable() const { return QApplication::activeModalWidget() == nullptr; }

void MprisPlayer::Run(int id) {
  if (Reachable()) frame_.OnCommand(id);
}

QString MprisPlayer::PlaybackStatus() const {
  if (!doc_.engine().IsOpen()) return "Stopped";
  switch (doc_.engine().RequestedState()) {
    case State_Running: return "Playing";
    case State_Paused: return "Paused";
    default: return "Stopped";
  }
}

// A stored mode that names none repeats nothing.
QString MprisPlayer::LoopStatus() const {
  for (const auto& [name, id] : kLoopStatus) {
    if (frame_.StateOf(id).checked) return name;
  }
  return "None";
}

void MprisPlayer::SetLoopStatus(const QString& status) {
  for (const auto& [name, id] : kLoopStatus) {
    if (status == name) {
      Run(id);
      return;
    }
  }
  qCInfo(lcDesktop) << "no loop status" << status;
}

void MprisPlayer::SetRate(double rate) {
  if (rate == 0.0) Pause();
}

bool MprisPlayer::Shuffle() const { return doc_.shuffle(); }

void MprisPlayer::SetShuffle(bool on) {
  if (on != doc_.shuffle()) Run(ID_PLAY_SHUFFLE);
}

QDBusObjectPath MprisPlayer::TrackId() const {
  if (!doc_.engine().IsOpen() || !doc_.GetEntry(doc_.GetCurrentIndex())) return QDBusObjectPath(kNoTrack);
  return QDBusObjectPath(QStringLiteral("/org/lumivox/track/%1").arg(doc_.GetCurrentIndex()));
}

QVariantMap MprisPlayer::Metadata() const {
  QVariantMap metadata{{"mpris:trackid", QVariant::fromValue(TrackId())}};
  const PlaylistEntry* entry = doc_.GetEntry(doc_.GetCurrentIndex());
  if (!entry || !doc_.engine().IsOpen()) return metadata;
  const QString path = QString::fromUtf8(entry->path().data(), static_cast<qsizetype>(entry->path().size()));
  metadata["xesam:title"] = QString::fromUtf8(entry->title().data(), static_cast<qsizetype>(entry->title().size()));
  metadata["xesam:url"] =
      IsStreamName(entry->path())
          ? path
          : QString::fromLatin1(QUrl::fromLocalFile(QFileInfo(path).absoluteFilePath()).toEncoded());
  if (entry->durationKnown()) metadata["mpris:length"] = qlonglong{entry->duration / kUnitsPerMicrosecond};
  return metadata;
}

double MprisPlayer::Volume() const {
  const int percent = doc_.Volume();
  return percent == -1 ? 0.0 : percent / 100.0;
}

void MprisPlayer::SetVolume(double volume) {
  if (Reachable()) doc_.SetVolume(static_cast<int>(std::lround(std::clamp(volume, 0.0, 1.0) * 100)));
}

qlonglong MprisPlayer::Position() const {
  std::int64_t duration = 0, position = 0;
  return doc_.GetDurationAndPosition(duration, position) ? position / kUnitsPerMicrosecond : 0;
}

bool MprisPlayer::CanGoNext() const { return Enabled(ID_PLAY_NEXT_TRACK); }
bool MprisPlayer::CanGoPrevious() const { return Enabled(ID_PLAY_PREVIOUS_TRACK); }
bool MprisPlayer::CanPlay() const { return Enabled(ID_PLAY_PLAYPAUSE); }
bool MprisPlayer::CanPause() const { return Enabled(ID_PLAY_PLAYPAUSE); }
// The skips' rule: the engine knows the length and the position.
bool MprisPlayer::CanSeek() const { return Enabled(ID_PLAY_REWIND); }

QVariantMap MprisPlayer::WatchedProperties() const {
  QVariantMap properties;
  const QMetaObject& type = *metaObject();
  for (int i = type.propertyOffset(); i < type.propertyCount(); ++i) {
    const QMetaProperty property = type.property(i);
    if (qstrcmp(property.name(), "Position") != 0) properties[property.name()] = property.read(this);
  }
  return properties;
}

void MprisPlayer::Next() { Run(ID_PLAY_NEXT_TRACK); }
void MprisPlayer::Previous() { Run(ID_PLAY_PREVIOUS_TRACK); }
void MprisPlayer::PlayPause() { Run(ID_PLAY_PLAYPAUSE); }
void MprisPlayer::Stop() { Run(ID_PLAY_STOP); }
void MprisPlayer::Play() { Run(ID_TOOLBAR_PLAY); }

// The tool bar's Pause resumes a paused file; this one only pauses.
void MprisPlayer::Pause() {
  if (doc_.engine().RequestedState() == State_Running) Run(ID_TOOLBAR_PAUSE);
}

// Past the end is the next track; before the start is the start.
void MprisPlayer::Seek(qlonglong offset) {
  std::int64_t duration = 0, position = 0;
  if (!Reachable() || !CanSeek() || !doc_.engine().GetTimes(&duration, &position)) return;
  const std::int64_t target = std::max<std::int64_t>(position + offset * kUnitsPerMicrosecond, 0);
  if (target > duration) {
    Next();
    return;
  }
  frame_.SeekTo(target);
}

// Only within the current track, whose id the client names.
void MprisPlayer::SetPosition(const QDBusObjectPath& track, qlonglong position) {
  std::int64_t duration = 0, current = 0;
  if (!Reachable() || track != TrackId() || !CanSeek() || !doc_.engine().GetTimes(&duration, &current)) return;
  const std::int64_t target = position * kUnitsPerMicrosecond;
  if (target < 0 || target > duration) return;
  frame_.SeekTo(target);
}

// As a later start's names: the file replaces the list and plays.
void MprisPlayer::OpenUri(const QString& uri) {
  const QUrl url(uri);
  if (!Reachable()) return;
  if (url.isLocalFile()) return doc_.OnDropFiles({url.toLocalFile().toStdString()});
  if (!IsReadableStream(uri.toStdString())) {
    qCInfo(lcDesktop) << "OpenUri: no installed source reads" << uri;
    return;
  }
  doc_.OnDropFiles({uri.toStdString()});
}

}  // namespace lumivox
