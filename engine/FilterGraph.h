#pragma once
// One file's graph: a GstPipeline with its elements ("filters") under their names, the
// rendering of output pads to the audio and video renderers, and the graph's events as the
// UI thread collects them.

#include <gst/gst.h>

#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <deque>
#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "engine/GstPtr.h"
#include "engine/PictureScaler.h"
#include "engine/SinkChoice.h"
#include "playlist/DocumentInterfaces.h"

namespace lumivox {

// Where rendered streams go. Chosen by the engine, on the UI thread.
struct OutputChoice {
  std::string audioSink = "fakesink";  // factory; fakesink plays in real time
  // Asked from a streaming thread when a video stream is rendered; null: a real-time null sink.
  std::function<VideoOutput()> videoOutput;
  guintptr windowHandle = 0;  // the video window the window sink draws into
  int windowWidth = 0;        // its size, for pictures the graph scales
  int windowHeight = 0;
};

// How far a graph has come towards standing ready, paused with every stream prerolled.
enum class PrerollState { Pending, Ready, Failed };

// Up to `maximum` pads of `element` facing `direction`, in the element's order.
std::vector<PadRef> GetPins(GstElement* element, GstPadDirection direction, std::size_t maximum);

class FilterGraph {
 public:
  // `notify` is called from GStreamer's threads whenever an event is queued, `progress`
  // whenever the graph moves on while it is being built. `gain` is the audio volume the
  // first sample already plays at.
  FilterGraph(OutputChoice outputs, double gain, std::function<void()> notify, std::function<void()> progress);
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

  // Connects every output pad of a reader, present or to come, to renderers through
  // decoders. A reader with pads to come counts as building until it signals no-more-pads.
  void RenderReaderPads(GstElement* reader, bool hasDynamicPads);
  // The whole file through the system's auto-plugging; a stream's URI from the network.
  bool RenderFile(const std::string& path);

  // Sets the graph going towards paused; false when it cannot even start.
  bool StartPreroll();
  // The state the engine asks for. A graph asked to play while its stream refills its
  // buffer is held paused until FollowBuffering finds the buffer full again.
  bool SetTargetState(GstState state);
  // On the UI thread, when it collects the graph's events: holds or lets go the graph as its
  // stream's buffer empties and fills.
  void FollowBuffering();
  // Asked to play, held paused while its stream buffers.
  bool HeldForBuffering() const { return held_; }
  // Never waits. Failed on an error or on a graph that rendered nothing.
  PrerollState CheckPreroll();
  // Counts what the graph's threads did while it was built: messages, new pads.
  std::uint64_t Progress() const;
  // For callers without an event loop: waits until the graph moves on, or `ms` pass.
  void WaitForProgress(int ms);
  // Once the graph stands ready, its threads stop calling `progress`.
  void StopProgressReports() { reportProgress_ = false; }
  // Why the graph stopped or could not be built; empty when nothing said.
  std::string ErrorText() const;

  bool GetEvent(GraphEvent& event);
  bool Failed() const;  // a stream stopped on an error
  // What the last title tag said (a radio stream's StreamTitle); empty before one came.
  std::string Title() const;
  // The length a parser reckons from the bytes it has seen, in nanoseconds, for streams
  // without a stated duration.
  bool EstimateDuration(std::int64_t& nanoseconds) const;
  // What the system found the file to be (its container or stream caps); null when the
  // graph was not built by auto-plugging or found nothing yet.
  CapsRef FileType() const;

  bool HasVideo() const;
  bool HasVideoWindow() const;
  void SetVolume(double gain);
  bool GetVideoSize(int& width, int& height) const;
  int BitRate() const;
  void SetWindowHandle(guintptr handle);
  void SetWindowSize(int width, int height);
  // Draws the picture again, also where the graph stands still and the window's size changed.
  void ExposeVideo();

 private:
  enum class StreamKind { Audio, Video, Other };

  struct Preferred {
    GstElement* element;  // the pipeline holds it
    CapsRef accepts;      // what its sink pad takes
    bool isVideoRenderer;
    bool claimed = false;
  };

  static GstBusSyncReply OnBusMessage(GstBus* bus, GstMessage* message, gpointer self);
  static void OnDecodedPad(GstElement* element, GstPad* pad, gpointer self);
  static void OnReaderPad(GstElement* element, GstPad* pad, gpointer self);
  static void OnStreamAudioPad(GstElement* element, GstPad* pad, gpointer self);
  static void OnStreamVideoPad(GstElement* element, GstPad* pad, gpointer self);
  static void OnNoMorePads(GstElement* element, gpointer self);
  static void OnStreamSourcePad(GstElement* element, GstPad* pad, gpointer self);
  static gboolean OnAutoplugContinue(GstElement* bin, GstPad* pad, GstCaps* caps, gpointer self);
  void WatchAutoPlugging(GstElement* decodeBin);

  bool ApplyState();
  void HandleMessage(GstMessage* message);
  void NoteTags(GstMessage* message);
  void NoteError(GstMessage* message);
  void PushEvent(GraphEvent event);
  void Signal();

  static StreamKind KindOf(GstCaps* caps);
  bool ClaimStream(StreamKind kind);
  void RenderDecoded(GstPad* pad, StreamKind kind);
  void RenderCoded(GstPad* pad, StreamKind kind);
  void RenderReaderPad(GstPad* pad);
  bool RenderStream(const std::string& uri);
  bool RenderAiff(GstElement* source);
  bool RenderAudio(GstPad* pad);
  bool RenderVideo(GstPad* pad);
  bool RenderToDevice(GstPad* pad, GstElement* device);
  // The converter, or for a sink that cannot scale the scaler, upstream first.
  std::vector<ElementRef> MakeVideoChain(bool scaled);
  bool RenderThroughDecoder(GstPad* pad, GstElement* decoder, StreamKind kind);
  bool RenderThroughDecodeBin(GstPad* pad, StreamKind kind);
  bool Discard(GstPad* pad);
  GstElement* ReaderQueue();
  bool LinkChain(GstPad* pad, const std::vector<ElementRef>& chain);
  GstElement* ClaimPreferred(GstCaps* caps, bool videoRenderer);
  bool PreferredAccepts(GstCaps* caps) const;
  void NoteVideoStream(GstCaps* caps);
  ElementRef MakeVideoSink(const VideoOutput& output);
  // The graph stands still with its picture shown.
  bool StandsStill() const;
  std::string UniqueName(const char* base);

  OutputChoice outputs_;
  std::function<void()> notify_;
  std::function<void()> progress_;
  std::atomic<bool> reportProgress_ = true;
  ElementRef pipeline_;
  GstElement* decodeBin_ = nullptr;  // the whole file's auto-plugging; the pipeline holds it
  // The run state as the UI thread wants it and whether buffering holds it back.
  GstState target_ = GST_STATE_PAUSED;
  bool held_ = false;
  bool live_ = false;                    // a source that plays as it comes, never buffered
  std::atomic<bool> buffering_ = false;  // set by the graph's threads

  mutable std::mutex mutex_;  // guards everything below, written from streaming threads
  std::condition_variable changed_;
  std::uint64_t progressCount_ = 0;
  bool failed_ = false;
  std::string error_;
  int buildingSources_ = 0;
  std::deque<GraphEvent> events_;
  std::vector<Preferred> preferred_;
  double gain_;
  std::vector<GstElement*> volumes_;  // the pipeline holds them
  std::vector<GstElement*> videoSinks_;
  GstElement* readerQueue_ = nullptr;
  bool audioClaimed_ = false;
  bool videoClaimed_ = false;
  PadRef videoInput_;    // where decoded video enters its renderer
  CapsRef videoStream_;  // the first video stream as its source gave it, before decoding
  bool hasWindowSink_ = false;
  std::unique_ptr<PictureScaler> scaler_;  // for a sink that cannot scale
  int bitRate_ = 0;
  std::string title_;
  std::map<std::string, int> nameCounts_;
};

}  // namespace lumivox
