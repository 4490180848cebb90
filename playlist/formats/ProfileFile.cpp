#include "playlist/formats/ProfileFile.h"

#include <algorithm>

#include "playlist/PathText.h"
#include "playlist/formats/DecimalText.h"

namespace lumivox {
namespace {

constexpr std::string_view kBlank = " \t\v\f\r";

std::string_view Trim(std::string_view text) {
  const auto first = text.find_first_not_of(kBlank);
  if (first == std::string_view::npos) return {};
  return text.substr(first, text.find_last_not_of(kBlank) - first + 1);
}

// "[name]" gives name; a line that is no section header gives nothing.
bool SectionName(std::string_view line, std::string_view& name) {
  if (!line.starts_with('[')) return false;
  const auto close = line.rfind(']');
  if (close == std::string_view::npos) return false;
  name = Trim(line.substr(1, close - 1));
  return true;
}

std::string KeyOf(std::string_view name) {
  for (const char c : name) {
    if (static_cast<unsigned char>(c) >= 0x80) return Utf8ToLower(name);
  }
  std::string key(name);
  for (char& c : key) {
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  }
  return key;
}

}  // namespace

ProfileSection::ProfileSection(LineReader& lines, std::string_view name) {
  enum class State { Before, Inside, After } state = State::Before;
  for (std::string_view raw; lines.Next(raw);) {
    const std::string_view line = Trim(raw);
    std::string_view section;
    if (SectionName(line, section)) {
      if (state == State::Inside) state = State::After;
      if (state == State::Before && EqualIgnoringCase(section, name)) state = State::Inside;
    } else if (state == State::Inside) {
      AddKey(line);
    }
  }
}

void ProfileSection::AddKey(std::string_view line) {
  const auto equals = line.find('=');
  if (equals == std::string_view::npos) return;
  const std::string_view key = Trim(line.substr(0, equals));
  if (key.empty()) return;
  values_.try_emplace(KeyOf(key), Trim(line.substr(equals + 1)));
}

std::string_view ProfileSection::String(std::string_view key) const {
  const auto found = values_.find(KeyOf(key));
  if (found == values_.end()) return {};
  std::string_view value = found->second;
  if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') &&
      value.back() == value.front()) {
    value = value.substr(1, value.size() - 2);
  }
  return value;
}

std::int32_t ProfileSection::Int(std::string_view key, std::int32_t fallback) const {
  const std::string_view text = String(key);
  if (text.empty()) return fallback;
  std::size_t pos = std::min(text.find_first_not_of(kBlank), text.size());
  const bool negative = pos < text.size() && text[pos] == '-';
  if (negative || (pos < text.size() && text[pos] == '+')) ++pos;
  std::uint32_t value = 0;
  for (; pos < text.size() && text[pos] >= '0' && text[pos] <= '9'; ++pos) {
    value = value * 10u + static_cast<std::uint32_t>(text[pos] - '0');
  }
  return static_cast<std::int32_t>(negative ? 0u - value : value);
}

ProfileWriter::ProfileWriter(std::string_view section) {
  text_ += '[';
  text_ += section;
  text_ += "]\n";
}

void ProfileWriter::Add(std::string_view key, std::string_view value) {
  text_ += key;
  text_ += '=';
  text_ += value;
  text_ += '\n';
}

void ProfileWriter::Add(std::string_view key, std::int64_t value) {
  text_ += key;
  text_ += '=';
  AppendDecimal(text_, value);
  text_ += '\n';
}

}  // namespace lumivox
