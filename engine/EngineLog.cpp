#include "engine/EngineLog.h"

namespace lumivox {

// Critical and above only by default: users never see the engine's reasons.
Q_LOGGING_CATEGORY(lcEngine, "lumivox.engine", QtCriticalMsg)

}  // namespace lumivox
