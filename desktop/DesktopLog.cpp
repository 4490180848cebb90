#include "desktop/DesktopLog.h"

namespace lumivox {

// Critical and above only by default: users never see these reasons.
Q_LOGGING_CATEGORY(lcDesktop, "lumivox.desktop", QtCriticalMsg)

}  // namespace lumivox
