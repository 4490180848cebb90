#include "ui/AboutBox.h"

#include <QCoreApplication>
#include <QDialog>
#include <QLabel>
#include <QPushButton>

#include "ui/DialogUnits.h"
#include "ui/ToolbarImages.h"

namespace lumivox {
namespace {

struct Texts {
  Q_DECLARE_TR_FUNCTIONS(lumivox::AboutBox)
};

}  // namespace

void ShowAboutBox(QWidget* owner) {
  QDialog box(owner);
  box.setWindowTitle(Texts::tr("About lumivox"));
  const QFontMetrics metrics(box.font());
  box.setFixedSize(DialogRect(metrics, 0, 0, 287, 67).size());

  auto* icon = new QLabel(&box);
  icon->setGeometry(DialogRect(metrics, 11, 17, 20, 20));
  icon->setPixmap(ProgramIcon().pixmap(icon->size()));
  auto* line = new QLabel(Texts::tr("lumivox Version %1").arg(LUMIVOX_VERSION), &box);
  line->setObjectName("programLine");
  line->setGeometry(DialogRect(metrics, 40, 15, 180, 8).adjusted(0, 0, 0, metrics.height() / 2));
  auto* ok = new QPushButton(Texts::tr("OK"), &box);
  ok->setGeometry(DialogRect(metrics, 225, 15, 50, 14));
  ok->setDefault(true);
  QObject::connect(ok, &QPushButton::clicked, &box, &QDialog::accept);
  box.exec();
}

}  // namespace lumivox
