#include "playlist/ListEncoding.h"

#include <glib.h>
#include <unicode/ucnv.h>
#include <unicode/ucsdet.h>

#include <cstdint>
#include <cstring>

namespace lumivox {
namespace {

// ICU's confidence (0 to 100) from which its answer is taken. Short lists and names that
// are mostly ASCII stay below it: several encodings fit them.
constexpr std::int32_t kSureConfidence = 50;

// The detector reads no more of a list than this; the start of a long list tells.
constexpr std::size_t kDetectedBytes = std::size_t{1} << 20;

constexpr const char* kCp932 = "windows-31j";
constexpr const char* kWindows1252 = "windows-1252";

struct DetectorCloser {
  void operator()(UCharsetDetector* detector) const { ucsdet_close(detector); }
};

// Names are split at line ends and joined with '/': an encoding that reads the ASCII bytes
// as something else (UTF-16, EBCDIC) is never a list's.
bool KeepsAscii(const std::string& encoding) {
  constexpr std::string_view kAscii =
      "\n !\"#$%&'()*+,-./0123456789:;<=>?@ABCDEFGHIJKLMNOPQRSTUVWXYZ[\\]^_`abcdefghijklmnopqrstuvwxyz{|}~";
  std::string decoded;
  return LegacyDecoder(encoding).Decode(kAscii, decoded) && decoded == kAscii;
}

// ICU's answer for `text` when it is sure of one that can be a list's, else empty.
std::string Detect(std::string_view text) {
  if (text.size() > kDetectedBytes) {
    const std::size_t end = text.rfind('\n', kDetectedBytes);
    text = text.substr(0, end == std::string_view::npos ? kDetectedBytes : end + 1);
  }
  UErrorCode status = U_ZERO_ERROR;
  const std::unique_ptr<UCharsetDetector, DetectorCloser> detector(ucsdet_open(&status));
  ucsdet_setText(detector.get(), text.data(), static_cast<std::int32_t>(text.size()), &status);
  std::int32_t count = 0;
  const UCharsetMatch** matches = ucsdet_detectAll(detector.get(), &count, &status);
  // The matches come most confident first. ICU's Shift_JIS is the CP932 table of Windows.
  for (std::int32_t i = 0; U_SUCCESS(status) && i < count; ++i) {
    if (ucsdet_getConfidence(matches[i], &status) < kSureConfidence) break;
    const char* name = ucsdet_getName(matches[i], &status);
    if (U_SUCCESS(status) && KeepsAscii(name)) return name;
  }
  return {};
}

bool IsJapanese(std::string_view language) {
  return language == "ja" || language.starts_with("ja_") || language.starts_with("ja-");
}

bool DecodesAll(const NameBuffer& names, const std::string& encoding) {
  LegacyDecoder decoder(encoding);
  std::string decoded;
  for (std::size_t i = 0; i < names.size(); ++i) {
    if (!decoder.Decode(names[i], decoded)) return false;
  }
  return true;
}

}  // namespace

bool IsUtf8(std::string_view text) {
  // Eight bytes at a time while they are ASCII; GLib's validator from the first that is not.
  std::size_t i = 0;
  for (std::uint64_t word; i + sizeof word <= text.size(); i += sizeof word) {
    std::memcpy(&word, text.data() + i, sizeof word);
    if (word & 0x8080808080808080u) break;
  }
  while (i < text.size() && static_cast<unsigned char>(text[i]) < 0x80) ++i;
  return i == text.size() || g_utf8_validate_len(text.data() + i, text.size() - i, nullptr);
}

void NameBuffer::Add(std::string_view name) {
  spans_.push_back({text_.size(), name.size()});
  text_.append(name);
  text_.push_back('\n');
}

void NameBuffer::Clear() {
  text_.clear();
  spans_.clear();
}

void LegacyDecoder::Closer::operator()(UConverter* converter) const { ucnv_close(converter); }

LegacyDecoder::LegacyDecoder(const std::string& encoding) {
  UErrorCode status = U_ZERO_ERROR;
  converter_.reset(ucnv_open(encoding.c_str(), &status));
  // Stop at the first byte sequence that is no character, instead of substituting.
  ucnv_setToUCallBack(converter_.get(), UCNV_TO_U_CALLBACK_STOP, nullptr, nullptr, nullptr, &status);
  if (U_FAILURE(status)) converter_.reset();
}

bool LegacyDecoder::Decode(std::string_view raw, std::string& out) {
  // A byte becomes at most three UTF-8 bytes in the encodings lists are written in; a
  // larger need is met by a second pass.
  constexpr std::size_t kGrowth = 3;
  if (!converter_ || raw.size() > INT32_MAX / kGrowth) return false;
  UErrorCode status = U_ZERO_ERROR;
  const auto convert = [&] {
    ucnv_resetToUnicode(converter_.get());
    return ucnv_toAlgorithmic(UCNV_UTF8, converter_.get(), out.data(), static_cast<std::int32_t>(out.size()),
                              raw.data(), static_cast<std::int32_t>(raw.size()), &status);
  };
  out.resize(raw.size() * kGrowth);
  std::int32_t length = convert();
  if (status == U_BUFFER_OVERFLOW_ERROR) {
    out.resize(static_cast<std::size_t>(length));
    status = U_ZERO_ERROR;
    length = convert();
  }
  if (U_FAILURE(status)) return false;
  out.resize(static_cast<std::size_t>(length));
  return true;
}

std::string EncodingOfList(const NameBuffer& names, std::string_view uiLanguage) {
  if (std::string detected = Detect(names.text()); !detected.empty()) return detected;
  // Windows-1252 has a character for every byte: it decodes any list.
  if (IsJapanese(uiLanguage) && DecodesAll(names, kCp932)) return kCp932;
  return kWindows1252;
}

}  // namespace lumivox
