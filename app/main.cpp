// lumivox: the player's entry point.

#include "app/CommandLine.h"
#include "app/DisplayPlatform.h"
#include "app/PlayerApp.h"

int main(int argc, char** argv) {
  // Answered before anything else: no display, no settings, no running player involved.
  if (const auto status = lumivox::AnswerInformationRequest(argc, argv)) return *status;
  lumivox::ApplyQtPlatformChoice();
  lumivox::CPlayerApp app(argc, argv);
  if (!app.InitInstance()) return 0;
  return app.ExitInstance(app.Run());
}
