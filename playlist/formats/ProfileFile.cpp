#include "playlist/formats/ProfileFile.h"

#include <algorithm>

#include "playlist/PathText.h"

namespace lumivox {
namespace {

constexpr std::string_view kBlank = " \t\v\f\r";

std::string_view Trim(std::string_view text) {
  const auto first = text.find_first_not_of(kBlank);
  if (first == std::string_view::npos) return {};
  return text.substr(first, text.find_last_not_of(kBlank) - first + 1);
}

// "[name]" gives name; false for a line that is no section header.
bool SectionName(std::string_view line, std::string_view& name) {
  if (!line.starts_with('[')) return false;
  const auto close = line.rfind(']');
  if (close == std::string_view::npos) return false;
  name = Trim(line.substr(1, close - 1));
  return true;
}

std::string_view Unquoted(std::string_view value) {
  if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') && value.back() == value.front()) {
    return value.substr(1, value.size() - 2);
  }
  return value;
}

}  // namespace

ProfileSectionReader::ProfileSectionReader(LineReader& lines, std::string_view section)
    : lines_(lines), section_(section) {}

bool ProfileSectionReader::Next(std::string_view& key, std::string_view& value) {
  for (std::string_view raw; !done_ && lines_.Next(raw);) {
    const std::string_view line = Trim(raw);
    std::string_view section;
    if (SectionName(line, section)) {
      if (inside_) done_ = true;
      inside_ = EqualIgnoringCase(section, section_);
      continue;
    }
    const auto equals = line.find('=');
    if (!inside_ || equals == std::string_view::npos) continue;
    key = Trim(line.substr(0, equals));
    value = Unquoted(Trim(line.substr(equals + 1)));
    if (!key.empty()) return true;
  }
  done_ = true;
  return false;
}

std::int32_t ProfileInt(std::string_view value, std::int32_t fallback) {
  if (value.empty()) return fallback;
  std::size_t pos = std::min(value.find_first_not_of(kBlank), value.size());
  const bool negative = pos < value.size() && value[pos] == '-';
  if (negative || (pos < value.size() && value[pos] == '+')) ++pos;
  std::uint32_t number = 0;
  for (; pos < value.size() && value[pos] >= '0' && value[pos] <= '9'; ++pos) {
    number = number * 10u + static_cast<std::uint32_t>(value[pos] - '0');
  }
  return static_cast<std::int32_t>(negative ? 0u - number : number);
}

ProfileWriter::ProfileWriter(TextOutput& out, std::string_view section) : out_(out) {
  out_.Append("[");
  out_.Append(section);
  out_.Append("]\n");
}

void ProfileWriter::Add(std::string_view key, std::string_view value) {
  out_.Append(key);
  out_.Append("=");
  out_.Append(value);
  out_.Append("\n");
}

void ProfileWriter::Add(std::string_view key, std::int64_t value) {
  out_.Append(key);
  out_.Append("=");
  out_.AppendNumber(value);
  out_.Append("\n");
}

void ProfileWriter::Add(std::string_view key, std::int64_t number, std::string_view value) {
  out_.Append(key);
  out_.AppendNumber(number);
  out_.Append("=");
  out_.Append(value);
  out_.Append("\n");
}

void ProfileWriter::Add(std::string_view key, std::int64_t number, std::int64_t value) {
  out_.Append(key);
  out_.AppendNumber(number);
  out_.Append("=");
  out_.AppendNumber(value);
  out_.Append("\n");
}

}  // namespace lumivox
