#pragma once
// Stands in for the sound devices these machines lack: a volume per mode, and every read
// and write in order.

#include <map>
#include <string>
#include <vector>

#include "playlist/DocumentInterfaces.h"

namespace lumivox::test {

struct RecordingDeviceVolume final : IDeviceVolume {
  std::map<int, int> volume;  // by mode; -1 for a device that cannot be read
  std::vector<std::string> calls;
  int ReadVolume(int mode) override {
    calls.push_back("read " + std::to_string(mode));
    return volume[mode];
  }
  void WriteVolume(int mode, int percent) override {
    calls.push_back("write " + std::to_string(mode) + " " + std::to_string(percent));
  }
};

}  // namespace lumivox::test
