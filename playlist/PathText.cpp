#include "playlist/PathText.h"

#include <QChar>

#include <algorithm>
#include <cstdint>

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

bool IsDigit(char32_t c) { return c >= '0' && c <= '9'; }

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

std::size_t HashIgnoringCase(std::string_view text) {
  std::uint64_t h = 14695981039346656037ull;  // FNV-1a over the folded code points
  LowerCodePoints it(text);
  for (char32_t cp; it.Next(cp);) {
    h ^= cp;
    h *= 1099511628211ull;
  }
  return static_cast<std::size_t>(h ^ (h >> 29));
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

bool NaturalLess(std::string_view a, std::string_view b) {
  LowerCodePoints ia(a), ib(b);
  char32_t ca = 0, cb = 0;
  bool more_a = ia.Next(ca), more_b = ib.Next(cb);
  while (more_a && more_b) {
    if (IsDigit(ca) && IsDigit(cb)) {
      // Compare the two digit runs by value: skip leading zeros, then the longer run
      // is larger, then the first differing digit decides.
      while (more_a && ca == '0') more_a = ia.Next(ca);
      while (more_b && cb == '0') more_b = ib.Next(cb);
      int first_diff = 0;
      for (;;) {
        const bool da = more_a && IsDigit(ca), db = more_b && IsDigit(cb);
        if (!da || !db) {
          if (da != db) return db;  // a's run ended first: a is smaller
          break;
        }
        if (first_diff == 0 && ca != cb) first_diff = ca < cb ? -1 : 1;
        more_a = ia.Next(ca);
        more_b = ib.Next(cb);
      }
      if (first_diff != 0) return first_diff < 0;
      continue;
    }
    if (ca != cb) return ca < cb;
    more_a = ia.Next(ca);
    more_b = ib.Next(cb);
  }
  if (more_a != more_b) return more_b;
  return a < b;
}

}  // namespace lumivox
