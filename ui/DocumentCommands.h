#pragma once
// The document's command handlers with their enable and mark rules, one row per command.

#include <optional>

#include "settings/PlayerOptions.h"
#include "ui/CommandRows.h"

namespace lumivox {

class CPlayerDoc;

struct DocumentCommandContext {
  CPlayerDoc& doc;
  PlayerOptions& options;
  bool videoViewShown = false;
  bool playlistViewShown = false;
};

// Runs the document's handler of `id`; false when the document has none or the command is
// disabled now.
bool RunDocumentCommand(int id, DocumentCommandContext& context);
// The state of a document command, or nothing when the document does not handle it.
std::optional<CommandState> DocumentCommandState(int id, DocumentCommandContext& context);

}  // namespace lumivox
