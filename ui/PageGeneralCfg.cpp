#include "ui/PageGeneralCfg.h"

#include <QCheckBox>
#include <QGroupBox>

#include <algorithm>

#include "settings/PlayerOptions.h"
#include "ui/DialogUnits.h"

namespace lumivox {

CPageGeneralCfg::CPageGeneralCfg(PlayerOptions& options, QWidget* parent) : OptionPage(parent), options_(options) {
  const QFontMetrics metrics = fontMetrics();
  setFixedSize(DialogRect(metrics, 0, 0, 210, 154).size());
  const auto group = [&](const QString& title, int x, int y, int width, int height) {
    (new QGroupBox(title, this))->setGeometry(DialogRect(metrics, x, y, width, height));
  };
  const auto check = [&](const char* id, const QString& text, int y, int height) {
    auto* box = new QCheckBox(text, this);
    box->setObjectName(id);
    box->setGeometry(DialogRect(metrics, 15, y, 175, height));
    return box;
  };
  group(tr("Playlist"), 5, 5, 195, 50);
  loadLastList_ = check("1025", tr("&Read previous list during startup"), 20, 10);
  skipExisting_ = check("1026", tr("&Do not add the file already registered to the list"), 35, 8);
  group(tr("Window"), 6, 65, 194, 35);
  trayIcon_ = check("1031", tr("Show Tray Icon when window is minimized"), 80, 10);
  group(tr("Decoder"), 5, 110, 195, 35);
  mpegSoftDecoder_ = check("1032", tr("Use Halcyon MPEG decoder"), 125, 10);

  // Dialog units are sized for narrower fonts than most desktops use: widen the page, its
  // groups and its boxes alike by what the longest text lacks rather than cut it.
  int lack = 0;
  for (const QCheckBox* box : findChildren<QCheckBox*>()) lack = std::max(lack, box->sizeHint().width() - box->width());
  for (QWidget* child : findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
    child->resize(child->width() + lack, child->height());
  }
  setFixedWidth(width() + lack);
}

QString CPageGeneralCfg::Caption() const { return tr("Standard"); }

void CPageGeneralCfg::OnInitPage() {
  loadLastList_->setChecked(options_.loadLastList != 0);
  trayIcon_->setChecked(options_.trayIcon != 0);
  skipExisting_->setChecked(options_.addExisted == 0);
  mpegSoftDecoder_->setChecked(options_.mpegSoftDecoder != 0);
}

void CPageGeneralCfg::OnApply() {
  options_.loadLastList = loadLastList_->isChecked() ? 1 : 0;
  options_.trayIcon = trayIcon_->isChecked() ? 1 : 0;
  options_.addExisted = skipExisting_->isChecked() ? 0 : 1;
  options_.mpegSoftDecoder = mpegSoftDecoder_->isChecked() ? 1 : 0;
}

}  // namespace lumivox
