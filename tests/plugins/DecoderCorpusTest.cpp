// Replays the decoders' fuzz seed corpus through the plugin module, so that what the fuzz
// targets found stays fixed in every build. libmpeg2's blocks are guarded and stay unreadable
// once freed, so a decoder that still copies from one faults without a sanitizer too.
#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <functional>
#include <string>
#include <utility>

#include "GstSupport.h"
#include "TempDir.h"
#include "fuzz/DecoderFeed.h"
#include "fuzz/Mpeg2Guard.h"

namespace lumivox {
namespace {

TEST(DecoderCorpus, EverySeedPlaysWithoutBrokenOutput) {
  test::LoadHalcyonPlugin();
  const fuzz::Mpeg2Guard guard(fuzz::Mpeg2Guard::Freed::kUnreadable);  // outlives the decoders
  fuzz::MpegAudioFeed audio;
  fuzz::MpegVideoFeed video;
  const std::pair<const char*, std::function<bool(fuzz::Bytes)>> targets[] = {
      {"mpegaudio", [&](fuzz::Bytes input) { return audio.Play(input); }},
      {"mpegvideo", [&](fuzz::Bytes input) { return video.Play(input); }}};
  for (const auto& [name, play] : targets) {
    int seeds = 0;
    for (const auto& seed : std::filesystem::directory_iterator(std::filesystem::path(LUMIVOX_FUZZ_CORPUS) / name)) {
      ++seeds;
      const std::string bytes = test::TempDir::Read(seed.path());
      EXPECT_TRUE(play({reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size()})) << seed.path();
    }
    EXPECT_GE(seeds, 5) << "seed corpus of " << name << " is missing";
  }
}

}  // namespace
}  // namespace lumivox
