// lumivox: the player's entry point.

#include "app/PlayerApp.h"

int main(int argc, char** argv) {
  lumivox::CPlayerApp app(argc, argv);
  if (!app.InitInstance()) return 0;
  return app.ExitInstance(app.Run());
}
