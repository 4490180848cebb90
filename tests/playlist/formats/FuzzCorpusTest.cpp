// Replays the committed fuzz seed corpus through the fuzz targets' checks, so the
// promises they test hold in every ordinary build too.
#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <string>

#include "TempDir.h"
#include "fuzz/FuzzChecks.h"

namespace lumivox {
namespace {

struct Target {
  const char* name;
  std::function<bool(std::string_view)> check;
};

TEST(FuzzCorpus, EverySeedPassesItsTargetsChecks) {
  const Target targets[] = {{"m3u", fuzz::CheckM3u},
                            {"pls", fuzz::CheckPls},
                            {"lst", fuzz::CheckLst},
                            {"album", fuzz::CheckAlbum}};
  for (const auto& target : targets) {
    const std::filesystem::path folder = std::filesystem::path(LUMIVOX_FUZZ_CORPUS) / target.name;
    int seeds = 0;
    for (const auto& seed : std::filesystem::directory_iterator(folder)) {
      ++seeds;
      EXPECT_TRUE(target.check(test::TempDir::Read(seed.path())))
          << target.name << ": " << seed.path().filename();
    }
    EXPECT_GE(seeds, 3) << "seed corpus of " << target.name << " is missing";
  }
}

}  // namespace
}  // namespace lumivox
