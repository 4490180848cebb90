#pragma once
// Pictures scaled in the graph to the size of the window a sink draws into, for a sink that
// shows them at the size it gets them (ximagesink): the picture fills the window whatever
// its shape, and the graph renegotiates whenever the window's size changes.

#include <mutex>
#include <utility>
#include <vector>

#include "engine/GstPtr.h"

namespace lumivox {

class PictureScaler {
 public:
  // videoscale ! capsfilter ! videoconvert ! videoscale ! capsfilter, upstream first, for a
  // window of width x height (0 x 0 while it has no size: pictures keep theirs). Empty when
  // an element is missing. The scaler must outlive the graph's streaming.
  std::vector<ElementRef> MakeChain(int width, int height);
  // From any thread.
  void SetWindowSize(int width, int height);
  // True once for each window size that the picture last passed on was not scaled to: a
  // graph that stands still shows it only when it passes a picture on again.
  bool TakeRedraw();

 private:
  static GstPadProbeReturn OnInput(GstPad* pad, GstPadProbeInfo* info, gpointer self);
  void Apply();

  std::mutex mutex_;  // guards everything below
  // The graph holds the elements.
  GstElement* firstSize_ = nullptr;   // what the first videoscale makes
  GstElement* windowSize_ = nullptr;  // what the sink gets
  std::pair<int, int> window_;
  std::pair<int, int> picture_;  // as decoded
  std::pair<int, int> redrawn_;  // the last size a redraw was asked for
};

}  // namespace lumivox
