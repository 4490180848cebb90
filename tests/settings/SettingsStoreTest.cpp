#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QSettings>

#include <climits>
#include <cstdlib>
#include <filesystem>
#include <optional>
#include <string>
#include <utility>

#include "ScopedEnv.h"
#include "TempDir.h"
#include "settings/QSettingsStore.h"
#include "settings/SettingsStore.h"

namespace lumivox {
namespace {

TEST(ParseProfileInt, WrapsModulo2To32AndRejectsAnythingElse) {
  const std::pair<const char*, std::optional<std::int32_t>> cases[] = {
      {"0", 0},
      {"-1", -1},
      {"+7", 7},
      {" \t042 ", 42},
      {"2147483648", INT_MIN},
      {"4294967295", -1},
      {"4294967296", 0},
      {"-2147483649", INT_MAX},
      {"99999999999999999999", 1661992959},
      {"", std::nullopt},
      {" ", std::nullopt},
      {"-", std::nullopt},
      {"+-1", std::nullopt},
      {"1.5", std::nullopt},
      {"0x10", std::nullopt},
      {"12abc", std::nullopt},
      {"1 2", std::nullopt},
      {"\xEF\xBC\x91", std::nullopt},  // a full-width digit
  };
  for (const auto& [text, n] : cases) EXPECT_EQ(ParseProfileInt(text), n) << '"' << text << '"';
}

TEST(QSettingsStore, HandEditedAndWrittenValuesReadBackOrGiveTheDefault) {
  const test::TempDir dir;
  const std::string file =
      dir.Write("lumivox.conf",
                "[View]\nBig=4294967295\nWord=abc\nList=1, 2\nPoint=@Point(1 2)\nGarbage\x01\xff=\x80\n"
                "[Settings]\nLastDir=/music/a, b\nQuoted=\"/music/a, b\"\n");
  const std::pair<const char*, int> numbers[] = {{"N0", 0}, {"N1", -1}, {"N2", INT_MIN}, {"N3", INT_MAX}};
  // Texts that the INI syntax would otherwise read as lists, variants or comments.
  const std::pair<const char*, std::string> texts[] = {
      {"T0", ""},         {"T1", "/home/ünï/Müsik"}, {"T2", "a, b"},        {"T3", "@Variant(x)"}, {"T4", "a;b #c"},
      {"T5", "quote\"d"}, {"T6", " padded "},        {"T7", "back\\slash"}, {"T8", "line\nbreak"}};
  {
    QSettingsStore store(file);
    const std::pair<const char*, int> edited[] = {
        {"Big", -1}, {"Word", 99}, {"List", 99}, {"Point", 99}, {"Missing", 99}};
    for (const auto& [key, n] : edited) EXPECT_EQ(store.GetProfileInt("View", key, 99), n) << key;
    EXPECT_EQ(store.GetProfileString("Settings", "LastDir", "-"), "-");  // a comma makes a list
    EXPECT_EQ(store.GetProfileString("Settings", "Quoted", "-"), "/music/a, b");
    EXPECT_EQ(store.GetProfileString("View", "Point", "-"), "-");
    for (const auto& [key, n] : numbers) store.WriteProfileInt("View", key, n);
    for (const auto& [key, text] : texts) store.WriteProfileString("Settings", key, text);
    EXPECT_EQ(store.GetProfileInt("View", "N1", 5), -1);  // unsaved values read from memory
    store.Flush();
  }
  QSettingsStore reread(file);
  for (const auto& [key, n] : numbers) EXPECT_EQ(reread.GetProfileInt("View", key, 5), n) << key;
  for (const auto& [key, t] : texts) EXPECT_EQ(reread.GetProfileString("Settings", key, "-"), t);
  EXPECT_EQ(reread.GetProfileInt("Settings", "T0", 77), 77);  // "" is no number
  EXPECT_EQ(reread.GetProfileInt("Play", "N0", 77), 77);      // sections are separate
}

TEST(QSettingsStore, TheUsersStoreIsHalcyonLumivoxInTheConfigFolder) {
  const test::TempDir dir;
  const test::ScopedEnv config("XDG_CONFIG_HOME", dir.path().string());
  const std::string file = dir / "Halcyon/lumivox.conf";
  {
    QSettingsStore store;  // the file name is fixed at construction
    EXPECT_EQ(store.FileName(), file);
    EXPECT_EQ(QSettings("Halcyon", "lumivox").fileName().toStdString(), file);
    store.WriteProfileInt("Play", "SkipInterval", 9);
    store.Flush();
  }
  const std::string text = test::TempDir::Read(file);
  EXPECT_NE(text.find("[Play]\nSkipInterval=9"), std::string::npos) << text;
}

// A FIFO would keep a reader waiting for a writer forever. Under the store's name there
// are no values, changes stay in memory, and nothing replaces what is there.
TEST(QSettingsStore, OnlyARegularFileIsUsed) {
  const test::TempDir dir;
  const test::ScopedEnv config("XDG_CONFIG_HOME", dir.path().string());
  const std::string file = dir / "Halcyon/lumivox.conf";
  std::filesystem::create_directory(dir / "Halcyon");
  const auto useStore = [] {
    ::alarm(5);  // ends a child stuck on the FIFO instead of hanging the test
    QSettingsStore store;
    const bool defaults = store.GetProfileInt("Play", "SkipInterval", 5) == 5;
    store.WriteProfileInt("Play", "SkipInterval", 9);
    const bool kept = store.GetProfileInt("Play", "SkipInterval", 5) == 9;
    store.Flush();
    return defaults && kept;
  };
  ASSERT_EQ(::mkfifo(file.c_str(), 0600), 0);
  EXPECT_EXIT(std::_Exit(useStore() ? 0 : 1), ::testing::ExitedWithCode(0), "");
  EXPECT_TRUE(std::filesystem::is_fifo(file));
  std::filesystem::remove(file);
  std::filesystem::create_directory(file);
  EXPECT_EXIT(std::_Exit(useStore() ? 0 : 1), ::testing::ExitedWithCode(0), "");
  EXPECT_TRUE(std::filesystem::is_empty(file));
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir / "Halcyon"), {}), 1) << "nothing beside it";
}

}  // namespace
}  // namespace lumivox
