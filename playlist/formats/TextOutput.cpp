#include "playlist/formats/TextOutput.h"

#include <algorithm>
#include <charconv>
#include <cstring>

namespace lumivox {
namespace {

constexpr std::size_t kBlockBytes = 64 * 1024;

}  // namespace

TextOutput::TextOutput(ByteSink& sink) : sink_(sink), block_(std::make_unique_for_overwrite<char[]>(kBlockBytes)) {}

void TextOutput::Flush() {
  if (used_ > 0 && !failed_) failed_ = !sink_.Write({block_.get(), used_});
  used_ = 0;
}

void TextOutput::Append(std::string_view text) {
  while (!text.empty()) {
    if (used_ == kBlockBytes) Flush();
    const std::size_t count = std::min(text.size(), kBlockBytes - used_);
    std::memcpy(block_.get() + used_, text.data(), count);
    used_ += count;
    text.remove_prefix(count);
  }
}

void TextOutput::AppendNumber(std::int64_t value) {
  char text[24];
  const auto result = std::to_chars(text, text + sizeof text, value);
  Append({text, result.ptr});
}

bool TextOutput::Finish() {
  Flush();
  return !failed_;
}

}  // namespace lumivox
