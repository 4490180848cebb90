#include <gtest/gtest.h>

#include "TempDir.h"
#include "playlist/ListEncoding.h"
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

// The check that keeps UTF-8 lists on their fast way, around its eight-byte steps.
TEST(ListNames, Utf8IsToldFromOtherBytesWherever) {
  const std::string ascii(16, 'a');
  for (const std::size_t at : {0, 7, 8, 9, 15, 16}) {
    const auto with = [&](std::string_view bytes) {
      return ascii.substr(0, at) + std::string(bytes) + ascii.substr(at);
    };
    EXPECT_TRUE(IsUtf8(with(""))) << at;
    EXPECT_TRUE(IsUtf8(with("\xC3\xA9\xE6\x97\xA5\xF0\x9F\x8E\xB5"))) << at;
    for (const char* bad : {"\xE9", "\x83\x65", "\xC3", "\xE6\x97", "\xC0\xAF", "\xED\xA0\x80", "\xF4\x90\x80\x80"})
      EXPECT_FALSE(IsUtf8(with(bad))) << at << ' ' << bad;
  }
}

}  // namespace
}  // namespace lumivox::test
