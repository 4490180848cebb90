#include "ui/UiLog.h"

namespace lumivox {

// Critical and above only by default: users never see these reasons.
Q_LOGGING_CATEGORY(lcUi, "lumivox.ui", QtCriticalMsg)

}  // namespace lumivox
