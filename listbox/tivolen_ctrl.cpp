#include "listbox/tivolen_ctrl.h"

#include <QApplication>
#include <QFocusEvent>
#include <QMenu>
#include <QPainter>
#include <QScreen>

#include "listbox/defaults_store.h"
#include "listbox/legacy_faces.h"
#include "listbox/tooltip_box.h"

namespace tivolen {

namespace {

UnitConverter ScreenUnits() {
  const QScreen* s = QGuiApplication::primaryScreen();
  if (!s) return UnitConverter(96, 96);
  return UnitConverter(int(s->logicalDotsPerInchX() + 0.5), int(s->logicalDotsPerInchY() + 0.5));
}

// Horizontal dialog base unit: the system font's average character width.
int DialogBaseUnitX(int dpiX) { return 8 * dpiX / 96; }

// A stop every eight dialog base units.
void DefaultTabStops(std::array<int16_t, TivolenCtrl::kMaxTabs>& tabs, int dpiX) {
  for (int i = 0; i < TivolenCtrl::kMaxTabs; ++i) tabs[i] = int16_t((i + 1) * 8 * DialogBaseUnitX(dpiX));
}

int ClampMode(int v, int lo, int hi, int def) { return v < lo || v > hi ? def : v; }

}  // namespace

TivolenCtrl::TivolenCtrl(QWidget* parent) : QWidget(parent), units_(ScreenUnits()) {
  InstallLegacyFaces();
  font_ = QFont("MS Sans Serif");
  font_.setStyleHint(QFont::SansSerif);
  font_.setPointSizeF(8);
  setFont(font_);
  setMouseTracking(true);
  setAttribute(Qt::WA_OpaquePaintEvent);
  tooltipTimer_.setSingleShot(true);
  tooltipTimer_.setInterval(1000);
  connect(&tooltipTimer_, &QTimer::timeout, this, [this] { ShowTooltip(); });
  QSize size(200, 150);
  if (DefaultsStore* store = Module().store) {
    const int w = store->GetInt(kKeyWidth, 0), h = store->GetInt(kKeyHeight, 0);
    if (w > 0 && h > 0) size = QSize(w, h);
  }
  resize(size);
  DefaultTabStops(tabs_, units_.DpiX());
}

TivolenCtrl::~TivolenCtrl() {
  delete tooltipBox_;
  delete sysMenu_;
}

void TivolenCtrl::ResetToDefaults() {
  toolTip_ = "Tivolen";
  items_.clear();
  if (list_) list_->ResetContent();
  backColor_ = SystemColor(kColorWindow);
  foreColor_ = SystemColor(kColorWindowText);
  enabled_ = true;
  caption_.clear();
  borderEffect_ = 0;
  multiSelect_ = 0;
  screenUpdate_ = true;
  sort_ = noRedraw_ = false;
  dragWindow_ = true;
  numTabs_ = 16;
  pictureTab_ = 0;
  tbarHeight_ = defHeight_ = {};
  picTransColor_ = 0xFFFFFF;
  selectedForeColor_ = SystemColor(kColorHighlightText);
  selectedBackColor_ = SystemColor(kColorHighlight);
  userDraw_ = false;
  showTitle_ = true;
  rollUp_ = false;
  autoHorizExtent_ = true;
  mousePointer_ = 0;
  mouseIcon_.reset();
  defPicture_.reset();
  if (DefaultsStore* s = Module().store) {
    backColor_ = s->GetLong(kKeyBackColor, backColor_);
    foreColor_ = s->GetLong(kKeyForeColor, foreColor_);
    borderEffect_ = int16_t(s->GetInt(kKeyBorderEffect, 0));
    // Values outside their range would index past the tab stops or the modes.
    multiSelect_ = int16_t(ClampMode(s->GetInt(kKeyMultiSelect, 0), 0, 2, 0));
    screenUpdate_ = s->GetInt(kKeyScreenUpdate, 1) != 0;
    sort_ = s->GetInt(kKeySort, 0) != 0;
    noRedraw_ = s->GetInt(kKeyNoRedraw, 0) != 0;
    numTabs_ = int16_t(ClampMode(s->GetInt(kKeyNumTabs, 16), 0, kMaxTabs, 16));
    pictureTab_ = int16_t(ClampMode(s->GetInt(kKeyPictureTab, 0), 0, kMaxTabs, 0));
    tbarHeight_.pixels = int16_t(std::clamp(s->GetInt(kKeyTBarHeight, 0), 0, 32767));
    picTransColor_ = s->GetLong(kKeyPicTransColor, picTransColor_);
    selectedForeColor_ = s->GetLong(kKeySelectedForeColor, selectedForeColor_);
    selectedBackColor_ = s->GetLong(kKeySelectedBackColor, selectedBackColor_);
    userDraw_ = s->GetInt(kKeyUserDraw, 0) != 0;
    showTitle_ = s->GetInt(kKeyShowTitle, 1) != 0;
    rollUp_ = s->GetInt(kKeyRollUp, 0) != 0;
    autoHorizExtent_ = s->GetInt(kKeyAutoHorizExtent, 1) != 0;
    defHeight_.pixels = int16_t(std::clamp(s->GetInt(kKeyDefHeight, 0), 0, 32767));
    dragWindow_ = s->GetInt(kKeyDragWindow, 1) != 0;
    mousePointer_ = int16_t(ClampMode(s->GetInt(kKeyMousePointer, 0), 0, 15, 0));
    // The font the property page saves as default.
    const QString face = s->GetString(kKeyFontName, QString());
    if (!face.isEmpty()) {
      font_.setFamily(face);
      const double size = s->GetFloat(kKeyFontSize, 8.0);
      if (size > 0) font_.setPointSizeF(size);
      font_.setBold(s->GetInt(kKeyFontBold, 0) != 0);
      font_.setItalic(s->GetInt(kKeyFontItalic, 0) != 0);
      font_.setUnderline(s->GetInt(kKeyFontUnderline, 0) != 0);
      font_.setStrikeOut(s->GetInt(kKeyFontStrikethru, 0) != 0);
      setFont(font_);
    }
  }
  DeriveHeightUnits();
  newIndex_ = -1;
  maxWidth_ = 0;
  DefaultTabStops(tabs_, units_.DpiX());
  BuildDefPictureSelected();
  BuildDefPictureNormal();
  update();
}

void TivolenCtrl::CreateListWindow() {
  if (list_) return;
  const auto mode = multiSelect_ == 1   ? ListBoxView::Mode::Multiple
                    : multiSelect_ == 2 ? ListBoxView::Mode::Extended
                                        : ListBoxView::Mode::Single;
  list_ = new ListBoxView(this, mode, this);
  list_->viewport()->installEventFilter(this);
  list_->installEventFilter(this);
  list_->SetRedraw(false);
  for (int i = 0; i < int(items_.size()); ++i) list_->InsertString(i, items_[i]->FullText());
  list_->SetRedraw(!noRedraw_);
  list_->setEnabled(enabled_);
  if (showTitle_) MakeSystemMenu();
  if (autoHorizExtent_) {
    ComputeMaxWidth();
    list_->SetHorizontalExtent(maxWidth_);
  }
  tooltipState_ = pressState_ = 0;
  list_->setGeometry(ClientRect());
  list_->show();
  SetCursorFromPointer();
  if (rollUp_) {
    rollUp_ = false;
    SetRollUp(true);
  }
}

// The title bar's menu: the window menu without its separator and Close.
void TivolenCtrl::MakeSystemMenu() {
  if (sysMenu_) return;
  sysMenu_ = new QMenu(this);
  sysMenu_->addAction("&Restore")->setEnabled(false);
  connect(sysMenu_->addAction("&Move"), &QAction::triggered, this, [this] { SendSysCommand(kScMove); });
  sysMenu_->addAction("&Size")->setEnabled(false);
  connect(sysMenu_->addAction("Mi&nimize"), &QAction::triggered, this, [this] { SendSysCommand(kScMinimize); });
  connect(sysMenu_->addAction("Ma&ximize"), &QAction::triggered, this, [this] { SendSysCommand(kScMaximize); });
  connect(sysMenu_, &QMenu::aboutToHide, this, [this] {
    sysBoxPressed_ = false;
    if (!SysBoxRect().contains(mapFromGlobal(QCursor::pos()))) menuShown_ = false;
    update();
  });
}

void TivolenCtrl::SetContainerUnitsPerInch(double unitsPerInch) {
  units_.SetContainerUnitsPerInch(unitsPerInch);
  DeriveHeightUnits();
  emit PropertyChanged(kDispTBarHeight);
  emit PropertyChanged(kDispDefHeight);
}

void TivolenCtrl::DeriveHeightUnits() {
  tbarHeight_.units = units_.ToUnitsY(tbarHeight_.pixels);
  defHeight_.units = units_.ToUnitsY(defHeight_.pixels);
}

double TivolenCtrl::HeightUnits(Dimension& d) {
  if (units_.ToPixelsY(d.units) != d.pixels) d.units = units_.ToUnitsY(d.pixels);
  return d.units;
}

void TivolenCtrl::Load(const PropertyBag& bag) {
  QVariant v;
  auto readInt = [&](const char* key, int def) { return bag.Read(key, v) ? v.toInt() : def; };
  auto readBool = [&](const char* key, bool def) { return bag.Read(key, v) ? v.toInt() != 0 || v.toBool() : def; };
  auto readColor = [&](const char* key, OleColor def) { return bag.Read(key, v) ? OleColor(v.toLongLong()) : def; };
  auto readPicture = [&](const char* key) -> PicturePtr {
    if (!bag.Read(key, v)) return Picture::None();
    if (v.canConvert<PicturePtr>()) {
      auto p = v.value<PicturePtr>();
      if (p) return p;
    }
    return Picture::None();  // a stream error gives an empty picture
  };
  backColor_ = readColor("BackColor", SystemColor(kColorWindow));
  foreColor_ = readColor("ForeColor", SystemColor(kColorWindowText));
  enabled_ = readBool("Enabled", true);
  if (bag.Read("Caption", v)) caption_ = v.toString();
  if (bag.Read("Font", v) && v.canConvert<QFont>()) {
    font_ = v.value<QFont>();
    setFont(font_);
  }
  borderEffect_ = int16_t(readInt("BorderEffect", 0));
  multiSelect_ = int16_t(ClampMode(readInt("MultiSelect", 0), 0, 2, 0));
  screenUpdate_ = readBool("ScreenUpdate", true);
  sort_ = readBool("Sort", false);
  noRedraw_ = readBool("NoRedraw", false);
  dragWindow_ = readBool("DragWindow", true);
  numTabs_ = int16_t(ClampMode(readInt("NumTabs", 16), 0, kMaxTabs, 16));
  pictureTab_ = int16_t(ClampMode(readInt("PictureTab", 0), 0, kMaxTabs, 0));
  tbarHeight_.pixels = int16_t(std::clamp(readInt("TBarHeight", 0), 0, 32767));
  defHeight_.pixels = int16_t(std::clamp(readInt("DefHeight", 0), 0, 32767));
  picTransColor_ = readColor("PicTransColor", 0xFFFFFF);
  selectedForeColor_ = readColor("SelectedForeColor", SystemColor(kColorHighlightText));
  selectedBackColor_ = readColor("SelectedBackColor", SystemColor(kColorHighlight));
  userDraw_ = readBool("UserDraw", false);
  showTitle_ = readBool("ShowTitle", true);
  rollUp_ = readBool("RollUp", false);
  autoHorizExtent_ = readBool("AutoHorizExtent", true);
  maxWidth_ = int16_t(readInt("MaxWidth", maxWidth_));
  toolTip_ = bag.Read("ToolTip", v) ? v.toString() : QString("Tivolen");
  mousePointer_ = int16_t(ClampMode(readInt("MousePointer", 0), 0, 15, 0));
  mouseIcon_ = readPicture("MouseIcon");
  for (int i = 0; i < kMaxTabs; ++i)
    tabs_[i] = int16_t(readInt(QString::asprintf("TabStop%d", i).toLatin1().constData(), tabs_[i]));
  defPicture_ = readPicture("DefPicture");
  DeriveHeightUnits();
  if (!enabled_ && list_) list_->setEnabled(false);
  BuildDefPictureSelected();
  BuildDefPictureNormal();
  Reframe();
  update();
}

void TivolenCtrl::Save(PropertyBag& bag) const {
  bag.Write("BackColor", qlonglong(backColor_));
  bag.Write("ForeColor", qlonglong(foreColor_));
  bag.Write("Enabled", enabled_);
  bag.Write("Caption", caption_);
  bag.Write("Font", font_);
  bag.Write("BorderEffect", int(borderEffect_));
  bag.Write("MultiSelect", int(multiSelect_));
  bag.Write("ScreenUpdate", screenUpdate_);
  bag.Write("Sort", sort_);
  bag.Write("NoRedraw", noRedraw_);
  bag.Write("DragWindow", dragWindow_);
  bag.Write("NumTabs", int(numTabs_));
  bag.Write("PictureTab", int(pictureTab_));
  bag.Write("TBarHeight", int(tbarHeight_.pixels));
  bag.Write("DefHeight", int(defHeight_.pixels));
  bag.Write("PicTransColor", qlonglong(picTransColor_));
  bag.Write("SelectedForeColor", qlonglong(selectedForeColor_));
  bag.Write("SelectedBackColor", qlonglong(selectedBackColor_));
  bag.Write("UserDraw", userDraw_);
  bag.Write("ShowTitle", showTitle_);
  bag.Write("RollUp", rollUp_);
  bag.Write("AutoHorizExtent", autoHorizExtent_);
  bag.Write("MaxWidth", int(maxWidth_));
  bag.Write("ToolTip", toolTip_);
  bag.Write("MousePointer", int(mousePointer_));
  bag.Write("MouseIcon", QVariant::fromValue(mouseIcon_ ? mouseIcon_ : Picture::None()));
  for (int i = 0; i < kMaxTabs; ++i) bag.Write(QString::asprintf("TabStop%d", i), int(tabs_[i]));
  bag.Write("DefPicture", QVariant::fromValue(defPicture_ ? defPicture_ : Picture::None()));
}

void TivolenCtrl::Changed(int dispId) {
  modified_ = true;
  emit PropertyChanged(dispId);
}

void TivolenCtrl::RepaintAll() {
  update();
  if (list_) list_->Invalidate();
}

// Geometry ---------------------------------------------------------------

int TivolenCtrl::SystemCaptionHeight() { return 18; }

int TivolenCtrl::TitleHeight() const {
  return tbarHeight_.pixels ? tbarHeight_.pixels : SystemCaptionHeight();
}

QRect TivolenCtrl::TitleRect() const {
  if (!showTitle_) return {};
  return QRect(kBorder, kBorder, std::max(0, width() - 2 * kBorder), TitleHeight() - 1);
}

QRect TivolenCtrl::SysBoxRect() const {
  const QRect t = TitleRect();
  if (t.isEmpty()) return {};
  const int h = TitleHeight();
  return QRect(t.left(), t.top(), h - 2, t.height() - 1);
}

QRect TivolenCtrl::RollButtonRect() const {
  const QRect t = TitleRect();
  if (t.isEmpty()) return {};
  const int h = TitleHeight();
  const int right = t.left() + t.width();  // exclusive
  return QRect(right - h + 2, t.top(), h - 2, t.height() - 1);
}

QRect TivolenCtrl::ClientRect() const {
  const int top = kBorder + (showTitle_ ? TitleHeight() - 1 : 0);
  return QRect(kBorder, top, std::max(0, width() - 2 * kBorder), std::max(0, height() - top - kBorder));
}

HitCode TivolenCtrl::HitTest(QPoint p) const {
  if (!rect().contains(p)) return HitCode::Nowhere;
  if (showTitle_ && TitleRect().contains(p)) {
    if (SysBoxRect().contains(p)) return HitCode::SysMenu;
    if (RollButtonRect().contains(p)) return rollUp_ ? HitCode::MinButton : HitCode::MaxButton;
    return HitCode::Caption;
  }
  if (ClientRect().contains(p)) return HitCode::Client;
  return HitCode::Border;
}

void TivolenCtrl::resizeEvent(QResizeEvent* e) {
  QWidget::resizeEvent(e);
  if (list_) list_->setGeometry(ClientRect());
}

void TivolenCtrl::Reframe() {
  if (list_) list_->setGeometry(ClientRect());
  update();
}

// Painting -----------------------------------------------------------------

void TivolenCtrl::paintEvent(QPaintEvent*) {
  QPainter p(this);
  const QColor frame = TranslateColor(SystemColor(kColorWindowFrame));
  if (!list_) {
    // Design view: no list box window yet.
    p.fillRect(rect(), Qt::white);
    const int top = showTitle_ ? TitleHeight() : 0;
    if (showTitle_) PaintTitleBar(p, QRect(kBorder, kBorder, width() - 2 * kBorder, top), rollUp_, true);
    p.setPen(frame);
    p.drawRect(rect().adjusted(0, 0, -1, -1));
    p.setFont(font_);
    p.setPen(Qt::black);
    p.drawText(QPoint(2, top + 2 + QFontMetrics(font_).ascent()), displayName_);
    return;
  }
  p.fillRect(rect(), TranslateColor(backColor_));
  p.setPen(frame);
  p.drawRect(rect().adjusted(0, 0, -1, -1));
  if (showTitle_) PaintTitleBar(p, TitleRect(), rollUp_, enabled_ && active_);
}

void TivolenCtrl::changeEvent(QEvent* e) {
  if (e->type() == QEvent::ActivationChange) {
    active_ = isActiveWindow();
    if (showTitle_) update(TitleRect());
  }
  QWidget::changeEvent(e);
}

}  // namespace tivolen
