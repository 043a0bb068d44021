// The parameter view: one category of the selected axis's parameters with
// their present values.
#include "editing/editor.h"
#include "editing/model/format_num.h"
#include "editing/model/value_rules.h"
#include "editing/view_read.h"
#include "mainwin/edit_list_box.h"
#include "mainwin/main_win.h"
#include "platform/clock/clock.h"
#include "platform/dao/recordset.h"
#include "runtime/val.h"

namespace editing {

namespace {

std::optional<std::string> TextOrNull(const talvero::dao::Recordset& rs, const char* field) {
  const talvero::dao::Value v = rs.Field(field);
  if (v.IsNull()) return std::nullopt;
  return v.Text();
}

}  // namespace

void Editor::EditParameters(const std::string& key) {
  win_.ParameterViewShown = true;
  win_.MousePointer(11);
  EditListView& list = *win_.EditList;
  list.Clear();
  talvero::TheClock().ProcessEvents();
  const std::string cat = key.substr(0, 2);
  list.SetNoRedraw(true);

  const int node = win_.CurNode;
  const bool serviceMode = win_.ServiceMode();
  std::optional<ViewRead> read;
  if (node >= 0) read.emplace(win_, node);
  if (talvero::dao::Recordset* rs = win_.ParametersRS) {
    for (rs->MoveFirst(); !rs->Eof(); rs->MoveNext()) {
      if (rs->Text("DT") != cat || !win_.AxisTypeMatch(rs->Text("Type"), node)) continue;
      const std::string name = rs->Text("Name");
      std::string raw;
      if (!read) raw = win_.Internal_read(name);
      else if (!read->Ask([&] { raw = win_.Link.ValueOf(node, name); })) break;
      const std::string value = talvero::FormatNum(rt::Val(raw), rs->Text("Format"));
      list.AddItem(talvero::ParameterRowText(rs->Text("fullname"), name, value, TextOrNull(*rs, "units")));
      list.SetItemData(list.NewIndex(), int32_t(rs->Field("id").Long()));
      list.SetListFontItalic(list.NewIndex(), talvero::ParameterRowItalic(TextOrNull(*rs, "rw"), serviceMode));
    }
  }
  // The drive's failure value is no reading: no row shows it.
  if (read && read->Failed()) return ShowNotAnswering(read->Drive());
  read.reset();
  ComputeLBData();
  list.SetNoRedraw(false);
  talvero::TheClock().ProcessEvents();
  win_.MousePointer(0);
}

}  // namespace editing
