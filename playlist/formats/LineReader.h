#pragma once
// Splits a list file into lines, the way every reader sees them.

#include <cstddef>
#include <memory>
#include <string_view>

#include "playlist/formats/ByteSource.h"

namespace lumivox {

// The longest line text (line end not counted) a reader looks at: PATH_MAX. A longer line
// is skipped whole, and only this much of it is ever held in memory.
inline constexpr std::size_t kMaxLineBytes = 4096;

// Lines end in LF or CR LF; a last line without a line end still counts, and a UTF-8
// byte-order mark at the start of the file is dropped. A NUL byte ends the text of its
// line, as the C string functions see it.
class LineReader {
 public:
  explicit LineReader(ByteSource& source);

  // The next line without its line end; the view lives until the next call. False at the
  // end of the input or after a read error.
  bool Next(std::string_view& line);

  // True when the input could not be read to its end.
  bool failed() const { return failed_; }

 private:
  void Fill();
  void DropByteOrderMark();
  std::string_view Text(std::size_t begin, std::size_t length) const;

  ByteSource& source_;
  std::unique_ptr<char[]> buffer_;
  std::size_t begin_ = 0;  // unread bytes are [begin_, end_)
  std::size_t end_ = 0;
  std::size_t searched_ = 0;  // pending bytes known to hold no line end
  bool atEnd_ = false;
  bool failed_ = false;
  bool markChecked_ = false;
  bool skipping_ = false;  // inside a line longer than kMaxLineBytes
};

// Line preparation of the M3U and LST readers: trailing ' ' characters go (not tabs),
// leading ones stay.
std::string_view PrepareListLine(std::string_view line);

}  // namespace lumivox
