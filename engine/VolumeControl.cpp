#include "engine/VolumeControl.h"

#include <cmath>

namespace lumivox {

CVolumeControl::CVolumeControl(bool useWaveOut, IAudioDevices& devices) : devices_(devices), useWaveOut_(useWaveOut) {
  if (!useWaveOut_) mixer_ = devices_.OpenMixer();
}

bool CVolumeControl::LookUpControl() {
  if (!mixer_) return false;
  if (!controlKnown_) controlKnown_ = mixer_->GetRange(minimum_, maximum_);
  return controlKnown_;
}

int CVolumeControl::GetVolume() {
  if (useWaveOut_) {
    std::uint32_t volume = 0;
    if (!devices_.GetWaveOutVolume(volume)) return -1;
    return static_cast<int>((volume & 0xFFFF) * 100 / 0xFFFF);  // the left channel only
  }
  std::uint32_t value = 0;
  if (!LookUpControl() || !mixer_->Read(value)) return -1;
  // A control without a range has no place for a percentage.
  if (maximum_ == minimum_) return -1;
  // Unsigned 32-bit, as the device reports it.
  return static_cast<int>((value * 100u - minimum_ * 100u) / (maximum_ - minimum_));
}

void CVolumeControl::SetVolume(int percent) {
  const auto p = static_cast<std::uint32_t>(percent);
  if (useWaveOut_) {
    const std::uint32_t v = p * 0xFFFF / 100;
    devices_.SetWaveOutVolume(v | (v << 16));
    return;
  }
  if (!LookUpControl()) return;
  mixer_->Write((maximum_ - minimum_) * p / 100 + minimum_);
}

double GraphVolumeGain(int percent) {
  if (percent <= 0) return 0.0;
  return std::pow(10.0, (percent * 100.0 - 10000.0) / 2000.0);
}

}  // namespace lumivox
