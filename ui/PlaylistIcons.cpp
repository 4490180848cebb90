#include "ui/PlaylistIcons.h"

#include <QApplication>
#include <QStyle>

namespace lumivox {

int PlaylistIcons::IndexFor(std::string_view path) {
  const QString name = QString::fromUtf8(path.data(), static_cast<qsizetype>(path.size()));
  const QMimeType type = mimeTypes_.mimeTypeForFile(name, QMimeDatabase::MatchExtension);
  const auto found = indexByType_.constFind(type.name());
  if (found != indexByType_.cend()) return *found;
  icons_.push_back(IconForType(type));
  const int index = count() - 1;
  indexByType_.insert(type.name(), index);
  return index;
}

QIcon PlaylistIcons::Icon(int index) const {
  return index >= 0 && index < count() ? icons_[static_cast<std::size_t>(index)] : QIcon();
}

QIcon PlaylistIcons::IconForType(const QMimeType& type) {
  const QIcon file = QApplication::style()->standardIcon(QStyle::SP_FileIcon);
  return QIcon::fromTheme(type.iconName(), QIcon::fromTheme(type.genericIconName(), file));
}

}  // namespace lumivox
