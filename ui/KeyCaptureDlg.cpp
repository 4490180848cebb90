#include "ui/KeyCaptureDlg.h"

#include <qdrawutil.h>
#include <QKeyEvent>
#include <QLabel>
#include <QPainter>
#include <QPushButton>

#include "ui/DialogUnits.h"
#include "ui/VirtualKeys.h"

namespace lumivox {

CKeyCaptureDlg::CKeyCaptureDlg(KeyEntry& entry, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::FramelessWindowHint), entry_(entry) {
  const QFontMetrics metrics = fontMetrics();
  setFixedSize(DialogRect(metrics, 0, 0, 129, 45).size());
  auto* prompt = new QLabel(tr("Press the key(s) to assign..."), this);
  prompt->setGeometry(DialogRect(metrics, 7, 7, 115, 15));
  prompt->setAlignment(Qt::AlignLeft | Qt::AlignTop);
  prompt->setWordWrap(true);
  auto* cancel = new QPushButton(tr("Cancel"), this);
  cancel->setObjectName("1021");
  cancel->setGeometry(DialogRect(metrics, 72, 24, 50, 14));
  // Keys belong to the capture, so the button takes neither focus nor Enter.
  cancel->setFocusPolicy(Qt::NoFocus);
  cancel->setAutoDefault(false);
  connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
}

bool CKeyCaptureDlg::event(QEvent* event) {
  switch (event->type()) {
    case QEvent::ShortcutOverride:  // no shortcut of any window fires while a key is caught
      event->accept();
      return true;
    case QEvent::KeyPress:  // before the dialog's Escape/Enter and the focus chain's Tab
      OnKeyDown(static_cast<const QKeyEvent&>(*event));
      return true;
    case QEvent::KeyRelease: return true;
    case QEvent::WindowActivate:  // the window system's grab needs a mapped window
      grabKeyboard();
      break;
    default: break;
  }
  return QDialog::event(event);
}

void CKeyCaptureDlg::showEvent(QShowEvent* event) {
  QDialog::showEvent(event);
  // Also takes the keys the window manager would keep for itself, such as Alt+F4.
  grabKeyboard();
}

void CKeyCaptureDlg::hideEvent(QHideEvent* event) {
  releaseKeyboard();
  QDialog::hideEvent(event);
}

void CKeyCaptureDlg::paintEvent(QPaintEvent*) {
  // Without a title bar the box draws its own raised edge.
  QPainter painter(this);
  qDrawWinPanel(&painter, rect(), palette(), false);
}

void CKeyCaptureDlg::OnKeyDown(const QKeyEvent& event) {
  const VirtualKeyPress press = VirtualKeyOf(event, latin_);
  if (press.key == 0 || IsCaptureIgnoredKey(press.key)) return;
  entry_.key = press.key;
  entry_.flags = press.flags;
  accept();
}

}  // namespace lumivox
