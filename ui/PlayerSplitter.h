#pragma once
// The splitter of the playlist-and-video layout, painted in the player's colours: the bar
// in the Splitter colour, a two-pixel frame in the Background colour around each pane.

#include <QSplitter>

#include "ui/ViewSite.h"

namespace lumivox {

class CPlayerSplitter final : public QSplitter {
 public:
  CPlayerSplitter(const ViewSite& site, QWidget* parent = nullptr);
  // Puts `pane` into the next column inside its frame.
  void AddPane(QWidget* pane);

 protected:
  QSplitterHandle* createHandle() override;

 private:
  const ViewSite& site_;
};

}  // namespace lumivox
