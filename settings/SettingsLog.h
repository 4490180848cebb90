#pragma once
// The log of the settings store: silent unless QT_LOGGING_RULES turns it on
// ("lumivox.settings*=true").

#include <QLoggingCategory>

namespace lumivox {

Q_DECLARE_LOGGING_CATEGORY(lcSettings)

}  // namespace lumivox
