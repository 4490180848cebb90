#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <csignal>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <ostream>
#include <string>
#include <vector>

#include "TempDir.h"
#include "playlist/PlaylistFile.h"

namespace lumivox {
namespace {

namespace fs = std::filesystem;

struct Item {
  std::string path;
  std::int64_t duration = kUnknownDuration;
};

// A document's entry list made of the given paths and durations.
class Entries {
 public:
  explicit Entries(const std::vector<Item>& items) {
    for (const auto& item : items) list_.Append(item.path)->duration = item.duration;
  }
  operator const EntryList&() const { return list_; }

 private:
  EntryList list_;
};

const std::vector<Item> kExample = {{"/music/song.mp3", 2'456'000'000}, {"/d/clip.avi"}};
const std::vector<Item> kOddDurations = {
    {"/a%d%s.mp3", 0},           {"/b", 9'999'999},       {"/c", -15'000'000},
    {"/music/", 36'000'000'000}, {"/e", ((std::int64_t{1} << 32) + 245) * kUnitsPerSecond}};

struct SaveCase {
  const char* file;
  std::vector<Item> items;
  std::string bytes;
};

void PrintTo(const SaveCase& c, std::ostream* out) { *out << c.file; }

class SaveList : public ::testing::TestWithParam<SaveCase> {};

TEST_P(SaveList, WritesExactlyTheseBytes) {
  const SaveCase& c = GetParam();
  test::TempDir dir;
  ASSERT_TRUE(SavePlaylist(dir / c.file, Entries(c.items)));
  EXPECT_EQ(test::TempDir::Read(dir / c.file), c.bytes);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, SaveList,
    ::testing::Values(
        SaveCase{"a.m3u", kExample,
                 "#EXTM3U\n#EXTINF:245,song.mp3\n/music/song.mp3\n"
                 "#EXTINF:-1,clip.avi\n/d/clip.avi\n"},
        SaveCase{"b.M3U8", kOddDurations,
                 "#EXTM3U\n#EXTINF:0,a%d%s.mp3\n/a%d%s.mp3\n#EXTINF:0,b\n/b\n#EXTINF:-1,c\n/c\n"
                 "#EXTINF:3600,\n/music/\n#EXTINF:245,e\n/e\n"},
        SaveCase{"c.m3u", {}, "#EXTM3U\n"},
        SaveCase{"a.pls", kExample,
                 "[playlist]\nFile1=/music/song.mp3\nTitle1=song.mp3\nLength1=245\n"
                 "File2=/d/clip.avi\nTitle2=clip.avi\nNumberOfEntries=2\nVersion=2\n"},
        SaveCase{"b.pls", kOddDurations,
                 "[playlist]\nFile1=/a%d%s.mp3\nTitle1=a%d%s.mp3\nLength1=0\nFile2=/b\nTitle2=b\n"
                 "Length2=0\nFile3=/c\nTitle3=c\nLength3=-1\nFile4=/music/\nLength4=3600\n"
                 "File5=/e\nTitle5=e\nLength5=245\nNumberOfEntries=5\nVersion=2\n"},
        SaveCase{"c.pls", {}, "[playlist]\nNumberOfEntries=0\nVersion=2\n"},
        SaveCase{"a.lst", kExample, "/music/song.mp3\n/d/clip.avi\n"},
        SaveCase{"b.lst", kOddDurations, "/a%d%s.mp3\n/b\n/c\n/music/\n/e\n"},
        SaveCase{"c.lst", {}, ""}));

TEST(SaveRoundTrip, EveryWrittenFormatReadsBackTheSamePaths) {
  const std::vector<Item> items = {
      {"/m/\xE6\x97\xA5 b.mp3", 10}, {"relative/c d.avi"}, {"/x/#hash"}};
  test::TempDir dir;
  for (const char* file : {"x.m3u", "x.pls", "x.lst"}) {
    ASSERT_TRUE(SavePlaylist(dir / file, Entries(items)));
    std::vector<std::string> names;
    EXPECT_TRUE(ReadPlaylist(dir / file, names)) << file;
    const std::vector<std::string> expected = {items[0].path, items[1].path, items[2].path};
    EXPECT_EQ(names, expected) << file;
  }
}

// The temporary file of a save must never stay behind in the folder.
std::vector<std::string> FilesIn(const fs::path& folder) {
  std::vector<std::string> files;
  for (const auto& item : fs::directory_iterator(folder)) files.push_back(item.path().filename());
  std::sort(files.begin(), files.end());
  return files;
}

TEST(SaveReplace, ShorterListReplacesTheOldOneWhole) {
  test::TempDir dir;
  ASSERT_TRUE(SavePlaylist(dir / "l.pls", Entries({{"/1"}, {"/2"}, {"/3"}})));
  ASSERT_TRUE(SavePlaylist(dir / "l.pls", Entries({{"/9"}})));
  EXPECT_EQ(test::TempDir::Read(dir / "l.pls"),
            "[playlist]\nFile1=/9\nTitle1=9\nNumberOfEntries=1\nVersion=2\n");
  EXPECT_EQ(FilesIn(dir.path()), std::vector<std::string>{"l.pls"});
}

TEST(SaveReplace, RefusedNamesTouchNothing) {
  test::TempDir dir;
  for (const char* file : {"a.aal", "a.val", "a.txt", "noextension"}) {
    const std::string old = dir.Write(file, "old");
    EXPECT_FALSE(SavePlaylist(old, Entries(kExample))) << file;
    EXPECT_EQ(test::TempDir::Read(old), "old") << file;
    EXPECT_FALSE(SavePlaylist(dir / (std::string("new") + file), Entries(kExample))) << file;
  }
  const std::vector<std::string> untouched = {"a.aal", "a.txt", "a.val", "noextension"};
  EXPECT_EQ(FilesIn(dir.path()), untouched);
}

TEST(SaveReplace, KeepsPermissionsAndSymbolicLinks) {
  test::TempDir dir;
  const std::string real = dir.Write("real.m3u", "old");
  ASSERT_EQ(::chmod(real.c_str(), 0640), 0);
  fs::create_symlink("real.m3u", dir / "link.m3u");
  ASSERT_TRUE(SavePlaylist(dir / "link.m3u", Entries({{"/a"}})));
  EXPECT_TRUE(fs::is_symlink(dir / "link.m3u"));
  EXPECT_EQ(test::TempDir::Read(real), "#EXTM3U\n#EXTINF:-1,a\n/a\n");
  EXPECT_EQ(fs::status(real).permissions() & fs::perms::all,
            fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
  EXPECT_EQ(FilesIn(dir.path()), (std::vector<std::string>{"link.m3u", "real.m3u"}));
}

TEST(SaveReplace, NonRegularTargetsAreLeftAlone) {
  test::TempDir dir;
  fs::create_directory(dir / "folder.m3u");
  ASSERT_EQ(::mkfifo((dir / "fifo.lst").c_str(), 0600), 0);
  EXPECT_FALSE(SavePlaylist(dir / "folder.m3u", Entries(kExample)));
  EXPECT_FALSE(SavePlaylist(dir / "fifo.lst", Entries(kExample)));
  EXPECT_FALSE(SavePlaylist(dir / "missing/x.lst", Entries(kExample)));
  EXPECT_TRUE(fs::is_directory(dir / "folder.m3u"));
  EXPECT_TRUE(fs::is_fifo(dir / "fifo.lst"));
  EXPECT_EQ(FilesIn(dir.path()), (std::vector<std::string>{"fifo.lst", "folder.m3u"}));
}

// A disk that fills up in the middle of the write, simulated with a file size limit; run
// in a child process. 0 when the save failed as it should.
int SaveUnderSizeLimit(const std::string& list, const EntryList& entries) {
  std::signal(SIGXFSZ, SIG_IGN);
  const rlimit limit{4096, 4096};
  if (::setrlimit(RLIMIT_FSIZE, &limit) != 0) return 2;
  return SavePlaylist(list, entries) ? 1 : 0;
}

TEST(SaveReplace, FailedWriteKeepsTheOldList) {
  test::TempDir dir;
  const std::string list = dir.Write("big.pls", "old list");
  const Entries many(std::vector<Item>(2000, Item{"/a/long/folder/name/entry.mp3", 10}));
  EXPECT_EXIT(std::_Exit(SaveUnderSizeLimit(list, many)), ::testing::ExitedWithCode(0), "");
  EXPECT_EQ(test::TempDir::Read(list), "old list");
  EXPECT_EQ(FilesIn(dir.path()), std::vector<std::string>{"big.pls"});
}

TEST(SaveReplace, WritesInPlaceWhenTheFolderIsNotWritable) {
  if (::geteuid() == 0) GTEST_SKIP() << "permissions do not apply to root";
  test::TempDir dir;
  const std::string list = dir.Write("ro/l.lst", "old");
  ASSERT_EQ(::chmod((dir / "ro").c_str(), 0555), 0);
  EXPECT_TRUE(SavePlaylist(list, Entries({{"/new"}})));
  EXPECT_EQ(test::TempDir::Read(list), "/new\n");
  EXPECT_FALSE(SavePlaylist(dir / "ro/other.lst", Entries({{"/new"}})));
}

}  // namespace
}  // namespace lumivox
