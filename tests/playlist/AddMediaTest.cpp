#include <glib.h>
#include <gtest/gtest.h>

#include <filesystem>
#include <memory>

#include "DocFixture.h"

namespace lumivox::test {
namespace {

using AddMedia = DocFixture;

TEST_F(AddMedia, AddFileKeepsThePathAndTakesTheTitleAfterTheLastSlash) {
  EXPECT_TRUE(doc->AddFile("/music/a b.mp3", true));
  EXPECT_TRUE(doc->AddFile("relative.wav", true));
  EXPECT_TRUE(doc->AddFile("/does/not/exist.xyz", true));  // added all the same
  ASSERT_EQ(doc->GetCount(), 3);
  EXPECT_EQ(doc->GetEntry(0)->title(), "a b.mp3");
  EXPECT_EQ(doc->GetEntry(1)->title(), "relative.wav");
  EXPECT_EQ(doc->GetEntry(1)->path(), "relative.wav");
  EXPECT_EQ(Count("AppendItem"), 3);
}

TEST_F(AddMedia, ListFilesAreExpandedOnceAndNeverBecomeEntries) {
  const std::string inner = dir.Write("inner.m3u", "/m/never.mp3\n");
  const std::string list = dir.Write("outer.M3U", "#EXTM3U\n/m/a.mp3\n" + inner + "\n/m/b.mp3\n");
  EXPECT_FALSE(doc->AddFile(list, true));
  EXPECT_EQ(Paths(), (std::vector<std::string>{"/m/a.mp3", inner, "/m/b.mp3"}));
  EXPECT_TRUE(doc->AddFile(list, false));  // without expansion a list is an ordinary name
  EXPECT_EQ(doc->GetCount(), 4);
}

// `text` in `encoding`, by the C library's iconv: not the ICU the player decodes with.
std::string Encode(const std::string& text, const char* encoding) {
  gsize size = 0;
  const std::unique_ptr<char, decltype(&g_free)> bytes(
      g_convert(text.data(), static_cast<gssize>(text.size()), encoding, "UTF-8", nullptr, &size, nullptr), &g_free);
  EXPECT_TRUE(bytes) << text << " in " << encoding;
  return bytes ? std::string(bytes.get(), size) : std::string();
}

std::string ListText(const std::string& file, const std::vector<std::string>& names) {
  std::string text = file.ends_with(".pls") ? "[playlist]\n" : "#EXTM3U\n";
  for (std::size_t i = 0; i < names.size(); ++i) {
    text += file.ends_with(".pls") ? "File" + std::to_string(i + 1) + "=" + names[i] + "\n" : names[i] + "\n";
  }
  if (file.ends_with(".pls")) text += "NumberOfEntries=" + std::to_string(names.size()) + "\nVersion=2\n";
  return text;
}

// Lists written elsewhere, relative to their folder, in the legacy encoding of their
// machine: whatever the interface's language, loaded or inserted, the names become the
// files' UTF-8 names in the list's folder.
TEST_F(AddMedia, ListsInLegacyEncodingsNameTheFilesTheirUtf8NamesAndFolderGive) {
  const std::vector<std::string> japanese = {"夏の日の午後.mp3", "雨上がりの空.mp3", "静かな夜に.wav",
                                             "遠い街の灯.mp3"};
  const std::vector<std::string> western = {"Café de Flore.mp3", "Crème brûlée.mp3", "Noël à Paris.wav"};
  const struct {
    const char* encoding;
    const char* uiLanguage;
    const std::vector<std::string>& names;
    std::string onDisk;  // its file exists under both names: the name as written wins
    std::string broken;  // a name that is no text of the encoding, or "" when none can be
  } cases[] = {
      {"CP932", "en_US", japanese, "古い曲.mp3", "\x83.mp3"},
      {"EUC-JP", "en_US", japanese, "古い曲.mp3", "\xA4.mp3"},
      {"CP1252", "ja_JP", western, "Déjà vu.mp3", ""},
  };
  const std::string music = dir / "Music";
  for (const auto& c : cases) {
    settings.SetUiLanguage(c.uiLanguage);
    std::vector<std::string> written = {"../Music/intro.mp3"}, expected = {music + "/intro.mp3"};
    for (const auto& name : c.names) {
      dir.Write("Music/" + name, "");
      written.push_back("../Music/" + Encode(name, c.encoding));
      expected.push_back(music + "/" + name);
    }
    const std::string raw = Encode(c.onDisk, c.encoding);
    dir.Write("Music/" + c.onDisk, "");
    dir.Write("Music/" + raw, "");
    written.push_back("../Music/" + raw);
    expected.push_back(music + "/" + raw);
    if (!c.broken.empty()) {
      written.push_back("../Music/" + c.broken);
      expected.push_back(music + "/" + c.broken);
    }
    for (const std::string file : {"Lists/list.m3u", "Lists/list.pls"}) {
      const std::string list = dir.Write(file, ListText(file, written));
      for (const int addExisted : {1, 0}) {
        options.addExisted = addExisted;
        doc->RemoveAll();
        doc->LoadPlaylistFile(list);
        EXPECT_EQ(Paths(), expected) << c.encoding << ' ' << file << ' ' << addExisted;
      }
      doc->RemoveAll();
      doc->AddFile("/m/last.mp3", false);
      doc->InsertPlaylistFile(0, list);
      std::vector<std::string> inserted = expected;
      inserted.push_back("/m/last.mp3");
      EXPECT_EQ(Paths(), inserted) << c.encoding << ' ' << file;
    }
  }
}

// Too short for the detector to tell: the interface's language decides.
TEST_F(AddMedia, TheInterfaceLanguageDecidesTheEncodingOfAListTooShortToTell) {
  const std::string list = dir.Write("short.m3u", Encode("テスト.mp3\n", "CP932"));
  const struct {
    const char* uiLanguage;
    const char* name;
  } cases[] = {{"ja_JP", "テスト.mp3"}, {"ja", "テスト.mp3"}, {"en_US", "ƒeƒXƒg.mp3"}, {"", "ƒeƒXƒg.mp3"}};
  for (const auto& c : cases) {
    settings.SetUiLanguage(c.uiLanguage);
    doc->RemoveAll();
    doc->LoadPlaylistFile(list);
    EXPECT_EQ(Paths(), std::vector<std::string>{dir / c.name}) << c.uiLanguage;
  }
}

TEST_F(AddMedia, DuplicateRuleIsCaseInsensitiveAndCoversEverySource) {
  options.addExisted = 0;
  const std::string folder = dir.path().string() + "/Music";
  dir.Write("Music/A.MP3", "");
  dir.Write("Music/b.wav", "");
  const std::string list = dir.Write("l.lst", "/X/Ärger.mp3\n/x/ärger.MP3\n" + folder + "/a.mp3\n");

  EXPECT_TRUE(doc->AddFile(folder + "/a.mp3", true));
  EXPECT_FALSE(doc->AddFile(folder + "/A.mp3", true));
  doc->AddFolder(folder);  // A.MP3 is there already, b.wav is new
  doc->LoadPlaylistFile(list);
  EXPECT_EQ(Paths(), (std::vector<std::string>{folder + "/a.mp3", folder + "/b.wav", "/X/Ärger.mp3"}));
  EXPECT_FALSE(doc->InsertFile(0, "/x/ÄRGER.mp3", false));
  EXPECT_TRUE(doc->IsInList("/X/ÄRGER.MP3"));
  EXPECT_FALSE(doc->IsInList("X/Ärger.mp3"));  // relative and absolute differ

  doc->RemoveItem(2);  // a removed name may come back
  EXPECT_TRUE(doc->AddFile("/x/ärger.mp3", false));
  doc->RemoveAll();
  EXPECT_TRUE(doc->AddFile(folder + "/A.MP3", false));

  options.addExisted = 1;
  EXPECT_TRUE(doc->AddFile(folder + "/a.mp3", false));
  EXPECT_EQ(doc->GetCount(), 2);
}

TEST_F(AddMedia, FolderScanTakesMediaFilesInNaturalOrderAndSkipsFolders) {
  for (const char* name : {"track10.mp3", "Track2.MP3", "track1.wav", "notes.txt", "b.avi", "list.m3u", ".hidden.mp3"})
    dir.Write(std::string("f/") + name, "");
  std::filesystem::create_directories(dir.path() / "f/sub.mp3");
  dir.Write("f/sub.mp3/inner.mp3", "");
  std::filesystem::create_symlink(dir.path() / "f/b.avi", dir.path() / "f/link.mpg");
  std::filesystem::create_directory_symlink(dir.path() / "f/sub.mp3", dir.path() / "f/dirlink.wav");
  const std::string f = (dir.path() / "f").string();
  const std::vector<std::string> expected = {f + "/.hidden.mp3", f + "/b.avi",      f + "/link.mpg",
                                             f + "/track1.wav",  f + "/Track2.MP3", f + "/track10.mp3"};
  doc->AddFolder(f + "/");
  EXPECT_EQ(Paths(), expected);

  doc->RemoveAll();
  Fill({"/first", "/last"});
  doc->InsertFolder(1, f);
  auto paths = Paths();
  EXPECT_EQ(paths.front(), "/first");
  EXPECT_EQ(paths.back(), "/last");
  EXPECT_EQ(std::vector<std::string>(paths.begin() + 1, paths.end() - 1), expected);

  doc->RemoveAll();
  doc->AddFolder(f + "/missing");
  doc->AddFolder(f + "/track1.wav");  // not a folder
  EXPECT_EQ(doc->GetCount(), 0);
}

TEST_F(AddMedia, DroppedNamesReplaceTheListAndPlay) {
  dir.Write("d/2.mp3", "");
  dir.Write("d/1.mp3", "");
  const std::string file = dir.Write("single.wav", "");
  const std::string list = dir.Write("l.pls", "[playlist]\nFile1=" + file + "\nNumberOfEntries=1\nVersion=2\n");
  Fill({"/old"});
  const std::string stream = "http://radio.test/list.pls";  // a stream, never a list to read
  doc->OnDropFiles({dir / "d", dir / "missing.mp3", file, list, stream});
  EXPECT_EQ(Paths(), (std::vector<std::string>{dir / "d/1.mp3", dir / "d/2.mp3", file, file, stream}));
  EXPECT_EQ(engine->open, dir / "d/1.mp3");
  EXPECT_EQ(engine->state, State_Running);

  doc->OnDropFiles({dir / "missing.mp3"});
  EXPECT_EQ(doc->GetCount(), 0);
  EXPECT_FALSE(engine->IsOpen());
}

}  // namespace
}  // namespace lumivox::test
