#include "playlist/ListNames.h"

#include <glib.h>
#include <sys/stat.h>

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <memory>
#include <system_error>

#include "playlist/PathText.h"
#include "playlist/formats/ListFilesLog.h"

namespace lumivox {
namespace {

struct GFreeDeleter {
  void operator()(void* p) const { g_free(p); }
};

bool IsDrivePath(std::string_view name) {
  return name.size() >= 2 && std::isalpha(static_cast<unsigned char>(name[0])) && name[1] == ':';
}

bool Exists(const std::string& path) {
  struct stat info;
  return ::stat(path.c_str(), &info) == 0;
}

std::string Normal(const std::string& path) { return std::filesystem::path(path).lexically_normal().string(); }

}  // namespace

std::string UriScheme(std::string_view name) {
  const std::size_t colon = name.find(':');
  if (colon == std::string_view::npos || name.substr(colon + 1, 2) != "//") return {};
  const std::unique_ptr<char, GFreeDeleter> scheme(g_uri_parse_scheme(std::string(name).c_str()));
  if (!scheme) return {};
  std::string text(scheme.get());
  std::ranges::transform(text, text.begin(), [](unsigned char c) { return char(std::tolower(c)); });
  return text;
}

std::optional<std::string> LocalPathOfUri(std::string_view name) {
  if (name.size() < 5 || g_ascii_strncasecmp(name.data(), "file:", 5) != 0) return std::nullopt;
  char* host = nullptr;
  const std::unique_ptr<char, GFreeDeleter> local(g_filename_from_uri(std::string(name).c_str(), &host, nullptr));
  const std::unique_ptr<char, GFreeDeleter> ownedHost(host);
  if (!local || (host && g_ascii_strcasecmp(host, "localhost") != 0)) return std::nullopt;
  return std::string(local.get());
}

bool IsStreamName(std::string_view name) {
  if (IsDrivePath(name)) return false;
  const std::string scheme = UriScheme(name);
  return !scheme.empty() && scheme != "file";
}

ListNames::ListNames(std::string_view listPath, std::string_view uiLanguage)
    : list_(listPath), uiLanguage_(uiLanguage) {
  std::error_code error;
  const std::filesystem::path list = std::filesystem::absolute(std::filesystem::path(listPath), error);
  folder_ = FolderOf(error ? std::string(listPath) : list.string());
}

std::string_view ListNames::Resolve(std::string_view name) {
  if (name.empty() || name.front() == '/' || name.front() == '\\' || IsDrivePath(name)) return name;
  if (std::optional<std::string> local = LocalPathOfUri(name)) {
    resolved_ = std::move(*local);
    return resolved_;
  }
  // Streams, and file URIs of other machines, stay as written.
  if (!UriScheme(name).empty()) return name;
  if (folder_.empty()) return name;
  resolved_ = Normal(JoinPath(folder_, name));
  if (name.find('\\') == std::string_view::npos || Exists(resolved_)) return resolved_;
  std::string slashed(name);
  std::ranges::replace(slashed, '\\', '/');
  if (std::string other = Normal(JoinPath(folder_, slashed)); Exists(other)) resolved_ = std::move(other);
  return resolved_;
}

void ListNames::Take(std::string_view name, const NameSink& sink) {
  if (held_.empty() && IsUtf8(name)) {
    sink(Resolve(name));
    return;
  }
  held_.Add(name);
}

void ListNames::Finish(const NameSink& sink) {
  if (held_.empty()) return;
  const std::string encoding = EncodingOfList(held_, uiLanguage_);
  qCInfo(lcListFiles, "%s is not UTF-8: its names are read as %s", list_.c_str(), encoding.c_str());
  LegacyDecoder decoder(encoding);
  std::string decoded;
  std::size_t undecoded = 0;
  for (std::size_t i = 0; i < held_.size(); ++i) {
    const std::string asWritten(Resolve(held_[i]));
    if (Exists(asWritten)) {
      sink(asWritten);
    } else if (decoder.Decode(held_[i], decoded)) {
      sink(Resolve(decoded));
    } else {
      ++undecoded;
      sink(asWritten);
    }
  }
  if (undecoded != 0) {
    qCWarning(lcListFiles, "%s: names that are no %s text stay as written: %zu", list_.c_str(), encoding.c_str(),
              undecoded);
  }
  held_.Clear();
}

}  // namespace lumivox
