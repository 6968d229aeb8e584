// kx2init: the desktop program. For now it shows a stand-in main window built from the control
// model, so the Qt front end can be seen working; the program's real windows replace it.

#include <QApplication>
#include <QFont>
#include <memory>

#include "qt/QtFormView.h"
#include "qt/QtLoop.h"
#include "ui/Controls.h"
#include "ui/Form.h"
#include "ui/Menu.h"

namespace {

template <class T>
T* Place(ui::Control* parent, const char* name, const std::string& text, ui::Rect r) {
  auto* c = new T(parent->ParentForm(), name);
  c->SetParent(parent);
  c->SetBounds(r.left, r.top, r.width, r.height);
  c->SetText(text);
  return c;
}

ui::Form* BuildMainForm(ui::Application& app) {
  auto* form = new ui::Form(&app, "FormMain");
  form->SetCaption("KX2 Init");
  form->SetBounds(100, 100, 560, 420);

  auto* file = new ui::MenuItem(form, "MenuFile");
  file->SetCaption("&Soubor");
  auto* exit = new ui::MenuItem(form, "MenuFileExit", file);
  exit->SetCaption("&Konec");
  exit->OnClick = [form](ui::MenuItem&) { form->Close(); };

  auto* pages = Place<ui::PageControl>(form, "PageControl1", "", {8, 8, 536, 300});
  auto* general = Place<ui::TabSheet>(pages, "SheetGeneral", "Obecn\xE9", {});
  Place<ui::TabSheet>(pages, "SheetNumbers", "\xC8\xEDsla", {});
  Place<ui::Label>(general, "LabelStationName", "N\xE1zev stanice:", {12, 16, 100, 13});
  auto* name = Place<ui::Edit>(general, "EditStationName", "", {120, 12, 200, 21});
  name->SetMaxLength(16);
  auto* pin = Place<ui::CheckBox>(general, "CheckPINAuth", "Ov\xEC\xF8ovat PIN", {12, 48, 200, 17});
  pin->SetAllowGrayed(true);
  auto* port = Place<ui::ComboBox>(general, "ComboPort", "", {120, 80, 200, 21});
  port->SetItems({"/dev/ttyS0", "/dev/ttyUSB0"});
  port->SetItemIndex(0);

  auto* status = Place<ui::Label>(form, "LabComm", "", {8, 320, 536, 13});
  name->OnChange = [status](ui::Control& c) { status->SetText("N\xE1zev: " + c.Text()); };
  auto* close = Place<ui::Button>(form, "ButtonClose", "&Zav\xF8\xEDt", {464, 340, 80, 25});
  close->OnClick = [form](ui::Control&) { form->Close(); };
  return form;
}

}  // namespace

int main(int argc, char** argv) {
  QApplication qapp(argc, argv);
  // The model closes windows; Qt must not end the program on its own.
  QApplication::setQuitOnLastWindowClosed(false);
  // The windows are laid out for an 8-point sans-serif face at 96 pixels per inch.
  QFont font = QApplication::font();
  font.setPixelSize(11);
  QApplication::setFont(font);

  qtui::QtLoop loop;
  ui::Application app;
  app.SetTitle("KX2 Init");
  app.GetDesktop().SetWorkArea(qtui::ScreenWorkArea());

  ui::Form* form = BuildMainForm(app);
  auto view = std::make_unique<qtui::QtFormView>(*form);
  form->Show();
  const int rc = loop.Run();
  view.reset();
  return rc;
}
