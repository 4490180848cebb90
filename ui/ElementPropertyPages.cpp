#include "ui/ElementPropertyPages.h"

#include <QCheckBox>
#include <QComboBox>
#include <QCoreApplication>
#include <QDialog>
#include <QDialogButtonBox>
#include <QDoubleSpinBox>
#include <QFormLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollArea>
#include <QSpinBox>
#include <QTabWidget>
#include <QVBoxLayout>
#include <QValidator>

#include <algorithm>
#include <memory>
#include <optional>
#include <utility>
#include <vector>

#include "engine/GstPtr.h"
#include "ui/DialogUnits.h"

namespace lumivox {
namespace {

struct Texts {
  Q_DECLARE_TR_FUNCTIONS(lumivox::ElementPropertyPages)
};

// A GValue of one type, unset when it goes.
class ScopedValue {
 public:
  explicit ScopedValue(GType type) { g_value_init(&value_, type); }
  ~ScopedValue() { g_value_unset(&value_); }
  ScopedValue(const ScopedValue&) = delete;
  ScopedValue& operator=(const ScopedValue&) = delete;
  GValue* get() { return &value_; }

 private:
  GValue value_ = G_VALUE_INIT;
};

enum class EditorKind { None, Check, Spin, Decimal, Choice, FlagSet, WideInteger, Text };

using IntRange = std::pair<int, int>;

template <typename Bounds>
std::optional<IntRange> SpinRange(const Bounds* typed) {
  if (!std::in_range<int>(typed->minimum) || !std::in_range<int>(typed->maximum)) return std::nullopt;
  return IntRange{static_cast<int>(typed->minimum), static_cast<int>(typed->maximum)};
}

// The range of an integer property when a spin box can hold it.
std::optional<IntRange> SpinRange(GParamSpec* property) {
  if (G_IS_PARAM_SPEC_INT(property)) return SpinRange(G_PARAM_SPEC_INT(property));
  if (G_IS_PARAM_SPEC_UINT(property)) return SpinRange(G_PARAM_SPEC_UINT(property));
  if (G_IS_PARAM_SPEC_LONG(property)) return SpinRange(G_PARAM_SPEC_LONG(property));
  if (G_IS_PARAM_SPEC_ULONG(property)) return SpinRange(G_PARAM_SPEC_ULONG(property));
  if (G_IS_PARAM_SPEC_INT64(property)) return SpinRange(G_PARAM_SPEC_INT64(property));
  if (G_IS_PARAM_SPEC_UINT64(property)) return SpinRange(G_PARAM_SPEC_UINT64(property));
  return std::nullopt;
}

bool IsUnsigned(GParamSpec* property) {
  return G_IS_PARAM_SPEC_UINT(property) || G_IS_PARAM_SPEC_ULONG(property) || G_IS_PARAM_SPEC_UINT64(property);
}
bool IsInteger(GParamSpec* property) {
  return IsUnsigned(property) || G_IS_PARAM_SPEC_INT(property) || G_IS_PARAM_SPEC_LONG(property) ||
         G_IS_PARAM_SPEC_INT64(property);
}

EditorKind KindOf(GParamSpec* property) {
  if (G_IS_PARAM_SPEC_BOOLEAN(property)) return EditorKind::Check;
  // Wider integers are typed as text: a spin box holds only an int.
  if (IsInteger(property)) return SpinRange(property) ? EditorKind::Spin : EditorKind::WideInteger;
  if (G_IS_PARAM_SPEC_FLOAT(property) || G_IS_PARAM_SPEC_DOUBLE(property)) return EditorKind::Decimal;
  if (G_IS_PARAM_SPEC_ENUM(property)) return EditorKind::Choice;
  if (G_IS_PARAM_SPEC_FLAGS(property)) return EditorKind::FlagSet;
  if (G_IS_PARAM_SPEC_STRING(property)) return EditorKind::Text;
  return EditorKind::None;
}

GstState CurrentState(GstElement* element) {
  GstState state = GST_STATE_NULL;
  gst_element_get_state(element, &state, nullptr, 0);
  return state;
}

// A controllable property is one that controllers change while the stream runs, so it
// counts as changeable while playing even where the element does not say so.
bool ChangeableIn(const GParamSpec* property, GstState state) {
  const auto flags = static_cast<unsigned>(property->flags);
  if (flags & (GST_PARAM_MUTABLE_PLAYING | GST_PARAM_CONTROLLABLE)) return true;
  if (flags & GST_PARAM_MUTABLE_PAUSED) return state <= GST_STATE_PAUSED;
  if (flags & GST_PARAM_MUTABLE_READY) return state <= GST_STATE_READY;
  return false;
}

std::vector<GParamSpec*> EditableProperties(GstElement* element) {
  guint count = 0;
  const std::unique_ptr<GParamSpec*[], GFreeDeleter> properties(
      g_object_class_list_properties(G_OBJECT_GET_CLASS(element), &count));
  const GstState state = CurrentState(element);
  std::vector<GParamSpec*> editable;
  for (guint i = 0; i < count; ++i) {
    GParamSpec* property = properties[i];
    if (GParamSpec* target = g_param_spec_get_redirect_target(property)) property = target;
    const auto flags = static_cast<unsigned>(property->flags);
    if ((flags & G_PARAM_READWRITE) != G_PARAM_READWRITE) continue;
    if (flags & (G_PARAM_CONSTRUCT_ONLY | G_PARAM_DEPRECATED)) continue;
    if (ChangeableIn(property, state) && KindOf(property) != EditorKind::None) editable.push_back(property);
  }
  return editable;
}

bool IsSingleBit(guint value) { return value != 0 && (value & (value - 1)) == 0; }

QString WholeNumberText(GParamSpec* property, const GValue* value) {
  const bool isUnsigned = IsUnsigned(property);
  ScopedValue wide(isUnsigned ? G_TYPE_UINT64 : G_TYPE_INT64);
  g_value_transform(value, wide.get());
  return isUnsigned ? QString::number(g_value_get_uint64(wide.get())) : QString::number(g_value_get_int64(wide.get()));
}

// Puts the typed decimal number into `value` (of the property's type); false unless the
// number fits that type and the property's range.
bool ParseWholeNumber(GParamSpec* property, const QString& text, GValue* value) {
  const bool isUnsigned = IsUnsigned(property);
  ScopedValue typed(isUnsigned ? G_TYPE_UINT64 : G_TYPE_INT64);
  ScopedValue back(isUnsigned ? G_TYPE_UINT64 : G_TYPE_INT64);
  bool ok = false;
  if (isUnsigned) {
    g_value_set_uint64(typed.get(), text.toULongLong(&ok));
  } else {
    g_value_set_int64(typed.get(), text.toLongLong(&ok));
  }
  // The way back shows a number that the property's type cut short.
  if (!ok || !g_value_transform(typed.get(), value) || !g_value_transform(value, back.get())) return false;
  const bool kept = isUnsigned ? g_value_get_uint64(back.get()) == g_value_get_uint64(typed.get())
                               : g_value_get_int64(back.get()) == g_value_get_int64(typed.get());
  return kept && !g_param_value_validate(property, value);
}

class WideIntegerValidator final : public QValidator {
 public:
  WideIntegerValidator(GParamSpec* property, QObject* parent) : QValidator(parent), property_(property) {}
  State validate(QString& text, int&) const override {
    ScopedValue value(property_->value_type);
    return ParseWholeNumber(property_, text, value.get()) ? Acceptable : Intermediate;
  }

 private:
  GParamSpec* property_;
};

class PropertyPages final : public QDialog {
 public:
  PropertyPages(GstElement* element, const std::vector<GParamSpec*>& properties, QWidget* owner);
  void Apply();

 private:
  struct Editor {
    GParamSpec* property;
    EditorKind kind;
    QWidget* widget = nullptr;
    bool changed = false;
  };

  QWidget* MakeEditor(std::size_t index, GValue* value);
  bool Read(const Editor& editor, GValue* value) const;
  void UpdateOk();

  GstElement* element_;
  std::vector<Editor> editors_;
  QPushButton* ok_ = nullptr;
};

PropertyPages::PropertyPages(GstElement* element, const std::vector<GParamSpec*>& properties, QWidget* owner)
    : QDialog(owner), element_(element) {
  const GCharPtr name(gst_object_get_name(GST_OBJECT(element)));
  setWindowTitle(name ? QString::fromUtf8(name.get()) : QString());
  const QFontMetrics metrics(font());

  auto* page = new QWidget;
  auto* form = new QFormLayout(page);
  form->setFieldGrowthPolicy(QFormLayout::AllNonFixedFieldsGrow);
  for (GParamSpec* property : properties) editors_.push_back({property, KindOf(property)});
  for (std::size_t i = 0; i < editors_.size(); ++i) {
    GParamSpec* property = editors_[i].property;
    ScopedValue value(property->value_type);
    g_object_get_property(G_OBJECT(element), property->name, value.get());
    QWidget* widget = MakeEditor(i, value.get());
    widget->setObjectName(property->name);
    widget->setToolTip(QString::fromUtf8(g_param_spec_get_blurb(property)));
    form->addRow(QString::fromUtf8(property->name), widget);
    editors_[i].widget = widget;
  }
  auto* scroll = new QScrollArea;
  scroll->setWidget(page);
  scroll->setWidgetResizable(true);
  scroll->setFrameShape(QFrame::NoFrame);
  // Long lists scroll rather than grow the dialog past the screen.
  const int tallest = DialogRect(metrics, 0, 0, 0, 200).height();
  scroll->setMinimumSize(DialogRect(metrics, 0, 0, 220, 0).width(), std::min(page->sizeHint().height(), tallest));

  auto* tabs = new QTabWidget(this);
  GstElementFactory* factory = gst_element_get_factory(element);
  const char* longName = factory ? gst_element_factory_get_metadata(factory, GST_ELEMENT_METADATA_LONGNAME) : nullptr;
  tabs->addTab(scroll, longName ? QString::fromUtf8(longName) : Texts::tr("Properties"));
  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
  ok_ = buttons->button(QDialogButtonBox::Ok);
  connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(tabs);
  layout->addWidget(buttons);
}

QWidget* PropertyPages::MakeEditor(std::size_t index, GValue* value) {
  GParamSpec* property = editors_[index].property;
  const auto changed = [this, index] { editors_[index].changed = true; };
  switch (editors_[index].kind) {
    case EditorKind::Check: {
      auto* box = new QCheckBox;
      box->setChecked(g_value_get_boolean(value));
      connect(box, &QCheckBox::toggled, this, changed);
      return box;
    }
    case EditorKind::Spin: {
      auto* box = new QSpinBox;
      const auto [low, high] = *SpinRange(property);
      box->setRange(low, high);
      ScopedValue wide(G_TYPE_INT64);
      g_value_transform(value, wide.get());
      box->setValue(static_cast<int>(std::clamp<gint64>(g_value_get_int64(wide.get()), low, high)));
      connect(box, &QSpinBox::valueChanged, this, changed);
      return box;
    }
    case EditorKind::Decimal: {
      auto* box = new QDoubleSpinBox;
      box->setDecimals(6);
      if (G_IS_PARAM_SPEC_FLOAT(property)) {
        box->setRange(G_PARAM_SPEC_FLOAT(property)->minimum, G_PARAM_SPEC_FLOAT(property)->maximum);
      } else {
        box->setRange(G_PARAM_SPEC_DOUBLE(property)->minimum, G_PARAM_SPEC_DOUBLE(property)->maximum);
      }
      ScopedValue wide(G_TYPE_DOUBLE);
      g_value_transform(value, wide.get());
      box->setValue(g_value_get_double(wide.get()));
      connect(box, &QDoubleSpinBox::valueChanged, this, changed);
      return box;
    }
    case EditorKind::Choice: {
      auto* box = new QComboBox;
      const GEnumClass* type = G_PARAM_SPEC_ENUM(property)->enum_class;
      for (guint i = 0; i < type->n_values; ++i) {
        box->addItem(QString::fromUtf8(type->values[i].value_nick), type->values[i].value);
      }
      box->setCurrentIndex(box->findData(g_value_get_enum(value)));
      connect(box, &QComboBox::currentIndexChanged, this, changed);
      return box;
    }
    case EditorKind::FlagSet: {
      // One box per bit; bits that only named combinations cover are kept as they are.
      auto* boxes = new QWidget;
      auto* column = new QVBoxLayout(boxes);
      column->setContentsMargins({});
      const guint current = g_value_get_flags(value);
      boxes->setProperty("flags", current);
      const GFlagsClass* type = G_PARAM_SPEC_FLAGS(property)->flags_class;
      for (guint i = 0; i < type->n_values; ++i) {
        if (!IsSingleBit(type->values[i].value)) continue;
        auto* box = new QCheckBox(QString::fromUtf8(type->values[i].value_nick));
        box->setProperty("flag", type->values[i].value);
        box->setChecked(current & type->values[i].value);
        connect(box, &QCheckBox::toggled, this, changed);
        column->addWidget(box);
      }
      return boxes;
    }
    case EditorKind::WideInteger: {
      auto* edit = new QLineEdit(WholeNumberText(property, value));
      edit->setValidator(new WideIntegerValidator(property, edit));
      connect(edit, &QLineEdit::textChanged, this, [this, changed] {
        changed();
        UpdateOk();
      });
      return edit;
    }
    case EditorKind::Text:
    case EditorKind::None:  // never listed
      break;
  }
  auto* edit = new QLineEdit(QString::fromUtf8(g_value_get_string(value)));
  connect(edit, &QLineEdit::textChanged, this, changed);
  return edit;
}

// OK waits until every typed number reads as a value the property takes.
void PropertyPages::UpdateOk() {
  ok_->setEnabled(std::all_of(editors_.begin(), editors_.end(), [](const Editor& editor) {
    return editor.kind != EditorKind::WideInteger || static_cast<QLineEdit*>(editor.widget)->hasAcceptableInput();
  }));
}

bool PropertyPages::Read(const Editor& editor, GValue* value) const {
  switch (editor.kind) {
    case EditorKind::Check:
      g_value_set_boolean(value, static_cast<QCheckBox*>(editor.widget)->isChecked());
      return true;
    case EditorKind::Spin: {
      ScopedValue wide(G_TYPE_INT64);
      g_value_set_int64(wide.get(), static_cast<QSpinBox*>(editor.widget)->value());
      return g_value_transform(wide.get(), value);
    }
    case EditorKind::Decimal: {
      ScopedValue wide(G_TYPE_DOUBLE);
      g_value_set_double(wide.get(), static_cast<QDoubleSpinBox*>(editor.widget)->value());
      return g_value_transform(wide.get(), value);
    }
    case EditorKind::Choice: {
      const auto* box = static_cast<QComboBox*>(editor.widget);
      if (box->currentIndex() < 0) return false;
      g_value_set_enum(value, box->currentData().toInt());
      return true;
    }
    case EditorKind::FlagSet: {
      guint flags = editor.widget->property("flags").toUInt();
      for (const QCheckBox* box : editor.widget->findChildren<QCheckBox*>()) {
        const guint flag = box->property("flag").toUInt();
        flags = box->isChecked() ? flags | flag : flags & ~flag;
      }
      g_value_set_flags(value, flags);
      return true;
    }
    case EditorKind::WideInteger:
      return ParseWholeNumber(editor.property, static_cast<QLineEdit*>(editor.widget)->text(), value);
    case EditorKind::Text:
      g_value_set_string(value, static_cast<QLineEdit*>(editor.widget)->text().toUtf8().constData());
      return true;
    case EditorKind::None: break;
  }
  return false;
}

void PropertyPages::Apply() {
  for (const Editor& editor : editors_) {
    if (!editor.changed) continue;
    ScopedValue value(editor.property->value_type);
    if (!Read(editor, value.get()) || g_param_value_validate(editor.property, value.get())) continue;
    g_object_set_property(G_OBJECT(element_), editor.property->name, value.get());
  }
}

}  // namespace

bool HasPropertyPages(GstElement* element) { return element && !EditableProperties(element).empty(); }

bool ShowPropertyPages(GstElement* element, QWidget* owner) {
  if (!element) return false;
  const std::vector<GParamSpec*> properties = EditableProperties(element);
  if (properties.empty()) return false;
  const ElementRef held = AddRef(element);  // the graph may let it go while the pages show
  PropertyPages pages(held.get(), properties, owner);
  if (pages.exec() != QDialog::Accepted) return false;
  pages.Apply();
  return true;
}

}  // namespace lumivox
