#pragma once
// The small box that catches a key for the key page: every key counts, Escape, Enter,
// Tab and Alt+F4 included, except modifiers, lock and input-method keys; only a mouse
// click on Cancel gets out without one.

#include <QDialog>

#include "settings/KeyTable.h"
#include "ui/LatinKeymap.h"

namespace lumivox {

class CKeyCaptureDlg final : public QDialog {
  Q_OBJECT

 public:
  // On a key, writes its code and the modifiers held into `entry` (the command stays)
  // and closes with Accepted; Cancel closes with Rejected and leaves `entry` alone.
  explicit CKeyCaptureDlg(KeyEntry& entry, QWidget* parent = nullptr);

 protected:
  bool event(QEvent* event) override;
  void showEvent(QShowEvent* event) override;
  void hideEvent(QHideEvent* event) override;
  void paintEvent(QPaintEvent* event) override;

 private:
  void OnKeyDown(const QKeyEvent& event);

  KeyEntry& entry_;
  LatinKeymap latin_;
};

}  // namespace lumivox
