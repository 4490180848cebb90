#include "ui/PlaylistAccessible.h"

#include <QWidget>

#include "ui/PlayListView.h"
#include "ui/PlaylistModel.h"

namespace lumivox {
namespace {

class PlaylistItemAccessible final : public QAccessibleInterface {
 public:
  PlaylistItemAccessible(CPlayListView& view, int row) : view_(view), row_(row) {}

  int row() const { return row_; }

  bool isValid() const override { return row_ < view_.model()->rowCount(); }
  QObject* object() const override { return nullptr; }
  QWindow* window() const override { return view_.window()->windowHandle(); }
  QAccessibleInterface* parent() const override { return QAccessible::queryAccessibleInterface(&view_); }
  QAccessibleInterface* child(int) const override { return nullptr; }
  int childCount() const override { return 0; }
  int indexOfChild(const QAccessibleInterface*) const override { return -1; }
  QAccessibleInterface* childAt(int, int) const override { return nullptr; }
  QAccessible::Role role() const override { return QAccessible::ListItem; }

  QString text(QAccessible::Text t) const override {
    if (t != QAccessible::Name) return {};
    const QString title = Cell(PlaylistModel::TitleColumn).data().toString();
    const QString duration = Cell(PlaylistModel::DurationColumn).data().toString();
    return duration.isEmpty() ? title : title + ", " + duration;
  }
  void setText(QAccessible::Text, const QString&) override {}

  QRect rect() const override {
    const QRect title = view_.visualRect(Cell(PlaylistModel::TitleColumn));
    const QRect row = title.united(view_.visualRect(Cell(PlaylistModel::DurationColumn)));
    return QRect(view_.viewport()->mapToGlobal(row.topLeft()), row.size());
  }

  QAccessible::State state() const override {
    QAccessible::State state;
    state.selectable = true;
    state.focusable = true;
    state.selected = view_.selectionModel()->isRowSelected(row_);
    state.focused = view_.hasFocus() && view_.currentIndex().row() == row_;
    state.offscreen = !view_.viewport()->rect().intersects(view_.visualRect(Cell(PlaylistModel::TitleColumn)));
    return state;
  }

 private:
  QModelIndex Cell(int column) const { return view_.model()->index(row_, column); }

  CPlayListView& view_;
  const int row_;
};

QAccessibleInterface* MakeAccessible(const QString& className, QObject* object) {
  auto* view = qobject_cast<CPlayListView*>(object);
  return view && className == QLatin1String(CPlayListView::staticMetaObject.className()) ? new PlaylistAccessible(*view)
                                                                                         : nullptr;
}

}  // namespace

PlaylistAccessible::PlaylistAccessible(CPlayListView& view) : QAccessibleWidget(&view, QAccessible::List) {
  const QAbstractItemModel* model = view.model();
  const auto forget = [this] { Forget(); };
  QObject::connect(model, &QAbstractItemModel::rowsInserted, &view, forget);
  QObject::connect(model, &QAbstractItemModel::rowsRemoved, &view, forget);
  QObject::connect(model, &QAbstractItemModel::rowsMoved, &view, forget);
  QObject::connect(model, &QAbstractItemModel::modelReset, &view, forget);
}

PlaylistAccessible::~PlaylistAccessible() { Forget(); }

void PlaylistAccessible::Install() {
  static const bool installed = (QAccessible::installFactory(MakeAccessible), true);
  Q_UNUSED(installed);
}

CPlayListView& PlaylistAccessible::view() const { return static_cast<CPlayListView&>(*widget()); }

QAccessible::State PlaylistAccessible::state() const {
  QAccessible::State state = QAccessibleWidget::state();
  state.multiSelectable = true;
  return state;
}

int PlaylistAccessible::childCount() const { return view().model()->rowCount(); }

QAccessibleInterface* PlaylistAccessible::child(int index) const {
  if (index < 0 || index >= childCount()) return nullptr;
  if (const auto made = items_.find(index); made != items_.end()) return QAccessible::accessibleInterface(made->second);
  auto* item = new PlaylistItemAccessible(view(), index);
  items_.emplace(index, QAccessible::registerAccessibleInterface(item));
  return item;
}

int PlaylistAccessible::indexOfChild(const QAccessibleInterface* child) const {
  const auto* item = dynamic_cast<const PlaylistItemAccessible*>(child);
  return item && item->parent() == this ? item->row() : -1;
}

QAccessibleInterface* PlaylistAccessible::focusChild() const {
  return view().hasFocus() ? child(view().currentIndex().row()) : nullptr;
}

QAccessibleInterface* PlaylistAccessible::childAt(int x, int y) const {
  const QModelIndex index = view().indexAt(view().viewport()->mapFromGlobal(QPoint(x, y)));
  return index.isValid() ? child(index.row()) : nullptr;
}

void PlaylistAccessible::Forget() {
  for (const auto& [row, id] : items_) QAccessible::deleteAccessibleInterface(id);
  items_.clear();
}

}  // namespace lumivox
