#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <future>
#include <ostream>
#include <string>
#include <vector>

#include "TempDir.h"
#include "playlist/PlaylistFile.h"

namespace lumivox {
namespace {

using Names = std::vector<std::string>;

TEST(ListFormatOf, PicksTheFormatByTheFirstFourBytesOfTheLastDot) {
  const std::pair<std::string_view, ListFormat> cases[] = {
      {"/music/list.m3u", ListFormat::M3u},   {"/music/LIST.M3U", ListFormat::M3u},
      {"/music/list.m3u8", ListFormat::M3u},  {"/a/b.PLS", ListFormat::Pls},
      {"b.plsx", ListFormat::Pls},            {"b.Lst", ListFormat::Lst},
      {"b.aal", ListFormat::Album},           {"b.VAL", ListFormat::Album},
      {"/music/list.txt", ListFormat::None},  {"/music/list", ListFormat::None},
      {"/my.lists/x", ListFormat::None},      {"/my.m3u/x", ListFormat::M3u},
      {"list.m3", ListFormat::None},          {".pls", ListFormat::Pls},
      {"", ListFormat::None},                 {"list.\xC3\x84" "al", ListFormat::None},
  };
  for (const auto& [path, format] : cases) EXPECT_EQ(ListFormatOf(path), format) << path;
}

struct ReadCase {
  const char* file;
  std::string bytes;
  bool result;
  Names names;
};

void PrintTo(const ReadCase& c, std::ostream* out) { *out << c.file; }

class ReadList : public ::testing::TestWithParam<ReadCase> {};

TEST_P(ReadList, GivesTheNamesOfTheFile) {
  const ReadCase& c = GetParam();
  test::TempDir dir;
  Names names = {"kept"};
  EXPECT_EQ(ReadPlaylist(dir.Write(c.file, c.bytes), names), c.result);
  Names expected = {"kept"};
  expected.insert(expected.end(), c.names.begin(), c.names.end());
  EXPECT_EQ(names, expected);
}

INSTANTIATE_TEST_SUITE_P(
    M3u, ReadList,
    ::testing::Values(
        ReadCase{"a.m3u", "#EXTM3U\n#EXTINF:245,song.mp3\n/m/song.mp3\n#EXTINF:-1,c.avi\nc.avi\n",
                 true, {"/m/song.mp3", "c.avi"}},
        ReadCase{"b.m3u", "  /m/a.mp3  \r\n\r\n\t/t.mp3\t  \n#x\nlast", true,
                 {"  /m/a.mp3", "", "\t/t.mp3\t", "last"}},
        ReadCase{"c.M3U8", "\xEF\xBB\xBF/m/\xE6\x97\xA5.mp3\n", true, {"/m/\xE6\x97\xA5.mp3"}},
        ReadCase{"d.m3u", "", true, {}}));

INSTANTIATE_TEST_SUITE_P(
    Lst, ReadList,
    ::testing::Values(ReadCase{"a.lst", "#comment\n\n /a %d.mp3 \r\n", true,
                               {"#comment", "", " /a %d.mp3"}},
                      ReadCase{"b.lst", "\xEF\xBB\xBF/a", true, {"/a"}}));

const std::string kBom = "\xEF\xBB\xBF";

std::string Pls(std::string_view keys) { return "[playlist]\n" + std::string(keys); }

INSTANTIATE_TEST_SUITE_P(
    Pls, ReadList,
    ::testing::Values(
        ReadCase{"a.pls", Pls("File1=/a.mp3\nTitle1=a\nFile2=b\nNumberOfEntries=2\nVersion=2\n"),
                 true, {"/a.mp3", "b"}},
        ReadCase{"b.pls", kBom + "[Playlist]\r\nnumberofentries=1\r\nversion=2\r\nfile1=/a\r\n",
                 true, {"/a"}},
        ReadCase{"c.pls", Pls("File1=/a\nNumberOfEntries=1\nVersion=3\n"), false, {}},
        ReadCase{"d.pls", Pls("File1=/a\nNumberOfEntries=1\n"), false, {}},
        ReadCase{"e.pls", Pls("File1=/a\nFile3=/c\nNumberOfEntries=3\nVersion=2\n"), false, {"/a"}},
        ReadCase{"f.pls", Pls("File1=/a\nFile2=\nNumberOfEntries=2\nVersion=2\n"), false, {"/a"}},
        ReadCase{"g.pls", Pls("File1=/a\nVersion=2\n"), false, {}},
        ReadCase{"h.pls", Pls("File1=/a\nNumberOfEntries=0\nVersion=2\n"), false, {}},
        ReadCase{"i.pls", Pls("File1=/a\nNumberOfEntries=-1\nVersion=2\n"), true, {}},
        ReadCase{"j.pls", Pls("File1=/a\nNumberOfEntries=4294967295\nVersion=2\n"), true, {}},
        ReadCase{"k.pls", Pls("File1=/a\nFile2=/b\nNumberOfEntries=2147483647\nVersion=2\n"), false,
                 {"/a", "/b"}},
        ReadCase{"l.pls", Pls("File1=/a\nFile2=/b\nNumberOfEntries=1\nVersion=2abc\n"), true,
                 {"/a"}},
        ReadCase{"m.pls",
                 Pls("File1=" + std::string(5000, 'x') +
                     "\nFile2=/b\nNumberOfEntries=2\nVersion=2\n"),
                 false, {}},
        ReadCase{"n.pls",
                 Pls("File2=/b\nFile1=/a\nfile1=/dup\nFile01=/zero\nNumberOfEntries=2\n"
                     "Version=2\nVersion=3\nNumberOfEntries=1\n"),
                 true, {"/a", "/b"}},
        ReadCase{"o.pls", Pls("Version=\nVersion=2\nFile1=/a\nNumberOfEntries=1\n"), false, {}},
        ReadCase{"p.pls", Pls("Version=2\nNumberOfEntries=1\n[x]\n[playlist]\nFile1=/a\n"), false,
                 {}}));

INSTANTIATE_TEST_SUITE_P(
    Album, ReadList,
    ::testing::Values(
        ReadCase{"a.aal", "_1.00\nfile_000=\"/a b.mp3\"\nfile_002=\"/c\"\n", true, {"/a b.mp3"}},
        ReadCase{"b.val", "_1.00 video\r\nfile_001=\"/b\"\r\nfile_000=\"/a\"\r\n", true, {"/a"}},
        ReadCase{"c.aal",
                 "_1.00\nfile_000=\"one\nother\nfile_000 = x\"/a\" \"end\"\nfile_001\"\"\n", true,
                 {"/a\" \"end", ""}},
        ReadCase{"d.aal", kBom + "_1.00\r\nFILE_000=\"/x\"\r\nfile_000=\"/a\"\r\n", true, {"/a"}},
        ReadCase{"e.aal", "_1.0\nfile_000=\"/a\"\n", false, {}},
        ReadCase{"f.aal", "", false, {}},
        ReadCase{"g.aal", "\n_1.00\nfile_000=\"/a\"\n", false, {}}));

INSTANTIATE_TEST_SUITE_P(
    Other, ReadList,
    ::testing::Values(ReadCase{"a.txt", "/a.mp3\n", false, {}},
                      ReadCase{"noextension", "/a.mp3\n", false, {}}));

// The thousand-and-first album entry is keyed with four digits.
TEST(ReadAlbum, KeysGrowPastThreeDigits) {
  std::string album = "_1.00\n";
  for (int k = 0; k <= 1000; ++k) {
    char key[32];
    std::snprintf(key, sizeof key, "file_%03d=\"%d\"\n", k, k);
    album += key;
  }
  test::TempDir dir;
  Names names;
  EXPECT_TRUE(ReadPlaylist(dir.Write("big.aal", album), names));
  ASSERT_EQ(names.size(), 1001u);
  EXPECT_EQ(names[999], "999");
  EXPECT_EQ(names[1000], "1000");
}

// Things named like a list that are no list file: refused at once, and never a wait for a
// FIFO's writer.
TEST(ReadSpecialFiles, FailsAtOnceWithNothingRead) {
  test::TempDir dir;
  const std::string fifo = dir / "fifo.m3u";
  ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
  std::filesystem::create_directory(dir / "folder.pls");
  for (const std::string& name : {fifo, dir / "folder.pls", dir / "missing.lst"}) {
    auto read = std::async(std::launch::async, [name] {
      Names names;
      return ReadPlaylist(name, names) || !names.empty();
    });
    if (read.wait_for(std::chrono::seconds(5)) != std::future_status::ready) {
      // Release a reader stuck in open() so that the test ends instead of hanging.
      ::close(::open(fifo.c_str(), O_WRONLY | O_NONBLOCK));
      ADD_FAILURE() << name << " blocked the reader";
    }
    EXPECT_FALSE(read.get()) << name;
  }
}

TEST(ReadSpecialFiles, UnreadableFileFails) {
  if (::geteuid() == 0) GTEST_SKIP() << "permissions do not apply to root";
  test::TempDir dir;
  const std::string file = dir.Write("locked.m3u", "/a.mp3\n");
  ASSERT_EQ(::chmod(file.c_str(), 0), 0);
  Names names;
  EXPECT_FALSE(ReadPlaylist(file, names));
  EXPECT_TRUE(names.empty());
}

}  // namespace
}  // namespace lumivox
