#include "engine/GraphPlayer.h"

#include <QApplication>
#include <QGuiApplication>

#include <sys/stat.h>

#include <algorithm>
#include <cstdint>

#include "engine/GstRuntime.h"
#include "engine/SourceFilters.h"
#include "engine/VideoWindow.h"
#include "engine/VolumeControl.h"

namespace lumivox {
namespace {

// A file that cannot be built within this time counts as one that cannot be played.
constexpr std::chrono::milliseconds kBuildTimeout{4000};
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

// An element that can reach READY: its device or display is there. The caller sets it
// back to NULL before letting it go, or hands it to a graph that does.
ElementRef MakeReady(const char* factory) {
  ElementRef element = MakeElement(factory);
  if (!element) return nullptr;
  if (gst_element_set_state(element.get(), GST_STATE_READY) == GST_STATE_CHANGE_FAILURE) {
    gst_element_set_state(element.get(), GST_STATE_NULL);
    return nullptr;
  }
  return element;
}

bool CanReachReady(const char* factory) {
  ElementRef element = MakeReady(factory);
  if (element) gst_element_set_state(element.get(), GST_STATE_NULL);
  return element != nullptr;
}

bool IsRegularFile(const std::string& path) {
  struct stat info {};
  return ::stat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode);
}

}  // namespace

CGraphPlayer::CGraphPlayer(const PlayerOptions& options, std::function<void()> notify)
    : options_(options), notify_(std::move(notify)) {
  InitGStreamer();
  if (HasWidgets()) window_ = std::make_unique<VideoWindow>();
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
    if (window_ && QGuiApplication::platformName() == "xcb") {
      for (const char* factory : {"xvimagesink", "glimagesink", "ximagesink"}) {
        if (CanReachReady(factory)) {
          choice.videoSink = factory;
          break;
        }
      }
    }
    outputs_ = choice;
  }
  if (window_) outputs_->windowHandle = window_->Handle();
  return *outputs_;
}

bool CGraphPlayer::Open(const std::string& path) {
  WaitCursor wait;
  struct stat info {};
  if (::stat(path.c_str(), &info) != 0) return false;  // the old graph plays on
  const SourceKind kind = SourceFor(path);
  Close();
  if (!CreateGraph()) {
    Close();
    return false;
  }
  AddPreferredFilters();
  bool built = false;
  try {
    built = BuildFromSource(kind, path);
  } catch (...) {
    built = false;
  }
  if (!built) {
    Close();
    return false;
  }
  RemoveIdlePreferredFilters();
  graph_->SetVolume(GraphVolumeGain(volume_));
  stopped_ = true;
  return true;
}

bool CGraphPlayer::BuildFromSource(SourceKind kind, const std::string& path) {
  // A FIFO or a device would block the reader; only files are played.
  if (!IsRegularFile(path)) return false;
  bool rendered = false;
  switch (kind) {
    case SourceKind::AsfReader:
      rendered = AddSourceAndRender(kind, path) || RenderWholeFile(path);
      break;
    case SourceKind::CdReader:
      rendered = AddSourceAndRender(kind, path);
      break;
    case SourceKind::AutoPlug:
      rendered = RenderWholeFile(path);
      break;
  }
  return rendered && graph_->Preroll(kBuildTimeout);
}

bool CGraphPlayer::AddSourceAndRender(SourceKind kind, const std::string& path) {
  const bool asf = kind == SourceKind::AsfReader;
  ElementRef source = asf ? CreateAsfReader() : CreateCdReader();
  if (!source) return false;
  graph_->AddFilter(source.get(), asf ? kAsfReaderName : kCdReaderName);
  if (!(asf ? LoadAsfReader(source.get(), path) : LoadCdReader(source.get(), path))) {
    graph_->RemoveFilter(source.get());
    return false;
  }
  graph_->RenderOutputPads(source.get(), asf);
  return true;
}

bool CGraphPlayer::RenderWholeFile(const std::string& path) { return graph_->RenderFile(path); }

void CGraphPlayer::AddPreferredFilters() {
  if (options_.lumivault) {
    if (ElementRef renderer = MakeReady("halcyonlumivaultsink")) {
      graph_->AddPreferredFilter(renderer.get(), kDeviceRendererName, true);
    }
  }
  if (options_.mpegSoftDecoder) {
    if (ElementRef decoder = MakeElement("halcyonmpegvideodec")) {
      graph_->AddPreferredFilter(decoder.get(), kMpegVideoDecoderName, false);
    }
    if (ElementRef decoder = MakeElement("halcyonmpegaudiodec")) {
      graph_->AddPreferredFilter(decoder.get(), kMpegAudioDecoderName, false);
    }
  }
}

void CGraphPlayer::RemoveIdlePreferredFilters() {
  // The renderer stays when any of its pads is connected; a decoder when its first input
  // is (a decoder without inputs stays).
  if (GstElement* renderer = graph_->FindFilterByName(kDeviceRendererName)) {
    const auto pins = GetPins(renderer, GST_PAD_SINK, SIZE_MAX);
    if (std::none_of(pins.begin(), pins.end(), [](const PadRef& pin) { return gst_pad_is_linked(pin.get()); })) {
      graph_->RemoveFilter(renderer);
    }
  }
  for (const char* name : {kMpegVideoDecoderName, kMpegAudioDecoderName}) {
    GstElement* decoder = graph_->FindFilterByName(name);
    if (!decoder) continue;
    const auto inputs = GetPins(decoder, GST_PAD_SINK, 1);
    if (!inputs.empty() && !gst_pad_is_linked(inputs.front().get())) graph_->RemoveFilter(decoder);
  }
}

bool CGraphPlayer::CreateGraph() {
  if (!InitGStreamer()) return false;
  graph_ = std::make_unique<FilterGraph>(Outputs(), notify_);
  return true;
}

void CGraphPlayer::ReleaseGraph() {
  if (window_) {
    window_->SetVisible(false);
    window_->SetOwner(nullptr);
  }
  owner_ = nullptr;
  graph_.reset();
}

void CGraphPlayer::Close() {
  Stop();
  ReleaseGraph();
}

std::vector<ElementRef> CGraphPlayer::EnumFilters() const {
  return graph_ ? graph_->EnumFilters() : std::vector<ElementRef>{};
}

bool CGraphPlayer::SetState(GstState state) {
  if (!graph_) return false;
  stopped_ = false;
  return gst_element_set_state(graph_->Pipeline(), state) != GST_STATE_CHANGE_FAILURE;
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

RunState CGraphPlayer::GetState() {
  if (!graph_) return State_Stopped;
  GstState current = GST_STATE_NULL;
  GstState pending = GST_STATE_VOID_PENDING;
  if (gst_element_get_state(graph_->Pipeline(), &current, &pending, kStateTimeout) == GST_STATE_CHANGE_FAILURE) {
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
    if (gst_element_query_duration(graph_->Pipeline(), GST_FORMAT_TIME, &value) && value >= 0) {
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

bool CGraphPlayer::GetEvent(GraphEvent& event) { return graph_ && graph_->GetEvent(event); }

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
  auto* host = dynamic_cast<IVideoHost*>(owner);
  owner_ = owner;
  window_->SetOwner(host ? host->HostWidget() : nullptr);
  graph_->SetWindowHandle(window_->Handle());
}

void CGraphPlayer::SetVideoVisible(bool visible) {
  if (!HasVideoWindow()) return;
  window_->SetVisible(visible);
  graph_->ExposeVideo();
}

void CGraphPlayer::SetVideoWindowPosition(int x, int y) {
  if (HasVideoWindow()) window_->Move(x, y);
}

void CGraphPlayer::SetVideoWindowSize(int width, int height) {
  if (!HasVideoWindow()) return;
  window_->Resize(width, height);
  graph_->ExposeVideo();
}

bool CGraphPlayer::ProbeDeviceRenderer() { return InitGStreamer() && CanReachReady("halcyonlumivaultsink"); }

void CGraphPlayer::SetVolume(int percent) {
  volume_ = percent;
  if (graph_) graph_->SetVolume(GraphVolumeGain(percent));
}

}  // namespace lumivox
