#include <gtest/gtest.h>

#include "app/CommandLine.h"
#include "app/DisplayPlatform.h"

namespace lumivox::test {
namespace {

TEST(CommandLine, EveryNameBecomesAnAbsoluteLocalPath) {
  const struct {
    const char* argument;
    const char* folder;
    const char* name;
  } cases[] = {
      {"a.mp3", "/home/u/music", "/home/u/music/a.mp3"},
      {"./sub//b.mp3", "/home/u/music", "/home/u/music/sub/b.mp3"},
      {"../other/c.mp3", "/home/u/music", "/home/u/music/../other/c.mp3"},  // through a symlink ".." goes elsewhere
      {"sub/", "/home/u/music", "/home/u/music/sub"},
      {".", "/home/u/music", "/home/u/music"},
      {"a.mp3", "/", "/a.mp3"},
      {"song:remix.mp3", "/m", "/m/song:remix.mp3"},
      {"file:name.mp3", "/m", "/m/file:name.mp3"},
      {"/abs/./d.mp3", "/m", "/abs/./d.mp3"},
      {"file:///abs/a%20b%C3%A9%23.mp3", "/m", "/abs/a b\xC3\xA9#.mp3"},
      {"FILE://localhost/abs/%E9.mp3", "/m", "/abs/\xE9.mp3"},  // not UTF-8: the bytes stand
      {"file:/abs/e.mp3", "/m", "/abs/e.mp3"},
      {"file://server/share/f.mp3", "/m", "file://server/share/f.mp3"},  // no local path
      {"file:///abs/%2F.mp3", "/m", "file:///abs/%2F.mp3"},              // no path has that
      {"http://example.com/live", "/m", "http://example.com/live"},
      {"a.mp3", "", "a.mp3"},  // the current folder is gone
  };
  for (const auto& c : cases) EXPECT_EQ(AbsoluteName(c.argument, c.folder), c.name) << c.argument;
}

// On Wayland the player takes XWayland when it can, so that its video window can be embedded.
TEST(DisplayPlatform, AWaylandSessionRunsOnXWaylandWhenAnXServerIsThere) {
  const struct {
    const char* qpa;
    const char* wayland;
    const char* x;
    const char* platform;
  } cases[] = {
      {"", "wayland-0", ":0", "xcb"},     {"", "wayland-0", "", "wayland"}, {"", "", ":0", ""}, {"", "", "", ""},
      {"wayland", "wayland-0", ":0", ""}, {"offscreen", "", "", ""},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(ChooseQtPlatform({.qpaPlatform = c.qpa, .waylandDisplay = c.wayland, .xDisplay = c.x}), c.platform)
        << "QT_QPA_PLATFORM=" << c.qpa << " WAYLAND_DISPLAY=" << c.wayland << " DISPLAY=" << c.x;
  }
}

}  // namespace
}  // namespace lumivox::test
