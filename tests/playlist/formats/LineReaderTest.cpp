#include "playlist/formats/ProfileFile.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <utility>
#include <vector>

namespace lumivox {
namespace {

using Lines = std::vector<std::string>;

// Hands out at most `piece` bytes per read; at the end of the input, fails if asked to.
struct TrickleSource final : ByteSource {
  TrickleSource(std::string_view bytes, std::size_t size, bool failAtEnd = false)
      : rest(bytes), piece(size), fail(failAtEnd) {}
  std::ptrdiff_t Read(char* buffer, std::size_t size) override {
    if (rest.empty() && fail) return -1;
    const std::size_t count = std::min({size, piece, rest.size()});
    std::copy_n(rest.data(), count, buffer);
    rest.remove_prefix(count);
    return static_cast<std::ptrdiff_t>(count);
  }
  std::string_view rest;
  std::size_t piece;
  bool fail;
};

Lines ReadAll(LineReader& reader) {
  Lines lines;
  for (std::string_view line; reader.Next(line);) lines.emplace_back(line);
  return lines;
}

// The same lines for any read size, also where a read splits a CR LF or the mark.
TEST(LineReader, GivesTheSameLinesForAnyReadSize) {
  const std::string bom = "\xEF\xBB\xBF", longest(kMaxLineBytes, 'a');
  const std::string tooLong(kMaxLineBytes + 1, 'b'), huge(1 << 20, 'c');
  const std::pair<std::string, Lines> cases[] = {
      {"", {}},
      {"a\r\n\r\n\nb\nlast", {"a", "", "", "b", "last"}},
      {"a\rb\nc\r\r\nd\r", {"a\rb", "c\r", "d\r"}},  // only a CR before the LF goes
      {bom, {}},
      {bom + bom + "a\r\n" + bom, {bom + "a", bom}},  // only the first mark goes
      {"\xEF\xBB"
       "a",
       {"\xEF\xBB"
        "a"}},
      {std::string("ab\0cd\n\0x\nef", 11), {"ab", "", "ef"}},  // NUL ends the text
      {longest + "\r\nz\n" + longest, {longest, "z", longest}},
      // Too long, also when a NUL would cut it or when its last byte is a CR without LF.
      {"y\n" + tooLong + "\n" + '\0' + longest + "\n" + tooLong + "\r\nz\n" + longest + "\r", {"y", "z"}},
      // Skipped across many buffer fills, holding no more than the limit.
      {"before\n" + huge + "\n" + huge + "\r\nafter\n" + huge, {"before", "after"}},
  };
  for (const auto& [input, expected] : cases) {
    for (const std::size_t piece : {std::size_t{1}, std::size_t{2}, input.size() + 1}) {
      TrickleSource source(input, piece);
      LineReader reader(source);
      EXPECT_EQ(ReadAll(reader), expected) << ::testing::PrintToString(input.substr(0, 20)) << ", reads of " << piece;
      std::string_view line;
      EXPECT_FALSE(reader.Next(line)) << "the end must stay the end";
    }
  }
}

TEST(LineReader, StopsAtAReadError) {
  TrickleSource source("a\nb\npartial", 3, /*fail=*/true);
  LineReader reader(source);
  EXPECT_EQ(ReadAll(reader), (Lines{"a", "b"}));
  EXPECT_TRUE(reader.failed());
}

TEST(ProfileFile, ReadsTheFirstMatchingSectionByProfileRules) {
  MemorySource source(
      "File1=outside any section\n[other]\nFile1=other\n[playlists]\nFile1=longer name\n"
      "  [ PlayList ] trailing text\n  fIlE1  =  spaced value \t\nFile2=\"quoted\"\n"
      "File3='single'\nFile4=\"unbalanced\nFile5=\"inner\" \"quotes\"\nFile6=\"\nFile7=\"\"\n"
      "File8=a=b\nFile9=\"mixed'\nno equals sign\n=no key\n[incomplete\nEmpty=\n"
      "[playlist]\nFile10=second section of that name\n");
  LineReader lines(source);
  ProfileSectionReader section(lines, "playlist");
  std::vector<std::pair<std::string, std::string>> keys;
  for (std::string_view key, value; section.Next(key, value);) keys.emplace_back(key, value);
  const decltype(keys) expected = {
      {"fIlE1", "spaced value"},     {"File2", "quoted"}, {"File3", "single"}, {"File4", "\"unbalanced"},
      {"File5", "inner\" \"quotes"}, {"File6", "\""},     {"File7", ""},       {"File8", "a=b"},
      {"File9", "\"mixed'"},         {"Empty", ""}};
  EXPECT_EQ(keys, expected);
}

TEST(ProfileFile, ReadsIntegersLikeGetPrivateProfileInt) {
  const std::pair<std::string_view, std::int32_t> cases[] = {{"2", 2},
                                                             {"+7", 7},
                                                             {"-3", -3},
                                                             {"12abc", 12},
                                                             {"abc", 0},
                                                             {"-", 0},
                                                             {" 42", 42},
                                                             {"- 4", 0},
                                                             {"2147483647", 2147483647},
                                                             {"2147483648", -2147483647 - 1},
                                                             {"4294967295", -1},
                                                             {"4294967296", 0},
                                                             {"99999999999", 1215752191},
                                                             {"0x10", 0},
                                                             {"2.9", 2},
                                                             {"", -9}};
  for (const auto& [value, number] : cases) EXPECT_EQ(ProfileInt(value, -9), number) << value;
}

}  // namespace
}  // namespace lumivox
