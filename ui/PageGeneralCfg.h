#pragma once
// The "Standard" options page: playlist behaviour, tray icon and MPEG decoder choice.

#include "ui/OptionPage.h"

class QCheckBox;

namespace lumivox {

struct PlayerOptions;

class CPageGeneralCfg final : public OptionPage {
  Q_OBJECT

 public:
  explicit CPageGeneralCfg(PlayerOptions& options, QWidget* parent = nullptr);

  QString Caption() const override;
  void OnInitPage() override;
  void OnApply() override;

 private:
  PlayerOptions& options_;
  QCheckBox* loadLastList_;
  QCheckBox* skipExisting_;  // the inverse of AddExisted
  QCheckBox* trayIcon_;
  QCheckBox* mpegSoftDecoder_;
};

}  // namespace lumivox
