// Changing one parameter's value from the parameter view.
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>

#include "editing/editor.h"
#include "editing/model/format_num.h"
#include "editing/model/value_rules.h"
#include "editing/new_value.h"
#include "editing/view_read.h"
#include "mainwin/edit_list_box.h"
#include "mainwin/main_win.h"
#include "platform/dao/recordset.h"
#include "platform/ui/prompter.h"
#include "platform/ui/qt/window_factory.h"
#include "runtime/rounding.h"
#include "runtime/val.h"

namespace editing {

namespace {

struct Parameter {
  std::string name, fullname, format;
  std::optional<std::string> units;
};

std::optional<Parameter> FindParameter(talvero::dao::Recordset* rs, int32_t id) {
  if (!rs) return std::nullopt;
  for (rs->MoveFirst(); !rs->Eof(); rs->MoveNext()) {
    if (rs->Field("id").Long() != id) continue;
    Parameter p{rs->Text("Name"), rs->Text("fullname"), rs->Text("Format"), std::nullopt};
    if (!rs->Field("units").IsNull()) p.units = rs->Text("units");
    return p;
  }
  return std::nullopt;
}

}  // namespace

void Editor::NotChanged(const std::string& name) {
  talvero::ThePrompter().Critical("Node " + std::to_string(win_.CurNode) + " did not answer; " + name +
                                  " was not changed.");
}

void Editor::EditParameterValue() {
  EditListView& list = *win_.EditList;
  const int r = win_.CurRow;
  if (r < 0 || r >= list.ListCount() || list.ListFontItalic(r)) return;
  if (talvero::TheWindowFactory().IsVisible("Tune")) {
    talvero::ThePrompter().Critical("Cannot change parameters with the Tuning Wizard open.");
    return;
  }
  for (int i = 0; i < list.ListCount(); ++i) list.SetSelected(i, i == r);
  const std::optional<Parameter> p = FindParameter(win_.ParametersRS, list.ItemData(r));
  if (!p) return;

  const int node = win_.CurNode;
  const bool drive = node >= 0;
  // The present value; nullopt when the drive did not answer.
  auto present = [&]() -> std::optional<double> {
    if (!drive) return rt::Val(win_.Internal_read(p->name));
    ViewRead read(win_, node);
    std::string raw;
    if (!read.Ask([&] { raw = win_.Link.ValueOf(node, p->name); })) return std::nullopt;
    return rt::Val(raw);
  };

  NewValue& dlg = NewValueDialog();
  dlg.What->setText(QString::fromStdString("New Value for " + p->fullname));
  std::optional<double> v = present();
  if (!v) return NotChanged(p->name);
  dlg.NewVal->setText(QString::fromStdString(talvero::FormatNum(*v, p->format)));
  dlg.units->setText(p->units ? QString::fromStdString("(" + *p->units + ")") : QString());

  std::string sent;
  double expected = 0;
  if (p->format.empty() || p->format[0] != '#') {
    dlg.ShowList(true);
    dlg.VList->clear();
    for (int i = 0;; ++i) {
      const std::string s = talvero::FormatNum(i, p->format);
      if (s.empty()) break;
      dlg.VList->addItem(QString::fromStdString(s));
    }
    v = present();
    if (!v) return NotChanged(p->name);
    dlg.VList->setCurrentIndex(talvero::EnumerationIndex(*v, dlg.VList->count()).value_or(-1));
    dlg.ShowList(true);
    talvero::TheWindowFactory().ShowModal("NewValue");
    if (dlg.Result != 1 || dlg.VList->currentIndex() < 0) return;
    const int k = dlg.VList->currentIndex();
    sent = std::to_string(k);
    expected = k;
  } else {
    dlg.ShowList(false);
    for (;;) {
      talvero::TheWindowFactory().ShowModal("NewValue");
      if (dlg.Result != 1) return;
      const std::string t = dlg.NewVal->text().toStdString();
      if (!drive) {
        // What an application keeps later goes to a drive as a number.
        if (!talvero::IsPlainNumber(t)) {
          talvero::ThePrompter().Critical("An application axis stores numbers only: enter a number.");
          continue;
        }
        sent = t;
        break;
      }
      // The drive evaluates what was typed, and knows its own limits.
      float x = 0, lo = 0, hi = 0;
      {
        ViewRead read(win_, node);
        if (!read.Ask([&] { x = rt::CSng(rt::Val(win_.Link.ValueOf(node, t))); }) ||
            !read.Ask([&] { lo = win_.Link.MinMax(node, 0, p->name); }) ||
            !read.Ask([&] { hi = win_.Link.MinMax(node, 1, p->name); }))
          return NotChanged(p->name);
      }
      if (talvero::WithinLimits(x, lo, hi)) {
        sent = t;
        expected = x;
        break;
      }
      if (talvero::ThePrompter().Message(talvero::OutOfRangeBox(p->name, lo, hi, p->format)) !=
          talvero::Answer::Ok)
        return;
    }
  }

  // Write, read back, show the row again.
  std::string shown;
  if (drive) {
    ViewRead read(win_, node);
    if (!read.Ask([&] { win_.Link.Exec(node, "!" + p->name + "=" + sent); })) return NotChanged(p->name);
    std::string back;
    if (!read.Ask([&] { back = win_.Link.ValueOf(node, p->name); })) {
      // The value went; only its reading back did not.
      talvero::ThePrompter().Critical("Node " + std::to_string(node) + " did not answer; the new value of " +
                                      p->name + " could not be read back.");
      return;
    }
    shown = talvero::FormatNum(rt::Val(back), p->format);
    if (!talvero::SameSingle(rt::Val(back), expected))
      talvero::ThePrompter().Critical("The drive did not take the new value; " + p->name + " is still " +
                                      shown + ".");
  } else {
    win_.Internal_write(p->name, sent);
    shown = talvero::FormatNum(rt::Val(win_.Internal_read(p->name)), p->format);
  }
  list.SetList(r, talvero::ParameterRowText(p->fullname, p->name, shown, p->units));
  list.SetListHeight(r, list.DefHeight());
  const std::string tag = talvero::RowTag(p->name);
  for (int i = 0; i < list.ListCount(); ++i) {
    if (list.ItemText(i).find(tag) != std::string::npos) {
      list.SetSelected(i, true);
      break;
    }
  }
}

}  // namespace editing
