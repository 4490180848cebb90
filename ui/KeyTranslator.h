#pragma once
// The user's keys in the player's own windows: an application-wide event filter that
// turns a key press into the command of the first matching key table entry.

#include <QObject>

#include <functional>

#include "settings/KeyTable.h"
#include "ui/LatinKeymap.h"

class QWidget;

namespace lumivox {

class KeyTranslator final : public QObject {
 public:
  // `table` is asked on every key, so a rebuilt table takes effect at once; null
  // translates nothing. `translatesFor` says whether keys aimed at a widget are
  // translated. `send` runs a translated command; it is posted, so it may close or
  // delete the widget the key was aimed at.
  KeyTranslator(std::function<const AccelTable*()> table, std::function<bool(QWidget* target)> translatesFor,
                std::function<void(int command)> send, QObject* parent = nullptr);

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  std::function<const AccelTable*()> table_;
  std::function<bool(QWidget*)> translatesFor_;
  std::function<void(int)> send_;
  LatinKeymap latin_;
};

}  // namespace lumivox
