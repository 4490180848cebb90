#include "fuzz/FuzzChecks.h"

#include <algorithm>
#include <string>
#include <utility>
#include <vector>

#include "playlist/formats/AlbumFormat.h"
#include "playlist/formats/LstFormat.h"
#include "playlist/formats/M3uFormat.h"
#include "playlist/formats/PlsFormat.h"

namespace lumivox::fuzz {
namespace {

// Hands out the input in pieces of 1 to 13 bytes, so that every place where a line,
// a CR LF or the byte-order mark can be split between two reads is met.
class PiecewiseSource final : public ByteSource {
 public:
  explicit PiecewiseSource(std::string_view bytes) : rest_(bytes) {}
  std::ptrdiff_t Read(char* buffer, std::size_t size) override {
    const std::size_t piece = std::min({size, rest_.size(), std::size_t{1} + calls_++ % 13});
    std::copy_n(rest_.data(), piece, buffer);
    rest_.remove_prefix(piece);
    return static_cast<std::ptrdiff_t>(piece);
  }

 private:
  std::string_view rest_;
  std::size_t calls_ = 0;
};

struct ReadResult {
  bool ok = false;
  std::vector<std::string> names;
  bool operator==(const ReadResult&) const = default;
};

template <class Source>
ReadResult ReadWith(const ListReader& format, std::string_view bytes, std::vector<std::string> names = {}) {
  Source source(bytes);
  LineReader lines(source);
  ReadResult result{false, std::move(names)};
  result.ok = format.Read(lines, [&](std::string_view name) { result.names.emplace_back(name); });
  return result;
}

// Reads `bytes` whole and piece by piece, which must agree, and checks what holds for
// the names of every format. Names already in the list must stay untouched.
bool ReadConsistently(const ListReader& format, std::string_view bytes, ReadResult& result) {
  result = ReadWith<MemorySource>(format, bytes);
  ReadResult appended = ReadWith<PiecewiseSource>(format, bytes, {"earlier"});
  if (appended.names.empty() || appended.names.front() != "earlier") return false;
  appended.names.erase(appended.names.begin());
  if (appended != result) return false;
  const auto lineCount = static_cast<std::size_t>(std::count(bytes.begin(), bytes.end(), '\n')) + 1;
  if (result.names.size() > lineCount) return false;
  return std::all_of(result.names.begin(), result.names.end(), [](const std::string& name) {
    return name.size() <= kMaxLineBytes && name.find('\n') == std::string::npos && name.find('\0') == std::string::npos;
  });
}

bool Prepared(const std::string& name) { return name.empty() || name.back() != ' '; }

}  // namespace

bool CheckM3u(std::string_view bytes) {
  const M3uFormat m3u;
  ReadResult result;
  if (!ReadConsistently(m3u, bytes, result) || !result.ok) return false;
  for (const auto& name : result.names) {
    if (!Prepared(name) || name.starts_with('#')) return false;
  }
  // A name that ends in CR reads back without it; every other name survives a round trip.
  const bool anyCr = std::any_of(result.names.begin(), result.names.end(),
                                 [](const std::string& name) { return name.ends_with('\r'); });
  if (anyCr) return true;
  EntryList entries;
  for (const auto& name : result.names) entries.Append(name);
  StringSink written;
  TextOutput out(written);
  m3u.Write(entries, out);
  return out.Finish() && ReadWith<MemorySource>(m3u, written.text()) == result;
}

bool CheckPls(std::string_view bytes) {
  ReadResult result;
  if (!ReadConsistently(PlsFormat(), bytes, result)) return false;
  return std::none_of(result.names.begin(), result.names.end(), [](const std::string& name) { return name.empty(); });
}

bool CheckLst(std::string_view bytes) {
  ReadResult result;
  if (!ReadConsistently(LstFormat(), bytes, result) || !result.ok) return false;
  return std::all_of(result.names.begin(), result.names.end(), Prepared);
}

bool CheckAlbum(std::string_view bytes) {
  ReadResult result;
  if (!ReadConsistently(AlbumFormat(), bytes, result)) return false;
  return result.ok || result.names.empty();
}

}  // namespace lumivox::fuzz
