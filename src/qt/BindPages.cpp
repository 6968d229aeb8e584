// A page control is a tab widget; each of its tab sheets is one of its pages.
#include <QPointer>
#include <QTabBar>
#include <QTabWidget>

#include "qt/Binding.h"
#include "qt/QtFormView.h"
#include "qt/QtText.h"
#include "ui/Controls.h"

namespace qtui {

namespace {

class PageControlBinding : public Binding {
 public:
  using Binding::Binding;

  void Connect() override {
    QTabWidget* tabs = Tabs();
    QtFormView* view = &view_;
    QObject::connect(tabs, &QTabWidget::currentChanged, view, [view, tabs](int index) {
      ui::Control* owner = OwnerOf(view, tabs->widget(index));
      if (owner == nullptr) return;
      auto* sheet = dynamic_cast<ui::TabSheet*>(owner);
      Act(view, tabs,
          [sheet](ui::Control& c) { static_cast<ui::PageControl&>(c).UserSelectPage(sheet); });
    });
  }

  void Apply(ui::Prop what) override {
    if (what == ui::Prop::PageOrder)
      ApplyPageOrder();
    else if (what == ui::Prop::ActivePage)
      ApplyActivePage();
    else
      Binding::Apply(what);
  }

  QTabWidget* Tabs() const override { return static_cast<QTabWidget*>(widget_); }

 protected:
  QWidget* Make(QWidget* container) override { return new QTabWidget(container); }

 private:
  const ui::PageControl& Model() const { return static_cast<const ui::PageControl&>(control_); }

  void ApplyPageOrder() {
    QTabWidget* tabs = Tabs();
    int position = 0;
    for (ui::TabSheet* sheet : Model().Pages()) {
      const Binding* page = BindingOf(sheet);
      if (page == nullptr) continue;
      const int index = tabs->indexOf(page->Widget());
      if (index < 0) continue;
      if (index != position) tabs->tabBar()->moveTab(index, position);
      ++position;
    }
    ApplyActivePage();
  }

  void ApplyActivePage() {
    QTabWidget* tabs = Tabs();
    const Binding* page = BindingOf(Model().ActivePage());
    if (page == nullptr) return;
    const int index = tabs->indexOf(page->Widget());
    if (index >= 0 && tabs->currentIndex() != index) tabs->setCurrentIndex(index);
  }
};

// A page of its page control's tab widget, which shows, hides and places it.
class TabSheetBinding : public Binding {
 public:
  using Binding::Binding;

  void Apply(ui::Prop what) override {
    switch (what) {
      case ui::Prop::Text:
        if (const int index = Index(); index >= 0) tabs_->setTabText(index, ToQt(control_.Text()));
        break;
      case ui::Prop::Visible:
      case ui::Prop::Bounds:
        break;
      case ui::Prop::PageOrder:
        Pages(ui::Prop::PageOrder);
        break;
      case ui::Prop::TabVisible:
        if (const int index = Index(); index >= 0)
          tabs_->setTabVisible(index, static_cast<const ui::TabSheet&>(control_).TabVisible());
        Pages(ui::Prop::ActivePage);
        break;
      default:
        Binding::Apply(what);
    }
  }

  void Removing() override {
    if (const int index = Index(); index >= 0) tabs_->removeTab(index);
  }

 protected:
  QWidget* Make(QWidget* container) override {
    tabs_ = static_cast<QTabWidget*>(container);
    auto* page = new QWidget;
    tabs_->addTab(page, ToQt(control_.Text()));
    return page;
  }

 private:
  int Index() const { return tabs_ != nullptr ? tabs_->indexOf(widget_) : -1; }
  // The page control shows what its pages' order and visibility make of it.
  void Pages(ui::Prop what) {
    if (Binding* pages = BindingOf(control_.Parent())) pages->Apply(what);
  }

  QPointer<QTabWidget> tabs_;
};

}  // namespace

std::unique_ptr<Binding> BindPageControl(QtFormView& view, ui::Control& control) {
  return std::make_unique<PageControlBinding>(view, control);
}

std::unique_ptr<Binding> BindTabSheet(QtFormView& view, ui::Control& control) {
  return std::make_unique<TabSheetBinding>(view, control);
}

}  // namespace qtui
