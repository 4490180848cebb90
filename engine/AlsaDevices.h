#pragma once

#include "engine/VolumeControl.h"

namespace lumivox {

// The audio devices on ALSA: the mixer is card 0's "Master" playback control; the wave
// output is the "Master" (or else "PCM") control of the "default" device, which the
// sound server provides. Without a sound card both read as absent.
class AlsaDevices final : public IAudioDevices {
 public:
  std::unique_ptr<IMixerControl> OpenMixer() override;
  bool GetWaveOutVolume(std::uint32_t& volume) override;
  bool SetWaveOutVolume(std::uint32_t volume) override;
};

}  // namespace lumivox
