// The Options sheet driven through its own controls, over real settings and a recording
// stand-in for the sound devices these machines lack.

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QColorDialog>
#include <QDialogButtonBox>
#include <QPushButton>
#include <QTabWidget>

#include <array>
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "DialogAnswer.h"
#include "RecordingDeviceVolume.h"
#include "TempDir.h"
#include "settings/PlayerSettings.h"
#include "settings/QSettingsStore.h"
#include "ui/OptionPage.h"
#include "ui/SheetOption.h"

namespace lumivox::test {
namespace {

using Log = std::vector<std::string>;

// Stands in for the key page, which is not this sheet's own.
struct RecordingPage final : OptionPage {
  explicit RecordingPage(Log& log) : log(log) {}
  QString Caption() const override { return "Key assignment"; }
  void OnInitPage() override { log.push_back("init"); }
  void OnApply() override { log.push_back("apply"); }
  void OnReset() override { log.push_back("reset"); }
  Log& log;
};

// Makes tab `index` current and finds control `id` on its page.
QAbstractButton* On(QDialog& sheet, int index, const char* id) {
  auto* tabs = sheet.findChild<QTabWidget*>();
  tabs->setCurrentIndex(index);
  return tabs->widget(index)->findChild<QAbstractButton*>(id);
}
void Press(QDialog& sheet, QDialogButtonBox::StandardButton which) {
  sheet.findChild<QDialogButtonBox*>()->button(which)->click();
}
QRgb Shown(QDialog& sheet, const char* swatch) {
  QWidget* box = sheet.findChild<QTabWidget*>()->currentWidget()->findChild<QWidget*>(swatch);
  return box ? box->grab().toImage().pixel(box->width() / 2, box->height() / 2) : 0;
}

class SheetOptionTest : public ::testing::Test {
 protected:
  SheetOptionTest() { settings.SetDeviceVolume(&device); }

  // Runs the sheet; `answer` gets it once shown and closes it (a failed assertion cancels).
  int Run(const std::function<void(QDialog&)>& answer, std::unique_ptr<OptionPage> keyPage = nullptr) {
    CSheetOption sheet(settings, std::move(keyPage));
    WhenDialogShows([&](QWidget*) {
      answer(sheet);
      if (sheet.isVisible()) sheet.reject();
    });
    return sheet.exec();
  }

  TempDir dir;
  QSettingsStore store{dir / "lumivox.conf"};
  PlayerSettings settings{store};
  PlayerOptions& options = settings.options();
  RecordingDeviceVolume device;
};

TEST_F(SheetOptionTest, PagesAreFilledWhenFirstShownAndOnlyThoseAreAppliedOrReset) {
  const struct {
    bool showKeys, ok;
    Log log;
  } cases[] = {
      {true, true, {"init", "apply"}}, {true, false, {"init", "reset"}}, {false, true, {}}, {false, false, {}}};
  for (const auto& c : cases) {
    Log log;
    const int result = Run(
        [&](QDialog& sheet) {
          auto* tabs = sheet.findChild<QTabWidget*>();
          ASSERT_EQ(tabs->tabText(2), "Key assignment") << "the key page's tab";
          for (int index : {2, 3, 2}) tabs->setCurrentIndex(c.showKeys ? index : 1);
          Press(sheet, c.ok ? QDialogButtonBox::Ok : QDialogButtonBox::Cancel);
        },
        std::make_unique<RecordingPage>(log));
    EXPECT_EQ(result, c.ok ? QDialog::Accepted : QDialog::Rejected);
    EXPECT_EQ(log, c.log) << c.showKeys << c.ok;
  }
}

TEST_F(SheetOptionTest, CancelKeepsEveryOptionAfterDefaultShowedTheDefaultColours) {
  options.trayIcon = 1, options.loadLastList = 0, options.addExisted = 0, options.mpegSoftDecoder = 0;
  options.playerColor = {0x010203, 0x040506, 0x070809, 0x0A0B0C, 0x0D0E0F};
  options.volumeMode = static_cast<int>(VolumeMode::WaveOut), options.restoreVolume = 1;
  const PlayerOptions before = options;
  Run([](QDialog& sheet) {
    for (const char* id : {"1025", "1026", "1031", "1032"}) On(sheet, 0, id)->click();
    for (const char* id : {"1038", "1025"}) On(sheet, 1, id)->click();
    On(sheet, 2, "1024")->click();
    const QRgb defaults[] = {qRgb(0, 0, 0), qRgb(255, 255, 255), qRgb(128, 128, 128), qRgb(0, 255, 0), qRgb(255, 0, 0)};
    const char* swatches[] = {"1030", "1031", "1032", "1034", "1036"};
    for (int k = 0; k < 5; ++k) EXPECT_EQ(Shown(sheet, swatches[k]), defaults[k]) << k;
    Press(sheet, QDialogButtonBox::Cancel);
  });
  EXPECT_EQ(options, before);
  EXPECT_TRUE(device.calls.empty());
}

TEST_F(SheetOptionTest, StandardPageShowsAndStoresAddExistedInverted) {
  const struct {
    int loadLastList, addExisted, trayIcon, mpegSoftDecoder;
    bool checked[4];             // 1025, 1026, 1031, 1032
    std::array<int, 4> applied;  // after clicking each once
  } cases[] = {{1, 1, 0, 1, {true, false, false, true}, {0, 0, 1, 0}},
               {2, 0, 2, 0, {true, true, true, false}, {0, 1, 0, 1}}};
  for (const auto& c : cases) {
    options.loadLastList = c.loadLastList, options.addExisted = c.addExisted;
    options.trayIcon = c.trayIcon, options.mpegSoftDecoder = c.mpegSoftDecoder;
    Run([&](QDialog& sheet) {
      const char* ids[] = {"1025", "1026", "1031", "1032"};
      for (int i = 0; i < 4; ++i) {
        QAbstractButton* box = On(sheet, 0, ids[i]);
        ASSERT_TRUE(box) << ids[i];
        EXPECT_EQ(box->isChecked(), c.checked[i]) << ids[i];
        box->click();
      }
      Press(sheet, QDialogButtonBox::Ok);
    });
    const std::array applied{options.loadLastList, options.addExisted, options.trayIcon, options.mpegSoftDecoder};
    EXPECT_EQ(applied, c.applied);
  }
}

TEST_F(SheetOptionTest, AnUnknownVolumeModeSurvivesUntilItsPageIsShownThenBecomesDirectShow) {
  options.volumeMode = 7;
  options.restoreVolume = 1;
  Run([](QDialog& sheet) { Press(sheet, QDialogButtonBox::Ok); });
  EXPECT_EQ(options.volumeMode, 7);
  Run([](QDialog& sheet) {
    const std::pair<const char*, bool> checked[] = {{"1037", true}, {"1038", false}, {"1039", false}, {"1025", true}};
    for (const auto& [id, on] : checked) EXPECT_EQ(On(sheet, 1, id)->isChecked(), on) << id;
    Press(sheet, QDialogButtonBox::Ok);
  });
  EXPECT_EQ(options.volumeMode, VolumeMode::Graph);
  EXPECT_EQ(options.restoreVolume, 1);
  EXPECT_TRUE(device.calls.empty()) << "nothing was remembered to restore, and the pipeline is no device";
}

TEST_F(SheetOptionTest, ANewVolumeDeviceFirstGetsTheOldOneRestoredWhenThatWasAskedFor) {
  const struct {
    int restoreBefore;
    Log calls;
  } cases[] = {{1, {"write 1 70", "read 2"}}, {0, {"read 2"}}};
  for (const auto& c : cases) {
    options.volumeMode = static_cast<int>(VolumeMode::Mixer), options.restoreVolume = c.restoreBefore;
    device.volume = {{1, 70}, {2, 35}};
    settings.SaveStartVolume();
    device.calls.clear();
    Run([](QDialog& sheet) {
      On(sheet, 1, "1039")->click();
      On(sheet, 1, "1025")->click();
      Press(sheet, QDialogButtonBox::Ok);
    });
    EXPECT_EQ(device.calls, c.calls);
    EXPECT_EQ(options.volumeMode, VolumeMode::WaveOut);
    EXPECT_EQ(settings.startVolume(), 35);
    EXPECT_EQ(options.restoreVolume, 1 - c.restoreBefore) << "the box decides after the change";
  }
}

TEST_F(SheetOptionTest, AChosenColourLandsOnOkAndACancelledChoiceKeepsTheOld) {
  options.playerColor[0] = 0x00112233;
  options.playerColor[1] = 0x00336699;
  auto expected = options.playerColor;
  expected[1] = 0x00563412;
  Run([](QDialog& sheet) {
    On(sheet, 2, "1024");
    EXPECT_EQ(Shown(sheet, "1031"), qRgb(0x99, 0x66, 0x33));
    const auto answer = [](QColor initial, QColor colour, bool accept) {
      WhenDialogShows([=](QWidget* widget) {
        auto* dialog = qobject_cast<QColorDialog*>(widget);
        EXPECT_TRUE(dialog) << "a colour dialog";
        if (!dialog) return void(widget->close());
        EXPECT_EQ(dialog->currentColor(), initial);
        dialog->setCurrentColor(colour);
        accept ? dialog->accept() : dialog->reject();
      });
    };
    answer(QColor(0x99, 0x66, 0x33), QColor(0x12, 0x34, 0x56), true);
    On(sheet, 2, "1029")->click();
    answer(QColor(0x33, 0x22, 0x11), QColor(0xFE, 0xDC, 0xBA), false);
    On(sheet, 2, "1028")->click();
    EXPECT_EQ(Shown(sheet, "1031"), qRgb(0x12, 0x34, 0x56));
    EXPECT_EQ(Shown(sheet, "1030"), qRgb(0x33, 0x22, 0x11));
    Press(sheet, QDialogButtonBox::Ok);
  });
  EXPECT_EQ(options.playerColor, expected);
}

}  // namespace
}  // namespace lumivox::test
