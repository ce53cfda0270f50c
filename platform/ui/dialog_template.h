#pragma once
// Dialogs built from a table of controls, as the resource templates describe
// them: kind, numeric identifier, text and a rectangle in dialog units. The
// units follow the dialog font, so a dialog keeps its proportions with any
// font. Controls keep their identifiers and are found by them.
#include <QFont>
#include <QRect>
#include <QSize>
#include <QString>
#include <functional>
#include <vector>

#include <QWidget>

namespace platform {

enum class ControlKind {
  GroupBox,
  Label,        // static text
  ProgressBar,
  ListView,     // report-style list: QTreeWidget without tree decoration
  PushButton,
  Edit,
  ComboBox,     // drop-down list
  CheckBox,
  RadioButton,
  Frame,        // an empty placeholder the dialog fills itself
};

// Style bits of a control in a template.
enum : unsigned {
  CS_RIGHT = 0x1,            // text aligned right
  CS_CENTER = 0x2,           // text centred
  CS_VCENTER = 0x4,          // text centred vertically
  CS_DEFAULT = 0x8,          // the default push button
  CS_DISABLED = 0x10,
  CS_HIDDEN = 0x20,
  CS_READONLY = 0x40,        // edit boxes
  CS_NOSORTHEADER = 0x80,    // list views: header sections do not react to clicks
};

struct ControlTemplate {
  int id;
  ControlKind kind;
  const char* text;
  int x, y, cx, cy;  // dialog units
  unsigned style = 0;
};

struct DialogTemplate {
  int id;
  int cx, cy;               // client size in dialog units
  const char* fontFamily;   // a substitute is used when the family is missing
  int pointSize;
  std::vector<ControlTemplate> controls;
};

// Pixels per 4 horizontal and per 8 vertical dialog units of a font.
QSize DialogBaseUnits(const QFont& font);
// A rectangle in dialog units converted to pixels, edge by edge.
QRect DialogUnitsToPixels(const QRect& units, const QSize& baseUnits);

// Lets a dialog supply its own widget for a template entry (a hyperlink, a
// custom list); return null for the standard widget.
using ControlFactory = std::function<QWidget*(const ControlTemplate&, QWidget* dialog)>;

// Sets the dialog's font and client size and creates its controls, in table
// order (which is also the tab order).
void BuildDialog(QWidget* dialog, const DialogTemplate& tmpl, const ControlFactory& factory = {});

// The control with the identifier, or null.
QWidget* FindControl(const QWidget* dialog, int id);
template <typename T>
T* FindControl(const QWidget* dialog, int id) {
  return qobject_cast<T*>(FindControl(dialog, id));
}
// The identifier a template gave the control, or -1.
int ControlId(const QWidget* control);
void SetControlId(QWidget* control, int id);

// The text of a control of any kind (label, button, group box, edit, combo box).
void SetItemText(const QWidget* dialog, int id, const QString& text);
QString GetItemText(const QWidget* dialog, int id);
void SetControlText(QWidget* control, const QString& text);
QString ControlText(const QWidget* control);

}  // namespace platform
