#pragma once
// The small icons of the playlist's rows: one per MIME type, found from the file name
// alone, so a row costs no file-system access. Entries keep their icon's index.

#include <string_view>
#include <vector>

#include <QHash>
#include <QIcon>
#include <QMimeDatabase>
#include <QString>

namespace lumivox {

class PlaylistIcons {
 public:
  // The index of the icon for `path`'s type, added on the type's first use.
  int IndexFor(std::string_view path);
  // The icon at `index`; a null icon for an index that was never handed out.
  QIcon Icon(int index) const;
  int count() const { return static_cast<int>(icons_.size()); }

 private:
  static QIcon IconForType(const QMimeType& type);

  QMimeDatabase mimeTypes_;
  QHash<QString, int> indexByType_;
  std::vector<QIcon> icons_;
};

}  // namespace lumivox
