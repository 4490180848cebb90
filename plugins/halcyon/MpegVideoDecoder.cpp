// MPEG-1/2 video on libmpeg2, fed parsed frames by mpegvideoparse.
//
// Every input frame tags its picture with the frame's system number, so a picture that
// libmpeg2 hands out in display order finds its own input frame, and with it the
// container's timestamp. B-frame reordering then needs no bookkeeping of our own.

#include <gst/video/gstvideodecoder.h>
#include <gst/video/video.h>

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <memory>
#include <new>
#include <numeric>
#include <optional>
#include <vector>

extern "C" {
#include <mpeg2.h>
}

#include "Elements.h"

GST_DEBUG_CATEGORY_STATIC(halcyon_mpeg_video_dec_debug);
#define GST_CAT_DEFAULT halcyon_mpeg_video_dec_debug

namespace {

struct Mpeg2Close {
  void operator()(mpeg2dec_t* dec) const { mpeg2_close(dec); }
};
struct CodecStateUnref {
  void operator()(GstVideoCodecState* state) const { gst_video_codec_state_unref(state); }
};
using CodecStatePtr = std::unique_ptr<GstVideoCodecState, CodecStateUnref>;

// What the source pad announces. A repeated or modified sequence header renegotiates
// only when this changes.
struct OutputShape {
  GstVideoFormat format = GST_VIDEO_FORMAT_UNKNOWN;
  guint width = 0;
  guint height = 0;
  gint par_n = 1;
  gint par_d = 1;
  gint fps_n = 0;
  gint fps_d = 1;
  bool operator==(const OutputShape&) const = default;
};

struct DecoderState {
  std::unique_ptr<mpeg2dec_t, Mpeg2Close> mpeg2;
  CodecStatePtr input_state;
  std::optional<OutputShape> shape;
  // The newest I or P picture: it is shown only after the B pictures decoded after it.
  std::optional<guint32> waiting_anchor;
  // The frame buffers holding a picture decoded since libmpeg2 last made them anew: at its
  // start, a full reset, or after a sequence end or change. At an end or change with no picture
  // since, it still hands out one of them, freed or never filled, with an old picture and tag.
  std::vector<const mpeg2_fbuf_t*> filled;
  bool fed_since_reset = false;
};

}  // namespace

struct HalcyonMpegVideoDec {
  GstVideoDecoder parent;
  DecoderState state;
};

struct HalcyonMpegVideoDecClass {
  GstVideoDecoderClass parent_class;
};

G_DEFINE_TYPE(HalcyonMpegVideoDec, halcyon_mpeg_video_dec, GST_TYPE_VIDEO_DECODER)

namespace {

GstStaticPadTemplate sink_template =
    GST_STATIC_PAD_TEMPLATE("sink", GST_PAD_SINK, GST_PAD_ALWAYS,
                            GST_STATIC_CAPS("video/mpeg, mpegversion = (int) [ 1, 2 ], "
                                            "systemstream = (boolean) false, parsed = (boolean) true"));

GstStaticPadTemplate src_template = GST_STATIC_PAD_TEMPLATE(
    "src", GST_PAD_SRC, GST_PAD_ALWAYS, GST_STATIC_CAPS(GST_VIDEO_CAPS_MAKE("{ I420, Y42B, Y444 }")));

HalcyonMpegVideoDec* Self(gpointer instance) { return reinterpret_cast<HalcyonMpegVideoDec*>(instance); }

GstVideoFormat FormatOf(const mpeg2_sequence_t& seq) {
  if (seq.chroma_width == seq.width && seq.chroma_height == seq.height) {
    return GST_VIDEO_FORMAT_Y444;
  }
  if (seq.chroma_height == seq.height) return GST_VIDEO_FORMAT_Y42B;
  return GST_VIDEO_FORMAT_I420;
}

OutputShape ShapeOf(const mpeg2_sequence_t& seq, const GstVideoCodecState* input) {
  OutputShape shape;
  shape.format = FormatOf(seq);
  shape.width = seq.picture_width;
  shape.height = seq.picture_height;
  if (seq.pixel_width > 0 && seq.pixel_height > 0) {
    const unsigned divisor = std::gcd(seq.pixel_width, seq.pixel_height);
    shape.par_n = static_cast<gint>(seq.pixel_width / divisor);
    shape.par_d = static_cast<gint>(seq.pixel_height / divisor);
  }
  // frame_period counts ticks of the 27 MHz system clock.
  constexpr unsigned kSystemClock = 27000000;
  if (seq.frame_period > 0) {
    const unsigned divisor = std::gcd(kSystemClock, seq.frame_period);
    shape.fps_n = static_cast<gint>(kSystemClock / divisor);
    shape.fps_d = static_cast<gint>(seq.frame_period / divisor);
  } else if (input) {
    shape.fps_n = GST_VIDEO_INFO_FPS_N(&input->info);
    shape.fps_d = GST_VIDEO_INFO_FPS_D(&input->info);
  }
  return shape;
}

void Announce(HalcyonMpegVideoDec* self, const mpeg2_sequence_t& seq) {
  auto& s = self->state;
  const OutputShape shape = ShapeOf(seq, s.input_state.get());
  if (s.shape == shape) return;
  CodecStatePtr output(gst_video_decoder_set_output_state(GST_VIDEO_DECODER(self), shape.format, shape.width,
                                                          shape.height, s.input_state.get()));
  if (!output) {
    GST_WARNING_OBJECT(self, "unusable sequence header %ux%u", shape.width, shape.height);
    s.shape.reset();
    return;
  }
  GST_VIDEO_INFO_PAR_N(&output->info) = shape.par_n;
  GST_VIDEO_INFO_PAR_D(&output->info) = shape.par_d;
  GST_VIDEO_INFO_FPS_N(&output->info) = shape.fps_n;
  GST_VIDEO_INFO_FPS_D(&output->info) = shape.fps_d;
  s.shape = shape;
}

// A picture decoded under an earlier sequence header must not be copied with this one's
// sizes: the planes may be smaller than the announced frame.
bool Matches(const std::optional<OutputShape>& shape, const mpeg2_sequence_t& seq) {
  return shape && shape->format == FormatOf(seq) && shape->width == seq.picture_width &&
         shape->height == seq.picture_height;
}

bool CopyPicture(const mpeg2_sequence_t& seq, const mpeg2_fbuf_t& fbuf, const GstVideoInfo& info, GstBuffer* buffer) {
  GstVideoFrame out;
  if (!gst_video_frame_map(&out, &info, buffer, GST_MAP_WRITE)) return false;
  for (guint plane = 0; plane < 3; ++plane) {
    const gsize source_stride = plane == 0 ? seq.width : seq.chroma_width;
    const gsize stride = GST_VIDEO_FRAME_PLANE_STRIDE(&out, plane);
    const gsize bytes = GST_VIDEO_FRAME_COMP_WIDTH(&out, plane);
    const guint rows = GST_VIDEO_FRAME_COMP_HEIGHT(&out, plane);
    auto* target = static_cast<guint8*>(GST_VIDEO_FRAME_PLANE_DATA(&out, plane));
    for (guint row = 0; row < rows; ++row) {
      std::memcpy(target + row * stride, fbuf.buf[plane] + row * source_stride, bytes);
    }
  }
  gst_video_frame_unmap(&out);
  return true;
}

template <typename Pred>
void ReleaseFramesWhere(HalcyonMpegVideoDec* self, Pred lost) {
  auto* decoder = GST_VIDEO_DECODER(self);
  GList* frames = gst_video_decoder_get_frames(decoder);
  for (GList* l = frames; l; l = l->next) {
    auto* frame = static_cast<GstVideoCodecFrame*>(l->data);
    if (lost(frame->system_frame_number)) {
      gst_video_decoder_release_frame(decoder, frame);
    } else {
      gst_video_codec_frame_unref(frame);
    }
  }
  g_list_free(frames);
}

// Pictures come out in display order, so an older input frame still waiting will never be
// shown (its picture was corrupt, or cut off by a reset), unless it is the held anchor.
void ReleaseLostBefore(HalcyonMpegVideoDec* self, guint32 shown) {
  const std::optional<guint32> anchor = self->state.waiting_anchor;
  ReleaseFramesWhere(self, [&](guint32 number) { return number < shown && number != anchor; });
}

void NoteFilled(DecoderState& s, const mpeg2_fbuf_t* fbuf) {
  if (fbuf && std::find(s.filled.begin(), s.filled.end(), fbuf) == s.filled.end()) {
    s.filled.push_back(fbuf);
  }
}

bool Filled(const DecoderState& s, const mpeg2_fbuf_t* fbuf) {
  return std::find(s.filled.begin(), s.filled.end(), fbuf) != s.filled.end();
}

void NoteAnchor(DecoderState& s, const mpeg2_picture_t* picture) {
  if (!picture || !(picture->flags & PIC_FLAG_TAGS)) return;
  if ((picture->flags & PIC_MASK_CODING_TYPE) != PIC_FLAG_CODING_TYPE_B) {
    s.waiting_anchor = picture->tag;
  }
}

GstFlowReturn PushPicture(HalcyonMpegVideoDec* self, const mpeg2_info_t& info) {
  auto* decoder = GST_VIDEO_DECODER(self);
  const mpeg2_picture_t* picture = info.display_picture;
  if (!picture || !(picture->flags & PIC_FLAG_TAGS) || !Filled(self->state, info.display_fbuf)) {
    return GST_FLOW_OK;
  }
  ReleaseLostBefore(self, picture->tag);
  // Nothing waits for this picture when a drain hands out an anchor already shown.
  GstVideoCodecFrame* frame = gst_video_decoder_get_frame(decoder, static_cast<int>(picture->tag));
  if (!frame) return GST_FLOW_OK;
  if (!info.sequence || !Matches(self->state.shape, *info.sequence)) {
    gst_video_decoder_release_frame(decoder, frame);
    return GST_FLOW_OK;
  }
  const GstFlowReturn allocated = gst_video_decoder_allocate_output_frame(decoder, frame);
  if (allocated != GST_FLOW_OK) {
    gst_video_decoder_release_frame(decoder, frame);
    return allocated;
  }
  const CodecStatePtr output(gst_video_decoder_get_output_state(decoder));
  if (!CopyPicture(*info.sequence, *info.display_fbuf, output->info, frame->output_buffer)) {
    gst_video_decoder_release_frame(decoder, frame);
    GST_ELEMENT_ERROR(self, STREAM, DECODE, (nullptr), ("could not map an output frame"));
    return GST_FLOW_ERROR;
  }
  return gst_video_decoder_finish_frame(decoder, frame);
}

// Drops all that libmpeg2 holds, its frame buffers too; it then waits for a sequence header.
void Forget(DecoderState& s) {
  mpeg2_reset(s.mpeg2.get(), 1);
  s.waiting_anchor.reset();
  s.filled.clear();
  s.fed_since_reset = false;
}

// Larger than any MPEG level allows, with room for streams that ignore the levels. A bigger
// sequence header is hostile: its three frame buffers alone could take gigabytes.
bool Plausible(const mpeg2_sequence_t& seq) {
  constexpr unsigned kMaxSide = 4096;
  return seq.picture_width <= kMaxSide && seq.picture_height <= kMaxSide;
}

// Runs libmpeg2 over everything fed so far. It keeps going after a downstream error so
// that no pointer into the caller's mapped input survives the call.
GstFlowReturn ParseAvailable(HalcyonMpegVideoDec* self) {
  mpeg2dec_t* mpeg2 = self->state.mpeg2.get();
  GstFlowReturn result = GST_FLOW_OK;
  for (;;) {
    const mpeg2_state_t state = mpeg2_parse(mpeg2);
    const mpeg2_info_t* info = mpeg2_info(mpeg2);
    switch (state) {
      case STATE_BUFFER: return result;
      case STATE_SEQUENCE:
        // A first or changed size: an implausible one is skipped, with its pictures, before
        // libmpeg2 makes frame buffers for it.
        if (!Plausible(*info->sequence)) {
          GST_WARNING_OBJECT(self, "skipping a sequence of %ux%u", info->sequence->picture_width,
                             info->sequence->picture_height);
          Forget(self->state);
          break;
        }
        [[fallthrough]];
      case STATE_SEQUENCE_MODIFIED: Announce(self, *info->sequence); break;
      case STATE_PICTURE:
        NoteAnchor(self->state, info->current_picture);
        NoteFilled(self->state, info->current_fbuf);
        break;
      case STATE_SLICE:
      case STATE_END:
      case STATE_INVALID_END:
        if (result == GST_FLOW_OK && info->display_fbuf) result = PushPicture(self, *info);
        // After the end of a sequence libmpeg2 frees its frame buffers.
        if (state != STATE_SLICE) self->state.filled.clear();
        break;
      case STATE_INVALID: GST_DEBUG_OBJECT(self, "skipping invalid data"); break;
      default: break;
    }
  }
}

// Starts libmpeg2 afresh at the next picture. The sequence header from the caps stands in
// for the stream's own, which may come only once, at its very start.
void Restart(HalcyonMpegVideoDec* self) {
  auto& s = self->state;
  Forget(s);
  GstBuffer* header = s.input_state ? s.input_state->codec_data : nullptr;
  GstMapInfo map;
  if (!header || !gst_buffer_map(header, &map, GST_MAP_READ)) return;
  mpeg2_buffer(s.mpeg2.get(), map.data, map.data + map.size);
  ParseAvailable(self);  // a header alone shows no picture, so nothing can fail downstream
  gst_buffer_unmap(header, &map);
}

// Shows what libmpeg2 still holds, then restarts it.
GstFlowReturn Drain(HalcyonMpegVideoDec* self) {
  // A sequence end code makes libmpeg2 hand out the anchor it keeps back for B pictures.
  uint8_t end_code[] = {0x00, 0x00, 0x01, 0xb7};
  mpeg2_buffer(self->state.mpeg2.get(), end_code, end_code + sizeof end_code);
  const GstFlowReturn result = ParseAvailable(self);
  ReleaseFramesWhere(self, [](guint32) { return true; });
  Restart(self);
  return result;
}

gboolean Start(GstVideoDecoder* decoder) {
  auto& s = Self(decoder)->state;
  s = DecoderState{};
  s.mpeg2.reset(mpeg2_init());
  if (!s.mpeg2) {
    GST_ELEMENT_ERROR(decoder, LIBRARY, INIT, ("Could not start libmpeg2."), (nullptr));
    return FALSE;
  }
  return TRUE;
}

gboolean Stop(GstVideoDecoder* decoder) {
  Self(decoder)->state = DecoderState{};
  return TRUE;
}

gboolean SetFormat(GstVideoDecoder* decoder, GstVideoCodecState* state) {
  Self(decoder)->state.input_state.reset(gst_video_codec_state_ref(state));
  return TRUE;
}

gboolean Flush(GstVideoDecoder* decoder) {
  Restart(Self(decoder));
  return TRUE;
}

GstFlowReturn Finish(GstVideoDecoder* decoder) { return Drain(Self(decoder)); }

GstFlowReturn HandleFrame(GstVideoDecoder* decoder, GstVideoCodecFrame* frame) {
  auto* self = Self(decoder);
  auto& s = self->state;
  // After a gap the held references no longer belong to what follows.
  if (GST_BUFFER_IS_DISCONT(frame->input_buffer) && s.fed_since_reset) {
    const GstFlowReturn drained = Drain(self);
    if (drained != GST_FLOW_OK) {
      gst_video_codec_frame_unref(frame);
      return drained;
    }
  }
  GstMapInfo map;
  if (!gst_buffer_map(frame->input_buffer, &map, GST_MAP_READ)) {
    gst_video_decoder_release_frame(decoder, frame);
    GST_ELEMENT_ERROR(self, STREAM, DECODE, (nullptr), ("could not map an input buffer"));
    return GST_FLOW_ERROR;
  }
  mpeg2_tag_picture(s.mpeg2.get(), frame->system_frame_number, 0);
  mpeg2_buffer(s.mpeg2.get(), map.data, map.data + map.size);
  s.fed_since_reset = true;
  const GstFlowReturn result = ParseAvailable(self);
  gst_buffer_unmap(frame->input_buffer, &map);
  gst_video_codec_frame_unref(frame);
  return result;
}

void Finalize(GObject* object) {
  Self(object)->state.~DecoderState();
  G_OBJECT_CLASS(halcyon_mpeg_video_dec_parent_class)->finalize(object);
}

}  // namespace

static void halcyon_mpeg_video_dec_class_init(HalcyonMpegVideoDecClass* klass) {
  GST_DEBUG_CATEGORY_INIT(halcyon_mpeg_video_dec_debug, "halcyonmpegvideodec", 0, "Halcyon MPEG video decoder");
  G_OBJECT_CLASS(klass)->finalize = Finalize;

  auto* element_class = GST_ELEMENT_CLASS(klass);
  gst_element_class_add_static_pad_template(element_class, &sink_template);
  gst_element_class_add_static_pad_template(element_class, &src_template);
  gst_element_class_set_static_metadata(element_class, "Halcyon MPEG Video Decoder", "Codec/Decoder/Video",
                                        "Decodes MPEG-1 and MPEG-2 video with libmpeg2", "Lumivox");

  auto* decoder_class = GST_VIDEO_DECODER_CLASS(klass);
  decoder_class->start = Start;
  decoder_class->stop = Stop;
  decoder_class->set_format = SetFormat;
  decoder_class->flush = Flush;
  decoder_class->finish = Finish;
  decoder_class->drain = Finish;
  decoder_class->handle_frame = HandleFrame;
}

static void halcyon_mpeg_video_dec_init(HalcyonMpegVideoDec* self) {
  new (&self->state) DecoderState();
  auto* decoder = GST_VIDEO_DECODER(self);
  gst_video_decoder_set_packetized(decoder, TRUE);
  gst_video_decoder_set_use_default_pad_acceptcaps(decoder, TRUE);
  GST_PAD_SET_ACCEPT_TEMPLATE(GST_VIDEO_DECODER_SINK_PAD(decoder));
}
