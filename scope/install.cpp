#include "scope/install.h"

#include "mainwin/main_win.h"
#include "platform/ui/qt/window_factory.h"
#include "scope/scope.h"

namespace scope {

void Install(MainWin& main) {
  talvero::WindowFactory& wf = talvero::TheWindowFactory();
  wf.Register("Scope", [&main](QWidget* parent) -> QWidget* { return new Scope(main, parent); });
  main.ScopeNodeHook = [](int node) {
    if (auto* s = qobject_cast<Scope*>(talvero::TheWindowFactory().Window("Scope"))) s->Node = node;
  };
}

}  // namespace scope
