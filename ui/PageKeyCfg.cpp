#include "ui/PageKeyCfg.h"

#include <QHeaderView>
#include <QHelpEvent>
#include <QPushButton>
#include <QToolTip>
#include <QTreeWidget>

#include "ui/CommandTable.h"
#include "ui/DialogUnits.h"
#include "ui/KeyCaptureDlg.h"

namespace lumivox {
namespace {

// A report list whose cells cut short show their whole text in a tip.
class KeyList final : public QTreeWidget {
 public:
  using QTreeWidget::QTreeWidget;

 protected:
  bool viewportEvent(QEvent* event) override {
    if (event->type() != QEvent::ToolTip) return QTreeWidget::viewportEvent(event);
    const auto& help = static_cast<const QHelpEvent&>(*event);
    const QModelIndex index = indexAt(help.pos());
    const QRect cell = visualRect(index);
    QStyleOptionViewItem option;
    initViewItemOption(&option);
    if (!index.isValid() || itemDelegateForIndex(index)->sizeHint(option, index).width() <= cell.width()) {
      QToolTip::hideText();
    } else {
      QToolTip::showText(help.globalPos(), index.data().toString(), viewport(), cell);
    }
    return true;
  }
};

QString KeyText(const KeyEntry& entry) { return QString::fromStdString(FormatAccelKey(entry)); }

}  // namespace

CPageKeyCfg::CPageKeyCfg(PlayerOptions& options, QWidget* parent) : OptionPage(parent), options_(options) {
  const QFontMetrics metrics = fontMetrics();
  setFixedSize(DialogRect(metrics, 0, 0, 210, 154).size());

  list_ = new KeyList(this);
  list_->setObjectName("1022");
  list_->setGeometry(DialogRect(metrics, 5, 5, 200, 125));
  list_->setRootIsDecorated(false);
  list_->setItemsExpandable(false);
  list_->setUniformRowHeights(true);
  list_->setSelectionMode(QAbstractItemView::SingleSelection);
  list_->setSelectionBehavior(QAbstractItemView::SelectRows);
  list_->setHeaderLabels({tr("Operation"), tr("Key Assignment")});
  list_->header()->setStretchLastSection(false);
  list_->header()->setSectionsMovable(false);

  assignment_ = new QPushButton(tr("&Assignment..."), this);
  assignment_->setObjectName("1023");
  assignment_->setGeometry(DialogRect(metrics, 5, 135, 60, 14));
  default_ = new QPushButton(tr("&Default"), this);
  default_->setObjectName("1024");
  default_->setGeometry(DialogRect(metrics, 70, 135, 60, 14));
  auto* allDefault = new QPushButton(tr("&All Default"), this);
  allDefault->setObjectName("1027");
  allDefault->setGeometry(DialogRect(metrics, 135, 135, 70, 14));
  assignment_->setEnabled(false);
  default_->setEnabled(false);

  connect(list_, &QTreeWidget::itemSelectionChanged, this, &CPageKeyCfg::OnSelectionChanged);
  connect(list_, &QTreeWidget::itemDoubleClicked, this, &CPageKeyCfg::OnAssignment);
  connect(assignment_, &QPushButton::clicked, this, &CPageKeyCfg::OnAssignment);
  connect(default_, &QPushButton::clicked, this, &CPageKeyCfg::OnDefault);
  connect(allDefault, &QPushButton::clicked, this, &CPageKeyCfg::OnAllDefault);
}

QString CPageKeyCfg::Caption() const { return tr("Key assignment"); }

void CPageKeyCfg::OnInitPage() {
  keys_ = options_.keyTable;
  // Room is left for the scroll bar that twenty rows bring.
  const int scrollBar = list_->style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, list_);
  const int column = (list_->contentsRect().width() - scrollBar) / 2;
  list_->setColumnWidth(0, column);
  list_->setColumnWidth(1, column);
  list_->clear();
  for (int row = 0; row < kKeyCount; ++row) {
    const std::string_view operation = kDefaultKeys[std::size_t(row)].operation;
    list_->addTopLevelItem(new QTreeWidgetItem({CommandText(operation), KeyText(keys_[std::size_t(row)])}));
  }
}

void CPageKeyCfg::OnApply() { options_.keyTable = keys_; }

int CPageKeyCfg::SelectedRow() const {
  const QList<QTreeWidgetItem*> selected = list_->selectedItems();
  return selected.isEmpty() ? -1 : list_->indexOfTopLevelItem(selected.front());
}

void CPageKeyCfg::OnSelectionChanged() {
  const bool selected = SelectedRow() >= 0;
  assignment_->setEnabled(selected);
  default_->setEnabled(selected);
}

void CPageKeyCfg::OnAssignment() {
  const int row = SelectedRow();
  if (row < 0) return;
  CKeyCaptureDlg(keys_[std::size_t(row)], this).exec();
  ShowKey(row);
}

void CPageKeyCfg::OnDefault() {
  const int row = SelectedRow();
  if (row < 0) return;
  GetDefaultAccel(row, keys_[std::size_t(row)]);
  ShowKey(row);
}

void CPageKeyCfg::OnAllDefault() {
  for (int row = 0; row < kKeyCount; ++row) {
    GetDefaultAccel(row, keys_[std::size_t(row)]);
    ShowKey(row);
  }
}

void CPageKeyCfg::ShowKey(int row) {
  if (QTreeWidgetItem* item = list_->topLevelItem(row)) item->setText(1, KeyText(keys_[std::size_t(row)]));
}

}  // namespace lumivox
