// The colour page: pick a colour property, then a system colour (kept as
// the control stores it, 0x800000nn), a palette colour or a typed value.
#include <QComboBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPainter>
#include <QVBoxLayout>

#include "listbox/stock_pages.h"
#include "listbox/tivolen_ctrl.h"

namespace tivolen {
namespace {

const PageProperty kColorProperties[] = {{"BackColor", kDispBackColor},
                                         {"ForeColor", kDispForeColor},
                                         {"PicTransColor", kDispPicTransColor},
                                         {"SelectedBackColor", kDispSelectedBackColor},
                                         {"SelectedForeColor", kDispSelectedForeColor}};

QIcon Swatch(OleColor c) {
  QPixmap pm(16, 12);
  pm.fill(TranslateColor(c));
  QPainter p(&pm);
  p.setPen(Qt::black);
  p.drawRect(0, 0, 15, 11);
  return QIcon(pm);
}

}  // namespace

const std::vector<NamedColor>& SystemColorNames() {
  static const std::vector<NamedColor> names = {
      {"Scroll Bars", SystemColor(0)},         {"Desktop", SystemColor(1)},
      {"Active Title Bar", SystemColor(2)},    {"Inactive Title Bar", SystemColor(3)},
      {"Menu Bar", SystemColor(4)},            {"Window Background", SystemColor(5)},
      {"Window Frame", SystemColor(6)},        {"Menu Text", SystemColor(7)},
      {"Window Text", SystemColor(8)},         {"Active Title Bar Text", SystemColor(9)},
      {"Active Border", SystemColor(10)},      {"Inactive Border", SystemColor(11)},
      {"Application Workspace", SystemColor(12)}, {"Highlight", SystemColor(13)},
      {"Highlight Text", SystemColor(14)},     {"Button Face", SystemColor(15)},
      {"Button Shadow", SystemColor(16)},      {"Disabled Text", SystemColor(17)},
      {"Button Text", SystemColor(18)},        {"Inactive Title Bar Text", SystemColor(19)},
      {"Button Highlight", SystemColor(20)},   {"Button Dark Shadow", SystemColor(21)},
      {"Button Light Shadow", SystemColor(22)}, {"ToolTip Text", SystemColor(23)},
      {"ToolTip", SystemColor(24)}};
  return names;
}

const std::vector<NamedColor>& PaletteColors() {
  static const std::vector<NamedColor> colors = {
      {"Black", 0x000000},  {"Maroon", 0x000080}, {"Green", 0x008000},   {"Olive", 0x008080},
      {"Navy", 0x800000},   {"Purple", 0x800080}, {"Teal", 0x808000},    {"Gray", 0x808080},
      {"Silver", 0xC0C0C0}, {"Red", 0x0000FF},    {"Lime", 0x00FF00},    {"Yellow", 0x00FFFF},
      {"Blue", 0xFF0000},   {"Fuchsia", 0xFF00FF}, {"Aqua", 0xFFFF00},   {"White", 0xFFFFFF}};
  return colors;
}

ColorPropPage::ColorPropPage(TivolenCtrl* control, QWidget* parent) : PropertyPage(control, kHelpContext, parent) {
  setWindowTitle("Colors");
  auto* layout = new QVBoxLayout(this);
  auto* form = new QFormLayout;
  property_ = new QComboBox;
  for (const PageProperty& p : kColorProperties) property_->addItem(p.name, p.dispId);
  form->addRow("&Property Name:", property_);
  system_ = new QComboBox;
  system_->addItem("(none)", QVariant());
  for (const NamedColor& c : SystemColorNames()) system_->addItem(Swatch(c.value), c.name, c.value);
  form->addRow("S&ystem Color:", system_);
  auto* valueRow = new QHBoxLayout;
  value_ = new QLineEdit;
  swatch_ = new QLabel;
  swatch_->setFixedSize(40, 20);
  swatch_->setFrameShape(QFrame::Box);
  swatch_->setAutoFillBackground(true);
  valueRow->addWidget(value_, 1);
  valueRow->addWidget(swatch_);
  auto* valueLabel = new QLabel("&Value:");
  valueLabel->setBuddy(value_);
  form->addRow(valueLabel, valueRow);
  layout->addLayout(form);
  auto* paletteLabel = new QLabel("Color &Palette:");
  palette_ = new QListWidget;
  paletteLabel->setBuddy(palette_);
  palette_->setViewMode(QListView::ListMode);
  palette_->setFlow(QListView::LeftToRight);
  palette_->setWrapping(true);
  palette_->setResizeMode(QListView::Adjust);
  palette_->setGridSize(QSize(96, 22));
  for (const NamedColor& c : PaletteColors()) {
    auto* item = new QListWidgetItem(Swatch(c.value), c.name, palette_);
    item->setData(Qt::UserRole, c.value);
  }
  layout->addWidget(paletteLabel);
  layout->addWidget(palette_, 1);
  AddPageButtons(layout);
  connect(property_, &QComboBox::currentIndexChanged, this, [this] { ShowProperty(); });
  connect(system_, &QComboBox::activated, this, [this](int i) {
    if (system_->itemData(i).isValid()) Choose(OleColor(system_->itemData(i).toUInt()));
  });
  connect(palette_, &QListWidget::itemClicked, this,
          [this](QListWidgetItem* item) { Choose(OleColor(item->data(Qt::UserRole).toUInt())); });
  connect(value_, &QLineEdit::textEdited, this, [this](const QString& text) {
    const int id = property_->currentData().toInt();
    if (!typed_) beforeTyping_ = pending_.value(id);
    typed_ = true;
    // A prefix may be a colour of its own ("0x800000" on the way to
    // "0x800000FF"): a text that is none keeps the colour typing began from.
    const OleColor c = ParseOleColor(text).color.value_or(beforeTyping_);
    pending_[id] = c;
    changed_[id] = true;
    loading_ = true;
    ShowColor(c);
    loading_ = false;
    // Typing that is no colour is a change too: Apply says why it is refused.
    SetPageModified(true);
  });
  LoadFromControl();
}

void ColorPropPage::LoadFromControl() {
  pending_.clear();
  changed_.clear();
  for (const PageProperty& p : kColorProperties)
    pending_[p.dispId] = OleColor(control_->GetProperty(p.dispId).value.toLongLong());
  ShowProperty();
  SetStatus(QString());
  SetPageModified(false);
}

OleColor ColorPropPage::Chosen() const { return pending_.value(property_->currentData().toInt()); }

void ColorPropPage::ShowProperty() { ShowColor(Chosen()); }

void ColorPropPage::ShowColor(OleColor c) {
  const int system = system_->findData(c);
  system_->setCurrentIndex(system >= 0 ? system : 0);
  palette_->clearSelection();
  for (int i = 0; i < palette_->count(); ++i)
    if (OleColor(palette_->item(i)->data(Qt::UserRole).toUInt()) == c) palette_->item(i)->setSelected(true);
  if (!loading_) {
    value_->setText(OleColorText(c));
    typed_ = false;
  }
  QPalette pal = swatch_->palette();
  pal.setColor(QPalette::Window, TranslateColor(c));
  swatch_->setPalette(pal);
}

void ColorPropPage::Choose(OleColor color) {
  const int id = property_->currentData().toInt();
  pending_[id] = color;
  changed_[id] = true;
  ShowColor(color);
  SetPageModified(true);
}

bool ColorPropPage::Apply() {
  // Only what the user typed is checked: a host's colour shown unchanged is not.
  if (const ParsedColor typed = ParseOleColor(value_->text()); typed_ && !typed.color) {
    SetStatus(typed.error);
    value_->setFocus();
    return false;
  }
  return WriteChanged(kColorProperties, changed_, property_,
                      [this](int id) { return QVariant::fromValue<uint>(pending_[id]); });
}

}  // namespace tivolen
