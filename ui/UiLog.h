#pragma once
// The windows' log: the commands they run, whichever menu, key or button asked. Silent
// unless QT_LOGGING_RULES turns it on ("lumivox.ui=true").

#include <QLoggingCategory>

namespace lumivox {

Q_DECLARE_LOGGING_CATEGORY(lcUi)

}  // namespace lumivox
