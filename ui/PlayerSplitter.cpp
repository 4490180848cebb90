#include "ui/PlayerSplitter.h"

#include <QPainter>
#include <QVBoxLayout>

namespace lumivox {
namespace {

class SplitterBar final : public QSplitterHandle {
 public:
  SplitterBar(Qt::Orientation orientation, QSplitter* parent, const ViewSite& site)
      : QSplitterHandle(orientation, parent), site_(site) {}

 protected:
  void paintEvent(QPaintEvent*) override { QPainter(this).fillRect(rect(), PlayerQColor(site_, PlayerColor_Splitter)); }

 private:
  const ViewSite& site_;
};

class PaneFrame final : public QWidget {
 public:
  PaneFrame(QWidget* pane, const ViewSite& site) : site_(site) {
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(2, 2, 2, 2);
    layout->setSpacing(0);
    layout->addWidget(pane);
  }

 protected:
  void paintEvent(QPaintEvent*) override {
    QPainter painter(this);
    painter.setPen(PlayerQColor(site_, PlayerColor_Background));
    painter.drawRect(rect().adjusted(0, 0, -1, -1));
    painter.drawRect(rect().adjusted(1, 1, -2, -2));
  }

 private:
  const ViewSite& site_;
};

}  // namespace

CPlayerSplitter::CPlayerSplitter(const ViewSite& site, QWidget* parent)
    : QSplitter(Qt::Horizontal, parent), site_(site) {
  setChildrenCollapsible(false);
}

void CPlayerSplitter::AddPane(QWidget* pane) { addWidget(new PaneFrame(pane, site_)); }

QSplitterHandle* CPlayerSplitter::createHandle() { return new SplitterBar(orientation(), this, site_); }

}  // namespace lumivox
