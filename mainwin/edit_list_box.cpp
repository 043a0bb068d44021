#include "mainwin/edit_list_box.h"

#include <QEvent>

#include "mainwin/list_control_library.h"
#include "mainwin/qt_edit_list.h"
#include "mainwin/tivolen_edit_list.h"
#include "platform/ui/prompter.h"

EditListBox::EditListBox(QWidget* parent, const std::string& library)
    : EditListBox(parent, library, MainListProperties()) {
  setObjectName("EditList");
}

EditListBox::EditListBox(QWidget* parent, const std::string& library,
                         tivolen::MemoryPropertyBag properties)
    : QWidget(parent), bag_(std::move(properties)) {
  const ListControlLibrary lib = LoadListControl(library);
  tivolen::ITivolen* ctrl = lib.factory ? lib.factory->CreateInstance(this, &bag_) : nullptr;
  if (ctrl) {
    auto view = std::make_unique<TivolenEditList>(ctrl);
    control_ = view.get();
    surface_ = view->Widget();
    view_ = std::move(view);
  } else {
    const std::string reason = lib.factory ? "its factory made no control" : lib.reason;
    talvero::ThePrompter().Message(
        {"The list control could not be loaded from " + lib.path + ": " + reason +
             ".\nThe lists are shown in plain form.",
         "Talvero", talvero::Buttons::Ok, talvero::Icon::Exclamation, 0});
    auto plain = std::make_unique<QtEditList>(this);
    plain->setObjectName("EditListPlain");
    QVariant multi;
    if (bag_.Read("MultiSelect", multi) && multi.toInt() == tivolen::QX_SINGLE)
      plain->setSelectionMode(QAbstractItemView::SingleSelection);
    surface_ = plain.get();
    view_ = std::move(plain);
  }
  surface_->setGeometry(rect());
  surface_->show();
}

// Members go before the frame's children, so the control is released here,
// still whole.
EditListBox::~EditListBox() = default;

tivolen::ITivolen* EditListBox::Control() const { return control_ ? &control_->Control() : nullptr; }

void EditListBox::resizeEvent(QResizeEvent* e) {
  QWidget::resizeEvent(e);
  if (surface_) surface_->setGeometry(rect());
}

void EditListBox::changeEvent(QEvent* e) {
  QWidget::changeEvent(e);
  if (e->type() == QEvent::FontChange && view_ && testAttribute(Qt::WA_SetFont))
    view_->SetFontSize(font().pointSizeF());
}
