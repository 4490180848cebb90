#include "engine/FilterGraph.h"

#include <gst/base/gstbaseparse.h>
#include <gst/pbutils/missing-plugins.h>
#include <gst/video/videooverlay.h>

#include <algorithm>

#include "engine/EngineLog.h"

namespace lumivox {

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

FilterGraph::FilterGraph(OutputChoice outputs, double gain, std::function<void()> notify,
                         std::function<void()> progress)
    : outputs_(std::move(outputs)),
      notify_(std::move(notify)),
      progress_(std::move(progress)),
      pipeline_(Sink(gst_pipeline_new("graph"))),
      gain_(gain) {
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
  PadRef sink{gst_element_get_static_pad(element, "sink")};
  std::lock_guard lock(mutex_);
  preferred_.push_back({element,
                        isVideoRenderer || !sink ? nullptr : AdoptCaps(gst_pad_get_pad_template_caps(sink.get())),
                        isVideoRenderer});
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

bool FilterGraph::StartPreroll() {
  const GstStateChangeReturn result = gst_element_set_state(pipeline_.get(), GST_STATE_PAUSED);
  live_ = result == GST_STATE_CHANGE_NO_PREROLL;
  return result != GST_STATE_CHANGE_FAILURE;
}

bool FilterGraph::SetTargetState(GstState state) {
  target_ = state;
  return ApplyState();
}

void FilterGraph::FollowBuffering() {
  if (target_ != GST_STATE_PLAYING || live_ || held_ == buffering_) return;
  qCInfo(lcEngine) << (buffering_ ? "the stream buffers: held paused" : "the stream is buffered: playing on");
  ApplyState();
}

// The target, unless a stream asked to play is still buffering. A live source cannot wait:
// it would only fall behind.
bool FilterGraph::ApplyState() {
  held_ = target_ == GST_STATE_PLAYING && buffering_ && !live_;
  return gst_element_set_state(pipeline_.get(), held_ ? GST_STATE_PAUSED : target_) != GST_STATE_CHANGE_FAILURE;
}

std::string FilterGraph::Title() const {
  std::lock_guard lock(mutex_);
  return title_;
}

PrerollState FilterGraph::CheckPreroll() {
  {
    std::lock_guard lock(mutex_);
    if (failed_) return PrerollState::Failed;
    if (buildingSources_ > 0) return PrerollState::Pending;
  }
  const auto result = gst_element_get_state(pipeline_.get(), nullptr, nullptr, 0);
  std::lock_guard lock(mutex_);
  if (result == GST_STATE_CHANGE_FAILURE || failed_) {
    if (error_.empty()) error_ = "the graph could not be paused";
    return PrerollState::Failed;
  }
  if (result == GST_STATE_CHANGE_ASYNC) return PrerollState::Pending;
  // A live source sends nothing before it plays: its streams are rendered as they come.
  if (result == GST_STATE_CHANGE_NO_PREROLL) return PrerollState::Ready;
  if (volumes_.empty() && videoSinks_.empty()) {
    if (error_.empty()) error_ = "no audio or video stream could be decoded";
    return PrerollState::Failed;
  }
  return PrerollState::Ready;
}

std::uint64_t FilterGraph::Progress() const {
  std::lock_guard lock(mutex_);
  return progressCount_;
}

void FilterGraph::WaitForProgress(int ms) {
  std::unique_lock lock(mutex_);
  const std::uint64_t seen = progressCount_;
  changed_.wait_for(lock, std::chrono::milliseconds(ms), [&] { return progressCount_ != seen; });
}

std::string FilterGraph::ErrorText() const {
  std::lock_guard lock(mutex_);
  return error_;
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

CapsRef FilterGraph::FileType() const {
  if (!decodeBin_) return nullptr;
  ElementRef typefind{gst_bin_get_by_name(GST_BIN(decodeBin_), "typefind")};
  GstCaps* caps = nullptr;
  if (typefind) g_object_get(typefind.get(), "caps", &caps, nullptr);
  return AdoptCaps(caps);
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
  gain_ = gain;
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

void FilterGraph::SetWindowSize(int width, int height) {
  PictureScaler* scaler = nullptr;
  {
    std::lock_guard lock(mutex_);
    outputs_.windowWidth = width;
    outputs_.windowHeight = height;
    scaler = scaler_.get();
  }
  // Renegotiating sends events through the graph, whose threads may want the lock.
  if (scaler) scaler->SetWindowSize(width, height);
}

void FilterGraph::ExposeVideo() {
  PictureScaler* scaler = nullptr;
  {
    std::lock_guard lock(mutex_);
    for (GstElement* sink : videoSinks_) {
      if (GST_IS_VIDEO_OVERLAY(sink)) gst_video_overlay_expose(GST_VIDEO_OVERLAY(sink));
    }
    scaler = scaler_.get();
  }
  // Paused or stopped, no picture comes to be scaled to the new size: the one shown is
  // decoded again, from where the graph stands (a graph that has not played yet knows no
  // position: it stands at its start).
  if (!scaler || !StandsStill() || !scaler->TakeRedraw()) return;
  gint64 position = 0;
  if (!gst_element_query_position(pipeline_.get(), GST_FORMAT_TIME, &position)) position = 0;
  gst_element_seek_simple(pipeline_.get(), GST_FORMAT_TIME, GstSeekFlags(GST_SEEK_FLAG_FLUSH | GST_SEEK_FLAG_ACCURATE),
                          std::max<gint64>(position, 0));
}

bool FilterGraph::StandsStill() const {
  GstState current = GST_STATE_NULL;
  GstState pending = GST_STATE_VOID_PENDING;
  return gst_element_get_state(pipeline_.get(), &current, &pending, 0) == GST_STATE_CHANGE_SUCCESS &&
         current == GST_STATE_PAUSED && pending == GST_STATE_VOID_PENDING;
}

GstBusSyncReply FilterGraph::OnBusMessage(GstBus*, GstMessage* message, gpointer self) {
  static_cast<FilterGraph*>(self)->HandleMessage(message);
  gst_message_unref(message);
  return GST_BUS_DROP;
}

void FilterGraph::HandleMessage(GstMessage* message) {
  switch (GST_MESSAGE_TYPE(message)) {
    case GST_MESSAGE_EOS: PushEvent({EC_COMPLETE, 0, 0}); break;
    case GST_MESSAGE_ERROR:
      NoteError(message);
      PushEvent({EC_ERRORABORT, 0, 0});
      break;
    case GST_MESSAGE_WARNING: {
      GError* raw = nullptr;
      gst_message_parse_warning(message, &raw, nullptr);
      GErrorPtr warning(raw);
      qCWarning(lcEngine) << "warning from" << GST_OBJECT_NAME(GST_MESSAGE_SRC(message)) << ":"
                          << (warning ? warning->message : "");
      break;
    }
    case GST_MESSAGE_DURATION_CHANGED: PushEvent({EC_LENGTH_CHANGED, 0, 0}); break;
    case GST_MESSAGE_TAG: NoteTags(message); break;
    case GST_MESSAGE_BUFFERING: {
      gint percent = 100;
      gst_message_parse_buffering(message, &percent);
      // As GStreamer asks: paused below 100 %, on again at 100 %. The UI thread does it.
      if (buffering_.exchange(percent < 100) != (percent < 100) && notify_) notify_();
      break;
    }
    case GST_MESSAGE_ELEMENT:
      if (gst_is_video_overlay_prepare_window_handle_message(message)) {
        std::lock_guard lock(mutex_);
        if (outputs_.windowHandle) {
          gst_video_overlay_set_window_handle(GST_VIDEO_OVERLAY(GST_MESSAGE_SRC(message)), outputs_.windowHandle);
        }
      } else if (gst_is_missing_plugin_message(message)) {
        GCharPtr what{gst_missing_plugin_message_get_description(message)};
        qCWarning(lcEngine) << "missing decoder:" << what.get();
        std::lock_guard lock(mutex_);
        if (error_.empty()) error_ = std::string("no decoder for ") + what.get();
      }
      break;
    default: break;
  }
  Signal();
}

void FilterGraph::NoteTags(GstMessage* message) {
  GstTagList* raw = nullptr;
  gst_message_parse_tag(message, &raw);
  std::unique_ptr<GstTagList, GstMiniObjectUnref> tags(raw);
  gchar* rawTitle = nullptr;
  GCharPtr title(gst_tag_list_get_string(tags.get(), GST_TAG_TITLE, &rawTitle) ? rawTitle : nullptr);
  guint rate = 0;
  bool retitled = false;
  {
    std::lock_guard lock(mutex_);
    const bool fromVideo =
        std::find(videoSinks_.begin(), videoSinks_.end(), GST_ELEMENT(GST_MESSAGE_SRC(message))) != videoSinks_.end();
    if (fromVideo && (gst_tag_list_get_uint(tags.get(), GST_TAG_BITRATE, &rate) ||
                      gst_tag_list_get_uint(tags.get(), GST_TAG_NOMINAL_BITRATE, &rate))) {
      bitRate_ = static_cast<int>(rate);
    }
    // Every renderer tells the same tags: the first tells the news.
    if (title && *title.get() && title_ != title.get()) {
      title_ = title.get();
      retitled = true;
    }
  }
  if (retitled) PushEvent({EC_TITLE_CHANGED, 0, 0});
}

void FilterGraph::NoteError(GstMessage* message) {
  GError* raw = nullptr;
  gchar* rawDebug = nullptr;
  gst_message_parse_error(message, &raw, &rawDebug);
  GErrorPtr error(raw);
  GCharPtr debug(rawDebug);
  const std::string text = error ? error->message : "unknown error";
  qCWarning(lcEngine) << "error from" << GST_OBJECT_NAME(GST_MESSAGE_SRC(message)) << ":" << text.c_str()
                      << (debug ? debug.get() : "");
  std::lock_guard lock(mutex_);
  failed_ = true;
  // The first error is the cause; what follows is the stream stopping because of it.
  if (error_.empty() || error_.starts_with("no decoder")) error_ = text;
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
    ++progressCount_;
  }
  changed_.notify_all();
  if (progress_ && reportProgress_) progress_();
}

}  // namespace lumivox
