#pragma once
// The engine's log: silent unless QT_LOGGING_RULES turns it on ("lumivox.engine*=true").

#include <QLoggingCategory>

namespace lumivox {

Q_DECLARE_LOGGING_CATEGORY(lcEngine)

}  // namespace lumivox
