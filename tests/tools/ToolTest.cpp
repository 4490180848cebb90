// lumivox-tool as a user runs it: the real binary, real files, its output and exit status.

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

#include "TempDir.h"
#include "ToolRun.h"

namespace lumivox::test {
namespace {

std::string Quote(const std::string& s) { return "'" + s + "'"; }

TEST(Tool, ReadPrintsEveryNameAndTellsAnEarlyStopByItsStatus) {
  TempDir dir;
  const auto m3u = dir.Write("a.m3u", "#EXTM3U\r\n/m/one.mp3  \r\n\r\n  /m/two.mp3\n");
  ToolRun r = RunTool("read " + Quote(m3u));
  EXPECT_EQ(r.status, 0);
  EXPECT_EQ(r.out, "/m/one.mp3\n\n  /m/two.mp3\n");
  // Output is written in blocks: many of them, with names across their edges.
  std::string names;
  for (int i = 0; i < 20'000; ++i) names += "/music/" + std::to_string(i) + ".mp3\n";
  EXPECT_EQ(RunTool("read " + Quote(dir.Write("big.m3u", names))).out, names);

  const auto pls = dir.Write("b.pls", "[playlist]\nFile1=/m/x.mp3\nNumberOfEntries=3\nVersion=2\n");
  r = RunTool("read " + Quote(pls));
  EXPECT_EQ(r.status, 1);  // File2 is missing: the names before it still come out
  EXPECT_EQ(r.out, "/m/x.mp3\n");

  r = RunTool("read " + Quote(dir / "c.txt"));
  EXPECT_EQ(r.status, 1);
  EXPECT_EQ(r.out, "");
}

TEST(Tool, ConvertWritesTheFormatOfTheOutputName) {
  TempDir dir;
  const auto in = dir.Write("in.lst", "/m/A.mp3\n/m/a.MP3\n/m/b.wav\n");
  ToolRun r = RunTool("convert " + Quote(in) + " " + Quote(dir / "out.m3u"));
  EXPECT_EQ(r.status, 0);
  EXPECT_EQ(TempDir::Read(dir / "out.m3u"),
            "#EXTM3U\n#EXTINF:-1,A.mp3\n/m/A.mp3\n#EXTINF:-1,a.MP3\n/m/a.MP3\n#EXTINF:-1,b.wav\n/m/b.wav\n");

  r = RunTool("convert --no-duplicates " + Quote(in) + " " + Quote(dir / "out.pls"));
  EXPECT_EQ(r.status, 0);
  EXPECT_EQ(TempDir::Read(dir / "out.pls"),
            "[playlist]\nFile1=/m/A.mp3\nTitle1=A.mp3\nFile2=/m/b.wav\nTitle2=b.wav\nNumberOfEntries=2\nVersion=2\n");
}

// Nothing that cannot be read as a list, and no failed save, may cost OUT its old list.
TEST(Tool, ConvertLeavesOutAsItWasWhenInCannotBeReadOrOutCannotBeWritten) {
  TempDir dir;
  std::string names;
  for (int i = 0; i < 100; ++i) names += "/music/" + std::to_string(i) + ".mp3\n";
  const std::string in = dir.Write("in.lst", names);
  const std::string out = dir.Write("out.m3u", "old");
  ASSERT_EQ(::mkfifo((dir / "fifo.lst").c_str(), 0600), 0);
  dir.Write("folder.lst/x", "");
  const struct {
    std::string in, out, shell, error;
  } cases[] = {
      {dir / "missing.lst", out, "", "No such file or directory"},
      {dir / "fifo.lst", out, "", "not a regular file"},
      {dir / "folder.lst", out, "", "not a regular file"},
      {dir.Write("in.txt", "/m/a.mp3\n"), out, "", "not a list file"},
      {in, dir.Write("out.aal", "old"), "", "not a list format that can be written"},
      // A disk that fills up during the save: room for the message, not for the list.
      {in, out, "trap '' XFSZ; ulimit -f 1;", "not written"},
  };
  for (const auto& c : cases) {
    const ToolRun r = RunTool("convert " + Quote(c.in) + " " + Quote(c.out), c.shell);
    EXPECT_EQ(r.status, 1) << c.in;
    EXPECT_EQ(r.out, "") << c.in;
    EXPECT_EQ(std::count(r.err.begin(), r.err.end(), '\n'), 1) << c.in << ": " << r.err;
    EXPECT_NE(r.err.find(c.error), std::string::npos) << c.in << ": " << r.err;
    EXPECT_EQ(TempDir::Read(c.out), "old") << c.in;
  }
  std::vector<std::string> files;
  for (const auto& item : std::filesystem::directory_iterator(dir.path())) files.push_back(item.path().filename());
  std::sort(files.begin(), files.end());
  EXPECT_EQ(files, (std::vector<std::string>{"fifo.lst", "folder.lst", "in.lst", "in.txt", "out.aal", "out.m3u"}))
      << "no temporary file stays";
}

TEST(Tool, ScanListsTheFolderInFileManagerOrder) {
  TempDir dir;
  for (const char* name : {"10 b.mp3", "9 a.WAV", "x.txt", "2 c.avi"}) dir.Write(std::string("f/") + name, "");
  const std::string f = dir / "f";
  ToolRun r = RunTool("scan " + Quote(f));
  EXPECT_EQ(r.status, 0);
  EXPECT_EQ(r.out, f + "/2 c.avi\n" + f + "/9 a.WAV\n" + f + "/10 b.mp3\n");

  r = RunTool("scan " + Quote(dir / "nothing"));
  EXPECT_EQ(r.status, 1);
  EXPECT_NE(r.err.find("not a folder"), std::string::npos);
}

TEST(Tool, BadCallsSayWhatIsWrongOnOneLine) {
  for (const char* args :
       {"", "frobnicate", "read", "read a b", "convert x", "scan --bogus x", "read --no-duplicates x"}) {
    const ToolRun r = RunTool(args);
    EXPECT_EQ(r.status, 2) << args;
    EXPECT_EQ(r.out, "") << args;
    EXPECT_EQ(std::count(r.err.begin(), r.err.end(), '\n'), 1) << args << ": " << r.err;
  }
  EXPECT_NE(RunTool("--help").out.find("convert [--no-duplicates] IN OUT"), std::string::npos);
  EXPECT_EQ(RunTool("--version").out, "lumivox-tool " LUMIVOX_VERSION "\n");
}

}  // namespace
}  // namespace lumivox::test
