#pragma once
// The "Volume" options page: where the volume commands act, and whether the device volume
// is put back at exit.

#include "ui/OptionPage.h"

class QCheckBox;
class QRadioButton;

namespace lumivox {

class PlayerSettings;

class CPageVolumeCfg final : public OptionPage {
  Q_OBJECT

 public:
  explicit CPageVolumeCfg(PlayerSettings& settings, QWidget* parent = nullptr);

  QString Caption() const override;
  void OnInitPage() override;
  // A new mode first gives the old device back its start volume (when that was asked
  // for), then remembers the new device's volume.
  void OnApply() override;

 private:
  PlayerSettings& settings_;
  QRadioButton* directShow_;
  QRadioButton* mixer_;
  QRadioButton* waveOut_;
  QCheckBox* restoreVolume_;
};

}  // namespace lumivox
