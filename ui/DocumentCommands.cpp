#include "ui/DocumentCommands.h"

#include <array>

#include "playlist/PlayerDoc.h"

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

void SetAspect(Context& c, int aspect) {
  c.options.aspectRatio = aspect;
  c.doc.LayoutVideo(0.0);
}

std::vector<Row> BuildRows() {
  std::vector<Row> rows = {
      {32771, [](Context& c) { c.doc.PlayPause(); }, [](Context& c) { return Enabled(FileOpen(c)); }},
      {32772, [](Context& c) { c.doc.Stop(); },
       [](Context& c) { return Enabled(FileOpen(c) && c.doc.engine().GetState() != State_Stopped); }},
      {40020, [](Context& c) { c.doc.Play(); },
       [](Context& c) { return Enabled(FileOpen(c) && c.doc.engine().GetState() != State_Running); }},
      {40029, [](Context& c) { c.doc.Pause(); },
       [](Context& c) { return Enabled(FileOpen(c) && c.doc.engine().GetState() != State_Stopped); }},
      {32776, [](Context& c) { c.doc.PrevTrack(); }, [](Context& c) { return Enabled(c.doc.GetCount() >= 2); }},
      {32777, [](Context& c) { c.doc.NextTrack(); }, [](Context& c) { return Enabled(c.doc.GetCount() >= 2); }},
      {32833, [](Context& c) { c.doc.Rewind(); }, CanSkip},
      {32834, [](Context& c) { c.doc.FastForward(); }, CanSkip},
      {32780, [](Context& c) { c.doc.ToggleShuffle(); }, [](Context& c) { return Marked(c.doc.shuffle()); }},
      {32848, [](Context& c) { c.doc.VolumeUp(); }, nullptr},
      {32849, [](Context& c) { c.doc.VolumeDown(); }, nullptr},
      {32807, [](Context& c) { c.doc.RemoveAll(); },
       [](Context& c) { return Enabled(c.playlistViewShown && c.doc.GetCount() > 0); }},
      {32822, [](Context& c) {
         // Source Size -> 4:3 -> 16:9 -> Not Fixed -> Source Size; other values stay.
         if (c.options.aspectRatio >= 0 && c.options.aspectRatio <= 3) c.options.aspectRatio = (c.options.aspectRatio + 1) % 4;
         c.doc.LayoutVideo(0.0);
       }, nullptr},
      {32847, [](Context& c) { c.doc.StepVideoScale(); }, nullptr},
  };
  constexpr std::array<int, 9> kSkips = {1, 5, 10, 15, 30, 45, 60, 90, 120};
  for (std::size_t i = 0; i < kSkips.size(); ++i) {
    const int seconds = kSkips[i];
    rows.push_back({32835 + static_cast<int>(i), [seconds](Context& c) { c.doc.setSkipInterval(seconds); },
                    [seconds](Context& c) { return Marked(c.doc.skipInterval() == seconds); }});
  }
  for (const auto& [id, mode] : {std::pair{32781, 0}, {32805, 1}, {32806, 2}}) {
    rows.push_back({id, [mode](Context& c) { c.doc.setRepeatMode(mode); },
                    [mode](Context& c) { return Marked(c.doc.repeatMode() == mode); }});
  }
  for (const auto& [id, aspect] : {std::pair{32812, 3}, {32813, 0}, {32814, 1}, {32815, 2}}) {
    rows.push_back({id, [aspect](Context& c) { SetAspect(c, aspect); },
                    [aspect](Context& c) { return Marked(c.options.aspectRatio == aspect); }});
  }
  for (const auto& [id, scale] : {std::pair{32801, 0.5}, {32799, 1.0}, {32800, 2.0}, {32802, 3.0}}) {
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
