#pragma once
// The output device volume of the two device modes: the speaker volume of mixer device 0,
// or the volume of the wave output device, both as whole percentages 0..100.

#include <cstdint>
#include <memory>

#include "playlist/DocumentInterfaces.h"

namespace lumivox {

// A volume control of a mixer: an unsigned range and a value in it.
class IMixerControl {
 public:
  virtual ~IMixerControl() = default;
  // The control's bounds; false when the device has no such control.
  virtual bool GetRange(std::uint32_t& minimum, std::uint32_t& maximum) = 0;
  virtual bool Read(std::uint32_t& value) = 0;
  virtual bool Write(std::uint32_t value) = 0;  // every channel alike
};

// The system's audio devices as the volume control reaches them.
class IAudioDevices {
 public:
  virtual ~IAudioDevices() = default;
  // Mixer device 0; null when it cannot be opened.
  virtual std::unique_ptr<IMixerControl> OpenMixer() = 0;
  // The wave output volume: left channel 0..0xFFFF in the low 16 bits, right in the high.
  virtual bool GetWaveOutVolume(std::uint32_t& volume) = 0;
  virtual bool SetWaveOutVolume(std::uint32_t volume) = 0;
};

// One volume operation on one device: made, used once or twice, dropped.
class CVolumeControl {
 public:
  CVolumeControl(bool useWaveOut, IAudioDevices& devices);

  // 0..100, or -1 when the device cannot be read.
  int GetVolume();
  void SetVolume(int percent);

 private:
  bool LookUpControl();

  IAudioDevices& devices_;
  std::unique_ptr<IMixerControl> mixer_;
  bool controlKnown_ = false;
  std::uint32_t minimum_ = 0;
  std::uint32_t maximum_ = 0;
  bool useWaveOut_;
};

// The document's and the application's way to the device volume: the mixer in the Mixer
// mode, the wave output in any other.
class DeviceVolume final : public IDeviceVolume {
 public:
  explicit DeviceVolume(IAudioDevices& devices) : devices_(devices) {}
  int ReadVolume(int mode) override { return CVolumeControl(mode != VolumeMode::Mixer, devices_).GetVolume(); }
  void WriteVolume(int mode, int percent) override {
    CVolumeControl(mode != VolumeMode::Mixer, devices_).SetVolume(percent);
  }

 private:
  IAudioDevices& devices_;
};

// The gain factor of a graph volume in percent: 10^((p x 100 - 10000) / 2000), with 0
// silent.
double GraphVolumeGain(int percent);

}  // namespace lumivox
