#pragma once
// The log of reading and saving list files: silent unless QT_LOGGING_RULES turns it on
// ("lumivox.playlist*=true").

#include <QLoggingCategory>

namespace lumivox {

Q_DECLARE_LOGGING_CATEGORY(lcListFiles)

}  // namespace lumivox
