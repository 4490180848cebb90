#include "settings/SettingsLog.h"

namespace lumivox {

// Critical and above only by default: settings that cannot be saved are never shown.
Q_LOGGING_CATEGORY(lcSettings, "lumivox.settings", QtCriticalMsg)

}  // namespace lumivox
