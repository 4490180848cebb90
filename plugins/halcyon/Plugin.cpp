// The "halcyon" plugin: the player's own MPEG decoders and the LumivaultHD renderer.
// Rank NONE everywhere: auto-plugging must never pick them, the player adds them by name.

#include "Elements.h"

namespace {

gboolean PluginInit(GstPlugin* plugin) {
  return gst_element_register(plugin, "halcyonmpegvideodec", GST_RANK_NONE, halcyon_mpeg_video_dec_get_type()) &&
         gst_element_register(plugin, "halcyonmpegaudiodec", GST_RANK_NONE, halcyon_mpeg_audio_dec_get_type()) &&
         gst_element_register(plugin, "halcyonlumivaultsink", GST_RANK_NONE, halcyon_lumivault_sink_get_type());
}

}  // namespace

// libmpeg2 is GPL, so the module as a whole is too.
GST_PLUGIN_DEFINE(GST_VERSION_MAJOR, GST_VERSION_MINOR, halcyon, "Lumivox MPEG decoders and the LumivaultHD renderer",
                  PluginInit, VERSION, "GPL", PACKAGE, "https://example.invalid/lumivox")
