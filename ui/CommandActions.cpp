#include "ui/CommandActions.h"

#include <QActionGroup>
#include <QEvent>
#include <QMenu>

#include "ui/CommandTable.h"

namespace lumivox {
namespace {

bool IsRadioItem(const QAction* action) {
  const CommandInfo* command = action->data().isValid() ? FindCommand(action->data().toInt()) : nullptr;
  return command && command->mark == CommandMark::Radio;
}

}  // namespace

void ApplyState(QAction& action, CommandState state) {
  action.setEnabled(state.enabled);
  action.setCheckable(state.checked);
  action.setChecked(state.checked);
}

void GroupRadioItems(QMenu& menu) {
  QActionGroup* group = nullptr;
  for (QAction* action : menu.actions()) {
    if (!IsRadioItem(action)) {
      group = nullptr;
      continue;
    }
    if (!group) {
      group = new QActionGroup(&menu);
      group->setExclusionPolicy(QActionGroup::ExclusionPolicy::ExclusiveOptional);
    }
    group->addAction(action);
  }
}

bool NoToolTip::eventFilter(QObject*, QEvent* event) { return event->type() == QEvent::ToolTip; }

}  // namespace lumivox
