// Device volume arithmetic against a stand-in for the sound hardware these machines lack,
// and the real ALSA devices as far as the machine has them.

#include <gtest/gtest.h>

#include <alsa/asoundlib.h>

#include <cmath>
#include <optional>

#include "engine/AlsaDevices.h"
#include "engine/VolumeControl.h"
#include "playlist/DocFixture.h"

namespace lumivox::test {
namespace {

// A mixer with one volume control and a wave output, both optional.
class FakeDevices final : public IAudioDevices {
 public:
  struct Mixer {
    std::uint32_t minimum, maximum, value;
  };
  std::optional<Mixer> mixer;
  std::optional<std::uint32_t> wave;  // packed left | right << 16

  std::unique_ptr<IMixerControl> OpenMixer() override {
    struct Control final : IMixerControl {
      explicit Control(Mixer& m) : m(m) {}
      bool GetRange(std::uint32_t& lo, std::uint32_t& hi) override { return lo = m.minimum, hi = m.maximum, true; }
      bool Read(std::uint32_t& v) override { return v = m.value, true; }
      bool Write(std::uint32_t v) override { return m.value = v, true; }
      Mixer& m;
    };
    return mixer ? std::make_unique<Control>(*mixer) : nullptr;
  }
  bool GetWaveOutVolume(std::uint32_t& v) override { return wave && (v = *wave, true); }
  bool SetWaveOutVolume(std::uint32_t v) override { return wave && (wave = v, true); }
};

TEST(Volume, DeviceArithmeticIsTheIntegerArithmeticOfTheDevices) {
  FakeDevices devices;
  devices.wave = 0x8000;  // left only: the right channel is not read
  EXPECT_EQ(CVolumeControl(true, devices).GetVolume(), 50);
  CVolumeControl(true, devices).SetVolume(55);
  EXPECT_EQ(*devices.wave, 0x8CCCu | (0x8CCCu << 16));  // 36044 in both channels

  const struct {
    std::uint32_t minimum, maximum, value;
    int read;
    int write;
    std::uint32_t written;
  } mixers[] = {
      {0, 65535, 32768, 50, 45, 29490},
      {100, 200, 150, 50, 100, 200},
      {0, 87, 87, 100, 0, 0},
      {10, 10, 10, -1, 50, 10},  // no range: nothing to read, the write lands on the bound
  };
  for (const auto& m : mixers) {
    devices.mixer = FakeDevices::Mixer{m.minimum, m.maximum, m.value};
    EXPECT_EQ(CVolumeControl(false, devices).GetVolume(), m.read) << m.minimum << ".." << m.maximum;
    CVolumeControl(false, devices).SetVolume(m.write);
    EXPECT_EQ(devices.mixer->value, m.written) << m.minimum << ".." << m.maximum;
  }

  devices.mixer.reset();
  devices.wave.reset();
  EXPECT_EQ(CVolumeControl(false, devices).GetVolume(), -1);
  EXPECT_EQ(CVolumeControl(true, devices).GetVolume(), -1);
}

TEST(Volume, GraphGainFollowsHundredthsOfADecibel) {
  EXPECT_DOUBLE_EQ(GraphVolumeGain(100), 1.0);
  EXPECT_NEAR(GraphVolumeGain(95), std::pow(10.0, -500.0 / 2000.0), 1e-12);  // put_Volume -500
  EXPECT_NEAR(GraphVolumeGain(50), std::pow(10.0, -5000.0 / 2000.0), 1e-12);
  EXPECT_EQ(GraphVolumeGain(0), 0.0);
}

TEST(Volume, AlsaWithoutACardReadsNothing) {
  int card = -1;
  const bool hasCard = snd_card_next(&card) == 0 && card >= 0;
  AlsaDevices alsa;
  const int mixer = CVolumeControl(false, alsa).GetVolume();
  if (hasCard) {
    EXPECT_GE(mixer, -1);
    EXPECT_LE(mixer, 100);
  } else {
    EXPECT_EQ(mixer, -1);
    EXPECT_EQ(alsa.OpenMixer(), nullptr);
  }
}

using VolumeCommands = DocFixture;

TEST_F(VolumeCommands, StepByFiveOrSetWithinBoundsOnTheChosenTarget) {
  EXPECT_EQ(engine->volume, 100);
  doc->VolumeUp();
  EXPECT_EQ(engine->volume, 100);
  doc->SetVolume(37);  // a desktop controller's value, off the steps
  EXPECT_EQ(doc->Volume(), 37);
  doc->SetVolume(140);
  EXPECT_EQ(engine->volume, 100);
  for (int i = 0; i < 21; ++i) doc->VolumeDown();
  EXPECT_EQ(engine->volume, 0);

  FakeDevices devices;
  DeviceVolume device(devices);
  doc->SetDeviceVolume(&device);
  devices.mixer = FakeDevices::Mixer{0, 65535, 32768};
  devices.wave = 0x8000;
  options.volumeMode = static_cast<int>(VolumeMode::Mixer);
  doc->VolumeDown();
  EXPECT_EQ(devices.mixer->value, 29490u);
  options.volumeMode = 7;  // any other mode is the wave output
  doc->VolumeUp();
  EXPECT_EQ(*devices.wave & 0xFFFF, 0x8CCCu);
  devices.wave.reset();
  doc->VolumeUp();  // unreadable: nothing written
  doc->SetVolume(50);
  EXPECT_FALSE(devices.wave);
  EXPECT_EQ(doc->Volume(), -1);
  EXPECT_EQ(engine->volume, 0);
}

}  // namespace
}  // namespace lumivox::test
