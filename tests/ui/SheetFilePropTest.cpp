// The file properties: size and time texts with a fixed locale, and the page for an entry.

#include <gtest/gtest.h>

#include <QLabel>

#include <filesystem>

#include "DialogAnswer.h"
#include "TempDir.h"
#include "playlist/EntryList.h"
#include "ui/PlaylistIcons.h"
#include "ui/SheetFileProp.h"

namespace lumivox::test {
namespace {

TEST(SheetFileProp, SizeTextFollowsTheUnitThresholdsWithTheLocalesGrouping) {
  const QLocale us(QLocale::English, QLocale::UnitedStates);
  const struct {
    std::uint64_t size;
    const char* text;
  } cases[] = {{0, ""},
               {500, " (500 bytes)"},
               {1024, " (1,024 bytes)"},
               {1025, "1.00 KB (1,025 bytes)"},
               {1572864, "1.50 MB (1,572,864 bytes)"},
               {1073741824, "1,024.00 MB (1,073,741,824 bytes)"},
               {1073741825, "1.00 GB (1,073,741,825 bytes)"},
               {4294967296, ""}};
  for (const auto& c : cases) EXPECT_EQ(FileSizeText(c.size, us), c.text) << c.size;
  EXPECT_EQ(FileSizeText(1025, QLocale(QLocale::German, QLocale::Germany)), "1,00 KB (1.025 bytes)");
}

TEST(SheetFileProp, ModifiedTextIsTheShortDateAndTheTimeWithSeconds) {
  const QDateTime at(QDate(2026, 3, 4), QTime(17, 5, 9));
  EXPECT_EQ(ModifiedText(at, QLocale(QLocale::English, QLocale::UnitedStates)), "3/4/26 5:05:09 PM");
  EXPECT_EQ(ModifiedText(at, QLocale(QLocale::German, QLocale::Germany)), "04.03.26 17:05:09");
}

TEST(SheetFileProp, ThePageShowsWhatTheEntryAndTheFileTell) {
  TempDir dir;
  EntryList entries;
  const std::string path = dir.Write("song.mp3", std::string(2048, 'x'));
  PlaylistEntry& entry = *entries.Append(path);
  entry.duration = 5'400'000'000;
  entry.cannotPlay = true;
  PlaylistIcons icons;
  std::map<QString, QString> shown;
  const auto read = [&shown](QWidget* sheet) {
    for (const QLabel* label : sheet->findChildren<QLabel*>()) {
      if (!label->objectName().isEmpty())
        shown[label->objectName()] = label->isVisibleTo(sheet) ? label->text() : "hidden";
    }
    qobject_cast<QDialog*>(sheet)->accept();
  };
  WhenDialogShows(read);
  CSheetFileProp("Properties", icons).ShowEntry(&entry);
  EXPECT_EQ(shown["1007"], "song.mp3");
  EXPECT_EQ(shown["1008"], QString::fromStdString(path));
  EXPECT_EQ(shown["1009"], FileSizeText(2048, QLocale())) << "the user's locale";
  EXPECT_FALSE(shown["1010"].isEmpty());
  EXPECT_EQ(shown["1011"], "9:00");
  EXPECT_EQ(shown["1013"], "") << "never opened with a video";
  EXPECT_EQ(shown["1036"], "This file cannot be played.");

  // A stream's URL is its location, never a file name, even where it would name one.
  const std::string url = "http://radio.test/song.mp3";
  dir.Write("http:/radio.test/song.mp3", "x");
  const std::filesystem::path folder = std::filesystem::current_path();
  std::filesystem::current_path(dir.path());
  shown.clear();
  WhenDialogShows(read);
  CSheetFileProp("Properties", icons).ShowEntry(entries.Append(url));
  std::filesystem::current_path(folder);
  EXPECT_EQ(shown["1008"], QString::fromStdString(url));
  EXPECT_EQ(shown["1009"], "");
  EXPECT_EQ(shown["1010"], "");
}

}  // namespace
}  // namespace lumivox::test
