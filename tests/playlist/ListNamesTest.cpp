#include <gtest/gtest.h>

#include "TempDir.h"
#include "playlist/ListNames.h"

namespace lumivox::test {
namespace {

TEST(ListNames, NamesFromOtherProgramsAndSystemsBecomeTheDocumentsNames) {
  TempDir dir;
  const std::string root = dir.path().string();
  dir.Write("Lists/Music/Artist/a.mp3", "");
  dir.Write("Lists/back\\slash.mp3", "");  // a Linux name that holds a '\'
  const std::string list = root + "/Lists/mix.m3u";
  const struct {
    const char* name;
    std::string expected;
  } cases[] = {
      {"05.mp3", root + "/Lists/05.mp3"},
      {"../Other/06.wav", root + "/Other/06.wav"},
      {"./Music/../Music/Artist/a.mp3", root + "/Lists/Music/Artist/a.mp3"},
      {"/abs/a.mp3", "/abs/a.mp3"},
      {"file:///home/u/Music/a%20b.mp3", "/home/u/Music/a b.mp3"},
      {"file://localhost/home/u/%C3%A9t%C3%A9.mp3", "/home/u/été.mp3"},
      {"FILE:///x/y.mp3", "/x/y.mp3"},
      {"file://otherhost/x/y.mp3", "file://otherhost/x/y.mp3"},
      {"http://radio.example/stream", "http://radio.example/stream"},
      {"Music\\Artist\\a.mp3", root + "/Lists/Music/Artist/a.mp3"},
      {"back\\slash.mp3", root + "/Lists/back\\slash.mp3"},  // found as written
      {"Gone\\b.mp3", root + "/Lists/Gone\\b.mp3"},
      {"C:\\Music\\a.mp3", "C:\\Music\\a.mp3"},
      {"\\\\server\\share\\a.mp3", "\\\\server\\share\\a.mp3"},
      {"Intro: Part 1.mp3", root + "/Lists/Intro: Part 1.mp3"},
  };
  ListNames names(list);
  for (const auto& c : cases) EXPECT_EQ(names.Resolve(c.name), c.expected) << c.name;
}

TEST(ListNames, OnlyURIsWithASchemeOtherThanFileAreStreams) {
  for (const char* stream : {"http://a/b.mp3", "HTTPS://a/b", "mms://a/b.asf", "rtsp://a:554/b"})
    EXPECT_TRUE(IsStreamName(stream)) << stream;
  for (const char* file : {"/a/b.mp3", "file:///a/b.mp3", "C://a.mp3", "Intro: Part 1.mp3", "b.mp3"})
    EXPECT_FALSE(IsStreamName(file)) << file;
}

}  // namespace
}  // namespace lumivox::test
