#pragma once
// The application's log: start-up and the single instance. Silent unless
// QT_LOGGING_RULES turns it on ("lumivox.app*=true").

#include <QLoggingCategory>

namespace lumivox {

Q_DECLARE_LOGGING_CATEGORY(lcApp)

}  // namespace lumivox
