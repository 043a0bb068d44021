#include "mainwin/about.h"

#include <QDialogButtonBox>
#include <QLabel>
#include <QPushButton>
#include <QStyle>
#include <QVBoxLayout>

#include "platform/ui/qt/plain_text.h"

About::About(QWidget* parent, const std::string& mainTitle, const std::string& versionText)
    : QDialog(parent) {
  setObjectName("About");
  setWindowTitle(talvero::ToQ("About " + mainTitle));  // About_Form_Load
  auto* name = new QLabel(talvero::ToQ(mainTitle), this);
  QFont f = name->font();
  f.setPointSize(f.pointSize() + 8);
  f.setBold(true);
  name->setFont(f);
  AM = new QLabel(this);
  AM->setObjectName("AM");
  talvero::SetPlainText(AM, "Talvero motion tools\nCommissioning, programming and tuning\n"
                            "of servo and stepper drives on one serial line.");
  SI = new QLabel(this);
  SI->setObjectName("SI");
  talvero::SetPlainText(SI, versionText);
  auto* ok = new QDialogButtonBox(QDialogButtonBox::Ok, this);
  connect(ok, &QDialogButtonBox::accepted, this, &QDialog::accept);
  auto* lay = new QVBoxLayout(this);
  lay->setContentsMargins(24, 20, 24, 16);
  lay->addWidget(name);
  lay->addWidget(SI);
  lay->addSpacing(10);
  lay->addWidget(AM);
  lay->addSpacing(10);
  lay->addWidget(ok);
  setFixedSize(sizeHint());
}
