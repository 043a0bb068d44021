#include "listbox/string_table.h"

#include <QHash>

namespace tivolen {

namespace {

const QHash<int, QString>& Table() {
  static const QHash<int, QString> table = {
      {1, "Valdrune Picture ListBox Control"},
      {2, "Valdrune Picture ListBox Property Page"},
      {3, "P&roperties"},
      {101, "General"},
      {102, "TIVOLEN.INI"},
      {103, "[Tivolen Settings]"},
      {104, "Width"},
      {105, "Height"},
      {107, "BorderEffect"},
      {110, "MultiSelect"},
      {111, "ScreenUpdate"},
      {112, "Sort"},
      {113, "Error adding item to listbox"},
      {114, "Not enough space to AddItem to listbox"},
      {115, "NumTabs must be an integer from 0 to 50"},
      {116, "PictureTab"},
      {117, "PictureTab must be between 0 and NumTabs"},
      {118, "UserDraw must be either True or False"},
      {120, "TBarHeight must be an integer greater than or equal to 0.  If set to 0 TBarHeight "
            "will be set to the standard height of a window caption."},
      {121, "ShowTitle must be either True or False"},
      {122, "RollUp must be either True or False"},
      {123, "AutoHorizExtent must be either True or False"},
      {124, "BackColor"},
      {125, "ForeColor"},
      {126, "NumTabs"},
      {127, "TBarHeight"},
      {128, "PicTransColor"},
      {129, "SelectedForeColor"},
      {130, "SelectedBackColor"},
      {131, "UserDraw"},
      {132, "ShowTitle"},
      {133, "RollUp"},
      {134, "AutoHorizExtent"},
      {135, "PictureTab must be between 0 and NumTabs"},
      {136, "MultiSelect must be 0 - Single, 1 - Multiple, or 2 - Extended"},
      {137, "NoRedraw must be either True or False"},
      {138, "Sort must be either True or False"},
      {139, "TabText must not have any tab characters in it"},
      {140, "NoRedraw"},
      {141, "Selected must be either True or False"},
      {143, "DefHeight"},
      {144, "DefHeight must be greater than or equal to zero"},
      {145, "The ListIndex property is not valid when MultiSelect is not set to 0 - Single"},
      {146, "This property's index must be an integer from 0 to the number of items in the listbox"},
      {147, "The Value property is not valid when MultiSelect is not set to 0 - Single"},
      {148, "Column must be less than NumTabs"},
      {149, "DragWindow must be either True or False"},
      {150, "DragWindow"},
      {151, "MousePointer"},
      {152, "The MouseIcon property must be an Icon."},
      {153, "MousePointer must be from 0 to 14, or 99. "},
      {156, "FontName"},
      {157, "FontSize"},
      {158, "FontBold"},
      {159, "FontItalic"},
      {160, "FontUnderline"},
      {161, "FontStrikethru"},
      {162, "HdnHeight"},
      {163, "HdnWidth"},
  };
  return table;
}

}  // namespace

QString LoadString(int id) { return Table().value(id); }

AutomationError MakeError(int code, int msgId, int helpContext) {
  QString text = msgId ? LoadString(msgId) : QString();
  if (text.isEmpty() && code == kErrOutOfMemory) text = "Out of memory";
  if (text.isEmpty() && code == kErrGetNotSupported) text = "Get not supported";
  if (text.isEmpty() && code == kErrSetNotSupported) text = "Set not supported";
  if (text.isEmpty() && code == kErrNoSuchMember) text = "Object doesn't support this property or method";
  if (text.isEmpty() && code == kErrInvalidPropertyValue) text = "Invalid property value";
  return AutomationError{code, text, helpContext};
}

}  // namespace tivolen
