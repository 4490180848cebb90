#include "engine/SourceFilters.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <fstream>
#include <vector>

#include "engine/EngineLog.h"
#include "engine/GstRuntime.h"
#include "engine/SourceChoice.h"
#include "playlist/ListNames.h"

namespace lumivox {
namespace {

// {75B22630-668E-11CF-A6D9-00AA0062CE6C} as it is stored.
constexpr std::array<unsigned char, 16> kAsfHeaderGuid = {0x30, 0x26, 0xB2, 0x75, 0x8E, 0x66, 0xCF, 0x11,
                                                          0xA6, 0xD9, 0x00, 0xAA, 0x00, 0x62, 0xCE, 0x6C};

void GhostNewPad(GstElement*, GstPad* pad, GstElement* reader) {
  if (GST_PAD_DIRECTION(pad) != GST_PAD_SRC) return;
  GstPad* ghost = gst_ghost_pad_new(GST_PAD_NAME(pad), pad);
  gst_pad_set_active(ghost, TRUE);
  gst_element_add_pad(reader, ghost);
}

void RemoveGhost(GstElement*, GstPad* pad, GstElement* reader) {
  IteratorPtr pads(gst_element_iterate_src_pads(reader));
  GValue item = G_VALUE_INIT;
  GstPad* found = nullptr;
  while (!found && gst_iterator_next(pads.get(), &item) == GST_ITERATOR_OK) {
    auto* ghost = GST_PAD(g_value_get_object(&item));
    if (PadRef target{gst_ghost_pad_get_target(GST_GHOST_PAD(ghost))}; target.get() == pad) found = ghost;
    g_value_reset(&item);
  }
  g_value_unset(&item);
  if (found) gst_element_remove_pad(reader, found);
}

void ForwardNoMorePads(GstElement*, GstElement* reader) { gst_element_no_more_pads(reader); }

GstElement* Child(GstElement* bin, const char* name) {
  // The bin keeps its own reference; the lookup's extra one is dropped at once.
  ElementRef child{gst_bin_get_by_name(GST_BIN(bin), name)};
  return child.get();
}

}  // namespace

ElementRef CreateAsfReader() {
  ElementRef demuxer = MakeElement("asfdemux", "demuxer");
  if (!demuxer) return nullptr;
  ElementRef reader = Sink(gst_bin_new(kAsfReaderName));
  gst_bin_add(GST_BIN(reader.get()), demuxer.get());
  g_signal_connect(demuxer.get(), "pad-added", G_CALLBACK(GhostNewPad), reader.get());
  g_signal_connect(demuxer.get(), "pad-removed", G_CALLBACK(RemoveGhost), reader.get());
  g_signal_connect(demuxer.get(), "no-more-pads", G_CALLBACK(ForwardNoMorePads), reader.get());
  return reader;
}

bool LoadAsfReader(GstElement* reader, const std::string& path) {
  std::vector<ElementRef> chain;
  if (IsStreamName(path)) {
    chain.push_back(MakeStreamSource(path));
    chain.push_back(MakeBufferingQueue());
  } else {
    std::array<unsigned char, 16> head{};
    std::ifstream file(path, std::ios::binary);
    if (!file.read(reinterpret_cast<char*>(head.data()), head.size()) || head != kAsfHeaderGuid) return false;
    chain.push_back(MakeElement("filesrc"));
    if (chain.back()) g_object_set(chain.back().get(), "location", path.c_str(), nullptr);
  }
  GstElement* next = Child(reader, "demuxer");
  for (auto it = chain.rbegin(); it != chain.rend(); ++it) {
    if (!*it) return false;
    gst_bin_add(GST_BIN(reader), it->get());
    if (!gst_element_link(it->get(), next)) return false;
    next = it->get();
  }
  return true;
}

ElementRef CreateCdReader() {
  if (!gst_uri_protocol_is_supported(GST_URI_SRC, "cdda")) return nullptr;
  return Sink(gst_bin_new(kCdReaderName));
}

bool IsReadableStream(const std::string& name) {
  return IsStreamName(name) && InitGStreamer() && gst_uri_protocol_is_supported(GST_URI_SRC, UriScheme(name).c_str());
}

std::vector<std::string> ReadableSchemes() {
  std::vector<std::string> schemes{"file"};
  if (!InitGStreamer()) return schemes;
  GList* factories = gst_element_factory_list_get_elements(GST_ELEMENT_FACTORY_TYPE_SRC, GST_RANK_NONE);
  for (GList* item = factories; item; item = item->next) {
    auto* factory = static_cast<GstElementFactory*>(item->data);
    const char* klass = gst_element_factory_get_metadata(factory, GST_ELEMENT_METADATA_KLASS);
    if (gst_element_factory_get_uri_type(factory) != GST_URI_SRC || !klass || !std::strstr(klass, "Network")) continue;
    const gchar* const* protocols = gst_element_factory_get_uri_protocols(factory);
    for (; protocols && *protocols; ++protocols) schemes.emplace_back(*protocols);
  }
  gst_plugin_feature_list_free(factories);
  std::sort(schemes.begin(), schemes.end());
  schemes.erase(std::unique(schemes.begin(), schemes.end()), schemes.end());
  return schemes;
}

ElementRef MakeStreamSource(const std::string& uri) {
  GError* raw = nullptr;
  ElementRef source = Sink(gst_element_make_from_uri(GST_URI_SRC, uri.c_str(), nullptr, &raw));
  GErrorPtr error(raw);
  if (!source) qCWarning(lcEngine) << "no source for" << uri.c_str() << ":" << (error ? error->message : "");
  return source;
}

ElementRef MakeBufferingQueue() {
  ElementRef queue = MakeElement("queue2");
  if (queue) g_object_set(queue.get(), "use-buffering", TRUE, nullptr);
  return queue;
}

bool LoadCdReader(GstElement* reader, const std::string& path) {
  const auto track = ReadCdaTrack(path);
  if (!track) return false;
  const std::string uri = "cdda://" + std::to_string(*track);
  ElementRef source = Sink(gst_element_make_from_uri(GST_URI_SRC, uri.c_str(), "disc", nullptr));
  if (!source) return false;
  gst_bin_add(GST_BIN(reader), source.get());
  PadRef pad{gst_element_get_static_pad(source.get(), "src")};
  if (!pad) return false;
  GstPad* ghost = gst_ghost_pad_new("src", pad.get());
  gst_pad_set_active(ghost, TRUE);
  gst_element_add_pad(reader, ghost);
  gst_element_no_more_pads(reader);
  return true;
}

}  // namespace lumivox
