#include "playlist/formats/LineReader.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <ostream>
#include <string>
#include <vector>

namespace lumivox {
namespace {

using ::testing::ElementsAre;
using Lines = std::vector<std::string>;

// Delivers the input a few bytes per read, then optionally fails.
class TrickleSource final : public ByteSource {
 public:
  TrickleSource(std::string_view bytes, std::size_t piece, bool failAtEnd = false)
      : rest_(bytes), piece_(piece), failAtEnd_(failAtEnd) {}
  std::ptrdiff_t Read(char* buffer, std::size_t size) override {
    if (rest_.empty() && failAtEnd_) return -1;
    const std::size_t count = std::min({size, piece_, rest_.size()});
    std::copy_n(rest_.data(), count, buffer);
    rest_.remove_prefix(count);
    return static_cast<std::ptrdiff_t>(count);
  }

 private:
  std::string_view rest_;
  std::size_t piece_;
  bool failAtEnd_;
};

Lines ReadAll(ByteSource& source) {
  LineReader reader(source);
  Lines lines;
  std::string_view line;
  while (reader.Next(line)) lines.emplace_back(line);
  EXPECT_FALSE(reader.Next(line)) << "the end must stay the end";
  return lines;
}

struct SplitCase {
  const char* what;
  std::string input;
  Lines expected;
};

void PrintTo(const SplitCase& c, std::ostream* out) { *out << c.what; }

class LineSplitting : public ::testing::TestWithParam<SplitCase> {};

// Every case must come out the same whether the input arrives whole or byte by byte, so
// line ends, CR LF pairs and the byte-order mark split across reads are covered too.
TEST_P(LineSplitting, GivesTheSameLinesForAnyReadSize) {
  const SplitCase& c = GetParam();
  for (const std::size_t piece : {std::size_t{1}, std::size_t{2}, c.input.size() + 1}) {
    TrickleSource source(c.input, piece);
    EXPECT_EQ(ReadAll(source), c.expected) << c.what << ", reads of " << piece;
  }
}

const std::string kLongest(kMaxLineBytes, 'a');
const std::string kTooLong(kMaxLineBytes + 1, 'b');
const std::string kHuge(1 << 20, 'c');

INSTANTIATE_TEST_SUITE_P(
    Cases, LineSplitting,
    ::testing::Values(
        SplitCase{"empty input", "", {}},
        SplitCase{"LF", "a\nb\n", {"a", "b"}},
        SplitCase{"CR LF", "a\r\nb\r\n", {"a", "b"}},
        SplitCase{"mixed ends", "a\r\nb\nc", {"a", "b", "c"}},
        SplitCase{"last line without end", "a\nlast", {"a", "last"}},
        SplitCase{"empty lines", "\n\r\n\n", {"", "", ""}},
        SplitCase{"lone CR stays text", "a\rb\nc\r", {"a\rb", "c\r"}},
        SplitCase{"CR CR LF loses one CR", "a\r\r\n", {"a\r"}},
        SplitCase{"byte-order mark", "\xEF\xBB\xBF" "a\r\nb", {"a", "b"}},
        SplitCase{"only a byte-order mark", "\xEF\xBB\xBF", {}},
        SplitCase{"second mark is text", "\xEF\xBB\xBF\xEF\xBB\xBF" "a", {"\xEF\xBB\xBF" "a"}},
        SplitCase{"mark only at the start", "a\n\xEF\xBB\xBF" "b", {"a", "\xEF\xBB\xBF" "b"}},
        SplitCase{"partial mark is text", "\xEF\xBB" "a", {"\xEF\xBB" "a"}},
        SplitCase{"NUL ends the text", std::string("ab\0cd\nef", 8), {"ab", "ef"}},
        SplitCase{"NUL first", std::string("\0x\n", 3), {""}},
        SplitCase{"longest line kept", kLongest + "\r\nz", {kLongest, "z"}},
        SplitCase{"longest last line kept", "z\n" + kLongest, {"z", kLongest}},
        SplitCase{"one byte over is skipped", "y\n" + kTooLong + "\nz", {"y", "z"}},
        SplitCase{"over with CR LF is skipped", kTooLong + "\r\nz", {"z"}},
        SplitCase{"too long last line skipped", "y\n" + kTooLong, {"y"}},
        SplitCase{"too long with a CR at the end", "y\n" + kLongest + "\r", {"y"}},
        SplitCase{"length counts before the NUL cut", std::string(1, '\0') + kLongest + "\nz",
                  {"z"}}));

// A megabyte-long line arrives in large reads; it must be dropped as a whole, including
// when it spans many buffer fills, and lines around it must survive.
TEST(LineReader, SkipsHugeLinesWhole) {
  const std::string input = "before\n" + kHuge + "\n" + kHuge + "\r\nafter\n" + kHuge;
  MemorySource source(input);
  EXPECT_THAT(ReadAll(source), ElementsAre("before", "after"));
}

TEST(LineReader, StopsAndReportsAReadError) {
  TrickleSource source("a\nb\npartial", 3, /*failAtEnd=*/true);
  LineReader reader(source);
  Lines lines;
  for (std::string_view line; reader.Next(line);) lines.emplace_back(line);
  EXPECT_THAT(lines, ElementsAre("a", "b"));
  EXPECT_TRUE(reader.failed());
}

}  // namespace
}  // namespace lumivox
