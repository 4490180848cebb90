#include "ui/DocumentCommands.h"

#include <optional>
#include <utility>

#include "playlist/PlayerDoc.h"
#include "res/ResourceIds.h"

namespace lumivox {
namespace {

using Context = DocumentCommandContext;

using Row = CommandRow<Context>;

bool FileOpen(Context& c) { return c.doc.engine().IsOpen(); }
CommandState Enabled(bool on) { return {on, false}; }
CommandState Marked(bool on) { return {true, on}; }

// The skips need the engine's duration and position.
CommandState CanSkip(Context& c) {
  std::int64_t duration = 0, position = 0;
  return Enabled(c.doc.engine().GetTimes(&duration, &position));
}

void SetAspect(Context& c, AspectRatio aspect) {
  c.options.aspectRatio = static_cast<int>(aspect);
  c.doc.LayoutVideo(0.0);
}

// Source Size -> 4:3 -> 16:9 -> Not Fixed -> Source Size; a number that names no mode has none.
std::optional<AspectRatio> NextAspectRatio(int stored) {
  using enum AspectRatio;
  for (const auto& [from, to] :
       {std::pair{SourceSize, FourThree}, {FourThree, SixteenNine}, {SixteenNine, NotFixed}, {NotFixed, SourceSize}}) {
    if (stored == from) return to;
  }
  return std::nullopt;
}

std::vector<Row> BuildRows() {
  std::vector<Row> rows = {
      {ID_PLAY_PLAYPAUSE, [](Context& c) { c.doc.PlayPause(); }, [](Context& c) { return Enabled(FileOpen(c)); }},
      {ID_PLAY_STOP, [](Context& c) { c.doc.Stop(); },
       [](Context& c) { return Enabled(FileOpen(c) && c.doc.engine().RequestedState() != State_Stopped); }},
      {ID_TOOLBAR_PLAY, [](Context& c) { c.doc.Play(); },
       [](Context& c) { return Enabled(FileOpen(c) && c.doc.engine().RequestedState() != State_Running); }},
      {ID_TOOLBAR_PAUSE, [](Context& c) { c.doc.Pause(); },
       [](Context& c) { return Enabled(FileOpen(c) && c.doc.engine().RequestedState() != State_Stopped); }},
      {ID_PLAY_PREVIOUS_TRACK, [](Context& c) { c.doc.PrevTrack(); },
       [](Context& c) { return Enabled(c.doc.GetCount() >= 2); }},
      {ID_PLAY_NEXT_TRACK, [](Context& c) { c.doc.NextTrack(); },
       [](Context& c) { return Enabled(c.doc.GetCount() >= 2); }},
      {ID_PLAY_REWIND, [](Context& c) { c.doc.Rewind(); }, CanSkip},
      {ID_PLAY_FAST_FORWARD, [](Context& c) { c.doc.FastForward(); }, CanSkip},
      {ID_PLAY_SHUFFLE, [](Context& c) { c.doc.ToggleShuffle(); }, [](Context& c) { return Marked(c.doc.shuffle()); }},
      {ID_VOLUME_UP, [](Context& c) { c.doc.VolumeUp(); }, nullptr},
      {ID_VOLUME_DOWN, [](Context& c) { c.doc.VolumeDown(); }, nullptr},
      {ID_EDIT_DELETE_ALL, [](Context& c) { c.doc.RemoveAll(); },
       [](Context& c) { return Enabled(c.playlistViewShown && c.doc.GetCount() > 0); }},
      {ID_CHANGE_ASPECT_RATIO,
       [](Context& c) {
         if (const auto next = NextAspectRatio(c.options.aspectRatio)) c.options.aspectRatio = static_cast<int>(*next);
         c.doc.LayoutVideo(0.0);
       },
       nullptr},
      {ID_CHANGE_VIDEO_SCALE, [](Context& c) { c.doc.StepVideoScale(); }, nullptr},
  };
  for (const auto& [id, seconds] : {std::pair{ID_SKIP_1SEC, 1},
                                    {ID_SKIP_5SEC, 5},
                                    {ID_SKIP_10SEC, 10},
                                    {ID_SKIP_15SEC, 15},
                                    {ID_SKIP_30SEC, 30},
                                    {ID_SKIP_45SEC, 45},
                                    {ID_SKIP_60SEC, 60},
                                    {ID_SKIP_90SEC, 90},
                                    {ID_SKIP_120SEC, 120}}) {
    rows.push_back({id, [seconds](Context& c) { c.doc.setSkipInterval(seconds); },
                    [seconds](Context& c) { return Marked(c.doc.skipInterval() == seconds); }});
  }
  for (const auto& [id, mode] : {std::pair{ID_REPEAT_NONE, RepeatMode::None},
                                 {ID_REPEAT_ALL, RepeatMode::All},
                                 {ID_REPEAT_ONE, RepeatMode::One}}) {
    rows.push_back({id, [mode](Context& c) { c.doc.setRepeatMode(mode); },
                    [mode](Context& c) { return Marked(c.doc.repeatMode() == mode); }});
  }
  for (const auto& [id, aspect] : {std::pair{ID_ASPECT_NOT_FIXED, AspectRatio::NotFixed},
                                   {ID_ASPECT_SOURCE_SIZE, AspectRatio::SourceSize},
                                   {ID_ASPECT_4_3, AspectRatio::FourThree},
                                   {ID_ASPECT_16_9, AspectRatio::SixteenNine}}) {
    rows.push_back({id, [aspect](Context& c) { SetAspect(c, aspect); },
                    [aspect](Context& c) { return Marked(c.options.aspectRatio == aspect); }});
  }
  for (const auto& [id, scale] :
       {std::pair{ID_SCALE_HALF, 0.5}, {ID_SCALE_1X, 1.0}, {ID_SCALE_2X, 2.0}, {ID_SCALE_3X, 3.0}}) {
    rows.push_back({id, [scale](Context& c) { c.doc.SetVideoScale(scale); },
                    [](Context& c) { return Enabled(c.videoViewShown); }});
  }
  return rows;
}

std::span<const Row> Rows() {
  static const std::vector<Row> rows = BuildRows();
  return rows;
}

}  // namespace

std::optional<CommandState> DocumentCommandState(int id, DocumentCommandContext& context) {
  return CommandRowState(Rows(), id, context);
}

bool RunDocumentCommand(int id, DocumentCommandContext& context) { return RunCommandRow(Rows(), id, context); }

}  // namespace lumivox
