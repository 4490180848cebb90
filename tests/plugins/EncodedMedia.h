#pragma once
// Media files made on the spot from GStreamer's test sources and encoders.

#include <string>

namespace lumivox::test {

// Runs an encoding pipeline whose description says LOCATION where the file goes. An
// mpegvideoparse named "restamp" gets its pictures stamped in display order.
bool MakeFixture(std::string description, const std::string& path);

}  // namespace lumivox::test
