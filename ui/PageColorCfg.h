#pragma once
// The "Color" options page: the five player colours, edited in a copy that reaches the
// options only on OK.

#include <array>

#include "settings/PlayerOptions.h"
#include "ui/OptionPage.h"

namespace lumivox {

class CPageColorCfg final : public OptionPage {
  Q_OBJECT

 public:
  explicit CPageColorCfg(PlayerOptions& options, QWidget* parent = nullptr);

  QString Caption() const override;
  void OnInitPage() override;
  void OnApply() override;
  // Cancel: the copy goes back to the defaults; the options are left alone.
  void OnReset() override { ResetToDefaults(); }

 private:
  void ResetToDefaults();
  void ChangeColor(int index);

  PlayerOptions& options_;
  std::array<ColorRef, kPlayerColorCount> colors_ = DefaultPlayerColors();
  std::array<QWidget*, kPlayerColorCount> swatches_{};
};

}  // namespace lumivox
