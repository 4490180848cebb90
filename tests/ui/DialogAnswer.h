#pragma once
// Answers a modal dialog of the code under test from inside its own event loop.

#include <QApplication>
#include <QTimer>

#include <functional>

namespace lumivox::test {

// Runs `answer` on the next modal dialog once it shows.
inline void WhenDialogShows(std::function<void(QWidget*)> answer) {
  auto* poll = new QTimer(qApp);
  QObject::connect(poll, &QTimer::timeout, [poll, answer = std::move(answer)] {
    if (QWidget* dialog = QApplication::activeModalWidget()) {
      poll->stop();
      poll->deleteLater();
      answer(dialog);
    }
  });
  poll->start(20);
}

}  // namespace lumivox::test
