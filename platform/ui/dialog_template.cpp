#include "platform/ui/dialog_template.h"

#include <QAbstractButton>
#include <QCheckBox>
#include <QComboBox>
#include <QFontMetrics>
#include <QFrame>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QTreeWidget>

namespace platform {

namespace {

const char kIdProperty[] = "korvaneControlId";

QString ObjectName(int id) { return QStringLiteral("ctl%1").arg(id); }

// Rounded a * b / c, as the system's MulDiv.
int MulDiv(int a, int b, int c) {
  long long p = static_cast<long long>(a) * b;
  return static_cast<int>((p >= 0 ? p + c / 2 : p - c / 2) / c);
}

Qt::Alignment TextAlignment(unsigned style) {
  Qt::Alignment h = (style & CS_RIGHT) ? Qt::AlignRight : (style & CS_CENTER) ? Qt::AlignHCenter
                                                                             : Qt::AlignLeft;
  return h | ((style & CS_VCENTER) ? Qt::AlignVCenter : Qt::AlignTop);
}

QWidget* CreateStandard(const ControlTemplate& c, QWidget* dialog) {
  const QString text = QString::fromUtf8(c.text ? c.text : "");
  switch (c.kind) {
    case ControlKind::GroupBox: return new QGroupBox(text, dialog);
    case ControlKind::Label: {
      auto* label = new QLabel(text, dialog);
      label->setAlignment(TextAlignment(c.style));
      label->setTextFormat(Qt::PlainText);
      return label;
    }
    case ControlKind::ProgressBar: {
      auto* bar = new QProgressBar(dialog);
      bar->setRange(0, 100);
      bar->setValue(0);
      bar->setTextVisible(false);
      return bar;
    }
    case ControlKind::ListView: {
      auto* list = new QTreeWidget(dialog);
      list->setRootIsDecorated(false);
      list->setItemsExpandable(false);
      list->setUniformRowHeights(true);
      list->header()->setSectionsClickable(!(c.style & CS_NOSORTHEADER));
      return list;
    }
    case ControlKind::PushButton: {
      auto* button = new QPushButton(text, dialog);
      button->setAutoDefault(false);
      button->setDefault(c.style & CS_DEFAULT);
      return button;
    }
    case ControlKind::Edit: {
      auto* edit = new QLineEdit(text, dialog);
      edit->setReadOnly(c.style & CS_READONLY);
      edit->setAlignment(TextAlignment(c.style) & Qt::AlignHorizontal_Mask);
      return edit;
    }
    case ControlKind::ComboBox: return new QComboBox(dialog);
    case ControlKind::CheckBox: return new QCheckBox(text, dialog);
    case ControlKind::RadioButton: return new QRadioButton(text, dialog);
    case ControlKind::Frame: return new QFrame(dialog);
  }
  return new QWidget(dialog);
}

}  // namespace

QSize DialogBaseUnits(const QFont& font) {
  // The average width of the Latin letters, rounded, as dialogs have always measured it.
  QFontMetrics fm(font);
  int letters = fm.horizontalAdvance(
      QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz"));
  return {(letters / 26 + 1) / 2, fm.height()};
}

QRect DialogUnitsToPixels(const QRect& units, const QSize& base) {
  int left = MulDiv(units.x(), base.width(), 4);
  int top = MulDiv(units.y(), base.height(), 8);
  int right = MulDiv(units.x() + units.width(), base.width(), 4);
  int bottom = MulDiv(units.y() + units.height(), base.height(), 8);
  return {left, top, right - left, bottom - top};
}

void BuildDialog(QWidget* dialog, const DialogTemplate& tmpl, const ControlFactory& factory) {
  QFont font(QString::fromUtf8(tmpl.fontFamily), tmpl.pointSize);
  dialog->setFont(font);
  const QSize base = DialogBaseUnits(dialog->font());
  dialog->resize(DialogUnitsToPixels({0, 0, tmpl.cx, tmpl.cy}, base).size());
  for (const ControlTemplate& c : tmpl.controls) {
    QWidget* control = factory ? factory(c, dialog) : nullptr;
    if (!control) control = CreateStandard(c, dialog);
    if (control->parentWidget() != dialog) control->setParent(dialog);
    SetControlId(control, c.id);
    control->setGeometry(DialogUnitsToPixels({c.x, c.y, c.cx, c.cy}, base));
    if (c.style & CS_DISABLED) control->setEnabled(false);
    if (c.style & CS_HIDDEN) control->hide();
  }
}

QWidget* FindControl(const QWidget* dialog, int id) {
  return dialog ? dialog->findChild<QWidget*>(ObjectName(id)) : nullptr;
}

int ControlId(const QWidget* control) {
  QVariant id = control ? control->property(kIdProperty) : QVariant();
  return id.isValid() ? id.toInt() : -1;
}

void SetControlId(QWidget* control, int id) {
  control->setObjectName(ObjectName(id));
  control->setProperty(kIdProperty, id);
}

void SetControlText(QWidget* control, const QString& text) {
  if (auto* label = qobject_cast<QLabel*>(control))
    label->setText(text);
  else if (auto* button = qobject_cast<QAbstractButton*>(control))
    button->setText(text);
  else if (auto* group = qobject_cast<QGroupBox*>(control))
    group->setTitle(text);
  else if (auto* edit = qobject_cast<QLineEdit*>(control))
    edit->setText(text);
  else if (auto* combo = qobject_cast<QComboBox*>(control))
    combo->setCurrentText(text);
  else if (control)
    control->setWindowTitle(text);
}

QString ControlText(const QWidget* control) {
  if (auto* label = qobject_cast<const QLabel*>(control)) return label->text();
  if (auto* button = qobject_cast<const QAbstractButton*>(control)) return button->text();
  if (auto* group = qobject_cast<const QGroupBox*>(control)) return group->title();
  if (auto* edit = qobject_cast<const QLineEdit*>(control)) return edit->text();
  if (auto* combo = qobject_cast<const QComboBox*>(control)) return combo->currentText();
  return control ? control->windowTitle() : QString();
}

void SetItemText(const QWidget* dialog, int id, const QString& text) {
  SetControlText(FindControl(dialog, id), text);
}

QString GetItemText(const QWidget* dialog, int id) { return ControlText(FindControl(dialog, id)); }

}  // namespace platform
