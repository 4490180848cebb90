// lumivox-tool probe: the engine as a user reaches it from the command line.

#include <gtest/gtest.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <string>
#include <string_view>

#include "MediaFixtures.h"
#include "StreamServer.h"
#include "TempDir.h"
#include "ToolRun.h"

namespace lumivox::test {
namespace {

ToolRun Probe(const std::string& environment, const std::string& args) { return RunTool("probe " + args, environment); }

bool Has(const std::string& out, const std::string& line) { return out.find(line + "\n") != std::string::npos; }

TEST(Probe, PrintsTheGraphItBuiltForEachChoiceOfFiltersAndForAStream) {
  const std::string mp3 = MediaPath("tone.mp3");
  const StreamServer server({{".mp3", TempDir::Read(mp3)}});
  struct Case {
    const char* environment;
    const char* options;
    bool makersDecoder;
    std::string name;
  };
  const Case cases[] = {
      {"", "", true, mp3},
      {"", "--no-mpeg-decoder", false, mp3},
      {"LUMIVOX_PLUGIN_PATH=", "", false, mp3},  // the module is not installed
      {"", "--play", true, server.Url("/tone.mp3")},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(std::string(c.environment) + " " + c.options + " " + c.name);
    const ToolRun run = Probe(c.environment, std::string(c.options) + " '" + c.name + "'");
    EXPECT_EQ(run.status, 0);
    EXPECT_EQ(run.out.rfind("open: ok\nfilter: " + c.name + "\n", 0), 0u) << run.out;
    EXPECT_EQ(Has(run.out, "filter: Halcyon MPEG Audio Decoder"), c.makersDecoder) << run.out;
    EXPECT_TRUE(Has(run.out, "filter: Audio Renderer"));
    EXPECT_TRUE(Has(run.out, "video: none"));
    const auto at = run.out.find("duration: ");
    ASSERT_NE(at, std::string::npos);
    EXPECT_NEAR(std::atoll(run.out.c_str() + at + 10), Media("tone.mp3").duration, Media("tone.mp3").duration / 10);
    const auto complete = run.out.find("complete: ");
    EXPECT_EQ(complete != std::string::npos, std::string_view(c.options) == "--play");
    if (complete != std::string::npos) {
      EXPECT_GE(std::atoi(run.out.c_str() + complete + 10), 900) << "to its end";
    }
  }
}

TEST(Probe, PlaysToTheEndAndSendsVideoToTheDevice) {
  TempDir dir;
  const std::string device = dir.Write("device.raw", "");
  const ToolRun run =
      Probe("LUMIVOX_LUMIVAULT_DEVICE='" + device + "'", "--lumivault --play '" + MediaPath("clip.avi") + "'");
  EXPECT_EQ(run.status, 0);
  EXPECT_TRUE(Has(run.out, "filter: Halcyon LumivaultHD Renderer")) << run.out;
  EXPECT_TRUE(Has(run.out, "video: 176x144"));
  const auto at = run.out.find("complete: ");
  ASSERT_NE(at, std::string::npos) << run.out;
  EXPECT_GE(std::atoi(run.out.c_str() + at + 10), 900) << "real time";
  EXPECT_GT(std::filesystem::file_size(device), 0u);
}

TEST(Probe, AFileOrStreamThatDoesNotOpenSaysWhyAndFails) {
  TempDir dir;
  const StreamServer server({{".mp3", TempDir::Read(MediaPath("tone.mp3"))}});
  std::string noise(4096, '\0');
  for (std::size_t i = 0; i < noise.size(); ++i) noise[i] = static_cast<char>(i * 2654435761u >> 13);
  const std::pair<std::string, std::string> cases[] = {
      {dir / "missing.mp3", std::strerror(ENOENT)},
      {dir.Write("noise.mpg", noise), ""},  // GStreamer's own words, whatever they are
      {server.Url("/404"), "Not Found"},    // what the server said
  };
  for (const auto& [path, reason] : cases) {
    const ToolRun run = Probe("", "'" + path + "'");
    EXPECT_EQ(run.status, 1) << path;
    const std::string head = "open: failed\nerror: ";
    ASSERT_TRUE(run.out.starts_with(head)) << run.out;
    const std::string said = run.out.substr(head.size());
    EXPECT_TRUE(said.ends_with("\n") && said.find('\n') == said.size() - 1) << said;
    EXPECT_GT(said.size(), 1u);
    if (!reason.empty()) {
      EXPECT_EQ(said, reason + "\n");
    }
  }
}

}  // namespace
}  // namespace lumivox::test
