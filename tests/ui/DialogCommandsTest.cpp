// The document's dialog commands, answered through Qt's own file dialogs and message box.

#include <gtest/gtest.h>

#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QFileDialog>
#include <QLineEdit>
#include <QMessageBox>
#include "DialogAnswer.h"
#include "playlist/DocFixture.h"
#include "res/ResourceIds.h"
#include "ui/DialogCommands.h"

namespace lumivox::test {
namespace {

// Types `name` into the file dialog with the filter at `filter` chosen, and presses OK.
void Choose(const QString& name, int filter = 0) {
  WhenDialogShows([name, filter](QWidget* widget) {
    auto* dialog = qobject_cast<QFileDialog*>(widget);
    ASSERT_NE(dialog, nullptr);
    if (!dialog->nameFilters().isEmpty()) dialog->selectNameFilter(dialog->nameFilters()[filter]);
    dialog->findChild<QLineEdit*>("fileNameEdit")->setText(name);
    static_cast<QDialog*>(dialog)->accept();
  });
}

class DialogCommandsTest : public DocFixture {
 protected:
  DialogCommandsTest() {
    options.lastDir = media.path().string();
    a = media.Write("a.wav", "x");
    b = media.Write("b.mp3", "x");
  }
  ~DialogCommandsTest() override { QDir::setCurrent(start); }
  bool Run(int id) { return RunDialogCommand(id, context); }

  TempDir media;
  std::string a, b;
  QString start = QDir::currentPath();
  DialogCommandContext context{*doc, options, nullptr};
};

TEST_F(DialogCommandsTest, OpenReplacesTheListWithTheChosenFilesAndPlays) {
  Fill({"/old.mp3"});
  WhenDialogShows([](QWidget* widget) {
    auto* dialog = qobject_cast<QFileDialog*>(widget);
    const auto* types = dialog->findChild<QComboBox*>("fileTypeCombo");
    EXPECT_EQ(types->itemText(1), "Audio Files (*.wav;*.snd;*.au;*.aif;*.aifc;*.aiff)");
    EXPECT_EQ(types->itemText(7),
              "Other Audio and Video Files (*.flac;*.ogg;*.oga;*.opus;*.m4a;*.mp4;*.m4v;*.mkv;*.mka;*.webm;*.mov)");
    EXPECT_TRUE(dialog->nameFilters().front().contains("*.asf *.flac"));
    dialog->findChild<QLineEdit*>("fileNameEdit")->setText("\"b.mp3\" \"a.wav\"");
    static_cast<QDialog*>(dialog)->accept();
  });
  ASSERT_TRUE(Run(ID_FILE_OPEN));
  EXPECT_EQ(Paths(), (std::vector<std::string>{b, a}));
  EXPECT_EQ(engine->open, b);
  EXPECT_EQ(engine->state, State_Running);
  EXPECT_EQ(options.lastDir, media.path().string());
  EXPECT_EQ(QDir::currentPath().toStdString(), media.path().string()) << "relative names resolve there";
}

TEST_F(DialogCommandsTest, ACancelledDialogLeavesTheListAsItWas) {
  // Only Find and Add File takes its last step, opening the first playable entry, when
  // cancelled.
  const struct {
    int command;
    bool opens;
  } cases[] = {
      {ID_FILE_OPEN, false}, {ID_EDIT_ADD, false}, {ID_FILE_OPEN_PLAYLIST, false}, {ID_EDIT_FIND_AND_ADD, true}};
  engine->missing = {"/gone.mp3"};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.command);
    doc->RemoveAll();
    Fill({"/gone.mp3", "/old.mp3"});
    WhenDialogShows([](QWidget* dialog) { qobject_cast<QDialog*>(dialog)->reject(); });
    ASSERT_TRUE(Run(c.command));
    EXPECT_EQ(Paths(), (std::vector<std::string>{"/gone.mp3", "/old.mp3"}));
    EXPECT_EQ(engine->open, c.opens ? "/old.mp3" : "");
    EXPECT_EQ(doc->GetCurrentIndex(), c.opens ? 1 : 0);
    EXPECT_EQ(doc->GetEntry(0)->cannotPlay, c.opens);
    EXPECT_EQ(options.lastDir, media.path().string());
    EXPECT_EQ(QDir::currentPath(), start);
  }
}

TEST_F(DialogCommandsTest, AddAppendsTheChosenFilesAndKeepsThePlayingEntry) {
  Fill({"/old.mp3"});
  doc->OpenItem(0);
  Choose("a.wav");
  ASSERT_TRUE(Run(ID_EDIT_ADD));
  EXPECT_EQ(Paths(), (std::vector<std::string>{"/old.mp3", a}));
  EXPECT_EQ(engine->open, "/old.mp3");
}

TEST_F(DialogCommandsTest, OpenPlaylistAndFindOpenTheFirstEntryWithoutPlaying) {
  const std::string list = media.Write("list.m3u", b + "\n" + a + "\n");
  Choose("list.m3u");
  ASSERT_TRUE(Run(ID_FILE_OPEN_PLAYLIST));
  EXPECT_EQ(Paths(), (std::vector<std::string>{b, a}));
  EXPECT_EQ(engine->open, b);
  EXPECT_EQ(engine->state, State_Stopped);

  doc->RemoveAll();
  Choose(QString::fromStdString(media.path().string()));
  ASSERT_TRUE(Run(ID_EDIT_FIND_AND_ADD));
  EXPECT_EQ(Paths(), (std::vector<std::string>{a, b})) << "the list file is no media file";
  EXPECT_EQ(engine->open, a);
}

TEST_F(DialogCommandsTest, SavePlaylistWritesTheFormatOfTheFinalName) {
  EXPECT_FALSE(Run(ID_FILE_SAVE_PLAYLIST)) << "nothing to save";
  Fill({"/m/a.mp3"});
  const struct {
    const char* typed;
    int filter;
    const char* written;
    const char* marker;
  } cases[] = {{"party", 1, "party.m3u", "/m/a.mp3\n"},
               {"party.pls", 0, "party.pls", "[playlist]"},
               {"mix.lst", 0, "mix.lst", "/m/a.mp3"},
               {"set.b", 2, "set.b.lst", "/m/a.mp3"}};
  for (const auto& c : cases) {
    Choose(c.typed, c.filter);
    ASSERT_TRUE(Run(ID_FILE_SAVE_PLAYLIST));
    EXPECT_NE(TempDir::Read(media / c.written).find(c.marker), std::string::npos) << c.written;
    EXPECT_EQ(SavePlaylistName(c.typed, c.filter), c.written);
  }
  EXPECT_FALSE(std::filesystem::exists(media / "party")) << "no file without the extension";
}

TEST_F(DialogCommandsTest, UseLumivaultNeedsTheDeviceAndAlwaysTellsWhenItTakesEffect) {
  EXPECT_FALSE(Run(ID_TOOL_USE_LUMIVAULT)) << "no device";
  engine->deviceRenderer = true;
  doc->LoadPlaySettings();
  for (const int expected : {1, 0}) {
    QString shown;
    WhenDialogShows([&shown](QWidget* widget) {
      shown = qobject_cast<QMessageBox*>(widget)->text();
      qobject_cast<QDialog*>(widget)->accept();
    });
    ASSERT_TRUE(Run(ID_TOOL_USE_LUMIVAULT));
    EXPECT_EQ(options.lumivault, expected);
    EXPECT_EQ(shown, "LumivaultHD output will be activated if the file is opened next");
    EXPECT_EQ(DialogCommandState(ID_TOOL_USE_LUMIVAULT, context)->checked, expected == 1);
  }
}

}  // namespace
}  // namespace lumivox::test
