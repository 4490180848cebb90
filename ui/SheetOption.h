#pragma once
// The Options sheet: the Standard, Volume, Key assignment and Color pages behind OK and
// Cancel. A page is filled when its tab is first shown; OK applies, Cancel resets, only the
// pages that were shown.

#include <QDialog>

#include <memory>
#include <vector>

class QTabWidget;

namespace lumivox {

class COptionPage;
class PlayerSettings;

class CSheetOption : public QDialog {
  Q_OBJECT

 public:
  // `keyPage` goes between Volume and Color; without one the sheet has no key tab.
  CSheetOption(PlayerSettings& settings, std::unique_ptr<COptionPage> keyPage, QWidget* parent = nullptr);

  // Runs the sheet modally: QDialog::Accepted after OK, QDialog::Rejected otherwise.
  int exec() override;
  void done(int result) override;

 private:
  struct Page {
    COptionPage* page;
    bool shown = false;
  };

  void AddPage(COptionPage* page);
  void ShowPage(int index);

  QTabWidget* tabs_;
  std::vector<Page> pages_;
};

}  // namespace lumivox
