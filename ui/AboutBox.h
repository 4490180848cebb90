#pragma once
// The small About box: the program icon, the program line with the version, OK.

class QWidget;

namespace lumivox {

// Runs the box modally over `owner`.
void ShowAboutBox(QWidget* owner);

}  // namespace lumivox
