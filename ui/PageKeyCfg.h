#pragma once
// The "Key assignment" options page: the twenty operations with their keys, changed in a
// copy through the capture box and written to the options only on OK.

#include "settings/PlayerOptions.h"
#include "ui/OptionPage.h"

class QPushButton;
class QTreeWidget;

namespace lumivox {

class CPageKeyCfg final : public OptionPage {
  Q_OBJECT

 public:
  explicit CPageKeyCfg(PlayerOptions& options, QWidget* parent = nullptr);

  QString Caption() const override;
  void OnInitPage() override;
  void OnApply() override;

 private:
  int SelectedRow() const;
  void OnSelectionChanged();
  void OnAssignment();
  void OnDefault();
  void OnAllDefault();
  void ShowKey(int row);

  PlayerOptions& options_;
  KeyTable keys_ = DefaultKeyTable();
  QTreeWidget* list_ = nullptr;
  QPushButton* assignment_ = nullptr;
  QPushButton* default_ = nullptr;
};

}  // namespace lumivox
