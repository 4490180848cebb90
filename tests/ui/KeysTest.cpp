// The user's keys: Qt keys as virtual keys, translation in the player's windows, the
// capture box and the key page.

#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QDialog>
#include <QKeyEvent>
#include <QMainWindow>
#include <QPushButton>
#include <QTest>
#include <QToolBar>
#include <QTreeWidget>

#include <functional>
#include <optional>
#include <string>

#include "DialogAnswer.h"
#include "res/ResourceIds.h"
#include "ui/KeyCaptureDlg.h"
#include "ui/KeyTranslator.h"
#include "ui/LatinKeymap.h"
#include "ui/PageKeyCfg.h"
#include "ui/VirtualKeys.h"

namespace lumivox::test {
namespace {

constexpr Qt::KeyboardModifiers kNone, kCtrl = Qt::ControlModifier, kShift = Qt::ShiftModifier, kAlt = Qt::AltModifier,
                                       kPad = Qt::KeypadModifier;

TEST(KeysMapping, QtKeysGiveVirtualKeysAndTheHeldModifiersGiveFlags) {
  const std::tuple<int, Qt::KeyboardModifiers, int> cases[] = {
      {Qt::Key_P, kCtrl, 'P'},           {Qt::Key_7, kNone, '7'},        {Qt::Key_Exclam, kShift, '1'},
      {Qt::Key_ParenRight, kShift, '0'}, {Qt::Key_F4, kAlt, 0x73},       {Qt::Key_F24, kNone, 0x87},
      {Qt::Key_Left, kNone, 0x25},       {Qt::Key_Down, kCtrl, 0x28},    {Qt::Key_Return, kAlt, 0x0D},
      {Qt::Key_Enter, kPad, 0x0D},       {Qt::Key_Home, kNone, 0x24},    {Qt::Key_End, kPad, 0x23},
      {Qt::Key_PageDown, kNone, 0x22},   {Qt::Key_Escape, kNone, 0x1B},  {Qt::Key_Backtab, kShift, 0x09},
      {Qt::Key_0, kPad, 0x60},           {Qt::Key_9, kPad, 0x69},        {Qt::Key_Asterisk, kPad, 0x6A},
      {Qt::Key_Asterisk, kShift, '8'},   {Qt::Key_Plus, kPad, 0x6B},     {Qt::Key_Plus, kShift, 0xBB},
      {Qt::Key_Minus, kPad, 0x6D},       {Qt::Key_Minus, kNone, 0xBD},   {Qt::Key_Period, kPad, 0x6E},
      {Qt::Key_Slash, kPad, 0x6F},       {Qt::Key_Colon, kShift, 0xBA},  {Qt::Key_QuoteLeft, kNone, 0xC0},
      {Qt::Key_BraceLeft, kShift, 0xDB}, {Qt::Key_Bar, kShift, 0xDC},    {Qt::Key_QuoteDbl, kShift, 0xDE},
      {Qt::Key_Shift, kShift, 0x10},     {Qt::Key_Alt, kAlt, 0x12},      {Qt::Key_Pause, kNone, 0x13},
      {Qt::Key_Print, kNone, 0x2C},      {Qt::Key_Super_L, kNone, 0x5B}, {Qt::Key_Menu, kNone, 0x5D},
      {Qt::Key_NumLock, kNone, 0x90},    {Qt::Key_Adiaeresis, kNone, 0}, {Qt::Key_MediaPlay, kNone, 0}};
  for (const auto& [key, modifiers, code] : cases) EXPECT_EQ(VirtualKeyCode(key, modifiers), code) << std::hex << key;
  EXPECT_EQ(AccelFlags(kCtrl | kShift | kPad), FVIRTKEY | FCONTROL | FSHIFT);
  EXPECT_EQ(AccelFlags(kAlt | Qt::MetaModifier), FVIRTKEY | FALT) << "Meta is no key table modifier";
}

class KeysTranslation : public ::testing::Test {
 protected:
  KeysTranslation() {
    keys[4] = {FVIRTKEY | FCONTROL, 'P', ID_PLAY_NEXT_TRACK};  // Next Track gets Play's Ctrl+P too
    table.emplace(keys);
    main.setCentralWidget(pane);
    main.addToolBar(Qt::BottomToolBarArea, bar);
    bar->addWidget(seekBar);
    for (QWidget* widget : {pane, seekBar, field}) widget->setFocusPolicy(Qt::StrongFocus);
    save->setShortcut(QKeySequence("Ctrl+S"));
    save->setShortcutContext(Qt::ApplicationShortcut);
    main.addAction(save);
    QObject::connect(save, &QAction::triggered, [this] { ++shortcuts; });
    main.show();
    dialog.show();
  }
  std::vector<int> Press(QWidget* target, Qt::Key key, Qt::KeyboardModifiers modifiers) {
    return Typed(target, [&] { QTest::keyClick(target, key, modifiers); });
  }
  // `key` as another layout types it on the X keycode `place`.
  std::vector<int> Press(QWidget* target, int key, Qt::KeyboardModifiers modifiers, quint32 place) {
    const quint32 state = (modifiers & kShift ? 1 : 0) | (modifiers & kCtrl ? 4 : 0) | (modifiers & kAlt ? 8 : 0);
    QKeyEvent press(QEvent::KeyPress, key, modifiers, place, 0, state);
    return Typed(target, [&] { QApplication::sendEvent(target, &press); });
  }
  // Shortcuts only fire in the active window.
  std::vector<int> Typed(QWidget* target, const std::function<void()>& type) {
    target->window()->activateWindow();
    EXPECT_TRUE(QTest::qWaitForWindowActive(target->window()));
    target->setFocus();
    sent.clear();
    type();
    QCoreApplication::processEvents();
    return sent;
  }

  KeyTable keys = DefaultKeyTable();
  std::optional<AccelTable> table;
  QMainWindow main;
  QWidget* pane = new QWidget;
  QToolBar* bar = new QToolBar;
  QWidget* seekBar = new QWidget;
  QAction* save = new QAction(&main);
  QDialog dialog{&main};
  QWidget* field = new QWidget(&dialog);
  int shortcuts = 0;
  std::vector<int> sent;
  KeyTranslator translator{[this] { return table ? &*table : nullptr; },
                           [this](QWidget* target) {
                             return target->window() == &main && target != seekBar && !seekBar->isAncestorOf(target);
                           },
                           [this](int command) { sent.push_back(command); }};
};

TEST_F(KeysTranslation, KeysInThePlayerWindowSendTheEarliestMatchingCommandAndGoNoFurther) {
  const std::tuple<QWidget*, Qt::Key, Qt::KeyboardModifiers, std::vector<int>, int> cases[] = {
      {pane, Qt::Key_P, kCtrl, {ID_TOOLBAR_PLAY}, 0},          // the earlier of two entries with Ctrl+P
      {&main, Qt::Key_Return, kAlt, {ID_VIEW_FULLSCREEN}, 0},  // the window itself
      {pane, Qt::Key_S, kCtrl, {ID_FILE_SAVE_PLAYLIST}, 0},    // taken before the window's own Ctrl+S shortcut
      {pane, Qt::Key_X, kNone, {}, 0},                         // in no entry
      {seekBar, Qt::Key_P, kCtrl, {}, 0},                      // neither the seek bar nor the window behind it
      {seekBar, Qt::Key_S, kCtrl, {}, 1},                      // so the window's shortcut does fire
      {field, Qt::Key_P, kCtrl, {}, 0}};                       // a dialog
  for (const auto& [target, key, modifiers, commands, fired] : cases) {
    const int before = shortcuts;
    EXPECT_EQ(Press(target, key, modifiers), commands) << target->metaObject()->className() << " " << key;
    EXPECT_EQ(shortcuts - before, fired) << key;
  }
  keys[1].key = 'K';  // the table the app rebuilt after the Options sheet
  table.emplace(keys);
  EXPECT_EQ(Press(pane, Qt::Key_P, kCtrl), std::vector<int>{ID_PLAY_NEXT_TRACK});
  EXPECT_EQ(Press(pane, Qt::Key_K, kCtrl), std::vector<int>{ID_TOOLBAR_PLAY});
  table.reset();
  EXPECT_TRUE(Press(pane, Qt::Key_K, kCtrl).empty());
}

TEST_F(KeysTranslation, KeysOfALayoutWithoutLatinLettersMatchTheLatinKeyInTheirPlace) {
  keys[5].key = 0xDE;  // Previous Track on Ctrl with the US apostrophe key, where German types Ä
  table.emplace(keys);
  const std::tuple<int, Qt::KeyboardModifiers, quint32, std::vector<int>> cases[] = {
      {0x0419, kCtrl, 24, {ID_APP_EXIT}},         // Russian Й on the key of Q
      {0x041C, kAlt, 55, {ID_CHANGE_VIEW_MODE}},  // М on V
      {0x042B, kShift, 39, {ID_PLAY_STOP}},       // Ы on S
      {Qt::Key_A, kCtrl, 24, {}},                 // French A on the key of Q is A
      {Qt::Key_Adiaeresis, kCtrl, 48, {}},        // a Latin letter is its layout's own
      {0x0419, kCtrl, 0, {}}};                    // with no physical key known
  for (const auto& [key, modifiers, place, commands] : cases) {
    EXPECT_EQ(Press(pane, key, modifiers, place), commands) << key;
  }
}

TEST(KeysLatin, TheFirstLatinLayoutConfiguredReadsTheKeyElseTheUsLayout) {
  const std::tuple<std::string, int, quint32, quint32, int> cases[] = {
      {"ru,de", 0x041D, 29, 0, Qt::Key_Z},  // Russian Н, where German has Z and US has Y
      {"ru", 0x041D, 29, 0, Qt::Key_Y},
      {"ru", 0x2116, 12, 1, Qt::Key_NumberSign},  // Shift+3 types № in Russian
      {"xx", 0x0419, 24, 0, Qt::Key_Q}};          // a layout xkbcommon does not know
  for (const auto& [layout, key, place, state, latin] : cases) {
    LatinKeymap keymap([layout = layout] {
      KeymapNames names;
      names.layout = layout;
      return names;
    });
    EXPECT_EQ(keymap.LatinKey(QKeyEvent(QEvent::KeyPress, key, kNone, place, 0, state)), latin) << layout;
  }
}

// Runs the capture box on `entry` and answers it; a box still open afterwards is closed
// with -1, so a key it failed to take fails the test instead of hanging it.
int Capture(KeyEntry& entry, std::function<void(QWidget*)> answer) {
  CKeyCaptureDlg box(entry);
  WhenDialogShows([answer](QWidget* shown) {
    answer(shown);
    if (shown->isVisible()) static_cast<QDialog*>(shown)->done(-1);
  });
  return box.exec();
}

TEST(KeysCapture, EveryKeyButTheIgnoredOnesIsTakenWithTheModifiersHeld) {
  const std::tuple<Qt::Key, Qt::KeyboardModifiers, KeyEntry> cases[] = {
      {Qt::Key_Escape, kNone, {FVIRTKEY, 0x1B, ID_PLAY_PLAYPAUSE}},
      {Qt::Key_Return, kNone, {FVIRTKEY, 0x0D, ID_PLAY_PLAYPAUSE}},
      {Qt::Key_F4, kAlt, {FVIRTKEY | FALT, 0x73, ID_PLAY_PLAYPAUSE}},
      {Qt::Key_Tab, kNone, {FVIRTKEY, 0x09, ID_PLAY_PLAYPAUSE}},
      {Qt::Key_Space, kNone, {FVIRTKEY, 0x20, ID_PLAY_PLAYPAUSE}},
      {Qt::Key_P, kCtrl | kShift, {13, 'P', ID_PLAY_PLAYPAUSE}}};
  for (const auto& [key, modifiers, expected] : cases) {
    KeyEntry entry{FVIRTKEY, 'Q', ID_PLAY_PLAYPAUSE};
    bool waited = false;
    EXPECT_EQ(Capture(entry,
                      [&, key = key, modifiers = modifiers](QWidget* box) {
                        QTest::keyClick(box, Qt::Key_Shift, kShift);
                        QTest::keyClick(box, Qt::Key_CapsLock);
                        waited = box->isVisible();
                        QTest::keyClick(box, key, modifiers);
                      }),
              QDialog::Accepted)
        << key;
    EXPECT_TRUE(waited) << "Shift and Caps Lock alone are passed over";
    EXPECT_EQ(entry, expected) << key;
  }
}

TEST(KeysCapture, OnlyAMouseClickOnCancelLeavesWithoutAKey) {
  const KeyEntry before{FVIRTKEY, 'Q', ID_APP_EXIT};
  KeyEntry entry = before;
  EXPECT_EQ(Capture(entry,
                    [](QWidget* box) {
                      auto* cancel = box->findChild<QPushButton*>("1021");
                      ASSERT_NE(cancel, nullptr);
                      EXPECT_EQ(cancel->focusPolicy(), Qt::NoFocus) << "no key reaches it";
                      QTest::mouseClick(cancel, Qt::LeftButton);
                    }),
            QDialog::Rejected);
  EXPECT_EQ(entry, before);
}

TEST(KeysPage, RowsChangeThroughTheCaptureBoxAndReachTheOptionsOnlyOnApply) {
  PlayerOptions options;
  options.keyTable[2] = {FVIRTKEY, 0xBA, ID_TOOLBAR_PAUSE};  // a stored key is shown as it is
  const KeyTable stored = options.keyTable;
  CPageKeyCfg page(options);
  page.show();
  page.OnInitPage();
  auto* list = page.findChild<QTreeWidget*>("1022");
  auto* assignment = page.findChild<QPushButton*>("1023");
  auto* reset = page.findChild<QPushButton*>("1024");
  auto* allDefault = page.findChild<QPushButton*>("1027");
  ASSERT_TRUE(list && assignment && reset && allDefault);
  ASSERT_EQ(list->topLevelItemCount(), kKeyCount);
  const auto row = [list](int i) {
    return (list->topLevelItem(i)->text(0) + " | " + list->topLevelItem(i)->text(1)).toStdString();
  };
  EXPECT_EQ(row(0), "Play / Pause | Ctrl+Shift+P");
  EXPECT_EQ(row(2), "Pause | 0xBA");
  EXPECT_EQ(row(18), "Fullscreen | Alt+Enter");
  EXPECT_FALSE(assignment->isEnabled() || reset->isEnabled()) << "until a row is selected";

  list->setCurrentItem(list->topLevelItem(3));
  EXPECT_TRUE(assignment->isEnabled() && reset->isEnabled());
  WhenDialogShows([](QWidget* box) { QTest::keyClick(box, Qt::Key_F5, kCtrl); });
  QTest::mouseClick(assignment, Qt::LeftButton);
  EXPECT_EQ(row(3), "Stop | Ctrl+F5");
  QTest::mouseClick(reset, Qt::LeftButton);
  EXPECT_EQ(row(3), "Stop | Shift+S");

  QTreeWidgetItem* last = list->topLevelItem(19);
  list->scrollToItem(last);
  WhenDialogShows([](QWidget* box) { QTest::keyClick(box, Qt::Key_Escape); });
  const QPoint at = list->visualItemRect(last).center();
  QTest::mouseClick(list->viewport(), Qt::LeftButton, kNone, at);  // Qt's double click event comes after a click
  QTest::mouseDClick(list->viewport(), Qt::LeftButton, kNone, at);
  EXPECT_EQ(row(19), "Quits the application and prompts to save documents | Escape");
  EXPECT_EQ(options.keyTable, stored) << "nothing reaches the options before OK";

  page.OnApply();
  KeyTable applied = stored;
  applied[19] = {FVIRTKEY, 0x1B, ID_APP_EXIT};
  EXPECT_EQ(options.keyTable, applied);
  QTest::mouseClick(allDefault, Qt::LeftButton);
  EXPECT_EQ(row(2), "Pause | Shift+P");
  EXPECT_EQ(row(19), "Quits the application and prompts to save documents | Ctrl+Q");
  EXPECT_EQ(options.keyTable, applied);
}

}  // namespace
}  // namespace lumivox::test
