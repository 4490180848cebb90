#pragma once
// How the commands show on Qt's menus and buttons: marks, radio groups, tool tips.

#include <QObject>

#include "ui/CommandRows.h"

class QAction;
class QEvent;
class QMenu;

namespace lumivox {

// An item shows its mark only while it is set, so no empty box or circle is left beside it.
void ApplyState(QAction& action, CommandState state);

// Radio items next to each other form one group, which gives them round marks. The group
// may have none checked: a hand-edited skip interval matches no item.
void GroupRadioItems(QMenu& menu);

// Keeps a tool button without a tip of its own from showing its action's text instead.
class NoToolTip final : public QObject {
 public:
  using QObject::QObject;

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;
};

}  // namespace lumivox
