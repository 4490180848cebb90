#include "ui/DlgFilterList.h"

#include <QCoreApplication>
#include <QLabel>
#include <QListWidget>
#include <QMessageBox>
#include <QPushButton>

#include <string>

#include "engine/GraphPlayer.h"
#include "playlist/PlayerDoc.h"
#include "ui/DialogUnits.h"
#include "ui/ElementPropertyPages.h"

namespace lumivox {
namespace {

struct Texts {
  Q_DECLARE_TR_FUNCTIONS(lumivox::CDlgFilterList)
};

void Tell(QWidget* owner, const QString& text) {
  QMessageBox box(QMessageBox::NoIcon, QString::fromUtf8(kAppTitle.data(), kAppTitle.size()), text, QMessageBox::Ok,
                  owner);
  box.exec();
}

}  // namespace

CDlgFilterList::CDlgFilterList(QWidget* parent) : QDialog(parent) {
  setWindowTitle(Texts::tr("DirectShow Filters"));
  const QFontMetrics metrics(font());
  setFixedSize(DialogRect(metrics, 0, 0, 214, 165).size());

  auto* caption = new QLabel(Texts::tr("&Filters in use: "), this);
  caption->setGeometry(DialogRect(metrics, 10, 10, 70, 8).adjusted(0, 0, 0, metrics.height() / 2));
  list_ = new QListWidget(this);
  list_->setObjectName("1014");
  list_->setGeometry(DialogRect(metrics, 10, 25, 195, 115));
  list_->setSelectionMode(QAbstractItemView::SingleSelection);
  caption->setBuddy(list_);

  properties_ = new QPushButton(Texts::tr("&Properties..."), this);
  properties_->setObjectName("1015");
  properties_->setGeometry(DialogRect(metrics, 10, 145, 60, 14));
  auto* refresh = new QPushButton(Texts::tr("&Refresh"), this);
  refresh->setObjectName("1017");
  refresh->setGeometry(DialogRect(metrics, 75, 145, 70, 14));
  auto* close = new QPushButton(Texts::tr("&Close"), this);
  close->setObjectName("1");
  close->setGeometry(DialogRect(metrics, 155, 145, 50, 14));
  close->setDefault(true);

  connect(list_, &QListWidget::itemSelectionChanged, this, &CDlgFilterList::OnSelectionChange);
  connect(list_, &QListWidget::itemDoubleClicked, this, &CDlgFilterList::OnProperties);
  connect(properties_, &QPushButton::clicked, this, &CDlgFilterList::OnProperties);
  connect(refresh, &QPushButton::clicked, this, &CDlgFilterList::Refresh);
  connect(close, &QPushButton::clicked, this, &QDialog::accept);
}

void CDlgFilterList::ShowFor(CGraphPlayer* engine) {
  if (!engine) return;
  engine_ = engine;
  Refresh();
  exec();
}

void CDlgFilterList::Refresh() {
  list_->clear();
  if (!engine_) return;
  for (const ElementRef& filter : engine_->EnumFilters()) {
    const GCharPtr name(gst_object_get_name(GST_OBJECT(filter.get())));
    list_->addItem(name ? QString::fromUtf8(name.get()) : QStringLiteral("<ERROR>"));
  }
  if (list_->count() > 0) list_->setCurrentRow(0);
}

void CDlgFilterList::OnSelectionChange() { properties_->setEnabled(!list_->selectedItems().isEmpty()); }

void CDlgFilterList::OnProperties() {
  const QList<QListWidgetItem*> selected = list_->selectedItems();
  if (!selected.isEmpty()) ShowProperties(selected.front()->text());
}

void CDlgFilterList::ShowProperties(const QString& name) {
  if (!engine_ || !engine_->IsOpen()) return;
  const std::string wanted = name.toStdString();
  ElementRef chosen;
  for (ElementRef& filter : engine_->EnumFilters()) {
    const GCharPtr filterName(gst_object_get_name(GST_OBJECT(filter.get())));
    if (filterName && wanted == filterName.get()) {
      chosen = std::move(filter);
      break;
    }
  }
  if (!chosen) {
    Tell(this, Texts::tr("Filter is not found"));
  } else if (!HasPropertyPages(chosen.get())) {
    Tell(this, Texts::tr("Properties does not exist for the specified filter"));
  } else {
    ShowPropertyPages(chosen.get(), this);
  }
}

}  // namespace lumivox
