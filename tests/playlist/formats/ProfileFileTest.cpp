#include "playlist/formats/ProfileFile.h"

#include <gtest/gtest.h>

#include <string>

namespace lumivox {
namespace {

ProfileSection Load(std::string_view text, std::string_view section = "playlist") {
  MemorySource source(text);
  LineReader lines(source);
  return ProfileSection(lines, section);
}

TEST(formats_Profile, FindsStringsTheWayTheWindowsReaderDoes) {
  const ProfileSection section = Load(
      "File1=outside\n"
      "[other]\nFile1=other\n"
      "[ PlayList ]\n"
      "  fIlE1  =  spaced value \t\n"
      "File1=later duplicate\n"
      "File2=\"quoted\"\n"
      "File3='single'\n"
      "File4=\"unbalanced\n"
      "File5=\"inner\" \"quotes\"\n"
      "File6=\"\n"
      "File7=\"\"\n"
      "File8=a=b\n"
      "no equals sign\n"
      "=no key\n"
      "File9=\"mixed'\n"
      "[playlist]\nFile10=second section is ignored\n");
  const std::pair<std::string_view, std::string_view> cases[] = {
      {"File1", "spaced value"},     {"FILE2", "quoted"},
      {"file3", "single"},           {"File4", "\"unbalanced"},
      {"File5", "inner\" \"quotes"}, {"File6", "\""},
      {"File7", ""},                 {"File8", "a=b"},
      {"File9", "\"mixed'"},         {"File10", ""},
      {"missing", ""},               {"", ""},
  };
  for (const auto& [key, value] : cases) EXPECT_EQ(section.String(key), value) << key;
}

TEST(formats_Profile, ReadsIntegersLikeGetPrivateProfileInt) {
  const ProfileSection section = Load(
      "[playlist]\n"
      "plain=2\nplus=+7\nminus=-3\ntrailing=12abc\nletters=abc\nsign=-\n"
      "spaced= 42 \nquoted=\"5\"\nmax=2147483647\nwrapsNegative=2147483648\n"
      "allOnes=4294967295\nwrapsToZero=4294967296\nhuge=99999999999\nhex=0x10\n"
      "empty=\nemptyQuotes=\"\"\nfraction=2.9\n");
  const std::pair<std::string_view, std::int32_t> cases[] = {
      {"plain", 2},         {"plus", 7},
      {"minus", -3},        {"trailing", 12},
      {"letters", 0},       {"sign", 0},
      {"spaced", 42},       {"quoted", 5},
      {"max", 2147483647},  {"wrapsNegative", -2147483647 - 1},
      {"allOnes", -1},      {"wrapsToZero", 0},
      {"huge", 1215752191}, {"hex", 0},
      {"empty", -9},        {"emptyQuotes", -9},
      {"fraction", 2},      {"missing", -9},
  };
  for (const auto& [key, value] : cases) EXPECT_EQ(section.Int(key, -9), value) << key;
}

TEST(formats_Profile, WriterPutsTheSectionFirstAndKeysInOrder) {
  ProfileWriter writer("playlist");
  writer.Add("File1", "/a b.mp3");
  writer.Add("Length1", std::int64_t{-1});
  EXPECT_EQ(writer.Take(), "[playlist]\nFile1=/a b.mp3\nLength1=-1\n");
}

}  // namespace
}  // namespace lumivox
