#include "platform/ui/qt/window_factory.h"

#include <QDialog>
#include <QEvent>
#include <QEventLoop>

#include "platform/ui/qt/window_place.h"

namespace talvero {

namespace {

// Ends a local event loop when the watched window hides.
class HideWatcher : public QObject {
 public:
  HideWatcher(QWidget* w, QEventLoop* loop) : loop_(loop) { w->installEventFilter(this); }
  bool eventFilter(QObject*, QEvent* e) override {
    if (e->type() == QEvent::Hide || e->type() == QEvent::Close) loop_->quit();
    return false;
  }

 private:
  QEventLoop* loop_;
};

}  // namespace

void WindowFactory::PlaceFirstShowing(QWidget& w) const {
  // A window that placed itself keeps its place; the others open over the
  // main window. Either way wholly on the screen.
  if (w.isVisible() || w.testAttribute(Qt::WA_Moved)) return;
  if (!w.testAttribute(Qt::WA_Resized)) w.adjustSize();
  if (parent_ && parent_->isVisible()) CentreOver(w, *parent_);
  else CentreOnScreen(w);
}

void WindowFactory::Register(const std::string& name, Creator creator) {
  Destroy(name);
  entries_[name].creator = std::move(creator);
}

bool WindowFactory::IsRegistered(const std::string& name) const {
  return entries_.count(name) != 0;
}

QWidget* WindowFactory::Window(const std::string& name) {
  auto it = entries_.find(name);
  if (it == entries_.end() || !it->second.creator) return nullptr;
  if (!it->second.window) {
    QWidget* w = it->second.creator(parent_);
    if (w && !w->isWindow()) w->setWindowFlag(Qt::Window, true);
    it->second.window = w;
  }
  return it->second.window;
}

QWidget* WindowFactory::Existing(const std::string& name) const {
  auto it = entries_.find(name);
  return it == entries_.end() ? nullptr : it->second.window.data();
}

int WindowFactory::ShowModal(const std::string& name) {
  QWidget* w = Window(name);
  if (!w) return -1;
  if (auto* d = qobject_cast<QDialog*>(w)) {
    PlaceFirstShowing(*d);
    return d->exec();
  }
  QPointer<QWidget> guard(w);
  Qt::WindowModality before = w->windowModality();
  w->setWindowModality(Qt::ApplicationModal);
  PlaceFirstShowing(*w);
  QEventLoop loop;
  HideWatcher watcher(w, &loop);
  w->show();
  if (w->isVisible()) loop.exec();
  if (guard) {
    w->removeEventFilter(&watcher);
    w->setWindowModality(before);
  }
  return 0;
}

QWidget* WindowFactory::ShowModeless(const std::string& name) {
  QWidget* w = Window(name);
  if (!w) return nullptr;
  PlaceFirstShowing(*w);
  w->show();
  w->raise();
  w->activateWindow();
  return w;
}

void WindowFactory::Hide(const std::string& name) {
  if (QWidget* w = Existing(name)) w->hide();
}

bool WindowFactory::IsVisible(const std::string& name) const {
  QWidget* w = Existing(name);
  return w && w->isVisible();
}

void WindowFactory::Destroy(const std::string& name) {
  auto it = entries_.find(name);
  if (it != entries_.end() && it->second.window) {
    delete it->second.window.data();
    it->second.window = nullptr;
  }
}

void WindowFactory::DestroyAll() {
  for (const auto& entry : entries_) Destroy(entry.first);
}

WindowFactory& TheWindowFactory() {
  static WindowFactory factory;
  return factory;
}

}  // namespace talvero
