#include "engine/GraphPlayer.h"

#include <QAbstractEventDispatcher>
#include <QApplication>
#include <QGuiApplication>
#include <QThread>
#include <QTimer>

#include <sys/stat.h>

#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <cstring>
#include <future>
#include <string_view>
#include <thread>

#include "engine/EngineLog.h"
#include "engine/GstRuntime.h"
#include "engine/SinkChoice.h"
#include "engine/SourceFilters.h"
#include "engine/VideoWindow.h"
#include "engine/VolumeControl.h"
#include "engine/length/MediaLength.h"
#include "playlist/ListNames.h"

namespace lumivox {
namespace {

// A graph that shows no progress for this long counts as one that cannot be played. Slow
// disks and busy machines take seconds; a stalled graph never moves again.
constexpr std::chrono::seconds kStallLimit{20};
// A stream that has not sent enough to play within this time counts as one that cannot be
// played: a server that answers and then sends nothing, or a name that does not resolve.
constexpr std::chrono::seconds kStreamLimit{10};
// The longest the open waits for the graph before it looks at the clock again.
constexpr int kStallCheckMs = 250;
constexpr GstClockTime kStateTimeout = 5 * GST_SECOND;
constexpr std::int64_t kNanosecondsPerUnit = 100;

class WaitCursor {
 public:
  WaitCursor() : shown_(qobject_cast<QGuiApplication*>(QCoreApplication::instance()) != nullptr) {
    if (shown_) QGuiApplication::setOverrideCursor(Qt::WaitCursor);
  }
  ~WaitCursor() {
    if (shown_) QGuiApplication::restoreOverrideCursor();
  }
  WaitCursor(const WaitCursor&) = delete;
  WaitCursor& operator=(const WaitCursor&) = delete;

 private:
  bool shown_;
};

bool HasWidgets() { return qobject_cast<QApplication*>(QCoreApplication::instance()) != nullptr; }

// True on the thread that runs the application's event loop.
bool OnEventLoopThread() {
  const QCoreApplication* app = QCoreApplication::instance();
  return app && QThread::currentThread() == app->thread();
}

// Runs the caller's event loop until something happens. The graph's threads wake it; the
// timer bounds the wait when nothing does.
void PumpEvents() {
  QTimer tick;
  tick.start(kStallCheckMs);
  QCoreApplication::processEvents(QEventLoop::AllEvents | QEventLoop::WaitForMoreEvents);
}

using LengthScan = std::optional<std::int64_t> (*)(const std::string&);

// The MPEG streams whose length GStreamer can only guess from their first frames.
LengthScan LengthScanFor(GstCaps* type) {
  if (!type || gst_caps_is_empty(type) || gst_caps_is_any(type)) return nullptr;
  const GstStructure* stream = gst_caps_get_structure(type, 0);
  const std::string_view name = gst_structure_get_name(stream);
  int version = 0;
  // A tag in front hides what follows; the audio scan steps over tags and refuses the rest.
  if ((name == "audio/mpeg" && gst_structure_get_int(stream, "mpegversion", &version) && version == 1) ||
      name == "application/x-id3" || name == "application/x-apetag") {
    return &MpegAudioLength;
  }
  gboolean system = FALSE;
  if (name == "video/mpeg" && gst_structure_get_int(stream, "mpegversion", &version) && version <= 2) {
    gst_structure_get_boolean(stream, "systemstream", &system);
    return system ? LengthScan{&MpegProgramStreamLength} : LengthScan{&MpegVideoStreamLength};
  }
  return nullptr;
}

bool IsRegularFile(const std::string& path) {
  struct stat info {};
  return ::stat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode);
}

}  // namespace

CGraphPlayer::CGraphPlayer(std::function<GraphChoices()> choices, std::function<void()> notify)
    : choices_(std::move(choices)), notify_(std::move(notify)) {
  if (HasWidgets()) {
    window_ = std::make_unique<VideoWindow>();
    window_->SetExposeHandler([this] {
      if (graph_) graph_->ExposeVideo();
    });
    videoOutput_ = std::make_shared<VideoOutputChoice>(EmbedsVideo());
  }
  if (OnEventLoopThread()) {
    QAbstractEventDispatcher* dispatcher = QAbstractEventDispatcher::instance();
    wakeUi_ = [dispatcher] { dispatcher->wakeUp(); };
  }
}

CGraphPlayer::~CGraphPlayer() = default;

const OutputChoice& CGraphPlayer::Outputs() {
  if (!outputs_) {
    OutputChoice choice;
    for (const char* factory : {"pulsesink", "alsasink"}) {
      if (CanReachReady(factory)) {
        choice.audioSink = factory;
        break;
      }
    }
    if (videoOutput_) choice.videoOutput = [output = videoOutput_] { return output->Get(); };
    outputs_ = choice;
  }
  if (EmbedsVideo()) {
    outputs_->windowHandle = window_->Handle();
    outputs_->windowWidth = window_->Surface()->width();
    outputs_->windowHeight = window_->Surface()->height();
  }
  return *outputs_;
}

bool CGraphPlayer::EmbedsVideo() const { return window_ && QGuiApplication::platformName() == "xcb"; }

bool CGraphPlayer::FailIfMissing(const std::string& path) {
  if (IsStreamName(path)) return false;  // only connecting to it tells
  struct stat info {};
  if (::stat(path.c_str(), &info) == 0) return false;
  Fail(path, std::strerror(errno));  // the old graph plays on
  return true;
}

bool CGraphPlayer::Open(const std::string& path) {
  lastError_.clear();
  if (FailIfMissing(path)) return false;
  // Not for a missing file: that fails in microseconds, and a search past thousands of
  // them would only make the cursor flicker.
  WaitCursor wait;
  const bool stream = IsStreamName(path);
  const SourceKind kind = SourceFor(path);
  Close();
  std::unique_ptr<FilterGraph> graph = CreateGraph();
  if (!graph) {
    Fail(path, lastError_);
    return false;
  }
  const std::uint64_t ticket = ++openTicket_;
  building_ = graph.get();
  AddPreferredFilters(*graph);
  bool built = false;
  try {
    built = Build(*graph, kind, path) && WaitUntilPrerolled(*graph, ticket, stream);
  } catch (...) {
    built = false;
  }
  std::optional<std::int64_t> length;
  if (built && !stream && ticket == openTicket_) length = MeasureLength(*graph, path, ticket);
  if (ticket != openTicket_) {
    qCInfo(lcEngine) << "open of" << path.c_str() << "cancelled";
    return false;  // whatever cancelled it owns the engine now
  }
  building_ = nullptr;
  if (!built) {
    const std::string graphError = graph->ErrorText();
    Fail(path, graphError.empty() ? lastError_ : graphError);
    return false;
  }
  graph->StopProgressReports();
  RemoveIdlePreferredFilters(*graph);
  graph_ = std::move(graph);
  length_ = length;
  stopped_ = true;
  return true;
}

std::optional<std::int64_t> CGraphPlayer::MeasureLength(FilterGraph& graph, const std::string& path,
                                                        std::uint64_t ticket) {
  const LengthScan scan = LengthScanFor(graph.FileType().get());
  if (!scan) return std::nullopt;
  // A big file takes a moment to walk: the window goes on meanwhile. The window is woken
  // only once the length can be read, or it would sleep till its next look at the clock.
  std::promise<std::optional<std::int64_t>> found;
  std::future<std::optional<std::int64_t>> length = found.get_future();
  const std::jthread scanner([&found, scan, &path, wake = wakeUi_] {
    found.set_value(scan(path));
    if (wake) wake();
  });
  while (wakeUi_ && OnEventLoopThread() && length.wait_for(std::chrono::seconds(0)) != std::future_status::ready) {
    PumpEvents();
    if (ticket != openTicket_) return std::nullopt;
  }
  return length.get();
}

std::string CGraphPlayer::LastError() const { return graph_ && graph_->Failed() ? graph_->ErrorText() : lastError_; }

void CGraphPlayer::Fail(const std::string& path, std::string reason) {
  lastError_ = reason.empty() ? "the file could not be played" : std::move(reason);
  qCWarning(lcEngine) << "cannot open" << path.c_str() << ":" << lastError_.c_str();
}

bool CGraphPlayer::Build(FilterGraph& graph, SourceKind kind, const std::string& path) {
  // A FIFO or a device would block the reader; only files and streams are played.
  if (!IsStreamName(path) && !IsRegularFile(path)) {
    lastError_ = "not a regular file";
    return false;
  }
  switch (kind) {
    case SourceKind::AsfReader: return AddSourceAndRender(graph, kind, path) || graph.RenderFile(path);
    case SourceKind::CdReader: return AddSourceAndRender(graph, kind, path);
    case SourceKind::AutoPlug: return graph.RenderFile(path);
  }
  return false;
}

bool CGraphPlayer::WaitUntilPrerolled(FilterGraph& graph, std::uint64_t ticket, bool stream) {
  if (!graph.StartPreroll()) return false;
  std::uint64_t seen = graph.Progress();
  const auto start = std::chrono::steady_clock::now();
  auto lastMove = start;
  for (;;) {
    switch (graph.CheckPreroll()) {
      case PrerollState::Ready: return true;
      case PrerollState::Failed: return false;
      case PrerollState::Pending: break;
    }
    const auto now = std::chrono::steady_clock::now();
    if (stream && now - start >= kStreamLimit) {
      lastError_ = "the stream sent nothing to play for 10 seconds";
      return false;
    }
    if (const std::uint64_t progress = graph.Progress(); progress != seen) {
      seen = progress;
      lastMove = now;
    } else if (now - lastMove >= kStallLimit) {
      lastError_ = "no progress for 20 seconds";
      return false;
    }
    WaitForProgress(graph);
    if (ticket != openTicket_) return false;
  }
}

void CGraphPlayer::WaitForProgress(FilterGraph& graph) {
  if (!wakeUi_ || !OnEventLoopThread()) {
    graph.WaitForProgress(kStallCheckMs);
    return;
  }
  PumpEvents();
}

void CGraphPlayer::CancelOpen() {
  if (!building_) return;
  ++openTicket_;
  // Its Open is waiting further up this thread's stack and lets the graph go.
  gst_element_set_state(building_->Pipeline(), GST_STATE_NULL);
  building_ = nullptr;
}

bool CGraphPlayer::AddSourceAndRender(FilterGraph& graph, SourceKind kind, const std::string& path) {
  const bool asf = kind == SourceKind::AsfReader;
  ElementRef source = asf ? CreateAsfReader() : CreateCdReader();
  if (!source) return false;
  graph.AddFilter(source.get(), asf ? kAsfReaderName : kCdReaderName);
  if (!(asf ? LoadAsfReader(source.get(), path) : LoadCdReader(source.get(), path))) {
    graph.RemoveFilter(source.get());
    return false;
  }
  graph.RenderReaderPads(source.get(), asf);
  return true;
}

void CGraphPlayer::AddPreferredFilters(FilterGraph& graph) {
  const GraphChoices choices = choices_();
  if (choices.deviceRenderer) {
    if (ElementRef renderer = MakeReady("halcyonlumivaultsink")) {
      graph.AddPreferredFilter(renderer.get(), kDeviceRendererName, true);
    }
  }
  if (choices.mpegSoftDecoder) {
    if (ElementRef decoder = MakeElement("halcyonmpegvideodec")) {
      graph.AddPreferredFilter(decoder.get(), kMpegVideoDecoderName, false);
    }
    if (ElementRef decoder = MakeElement("halcyonmpegaudiodec")) {
      graph.AddPreferredFilter(decoder.get(), kMpegAudioDecoderName, false);
    }
  }
}

void CGraphPlayer::RemoveIdlePreferredFilters(FilterGraph& graph) {
  // The renderer stays when any of its pads is connected; a decoder when its first input
  // is (a decoder without inputs stays).
  if (GstElement* renderer = graph.FindFilterByName(kDeviceRendererName)) {
    const auto pins = GetPins(renderer, GST_PAD_SINK, SIZE_MAX);
    if (std::none_of(pins.begin(), pins.end(), [](const PadRef& pin) { return gst_pad_is_linked(pin.get()); })) {
      graph.RemoveFilter(renderer);
    }
  }
  for (const char* name : {kMpegVideoDecoderName, kMpegAudioDecoderName}) {
    GstElement* decoder = graph.FindFilterByName(name);
    if (!decoder) continue;
    const auto inputs = GetPins(decoder, GST_PAD_SINK, 1);
    if (!inputs.empty() && !gst_pad_is_linked(inputs.front().get())) graph.RemoveFilter(decoder);
  }
}

std::unique_ptr<FilterGraph> CGraphPlayer::CreateGraph() {
  if (!InitGStreamer(&lastError_)) return nullptr;
  return std::make_unique<FilterGraph>(Outputs(), GraphVolumeGain(volume_), notify_, wakeUi_);
}

void CGraphPlayer::ReleaseGraph() {
  if (window_) {
    window_->SetVisible(false);
    window_->SetOwner(nullptr);
  }
  owner_ = nullptr;
  graph_.reset();
  length_.reset();
}

void CGraphPlayer::Close() {
  // Rewinding what is let go anyway would connect a stream anew, to a server that may hang.
  CancelOpen();
  ReleaseGraph();
}

std::vector<ElementRef> CGraphPlayer::EnumFilters() const {
  return graph_ ? graph_->EnumFilters() : std::vector<ElementRef>{};
}

bool CGraphPlayer::SetState(GstState state) {
  if (!graph_) return false;
  stopped_ = false;
  return graph_->SetTargetState(state);
}

void CGraphPlayer::WaitForState() { gst_element_get_state(graph_->Pipeline(), nullptr, nullptr, kStateTimeout); }

bool CGraphPlayer::Run() { return SetState(GST_STATE_PLAYING); }

bool CGraphPlayer::PlayPause() {
  if (!graph_) return false;
  return GetState() == State_Running ? SetState(GST_STATE_PAUSED) : SetState(GST_STATE_PLAYING);
}

bool CGraphPlayer::PauseResume() {
  if (!graph_) return false;
  return GetState() == State_Paused ? SetState(GST_STATE_PLAYING) : SetState(GST_STATE_PAUSED);
}

void CGraphPlayer::Stop() {
  CancelOpen();
  if (!graph_) return;
  stopped_ = true;
  if (graph_->Failed()) return;  // it would never preroll again
  SetState(GST_STATE_PAUSED);
  gst_element_seek_simple(graph_->Pipeline(), GST_FORMAT_TIME,
                          GstSeekFlags(GST_SEEK_FLAG_FLUSH | GST_SEEK_FLAG_ACCURATE), 0);
  WaitForState();
  stopped_ = true;
}

bool CGraphPlayer::Seek(std::int64_t position) {
  if (!graph_) return false;
  const bool running = GetState() == State_Running;
  // A running graph seeks as it plays: GStreamer flushes and goes on from the new place.
  const bool moved = gst_element_seek_simple(graph_->Pipeline(), GST_FORMAT_TIME,
                                             GstSeekFlags(GST_SEEK_FLAG_FLUSH | GST_SEEK_FLAG_ACCURATE),
                                             std::max<std::int64_t>(position, 0) * kNanosecondsPerUnit);
  if (moved && !running) WaitForState();
  return moved;
}

RunState CGraphPlayer::GetState() { return StateAfter(kStateTimeout); }

RunState CGraphPlayer::RequestedState() { return StateAfter(0); }

RunState CGraphPlayer::StateAfter(GstClockTime timeout) {
  if (!graph_) return State_Stopped;
  // Paused only until the stream has buffered: to the user it plays on.
  if (graph_->HeldForBuffering()) return State_Running;
  GstState current = GST_STATE_NULL;
  GstState pending = GST_STATE_VOID_PENDING;
  if (gst_element_get_state(graph_->Pipeline(), &current, &pending, timeout) == GST_STATE_CHANGE_FAILURE) {
    return State_Stopped;
  }
  if (stopped_) return State_Stopped;
  const GstState target = pending != GST_STATE_VOID_PENDING ? pending : current;
  return target == GST_STATE_PLAYING ? State_Running : State_Paused;
}

bool CGraphPlayer::GetTimes(std::int64_t* duration, std::int64_t* current) {
  if (!graph_ || (!duration && !current)) return false;
  gint64 value = 0;
  if (duration) {
    std::int64_t length = 0;
    if (length_) {
      length = *length_;
    } else if (gst_element_query_duration(graph_->Pipeline(), GST_FORMAT_TIME, &value) && value >= 0) {
      length = value;
    } else if (!graph_->EstimateDuration(length)) {
      return false;
    }
    *duration = length / kNanosecondsPerUnit;
  }
  if (current) {
    if (!gst_element_query_position(graph_->Pipeline(), GST_FORMAT_TIME, &value)) return false;
    *current = value / kNanosecondsPerUnit;
  }
  return true;
}

bool CGraphPlayer::GetEvent(GraphEvent& event) {
  if (!graph_) return false;
  graph_->FollowBuffering();
  return graph_->GetEvent(event);
}

std::string CGraphPlayer::StreamTitle() const { return graph_ ? graph_->Title() : std::string(); }

bool CGraphPlayer::HasBasicVideo() const { return graph_ && graph_->HasVideo(); }

bool CGraphPlayer::GetVideoWidth(std::int32_t& width) {
  int height = 0;
  return graph_ && graph_->GetVideoSize(width, height);
}

bool CGraphPlayer::GetVideoHeight(std::int32_t& height) {
  int width = 0;
  return graph_ && graph_->GetVideoSize(width, height);
}

bool CGraphPlayer::GetBitRate(std::int32_t& bitRate) {
  if (!HasBasicVideo()) return false;
  bitRate = graph_->BitRate();
  return true;
}

bool CGraphPlayer::HasVideoWindow() const { return window_ && graph_ && graph_->HasVideoWindow(); }

void CGraphPlayer::SetVideoOwner(IVideoOwner* owner) {
  if (!HasVideoWindow()) return;
  IVideoHost* host = owner ? owner->VideoHost() : nullptr;
  owner_ = owner;
  window_->SetOwner(host ? host->HostWidget() : nullptr);
  graph_->SetWindowHandle(window_->Handle());
}

void CGraphPlayer::SetVideoVisible(bool visible) {
  if (!HasVideoWindow()) return;
  window_->SetVisible(visible);
}

void CGraphPlayer::SetVideoWindowPosition(int x, int y) {
  if (HasVideoWindow()) window_->Move(x, y);
}

void CGraphPlayer::SetVideoWindowSize(int width, int height) {
  if (!HasVideoWindow()) return;
  window_->Resize(width, height);
  graph_->SetWindowSize(width, height);
}

bool CGraphPlayer::ProbeDeviceRenderer() { return InitGStreamer() && CanReachReady("halcyonlumivaultsink"); }

void CGraphPlayer::SetVolume(int percent) {
  volume_ = percent;
  if (graph_) graph_->SetVolume(GraphVolumeGain(percent));
  if (building_) building_->SetVolume(GraphVolumeGain(percent));
}

}  // namespace lumivox
