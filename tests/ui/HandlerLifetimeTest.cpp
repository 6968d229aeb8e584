#include <gtest/gtest.h>

#include <functional>

#include "common/TestLoop.h"
#include "ui/Controls.h"
#include "ui/EventLoop.h"
#include "ui/Form.h"
#include "ui/Ref.h"

using namespace ui;

namespace {

// A window whose own handlers free it while the user acts on it: each "user did" call must
// return without touching the freed controls or window (the address sanitizer watches), and
// whoever held the window by reference learns once that it went.
struct Window {
  Form* form;
  Edit* first;
  Edit* second;
  Button* ok;
};

TEST(HandlerLifetime, AWindowFreedInsideItsOwnHandlersLeavesNothingDangling) {
  struct Case {
    const char* what;
    std::function<void(Window&, std::function<void()>)> arm;  // installs the freeing handler
    std::function<void(Window&)> act;                         // what the user does
  };
  const Case cases[] = {
      {"a click that asks, then closes and frees the window",
       [](Window& w, auto free) {
         w.ok->OnClick = [free](Control&) {
           if (Loop().MessageBox("KX2 Init", "Close?", MB_YESNO | 0x20) == IDYES) free();
         };
       },
       [](Window& w) { w.ok->UserClick(); }},
      {"Enter clicks the default button, which frees the window",
       [](Window& w, auto free) { w.ok->OnClick = [free](Control&) { free(); }; },
       [](Window& w) { w.first->UserKey('\r'); }},
      {"leaving an edit frees the window while the focus moves on",
       [](Window& w, auto free) { w.first->OnExit = [free](Control&) { free(); }; },
       [](Window& w) { w.second->UserClick(); }},
      {"entering an edit by a click frees the window before the click",
       [](Window& w, auto free) { w.second->OnEnter = [free](Control&) { free(); }; },
       [](Window& w) { w.second->UserClick(); }},
      {"a key-down handler frees the window",
       [](Window& w, auto free) {
         w.first->OnKeyDown = [free](Control&, uint16_t&, unsigned) { free(); };
       },
       [](Window& w) { w.first->UserKeyDown(VK_DELETE); }},
      {"a key-press handler frees the window",
       [](Window& w, auto free) { w.first->OnKeyPress = [free](Control&, char&) { free(); }; },
       [](Window& w) { w.first->UserKey('x'); }},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    TestLoop loop;
    loop.AnswerNextBox(IDYES);
    Application app;
    Window w{new Form(&app, "FormTest"), nullptr, nullptr, nullptr};
    w.first = new Edit(w.form, "EditFirst");
    w.first->SetParent(w.form);
    w.second = new Edit(w.form, "EditSecond");
    w.second->SetParent(w.form);
    w.ok = new Button(w.form, "BtnOk");
    w.ok->SetParent(w.form);
    w.ok->SetDefault(true);
    w.form->Show();
    w.first->UserFocus();

    Ref<Form> held(w.form);
    int told = 0;
    held.OnGone([&] { ++told; });
    c.arm(w, [form = w.form] { delete form; });
    c.act(w);
    EXPECT_FALSE(held);
    EXPECT_EQ(told, 1);
  }
}

}  // namespace
