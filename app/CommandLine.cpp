#include "app/CommandLine.h"

#include <unistd.h>

#include <QCommandLineParser>
#include <QCoreApplication>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <memory>

#include "app/AppLog.h"
#include "playlist/ListNames.h"
#include "playlist/PathText.h"

namespace lumivox {
namespace {

// The options Qt's parser reads, and the names, taken from argv itself so that they keep
// their bytes whatever the locale says.
class Arguments {
 public:
  Arguments(int argc, char** argv) {
    for (QCommandLineOption* option : {&printStartupTime, &screenshot, &command, &tab}) {
      option->setFlags(QCommandLineOption::HiddenFromHelp);
    }
    // "-stylesheet" is one unknown option (one of Qt's), never "-s -t ... -h" asking for help.
    parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
    parser.setApplicationDescription("Plays audio and video files from a playlist kept beside the video.");
    parser.addOptions({help, version, printStartupTime, screenshot, command, tab});
    parser.addPositionalArgument(
        "NAME",
        "A media file, folder, playlist, file:// URI or stream URL. One name is opened and played; "
        "several become the playlist. A running player is handed them instead.",
        "[NAME...]");
    QStringList options{QString::fromLocal8Bit(argc > 0 ? argv[0] : "lumivox")};
    bool namesOnly = false;
    for (int i = 1; i < argc; ++i) {
      const std::string_view argument = argv[i];
      if (!namesOnly && argument == "--") {
        namesOnly = true;
      } else if (!namesOnly && argument.starts_with('-')) {
        options << QString::fromLocal8Bit(argv[i]);
      } else {
        names.emplace_back(argument);
      }
    }
    parsed = parser.parse(options);
  }

  QCommandLineOption help{{"h", "help"}, "Show this help and exit."};
  QCommandLineOption version{{"v", "version"}, "Show the version and exit."};
  QCommandLineOption printStartupTime{"print-startup-time"};
  QCommandLineOption screenshot{"screenshot", {}, "FILE"};
  QCommandLineOption command{"command", {}, "ID"};
  QCommandLineOption tab{"tab", {}, "N"};
  QCommandLineParser parser;
  std::vector<std::string> names;
  bool parsed = false;
};

}  // namespace

std::optional<int> AnswerInformationRequest(int argc, char** argv) {
  Arguments arguments(argc, argv);
  if (arguments.parser.isSet(arguments.help)) {
    // The usage line names the program as it was called, which takes an application object.
    int count = argc;
    QCoreApplication app(count, argv);
    std::fputs(arguments.parser.helpText().toLocal8Bit().constData(), stdout);
    return EXIT_SUCCESS;
  }
  if (arguments.parser.isSet(arguments.version)) {
    std::printf("lumivox %s\n", LUMIVOX_VERSION);
    return EXIT_SUCCESS;
  }
  return std::nullopt;
}

CommandLine ReadCommandLine(int argc, char** argv) {
  Arguments arguments(argc, argv);
  if (!arguments.parsed) qCWarning(lcApp) << "ignored on the command line:" << arguments.parser.errorText();
  CommandLine line;
  const std::string folder = CurrentFolder();
  for (const std::string& name : arguments.names) line.names.push_back(AbsoluteName(name, folder));
  line.printStartupTime = arguments.parser.isSet(arguments.printStartupTime);
  line.screenshot = arguments.parser.value(arguments.screenshot);
  line.command = arguments.parser.value(arguments.command).toInt();
  line.tab = arguments.parser.value(arguments.tab).toInt();
  return line;
}

std::string AbsoluteName(std::string_view argument, std::string_view currentFolder) {
  const std::string name(argument);
  if (const auto path = LocalPathOfUri(name)) return *path;
  if (!UriScheme(argument).empty() || argument.starts_with('/') || currentFolder.empty()) return name;
  std::string full(currentFolder);
  for (std::size_t at = 0; at <= argument.size();) {
    const std::size_t end = std::min(argument.find('/', at), argument.size());
    const std::string_view part = argument.substr(at, end - at);
    if (!part.empty() && part != ".") full = JoinPath(full, part);
    at = end + 1;
  }
  return full;
}

std::string CurrentFolder() {
  const std::unique_ptr<char, decltype(&std::free)> folder(::get_current_dir_name(), &std::free);
  if (!folder) qCWarning(lcApp, "the current folder is gone: relative names stay as they are");
  return folder ? folder.get() : std::string();
}

}  // namespace lumivox
