#pragma once
// The picture list box control: owner-drawn items with a picture, an own
// font, an own height and tab-separated columns, an own title bar with
// roll-up, a hover tooltip and persisted properties.
#include <QFont>
#include <QTimer>
#include <QWidget>
#include <algorithm>
#include <array>
#include <memory>
#include <optional>
#include <vector>

#include "listbox/list_box_view.h"
#include "listbox/list_item.h"
#include "listbox/ole_color.h"
#include "listbox/tivolen_interface.h"
#include "listbox/unit_converter.h"

class QKeyEvent;
class QMenu;

namespace tivolen {

class TooltipBox;

// Where a point of the control lies.
enum class HitCode { Nowhere, Client, Caption, SysMenu, MinButton, MaxButton, Border };

// A length kept both in pixels and in the container's units.
struct Dimension {
  int16_t pixels = 0;
  double units = 0.0;
};

class TivolenCtrl : public QWidget, public ITivolen, private ListBoxOwner {
  Q_OBJECT
 public:
  static constexpr int kMaxTabs = 50;
 signals:
  // The property-changed notification, with the member number.
  void PropertyChanged(int dispId);

 public:
  static constexpr int kBorder = 1;

  explicit TivolenCtrl(QWidget* parent = nullptr);
  ~TivolenCtrl() override;

  // A new control: built-in defaults, then the defaults file.
  void ResetToDefaults();
  // Makes the list box window (the running control); styles are fixed then.
  void CreateListWindow();
  bool HasWindow() const { return list_ != nullptr; }
  ListBoxView* ListWindow() const { return list_; }

  // ITivolen
  QWidget* Widget() override { return this; }
  DispResult GetProperty(int dispId, const QVariantList& index = {}) override;
  DispResult PutProperty(int dispId, const QVariant& value, const QVariantList& index = {}) override;
  DispResult Invoke(int dispId, const QVariantList& args = {}) override;
  int DispIdOfName(const QString& name) const override;
  void Advise(TivolenEvents* sink) override { sink_ = sink; }
  void Load(const PropertyBag& bag) override;
  void Save(PropertyBag& bag) const override;
  bool IsModified() const override { return modified_; }
  void SetModified(bool m) override { modified_ = m; }
  void SetContainerUnitsPerInch(double unitsPerInch) override;
  QStringList PropertyPages() const override;
  bool ShowPropertySheet(QWidget* parent) override;

  // Geometry, in control coordinates.
  int TitleHeight() const;  // H
  static int SystemCaptionHeight();
  QRect TitleRect() const;
  QRect SysBoxRect() const;
  QRect RollButtonRect() const;
  QRect ClientRect() const;
  HitCode HitTest(QPoint p) const;

  const std::array<int16_t, kMaxTabs>& TabStops() const { return tabs_; }
  int16_t MaxWidth() const { return maxWidth_; }
  int HeightBeforeRollUp() const { return heightBeforeRollUp_; }
  int PressState() const { return pressState_; }
  int TooltipState() const { return tooltipState_; }
  TooltipBox* Tooltip() const { return tooltipBox_; }
  QMenu* SystemMenu() const { return sysMenu_; }
  const UnitConverter& Units() const { return units_; }
  const QFont& ControlFont() const { return font_; }

  // System commands of the title bar's menu and buttons.
  enum SysCommand { kScMove, kScMinimize, kScMaximize, kScTaskList };
  void SendSysCommand(SysCommand cmd);
  void ShowSystemMenu();
  // Alt+Space with a title bar: the key that opens the title bar's menu.
  bool IsSystemMenuKey(const QKeyEvent* e) const;
  void ShowTooltip();
  void HideTooltip();
  // The cursor the control shows over its items; nullopt leaves it to the host.
  std::optional<QCursor> ClientCursor() const;
  // True when a column's text of the item is cut short of its next column.
  bool ItemClipped(int index) const;
  // The item's columns joined for the hover tooltip.
  QString ItemTooltipText(int index) const;
  // The text a design view shows.
  void SetDisplayName(const QString& name) { displayName_ = name; }

  // The automatic or own height of item i in pixels.
  int ItemHeight(int index) const;
  // The heights' container units anew from their pixels.
  void DeriveHeightUnits();
  // The units as set while they still give the stored pixels, else derived again.
  double HeightUnits(Dimension& d);
  // A height given in container units as the stored pixels; 0 stays 0.
  int16_t HeightPixels(double units) const { return int16_t(std::clamp(units_.ToPixelsY(units), 0, 32767)); }
  int ItemWidth(int index) const;
  void ComputeMaxWidth();

 protected:
  void paintEvent(QPaintEvent*) override;
  void resizeEvent(QResizeEvent*) override;
  void mousePressEvent(QMouseEvent*) override;
  void mouseReleaseEvent(QMouseEvent*) override;
  void mouseDoubleClickEvent(QMouseEvent*) override;
  void mouseMoveEvent(QMouseEvent*) override;
  void keyPressEvent(QKeyEvent*) override;
  void changeEvent(QEvent*) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  // ListBoxOwner
  int MeasureItem(int index) override;
  void DrawItem(QPainter& p, int index, const QRect& rect, int state, int action) override;
  QColor ListBackground() const override { return TranslateColor(backColor_); }
  void ListScrolled() override;
  void ListMouse(QEvent* event) override;
  bool ListKey(QEvent* event) override;

  // Items.
  DispResult AddItem(const QVariantList& args);
  DispResult RemoveItem(int index);
  void Clear();
  // After items went: no new index, the widest of the rest, the extent.
  void ItemsRemoved();
  DispResult SetListText(int index, const QString& text);
  DispResult SetListTabText(int index, int column, const QString& text);
  DispResult ReplaceListString(int index, const QString& text);
  // Puts an item's changed text into its list box string; on a refusal the
  // old text goes back unless the record went with the string.
  DispResult StoreItemText(int index, const QString& before, const QString& stored, int member);
  void SetValue(const QString& text);
  int16_t ItemFromPoint(double x, double y, const QVariant& nonClient) const;
  void ShrinkCheckForItem(int index);
  void GrowMaxWidthForItem(int index);
  void ApplyExtent();
  void RemeasureItem(int index, int height = 0);
  void RemeasureAllItems();
  int GetItemTextHeight(const ListItem& item) const;
  int GetItemPictureHeight(const ListItem& item) const;
  int PictureWidth(const ListItem& item) const;
  // The item's own picture, else the default one.
  const PicturePtr& ShownPicture(const ListItem& item) const {
    return item.GetPicture() ? item.GetPicture() : defPicture_;
  }
  int ColumnStart(int column) const { return column == 0 ? 2 : tabs_[column - 1]; }
  // Where column's text must end: kColumnGap before the next column that shows
  // a text or a picture; INT_MAX when none follows.
  int ColumnLimit(const ListItem& item, int column) const;
  // The item under a point of the list box window, -1 for none.
  int ItemAtViewport(QPoint p) const;
  bool HasColumn(int column) const { return column >= 0 && column < numTabs_; }
  int TabWidth(int column) const { return column == 0 ? tabs_[0] : tabs_[column] - tabs_[column - 1]; }
  void BuildDefPictureSelected();
  void BuildDefPictureNormal();
  void RebuildVariants(bool selected, bool normal);
  // The item's own picture recoloured for the selected and the normal background.
  void BuildItemVariants(ListItem& item, bool selected = true, bool normal = true) const;
  QFont ItemFont(const ListItem& item) const { return item.Font() ? *item.Font() : font_; }

  // Title bar, roll-up, drag.
  void SetRollUp(bool rollUp);
  // The roll button held down; its release over the button rolls.
  void PressRollButton(HitCode hit);
  void MakeSystemMenu();
  void Reframe();
  void PaintTitleBar(QPainter& p, QRect r, bool rolledUp, bool active) const;
  void PaintRollButton(QPainter& p, QRect r, bool rolledUp, bool pressed) const;
  void PaintSysBox(QPainter& p, QRect r, bool pressed) const;
  void SetCursorFromPointer();
  void ArmTooltip();
  QString TooltipText() const;
  void Changed(int dispId);
  void RepaintAll();

  // Stock properties.
  OleColor backColor_ = SystemColor(kColorWindow);
  OleColor foreColor_ = SystemColor(kColorWindowText);
  QFont font_;
  QString caption_;
  bool enabled_ = true;

  // Control state.
  int16_t borderEffect_ = 0;
  int16_t multiSelect_ = 0;
  bool screenUpdate_ = true;
  bool sort_ = false;
  bool noRedraw_ = false;
  bool dragWindow_ = true;
  std::array<int16_t, kMaxTabs> tabs_{};
  PicturePtr defPicture_;
  std::optional<QImage> defSelected_, defNormal_;
  OleColor picTransColor_ = 0xFFFFFF;
  OleColor selectedForeColor_ = SystemColor(kColorHighlightText);
  OleColor selectedBackColor_ = SystemColor(kColorHighlight);
  int16_t numTabs_ = 16;
  int16_t pictureTab_ = 0;
  Dimension tbarHeight_, defHeight_;
  int16_t newIndex_ = -1;
  bool userDraw_ = false, showTitle_ = true, rollUp_ = false, autoHorizExtent_ = true;
  std::vector<std::unique_ptr<ListItem>> items_;
  int heightBeforeRollUp_ = 0;
  int16_t maxWidth_ = 0;
  int16_t pendingWidth_ = -1;
  int pressState_ = 0;
  int16_t mousePointer_ = 0;
  PicturePtr mouseIcon_;
  UnitConverter units_;
  QString toolTip_ = "Tivolen";
  bool modified_ = false;
  QString displayName_ = "Tivolen";

  ListBoxView* list_ = nullptr;
  TivolenEvents* sink_ = nullptr;

  // Title bar interaction.
  bool menuShown_ = false;
  QMenu* sysMenu_ = nullptr;
  bool sysBoxPressed_ = false;
  bool rollPressed_ = false;
  bool trackingRoll_ = false;
  HitCode rollHit_ = HitCode::Nowhere;
  bool dragging_ = false;
  bool menuMove_ = false;
  QPoint dragOffset_;
  bool active_ = true;

  // Tooltip: 0 idle, 1 armed, 2 shown.
  int tooltipState_ = 0;
  QTimer tooltipTimer_;
  TooltipBox* tooltipBox_ = nullptr;
  QPoint lastMouseGlobal_;

  // Mouse state of the stock events.
  bool dblClickPending_ = false;
};

}  // namespace tivolen
