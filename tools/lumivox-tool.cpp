// lumivox-tool: the playlist document from the command line.

#include <iostream>
#include <string>
#include <string_view>
#include <vector>

#include "tools/ProbeCommand.h"
#include "tools/ToolCommands.h"

namespace {

constexpr std::string_view kUsage =
    "Usage: lumivox-tool COMMAND [OPTIONS] ARGS\n"
    "\n"
    "Commands:\n"
    "  read LIST                           print the names a list file holds, one per line\n"
    "  convert [--no-duplicates] IN OUT    load list IN and save it as OUT (format by extension)\n"
    "  scan [--no-duplicates] FOLDER       print the media files a folder scan adds\n"
    "  probe [--lumivault] [--no-mpeg-decoder] [--play] FILE|URL\n"
    "                                      open FILE or a stream's URL with the playback\n"
    "                                      engine and print\n"
    "                                      its filters, duration (100 ns) and video size\n"
    "\n"
    "Options:\n"
    "  --no-duplicates   skip names already in the list (case-insensitive)\n"
    "  --lumivault       send video to the LumivaultHD device for this run\n"
    "  --no-mpeg-decoder leave MPEG streams to the system's decoders for this run\n"
    "  --play            run the graph to its end and print the milliseconds it took\n"
    "  --help            show this help and exit\n"
    "  --version         show the version and exit\n"
    "\n"
    "List formats: .m3u, .pls, .lst (read and write), .aal, .val (read).\n"
    "Exit status: 0 success, 1 the list could not be read to its end or written, or the\n"
    "file did not open or play to its end, 2 bad call.\n";

int Usage(const std::string& message) {
  std::cerr << "lumivox-tool: " << message << " (try 'lumivox-tool --help')\n";
  return lumivox::tool::kUsage;
}

}  // namespace

int main(int argc, char** argv) {
  std::vector<std::string> args(argv + 1, argv + argc);
  if (args.empty()) return Usage("missing command");
  if (args[0] == "--help" || args[0] == "-h") {
    std::cout << kUsage;
    return lumivox::tool::kOk;
  }
  if (args[0] == "--version") {
    std::cout << "lumivox-tool " << LUMIVOX_VERSION << '\n';
    return lumivox::tool::kOk;
  }

  const std::string command = args[0];
  bool addExisted = true;
  lumivox::tool::ProbeOptions probe;
  std::vector<std::string> operands;
  for (std::size_t i = 1; i < args.size(); ++i) {
    const std::string& a = args[i];
    if (a == "--no-duplicates" && (command == "convert" || command == "scan")) {
      addExisted = false;
    } else if (a == "--lumivault" && command == "probe") {
      probe.lumivault = true;
    } else if (a == "--no-mpeg-decoder" && command == "probe") {
      probe.mpegSoftDecoder = false;
    } else if (a == "--play" && command == "probe") {
      probe.play = true;
    } else if (a == "--") {
      operands.insert(operands.end(), args.begin() + static_cast<long>(i) + 1, args.end());
      break;
    } else if (a.size() > 1 && a[0] == '-') {
      return Usage("unknown option '" + a + "' for " + command);
    } else {
      operands.push_back(a);
    }
  }

  if (command == "read") {
    if (operands.size() != 1) return Usage("read takes one LIST");
    return lumivox::tool::ReadList(operands[0], std::cout);
  }
  if (command == "convert") {
    if (operands.size() != 2) return Usage("convert takes IN and OUT");
    return lumivox::tool::ConvertList(operands[0], operands[1], addExisted, std::cerr);
  }
  if (command == "scan") {
    if (operands.size() != 1) return Usage("scan takes one FOLDER");
    return lumivox::tool::ScanFolder(operands[0], addExisted, std::cout, std::cerr);
  }
  if (command == "probe") {
    if (operands.size() != 1) return Usage("probe takes one FILE");
    return lumivox::tool::ProbeFile(operands[0], probe, std::cout);
  }
  return Usage("unknown command '" + command + "'");
}
