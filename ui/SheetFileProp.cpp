#include "ui/SheetFileProp.h"

#include <QCoreApplication>
#include <QDialogButtonBox>
#include <QFileInfo>
#include <QLabel>
#include <QTabWidget>
#include <QVBoxLayout>

#include "playlist/ListNames.h"
#include "playlist/PlaylistEntry.h"
#include "ui/DialogUnits.h"
#include "ui/PlaylistIcons.h"
#include "ui/TimeText.h"

namespace lumivox {
namespace {

struct Texts {
  Q_DECLARE_TR_FUNCTIONS(lumivox::CSheetFileProp)
};

constexpr std::uint64_t kKilo = 1024, kMega = 1024 * 1024, kGiga = 1024 * 1024 * 1024;

QLabel* AddLabel(QWidget* page, const QString& text, const QRect& at, const char* name = nullptr) {
  auto* label = new QLabel(text, page);
  label->setGeometry(at);
  if (name) label->setObjectName(name);
  label->setTextInteractionFlags(Qt::TextSelectableByMouse);
  return label;
}

}  // namespace

QString FileSizeText(std::uint64_t size, const QLocale& locale) {
  if ((size & 0xFFFFFFFFu) == 0) return {};
  QString leading;
  const auto part = [&](std::uint64_t unit, const char* name) {
    leading = locale.toString(static_cast<double>(size) / static_cast<double>(unit), 'f', 2) + ' ' + Texts::tr(name);
  };
  if (size > kGiga) {
    part(kGiga, QT_TRANSLATE_NOOP("lumivox::CSheetFileProp", "GB"));
  } else if (size > kMega) {
    part(kMega, QT_TRANSLATE_NOOP("lumivox::CSheetFileProp", "MB"));
  } else if (size > kKilo) {
    part(kKilo, QT_TRANSLATE_NOOP("lumivox::CSheetFileProp", "KB"));
  }
  return leading + " (" + locale.toString(static_cast<qulonglong>(size)) + ' ' + Texts::tr("bytes") + ')';
}

QString ModifiedText(const QDateTime& modified, const QLocale& locale) {
  const QDateTime local = modified.toLocalTime();
  // The long time format, which has the seconds, without its time-zone name.
  QString timeFormat = locale.timeFormat(QLocale::LongFormat);
  timeFormat.remove('t');
  return locale.toString(local.date(), QLocale::ShortFormat) + ' ' +
         locale.toString(local.time(), timeFormat.trimmed());
}

CSheetFileProp::CSheetFileProp(const QString& caption, PlaylistIcons& icons, QWidget* parent)
    : QDialog(parent), icons_(icons) {
  setWindowTitle(caption);
}

void CSheetFileProp::ShowEntry(const PlaylistEntry* entry) {
  if (!entry) return;
  auto* tabs = new QTabWidget(this);
  auto* page = new QWidget;
  const QFontMetrics metrics(font());
  page->setMinimumSize(DialogRect(metrics, 0, 0, 203, 169).size());
  tabs->addTab(page, Texts::tr("File information"));
  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
  connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(tabs);
  layout->addWidget(buttons);

  const QString path = QString::fromUtf8(entry->path().data(), static_cast<qsizetype>(entry->path().size()));
  auto* icon = AddLabel(page, {}, DialogRect(metrics, 15, 10, 20, 20), "1016");
  icon->setPixmap(icons_.Icon(icons_.IndexFor(entry->path())).pixmap(32, 32));
  icon->resize(icon->size().expandedTo(QSize(32, 32)));
  const QString title = QString::fromUtf8(entry->title().data(), static_cast<qsizetype>(entry->title().size()));
  AddLabel(page, title, DialogRect(metrics, 45, 15, 145, 8), "1007");
  const struct {
    const char* label;
    const char* name;
    int y, width;
  } rows[] = {{QT_TRANSLATE_NOOP("lumivox::CSheetFileProp", "Location: "), "1008", 45, 125},
              {QT_TRANSLATE_NOOP("lumivox::CSheetFileProp", "Size: "), "1009", 60, 125},
              {QT_TRANSLATE_NOOP("lumivox::CSheetFileProp", "Modified: "), "1010", 75, 125},
              {QT_TRANSLATE_NOOP("lumivox::CSheetFileProp", "Duration: "), "1011", 90, 125},
              {QT_TRANSLATE_NOOP("lumivox::CSheetFileProp", "Video Size: "), "1013", 105, 110}};
  QLabel* values[5] = {};
  for (int i = 0; i < 5; ++i) {
    AddLabel(page, Texts::tr(rows[i].label), DialogRect(metrics, 10, rows[i].y, 55, 8));
    values[i] = AddLabel(page, {}, DialogRect(metrics, 65, rows[i].y, rows[i].width, 8), rows[i].name);
  }
  values[0]->setText(path);
  // A stream's URL is no file name, whatever the working folder holds.
  const QFileInfo file(path);
  if (!IsStreamName(entry->path()) && file.isFile() && file.isReadable()) {
    values[1]->setText(FileSizeText(static_cast<std::uint64_t>(file.size()), QLocale()));
    const QDateTime modified = file.lastModified();
    if (modified.isValid() && modified.toSecsSinceEpoch() != 0) values[2]->setText(ModifiedText(modified, QLocale()));
  }
  if (entry->durationKnown())
    values[3]->setText(QString::fromStdString(FormatSeconds(entry->duration / kUnitsPerSecond)));
  if (entry->videoWidth != -1 && entry->videoHeight != -1) {
    values[4]->setText(QStringLiteral("%1 x %2").arg(entry->videoWidth).arg(entry->videoHeight));
  }
  auto* cannotPlay =
      AddLabel(page, Texts::tr("This file cannot be played."), DialogRect(metrics, 10, 125, 180, 25), "1036");
  cannotPlay->setWordWrap(true);
  cannotPlay->setVisible(entry->cannotPlay);
  exec();
}

}  // namespace lumivox
