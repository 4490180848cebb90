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
#include <QValidator>
#include <QVBoxLayout>

#include <algorithm>
#include <memory>
#include <optional>
#include <utility>
#include <vector>

#include "engine/GstPtr.h"
#include "ui/DialogUnits.h"

namespace lumivox {
namespace {

QString Text(const char* source) { return QCoreApplication::translate("lumivox::ElementPropertyPages", source); }

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

template <typename Spec>
std::optional<IntRange> SpinRange(const Spec* spec) {
  if (!std::in_range<int>(spec->minimum) || !std::in_range<int>(spec->maximum)) return std::nullopt;
  return IntRange{static_cast<int>(spec->minimum), static_cast<int>(spec->maximum)};
}

// The range of an integer property when a spin box can hold it.
std::optional<IntRange> SpinRange(GParamSpec* spec) {
  if (G_IS_PARAM_SPEC_INT(spec)) return SpinRange(G_PARAM_SPEC_INT(spec));
  if (G_IS_PARAM_SPEC_UINT(spec)) return SpinRange(G_PARAM_SPEC_UINT(spec));
  if (G_IS_PARAM_SPEC_LONG(spec)) return SpinRange(G_PARAM_SPEC_LONG(spec));
  if (G_IS_PARAM_SPEC_ULONG(spec)) return SpinRange(G_PARAM_SPEC_ULONG(spec));
  if (G_IS_PARAM_SPEC_INT64(spec)) return SpinRange(G_PARAM_SPEC_INT64(spec));
  if (G_IS_PARAM_SPEC_UINT64(spec)) return SpinRange(G_PARAM_SPEC_UINT64(spec));
  return std::nullopt;
}

bool IsInteger(GParamSpec* spec) {
  return G_IS_PARAM_SPEC_INT(spec) || G_IS_PARAM_SPEC_UINT(spec) || G_IS_PARAM_SPEC_LONG(spec) ||
         G_IS_PARAM_SPEC_ULONG(spec) || G_IS_PARAM_SPEC_INT64(spec) || G_IS_PARAM_SPEC_UINT64(spec);
}

EditorKind KindOf(GParamSpec* spec) {
  if (G_IS_PARAM_SPEC_BOOLEAN(spec)) return EditorKind::Check;
  // Wider integers are typed as text: a spin box holds only an int.
  if (IsInteger(spec)) return SpinRange(spec) ? EditorKind::Spin : EditorKind::WideInteger;
  if (G_IS_PARAM_SPEC_FLOAT(spec) || G_IS_PARAM_SPEC_DOUBLE(spec)) return EditorKind::Decimal;
  if (G_IS_PARAM_SPEC_ENUM(spec)) return EditorKind::Choice;
  if (G_IS_PARAM_SPEC_FLAGS(spec)) return EditorKind::FlagSet;
  if (G_IS_PARAM_SPEC_STRING(spec)) return EditorKind::Text;
  return EditorKind::None;
}

GstState CurrentState(GstElement* element) {
  GstState state = GST_STATE_NULL;
  gst_element_get_state(element, &state, nullptr, 0);
  return state;
}

// A controllable property is one that controllers change while the stream runs, so it
// counts as changeable while playing even where the element does not say so.
bool ChangeableIn(const GParamSpec* spec, GstState state) {
  const auto flags = static_cast<unsigned>(spec->flags);
  if (flags & (GST_PARAM_MUTABLE_PLAYING | GST_PARAM_CONTROLLABLE)) return true;
  if (flags & GST_PARAM_MUTABLE_PAUSED) return state <= GST_STATE_PAUSED;
  if (flags & GST_PARAM_MUTABLE_READY) return state <= GST_STATE_READY;
  return false;
}

std::vector<GParamSpec*> EditableProperties(GstElement* element) {
  guint count = 0;
  const std::unique_ptr<GParamSpec*[], GFreeDeleter> specs(
      g_object_class_list_properties(G_OBJECT_GET_CLASS(element), &count));
  const GstState state = CurrentState(element);
  std::vector<GParamSpec*> editable;
  for (guint i = 0; i < count; ++i) {
    GParamSpec* spec = specs[i];
    if (GParamSpec* target = g_param_spec_get_redirect_target(spec)) spec = target;
    const auto flags = static_cast<unsigned>(spec->flags);
    if ((flags & G_PARAM_READWRITE) != G_PARAM_READWRITE) continue;
    if (flags & (G_PARAM_CONSTRUCT_ONLY | G_PARAM_DEPRECATED)) continue;
    if (ChangeableIn(spec, state) && KindOf(spec) != EditorKind::None) editable.push_back(spec);
  }
  return editable;
}

bool IsSingleBit(guint value) { return value != 0 && (value & (value - 1)) == 0; }

// Takes the text GStreamer reads back into a value that the property holds as it is.
class WideIntegerValidator final : public QValidator {
 public:
  WideIntegerValidator(GParamSpec* spec, QObject* parent) : QValidator(parent), spec_(spec) {}
  State validate(QString& text, int&) const override {
    ScopedValue value(spec_->value_type);
    const QByteArray utf8 = text.trimmed().toUtf8();
    if (utf8.isEmpty() || !gst_value_deserialize(value.get(), utf8.constData())) return Intermediate;
    return g_param_value_validate(spec_, value.get()) ? Intermediate : Acceptable;
  }

 private:
  GParamSpec* spec_;
};

class PropertyPages final : public QDialog {
 public:
  PropertyPages(GstElement* element, const std::vector<GParamSpec*>& specs, QWidget* owner);
  void Apply();

 private:
  struct Editor {
    GParamSpec* spec;
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

PropertyPages::PropertyPages(GstElement* element, const std::vector<GParamSpec*>& specs, QWidget* owner)
    : QDialog(owner), element_(element) {
  const GCharPtr name(gst_object_get_name(GST_OBJECT(element)));
  setWindowTitle(name ? QString::fromUtf8(name.get()) : QString());
  const QFontMetrics metrics(font());

  auto* page = new QWidget;
  auto* form = new QFormLayout(page);
  form->setFieldGrowthPolicy(QFormLayout::AllNonFixedFieldsGrow);
  for (GParamSpec* spec : specs) editors_.push_back({spec, KindOf(spec)});
  for (std::size_t i = 0; i < editors_.size(); ++i) {
    GParamSpec* spec = editors_[i].spec;
    ScopedValue value(spec->value_type);
    g_object_get_property(G_OBJECT(element), spec->name, value.get());
    QWidget* widget = MakeEditor(i, value.get());
    widget->setObjectName(spec->name);
    widget->setToolTip(QString::fromUtf8(g_param_spec_get_blurb(spec)));
    form->addRow(QString::fromUtf8(spec->name), widget);
    editors_[i].widget = widget;
  }
  auto* scroll = new QScrollArea;
  scroll->setWidget(page);
  scroll->setWidgetResizable(true);
  scroll->setFrameShape(QFrame::NoFrame);
  const QSize largest = DialogRect(metrics, 0, 0, 250, 200).size();
  const int height = std::min(page->sizeHint().height(), largest.height());
  scroll->setMinimumSize(DialogRect(metrics, 0, 0, 220, 0).width(), height);
  scroll->resize(largest.width(), height);

  auto* tabs = new QTabWidget(this);
  GstElementFactory* factory = gst_element_get_factory(element);
  const char* longName = factory ? gst_element_factory_get_metadata(factory, GST_ELEMENT_METADATA_LONGNAME) : nullptr;
  tabs->addTab(scroll, longName ? QString::fromUtf8(longName) : Text("Properties"));
  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
  ok_ = buttons->button(QDialogButtonBox::Ok);
  connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(tabs);
  layout->addWidget(buttons);
}

QWidget* PropertyPages::MakeEditor(std::size_t index, GValue* value) {
  GParamSpec* spec = editors_[index].spec;
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
      const auto [low, high] = *SpinRange(spec);
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
      if (G_IS_PARAM_SPEC_FLOAT(spec)) {
        box->setRange(G_PARAM_SPEC_FLOAT(spec)->minimum, G_PARAM_SPEC_FLOAT(spec)->maximum);
      } else {
        box->setRange(G_PARAM_SPEC_DOUBLE(spec)->minimum, G_PARAM_SPEC_DOUBLE(spec)->maximum);
      }
      ScopedValue wide(G_TYPE_DOUBLE);
      g_value_transform(value, wide.get());
      box->setValue(g_value_get_double(wide.get()));
      connect(box, &QDoubleSpinBox::valueChanged, this, changed);
      return box;
    }
    case EditorKind::Choice: {
      auto* box = new QComboBox;
      const GEnumClass* type = G_PARAM_SPEC_ENUM(spec)->enum_class;
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
      const GFlagsClass* type = G_PARAM_SPEC_FLAGS(spec)->flags_class;
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
      const GCharPtr text(gst_value_serialize(value));
      auto* edit = new QLineEdit(text ? QString::fromUtf8(text.get()) : QString());
      edit->setValidator(new WideIntegerValidator(spec, edit));
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
    case EditorKind::WideInteger: {
      const QByteArray text = static_cast<QLineEdit*>(editor.widget)->text().trimmed().toUtf8();
      return gst_value_deserialize(value, text.constData());
    }
    case EditorKind::Text:
      g_value_set_string(value, static_cast<QLineEdit*>(editor.widget)->text().toUtf8().constData());
      return true;
    case EditorKind::None:
      break;
  }
  return false;
}

void PropertyPages::Apply() {
  for (const Editor& editor : editors_) {
    if (!editor.changed) continue;
    ScopedValue value(editor.spec->value_type);
    if (!Read(editor, value.get()) || g_param_value_validate(editor.spec, value.get())) continue;
    g_object_set_property(G_OBJECT(element_), editor.spec->name, value.get());
  }
}

}  // namespace

bool HasPropertyPages(GstElement* element) { return element && !EditableProperties(element).empty(); }

bool ShowPropertyPages(GstElement* element, QWidget* owner) {
  if (!element) return false;
  const std::vector<GParamSpec*> specs = EditableProperties(element);
  if (specs.empty()) return false;
  const ElementRef held = AddRef(element);  // the graph may let it go while the pages show
  PropertyPages pages(held.get(), specs, owner);
  if (pages.exec() != QDialog::Accepted) return false;
  pages.Apply();
  return true;
}

}  // namespace lumivox
