// MPEG-1/2 audio layers I-III on libmpg123, fed whole frames by mpegaudioparse.
//
// One input frame gives one output buffer (or none), so the base class keeps the
// timestamps right, also after a seek.

#include <gst/audio/gstaudiodecoder.h>
#include <mpg123.h>

#include <memory>
#include <new>
#include <vector>

#include "Elements.h"

GST_DEBUG_CATEGORY_STATIC(halcyon_mpeg_audio_dec_debug);
#define GST_CAT_DEFAULT halcyon_mpeg_audio_dec_debug

namespace {

struct Mpg123Delete {
  void operator()(mpg123_handle* handle) const { mpg123_delete(handle); }
};
using Mpg123Ptr = std::unique_ptr<mpg123_handle, Mpg123Delete>;

struct DecoderState {
  Mpg123Ptr mpg123;
  std::vector<unsigned char> decoded;  // the samples of the frame being handled
};

}  // namespace

struct HalcyonMpegAudioDec {
  GstAudioDecoder parent;
  DecoderState state;
};

struct HalcyonMpegAudioDecClass {
  GstAudioDecoderClass parent_class;
};

G_DEFINE_TYPE(HalcyonMpegAudioDec, halcyon_mpeg_audio_dec, GST_TYPE_AUDIO_DECODER)

namespace {

GstStaticPadTemplate sink_template =
    GST_STATIC_PAD_TEMPLATE("sink", GST_PAD_SINK, GST_PAD_ALWAYS,
                            GST_STATIC_CAPS("audio/mpeg, mpegversion = (int) 1, layer = (int) [ 1, 3 ], "
                                            "parsed = (boolean) true"));

GstStaticPadTemplate src_template = GST_STATIC_PAD_TEMPLATE("src", GST_PAD_SRC, GST_PAD_ALWAYS,
                                                            GST_STATIC_CAPS(GST_AUDIO_CAPS_MAKE(GST_AUDIO_NE(S16))));

HalcyonMpegAudioDec* Self(gpointer instance) { return reinterpret_cast<HalcyonMpegAudioDec*>(instance); }

// Native rates in 16-bit only; no gapless trimming, which would break one frame in, one
// frame out; no read-ahead, which would hold each frame back until the next arrives.
Mpg123Ptr OpenDecoder() {
  Mpg123Ptr handle(mpg123_new(nullptr, nullptr));
  if (!handle) return nullptr;
  mpg123_handle* h = handle.get();
  if (mpg123_param(h, MPG123_FLAGS, MPG123_QUIET | MPG123_NO_READAHEAD, 0) != MPG123_OK ||
      mpg123_format_none(h) != MPG123_OK) {
    return nullptr;
  }
  const long* rates = nullptr;
  size_t rate_count = 0;
  mpg123_rates(&rates, &rate_count);
  for (size_t i = 0; i < rate_count; ++i) {
    mpg123_format(h, rates[i], MPG123_MONO | MPG123_STEREO, MPG123_ENC_SIGNED_16);
  }
  if (mpg123_open_feed(h) != MPG123_OK) return nullptr;
  return handle;
}

bool AnnounceFormat(HalcyonMpegAudioDec* self) {
  long rate = 0;
  int channels = 0;
  int encoding = 0;
  if (mpg123_getformat(self->state.mpg123.get(), &rate, &channels, &encoding) != MPG123_OK ||
      encoding != MPG123_ENC_SIGNED_16) {
    return false;
  }
  GstAudioInfo info;
  gst_audio_info_set_format(&info, GST_AUDIO_FORMAT_S16, static_cast<gint>(rate), channels, nullptr);
  return gst_audio_decoder_set_output_format(GST_AUDIO_DECODER(self), &info);
}

GstFlowReturn PushDecoded(HalcyonMpegAudioDec* self) {
  auto* decoder = GST_AUDIO_DECODER(self);
  auto& decoded = self->state.decoded;
  if (decoded.empty()) return gst_audio_decoder_finish_frame(decoder, nullptr, 1);
  GstBuffer* out = gst_audio_decoder_allocate_output_buffer(decoder, decoded.size());
  gst_buffer_fill(out, 0, decoded.data(), decoded.size());
  decoded.clear();
  return gst_audio_decoder_finish_frame(decoder, out, 1);
}

enum class Decoded { kFrame, kCorrupt, kNotNegotiated };

// Decodes what the last feed completed into state.decoded.
Decoded DecodeFed(HalcyonMpegAudioDec* self) {
  auto& s = self->state;
  for (;;) {
    off_t frame_number = 0;
    unsigned char* audio = nullptr;
    size_t bytes = 0;
    const int result = mpg123_decode_frame(s.mpg123.get(), &frame_number, &audio, &bytes);
    switch (result) {
      case MPG123_NEED_MORE: return Decoded::kFrame;
      case MPG123_NEW_FORMAT:
        // Samples gathered under the old format belong to a broken frame.
        s.decoded.clear();
        if (!AnnounceFormat(self)) return Decoded::kNotNegotiated;
        break;
      case MPG123_OK: s.decoded.insert(s.decoded.end(), audio, audio + bytes); break;
      default: GST_DEBUG_OBJECT(self, "mpg123: %s", mpg123_plain_strerror(result)); return Decoded::kCorrupt;
    }
  }
}

gboolean Start(GstAudioDecoder* decoder) {
  auto& s = Self(decoder)->state;
  s = DecoderState{};
  s.mpg123 = OpenDecoder();
  if (!s.mpg123) {
    GST_ELEMENT_ERROR(decoder, LIBRARY, INIT, ("Could not start libmpg123."), (nullptr));
    return FALSE;
  }
  return TRUE;
}

gboolean Stop(GstAudioDecoder* decoder) {
  Self(decoder)->state = DecoderState{};
  return TRUE;
}

// Reopening drops buffered input and the bit reservoir, which belong to the old position.
void Flush(GstAudioDecoder* decoder, gboolean) {
  auto& s = Self(decoder)->state;
  s.decoded.clear();
  if (s.mpg123) mpg123_open_feed(s.mpg123.get());
}

GstFlowReturn HandleFrame(GstAudioDecoder* decoder, GstBuffer* buffer) {
  // Nothing is held back between frames, so a drain has nothing to add.
  if (!buffer) return GST_FLOW_OK;
  auto* self = Self(decoder);
  auto& s = self->state;
  GstMapInfo map;
  if (!gst_buffer_map(buffer, &map, GST_MAP_READ)) {
    GST_ELEMENT_ERROR(self, STREAM, DECODE, (nullptr), ("could not map an input buffer"));
    return GST_FLOW_ERROR;
  }
  const int fed = mpg123_feed(s.mpg123.get(), map.data, map.size);
  gst_buffer_unmap(buffer, &map);
  const Decoded decoded = fed == MPG123_OK ? DecodeFed(self) : Decoded::kCorrupt;
  if (decoded == Decoded::kNotNegotiated) return GST_FLOW_NOT_NEGOTIATED;
  if (decoded == Decoded::kCorrupt) {
    s.decoded.clear();
    mpg123_open_feed(s.mpg123.get());
    GstFlowReturn result = GST_FLOW_OK;
    GST_AUDIO_DECODER_ERROR(self, 1, STREAM, DECODE, (nullptr), ("skipped a corrupt frame"), result);
    if (result != GST_FLOW_OK) return result;
  }
  return PushDecoded(self);
}

void Finalize(GObject* object) {
  Self(object)->state.~DecoderState();
  G_OBJECT_CLASS(halcyon_mpeg_audio_dec_parent_class)->finalize(object);
}

}  // namespace

static void halcyon_mpeg_audio_dec_class_init(HalcyonMpegAudioDecClass* klass) {
  GST_DEBUG_CATEGORY_INIT(halcyon_mpeg_audio_dec_debug, "halcyonmpegaudiodec", 0, "Halcyon MPEG audio decoder");
  G_OBJECT_CLASS(klass)->finalize = Finalize;

  auto* element_class = GST_ELEMENT_CLASS(klass);
  gst_element_class_add_static_pad_template(element_class, &sink_template);
  gst_element_class_add_static_pad_template(element_class, &src_template);
  gst_element_class_set_static_metadata(element_class, "Halcyon MPEG Audio Decoder", "Codec/Decoder/Audio",
                                        "Decodes MPEG audio layers I to III with libmpg123", "Lumivox");

  auto* decoder_class = GST_AUDIO_DECODER_CLASS(klass);
  decoder_class->start = Start;
  decoder_class->stop = Stop;
  decoder_class->flush = Flush;
  decoder_class->handle_frame = HandleFrame;
}

static void halcyon_mpeg_audio_dec_init(HalcyonMpegAudioDec* self) {
  new (&self->state) DecoderState();
  auto* decoder = GST_AUDIO_DECODER(self);
  gst_audio_decoder_set_use_default_pad_acceptcaps(decoder, TRUE);
  GST_PAD_SET_ACCEPT_TEMPLATE(GST_AUDIO_DECODER_SINK_PAD(decoder));
}
