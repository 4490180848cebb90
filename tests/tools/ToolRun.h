#pragma once
// lumivox-tool run as a user runs it, from a shell.

#include <sys/wait.h>

#include <cstdio>
#include <string>

#include "TempDir.h"

namespace lumivox::test {

struct ToolRun {
  int status;
  std::string out, err;
};

// `shell` goes before the tool: variables for it, or limits. A tool that hangs is ended
// after 20 s.
inline ToolRun RunTool(const std::string& args, const std::string& shell = "") {
  const TempDir dir;
  const std::string errFile = dir / "stderr.txt";
  const std::string command = shell + " timeout 20 " + std::string(LUMIVOX_TOOL) + " " + args + " 2>'" + errFile + "'";
  ToolRun run{-1, {}, {}};
  FILE* pipe = popen(command.c_str(), "r");
  if (!pipe) return run;
  char buffer[4096];
  for (std::size_t n; (n = fread(buffer, 1, sizeof buffer, pipe)) > 0;) run.out.append(buffer, n);
  const int raw = pclose(pipe);
  run.status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
  run.err = TempDir::Read(errFile);
  return run;
}

}  // namespace lumivox::test
