#include "playlist/FolderOrder.h"

#include <QCollator>
#include <QLocale>
#include <QString>

#include <algorithm>
#include <numeric>

#include "playlist/PathText.h"

namespace lumivox {

void SortInFolderOrder(std::vector<std::string>& paths) {
  // The C locale collates by code point alone, neither ignoring case nor reading numbers.
  const QLocale user;
  QCollator collator(user.language() == QLocale::C ? QLocale(QLocale::English, QLocale::UnitedStates) : user);
  collator.setCaseSensitivity(Qt::CaseInsensitive);
  collator.setNumericMode(true);
  std::vector<QCollatorSortKey> keys;
  keys.reserve(paths.size());
  for (const std::string& path : paths) {
    const std::string_view title = TitleOf(path);
    keys.push_back(collator.sortKey(QString::fromUtf8(title.data(), qsizetype(title.size()))));
  }
  std::vector<std::size_t> order(paths.size());
  std::iota(order.begin(), order.end(), 0);
  std::sort(order.begin(), order.end(), [&](std::size_t a, std::size_t b) {
    if (const int byCollation = keys[a].compare(keys[b]); byCollation != 0) return byCollation < 0;
    return TitleOf(paths[a]) < TitleOf(paths[b]);
  });
  std::vector<std::string> sorted;
  sorted.reserve(paths.size());
  for (const std::size_t i : order) sorted.push_back(std::move(paths[i]));
  paths = std::move(sorted);
}

}  // namespace lumivox
