#include "playlist/formats/LineReader.h"

#include <cstring>
#include <utility>

namespace lumivox {
namespace {

// Large reads keep a million-line list to a few hundred system calls.
constexpr std::size_t kBufferBytes = 64 * 1024;
static_assert(kBufferBytes / 2 > kMaxLineBytes + 1);

constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";

}  // namespace

LineReader::LineReader(ByteSource& source)
    : source_(source), buffer_(std::make_unique_for_overwrite<char[]>(kBufferBytes)) {}

void LineReader::Fill() {
  // Unread bytes move to the front only when the room behind them runs short, so small
  // reads do not shift the same bytes again and again.
  if (begin_ > 0 && kBufferBytes - end_ < kBufferBytes / 2) {
    std::memmove(buffer_.get(), buffer_.get() + begin_, end_ - begin_);
    end_ -= begin_;
    begin_ = 0;
  }
  const std::ptrdiff_t count = source_.Read(buffer_.get() + end_, kBufferBytes - end_);
  if (count < 0) {
    failed_ = atEnd_ = true;
    return;
  }
  if (count == 0) atEnd_ = true;
  end_ += static_cast<std::size_t>(count);
}

void LineReader::DropByteOrderMark() {
  markChecked_ = true;
  while (end_ - begin_ < kByteOrderMark.size() && !atEnd_) Fill();
  const std::string_view start(buffer_.get() + begin_, end_ - begin_);
  if (start.starts_with(kByteOrderMark)) begin_ += kByteOrderMark.size();
}

std::string_view LineReader::Text(std::size_t begin, std::size_t length) const {
  const char* text = buffer_.get() + begin;
  const void* nul = std::memchr(text, '\0', length);
  if (nul) length = static_cast<std::size_t>(static_cast<const char*>(nul) - text);
  return {text, length};
}

bool LineReader::Next(std::string_view& line) {
  if (!markChecked_) DropByteOrderMark();
  for (;;) {
    if (failed_) return false;
    const std::size_t pending = end_ - begin_;
    const char* start = buffer_.get() + begin_;
    if (const void* lf = std::memchr(start + searched_, '\n', pending - searched_)) {
      const std::size_t lineBegin = begin_;
      std::size_t length = static_cast<std::size_t>(static_cast<const char*>(lf) - start);
      begin_ += length + 1;
      searched_ = 0;
      if (length > 0 && start[length - 1] == '\r') --length;
      if (std::exchange(skipping_, false) || length > kMaxLineBytes) continue;
      line = Text(lineBegin, length);
      return true;
    }
    // No line end among the pending bytes. A line already too long is dropped as it comes
    // in; one byte more than the limit may still be the CR of a CR LF.
    searched_ = pending;
    if (skipping_ || pending > kMaxLineBytes + 1) {
      skipping_ = true;
      begin_ = end_ = searched_ = 0;
    }
    if (atEnd_) {
      if (skipping_ || pending == 0 || pending > kMaxLineBytes) return false;
      begin_ = end_;
      searched_ = 0;
      line = Text(end_ - pending, pending);
      return true;
    }
    Fill();
  }
}

std::string_view PrepareListLine(std::string_view line) {
  const auto last = line.find_last_not_of(' ');
  return line.substr(0, last == std::string_view::npos ? 0 : last + 1);
}

}  // namespace lumivox
