// How a graph connects streams to its renderers. The first audio and the first video
// stream are decoded and rendered; every other stream (subtitles, data, further tracks)
// ends in a null renderer, so nothing is ever handed back to auto-plugging.

#include <gst/video/videooverlay.h>

#include <fstream>
#include <string_view>

#include "engine/FilterGraph.h"
#include "engine/SourceFilters.h"
#include "playlist/ListNames.h"

namespace lumivox {
namespace {

std::string CapsName(GstCaps* caps) {
  if (!caps || gst_caps_is_empty(caps) || gst_caps_is_any(caps)) return {};
  return gst_structure_get_name(gst_caps_get_structure(caps, 0));
}

CapsRef PadCaps(GstPad* pad) {
  if (GstCaps* current = gst_pad_get_current_caps(pad)) return AdoptCaps(current);
  return AdoptCaps(gst_pad_query_caps(pad, nullptr));
}

// FORM ... AIFF or AIFC: an Audio Interchange File, plain or compressed.
bool IsAiffFile(const std::string& path) {
  char head[12] = {};
  std::ifstream file(path, std::ios::binary);
  return file.read(head, sizeof head) && std::string_view(head, 4) == "FORM" &&
         (std::string_view(head + 8, 4) == "AIFF" || std::string_view(head + 8, 4) == "AIFC");
}

void SetIfPresent(GstElement* element, const char* property, gboolean value) {
  if (g_object_class_find_property(G_OBJECT_GET_CLASS(element), property)) {
    g_object_set(element, property, value, nullptr);
  }
}

}  // namespace

void FilterGraph::RenderReaderPads(GstElement* reader, bool hasDynamicPads) {
  if (hasDynamicPads) {
    std::lock_guard lock(mutex_);
    ++buildingSources_;
  }
  g_signal_connect(reader, "pad-added", G_CALLBACK(&FilterGraph::OnReaderPad), this);
  g_signal_connect(reader, "no-more-pads", G_CALLBACK(&FilterGraph::OnNoMorePads), this);
  IteratorPtr pads(gst_element_iterate_src_pads(reader));
  GValue item = G_VALUE_INIT;
  while (gst_iterator_next(pads.get(), &item) == GST_ITERATOR_OK) {
    RenderReaderPad(GST_PAD(g_value_get_object(&item)));
    g_value_reset(&item);
  }
  g_value_unset(&item);
}

bool FilterGraph::RenderFile(const std::string& path) {
  if (IsStreamName(path)) return RenderStream(path);
  ElementRef source = MakeElement("filesrc");
  if (!source || !AddFilter(source.get(), path.c_str())) return false;
  g_object_set(source.get(), "location", path.c_str(), nullptr);
  if (IsAiffFile(path)) return RenderAiff(source.get());
  ElementRef decoder = MakeElement("decodebin");
  if (!decoder) return false;
  WatchAutoPlugging(decoder.get());
  g_signal_connect(decoder.get(), "pad-added", G_CALLBACK(&FilterGraph::OnDecodedPad), this);
  gst_bin_add(GST_BIN(pipeline_.get()), decoder.get());
  decodeBin_ = decoder.get();
  return gst_element_link(source.get(), decoder.get());
}

bool FilterGraph::RenderStream(const std::string& uri) {
  ElementRef source = MakeStreamSource(uri);
  if (!source || !AddFilter(source.get(), uri.c_str())) {
    std::lock_guard lock(mutex_);
    error_ = "nothing here reads " + UriScheme(uri) + " streams";
    return false;
  }
  if (PadRef output{gst_element_get_static_pad(source.get(), "src")}; !output) {
    // Sources such as RTSP's bring a pad for each stream once they have asked the server.
    {
      std::lock_guard lock(mutex_);
      ++buildingSources_;
    }
    g_signal_connect(source.get(), "pad-added", G_CALLBACK(&FilterGraph::OnStreamSourcePad), this);
    g_signal_connect(source.get(), "no-more-pads", G_CALLBACK(&FilterGraph::OnNoMorePads), this);
    return true;
  }
  std::vector<ElementRef> chain;
  chain.push_back(MakeBufferingQueue());
  chain.push_back(MakeElement("decodebin"));
  if (!chain[0] || !chain[1]) return false;
  decodeBin_ = chain[1].get();
  WatchAutoPlugging(decodeBin_);
  g_signal_connect(decodeBin_, "pad-added", G_CALLBACK(&FilterGraph::OnDecodedPad), this);
  for (const auto& element : chain) gst_bin_add(GST_BIN(pipeline_.get()), element.get());
  return gst_element_link_many(source.get(), chain[0].get(), chain[1].get(), nullptr);
}

void FilterGraph::OnStreamSourcePad(GstElement*, GstPad* pad, gpointer self) {
  auto* graph = static_cast<FilterGraph*>(self);
  std::vector<ElementRef> chain;
  chain.push_back(MakeElement("decodebin"));
  if (!chain[0]) return;
  graph->WatchAutoPlugging(chain[0].get());
  g_signal_connect(chain[0].get(), "pad-added", G_CALLBACK(&FilterGraph::OnDecodedPad), self);
  graph->LinkChain(pad, chain);
}

bool FilterGraph::RenderAiff(GstElement* source) {
  // Auto-plugging links aiffparse's always-present output to an output pad of its own and
  // starts the parser before it holds that pad back until it is exposed; the parser pushes
  // at once, so its first buffer can find no peer and the stream stops. Linked to its
  // renderer before the graph starts, the parser always has somewhere to push.
  ElementRef parser = MakeElement("aiffparse");
  if (!parser) return false;
  gst_bin_add(GST_BIN(pipeline_.get()), parser.get());
  PadRef output{gst_element_get_static_pad(parser.get(), "src")};
  return gst_element_link(source, parser.get()) && output && ClaimStream(StreamKind::Audio) &&
         RenderAudio(output.get());
}

void FilterGraph::OnDecodedPad(GstElement*, GstPad* pad, gpointer self) {
  auto* graph = static_cast<FilterGraph*>(self);
  if (GST_PAD_DIRECTION(pad) != GST_PAD_SRC || gst_pad_is_linked(pad)) return;
  CapsRef caps = PadCaps(pad);
  const StreamKind kind = KindOf(caps.get());
  if (graph->ClaimStream(kind)) {
    graph->RenderDecoded(pad, kind);
  } else {
    graph->Discard(pad);
  }
}

void FilterGraph::OnReaderPad(GstElement*, GstPad* pad, gpointer self) {
  if (GST_PAD_DIRECTION(pad) == GST_PAD_SRC) static_cast<FilterGraph*>(self)->RenderReaderPad(pad);
}

void FilterGraph::OnStreamAudioPad(GstElement*, GstPad* pad, gpointer self) {
  static_cast<FilterGraph*>(self)->RenderDecoded(pad, StreamKind::Audio);
}

void FilterGraph::OnStreamVideoPad(GstElement*, GstPad* pad, gpointer self) {
  static_cast<FilterGraph*>(self)->RenderDecoded(pad, StreamKind::Video);
}

void FilterGraph::OnNoMorePads(GstElement*, gpointer self) {
  auto* graph = static_cast<FilterGraph*>(self);
  {
    std::lock_guard lock(graph->mutex_);
    if (graph->buildingSources_ > 0) --graph->buildingSources_;
  }
  graph->Signal();
}

gboolean FilterGraph::OnAutoplugContinue(GstElement*, GstPad*, GstCaps* caps, gpointer self) {
  // Stop where a preferred filter waiting in the graph takes the stream as it stands.
  return !static_cast<FilterGraph*>(self)->PreferredAccepts(caps);
}

void FilterGraph::WatchAutoPlugging(GstElement* decodeBin) {
  g_signal_connect(decodeBin, "autoplug-continue", G_CALLBACK(&FilterGraph::OnAutoplugContinue), this);
}

FilterGraph::StreamKind FilterGraph::KindOf(GstCaps* caps) {
  const std::string name = CapsName(caps);
  if (name.starts_with("audio/")) return StreamKind::Audio;
  if (name.starts_with("video/") || name.starts_with("image/")) return StreamKind::Video;
  return StreamKind::Other;
}

bool FilterGraph::ClaimStream(StreamKind kind) {
  std::lock_guard lock(mutex_);
  bool* claimed = kind == StreamKind::Audio ? &audioClaimed_ : kind == StreamKind::Video ? &videoClaimed_ : nullptr;
  if (!claimed || *claimed) return false;
  *claimed = true;
  return true;
}

void FilterGraph::RenderReaderPad(GstPad* pad) {
  if (gst_pad_is_linked(pad)) return;
  CapsRef caps = PadCaps(pad);
  const StreamKind kind = KindOf(caps.get());
  if (!ClaimStream(kind)) {
    Discard(pad);
    return;
  }
  // One queue for all of a reader's streams, growing for a stream while another has
  // nothing: a file whose streams lie far apart still prerolls.
  GstElement* queue = ReaderQueue();
  PadRef input{queue ? gst_element_request_pad_simple(queue, "sink_%u") : nullptr};
  if (!input || gst_pad_link(pad, input.get()) != GST_PAD_LINK_OK) return;
  const std::string outputName = "src_" + std::string(GST_PAD_NAME(input.get())).substr(5);
  PadRef output{gst_element_get_static_pad(queue, outputName.c_str())};
  if (output) RenderCoded(output.get(), kind);
}

GstElement* FilterGraph::ReaderQueue() {
  {
    std::lock_guard lock(mutex_);
    if (readerQueue_) return readerQueue_;
  }
  ElementRef queue = MakeElement("multiqueue");
  if (!queue) return nullptr;
  g_object_set(queue.get(), "max-size-buffers", 5u, "max-size-bytes", 0u, "max-size-time", guint64{0}, nullptr);
  gst_bin_add(GST_BIN(pipeline_.get()), queue.get());
  gst_element_sync_state_with_parent(queue.get());
  std::lock_guard lock(mutex_);
  readerQueue_ = queue.get();
  return readerQueue_;
}

void FilterGraph::RenderCoded(GstPad* pad, StreamKind kind) {
  CapsRef caps = PadCaps(pad);
  const std::string name = CapsName(caps.get());
  if (name == "audio/x-raw" || name == "video/x-raw") {
    RenderDecoded(pad, kind);
  } else if (GstElement* decoder = ClaimPreferred(caps.get(), false)) {
    NoteVideoStream(caps.get());
    RenderThroughDecoder(pad, decoder, kind);
  } else {
    NoteVideoStream(caps.get());
    RenderThroughDecodeBin(pad, kind);
  }
}

void FilterGraph::RenderDecoded(GstPad* pad, StreamKind kind) {
  if (GST_PAD_DIRECTION(pad) != GST_PAD_SRC || gst_pad_is_linked(pad)) return;
  CapsRef caps = PadCaps(pad);
  const std::string name = CapsName(caps.get());
  if (KindOf(caps.get()) != kind) {
    Discard(pad);
    return;
  }
  NoteVideoStream(caps.get());
  if (name == "audio/x-raw") {
    RenderAudio(pad);
  } else if (name == "video/x-raw") {
    RenderVideo(pad);
  } else if (GstElement* decoder = ClaimPreferred(caps.get(), false)) {
    RenderThroughDecoder(pad, decoder, kind);
  } else {
    Discard(pad);
  }
}

void FilterGraph::NoteVideoStream(GstCaps* caps) {
  if (KindOf(caps) != StreamKind::Video || !gst_caps_is_fixed(caps)) return;
  std::lock_guard lock(mutex_);
  if (!videoStream_) videoStream_ = AdoptCaps(gst_caps_ref(caps));
}

bool FilterGraph::RenderAudio(GstPad* pad) {
  std::vector<ElementRef> chain;
  chain.push_back(MakeElement("audioconvert"));
  chain.push_back(MakeElement("audioresample"));
  chain.push_back(MakeElement("volume"));
  chain.push_back(MakeElement(outputs_.audioSink.c_str(), UniqueName("Audio Renderer").c_str()));
  if (!chain.back()) chain.back() = MakeElement("fakesink", UniqueName("Audio Renderer").c_str());
  for (const auto& element : chain) {
    if (!element) return false;
  }
  if (outputs_.audioSink == "fakesink") g_object_set(chain.back().get(), "sync", TRUE, nullptr);
  GstElement* volume = chain[2].get();
  {
    // The first sample already plays at the user's volume.
    std::lock_guard lock(mutex_);
    g_object_set(volume, "volume", gain_, nullptr);
  }
  if (!LinkChain(pad, chain)) return false;
  std::lock_guard lock(mutex_);
  volumes_.push_back(volume);
  return true;
}

bool FilterGraph::RenderVideo(GstPad* pad) {
  if (GstElement* device = ClaimPreferred(nullptr, true)) return RenderToDevice(pad, device);
  // The first video stream is where the output is chosen: audio alone never makes one.
  const VideoOutput output = outputs_.videoOutput ? outputs_.videoOutput() : VideoOutput{};
  ElementRef sink = MakeVideoSink(output);
  const bool windowSink = sink && GST_IS_VIDEO_OVERLAY(sink.get());
  GstElement* rawSink = sink.get();
  std::vector<ElementRef> chain = MakeVideoChain(windowSink && output.scaledInGraph);
  if (chain.empty() || !sink) return false;
  chain.push_back(std::move(sink));
  PadRef input{gst_element_get_static_pad(chain[0].get(), "sink")};
  if (!LinkChain(pad, chain)) return false;
  std::lock_guard lock(mutex_);
  videoSinks_.push_back(rawSink);
  hasWindowSink_ = hasWindowSink_ || (windowSink && outputs_.windowHandle);
  if (!videoInput_) videoInput_ = std::move(input);
  return true;
}

bool FilterGraph::RenderToDevice(GstPad* pad, GstElement* device) {
  ElementRef converter = MakeElement("videoconvert");
  if (!converter) return false;
  PadRef input{gst_element_get_static_pad(converter.get(), "sink")};
  gst_bin_add(GST_BIN(pipeline_.get()), converter.get());
  if (!gst_element_link(converter.get(), device)) return false;
  gst_element_set_locked_state(device, FALSE);
  gst_element_sync_state_with_parent(device);
  gst_element_sync_state_with_parent(converter.get());
  if (gst_pad_link(pad, input.get()) != GST_PAD_LINK_OK) return false;
  std::lock_guard lock(mutex_);
  videoSinks_.push_back(device);
  if (!videoInput_) videoInput_ = std::move(input);
  return true;
}

std::vector<ElementRef> FilterGraph::MakeVideoChain(bool scaled) {
  std::vector<ElementRef> chain;
  std::lock_guard lock(mutex_);
  if (scaled && outputs_.windowHandle && !scaler_) {
    scaler_ = std::make_unique<PictureScaler>();
    return scaler_->MakeChain(outputs_.windowWidth, outputs_.windowHeight);
  }
  chain.push_back(MakeElement("videoconvert"));
  if (!chain.back()) chain.clear();
  return chain;
}

ElementRef FilterGraph::MakeVideoSink(const VideoOutput& output) {
  const std::string name = UniqueName("Video Renderer");
  std::lock_guard lock(mutex_);
  ElementRef sink;
  if (!output.sink.empty() && !hasWindowSink_) sink = MakeElement(output.sink.c_str(), name.c_str());
  // Given no window of ours, the sink opens one of its own.
  if (sink && !outputs_.windowHandle) return sink;
  if (sink && GST_IS_VIDEO_OVERLAY(sink.get())) {
    // The window's shape sets the picture's shape; the sink only fills it.
    SetIfPresent(sink.get(), "force-aspect-ratio", FALSE);
    // Pictures scaled for the window come with square pixels, whatever the display's are.
    if (output.scaledInGraph) g_object_set(sink.get(), "pixel-aspect-ratio", "1/1", nullptr);
    gst_video_overlay_handle_events(GST_VIDEO_OVERLAY(sink.get()), FALSE);
    gst_video_overlay_set_window_handle(GST_VIDEO_OVERLAY(sink.get()), outputs_.windowHandle);
    return sink;
  }
  sink = MakeElement("fakesink", name.c_str());
  if (sink) g_object_set(sink.get(), "sync", TRUE, nullptr);
  return sink;
}

bool FilterGraph::Discard(GstPad* pad) {
  ElementRef sink = MakeElement("fakesink", UniqueName("Null Renderer").c_str());
  if (!sink) return false;
  // Takes no part in prerolling and never waits for the clock. Nor is it asked where the
  // graph stands: paused, it would tell the time of the last buffer it swallowed (a
  // subtitle half a second in, say), far ahead of the picture and sound.
  g_object_set(sink.get(), "sync", FALSE, "async", FALSE, "enable-last-sample", FALSE, nullptr);
  GST_OBJECT_FLAG_UNSET(sink.get(), GST_ELEMENT_FLAG_SINK);
  std::vector<ElementRef> chain;
  chain.push_back(std::move(sink));
  return LinkChain(pad, chain);
}

bool FilterGraph::RenderThroughDecoder(GstPad* pad, GstElement* decoder, StreamKind kind) {
  PadRef output{gst_element_get_static_pad(decoder, "src")};
  PadRef input{gst_element_get_static_pad(decoder, "sink")};
  if (!output || !input) return false;
  RenderDecoded(output.get(), kind);
  gst_element_set_locked_state(decoder, FALSE);
  gst_element_sync_state_with_parent(decoder);
  return gst_pad_link(pad, input.get()) == GST_PAD_LINK_OK;
}

bool FilterGraph::RenderThroughDecodeBin(GstPad* pad, StreamKind kind) {
  ElementRef decoder = MakeElement("decodebin");
  if (!decoder) return false;
  WatchAutoPlugging(decoder.get());
  g_signal_connect(
      decoder.get(), "pad-added",
      G_CALLBACK(kind == StreamKind::Audio ? &FilterGraph::OnStreamAudioPad : &FilterGraph::OnStreamVideoPad), this);
  std::vector<ElementRef> chain;
  chain.push_back(std::move(decoder));
  return LinkChain(pad, chain);
}

bool FilterGraph::LinkChain(GstPad* pad, const std::vector<ElementRef>& chain) {
  for (const auto& element : chain) gst_bin_add(GST_BIN(pipeline_.get()), element.get());
  for (std::size_t i = 1; i < chain.size(); ++i) {
    if (!gst_element_link(chain[i - 1].get(), chain[i].get())) return false;
  }
  for (auto it = chain.rbegin(); it != chain.rend(); ++it) gst_element_sync_state_with_parent(it->get());
  PadRef input{gst_element_get_static_pad(chain.front().get(), "sink")};
  return input && gst_pad_link(pad, input.get()) == GST_PAD_LINK_OK;
}

GstElement* FilterGraph::ClaimPreferred(GstCaps* caps, bool videoRenderer) {
  std::lock_guard lock(mutex_);
  for (Preferred& filter : preferred_) {
    if (filter.claimed || filter.isVideoRenderer != videoRenderer) continue;
    if (!videoRenderer && (!caps || !filter.accepts || !gst_caps_is_subset(caps, filter.accepts.get()))) continue;
    filter.claimed = true;
    return filter.element;
  }
  return nullptr;
}

bool FilterGraph::PreferredAccepts(GstCaps* caps) const {
  std::lock_guard lock(mutex_);
  for (const Preferred& filter : preferred_) {
    if (filter.claimed || filter.isVideoRenderer) continue;
    if (filter.accepts && gst_caps_is_subset(caps, filter.accepts.get())) return true;
  }
  return false;
}

std::string FilterGraph::UniqueName(const char* base) {
  // Later renderers of one kind are numbered after the first, as "Null Renderer 0001".
  std::lock_guard lock(mutex_);
  const int number = nameCounts_[base]++;
  if (number == 0) return base;
  char suffix[8];
  g_snprintf(suffix, sizeof suffix, " %04d", number % 10000);
  return std::string(base) + suffix;
}

}  // namespace lumivox
