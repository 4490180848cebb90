#pragma once
// Names read from a list, as the document takes them. Lists made elsewhere name files
// relative to the list, as file:// URIs, or with Windows separators; the document wants
// a name it can open from any working folder.

#include <optional>
#include <string>
#include <string_view>

namespace lumivox {

// The scheme of a URI, lower-cased, or empty when `name` is none. Only a scheme followed
// by "//" counts: "Intro: Part 1.mp3" is a file name.
std::string UriScheme(std::string_view name);

// The local path of a file: URI (percent-decoded, no host or "localhost"); nothing for any
// other name, a URI of another machine among them.
std::optional<std::string> LocalPathOfUri(std::string_view name);

// A name with a URI scheme other than file:// (http://, https://, mms://, rtsp://, ...).
// A drive letter such as "C:" is no scheme.
bool IsStreamName(std::string_view name);

class ListNames {
 public:
  // `listPath` is the list file the names come from; a relative one is taken from the
  // working folder.
  explicit ListNames(std::string_view listPath);

  // The document's name for `name`: an absolute path or a stream's URI left as it is, a
  // file:// URI as its local path, a relative name joined to the list's folder. A relative
  // name with '\' separators is tried with '/' when the file is not found as written. A
  // Windows drive path stays as it is. The view lasts until the next call.
  std::string_view Resolve(std::string_view name);

 private:
  std::string folder_;
  std::string resolved_;
};

}  // namespace lumivox
