#include "reports/install.h"

#include "platform/ui/qt/window_factory.h"
#include "reports/print_app.h"

namespace reports {

void Install(MainWin& win) {
  talvero::TheWindowFactory().Register("PrintApp", [&win](QWidget* parent) { return new PrintApp(win, parent); });
}

}  // namespace reports
