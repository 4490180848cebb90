#include "ui/KeyTranslator.h"

#include <QApplication>
#include <QKeyEvent>
#include <QWidget>

#include "ui/UiLog.h"
#include "ui/VirtualKeys.h"

namespace lumivox {
namespace {

// A key event a widget ignores travels on to its parents; only the widget it was aimed
// at, the window's focus widget or the window itself, decides. So a key the seek bar
// lets pass is not translated by the main window behind it.
bool IsAimedAt(const QWidget& widget) {
  const QWidget* window = widget.window();
  const QWidget* focus = window->focusWidget();
  return &widget == (focus ? focus : window);
}

}  // namespace

KeyTranslator::KeyTranslator(std::function<const AccelTable*()> table,
                             std::function<bool(QWidget* target)> translatesFor, std::function<void(int command)> send,
                             QObject* parent)
    : QObject(parent), table_(std::move(table)), translatesFor_(std::move(translatesFor)), send_(std::move(send)) {
  qApp->installEventFilter(this);
}

bool KeyTranslator::eventFilter(QObject* watched, QEvent* event) {
  // A shortcut override taken here keeps menu access keys and shortcuts from the key.
  if (event->type() != QEvent::KeyPress && event->type() != QEvent::ShortcutOverride) return false;
  if (!watched->isWidgetType()) return false;
  auto* target = static_cast<QWidget*>(watched);
  if (!IsAimedAt(*target)) return false;
  const bool press = event->type() == QEvent::KeyPress;
  if (!translatesFor_(target)) {
    if (press) qCDebug(lcUi) << "key for" << target->metaObject()->className() << "left to it";
    return false;
  }
  const AccelTable* table = table_();
  if (!table) return false;
  const VirtualKeyPress key = VirtualKeyOf(static_cast<const QKeyEvent&>(*event), latin_);
  std::optional<std::uint16_t> command;
  if (key.key) command = table->Translate(key.flags, key.key);
  if (press) qCDebug(lcUi) << "key" << key.flags << key.key << "command" << (command ? int(*command) : 0);
  if (!command) return false;
  event->accept();
  if (press) {
    QMetaObject::invokeMethod(
        this, [this, id = int(*command)] { send_(id); }, Qt::QueuedConnection);
  }
  return true;
}

}  // namespace lumivox
