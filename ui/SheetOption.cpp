#include "ui/SheetOption.h"

#include <QDialogButtonBox>
#include <QTabWidget>
#include <QVBoxLayout>

#include "settings/PlayerSettings.h"
#include "ui/OptionPage.h"
#include "ui/PageColorCfg.h"
#include "ui/PageGeneralCfg.h"
#include "ui/PageVolumeCfg.h"

namespace lumivox {

CSheetOption::CSheetOption(PlayerSettings& settings, std::unique_ptr<OptionPage> keyPage, QWidget* parent)
    : QDialog(parent), tabs_(new QTabWidget(this)) {
  setWindowTitle(tr("Options"));
  AddPage(new CPageGeneralCfg(settings.options()));
  AddPage(new CPageVolumeCfg(settings));
  if (keyPage) AddPage(keyPage.release());
  AddPage(new CPageColorCfg(settings.options()));
  connect(tabs_, &QTabWidget::currentChanged, this, &CSheetOption::ShowPage);

  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
  connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(tabs_);
  layout->addWidget(buttons);
  layout->setSizeConstraint(QLayout::SetFixedSize);
}

void CSheetOption::AddPage(OptionPage* page) {
  tabs_->addTab(page, page->Caption());
  pages_.push_back({page});
}

int CSheetOption::exec() {
  ShowPage(tabs_->currentIndex());
  return QDialog::exec();
}

void CSheetOption::done(int result) {
  for (Page& page : pages_) {
    if (!page.shown) continue;
    if (result == Accepted) {
      page.page->OnApply();
    } else {
      page.page->OnReset();
    }
  }
  QDialog::done(result);
}

void CSheetOption::ShowPage(int index) {
  if (index < 0 || index >= int(pages_.size()) || pages_[index].shown) return;
  pages_[index].shown = true;
  pages_[index].page->OnInitPage();
}

}  // namespace lumivox
