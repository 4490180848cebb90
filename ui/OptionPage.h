#pragma once
// A page of the Options sheet: filled from the settings when it is first shown, written
// back only when the user presses OK, and only if it was shown.

#include <QWidget>

namespace lumivox {

class OptionPage : public QWidget {
 public:
  using QWidget::QWidget;

  // The tab's caption.
  virtual QString Caption() const = 0;
  // Once, when the page is first shown.
  virtual void OnInitPage() = 0;
  // OK was pressed and the page has been shown.
  virtual void OnApply() = 0;
  // Cancel was pressed and the page has been shown.
  virtual void OnReset() {}
};

}  // namespace lumivox
