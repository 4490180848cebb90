#include "playlist/formats/ListFilesLog.h"

namespace lumivox {

// Critical and above only by default: a failed save is never shown to the user.
Q_LOGGING_CATEGORY(lcListFiles, "lumivox.playlist", QtCriticalMsg)

}  // namespace lumivox
