#pragma once
// The session bus's log: the MPRIS service and the screen saver. Silent unless
// QT_LOGGING_RULES turns it on ("lumivox.desktop=true").

#include <QLoggingCategory>

namespace lumivox {

Q_DECLARE_LOGGING_CATEGORY(lcDesktop)

}  // namespace lumivox
