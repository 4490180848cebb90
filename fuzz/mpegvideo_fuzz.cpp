// halcyonmpegvideodec, compiled in and registered here so that it is instrumented; libmpeg2,
// which is not, gets guarded blocks instead. DecoderFeed.h tells how an input is read.

#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "fuzz/DecoderFeed.h"
#include "fuzz/Mpeg2Guard.h"
#include "plugins/halcyon/Elements.h"

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  lumivox::fuzz::InitGstreamer();
  gst_element_register(nullptr, "halcyonmpegvideodec", GST_RANK_NONE, halcyon_mpeg_video_dec_get_type());
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static const lumivox::fuzz::Mpeg2Guard guard(lumivox::fuzz::Mpeg2Guard::Freed::kUnmapped);
  static lumivox::fuzz::MpegVideoFeed feed;
  if (!feed.Play({data, size})) std::abort();
  return 0;
}
