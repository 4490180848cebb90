#pragma once
// The element types the plugin registers.

#include <gst/gst.h>

G_BEGIN_DECLS

GType halcyon_mpeg_video_dec_get_type(void);
GType halcyon_mpeg_audio_dec_get_type(void);
GType halcyon_lumivault_sink_get_type(void);

G_END_DECLS
