#include "EncodedMedia.h"

#include <cstdint>
#include <memory>
#include <optional>
#include <string_view>

#include "GstSupport.h"

namespace lumivox::test {

namespace {

// mpeg2enc stamps its pictures in decode order, so a container stream muxed from it would
// carry wrong presentation times for B pictures. The temporal reference of each picture,
// counted from its GOP, gives the right ones.
class DisplayOrderStamper {
 public:
  explicit DisplayOrderStamper(GstElement* parser)
      : pad_(gst_element_get_static_pad(parser, "src")),
        probe_(gst_pad_add_probe(pad_.get(), GST_PAD_PROBE_TYPE_BUFFER, OnBuffer, this, nullptr)) {}
  ~DisplayOrderStamper() { gst_pad_remove_probe(pad_.get(), probe_); }
  DisplayOrderStamper(const DisplayOrderStamper&) = delete;
  DisplayOrderStamper& operator=(const DisplayOrderStamper&) = delete;

 private:
  static GstPadProbeReturn OnBuffer(GstPad*, GstPadProbeInfo* info, gpointer self) {
    auto* stamper = static_cast<DisplayOrderStamper*>(self);
    GstBuffer* buffer = gst_buffer_make_writable(GST_PAD_PROBE_INFO_BUFFER(info));
    GST_PAD_PROBE_INFO_DATA(info) = buffer;
    stamper->Stamp(buffer);
    return GST_PAD_PROBE_OK;
  }

  void Stamp(GstBuffer* buffer) {
    GstMapInfo map;
    if (!gst_buffer_map(buffer, &map, GST_MAP_READ)) return;
    const std::string_view bytes(reinterpret_cast<const char*>(map.data), map.size);
    const auto picture = bytes.find(std::string_view("\0\0\1\0", 4));
    if (bytes.find(std::string_view("\0\0\1\xb8", 4)) != std::string_view::npos) {
      gop_start_ = decoded_;
    }
    if (picture != std::string_view::npos && picture + 5 < bytes.size()) {
      const auto* header = reinterpret_cast<const std::uint8_t*>(bytes.data() + picture + 4);
      const unsigned temporal_reference = (header[0] << 2) | (header[1] >> 6);
      const GstClockTime frame = GST_BUFFER_DURATION(buffer);
      // One frame of delay keeps every decode time at or before its presentation time.
      GST_BUFFER_PTS(buffer) = (gop_start_ + temporal_reference + 1) * frame;
      GST_BUFFER_DTS(buffer) = decoded_ * frame;
      ++decoded_;
    }
    gst_buffer_unmap(buffer, &map);
  }

  std::unique_ptr<GstPad, ObjectUnref> pad_;
  gulong probe_;
  std::uint64_t decoded_ = 0;
  std::uint64_t gop_start_ = 0;
};

}  // namespace

bool MakeFixture(std::string description, const std::string& path) {
  LoadHalcyonPlugin();
  description.replace(description.find("LOCATION"), 8, "\"" + path + "\"");
  Pipeline pipeline(description);
  if (!pipeline.get()) return false;
  std::optional<DisplayOrderStamper> stamper;
  if (GstElement* parser = pipeline.Element("restamp")) stamper.emplace(parser);
  return pipeline.Play() == Outcome::kEos;
}

}  // namespace lumivox::test
