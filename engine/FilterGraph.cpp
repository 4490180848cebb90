#include "engine/FilterGraph.h"

#include <gst/base/gstbaseparse.h>
#include <gst/video/videooverlay.h>

#include <algorithm>

#include "engine/SourceFilters.h"

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

CapsRef SinkTemplateCaps(GstElement* element) {
  PadRef sink{gst_element_get_static_pad(element, "sink")};
  return sink ? AdoptCaps(gst_pad_get_pad_template_caps(sink.get())) : nullptr;
}

void SetIfPresent(GstElement* element, const char* property, gboolean value) {
  if (g_object_class_find_property(G_OBJECT_GET_CLASS(element), property)) {
    g_object_set(element, property, value, nullptr);
  }
}

}  // namespace

std::vector<PadRef> GetPins(GstElement* element, GstPadDirection direction, std::size_t maximum) {
  std::vector<PadRef> pins;
  IteratorPtr pads(gst_element_iterate_pads(element));
  GValue item = G_VALUE_INIT;
  while (pins.size() < maximum && gst_iterator_next(pads.get(), &item) == GST_ITERATOR_OK) {
    auto* pad = GST_PAD(g_value_get_object(&item));
    if (GST_PAD_DIRECTION(pad) == direction) pins.push_back(AddRef(pad));
    g_value_reset(&item);
  }
  g_value_unset(&item);
  return pins;
}

FilterGraph::FilterGraph(OutputChoice outputs, std::function<void()> notify)
    : outputs_(std::move(outputs)), notify_(std::move(notify)), pipeline_(Sink(gst_pipeline_new("graph"))) {
  GstRef<GstBus> bus{gst_element_get_bus(pipeline_.get())};
  gst_bus_set_sync_handler(bus.get(), &FilterGraph::OnBusMessage, this, nullptr);
}

FilterGraph::~FilterGraph() {
  // The pipeline first: it flushes the streams that hold the filters' pads.
  gst_element_set_state(pipeline_.get(), GST_STATE_NULL);
  for (const Preferred& filter : preferred_) {
    gst_element_set_locked_state(filter.element, FALSE);
    gst_element_set_state(filter.element, GST_STATE_NULL);
  }
  GstRef<GstBus> bus{gst_element_get_bus(pipeline_.get())};
  gst_bus_set_sync_handler(bus.get(), nullptr, nullptr, nullptr);
}

bool FilterGraph::AddFilter(GstElement* element, const char* name) {
  if (FindFilterByName(name)) return false;
  gst_object_set_name(GST_OBJECT(element), name);
  return gst_bin_add(GST_BIN(pipeline_.get()), element);
}

void FilterGraph::AddPreferredFilter(GstElement* element, const char* name, bool isVideoRenderer) {
  gst_element_set_locked_state(element, TRUE);
  if (!AddFilter(element, name)) return;
  std::lock_guard lock(mutex_);
  preferred_.push_back({element, isVideoRenderer ? nullptr : SinkTemplateCaps(element), isVideoRenderer});
}

GstElement* FilterGraph::FindFilterByName(const char* name) const {
  ElementRef found{gst_bin_get_by_name(GST_BIN(pipeline_.get()), name)};
  return found.get();  // the pipeline keeps its own reference
}

void FilterGraph::RemoveFilter(GstElement* element) {
  {
    std::lock_guard lock(mutex_);
    std::erase_if(preferred_, [&](const Preferred& p) { return p.element == element; });
  }
  gst_element_set_locked_state(element, TRUE);
  gst_element_set_state(element, GST_STATE_NULL);
  gst_bin_remove(GST_BIN(pipeline_.get()), element);
}

void FilterGraph::RenderOutputPads(GstElement* source, bool hasDynamicPads) {
  if (hasDynamicPads) {
    std::lock_guard lock(mutex_);
    ++buildingSources_;
  }
  // A reader's streams come from one thread: each gets a queue, so one stream waiting
  // to preroll never starves the others.
  g_signal_connect(source, "pad-added",
                   G_CALLBACK(hasDynamicPads ? &FilterGraph::OnReaderPadAdded : &FilterGraph::OnPadAdded), this);
  g_signal_connect(source, "no-more-pads", G_CALLBACK(&FilterGraph::OnNoMorePads), this);
  IteratorPtr pads(gst_element_iterate_src_pads(source));
  GValue item = G_VALUE_INIT;
  while (gst_iterator_next(pads.get(), &item) == GST_ITERATOR_OK) {
    auto* pad = GST_PAD(g_value_get_object(&item));
    hasDynamicPads ? RenderQueued(pad) : RenderPad(pad);
    g_value_reset(&item);
  }
  g_value_unset(&item);
}

bool FilterGraph::RenderFile(const std::string& path) {
  ElementRef source = MakeElement("filesrc");
  ElementRef decoder = MakeElement("decodebin");
  if (!source || !decoder || !AddFilter(source.get(), path.c_str())) return false;
  g_object_set(source.get(), "location", path.c_str(), nullptr);
  WatchAutoPlugging(decoder.get());
  gst_bin_add(GST_BIN(pipeline_.get()), decoder.get());
  if (!gst_element_link(source.get(), decoder.get())) return false;
  RenderOutputPads(decoder.get(), false);
  return true;
}

bool FilterGraph::Preroll(std::chrono::milliseconds timeout) {
  const auto deadline = std::chrono::steady_clock::now() + timeout;
  if (gst_element_set_state(pipeline_.get(), GST_STATE_PAUSED) == GST_STATE_CHANGE_FAILURE) return false;
  std::unique_lock lock(mutex_);
  for (;;) {
    if (failed_) return false;
    if (buildingSources_ == 0) {
      lock.unlock();
      const auto result = gst_element_get_state(pipeline_.get(), nullptr, nullptr, 0);
      lock.lock();
      if (result == GST_STATE_CHANGE_FAILURE || failed_) return false;
      if (result != GST_STATE_CHANGE_ASYNC) return !volumes_.empty() || !videoSinks_.empty();
    }
    if (std::chrono::steady_clock::now() >= deadline) return false;
    // Woken by the bus; the short limit covers a state change that posts nothing.
    changed_.wait_for(lock, std::chrono::milliseconds(20), [this] { return wake_; });
    wake_ = false;
  }
}

bool FilterGraph::GetEvent(GraphEvent& event) {
  std::lock_guard lock(mutex_);
  if (events_.empty()) return false;
  event = events_.front();
  events_.pop_front();
  return true;
}

bool FilterGraph::Failed() const {
  std::lock_guard lock(mutex_);
  return failed_;
}

bool FilterGraph::EstimateDuration(std::int64_t& nanoseconds) const {
  bool known = false;
  IteratorPtr all(gst_bin_iterate_recurse(GST_BIN(pipeline_.get())));
  GValue item = G_VALUE_INIT;
  while (gst_iterator_next(all.get(), &item) == GST_ITERATOR_OK) {
    auto* element = GST_ELEMENT(g_value_get_object(&item));
    PadRef input{GST_IS_BASE_PARSE(element) ? gst_element_get_static_pad(element, "sink") : nullptr};
    gint64 bytes = 0;
    gint64 time = 0;
    if (input && gst_pad_peer_query_duration(input.get(), GST_FORMAT_BYTES, &bytes) &&
        gst_element_query_convert(element, GST_FORMAT_BYTES, bytes, GST_FORMAT_TIME, &time) && time > 0) {
      nanoseconds = known ? std::max<std::int64_t>(nanoseconds, time) : time;
      known = true;
    }
    g_value_reset(&item);
  }
  g_value_unset(&item);
  return known;
}

bool FilterGraph::HasVideo() const {
  std::lock_guard lock(mutex_);
  return videoInput_ != nullptr;
}

bool FilterGraph::HasVideoWindow() const {
  std::lock_guard lock(mutex_);
  return hasWindowSink_;
}

void FilterGraph::SetVolume(double gain) {
  std::lock_guard lock(mutex_);
  for (GstElement* volume : volumes_) g_object_set(volume, "volume", gain, nullptr);
}

bool FilterGraph::GetVideoSize(int& width, int& height) const {
  std::lock_guard lock(mutex_);
  if (!videoInput_) return false;
  // A renderer can preroll on a gap before its first picture; the stream's own caps
  // carry the size then.
  CapsRef decoded = AdoptCaps(gst_pad_get_current_caps(videoInput_.get()));
  for (GstCaps* caps : {decoded.get(), videoStream_.get()}) {
    if (!caps || gst_caps_is_empty(caps)) continue;
    const GstStructure* video = gst_caps_get_structure(caps, 0);
    if (gst_structure_get_int(video, "width", &width) && gst_structure_get_int(video, "height", &height)) return true;
  }
  return false;
}

int FilterGraph::BitRate() const {
  std::lock_guard lock(mutex_);
  return bitRate_;
}

void FilterGraph::SetWindowHandle(guintptr handle) {
  std::lock_guard lock(mutex_);
  outputs_.windowHandle = handle;
  if (!hasWindowSink_) return;
  for (GstElement* sink : videoSinks_) {
    if (GST_IS_VIDEO_OVERLAY(sink)) gst_video_overlay_set_window_handle(GST_VIDEO_OVERLAY(sink), handle);
  }
}

void FilterGraph::ExposeVideo() {
  std::lock_guard lock(mutex_);
  for (GstElement* sink : videoSinks_) {
    if (GST_IS_VIDEO_OVERLAY(sink)) gst_video_overlay_expose(GST_VIDEO_OVERLAY(sink));
  }
}

GstBusSyncReply FilterGraph::OnBusMessage(GstBus*, GstMessage* message, gpointer self) {
  static_cast<FilterGraph*>(self)->HandleMessage(message);
  gst_message_unref(message);
  return GST_BUS_DROP;
}

void FilterGraph::HandleMessage(GstMessage* message) {
  switch (GST_MESSAGE_TYPE(message)) {
    case GST_MESSAGE_EOS:
      PushEvent({EC_COMPLETE, 0, 0});
      break;
    case GST_MESSAGE_ERROR: {
      {
        std::lock_guard lock(mutex_);
        failed_ = true;
      }
      Signal();
      PushEvent({EC_ERRORABORT, 0, 0});
      break;
    }
    case GST_MESSAGE_ASYNC_DONE:
    case GST_MESSAGE_STATE_CHANGED:
      if (GST_MESSAGE_SRC(message) == GST_OBJECT(pipeline_.get())) Signal();
      break;
    case GST_MESSAGE_TAG: {
      GstTagList* raw = nullptr;
      gst_message_parse_tag(message, &raw);
      std::unique_ptr<GstTagList, GstMiniObjectUnref> tags(raw);
      guint rate = 0;
      std::lock_guard lock(mutex_);
      const bool fromVideo = std::find(videoSinks_.begin(), videoSinks_.end(),
                                       GST_ELEMENT(GST_MESSAGE_SRC(message))) != videoSinks_.end();
      if (fromVideo && (gst_tag_list_get_uint(tags.get(), GST_TAG_BITRATE, &rate) ||
                        gst_tag_list_get_uint(tags.get(), GST_TAG_NOMINAL_BITRATE, &rate))) {
        bitRate_ = static_cast<int>(rate);
      }
      break;
    }
    case GST_MESSAGE_ELEMENT:
      if (gst_is_video_overlay_prepare_window_handle_message(message)) {
        std::lock_guard lock(mutex_);
        if (outputs_.windowHandle) {
          gst_video_overlay_set_window_handle(GST_VIDEO_OVERLAY(GST_MESSAGE_SRC(message)), outputs_.windowHandle);
        }
      }
      break;
    default:
      break;
  }
}

void FilterGraph::PushEvent(GraphEvent event) {
  {
    std::lock_guard lock(mutex_);
    events_.push_back(event);
  }
  if (notify_) notify_();
}

void FilterGraph::Signal() {
  {
    std::lock_guard lock(mutex_);
    wake_ = true;
  }
  changed_.notify_all();
}

void FilterGraph::OnPadAdded(GstElement*, GstPad* pad, gpointer self) {
  if (GST_PAD_DIRECTION(pad) == GST_PAD_SRC) static_cast<FilterGraph*>(self)->RenderPad(pad);
}

void FilterGraph::OnReaderPadAdded(GstElement*, GstPad* pad, gpointer self) {
  if (GST_PAD_DIRECTION(pad) == GST_PAD_SRC) static_cast<FilterGraph*>(self)->RenderQueued(pad);
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
  g_signal_connect(decodeBin, "autoplug-select", G_CALLBACK(&FilterGraph::OnAutoplugSelect), this);
}

int FilterGraph::OnAutoplugSelect(GstElement*, GstPad*, GstCaps*, GstElementFactory* factory, gpointer) {
  // aiffparse starts pushing from its own thread before decodebin has exposed its pad; the
  // first buffer is then lost as "not-linked" and the graph never prerolls. The libav
  // AIFF demuxer waits for its pad to be linked.
  constexpr int kTry = 0;
  constexpr int kSkip = 2;
  return std::string_view(GST_OBJECT_NAME(factory)) == "aiffparse" ? kSkip : kTry;
}

void FilterGraph::RenderPad(GstPad* pad) {
  if (gst_pad_is_linked(pad)) return;
  CapsRef caps = PadCaps(pad);
  const std::string kind = CapsName(caps.get());
  if (kind.starts_with("video/") && gst_caps_is_fixed(caps.get())) {
    std::lock_guard lock(mutex_);
    if (!videoStream_) videoStream_ = AdoptCaps(gst_caps_ref(caps.get()));
  }
  if (kind == "audio/x-raw") {
    RenderAudio(pad);
  } else if (kind == "video/x-raw") {
    RenderVideo(pad);
  } else if (GstElement* decoder = ClaimPreferred(caps.get(), false)) {
    RenderThroughDecoder(pad, decoder);
  } else {
    RenderThroughDecodeBin(pad);
  }
}

void FilterGraph::RenderQueued(GstPad* pad) {
  std::vector<ElementRef> chain;
  chain.push_back(MakeElement("queue"));
  if (!chain[0] || !LinkChain(pad, chain)) return;
  PadRef output{gst_element_get_static_pad(chain[0].get(), "src")};
  RenderPad(output.get());
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
  if (!LinkChain(pad, chain)) return false;
  std::lock_guard lock(mutex_);
  volumes_.push_back(chain[2].get());
  return true;
}

bool FilterGraph::RenderVideo(GstPad* pad) {
  GstElement* device = ClaimPreferred(nullptr, true);
  std::vector<ElementRef> chain;
  chain.push_back(MakeElement("videoconvert"));
  if (device) {
    PadRef input{gst_element_get_static_pad(chain[0].get(), "sink")};
    ElementRef converter = std::move(chain[0]);
    gst_bin_add(GST_BIN(pipeline_.get()), converter.get());
    if (!gst_element_link(converter.get(), device)) return false;
    gst_element_set_locked_state(device, FALSE);
    gst_element_sync_state_with_parent(device);
    gst_element_sync_state_with_parent(converter.get());
    if (gst_pad_link(pad, input.get()) != GST_PAD_LINK_OK) return false;
    std::lock_guard lock(mutex_);
    videoSinks_.push_back(device);
    if (!videoInput_) videoInput_ = AddRef(input.get());
    return true;
  }
  ElementRef sink = MakeVideoSink();
  const bool windowSink = sink && GST_IS_VIDEO_OVERLAY(sink.get());
  GstElement* rawSink = sink.get();
  chain.push_back(std::move(sink));
  if (!chain[0] || !chain[1]) return false;
  PadRef input{gst_element_get_static_pad(chain[0].get(), "sink")};
  if (!LinkChain(pad, chain)) return false;
  std::lock_guard lock(mutex_);
  videoSinks_.push_back(rawSink);
  hasWindowSink_ = hasWindowSink_ || windowSink;
  if (!videoInput_) videoInput_ = std::move(input);
  return true;
}

ElementRef FilterGraph::MakeVideoSink() {
  const std::string name = UniqueName("Video Renderer");
  std::lock_guard lock(mutex_);
  // One picture in the window; any further video stream plays unseen.
  ElementRef sink;
  if (!outputs_.videoSink.empty() && outputs_.windowHandle && !hasWindowSink_) {
    sink = MakeElement(outputs_.videoSink.c_str(), name.c_str());
  }
  if (sink && GST_IS_VIDEO_OVERLAY(sink.get())) {
    // The window's shape sets the picture's shape; the sink only fills it.
    SetIfPresent(sink.get(), "force-aspect-ratio", FALSE);
    gst_video_overlay_handle_events(GST_VIDEO_OVERLAY(sink.get()), FALSE);
    gst_video_overlay_set_window_handle(GST_VIDEO_OVERLAY(sink.get()), outputs_.windowHandle);
    return sink;
  }
  sink = MakeElement("fakesink", name.c_str());
  if (sink) g_object_set(sink.get(), "sync", TRUE, nullptr);
  return sink;
}

bool FilterGraph::RenderThroughDecoder(GstPad* pad, GstElement* decoder) {
  PadRef output{gst_element_get_static_pad(decoder, "src")};
  PadRef input{gst_element_get_static_pad(decoder, "sink")};
  if (!output || !input) return false;
  RenderPad(output.get());
  gst_element_set_locked_state(decoder, FALSE);
  gst_element_sync_state_with_parent(decoder);
  return gst_pad_link(pad, input.get()) == GST_PAD_LINK_OK;
}

bool FilterGraph::RenderThroughDecodeBin(GstPad* pad) {
  ElementRef decoder = MakeElement("decodebin");
  if (!decoder) return false;
  WatchAutoPlugging(decoder.get());
  g_signal_connect(decoder.get(), "pad-added", G_CALLBACK(&FilterGraph::OnPadAdded), this);
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
  // Later renderers of one kind are numbered after the first, as "Audio Renderer 0001".
  std::lock_guard lock(mutex_);
  const int number = nameCounts_[base]++;
  if (number == 0) return base;
  char suffix[8];
  g_snprintf(suffix, sizeof suffix, " %04d", number % 10000);
  return std::string(base) + suffix;
}

}  // namespace lumivox
