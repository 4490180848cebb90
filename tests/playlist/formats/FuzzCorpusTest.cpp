// Replays the fuzz seed corpus so that the fuzz targets' checks hold in every build.
#include <gtest/gtest.h>

#include <filesystem>
#include <string_view>
#include <utility>

#include "TempDir.h"
#include "fuzz/FuzzChecks.h"

namespace lumivox {
namespace {

TEST(FuzzCorpus, EverySeedPassesItsTargetsChecks) {
  const std::pair<const char*, bool (*)(std::string_view)> targets[] = {
      {"m3u", fuzz::CheckM3u}, {"pls", fuzz::CheckPls}, {"lst", fuzz::CheckLst}, {"album", fuzz::CheckAlbum}};
  for (const auto& [name, check] : targets) {
    int seeds = 0;
    for (const auto& seed : std::filesystem::directory_iterator(std::filesystem::path(LUMIVOX_FUZZ_CORPUS) / name)) {
      ++seeds;
      EXPECT_TRUE(check(test::TempDir::Read(seed.path()))) << seed.path();
    }
    EXPECT_GE(seeds, 3) << "seed corpus of " << name << " is missing";
  }
}

}  // namespace
}  // namespace lumivox
