#pragma once
// The "DirectShow Filters" dialog: the names of the current graph's filters in the graph's
// order, and each filter's property pages. It changes nothing in the graph itself.

#include <QDialog>
#include <QString>

class QListWidget;
class QPushButton;

namespace lumivox {

class CGraphPlayer;

class CDlgFilterList final : public QDialog {
 public:
  explicit CDlgFilterList(QWidget* parent = nullptr);

  // Runs the dialog modally over `engine`'s graph; nothing is shown for a null engine.
  void ShowFor(CGraphPlayer* engine);

  // Lists the graph's filters again, upstream to downstream, and selects the first.
  void Refresh();
  // Opens the property pages of the first filter in the graph called exactly `name`, or
  // says that there is no such filter or that it has no property pages.
  void ShowProperties(const QString& name);

 private:
  void OnSelectionChange();
  void OnProperties();

  QListWidget* list_;
  QPushButton* properties_;
  CGraphPlayer* engine_ = nullptr;  // not owned
};

}  // namespace lumivox
