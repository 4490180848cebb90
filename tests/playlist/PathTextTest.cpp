#include <gtest/gtest.h>

#include <QLocale>

#include <algorithm>
#include <string>
#include <vector>

#include "playlist/FolderOrder.h"
#include "playlist/MediaTypes.h"
#include "playlist/PathText.h"

namespace lumivox {
namespace {

TEST(PathText, LowerCasingIsUnicodeAwareAndKeepsInvalidBytes) {
  EXPECT_EQ(Utf8ToLower("C:/Music/A.MP3"), "c:/music/a.mp3");
  EXPECT_EQ(Utf8ToLower("ÄÖÜ ΣΑΣ Жук"), "äöü σασ жук");
  EXPECT_EQ(Utf8ToLower("X\xC3\x28Y\xFF"), "x\xC3\x28y\xFF");  // broken sequences pass through
}

TEST(PathText, CaseInsensitiveEqualityAgreesWithItsHash) {
  const std::string longName(300, 'Q');  // beyond one hashing block
  const std::vector<std::pair<std::string, std::string>> same = {
      {"/Music/A.MP3", "/music/a.mp3"},
      {"/x/ÄRGER.wav", "/x/ärger.WAV"},
      {"", ""},
      {"@[`{AZaz", "@[`{azaz"},  // the bytes around the letters
      {"/X/\xE2\x84\xAA"
       "ELVIN/" +
           longName,
       "/x/kelvin/" + Utf8ToLower(longName)},  // Kelvin sign folds to k
      {"\xFF" + longName + "\xC3\x84", "\xFF" + Utf8ToLower(longName) + "\xC3\xA4"}};
  for (const auto& [a, b] : same) {
    EXPECT_TRUE(EqualIgnoringCase(a, b)) << a;
    EXPECT_EQ(HashIgnoringCase(a), HashIgnoringCase(b)) << a;
  }
  const std::vector<std::pair<std::string, std::string>> different = {
      {"/a.mp3", "/a.mp"}, {"a\xFF", "a\xFE"}, {"a\xC3", "a\xC3\xA4"}, {"./a.mp3", "a.mp3"}, {"@[AAAAAA", "`{aaaaaa"}};
  for (const auto& [a, b] : different) {
    EXPECT_FALSE(EqualIgnoringCase(a, b)) << a << " / " << b;
    EXPECT_NE(HashIgnoringCase(a), HashIgnoringCase(b)) << a << " / " << b;
  }
}

TEST(PathText, TitlesFoldersAndJoins) {
  EXPECT_EQ(TitleOf("/music/a b.mp3"), "a b.mp3");
  EXPECT_EQ(TitleOf("relative.mp3"), "relative.mp3");
  EXPECT_EQ(TitleOf("/music/"), "");
  EXPECT_EQ(JoinPath("/music", "a.mp3"), "/music/a.mp3");
  EXPECT_EQ(JoinPath("/music/", "a.mp3"), "/music/a.mp3");
  EXPECT_EQ(JoinPath("/", "a.mp3"), "/a.mp3");
  EXPECT_EQ(FolderOf("/music/a.mp3"), "/music");
  EXPECT_EQ(FolderOf("/a.mp3"), "/");
  EXPECT_EQ(FolderOf("a.mp3"), "");
}

TEST(PathText, ListExtensionKeyTakesFourBytesFromTheLastDot) {
  const std::vector<std::pair<std::string, std::string>> cases = {{"/x/LIST.M3U", ".m3u"},  {"/x/list.m3u8", ".m3u"},
                                                                  {"/x/list.plsx", ".pls"}, {"/my.lists/x", ".lis"},
                                                                  {"/x/noext", ""},         {"/x/a.p", ".p"}};
  for (const auto& [path, key] : cases) EXPECT_EQ(ListExtensionKey(path), key) << path;
}

TEST(MediaTypes, SupportedAndListFilesByExtension) {
  const std::vector<std::pair<std::string, bool>> media = {
      {"/m/A.MP3", true},   {"/m/a.AiFf", true}, {"/m/b.asf", true},  {"/m/b.wav", true},
      {"/m/a.mp3x", false}, {"/m/a.mp", false},  {"/m/mp3", false},   {"/m.mp3/readme", false},
      {"/m/a.", false},     {"/m/a.m3u", false}, {"/m/a.FLAC", true}, {"/m/b.webm", true},
      {"/m/c.Opus", true},  {"/m/d.mkv", true},  {"/m/e.m4b", false}, {"/m/f.flac2", false}};
  for (const auto& [path, expected] : media) EXPECT_EQ(IsSupportedFile(path), expected) << path;

  // Which names are lists is the list formats' rule; see PlaylistFileTest.
  EXPECT_TRUE(IsPlaylistFile("/l/a.M3U"));
  EXPECT_FALSE(IsPlaylistFile("/l/a.txt"));
}

// A folder's files come in the order a file manager shows them in the user's language.
TEST(FolderOrder, TitlesSortByLocaleCollationCaseInsensitiveAndNumericAware) {
  const QLocale previous;
  QLocale::setDefault(QLocale(QLocale::French, QLocale::France));
  std::vector<std::string> paths = {"/z/track10.mp3", "/a/Track2.mp3", "/track1.mp3", "/Zebra.wav", "/Été.wav",
                                    "/ete.wav",       "/x0010",        "/x9",         "/b.wav",     "/A.wav"};
  SortInFolderOrder(paths);
  QLocale::setDefault(previous);
  const std::vector<std::string> expected = {"/A.wav",        "/b.wav",         "/ete.wav", "/Été.wav", "/track1.mp3",
                                             "/a/Track2.mp3", "/z/track10.mp3", "/x9",      "/x0010",   "/Zebra.wav"};
  EXPECT_EQ(paths, expected);
  std::vector<std::string> equal = {"/2/same", "/1/same", "/3/SAME"};  // collate equal: bytes decide
  SortInFolderOrder(equal);
  EXPECT_EQ(equal, (std::vector<std::string>{"/3/SAME", "/2/same", "/1/same"}));
}

}  // namespace
}  // namespace lumivox
