#pragma once
// The file properties sheet: one page of what is known about a playlist entry (icon,
// title, location, size, modification time, duration, video size, whether it failed to
// play). It edits nothing.

#include <QDateTime>
#include <QDialog>
#include <QLocale>
#include <QString>

#include <cstdint>

namespace lumivox {

class PlaylistIcons;
class PlaylistEntry;

class CSheetFileProp final : public QDialog {
 public:
  CSheetFileProp(const QString& caption, PlaylistIcons& icons, QWidget* parent = nullptr);

  // Runs the sheet modally for `entry`; nothing for a null entry.
  void ShowEntry(const PlaylistEntry* entry);

 private:
  PlaylistIcons& icons_;
};

// "1.50 MB (1,572,864 bytes)"; for 1024 bytes and less only " (500 bytes)". Empty when
// nothing is shown: an empty file, or one whose size's low 32 bits are 0.
QString FileSizeText(std::uint64_t size, const QLocale& locale);
// The locale's short date, a space, and its time with seconds.
QString ModifiedText(const QDateTime& modified, const QLocale& locale);

}  // namespace lumivox
