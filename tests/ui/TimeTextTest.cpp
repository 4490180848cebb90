#include <gtest/gtest.h>

#include "ui/TimeText.h"

namespace lumivox::test {
namespace {

TEST(TimeText, HoursAppearFromOneHourOn) {
  const std::pair<std::int64_t, const char*> cases[] = {
      {0, "0:00"}, {59, "0:59"}, {61, "1:01"}, {3599, "59:59"}, {3600, "1:00:00"}, {36061, "10:01:01"}};
  for (const auto& [seconds, text] : cases) EXPECT_EQ(FormatSeconds(seconds), text) << seconds;
}

}  // namespace
}  // namespace lumivox::test
