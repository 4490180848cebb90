#include "app/AppLog.h"

namespace lumivox {

// Critical and above only by default: users never see these reasons.
Q_LOGGING_CATEGORY(lcApp, "lumivox.app", QtCriticalMsg)

}  // namespace lumivox
