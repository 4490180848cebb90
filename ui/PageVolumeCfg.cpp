#include "ui/PageVolumeCfg.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QRadioButton>

#include "settings/PlayerSettings.h"
#include "ui/DialogUnits.h"

namespace lumivox {

CPageVolumeCfg::CPageVolumeCfg(PlayerSettings& settings, QWidget* parent) : OptionPage(parent), settings_(settings) {
  const QFontMetrics metrics = fontMetrics();
  setFixedSize(DialogRect(metrics, 0, 0, 210, 154).size());
  (new QGroupBox(tr("Set volume to"), this))->setGeometry(DialogRect(metrics, 10, 10, 191, 65));
  const auto radio = [&](const char* id, const QString& text, int y) {
    auto* button = new QRadioButton(text, this);
    button->setObjectName(id);
    button->setGeometry(DialogRect(metrics, 20, y, 170, 10));
    return button;
  };
  directShow_ = radio("1037", tr("&DirectShow"), 25);
  mixer_ = radio("1038", tr("&Mixer Device"), 40);
  waveOut_ = radio("1039", tr("Waveout Device"), 55);
  restoreVolume_ = new QCheckBox(tr("&Restore volume when exit"), this);
  restoreVolume_->setObjectName("1025");
  restoreVolume_->setGeometry(DialogRect(metrics, 15, 85, 180, 10));
}

QString CPageVolumeCfg::Caption() const { return tr("Volume"); }

void CPageVolumeCfg::OnInitPage() {
  const PlayerOptions& options = settings_.options();
  (options.volumeMode == VolumeMode::Mixer     ? mixer_
   : options.volumeMode == VolumeMode::WaveOut ? waveOut_
                                               : directShow_)
      ->setChecked(true);
  restoreVolume_->setChecked(options.restoreVolume != 0);
}

void CPageVolumeCfg::OnApply() {
  PlayerOptions& options = settings_.options();
  const VolumeMode mode = mixer_->isChecked()     ? VolumeMode::Mixer
                          : waveOut_->isChecked() ? VolumeMode::WaveOut
                                                  : VolumeMode::Graph;
  if (mode != options.volumeMode) {
    settings_.RestoreStartVolume();  // only when RestoreVolume is on, under the old mode
    options.volumeMode = static_cast<int>(mode);
    settings_.SaveStartVolume();
  }
  options.restoreVolume = restoreVolume_->isChecked() ? 1 : 0;
}

}  // namespace lumivox
