#include "listbox/prop_page.h"

#include <utility>
#include <vector>

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QKeyEvent>
#include <QStyle>
#include <QVBoxLayout>

#include "listbox/defaults_store.h"
#include "listbox/help_topic.h"
#include "listbox/string_table.h"
#include "listbox/tivolen_ctrl.h"
#include "listbox/variant_args.h"

namespace tivolen {

namespace {

struct EnumEntry {
  long value;
  const char* name;
};

const EnumEntry kEnumMP[] = {
    {0, "_MP_DEFAULT"},   {1, "_MP_ARROW"},    {2, "_MP_CROSS"},     {3, "_MP_IBEAM"},
    {4, "_MP_ICON"},      {5, "_MP_SIZE"},     {6, "_MP_SIZENESW"},  {7, "_MP_SIZENS"},
    {8, "_MP_SIZENWSE"},  {9, "_MP_SIZEEW"},   {10, "_MP_UPARROW"},  {11, "_MP_HOURGLASS"},
    {12, "_MP_NODROP"},   {13, "_MP_APPSTARTING"}, {14, "_MP_SIZEALL"}, {99, "_MP_CUSTOM"}};
const EnumEntry kEnumMS[] = {{0, "_MS_SINGLE"}, {1, "_MS_MULTIPLE"}, {2, "_MS_EXTENDED"}};

// Control ids of the page.
enum : int {
  kIdSort = 205, kIdUserDraw = 206, kIdShowTitle = 207, kIdRollUp = 208, kIdNoRedraw = 209,
  kIdDragWindow = 210, kIdAutoHorizExtent = 214, kIdDefHeight = 219, kIdToolTip = 220,
  kIdTBarHeight = 221, kIdMousePointer = 222, kIdSaveDefault = 223, kIdResetDefault = 224,
  kIdAbout = 225, kIdMultiSelect = 226, kIdFontName = 227, kIdFontSize = 228, kIdHdnHeight = 233,
  kIdHdnWidth = 234, kIdFontBold = 235, kIdFontItalic = 236, kIdFontStrikethru = 237,
  kIdFontUnderline = 238, kIdEnabled = 239, kIdCaption = 240, kIdPictureTab = 242,
};

QString SevenDigits(double v) { return QString::number(v, 'g', 7); }

// The font fields and the object properties they go with.
const std::vector<std::pair<int, QString>>& FontFields() {
  static const std::vector<std::pair<int, QString>> fields = {
      {kIdFontName, "FontName"}, {kIdFontSize, "FontSize"}, {kIdFontBold, "FontBold"},
      {kIdFontItalic, "FontItalic"}, {kIdFontStrikethru, "FontStrikethru"}, {kIdFontUnderline, "FontUnderline"}};
  return fields;
}

}  // namespace

QStringList EnumLines(const char* enumName) {
  QStringList lines;
  auto add = [&](const auto& table) {
    for (const auto& e : table) lines << QString::asprintf("%ld - %s", e.value, e.name);
  };
  if (QString(enumName) == "enumMP") add(kEnumMP);
  else if (QString(enumName) == "enumMS") add(kEnumMS);
  return lines;
}

AboutDialog::AboutDialog(QWidget* parent) : QDialog(parent) {
  setWindowTitle("About Tivolen Custom Control");
  auto* layout = new QVBoxLayout(this);
  auto* top = new QHBoxLayout;
  auto* icon = new QLabel;
  icon->setPixmap(style()->standardIcon(QStyle::SP_MessageBoxInformation).pixmap(32, 32));
  top->addWidget(icon, 0, Qt::AlignTop);
  auto* grid = new QGridLayout;
  const char* rows[][2] = {{"Control:", "TIVOLE16/32.OCX"}, {"Version:", "4.30.000"}, {"Date:", "01/29/97"}};
  for (int i = 0; i < 3; ++i) {
    grid->addWidget(new QLabel(rows[i][0]), i, 0);
    grid->addWidget(new QLabel(rows[i][1]), i, 1);
  }
  top->addLayout(grid);
  layout->addLayout(top);
  auto* line = new QFrame;
  line->setFrameShape(QFrame::HLine);
  layout->addWidget(line);
  layout->addWidget(new QLabel("Valdrune\nPicture list box control\nQuestions: see the help file TIVOLE.HLP"));
  auto* line2 = new QFrame;
  line2->setFrameShape(QFrame::HLine);
  layout->addWidget(line2);
  auto* ok = new QPushButton("OK");
  ok->setDefault(true);
  connect(ok, &QPushButton::clicked, this, &QDialog::accept);
  layout->addWidget(ok, 0, Qt::AlignHCenter);
}

TivolenPropPage::TivolenPropPage(TivolenCtrl* control, QWidget* parent)
    : PropertyPage(control, kHelpContext, parent) {
  setWindowTitle(LoadString(101));
  setWhatsThis("Customize QX Picture List's properties");
  auto* layout = new QVBoxLayout(this);
  auto* form = new QFormLayout;
  auto edit = [&](int id, const char* label) {
    auto* e = new QLineEdit;
    edits_[id] = e;
    form->addRow(label, e);
    connect(e, &QLineEdit::textEdited, this, [this, id] { MarkChanged(id); });
  };
  auto combo = [&](int id, const char* label, const char* enumName) {
    auto* c = new QComboBox;
    combos_[id] = c;
    c->clear();
    c->addItems(EnumLines(enumName));
    form->addRow(label, c);
    connect(c, &QComboBox::activated, this, [this, id] { MarkChanged(id); });
  };
  edit(kIdTBarHeight, "T&BarHeight:");
  edit(kIdToolTip, "T&oolTip:");
  combo(kIdMousePointer, "Mouse&Pointer:", "enumMP");
  combo(kIdMultiSelect, "MultiS&elect:", "enumMS");
  edit(kIdCaption, "&Caption:");
  edit(kIdDefHeight, "Def&Height:");
  edit(kIdPictureTab, "&PictureTab:");
  layout->addLayout(form);
  auto* checks = new QGridLayout;
  const std::pair<int, const char*> boxes[] = {
      {kIdNoRedraw, "&NoRedraw"}, {kIdSort, "&Sort"}, {kIdDragWindow, "&DragWindow"},
      {kIdUserDraw, "&UserDraw"}, {kIdAutoHorizExtent, "&AutoHorizExtent"}, {kIdShowTitle, "S&howTitle"},
      {kIdEnabled, "&Enabled"}, {kIdRollUp, "&RollUp"}};
  int n = 0;
  for (const auto& [id, label] : boxes) {
    auto* c = new QCheckBox(label);
    checks_[id] = c;
    checks->addWidget(c, n / 2, n % 2);
    ++n;
    connect(c, &QCheckBox::clicked, this, [this, id = id] { MarkChanged(id); });
  }
  layout->addLayout(checks);
  // Hidden fields: the font and size the defaults file keeps.
  for (int id : {kIdFontName, kIdFontSize, kIdHdnHeight, kIdHdnWidth}) {
    auto* e = new QLineEdit(this);
    e->hide();
    edits_[id] = e;
  }
  for (int id : {kIdFontBold, kIdFontItalic, kIdFontStrikethru, kIdFontUnderline}) {
    auto* c = new QCheckBox(this);
    c->hide();
    checks_[id] = c;
  }
  auto* buttons = new QHBoxLayout;
  auto* save = new QPushButton("S&ave As Default");
  auto* reset = new QPushButton("Rese&t Default");
  auto* about = new QPushButton("A&bout...");
  buttons->addWidget(save);
  buttons->addWidget(reset);
  buttons->addWidget(about);
  layout->addLayout(buttons);
  connect(save, &QPushButton::clicked, this, [this] { SaveAsDefault(); });
  connect(reset, &QPushButton::clicked, this, [this] { ResetDefault(); });
  connect(about, &QPushButton::clicked, this, [this] {
    AboutDialog a(this);
    a.exec();
  });
  AddPageButtons(layout);
  // Initial page values, then the control's.
  edits_[kIdTBarHeight]->setText("0");
  edits_[kIdToolTip]->setText("Tivolen");
  edits_[kIdDefHeight]->setText("0");
  edits_[kIdPictureTab]->setText("0");
  edits_[kIdFontName]->setText("MS Sans Serif");
  edits_[kIdFontSize]->setText("8");
  edits_[kIdHdnHeight]->setText("0");
  edits_[kIdHdnWidth]->setText("0");
  // The font fields start as the defaults file has them, so saving the
  // defaults again keeps the font a new control gets.
  if (DefaultsStore* s = Module().store) {
    edits_[kIdFontName]->setText(s->GetString(kKeyFontName, "MS Sans Serif"));
    edits_[kIdFontSize]->setText(SevenDigits(s->GetFloat(kKeyFontSize, 8)));
    checks_[kIdFontBold]->setChecked(s->GetInt(kKeyFontBold, 0) != 0);
    checks_[kIdFontItalic]->setChecked(s->GetInt(kKeyFontItalic, 0) != 0);
    checks_[kIdFontUnderline]->setChecked(s->GetInt(kKeyFontUnderline, 0) != 0);
    checks_[kIdFontStrikethru]->setChecked(s->GetInt(kKeyFontStrikethru, 0) != 0);
  }
  LoadFromControl();
}

void TivolenPropPage::MarkChanged(int id) {
  if (loading_) return;
  changed_.insert(id);
  SetPageModified(true);
}

void TivolenPropPage::LoadFromControl() {
  loading_ = true;
  auto get = [&](int dispId) { return control_->GetProperty(dispId).value; };
  auto setCheck = [&](int id, int dispId) { checks_[id]->setChecked(AsBool(get(dispId)).value_or(false)); };
  setCheck(kIdEnabled, kDispEnabled);
  edits_[kIdCaption]->setText(get(kDispCaption).toString());
  setCheck(kIdAutoHorizExtent, kDispAutoHorizExtent);
  edits_[kIdDefHeight]->setText(SevenDigits(get(kDispDefHeight).toDouble()));
  setCheck(kIdDragWindow, kDispDragWindow);
  // The six font fields go with an object only when it has properties of
  // their names; the list control has a Font object instead, so they keep
  // what the page or the defaults file put there.
  for (const auto& [id, name] : FontFields()) {
    const int dispId = control_->DispIdOfName(name);
    if (dispId < 0) continue;
    const QVariant v = get(dispId);
    if (checks_.contains(id)) checks_[id]->setChecked(AsBool(v).value_or(false));
    else edits_[id]->setText(id == kIdFontSize ? SevenDigits(v.toDouble()) : v.toString());
  }
  setCheck(kIdNoRedraw, kDispNoRedraw);
  setCheck(kIdRollUp, kDispRollUp);
  setCheck(kIdShowTitle, kDispShowTitle);
  setCheck(kIdSort, kDispSort);
  edits_[kIdToolTip]->setText(get(kDispToolTip).toString());
  setCheck(kIdUserDraw, kDispUserDraw);
  edits_[kIdPictureTab]->setText(QString::number(get(kDispPictureTab).toInt()));
  edits_[kIdHdnHeight]->setText(QString::number(control_->width()));
  edits_[kIdHdnWidth]->setText(QString::number(control_->height()));
  edits_[kIdTBarHeight]->setText(SevenDigits(control_->GetProperty(kDispTBarHeight).value.toDouble()));
  combos_[kIdMousePointer]->setCurrentIndex(get(kDispMousePointer).toInt());
  combos_[kIdMultiSelect]->setCurrentIndex(get(kDispMultiSelect).toInt());
  changed_.clear();
  loading_ = false;
}

bool TivolenPropPage::Validate() {
  for (int id : {kIdTBarHeight, kIdDefHeight, kIdFontSize}) {
    bool ok = false;
    edits_[id]->text().trimmed().toDouble(&ok);
    if (!ok) {
      SetStatus("Enter a number.");
      edits_[id]->setFocus();
      return false;
    }
  }
  for (int id : {kIdPictureTab, kIdHdnHeight, kIdHdnWidth}) {
    bool ok = false;
    edits_[id]->text().trimmed().toInt(&ok);
    if (!ok) {
      SetStatus("Enter an integer.");
      edits_[id]->setFocus();
      return false;
    }
  }
  SetStatus(QString());
  return true;
}

bool TivolenPropPage::Apply() {
  if (!Validate()) return false;
  auto boolOf = [&](int id) { return BoolValue(checks_[id]->isChecked()); };
  const std::pair<int, int> order[] = {
      {kIdEnabled, kDispEnabled}, {kIdCaption, kDispCaption}, {kIdAutoHorizExtent, kDispAutoHorizExtent},
      {kIdDefHeight, kDispDefHeight}, {kIdDragWindow, kDispDragWindow}, {kIdNoRedraw, kDispNoRedraw},
      {kIdRollUp, kDispRollUp}, {kIdShowTitle, kDispShowTitle}, {kIdSort, kDispSort},
      {kIdToolTip, kDispToolTip}, {kIdUserDraw, kDispUserDraw}, {kIdPictureTab, kDispPictureTab},
      {kIdTBarHeight, kDispTBarHeight}, {kIdMousePointer, kDispMousePointer},
      {kIdMultiSelect, kDispMultiSelect}};
  for (const auto& [id, dispId] : order) {
    if (!changed_.contains(id)) continue;
    QVariant v;
    if (checks_.contains(id)) v = boolOf(id);
    else if (combos_.contains(id)) v = ShortValue(combos_[id]->currentIndex());
    else if (id == kIdDefHeight || id == kIdTBarHeight) v = FloatValue(edits_[id]->text().toDouble());
    else if (id == kIdPictureTab) v = ShortValue(edits_[id]->text().toInt());
    else v = edits_[id]->text();
    const DispResult r = control_->PutProperty(dispId, v);
    if (!r.ok()) {
      SetStatus(r.error->message);
      return false;
    }
    changed_.remove(id);
  }
  for (const auto& [id, name] : FontFields()) {
    if (!changed_.contains(id)) continue;
    changed_.remove(id);
    const int dispId = control_->DispIdOfName(name);
    if (dispId < 0) continue;
    const QVariant v = checks_.contains(id) ? boolOf(id) : QVariant(edits_[id]->text());
    if (const DispResult r = control_->PutProperty(dispId, v); !r.ok()) {
      SetStatus(r.error->message);
      return false;
    }
  }
  SetPageModified(false);
  return true;
}

bool TivolenPropPage::SaveAsDefault() {
  if (!Validate()) return false;
  DefaultsStore* s = Module().store;
  if (s) {
    auto flag = [&](int id) { return checks_[id]->isChecked() ? 1 : 0; };
    bool written = true;
    written &= s->WriteInt(kKeySort, flag(kIdSort));
    written &= s->WriteInt(kKeyMultiSelect, combos_[kIdMultiSelect]->currentIndex());
    written &= s->WriteInt(kKeyPictureTab, edits_[kIdPictureTab]->text().toInt());
    written &= s->WriteInt(kKeyUserDraw, flag(kIdUserDraw));
    written &= s->WriteInt(kKeyShowTitle, flag(kIdShowTitle));
    written &= s->WriteInt(kKeyAutoHorizExtent, flag(kIdAutoHorizExtent));
    written &= s->WriteInt(kKeyNoRedraw, flag(kIdNoRedraw));
    written &= s->WriteInt(kKeyDragWindow, flag(kIdDragWindow));
    written &= s->WriteInt(kKeyMousePointer, combos_[kIdMousePointer]->currentIndex());
    // Kept in pixels, the unit a new control reads it in.
    written &= s->WriteInt(kKeyTBarHeight, control_->Units().ToPixelsY(edits_[kIdTBarHeight]->text().toDouble()));
    // The size a new control starts with.
    written &= s->WriteInt(kKeyWidth, edits_[kIdHdnHeight]->text().toInt());
    written &= s->WriteInt(kKeyHeight, edits_[kIdHdnWidth]->text().toInt());
    written &= s->WriteString(kKeyFontName, edits_[kIdFontName]->text());
    written &= s->WriteFloat(kKeyFontSize, edits_[kIdFontSize]->text().toDouble());
    written &= s->WriteInt(kKeyFontBold, flag(kIdFontBold));
    written &= s->WriteInt(kKeyFontItalic, flag(kIdFontItalic));
    written &= s->WriteInt(kKeyFontUnderline, flag(kIdFontUnderline));
    written &= s->WriteInt(kKeyFontStrikethru, flag(kIdFontStrikethru));
    if (!written) {
      SetStatus("The defaults could not be written to " + s->Path() + ".");
      return false;
    }
  }
  SetPageModified(false);
  return true;
}

void TivolenPropPage::ResetDefault() {
  DefaultsStore* s = Module().store;
  if (!s || !s->DeleteSection()) return;
  loading_ = true;
  combos_[kIdMousePointer]->setCurrentIndex(0);
  combos_[kIdMultiSelect]->setCurrentIndex(0);
  for (int id : {kIdSort, kIdUserDraw, kIdNoRedraw, kIdFontBold, kIdFontItalic, kIdFontStrikethru, kIdFontUnderline})
    checks_[id]->setChecked(false);
  for (int id : {kIdShowTitle, kIdAutoHorizExtent, kIdDragWindow}) checks_[id]->setChecked(true);
  edits_[kIdPictureTab]->setText("0");
  edits_[kIdFontName]->setText("MS Sans Serif");
  edits_[kIdFontSize]->setText(SevenDigits(8));
  edits_[kIdTBarHeight]->setText(SevenDigits(0));
  loading_ = false;
  for (int id : {kIdMousePointer, kIdFontName, kIdFontSize, kIdFontBold, kIdFontItalic, kIdFontUnderline,
                 kIdFontStrikethru, kIdMultiSelect, kIdSort, kIdUserDraw, kIdShowTitle, kIdAutoHorizExtent,
                 kIdNoRedraw, kIdDragWindow, kIdPictureTab, kIdTBarHeight})
    changed_.insert(id);
  Validate();
  SetPageModified(false);
}

}  // namespace tivolen
