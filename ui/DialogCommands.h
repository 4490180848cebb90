#pragma once
// The document's commands that ask the user first: Open, Add, Find and Add File, Open
// Playlist and Save Playlist with their file dialogs, and Use LumivaultHD with its message.

#include <QStringList>

#include <optional>
#include <string>
#include <string_view>

#include "ui/DocumentCommands.h"

class QWidget;

namespace lumivox {

struct DialogCommandContext {
  CPlayerDoc& doc;
  PlayerOptions& options;
  QWidget* owner = nullptr;  // the dialogs' parent
};

// Runs the handler of `id`; false when it is not one of these commands or is disabled now.
bool RunDialogCommand(int id, DialogCommandContext& context);
std::optional<CommandState> DialogCommandState(int id, DialogCommandContext& context);

// A filter string of description|patterns pairs ('|' separated, patterns ';' separated,
// closed by "||") as the file dialog's name filters. The dialog shows each description as
// it stands and matches its patterns.
QStringList NameFilters(std::string_view filterString);
// The name Save Playlist writes: the chosen filter's extension (".pls", ".m3u", ".lst")
// is appended to a name without a '.', or with an extension no list format has.
std::string SavePlaylistName(std::string name, int filterIndex);

}  // namespace lumivox
