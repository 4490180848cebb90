#include <gtest/gtest.h>

#include <climits>
#include <cstdlib>
#include <filesystem>
#include <optional>
#include <string>

#include "TempDir.h"
#include "app/QSettingsStore.h"
#include "app/SettingsStore.h"

namespace lumivox {
namespace {

TEST(ParseProfileInt, WholeNumbersWrapLikeADword) {
  struct Case {
    const char* text;
    std::optional<std::int32_t> value;
  };
  const Case cases[] = {
      {"0", 0},
      {"5", 5},
      {"-1", -1},
      {"+7", 7},
      {" 42 ", 42},
      {"\t3", 3},
      {"007", 7},
      {"2147483647", INT_MAX},
      {"2147483648", INT_MIN},
      {"4294967295", -1},
      {"4294967296", 0},
      {"-2147483648", INT_MIN},
      {"-2147483649", INT_MAX},
      {"-4294967295", 1},
      {"18446744073709551617", 1},
      {"99999999999999999999", 1661992959},
      {"", std::nullopt},
      {"  ", std::nullopt},
      {"-", std::nullopt},
      {"+-1", std::nullopt},
      {"--1", std::nullopt},
      {"1.5", std::nullopt},
      {"0x10", std::nullopt},
      {"12abc", std::nullopt},
      {"abc", std::nullopt},
      {"1 2", std::nullopt},
      {"\xEF\xBC\x91", std::nullopt},  // a full-width digit
  };
  for (const Case& c : cases) EXPECT_EQ(ParseProfileInt(c.text), c.value) << '"' << c.text << '"';
}

TEST(QSettingsStore, WrittenValuesSurviveAFreshStoreOnTheSameFile) {
  const test::TempDir dir;
  const std::string file = dir / "lumivox.conf";
  const int numbers[] = {0, 1, -1, INT_MIN, INT_MAX, 0x00FF00};
  // Texts that the INI syntax would otherwise read as lists, variants or comments.
  const std::string texts[] = {"",           "/home/ünï/Müsik", "a, b",       "@Variant(x)",
                               "semi;colon", "quote\"d",        " padded ",   "back\\slash",
                               "line\nbreak"};
  {
    QSettingsStore store(file);
    for (std::size_t i = 0; i < std::size(numbers); ++i) {
      store.WriteProfileInt("View", "N" + std::to_string(i), numbers[i]);
    }
    for (std::size_t i = 0; i < std::size(texts); ++i) {
      store.WriteProfileString("Settings", "T" + std::to_string(i), texts[i]);
    }
    store.Flush();
  }
  QSettingsStore reread(file);
  for (std::size_t i = 0; i < std::size(numbers); ++i) {
    EXPECT_EQ(reread.GetProfileInt("View", "N" + std::to_string(i), 12345), numbers[i]);
  }
  for (std::size_t i = 0; i < std::size(texts); ++i) {
    EXPECT_EQ(reread.GetProfileString("Settings", "T" + std::to_string(i), "none"), texts[i]);
  }
  EXPECT_EQ(reread.GetProfileInt("Settings", "T0", 77), 77);  // "" is no number
  EXPECT_EQ(reread.GetProfileInt("Play", "N0", 77), 77);      // sections are separate
}

TEST(QSettingsStore, HandEditedValuesReadAsNumbersOrDefaults) {
  const test::TempDir dir;
  const std::string file = dir.Write("edited.conf",
                                     "[View]\n"
                                     "Big=4294967295\n"
                                     "Huge=99999999999999999999\n"
                                     "Negative=-5\n"
                                     "Spaced =  12  \n"
                                     "Word=abc\n"
                                     "Empty=\n"
                                     "List=1, 2\n"
                                     "Point=@Point(1 2)\n"
                                     "Fraction=2.5\n"
                                     "[Settings]\n"
                                     "LastDir=/music/a, b\n"
                                     "Quoted=\"/music/a, b\"\n"
                                     "Garbage\x01\xff=\x80\n");
  QSettingsStore store(file);
  struct Case {
    const char* name;
    int value;
  };
  const Case numbers[] = {{"Big", -1},   {"Huge", 1661992959}, {"Negative", -5},
                          {"Spaced", 12}, {"Word", 99},        {"Empty", 99},
                          {"List", 99},  {"Point", 99},        {"Fraction", 99},
                          {"Missing", 99}};
  for (const Case& c : numbers) EXPECT_EQ(store.GetProfileInt("View", c.name, 99), c.value) << c.name;
  EXPECT_EQ(store.GetProfileString("Settings", "LastDir", "dflt"), "dflt");  // read as a list
  EXPECT_EQ(store.GetProfileString("Settings", "Quoted", "dflt"), "/music/a, b");
  EXPECT_EQ(store.GetProfileString("View", "Point", "dflt"), "dflt");
  EXPECT_EQ(store.GetProfileString("View", "Negative", "dflt"), "-5");
  EXPECT_EQ(store.GetProfileString("Nowhere", "LastDir", "dflt"), "dflt");
}

TEST(QSettingsStore, UnwritableFileFailsSilentlyAndKeepsValuesInMemory) {
  const test::TempDir dir;
  const std::string occupied = dir / "taken";
  std::filesystem::create_directory(occupied);  // a folder where the file should go
  QSettingsStore store(occupied);
  store.WriteProfileInt("Settings", "TrayIcon", 1);
  store.Flush();
  EXPECT_TRUE(std::filesystem::is_directory(occupied));
  EXPECT_EQ(store.GetProfileInt("Settings", "TrayIcon", 0), 1);
}

TEST(QSettingsStore, UserStoreIsHalcyonLumivoxInTheConfigFolder) {
  const test::TempDir dir;
  const char* saved = std::getenv("XDG_CONFIG_HOME");
  const std::string previous = saved ? saved : "";
  setenv("XDG_CONFIG_HOME", dir.path().c_str(), 1);
  {
    QSettingsStore store;
    EXPECT_EQ(store.FileName(), dir / "Halcyon/lumivox.conf");
    store.WriteProfileInt("Play", "SkipInterval", 9);
    store.Flush();
  }
  saved ? setenv("XDG_CONFIG_HOME", previous.c_str(), 1) : unsetenv("XDG_CONFIG_HOME");
  const std::string text = test::TempDir::Read(dir / "Halcyon/lumivox.conf");
  EXPECT_NE(text.find("[Play]"), std::string::npos) << text;
  EXPECT_NE(text.find("SkipInterval=9"), std::string::npos) << text;
}

}  // namespace
}  // namespace lumivox
