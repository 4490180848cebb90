#pragma once
// Lists written where names were not UTF-8: Shift_JIS (CP932) by a Japanese Windows,
// Windows-1252 by a western one, EUC-JP by an older Unix. ICU detects such a list's
// encoding once, and decodes its names with it.

#include <cstddef>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

struct UConverter;

namespace lumivox {

// True when `text` is valid UTF-8; ASCII text costs one pass over its bytes.
bool IsUtf8(std::string_view text);

// Names in one buffer, each followed by a line end: a long list costs one growing
// allocation instead of one per name, and the buffer reads as the list's text.
class NameBuffer {
 public:
  void Add(std::string_view name);
  void Clear();
  bool empty() const { return spans_.empty(); }
  std::size_t size() const { return spans_.size(); }
  std::string_view operator[](std::size_t i) const {
    return std::string_view(text_).substr(spans_[i].offset, spans_[i].size);
  }
  std::string_view text() const { return text_; }

 private:
  struct Span {
    std::size_t offset;
    std::size_t size;
  };
  std::string text_;
  std::vector<Span> spans_;
};

// Decodes text of one legacy encoding into UTF-8.
class LegacyDecoder {
 public:
  // `encoding` by any name ICU knows ("windows-31j", "EUC-JP", "windows-1252", ...).
  explicit LegacyDecoder(const std::string& encoding);

  // `raw` as UTF-8 into `out`. False when `raw` holds a corrupt or truncated sequence, or
  // one with no Unicode character, and when the encoding is unknown.
  bool Decode(std::string_view raw, std::string& out);

 private:
  struct Closer {
    void operator()(UConverter* converter) const;
  };
  std::unique_ptr<UConverter, Closer> converter_;
};

// The one encoding to decode a list's `names` from: the detector's answer when it is sure;
// otherwise CP932 under a Japanese interface ("ja", "ja_JP") when it decodes every name, and
// Windows-1252 else.
std::string EncodingOfList(const NameBuffer& names, std::string_view uiLanguage);

}  // namespace lumivox
