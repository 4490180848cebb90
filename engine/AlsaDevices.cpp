#include "engine/AlsaDevices.h"

#include <alsa/asoundlib.h>

#include <initializer_list>

namespace lumivox {
namespace {

struct MixerClose {
  void operator()(snd_mixer_t* mixer) const { snd_mixer_close(mixer); }
};
using MixerHandle = std::unique_ptr<snd_mixer_t, MixerClose>;

// A playback volume element of an ALSA mixer, its range moved to start at 0.
class AlsaControl final : public IMixerControl {
 public:
  static std::unique_ptr<AlsaControl> Open(const char* device, std::initializer_list<const char*> names) {
    snd_mixer_t* raw = nullptr;
    if (snd_mixer_open(&raw, 0) < 0) return nullptr;
    MixerHandle mixer(raw);
    if (snd_mixer_attach(raw, device) < 0 || snd_mixer_selem_register(raw, nullptr, nullptr) < 0 ||
        snd_mixer_load(raw) < 0) {
      return nullptr;
    }
    for (const char* name : names) {
      snd_mixer_selem_id_t* id = nullptr;
      snd_mixer_selem_id_alloca(&id);
      snd_mixer_selem_id_set_name(id, name);
      snd_mixer_elem_t* elem = snd_mixer_find_selem(raw, id);
      if (elem && snd_mixer_selem_has_playback_volume(elem)) {
        return std::unique_ptr<AlsaControl>(new AlsaControl(std::move(mixer), elem));
      }
    }
    return nullptr;
  }

  bool GetRange(std::uint32_t& minimum, std::uint32_t& maximum) override {
    if (snd_mixer_selem_get_playback_volume_range(elem_, &low_, &high_) < 0 || high_ < low_) return false;
    minimum = 0;
    maximum = static_cast<std::uint32_t>(high_ - low_);
    return true;
  }
  bool Read(std::uint32_t& value) override { return ReadChannel(SND_MIXER_SCHN_FRONT_LEFT, value); }
  bool Write(std::uint32_t value) override {
    return snd_mixer_selem_set_playback_volume_all(elem_, low_ + static_cast<long>(value)) >= 0;
  }

  bool ReadChannel(snd_mixer_selem_channel_id_t channel, std::uint32_t& value) {
    long v = 0;
    if (!snd_mixer_selem_has_playback_channel(elem_, channel)) channel = SND_MIXER_SCHN_MONO;
    if (snd_mixer_selem_get_playback_volume(elem_, channel, &v) < 0) return false;
    value = static_cast<std::uint32_t>(v - low_);
    return true;
  }
  bool WriteChannel(snd_mixer_selem_channel_id_t channel, std::uint32_t value) {
    if (!snd_mixer_selem_has_playback_channel(elem_, channel)) return true;
    return snd_mixer_selem_set_playback_volume(elem_, channel, low_ + static_cast<long>(value)) >= 0;
  }

 private:
  AlsaControl(MixerHandle mixer, snd_mixer_elem_t* elem) : mixer_(std::move(mixer)), elem_(elem) {}

  MixerHandle mixer_;
  snd_mixer_elem_t* elem_;
  long low_ = 0;
  long high_ = 0;
};

std::unique_ptr<AlsaControl> OpenWaveOut() { return AlsaControl::Open("default", {"Master", "PCM"}); }

// The wave output's 16-bit channel scale onto the control's range and back.
std::uint32_t ToWave(std::uint32_t value, std::uint32_t range) {
  return range == 0 ? 0 : static_cast<std::uint32_t>(std::uint64_t{value} * 0xFFFF / range);
}
std::uint32_t FromWave(std::uint32_t wave, std::uint32_t range) {
  return static_cast<std::uint32_t>(std::uint64_t{wave} * range / 0xFFFF);
}

}  // namespace

std::unique_ptr<IMixerControl> AlsaDevices::OpenMixer() { return AlsaControl::Open("hw:0", {"Master"}); }

bool AlsaDevices::GetWaveOutVolume(std::uint32_t& volume) {
  const auto control = OpenWaveOut();
  std::uint32_t minimum = 0, range = 0, left = 0, right = 0;
  if (!control || !control->GetRange(minimum, range) || !control->ReadChannel(SND_MIXER_SCHN_FRONT_LEFT, left) ||
      !control->ReadChannel(SND_MIXER_SCHN_FRONT_RIGHT, right)) {
    return false;
  }
  volume = ToWave(left, range) | (ToWave(right, range) << 16);
  return true;
}

bool AlsaDevices::SetWaveOutVolume(std::uint32_t volume) {
  const auto control = OpenWaveOut();
  std::uint32_t minimum = 0, range = 0;
  if (!control || !control->GetRange(minimum, range)) return false;
  return control->WriteChannel(SND_MIXER_SCHN_FRONT_LEFT, FromWave(volume & 0xFFFF, range)) &&
         control->WriteChannel(SND_MIXER_SCHN_FRONT_RIGHT, FromWave(volume >> 16, range));
}

}  // namespace lumivox
