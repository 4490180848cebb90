#pragma once
// What screen readers see of the playlist pane: a list with an item per row, named by the
// row's title and duration, selectable, the focused row telling them when it moves. The
// items are made when a reader asks for them and dropped when the rows change.

#include <unordered_map>

#include <QAccessibleWidget>

namespace lumivox {

class CPlayListView;

class PlaylistAccessible final : public QAccessibleWidget {
 public:
  explicit PlaylistAccessible(CPlayListView& view);
  ~PlaylistAccessible() override;

  // Makes Qt's accessibility ask this class for every playlist view.
  static void Install();

  QAccessible::State state() const override;
  int childCount() const override;
  QAccessibleInterface* child(int index) const override;
  int indexOfChild(const QAccessibleInterface* child) const override;
  QAccessibleInterface* focusChild() const override;
  QAccessibleInterface* childAt(int x, int y) const override;

  // The rows changed: items made before name other entries now.
  void Forget();

 private:
  CPlayListView& view() const;

  mutable std::unordered_map<int, QAccessible::Id> items_;
};

}  // namespace lumivox
