// The dispatch interface: every member by number, with its checks and errors.
#include <QHash>
#include <QMenu>

#include "listbox/item_text.h"
#include "listbox/prop_page.h"
#include "listbox/string_table.h"
#include "listbox/tivolen_ctrl.h"
#include "listbox/tooltip_box.h"
#include "listbox/variant_args.h"

namespace tivolen {

namespace {

DispResult Fail(int code, int msg, int help = -1) { return DispResult::Fail(MakeError(code, msg, help)); }
DispResult NoGet() { return Fail(kErrGetNotSupported, 0); }
DispResult NoSet() { return Fail(kErrSetNotSupported, 0); }

QVariant ColorValue(OleColor c) { return QVariant::fromValue<uint>(c); }
std::optional<OleColor> AsColor(const QVariant& v) {
  auto d = AsDouble(v);
  if (!d) return std::nullopt;
  return OleColor(qint64(*d));
}

PicturePtr AsPicture(const QVariant& v) {
  return v.canConvert<PicturePtr>() ? v.value<PicturePtr>() : PicturePtr();
}

// Help contexts of the indexed members' index errors.
int IndexHelp(int dispId) {
  switch (dispId) {
    case kDispListFontBold: return 1030;
    case kDispListFontItalic: return 1031;
    case kDispListFontName: return 1032;
    case kDispListPicture: return 1038;
    case kDispListFont: return 1029;
    case kDispListFontSize: return 1033;
    case kDispListFontUnderline: return 1035;
    case kDispListFontStrikethru: return 1034;
    case kDispListTabText: return 1039;
    case kDispListHeight: return 1036;
    default: return -1;
  }
}

DispResult BadIndex(int dispId) { return Fail(kErrInvalidIndex, 146, IndexHelp(dispId)); }

const QHash<QString, int>& Names() {
  static const QHash<QString, int> names = [] {
    const std::pair<const char*, int> list[] = {
        {"listcount", kDispListCount}, {"newindex", kDispNewIndex}, {"selcount", kDispSelCount},
        {"sort", kDispSort}, {"topindex", kDispTopIndex}, {"multiselect", kDispMultiSelect},
        {"defpicture", kDispDefPicture}, {"pictranscolor", kDispPicTransColor},
        {"numtabs", kDispNumTabs}, {"picturetab", kDispPictureTab}, {"userdraw", kDispUserDraw},
        {"selectedforecolor", kDispSelectedForeColor}, {"selectedbackcolor", kDispSelectedBackColor},
        {"showtitle", kDispShowTitle}, {"rollup", kDispRollUp}, {"autohorizextent", kDispAutoHorizExtent},
        {"noredraw", kDispNoRedraw}, {"listindex", kDispListIndex}, {"value", kDispValue},
        {"defheight", kDispDefHeight}, {"dragwindow", kDispDragWindow}, {"tooltip", kDispToolTip},
        {"mousepointer", kDispMousePointer}, {"mouseicon", kDispMouseIcon}, {"tbarheight", kDispTBarHeight},
        {"hdnheight", kDispHdnHeight}, {"hdnwidth", kDispHdnWidth}, {"clear", kDispClear},
        {"removeitem", kDispRemoveItem}, {"additem", kDispAddItem}, {"itemfrompoint", kDispItemFromPoint},
        {"list", kDispList}, {"selected", kDispSelected}, {"listfontbold", kDispListFontBold},
        {"listfontitalic", kDispListFontItalic}, {"listfontname", kDispListFontName},
        {"listpicture", kDispListPicture}, {"listfont", kDispListFont}, {"listfontsize", kDispListFontSize},
        {"listfontunderline", kDispListFontUnderline}, {"listfontstrikethru", kDispListFontStrikethru},
        {"listtabtext", kDispListTabText}, {"itemdata", kDispItemData}, {"listheight", kDispListHeight},
        {"tabwidth", kDispTabWidth}, {"backcolor", kDispBackColor}, {"enabled", kDispEnabled},
        {"font", kDispFont}, {"forecolor", kDispForeColor}, {"hwnd", kDispHWnd}, {"caption", kDispCaption},
        {"refresh", kDispRefresh}, {"aboutbox", kDispAboutBox}};
    QHash<QString, int> h;
    for (const auto& [n, id] : list) h.insert(n, id);
    return h;
  }();
  return names;
}

}  // namespace

int TivolenCtrl::DispIdOfName(const QString& name) const { return Names().value(name.toLower(), -1); }

DispResult TivolenCtrl::GetProperty(int id, const QVariantList& args) {
  const bool single = multiSelect_ == 0;
  auto index = AsInt(args.value(0)).value_or(-1);
  const bool indexOk = index >= 0 && index < int(items_.size());
  switch (id) {
    case kDispListCount: return list_ ? DispResult::Ok(ShortValue(int(items_.size()))) : NoGet();
    case kDispNewIndex: return list_ ? DispResult::Ok(ShortValue(newIndex_)) : NoGet();
    case kDispSelCount: return list_ ? DispResult::Ok(ShortValue(list_->SelCount())) : NoGet();
    case kDispSort: return DispResult::Ok(BoolValue(sort_));
    case kDispTopIndex: return list_ ? DispResult::Ok(ShortValue(list_->TopIndex())) : NoGet();
    case kDispMultiSelect: return DispResult::Ok(ShortValue(multiSelect_));
    case kDispDefPicture:
      if (!defPicture_ && list_) defPicture_ = Picture::None();
      return DispResult::Ok(QVariant::fromValue(defPicture_));
    case kDispPicTransColor: return DispResult::Ok(ColorValue(picTransColor_));
    case kDispNumTabs: return DispResult::Ok(ShortValue(numTabs_));
    case kDispPictureTab: return DispResult::Ok(ShortValue(pictureTab_));
    case kDispUserDraw: return DispResult::Ok(BoolValue(userDraw_));
    case kDispSelectedForeColor: return DispResult::Ok(ColorValue(selectedForeColor_));
    case kDispSelectedBackColor: return DispResult::Ok(ColorValue(selectedBackColor_));
    case kDispShowTitle: return DispResult::Ok(BoolValue(showTitle_));
    case kDispRollUp: return DispResult::Ok(BoolValue(rollUp_));
    case kDispAutoHorizExtent: return DispResult::Ok(BoolValue(autoHorizExtent_));
    case kDispNoRedraw: return DispResult::Ok(BoolValue(noRedraw_));
    case kDispListIndex:
      if (!list_) return NoGet();
      if (!single) return Fail(kErrInvalidPropertyValue, 145);
      return DispResult::Ok(ShortValue(list_->CurSel()));
    case kDispValueDefault:
    case kDispValue: {
      if (!list_) return NoGet();
      if (!single) return Fail(kErrInvalidPropertyValue, 147, 1072);
      const int cur = list_->CurSel();
      return DispResult::Ok(cur >= 0 ? items_[cur]->GetText() : QString());
    }
    case kDispDefHeight: {
      const double units = HeightUnits(defHeight_);
      return DispResult::Ok(FloatValue(defHeight_.pixels ? units : 0.0));
    }
    case kDispDragWindow: return DispResult::Ok(BoolValue(dragWindow_));
    case kDispToolTip: return DispResult::Ok(toolTip_);
    case kDispMousePointer: return DispResult::Ok(ShortValue(mousePointer_));
    case kDispMouseIcon:
      if (!mouseIcon_ && list_) mouseIcon_ = Picture::None();
      return DispResult::Ok(QVariant::fromValue(mouseIcon_));
    case kDispTBarHeight:
      if (!tbarHeight_.pixels) return DispResult::Ok(FloatValue(units_.ToUnitsY(SystemCaptionHeight())));
      return DispResult::Ok(FloatValue(HeightUnits(tbarHeight_)));
    case kDispHdnHeight: return DispResult::Ok(qint32(0));
    case kDispHdnWidth: return DispResult::Ok(qint32(height()));
    case kDispClear: case kDispRemoveItem: case kDispAddItem: case kDispItemFromPoint:
    case kDispRefresh: case kDispAboutBox:
      return Invoke(id, args);
    case kDispList:
      if (!indexOk) return BadIndex(id);
      return DispResult::Ok(items_[index]->GetText());
    case kDispSelected:
      if (!list_) return NoGet();
      if (!indexOk) return BadIndex(id);
      return DispResult::Ok(BoolValue(list_->Sel(index)));
    case kDispListFontBold: case kDispListFontItalic: case kDispListFontName: case kDispListFontSize:
    case kDispListFontUnderline: case kDispListFontStrikethru: {
      if (!indexOk) return BadIndex(id);
      const auto& f = items_[index]->Font();
      switch (id) {
        case kDispListFontBold: return DispResult::Ok(BoolValue(f && f->bold()));
        case kDispListFontItalic: return DispResult::Ok(BoolValue(f && f->italic()));
        case kDispListFontUnderline: return DispResult::Ok(BoolValue(f && f->underline()));
        case kDispListFontStrikethru: return DispResult::Ok(BoolValue(f && f->strikeOut()));
        case kDispListFontName: return DispResult::Ok(f ? f->family() : QString());
        default: return DispResult::Ok(FloatValue(f ? f->pointSizeF() : 0.0));
      }
    }
    case kDispListPicture:
      if (!indexOk) return BadIndex(id);
      return DispResult::Ok(items_[index]->GetPicture() ? QVariant::fromValue(items_[index]->GetPicture()) : QVariant());
    case kDispListFont:
      if (!indexOk) return BadIndex(id);
      return DispResult::Ok(items_[index]->Font() ? QVariant(*items_[index]->Font()) : QVariant());
    case kDispListTabText: {
      if (!indexOk) return BadIndex(id);
      const int column = AsInt(args.value(1)).value_or(-1);
      if (!HasColumn(column)) return Fail(kErrInvalidIndex, 148);
      return DispResult::Ok(items_[index]->GetColumnText(column));
    }
    case kDispItemData:
      if (!list_) return NoGet();
      if (!indexOk) return BadIndex(id);
      return DispResult::Ok(qint32(list_->ItemData(index)));
    case kDispListHeight:
      if (!indexOk) return BadIndex(id);
      return DispResult::Ok(FloatValue(units_.ToUnitsY(ItemHeight(index))));
    case kDispTabWidth:
      if (!HasColumn(index)) return Fail(kErrInvalidIndex, 148, 1065);
      return DispResult::Ok(FloatValue(units_.ToUnitsX(TabWidth(index))));
    case kDispBackColor: return DispResult::Ok(ColorValue(backColor_));
    case kDispForeColor: return DispResult::Ok(ColorValue(foreColor_));
    case kDispEnabled: return DispResult::Ok(BoolValue(enabled_));
    case kDispFont: return DispResult::Ok(font_);
    case kDispCaption: return DispResult::Ok(caption_);
    case kDispHWnd: return DispResult::Ok(qlonglong(list_ ? qlonglong(list_->winId()) : 0));
    default: return Fail(kErrNoSuchMember, 0);
  }
}

DispResult TivolenCtrl::PutProperty(int id, const QVariant& value, const QVariantList& args) {
  const bool single = multiSelect_ == 0;
  const int index = AsInt(args.value(0)).value_or(-1);
  const bool indexOk = index >= 0 && index < int(items_.size());
  auto done = [&] {
    Changed(id == kDispValueDefault ? kDispValue : id);  // the default member is Value
    return DispResult::Ok();
  };
  // An item's font or picture changed: its height, the widest item and the extent follow.
  auto itemResized = [&] {
    RemeasureItem(index);
    GrowMaxWidthForItem(index);
    ApplyExtent();
    RepaintAll();
    return done();
  };
  // The columns moved: the widest item and the extent follow.
  auto columnsChanged = [&] {
    ComputeMaxWidth();
    ApplyExtent();
    RepaintAll();
    return done();
  };
  auto boolOr = [&](int msg, int help) -> std::optional<DispResult> {
    if (!AsBool(value)) return Fail(kErrInvalidPropertyValue, msg, help);
    return std::nullopt;
  };
  switch (id) {
    case kDispListCount: case kDispNewIndex: case kDispSelCount: case kDispHdnWidth: case kDispHWnd:
      return NoSet();
    case kDispSort:
      if (auto e = boolOr(138, -1)) return *e;
      sort_ = *AsBool(value);
      return done();
    case kDispTopIndex:
      if (!list_) return NoSet();
      list_->SetTopIndex(AsInt(value).value_or(0));
      return done();
    case kDispMultiSelect: {
      const auto v = AsInt(value);
      if (!v || *v < 0 || *v > 2) return Fail(kErrInvalidPropertyValue, 136);
      multiSelect_ = int16_t(*v);
      return done();
    }
    case kDispDefPicture:
      defPicture_ = AsPicture(value);
      BuildDefPictureSelected();
      BuildDefPictureNormal();
      RemeasureAllItems();
      RepaintAll();
      return done();
    case kDispPicTransColor: {
      const auto c = AsColor(value);
      if (!c) return Fail(kErrInvalidPropertyValue, 0);
      picTransColor_ = *c;
      // The recoloured copies follow the new transparent colour at once.
      RebuildVariants(true, true);
      RepaintAll();
      return done();
    }
    case kDispNumTabs: {
      const auto v = AsInt(value);
      if (!v || *v < 0 || *v > kMaxTabs) return Fail(kErrInvalidPropertyValue, 115, 1047);
      numTabs_ = int16_t(*v);
      return columnsChanged();
    }
    case kDispPictureTab: {
      const auto v = AsInt(value);
      if (!v || !HasColumn(*v)) return Fail(kErrInvalidPropertyValue, 135, 1051);
      pictureTab_ = int16_t(*v);
      return columnsChanged();
    }
    case kDispUserDraw:
      if (auto e = boolOr(118, 1071)) return *e;
      userDraw_ = *AsBool(value);
      RepaintAll();
      return done();
    case kDispSelectedForeColor: case kDispSelectedBackColor: case kDispBackColor: case kDispForeColor: {
      const auto c = AsColor(value);
      if (!c) return Fail(kErrInvalidPropertyValue, 0);
      if (id == kDispSelectedForeColor) selectedForeColor_ = *c;
      if (id == kDispForeColor) foreColor_ = *c;
      if (id == kDispSelectedBackColor) {
        selectedBackColor_ = *c;
        if (list_) RebuildVariants(true, false);
      }
      if (id == kDispBackColor) {
        backColor_ = *c;
        RebuildVariants(false, true);
      }
      RepaintAll();
      return done();
    }
    case kDispShowTitle:
      if (auto e = boolOr(121, 1060)) return *e;
      showTitle_ = *AsBool(value);
      Reframe();
      RepaintAll();
      return done();
    case kDispRollUp:
      if (!list_) return NoSet();
      if (auto e = boolOr(122, 1054)) return *e;
      SetRollUp(*AsBool(value));
      return done();
    case kDispAutoHorizExtent:
      if (auto e = boolOr(123, 1003)) return *e;
      autoHorizExtent_ = *AsBool(value);
      if (list_) list_->SetHorizontalExtent(autoHorizExtent_ ? maxWidth_ : 0);
      return done();
    case kDispNoRedraw:
      if (auto e = boolOr(137, 1046)) return *e;
      noRedraw_ = *AsBool(value);
      if (list_) {
        list_->SetRedraw(!noRedraw_);
        if (!noRedraw_) list_->viewport()->repaint();
      }
      return done();
    case kDispListIndex: {
      if (!list_) return NoSet();
      if (!single) return Fail(kErrInvalidPropertyValue, 145);
      const auto v = AsInt(value);
      if (!v || *v < -1 || *v >= int(items_.size())) return BadIndex(id);
      list_->SetCurSel(*v);
      return done();
    }
    case kDispValueDefault:
    case kDispValue:
      if (!list_) return NoSet();
      if (!single) return Fail(kErrInvalidPropertyValue, 147, 1072);
      SetValue(value.toString());
      return done();
    case kDispDefHeight: case kDispTBarHeight: {
      const auto v = AsDouble(value);
      const bool isDef = id == kDispDefHeight;
      if (!v || *v < 0) return isDef ? Fail(kErrInvalidPropertyValue, 144, 1010) : Fail(kErrInvalidPropertyValue, 120, 1067);
      Dimension& d = isDef ? defHeight_ : tbarHeight_;
      d.units = *v == 0 ? 0.0 : *v;
      d.pixels = HeightPixels(*v);
      if (isDef) {
        RemeasureAllItems();
        RepaintAll();
      } else if (list_ && rollUp_) {
        resize(width(), TitleHeight());
        Reframe();
      } else {
        Reframe();
      }
      return done();
    }
    case kDispDragWindow:
      if (auto e = boolOr(149, 1015)) return *e;
      dragWindow_ = *AsBool(value);
      return done();
    case kDispToolTip:
      toolTip_ = value.toString();
      if (tooltipState_ == 2) HideTooltip();
      return done();
    case kDispMousePointer: {
      auto v = AsInt(value);
      if (v && *v == 99) v = 15;  // the custom pointer's number in the enumeration
      if (!v || *v < 0 || *v > 15) return Fail(kErrInvalidPropertyValue, 153);
      mousePointer_ = int16_t(*v);
      SetCursorFromPointer();
      return done();
    }
    case kDispMouseIcon: {
      const PicturePtr p = AsPicture(value);
      if (value.isValid() && !value.canConvert<PicturePtr>()) return Fail(kErrInvalidPicture, 152);
      if (p && p->type != Picture::Type::Icon && p->type != Picture::Type::Empty)
        return Fail(kErrInvalidPicture, 152);
      mouseIcon_ = p;
      SetCursorFromPointer();
      return done();
    }
    case kDispHdnHeight:
      modified_ = true;
      return DispResult::Ok();
    case kDispList:
      if (!indexOk) return BadIndex(id);
      return SetListText(index, value.toString());
    case kDispSelected: {
      if (!list_) return NoSet();
      if (!indexOk) return BadIndex(id);
      const auto b = AsBool(value);
      if (!b) return Fail(kErrInvalidPropertyValue, 141);
      if (!single) list_->SetSel(index, *b);
      else list_->SetCurSel(*b ? index : -1);
      return done();
    }
    case kDispListFontBold: case kDispListFontItalic: case kDispListFontName: case kDispListFontSize:
    case kDispListFontUnderline: case kDispListFontStrikethru: {
      if (!indexOk) return BadIndex(id);
      ListItem& item = *items_[index];
      ShrinkCheckForItem(index);
      if (!item.Font()) item.SetFont(font_);
      QFont& f = item.OwnFont();
      const bool on = AsBool(value).value_or(AsInt(value).value_or(0) != 0);
      switch (id) {
        case kDispListFontBold: f.setBold(on); break;
        case kDispListFontItalic: f.setItalic(on); break;
        case kDispListFontUnderline: f.setUnderline(on); break;
        case kDispListFontStrikethru: f.setStrikeOut(on); break;
        case kDispListFontName: f.setFamily(value.toString()); break;
        default: {
          // The font object keeps its size as a currency value.
          const double size = std::round(AsDouble(value).value_or(f.pointSizeF()) * 10000.0) / 10000.0;
          if (size > 0) f.setPointSizeF(size);
        }
      }
      return itemResized();
    }
    case kDispListPicture: {
      if (!indexOk) return BadIndex(id);
      ListItem& item = *items_[index];
      ShrinkCheckForItem(index);
      item.SetPicture(AsPicture(value));
      BuildItemVariants(item);
      return itemResized();
    }
    case kDispListFont: {
      if (!indexOk) return BadIndex(id);
      ShrinkCheckForItem(index);
      if (value.typeId() == QMetaType::QFont) items_[index]->SetFont(value.value<QFont>());
      else items_[index]->SetFont(std::nullopt);
      return itemResized();
    }
    case kDispListTabText: {
      if (!indexOk) return BadIndex(id);
      const int column = AsInt(args.value(1)).value_or(-1);
      if (!HasColumn(column)) return Fail(kErrInvalidIndex, 148);
      return SetListTabText(index, column, value.toString());
    }
    case kDispItemData:
      if (!list_) return NoSet();
      if (!indexOk) return BadIndex(id);
      list_->SetItemData(index, AsInt(value).value_or(int32_t(value.toLongLong())));
      if (userDraw_) RepaintAll();
      return done();
    case kDispListHeight: {
      if (!indexOk) return BadIndex(id);
      items_[index]->SetHeight(HeightPixels(AsDouble(value).value_or(0.0)));
      RemeasureItem(index);
      RepaintAll();
      return done();
    }
    case kDispTabWidth: {
      if (!HasColumn(index)) return Fail(kErrInvalidIndex, 148, 1065);
      const int delta = units_.ToPixelsX(AsDouble(value).value_or(0.0)) - TabWidth(index);
      for (int i = index; i < kMaxTabs; ++i) tabs_[i] = int16_t(std::clamp(tabs_[i] + delta, -32768, 32767));
      return columnsChanged();
    }
    case kDispEnabled: {
      const auto b = AsBool(value);
      if (!b) return Fail(kErrInvalidPropertyValue, 0);
      enabled_ = *b;
      if (list_) list_->setEnabled(enabled_);
      RepaintAll();
      return done();
    }
    case kDispFont:
      if (value.typeId() != QMetaType::QFont) return Fail(kErrInvalidPropertyValue, 0);
      font_ = value.value<QFont>();
      setFont(font_);
      RemeasureAllItems();
      RepaintAll();
      return done();
    case kDispCaption:
      caption_ = value.toString();
      update(TitleRect());
      return done();
    case kDispClear: case kDispRemoveItem: case kDispAddItem: case kDispItemFromPoint:
    case kDispRefresh: case kDispAboutBox:
      return NoSet();
    default: return Fail(kErrNoSuchMember, 0);
  }
}

DispResult TivolenCtrl::Invoke(int id, const QVariantList& args) {
  switch (id) {
    case kDispClear:
      Clear();
      return DispResult::Ok();
    case kDispRemoveItem: {
      const auto i = AsInt(args.value(0));
      return RemoveItem(i.value_or(-1));
    }
    case kDispAddItem: return AddItem(args);
    case kDispItemFromPoint:
      return DispResult::Ok(ShortValue(ItemFromPoint(AsDouble(args.value(0)).value_or(0),
                                                     AsDouble(args.value(1)).value_or(0), args.value(2))));
    case kDispRefresh:
      update();
      if (list_) list_->viewport()->repaint();
      repaint();
      return DispResult::Ok();
    case kDispAboutBox: {
      AboutDialog about(this);
      about.exec();
      return DispResult::Ok();
    }
    default: return GetProperty(id, args);
  }
}

}  // namespace tivolen
