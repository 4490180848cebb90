#include "ui/PageColorCfg.h"

#include <QColorDialog>
#include <QFrame>
#include <QGroupBox>
#include <QLabel>
#include <QPainter>
#include <QPushButton>

#include "ui/DialogUnits.h"

namespace lumivox {
namespace {

QColor ToQColor(ColorRef color) { return QColor(int(color & 0xFF), int(color >> 8 & 0xFF), int(color >> 16 & 0xFF)); }

ColorRef ToColorRef(const QColor& color) {
  return ColorRef(color.red()) | ColorRef(color.green()) << 8 | ColorRef(color.blue()) << 16;
}

// A bordered box filled with one colour of the page's copy, read on every paint.
class Swatch final : public QFrame {
 public:
  Swatch(const ColorRef& color, QWidget* parent) : QFrame(parent), color_(color) {
    setFrameStyle(QFrame::Box | QFrame::Plain);
  }

 protected:
  void paintEvent(QPaintEvent* event) override {
    QPainter(this).fillRect(contentsRect(), ToQColor(color_));
    QFrame::paintEvent(event);
  }

 private:
  const ColorRef& color_;
};

struct ColorRow {
  const char* label;
  int labelY, labelWidth, labelHeight;
  const char* swatchId;
  const char* buttonId;
  const char* buttonText;
};

}  // namespace

CPageColorCfg::CPageColorCfg(PlayerOptions& options, QWidget* parent) : OptionPage(parent), options_(options) {
  const QFontMetrics metrics = fontMetrics();
  setFixedSize(DialogRect(metrics, 0, 0, 210, 154).size());
  (new QGroupBox(tr("Player Color Settings"), this))->setGeometry(DialogRect(metrics, 10, 10, 190, 135));

  static const ColorRow rows[kPlayerColorCount] = {
      {QT_TR_NOOP("Background:"), 27, 68, 8, "1030", "1028", QT_TR_NOOP("Change(&B)...")},
      {QT_TR_NOOP("Text:"), 47, 68, 8, "1031", "1029", QT_TR_NOOP("Change(&T)...")},
      {QT_TR_NOOP("Splitter: "), 67, 68, 8, "1032", "1033", QT_TR_NOOP("Change(&S)...")},
      {QT_TR_NOOP("Current File:"), 88, 59, 8, "1034", "1035", QT_TR_NOOP("Change(&C)...")},
      {QT_TR_NOOP("Unsupported File:"), 108, 90, 12, "1036", "1037", QT_TR_NOOP("Change(&U)...")},
  };
  for (int k = 0; k < kPlayerColorCount; ++k) {
    const ColorRow& row = rows[k];
    const int y = 25 + 20 * k;
    auto* label = new QLabel(tr(row.label), this);
    label->setGeometry(DialogRect(metrics, 20, row.labelY, row.labelWidth, row.labelHeight));
    swatches_[k] = new Swatch(colors_[k], this);
    swatches_[k]->setObjectName(row.swatchId);
    swatches_[k]->setGeometry(DialogRect(metrics, 115, y, 20, 13));
    auto* change = new QPushButton(tr(row.buttonText), this);
    change->setObjectName(row.buttonId);
    change->setGeometry(DialogRect(metrics, 143, y, 52, 13));
    connect(change, &QPushButton::clicked, this, [this, k] { ChangeColor(k); });
  }
  auto* reset = new QPushButton(tr("&Default"), this);
  reset->setObjectName("1024");
  reset->setGeometry(DialogRect(metrics, 20, 125, 50, 14));
  connect(reset, &QPushButton::clicked, this, &CPageColorCfg::ResetToDefaults);
}

QString CPageColorCfg::Caption() const { return tr("Color"); }

void CPageColorCfg::OnInitPage() {
  colors_ = options_.playerColor;
  update();
}

void CPageColorCfg::OnApply() { options_.playerColor = colors_; }

void CPageColorCfg::ResetToDefaults() {
  for (int k = 0; k < kPlayerColorCount; ++k) GetDefaultPlayerColor(k, colors_[k]);
  update();
}

void CPageColorCfg::ChangeColor(int index) {
  // Qt's own dialog on every desktop, as with the file dialogs.
  const QColor chosen =
      QColorDialog::getColor(ToQColor(colors_[index]), this, QString(), QColorDialog::DontUseNativeDialog);
  if (!chosen.isValid()) return;  // cancelled
  colors_[index] = ToColorRef(chosen);
  swatches_[index]->update();
}

}  // namespace lumivox
