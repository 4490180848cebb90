#pragma once
// A real engine with the options it reads at Open, and ways to wait for what its
// GStreamer threads post.

#include <gtest/gtest.h>

#include <QTest>

#include <algorithm>
#include <atomic>
#include <memory>
#include <string>
#include <vector>

#include "MediaFixtures.h"
#include "engine/GraphPlayer.h"

namespace lumivox::test {

inline constexpr std::int64_t kSecond = 10'000'000;

class EngineFixture : public ::testing::Test {
 protected:
  EngineFixture() { choices.mpegSoftDecoder = false; }
  ~EngineFixture() override { player->Close(); }

  std::vector<std::string> Filters() const {
    std::vector<std::string> names;
    for (const auto& filter : player->EnumFilters()) names.emplace_back(GST_OBJECT_NAME(filter.get()));
    return names;
  }
  bool HasFilter(const std::string& name) const {
    const auto names = Filters();
    return std::find(names.begin(), names.end(), name) != names.end();
  }
  // The first filter whose factory is `factory`.
  GstElement* FilterMadeBy(const char* factory) const {
    for (const auto& filter : player->EnumFilters()) {
      GstElementFactory* made = gst_element_get_factory(filter.get());
      if (made && std::string(GST_OBJECT_NAME(made)) == factory) return filter.get();
    }
    return nullptr;
  }
  // Drains events until EC_COMPLETE arrives.
  bool WaitForCompletion(int ms = 5000) {
    return QTest::qWaitFor(
        [this] {
          for (GraphEvent event; player->GetEvent(event);) {
            if (event.code == EC_COMPLETE) return true;
          }
          return false;
        },
        ms);
  }
  std::int64_t Position() {
    std::int64_t position = -1;
    return player->GetTimes(nullptr, &position) ? position : -1;
  }

  GraphChoices choices;
  std::atomic<int> posts{0};
  std::unique_ptr<CGraphPlayer> player =
      std::make_unique<CGraphPlayer>([this] { return choices; }, [this] { ++posts; });
};

}  // namespace lumivox::test
