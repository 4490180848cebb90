#pragma once
// GStreamer plumbing for the plugin tests: the plugin from the build tree, pipelines run to
// their end, and what passes a pad.

#include <gst/gst.h>

#include <chrono>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

namespace lumivox::test {

struct ObjectUnref {
  void operator()(gpointer object) const { gst_object_unref(object); }
};
struct CapsUnref {
  void operator()(GstCaps* caps) const { gst_caps_unref(caps); }
};

// gst_init and the halcyon plugin, once per process.
void LoadHalcyonPlugin();

enum class Outcome { kEos, kError, kTimeout };

class Pipeline {
 public:
  explicit Pipeline(const std::string& description);
  ~Pipeline();

  GstElement* get() const { return pipeline_.get(); }
  GstElement* Element(const char* name) const;  // the pipeline keeps the reference
  GstStateChangeReturn SetState(GstState state);
  bool Preroll();
  bool Seek(GstClockTime position);  // flushing and accurate, prerolled again
  Outcome Play(std::chrono::seconds timeout = std::chrono::seconds(10));
  const std::string& error() const { return error_; }  // the text of the last error

 private:
  std::unique_ptr<GstElement, ObjectUnref> pipeline_;
  std::string error_;
};

struct Recorded {
  GstClockTimeDiff time;  // stream time of the PTS, or of the DTS when there is no PTS
  GstClockTime duration;
  std::string data;  // video: the planes without row padding; audio: the samples
};

// What passes a pad; a flush forgets everything before it.
class Recorder {
 public:
  Recorder(GstElement* element, const char* pad_name);
  ~Recorder();
  Recorder(const Recorder&) = delete;
  Recorder& operator=(const Recorder&) = delete;

  std::vector<Recorded> Buffers() const;
  int CapsInt(const char* field) const;  // -1 when absent
  std::string CapsString(const char* field) const;

 private:
  static GstPadProbeReturn OnData(GstPad* pad, GstPadProbeInfo* info, gpointer self);
  void OnEvent(GstEvent* event);
  void Store(GstBuffer* buffer);

  std::unique_ptr<GstPad, ObjectUnref> pad_;
  gulong probe_ = 0;
  mutable std::mutex mutex_;
  GstSegment segment_;
  std::unique_ptr<GstCaps, CapsUnref> caps_;
  std::vector<Recorded> buffers_;
};

}  // namespace lumivox::test
