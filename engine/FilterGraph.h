#pragma once
// One file's graph: a GstPipeline with its elements ("filters") under their names, the
// rendering of output pads to the audio and video renderers, and the graph's events as the
// UI thread collects them.

#include <gst/gst.h>

#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <deque>
#include <functional>
#include <map>
#include <mutex>
#include <string>
#include <vector>

#include "engine/GstPtr.h"
#include "playlist/DocumentInterfaces.h"

namespace lumivox {

inline constexpr std::int32_t EC_ERRORABORT = 3;

// Where rendered streams go. Chosen once by the engine, on the UI thread.
struct OutputChoice {
  std::string audioSink = "fakesink";  // factory; fakesink plays in real time
  std::string videoSink;               // window sink factory; empty: a real-time null sink
  guintptr windowHandle = 0;           // the video window the window sink draws into
};

// Up to `maximum` pads of `element` facing `direction`, in the element's order.
std::vector<PadRef> GetPins(GstElement* element, GstPadDirection direction, std::size_t maximum);

class FilterGraph {
 public:
  // `notify` is called from GStreamer's threads whenever an event is queued.
  FilterGraph(OutputChoice outputs, std::function<void()> notify);
  ~FilterGraph();
  FilterGraph(const FilterGraph&) = delete;
  FilterGraph& operator=(const FilterGraph&) = delete;

  GstElement* Pipeline() const { return pipeline_.get(); }

  // Adds a filter under `name`; false when the name is taken.
  bool AddFilter(GstElement* element, const char* name);
  // A filter put in before rendering so that rendering takes it first when it accepts a
  // stream: a decoder for the streams its sink pad takes, a renderer for raw video. It
  // stays out of state changes until a stream is linked to it.
  void AddPreferredFilter(GstElement* element, const char* name, bool isVideoRenderer);
  GstElement* FindFilterByName(const char* name) const;  // borrowed; null when absent
  void RemoveFilter(GstElement* element);
  // The filters upstream to downstream; the readers stand as one filter each.
  std::vector<ElementRef> EnumFilters() const;

  // Connects every output pad of `source`, present or to come, to renderers through
  // decoders. The graph counts the source as building until it signals no-more-pads.
  void RenderOutputPads(GstElement* source, bool hasDynamicPads);
  // The whole file through the system's auto-plugging.
  bool RenderFile(const std::string& path);
  // Takes the graph to paused with every stream prerolled. False on an error, on a graph
  // that rendered nothing, or when `timeout` passes first.
  bool Preroll(std::chrono::milliseconds timeout);

  bool GetEvent(GraphEvent& event);
  bool Failed() const;  // a stream stopped on an error
  // The length a parser reckons from the bytes it has seen, in nanoseconds, for streams
  // without a stated duration (a constant-rate MP3, an MPEG elementary stream).
  bool EstimateDuration(std::int64_t& nanoseconds) const;

  bool HasVideo() const;
  bool HasVideoWindow() const;
  void SetVolume(double gain);
  bool GetVideoSize(int& width, int& height) const;
  int BitRate() const;
  void SetWindowHandle(guintptr handle);
  void ExposeVideo();

 private:
  struct Preferred {
    GstElement* element;  // the pipeline holds it
    CapsRef accepts;      // what its sink pad takes
    bool isVideoRenderer;
    bool claimed = false;
  };

  static GstBusSyncReply OnBusMessage(GstBus* bus, GstMessage* message, gpointer self);
  static void OnPadAdded(GstElement* element, GstPad* pad, gpointer self);
  static void OnReaderPadAdded(GstElement* element, GstPad* pad, gpointer self);
  static void OnNoMorePads(GstElement* element, gpointer self);
  static gboolean OnAutoplugContinue(GstElement* bin, GstPad* pad, GstCaps* caps, gpointer self);
  static int OnAutoplugSelect(GstElement* bin, GstPad* pad, GstCaps* caps, GstElementFactory* factory, gpointer);
  void WatchAutoPlugging(GstElement* decodeBin);

  void HandleMessage(GstMessage* message);
  void PushEvent(GraphEvent event);
  void Signal();
  void RenderPad(GstPad* pad);
  void RenderQueued(GstPad* pad);
  bool RenderAudio(GstPad* pad);
  bool RenderVideo(GstPad* pad);
  bool RenderThroughDecoder(GstPad* pad, GstElement* decoder);
  bool RenderThroughDecodeBin(GstPad* pad);
  bool LinkChain(GstPad* pad, const std::vector<ElementRef>& chain);
  GstElement* ClaimPreferred(GstCaps* caps, bool videoRenderer);
  bool PreferredAccepts(GstCaps* caps) const;
  ElementRef MakeVideoSink();
  std::string UniqueName(const char* base);

  OutputChoice outputs_;
  std::function<void()> notify_;
  ElementRef pipeline_;

  mutable std::mutex mutex_;  // guards everything below, written from streaming threads
  std::condition_variable changed_;
  bool wake_ = false;
  bool failed_ = false;
  int buildingSources_ = 0;
  std::deque<GraphEvent> events_;
  std::vector<Preferred> preferred_;
  std::vector<GstElement*> volumes_;  // the pipeline holds them
  std::vector<GstElement*> videoSinks_;
  PadRef videoInput_;  // where decoded video enters its renderer
  CapsRef videoStream_;  // the first video stream as its source gave it, before decoding
  bool hasWindowSink_ = false;
  int bitRate_ = 0;
  std::map<std::string, int> nameCounts_;
};

}  // namespace lumivox
