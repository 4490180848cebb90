#pragma once
// Names read from a list, as the document takes them. Lists made elsewhere name files
// relative to the list, as file:// URIs, with Windows separators, or in the legacy
// encoding of the machine that wrote them; the document wants a UTF-8 name it can open
// from any working folder.

#include <optional>
#include <string>
#include <string_view>

#include "playlist/ListEncoding.h"
#include "playlist/PlaylistFile.h"

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
  // working folder. `uiLanguage` is the interface's ("ja_JP", "en", ...): it picks the
  // encoding of a list that is not UTF-8 when the list does not tell.
  explicit ListNames(std::string_view listPath, std::string_view uiLanguage = {});

  // The document's name for `name`: an absolute path or a stream's URI left as it is, a
  // file:// URI as its local path, a relative name joined to the list's folder. A relative
  // name with '\' separators is tried with '/' when the file is not found as written. A
  // Windows drive path stays as it is. The view lasts until the next call.
  std::string_view Resolve(std::string_view name);

  // Hands the document's name for each name of the list on to `sink`, in list order: at
  // once while the list has been UTF-8, and from its first name that is not, at Finish.
  void Take(std::string_view name, const NameSink& sink);

  // After the list's last name: decodes the names held back, all from the list's one
  // legacy encoding, and hands them on. A name whose file exists as written stays as
  // written, and so does one that does not decode.
  void Finish(const NameSink& sink);

 private:
  std::string list_;
  std::string folder_;
  std::string uiLanguage_;
  std::string resolved_;
  NameBuffer held_;
};

}  // namespace lumivox
