// halcyonmpegaudiodec, compiled in and registered here so that it is instrumented. DecoderFeed.h
// tells how an input is read.

#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "fuzz/DecoderFeed.h"
#include "plugins/halcyon/Elements.h"

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  lumivox::fuzz::InitGstreamer();
  gst_element_register(nullptr, "halcyonmpegaudiodec", GST_RANK_NONE, halcyon_mpeg_audio_dec_get_type());
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static lumivox::fuzz::MpegAudioFeed feed;
  if (!feed.Play({data, size})) std::abort();
  return 0;
}
