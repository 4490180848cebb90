#pragma once
// A table of command handlers, one row per command: what it does and its enable and mark
// rule. The document's plain commands and its dialog commands are two such tables.

#include <functional>
#include <optional>
#include <span>

namespace lumivox {

struct CommandState {
  bool enabled = true;
  bool checked = false;  // a check or radio mark
};

template <typename Context>
struct CommandRow {
  int id;
  std::function<void(Context&)> run;
  std::function<CommandState(Context&)> state;  // empty: always enabled, no mark
};

template <typename Context>
const CommandRow<Context>* FindCommandRow(std::span<const CommandRow<Context>> rows, int id) {
  for (const CommandRow<Context>& row : rows) {
    if (row.id == id) return &row;
  }
  return nullptr;
}

// The state of the row of `id`, or nothing when the table has no such row.
template <typename Context>
std::optional<CommandState> CommandRowState(std::span<const CommandRow<Context>> rows, int id, Context& context) {
  const CommandRow<Context>* row = FindCommandRow(rows, id);
  if (!row) return std::nullopt;
  return row->state ? row->state(context) : CommandState{};
}

// Runs the row of `id`; false when there is none or its rule disables it now.
template <typename Context>
bool RunCommandRow(std::span<const CommandRow<Context>> rows, int id, Context& context) {
  const CommandRow<Context>* row = FindCommandRow(rows, id);
  if (!row || (row->state && !row->state(context).enabled)) return false;
  row->run(context);
  return true;
}

}  // namespace lumivox
