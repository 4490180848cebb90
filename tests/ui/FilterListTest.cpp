// The filter list over a real graph on generated media, and the property pages it opens on
// the live elements.

#include <gtest/gtest.h>

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QDoubleSpinBox>
#include <QLineEdit>
#include <QListWidget>
#include <QMessageBox>
#include <QPushButton>
#include <QRegularExpression>
#include <QTest>
#include <QTimer>

#include <functional>
#include <memory>

#include "DialogAnswer.h"
#include "engine/EngineFixture.h"
#include "ui/DlgFilterList.h"
#include "ui/ElementPropertyPages.h"

namespace lumivox::test {
namespace {

class FilterListTest : public EngineFixture {
 protected:
  // Shows the list over the engine, runs `inside` while it is up, then closes it.
  void WithList(const std::function<void(CDlgFilterList&, QListWidget&)>& inside) {
    bool ran = false;
    WhenDialogShows([&](QWidget* widget) {
      auto& dialog = dynamic_cast<CDlgFilterList&>(*widget);
      inside(dialog, *dialog.findChild<QListWidget*>("1014"));
      ran = true;
      dialog.findChild<QPushButton*>("1")->click();
    });
    CDlgFilterList().ShowFor(player.get());
    EXPECT_TRUE(ran);
  }
  // The text of the message box that `action` shows.
  static QString MessageOf(const std::function<void()>& action) {
    auto text = std::make_shared<QString>();
    WhenDialogShows([text](QWidget* widget) {
      if (auto* box = qobject_cast<QMessageBox*>(widget)) *text = box->text();
      qobject_cast<QDialog*>(widget)->reject();
    });
    action();
    return *text;
  }
  static QStringList Items(const QListWidget& list) {
    QStringList items;
    for (int row = 0; row < list.count(); ++row) items << list.item(row)->text();
    return items;
  }
  static double Volume(GstElement* element) {
    double volume = 0;
    g_object_get(element, "volume", &volume, nullptr);
    return volume;
  }
};

TEST_F(FilterListTest, ANullEngineShowsNothing) {
  CDlgFilterList dialog;
  bool shown = false;
  QTimer::singleShot(0, &dialog, [&] {
    shown = true;
    dialog.reject();
  });
  dialog.ShowFor(nullptr);
  EXPECT_FALSE(shown);
}

TEST_F(FilterListTest, ListsTheGraphsFiltersInItsOrderWithTheFirstSelected) {
  for (const char* media : {"tone.mp3", "clip.avi"}) {
    SCOPED_TRACE(media);
    ASSERT_TRUE(player->Open(MediaPath(media)));
    QStringList expected;
    for (const std::string& name : Filters()) expected << QString::fromStdString(name);
    WithList([&](CDlgFilterList& dialog, QListWidget& list) {
      auto* properties = dialog.findChild<QPushButton*>("1015");
      EXPECT_EQ(Items(list), expected);
      EXPECT_TRUE(list.currentRow() == 0 && list.item(0)->isSelected() && properties->isEnabled());
      list.clearSelection();
      EXPECT_FALSE(properties->isEnabled()) << "nothing selected";
      dialog.findChild<QPushButton*>("1017")->click();
      EXPECT_EQ(Items(list), expected);
      EXPECT_TRUE(list.item(0)->isSelected() && properties->isEnabled());
    });
  }
}

TEST_F(FilterListTest, PropertyPagesEditTheLiveElementOnOkOnly) {
  ASSERT_TRUE(player->Open(MediaPath("tone.mp3")));
  ASSERT_TRUE(player->Run());
  ASSERT_TRUE(player->PauseResume());
  GstElement* volume = FilterMadeBy("volume");
  ASSERT_NE(volume, nullptr);
  ASSERT_TRUE(HasPropertyPages(volume));
  const QString name = QString::fromUtf8(GST_OBJECT_NAME(volume));
  int shown = 0;
  const auto setVolume = [&](double value, QDialogButtonBox::StandardButton button) {
    WhenDialogShows([&, value, button](QWidget* pages) {
      ++shown;
      EXPECT_EQ(pages->windowTitle(), name);
      QStringList editors;
      for (const QWidget* editor : pages->findChildren<QWidget*>(QRegularExpression("^(?!qt_)[a-z]"))) {
        editors << editor->objectName();
      }
      editors.sort();
      EXPECT_EQ(editors, QStringList({"mute", "volume"})) << "only what may change while paused";
      auto* spin = pages->findChild<QDoubleSpinBox*>("volume");
      auto* mute = pages->findChild<QCheckBox*>("mute");
      if (!spin || !mute) return qobject_cast<QDialog*>(pages)->reject();
      spin->setValue(value);
      mute->setChecked(true);
      pages->findChild<QDialogButtonBox*>()->button(button)->click();
    });
  };
  WithList([&](CDlgFilterList& dialog, QListWidget& list) {
    list.setCurrentItem(list.findItems(name, Qt::MatchExactly).front());
    setVolume(0.25, QDialogButtonBox::Ok);
    dialog.findChild<QPushButton*>("1015")->click();
    EXPECT_DOUBLE_EQ(Volume(volume), 0.25);
    gboolean mute = FALSE;
    g_object_get(volume, "mute", &mute, nullptr);
    EXPECT_TRUE(mute);

    setVolume(0.75, QDialogButtonBox::Cancel);
    const QPoint at = list.visualItemRect(list.currentItem()).center();
    QTest::mouseClick(list.viewport(), Qt::LeftButton, {}, at);
    QTest::mouseDClick(list.viewport(), Qt::LeftButton, {}, at);
    QTest::mouseRelease(list.viewport(), Qt::LeftButton, {}, at);
    EXPECT_EQ(shown, 2) << "a double-click opens the same pages";
    EXPECT_DOUBLE_EQ(Volume(volume), 0.25) << "Cancel applies nothing";
  });
}

TEST_F(FilterListTest, WideNumbersAreTypedAndOkWaitsForOneThePropertyTakes) {
  ASSERT_TRUE(player->Open(MediaPath("clip.avi")));
  GstElement* queue = FilterMadeBy("multiqueue");
  ASSERT_NE(queue, nullptr);
  WithList([&](CDlgFilterList& dialog, QListWidget&) {
    WhenDialogShows([](QWidget* pages) {
      auto* buffers = pages->findChild<QLineEdit*>("max-size-buffers");  // unsigned, beyond a spin box
      QPushButton* ok = pages->findChild<QDialogButtonBox*>()->button(QDialogButtonBox::Ok);
      if (!buffers) return qobject_cast<QDialog*>(pages)->reject();
      for (const char* typed : {"ten", "-5", "", "4294967296"}) {
        buffers->setText(typed);
        EXPECT_FALSE(ok->isEnabled()) << typed;
      }
      buffers->setText("4294967295");
      ok->click();
    });
    dialog.ShowProperties(QString::fromUtf8(GST_OBJECT_NAME(queue)));
  });
  guint buffers = 0;
  g_object_get(queue, "max-size-buffers", &buffers, nullptr);
  EXPECT_EQ(buffers, G_MAXUINT);
}

TEST_F(FilterListTest, AFilterWithoutPagesOrGoneFromTheGraphIsReported) {
  ASSERT_TRUE(player->Open(MediaPath("tone.mp3")));
  WithList([&](CDlgFilterList& dialog, QListWidget& list) {
    const QString source = list.item(0)->text();
    EXPECT_EQ(source.toStdString(), MediaPath("tone.mp3"));
    EXPECT_EQ(MessageOf([&] { dialog.ShowProperties(source); }), "Properties does not exist for the specified filter");
    EXPECT_EQ(MessageOf([&] { dialog.ShowProperties("no such filter"); }), "Filter is not found");
    EXPECT_EQ(MessageOf([&] { dialog.ShowProperties(source.toUpper()); }), "Filter is not found") << "case matters";
  });
}

}  // namespace
}  // namespace lumivox::test
