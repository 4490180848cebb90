#pragma once
// The player's command line. Arguments that begin with '-' are options (all of them after
// "--" are names): --help and --version answer without opening a display, the others are
// for scripts, unknown ones are ignored. Every other argument names a file, folder or list,
// made an absolute local path here, before it is opened or handed to a running player, so
// that a player started elsewhere never reads a name against the wrong folder.

#include <QString>

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace lumivox {

struct CommandLine {
  std::vector<std::string> names;  // absolute local paths, in the order given
  bool printStartupTime = false;   // --print-startup-time
  QString screenshot;              // --screenshot=FILE
  int command = 0;                 // --command=ID: the dialog pictured by --screenshot
  int tab = 0;                     // --tab=N: its page
};

// For --help and --version: prints the answer on standard output and gives the exit
// status. Nothing when the player is to run.
std::optional<int> AnswerInformationRequest(int argc, char** argv);

// The command line once Qt has taken its own options (-platform, -style, ...) out of it.
CommandLine ReadCommandLine(int argc, char** argv);

// A name from the command line as an absolute local path. A file:// URI (no host or
// "localhost") becomes its path, percent-decoded byte for byte; a relative name is joined
// to `currentFolder` with its "." parts and doubled '/' left out, symlinks and ".." kept as
// written. Absolute paths and URIs of other schemes stay as they are.
std::string AbsoluteName(std::string_view argument, std::string_view currentFolder);

// The folder the player was started in, as the shell names it: $PWD when it is the current
// folder, so a folder reached through a symlink keeps that name. Empty when it is gone.
std::string CurrentFolder();

}  // namespace lumivox
