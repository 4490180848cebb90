#include "playlist/PathText.h"

#include <QChar>

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <string>

namespace lumivox {
namespace {

// Lower-cased code points of a UTF-8 string; a byte that starts no valid sequence comes
// out as 0x110000 + byte, a value no real code point has, so it compares only with itself.
class LowerCodePoints {
 public:
  explicit LowerCodePoints(std::string_view text) : text_(text) {}

  bool Next(char32_t& out) {
    if (pos_ >= text_.size()) return false;
    const auto lead = static_cast<unsigned char>(text_[pos_]);
    if (lead < 0x80) {
      out = (lead >= 'A' && lead <= 'Z') ? lead + 32 : lead;
      ++pos_;
      return true;
    }
    char32_t cp = 0;
    std::size_t len = Decode(cp);
    if (len == 0) {
      out = 0x110000 + lead;
      ++pos_;
      return true;
    }
    pos_ += len;
    out = QChar::toLower(cp);
    return true;
  }

 private:
  // Length of the valid sequence at pos_ (0 when invalid), its code point in cp.
  std::size_t Decode(char32_t& cp) const {
    const auto at = [&](std::size_t i) { return static_cast<unsigned char>(text_[pos_ + i]); };
    const unsigned char lead = at(0);
    std::size_t len;
    char32_t min;
    if (lead >= 0xC2 && lead <= 0xDF) {
      len = 2, cp = lead & 0x1F, min = 0x80;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
      len = 3, cp = lead & 0x0F, min = 0x800;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
      len = 4, cp = lead & 0x07, min = 0x10000;
    } else {
      return 0;
    }
    if (pos_ + len > text_.size()) return 0;
    for (std::size_t i = 1; i < len; ++i) {
      if ((at(i) & 0xC0) != 0x80) return 0;
      cp = (cp << 6) | (at(i) & 0x3F);
    }
    if (cp < min || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) return 0;
    return len;
  }

  std::string_view text_;
  std::size_t pos_ = 0;
};

void AppendUtf8(std::string& out, char32_t cp) {
  if (cp < 0x80) {
    out += static_cast<char>(cp);
  } else if (cp < 0x800) {
    out += static_cast<char>(0xC0 | (cp >> 6));
    out += static_cast<char>(0x80 | (cp & 0x3F));
  } else if (cp < 0x10000) {
    out += static_cast<char>(0xE0 | (cp >> 12));
    out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (cp & 0x3F));
  } else {
    out += static_cast<char>(0xF0 | (cp >> 18));
    out += static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
    out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (cp & 0x3F));
  }
}

}  // namespace

std::string Utf8ToLower(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  LowerCodePoints it(text);
  for (char32_t cp; it.Next(cp);) {
    if (cp >= 0x110000)
      out += static_cast<char>(cp - 0x110000);
    else
      AppendUtf8(out, cp);
  }
  return out;
}

bool EqualIgnoringCase(std::string_view a, std::string_view b) {
  LowerCodePoints ia(a), ib(b);
  char32_t ca, cb;
  for (;;) {
    const bool more_a = ia.Next(ca);
    const bool more_b = ib.Next(cb);
    if (more_a != more_b) return false;
    if (!more_a) return true;
    if (ca != cb) return false;
  }
}

namespace {

// Hashes the folded UTF-8 text in fixed 256-byte blocks of the folded stream, so two
// spellings that fold alike hash alike however their bytes were split up on the way.
class FoldedHasher {
 public:
  void Append(const char* bytes, std::size_t count) {
    while (count > 0) {
      const std::size_t take = std::min(count, sizeof block_ - used_);
      std::memcpy(block_ + used_, bytes, take);
      used_ += take;
      bytes += take;
      count -= take;
      if (used_ == sizeof block_) Flush();
    }
  }
  std::uint64_t Finish() {
    Flush();
    return h_;
  }

 private:
  void Flush() {
    const unsigned char* p = block_;
    std::size_t n = used_;
    for (; n >= 8; p += 8, n -= 8) Mix(Load(p, 8));
    Mix(Load(p, n) ^ (std::uint64_t{used_} << 56));
    used_ = 0;
  }
  static std::uint64_t Load(const unsigned char* p, std::size_t n) {
    std::uint64_t w = 0;
    std::memcpy(&w, p, n);
    return w;
  }
  void Mix(std::uint64_t w) {
    h_ = (h_ ^ w) * 0x9E3779B97F4A7C15ull;
    h_ ^= h_ >> 29;
  }

  unsigned char block_[256];
  std::size_t used_ = 0;
  std::uint64_t h_ = 0x243F6A8885A308D3ull;
};

constexpr std::uint64_t kHighBits = 0x8080808080808080ull;

// Lower-cases eight ASCII bytes at once: adds 32 to every byte in 'A'..'Z'.
std::uint64_t LowerAscii8(std::uint64_t w) {
  const std::uint64_t ones = 0x0101010101010101ull;
  const std::uint64_t geA = (w + (0x80 - 'A') * ones) & kHighBits;
  const std::uint64_t gtZ = (w + (0x80 - 'Z' - 1) * ones) & kHighBits;
  return w | ((geA & ~gtZ) >> 2);
}

}  // namespace

std::size_t HashIgnoringCase(std::string_view text) {
  FoldedHasher hasher;
  std::size_t i = 0;
  while (i < text.size()) {
    std::uint64_t w;
    if (text.size() - i >= 8 && (std::memcpy(&w, text.data() + i, 8), (w & kHighBits) == 0)) {
      w = LowerAscii8(w);
      hasher.Append(reinterpret_cast<const char*>(&w), 8);
      i += 8;
      continue;
    }
    const auto c = static_cast<unsigned char>(text[i]);
    if (c < 0x80) {
      const char lower = static_cast<char>(c >= 'A' && c <= 'Z' ? c + 32 : c);
      hasher.Append(&lower, 1);
      ++i;
      continue;
    }
    // A run of non-ASCII bytes: whole sequences, since none of them contains ASCII.
    std::size_t end = i + 1;
    while (end < text.size() && static_cast<unsigned char>(text[end]) >= 0x80) ++end;
    const std::string folded = Utf8ToLower(text.substr(i, end - i));
    hasher.Append(folded.data(), folded.size());
    i = end;
  }
  return static_cast<std::size_t>(hasher.Finish());
}

std::string_view TitleOf(std::string_view path) {
  const auto slash = path.rfind('/');
  return slash == std::string_view::npos ? path : path.substr(slash + 1);
}

std::string JoinPath(std::string_view folder, std::string_view name) {
  std::string out(folder);
  if (out.empty() || out.back() != '/') out += '/';
  out += name;
  return out;
}

std::string FolderOf(std::string_view name) {
  const auto slash = name.rfind('/');
  if (slash == std::string_view::npos) return {};
  return std::string(name.substr(0, slash == 0 ? 1 : slash));
}

std::string ListExtensionKey(std::string_view path) {
  const auto dot = path.rfind('.');
  if (dot == std::string_view::npos) return {};
  return Utf8ToLower(path.substr(dot, 4));
}

}  // namespace lumivox
