#pragma once
// The Options sheet: the Standard, Volume, Key assignment and Color pages behind OK and
// Cancel. A page is filled when its tab is first shown; OK applies, Cancel resets, only the
// pages that were shown.

#include <QDialog>

#include <memory>
#include <vector>

class QTabWidget;

namespace lumivox {

class OptionPage;
class PlayerSettings;

class CSheetOption : public QDialog {
  Q_OBJECT

 public:
  // `keyPage` goes between Volume and Color; without one the sheet has no key tab.
  CSheetOption(PlayerSettings& settings, std::unique_ptr<OptionPage> keyPage, QWidget* parent = nullptr);

  // Runs the sheet modally: QDialog::Accepted after OK, QDialog::Rejected otherwise.
  int exec() override;
  void done(int result) override;

 private:
  struct Page {
    OptionPage* page;
    bool shown = false;
  };

  void AddPage(OptionPage* page);
  void ShowPage(int index);

  QTabWidget* tabs_;
  std::vector<Page> pages_;
};

}  // namespace lumivox
