#pragma once
// A page of a property sheet by its class, and the sheet's own buttons.
#include <QDialogButtonBox>
#include <QPushButton>

#include "listbox/prop_sheet.h"
#include "listbox/property_page.h"

namespace tivolen::test {

template <class P>
P* PageOf(PropertySheet& sheet) {
  for (int i = 0; i < sheet.PageCount(); ++i)
    if (auto* p = qobject_cast<P*>(sheet.Page(i))) return p;
  return nullptr;
}

inline QPushButton* Button(PropertySheet& sheet, QDialogButtonBox::StandardButton which) {
  for (auto* box : sheet.findChildren<QDialogButtonBox*>())
    if (box->parentWidget() == &sheet) return box->button(which);
  return nullptr;
}

}  // namespace tivolen::test
