#include "playlist/formats/ProfileFile.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

namespace lumivox {
namespace {

using KeyValues = std::vector<std::pair<std::string, std::string>>;

KeyValues Section(std::string_view text, std::string_view name = "playlist") {
  MemorySource source(text);
  LineReader lines(source);
  ProfileSectionReader section(lines, name);
  KeyValues keys;
  for (std::string_view key, value; section.Next(key, value);) keys.emplace_back(key, value);
  return keys;
}

TEST(ProfileFile, ReadsTheFirstMatchingSectionTheWayWindowsDoes) {
  const KeyValues keys = Section(
      "File1=outside any section\n"
      "[other]\nFile1=other section\n"
      "  [ PlayList ] trailing text\n"
      "  fIlE1  =  spaced value \t\n"
      "File2=\"quoted\"\n"
      "File3='single'\n"
      "File4=\"unbalanced\n"
      "File5=\"inner\" \"quotes\"\n"
      "File6=\"\n"
      "File7=\"\"\n"
      "File8=a=b\n"
      "File9=\"mixed'\n"
      "no equals sign\n"
      "=no key\n"
      "[incomplete\n"
      "Empty=\n"
      "[playlist]\nFile10=second section of that name\n");
  const KeyValues expected = {
      {"fIlE1", "spaced value"}, {"File2", "quoted"},      {"File3", "single"},
      {"File4", "\"unbalanced"}, {"File5", "inner\" \"quotes"}, {"File6", "\""},
      {"File7", ""},             {"File8", "a=b"},         {"File9", "\"mixed'"},
      {"Empty", ""}};
  EXPECT_EQ(keys, expected);
}

TEST(ProfileFile, MissingSectionGivesNoKeys) {
  EXPECT_TRUE(Section("[playlists]\nFile1=a\n[list]\nFile1=b\n").empty());
  EXPECT_TRUE(Section("").empty());
}

TEST(ProfileFile, ReadsIntegersLikeGetPrivateProfileInt) {
  const std::pair<std::string_view, std::int32_t> cases[] = {
      {"2", 2},           {"+7", 7},          {"-3", -3},
      {"12abc", 12},      {"abc", 0},         {"-", 0},
      {" 42", 42},        {"- 4", 0},         {"2147483647", 2147483647},
      {"2147483648", -2147483647 - 1},        {"4294967295", -1},
      {"4294967296", 0},  {"99999999999", 1215752191},
      {"0x10", 0},        {"2.9", 2},         {"", -9},
  };
  for (const auto& [value, number] : cases) EXPECT_EQ(ProfileInt(value, -9), number) << value;
}

// Output larger than the block goes out whole, in order, across many hand-overs.
TEST(TextOutput, PassesOnEveryByteInOrder) {
  StringSink sink;
  TextOutput out(sink);
  std::string expected;
  for (std::int64_t i = 0; i < 300'000; ++i) {
    const std::string piece = std::to_string(i * 7919) + (i % 3 ? "," : "\n");
    out.AppendNumber(i * 7919);
    out.Append(piece.substr(piece.size() - 1));
    expected += piece;
  }
  out.Append(std::string(3 << 20, 'x'));
  expected += std::string(3 << 20, 'x');
  ASSERT_TRUE(out.Finish());
  EXPECT_EQ(sink.text(), expected);
}

}  // namespace
}  // namespace lumivox
