#include <fcntl.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "TempDir.h"
#include "playlist/PlaylistFile.h"
#include "playlist/formats/FileReplacer.h"

namespace lumivox {
namespace {

namespace fs = std::filesystem;
using Names = std::vector<std::string>;

// The names a list file holds; TRUE when its reader ran to its end.
bool ReadNames(const std::string& path, Names& names) {
  return ReadPlaylist(path, [&names](std::string_view name) { names.emplace_back(name); });
}

// Which bytes make the key is PathTextTest's; here each key's format.
TEST(ListFormatOf, PicksTheFormatByTheFourBytesFromTheLastDot) {
  const std::pair<std::string_view, ListFormat> cases[] = {
      {"/music/LIST.M3U", ListFormat::M3u},
      {"/music/list.m3u8", ListFormat::M3u},
      {"/a/b.PLS", ListFormat::Pls},
      {"b.Lst", ListFormat::Lst},
      {"b.aal", ListFormat::Album},
      {"b.VAL", ListFormat::Album},
      {"/music/list.txt", ListFormat::None},
      {"/my.m3u/x", ListFormat::M3u},
      {"list.\xC3\x84"
       "al",
       ListFormat::None},
  };
  for (const auto& [path, format] : cases) EXPECT_EQ(ListFormatOf(path), format) << path;
}

std::string Pls(std::string_view keys) { return "[playlist]\n" + std::string(keys); }

TEST(ReadPlaylist, HandsOnEveryNameInFileOrder) {
  const std::string bom = "\xEF\xBB\xBF";
  std::string album = "_1.00\n";  // past file_999 the keys grow to four digits
  Names albumNames;
  for (int k = 0; k <= 1000; ++k) {
    char line[32];
    std::snprintf(line, sizeof line, "file_%03d=\"%d\"\n", k, k);
    album += line;
    albumNames.push_back(std::to_string(k));
  }
  // Names enough to fill several of the reader's blocks, in order and backwards.
  std::string plsForth = "[playlist]\n", plsBack = plsForth;
  Names plsNames;
  for (int n = 1, back = 3000; n <= 3000; ++n, --back) {
    plsNames.push_back("/music/a rather long folder name/and a long file name " + std::to_string(n) + ".mp3");
    plsForth += "File" + std::to_string(n) + "=" + plsNames.back() + "\n";
    plsBack += "File" + std::to_string(back) + "=/music/a rather long folder name/and a long file name " +
               std::to_string(back) + ".mp3\n";
  }
  plsForth += "NumberOfEntries=3000\nVersion=2\n";
  plsBack += "NumberOfEntries=3000\nVersion=2\n";
  const struct {
    const char* file;
    std::string bytes;
    bool ok;
    Names names;
  } cases[] = {
      {"a.M3U8",
       bom + "#EXTM3U\n#EXTINF:245,song\n/m/\xE6\x97\xA5.mp3\n#EXTINF:-1,c\nc.avi\n",
       true,
       {"/m/\xE6\x97\xA5.mp3", "c.avi"}},
      // Only trailing spaces go; an empty line is a name.
      {"b.m3u",
       "  /m/a.mp3  \r\n\r\n\t/t.mp3\t  \n#x\n #y\nlast",
       true,
       {"  /m/a.mp3", "", "\t/t.mp3\t", " #y", "last"}},
      {"a.lst", bom + "#comment\n\n /a %d.mp3 \r\n/b", true, {"#comment", "", " /a %d.mp3", "/b"}},
      {"a.txt", "/a.mp3\n", false, {}},
      {"a.pls",
       bom + "[Playlist]\r\nnumberofentries=2\r\n version = 2 \r\nfile1= \"/a\" \r\n"
             "FILE2='\"/b\"'\r\n",
       true,
       {"/a", "\"/b\""}},
      {"b.pls", Pls("File1=/a\nNumberOfEntries=1\nVersion=3\n"), false, {}},
      {"c.pls", Pls("File1=/a\nNumberOfEntries=1\n"), false, {}},
      {"d.pls", Pls("File1=/a\nVersion=2\n"), false, {}},
      {"e.pls", Pls("File1=/a\nNumberOfEntries=0\nVersion=2\n"), false, {}},
      {"f.pls", Pls("File1=/a\nNumberOfEntries=-1\nVersion=2\n"), true, {}},
      {"g.pls", Pls("File1=/a\nNumberOfEntries=4294967295\nVersion=2\n"), true, {}},
      // A missing or empty File<n> ends the list; the names before it stay.
      {"h.pls", Pls("File1=/a\nFile2=/b\nNumberOfEntries=2147483647\nVersion=2\n"), false, {"/a", "/b"}},
      {"i.pls", Pls("File1=/a\nFile3=/c\nNumberOfEntries=3\nVersion=2\n"), false, {"/a"}},
      {"j.pls", Pls("File1=/a\nFile2=\nNumberOfEntries=2\nVersion=2\n"), false, {"/a"}},
      {"k.pls", Pls("File1=/a\nFile2=/b\nNumberOfEntries=1\nVersion=2abc\n"), true, {"/a"}},
      // In number order; of equal keys the first counts.
      {"l.pls",
       Pls("File2=/b\nTitle1=t\nFile1=/a\nfile1=/dup\nFile01=/zero\nNumberOfEntries=2\n"
           "Version=2\nVersion=3\nNumberOfEntries=1\n"),
       true,
       {"/a", "/b"}},
      {"m.pls", plsForth, true, plsNames},
      {"n.pls", plsBack, true, plsNames},
      {"a.aal", "_1.00\nfile_000=\"/a b.mp3\"\nfile_002=\"/c\"\n", true, {"/a b.mp3"}},
      {"b.val", "_1.00 video\r\nfile_001=\"/b\"\r\nfile_000=\"/a\"\r\n", true, {"/a"}},
      // Between the first and the last quote; a line with one quote is no entry.
      {"c.aal", "_1.00\nfile_000=\"one\nother\nfile_000 = x\"/a\" \"end\"\nfile_001\"\"\n", true, {"/a\" \"end", ""}},
      {"d.aal", bom + "_1.00\r\nFILE_000=\"/x\"\r\nfile_000=\"/a\"\r\n", true, {"/a"}},
      {"e.aal", "_1.0\nfile_000=\"/a\"\n", false, {}},
      {"f.aal", "\n_1.00\nfile_000=\"/a\"\n", false, {}},
      {"g.aal", album, true, albumNames},
  };
  for (const auto& c : cases) {
    test::TempDir dir;
    Names names;
    EXPECT_EQ(ReadNames(dir.Write(c.file, c.bytes), names), c.ok) << c.file;
    EXPECT_EQ(names, c.names) << c.file;
  }
}

struct Item {
  std::string path;
  std::int64_t duration = kUnknownDuration;
};

struct Entries : EntryList {
  explicit Entries(const std::vector<Item>& items) {
    for (const auto& item : items) Append(item.path)->duration = item.duration;
  }
};

// Sorted, so that a temporary file left behind shows.
Names FilesIn(const fs::path& folder) {
  Names files;
  for (const auto& item : fs::directory_iterator(folder)) files.push_back(item.path().filename());
  std::sort(files.begin(), files.end());
  return files;
}

// Seconds are cut toward zero and to 32 bits; a path ending in '/' has an empty title.
const std::vector<Item> kItems = {{"/music/song.mp3", 2'456'000'000},
                                  {"/d/clip.avi"},
                                  {"/a%d%s.mp3", 0},
                                  {"/b", 9'999'999},
                                  {"/c", -15'000'000},
                                  {"/music/", 36'000'000'000},
                                  {"/e", ((std::int64_t{1} << 32) + 245) * kUnitsPerSecond}};

TEST(SavePlaylist, ReplacesTheOldFileWithExactlyTheseBytes) {
  const std::string old(1000, '#');  // longer than any new list, so a stale tail would show
  std::vector<Item> many;            // many times the writers' output block
  std::string manyLst;
  for (int i = 0; i < 20'000; ++i) {
    many.push_back({"/m/\xE6\x97\xA5 " + std::to_string(i)});
    manyLst += many.back().path + "\n";
  }
  const struct {
    const char* file;
    std::vector<Item> items;
    std::string bytes;
  } cases[] = {
      {"a.m3u", kItems,
       "#EXTM3U\n#EXTINF:245,song.mp3\n/music/song.mp3\n#EXTINF:-1,clip.avi\n/d/clip.avi\n"
       "#EXTINF:0,a%d%s.mp3\n/a%d%s.mp3\n#EXTINF:0,b\n/b\n#EXTINF:-1,c\n/c\n"
       "#EXTINF:3600,\n/music/\n#EXTINF:245,e\n/e\n"},
      {"a.pls", kItems,
       "[playlist]\nFile1=/music/song.mp3\nTitle1=song.mp3\nLength1=245\nFile2=/d/clip.avi\n"
       "Title2=clip.avi\nFile3=/a%d%s.mp3\nTitle3=a%d%s.mp3\nLength3=0\nFile4=/b\nTitle4=b\n"
       "Length4=0\nFile5=/c\nTitle5=c\nLength5=-1\nFile6=/music/\nLength6=3600\nFile7=/e\n"
       "Title7=e\nLength7=245\nNumberOfEntries=7\nVersion=2\n"},
      {"b.pls", {}, "[playlist]\nNumberOfEntries=0\nVersion=2\n"},
      {"a.lst", kItems, "/music/song.mp3\n/d/clip.avi\n/a%d%s.mp3\n/b\n/c\n/music/\n/e\n"},
      {"b.m3u", {}, "#EXTM3U\n"},
      {"b.lst", {}, ""},
      {"c.lst", many, manyLst},
      // Album files and other names are never written.
      {"a.aal", kItems, old},
      {"a.val", kItems, old},
      {"a.txt", kItems, old},
      {"noextension", kItems, old},
  };
  for (const auto& c : cases) {
    test::TempDir dir;
    const std::string list = dir.Write(c.file, old);
    EXPECT_EQ(SavePlaylist(list, Entries(c.items)), c.bytes != old) << c.file;
    EXPECT_EQ(test::TempDir::Read(list), c.bytes) << c.file;
    EXPECT_EQ(FilesIn(dir.path()), Names{c.file}) << c.file;
  }
}

TEST(SavePlaylist, KeepsPermissionsAndSymbolicLinks) {
  test::TempDir dir;
  const std::string real = dir.Write("real.m3u", "old");
  ASSERT_EQ(::chmod(real.c_str(), 0640), 0);
  fs::create_symlink("real.m3u", dir / "link.m3u");
  ASSERT_TRUE(SavePlaylist(dir / "link.m3u", Entries({{"/a"}})));
  EXPECT_TRUE(fs::is_symlink(dir / "link.m3u"));
  EXPECT_EQ(test::TempDir::Read(real), "#EXTM3U\n#EXTINF:-1,a\n/a\n");
  EXPECT_EQ(fs::status(real).permissions() & fs::perms::all, fs::perms(0640));
  EXPECT_EQ(FilesIn(dir.path()), (Names{"link.m3u", "real.m3u"}));
}

// Refused at once: a FIFO must never make a reader or writer wait for its other end.
TEST(SavePlaylist, FifosAndFoldersAreRefusedAtOnce) {
  test::TempDir dir;
  const std::string fifo = dir / "fifo.m3u";
  ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
  fs::create_directory(dir / "folder.pls");
  const auto refuse = [&] {
    ::alarm(5);  // ends a child stuck on the FIFO instead of hanging the test
    int refused = 0;
    for (const std::string& name : {fifo, dir / "folder.pls", dir / "missing/x.lst"}) {
      Names names;
      refused += !ReadNames(name, names) && names.empty() && !SavePlaylist(name, Entries({}));
    }
    return refused;
  };
  EXPECT_EXIT(std::_Exit(refuse() == 3 ? 0 : 1), ::testing::ExitedWithCode(0), "");
  EXPECT_TRUE(fs::is_fifo(fifo) && fs::is_directory(dir / "folder.pls"));
  EXPECT_EQ(FilesIn(dir.path()), (Names{"fifo.m3u", "folder.pls"}));
}

// The temporary name would not fit in PATH_MAX here, but it is made relative to the folder.
TEST(SavePlaylist, ReplacesAListWhoseNameNearlyFillsPathMax) {
  test::TempDir dir;
  std::string folder(4080 - dir.path().string().size(), 'd');
  for (std::size_t i = 200; i + 1 < folder.size(); i += 201) folder[i] = '/';
  const std::string list = dir.Write(folder + "/l.lst", "old list, longer than the new one");
  EXPECT_TRUE(SavePlaylist(list, Entries({{"/new"}})));
  EXPECT_EQ(test::TempDir::Read(list), "/new\n");
  EXPECT_EQ(FilesIn(fs::path(list).parent_path()), Names{"l.lst"});
}

bool Replace(const std::string& path, const std::string& bytes, FileCalls& calls) {
  return ReplaceFileContents(
      path, [&](ByteSink& sink) { return sink.Write(bytes); }, calls);
}

// Fails one call as a full disk, a quota or a folder that takes no new files does.
class FailingCalls final : public FileCalls {
 public:
  FailingCalls(std::string_view call, int error) : call_(call), error_(error) {}
  int OpenAt(int folder, const char* name, int flags, mode_t mode) override {
    return call_ == "create" && (flags & O_EXCL) ? Fail() : FileCalls::OpenAt(folder, name, flags, mode);
  }
  ssize_t Write(int fd, const void* bytes, std::size_t size) override {
    return call_ == "write" ? Fail() : FileCalls::Write(fd, bytes, size);
  }
  int SyncData(int fd) override { return call_ == "sync" ? Fail() : FileCalls::SyncData(fd); }

 private:
  int Fail() const {
    errno = error_;
    return -1;
  }
  std::string_view call_;
  int error_;
};

TEST(ReplaceFileContents, AFullDiskKeepsTheOldFileAndOnlyAClosedFolderIsWrittenInPlace) {
  const struct {
    std::string_view call;
    int error;
    bool inPlace;
  } cases[] = {{"create", ENOSPC, false}, {"create", EDQUOT, false}, {"create", EMFILE, false},
               {"write", EDQUOT, false},  {"sync", ENOSPC, false},   {"create", EACCES, true},
               {"create", EPERM, true},   {"create", EROFS, true}};
  const std::string old(100'000, 'o');  // longer than one output block
  for (const auto& c : cases) {
    test::TempDir dir;
    const std::string list = dir.Write("a.lst", old);
    FailingCalls calls(c.call, c.error);
    EXPECT_EQ(Replace(list, "/new\n", calls), c.inPlace) << c.call << ' ' << c.error;
    EXPECT_EQ(test::TempDir::Read(list), c.inPlace ? "/new\n" : old) << c.call << ' ' << c.error;
    EXPECT_EQ(FilesIn(dir.path()), Names{"a.lst"}) << c.call << ' ' << c.error;
  }
}

// A save in a child process that runs `stop` in its first write: it ends there, as a killed
// save does, or waits there, as a save that is still writing does.
class StoppingCalls final : public FileCalls {
 public:
  explicit StoppingCalls(std::function<void()> stop) : stop_(std::move(stop)) {}
  ssize_t Write(int fd, const void* bytes, std::size_t size) override {
    stop_();
    return FileCalls::Write(fd, bytes, size);
  }

 private:
  std::function<void()> stop_;
};

pid_t SaveInChild(const std::string& list, std::function<void()> stop) {
  const pid_t child = ::fork();
  if (child == 0) {
    StoppingCalls calls(std::move(stop));
    std::_Exit(Replace(list, "/child\n", calls) ? 0 : 1);
  }
  return child;
}

int ExitCodeOf(pid_t child) {
  int status = 0;
  return ::waitpid(child, &status, 0) == child && WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

TEST(ReplaceFileContents, RemovesWhatKilledSavesOfTheListLeftAndNothingElse) {
  test::TempDir dir;
  const std::string list = dir.Write("a.pls", "old");
  for (int i = 0; i < 3; ++i) ASSERT_EQ(ExitCodeOf(SaveInChild(list, [] { std::_Exit(9); })), 9);
  ASSERT_EQ(FilesIn(dir.path()).size(), 2u) << "each killed save removed the file of the one before";

  // Named almost like ours, another list's, or not a regular file: never touched.
  Names kept = {"a.pls",
                "a.pls.lumivox-0123456789abcdef.tmp",
                ".a.pls.lumivox-0123456789ABCDEF.tmp",
                ".a.pls.lumivox-0123456789abcde.tmp",
                ".a.pls.lumivox-0123456789abcdef.tmp~",
                ".b.pls.lumivox-0123456789abcdef.tmp"};
  for (std::size_t i = 1; i < kept.size(); ++i) dir.Write(kept[i], "x");
  kept.push_back(".a.pls.lumivox-1111111111111111.tmp");
  fs::create_directory(dir / kept.back());
  kept.push_back(".a.pls.lumivox-2222222222222222.tmp");
  fs::create_symlink("a.pls", dir / kept.back());
  std::sort(kept.begin(), kept.end());

  int started[2];
  int go[2];
  ASSERT_EQ(::pipe(started), 0);
  ASSERT_EQ(::pipe(go), 0);
  const pid_t writer = SaveInChild(list, [&] {
    char byte = 0;
    if (::write(started[1], &byte, 1) != 1 || ::read(go[0], &byte, 1) != 1) std::_Exit(8);
  });
  char byte = 0;
  ASSERT_EQ(::read(started[0], &byte, 1), 1);
  FileCalls system;
  EXPECT_TRUE(Replace(list, "/parent\n", system));
  EXPECT_EQ(test::TempDir::Read(list), "/parent\n");
  const Names during = FilesIn(dir.path());
  EXPECT_EQ(during.size(), kept.size() + 1) << "only the running save's temporary file is added";
  EXPECT_TRUE(std::includes(during.begin(), during.end(), kept.begin(), kept.end()));

  ASSERT_EQ(::write(go[1], &byte, 1), 1);
  EXPECT_EQ(ExitCodeOf(writer), 0);
  EXPECT_EQ(test::TempDir::Read(list), "/child\n");
  EXPECT_EQ(FilesIn(dir.path()), kept);
  for (const int fd : {started[0], started[1], go[0], go[1]}) ::close(fd);
}

}  // namespace
}  // namespace lumivox
