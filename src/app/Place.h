#pragma once
// Building a window's resource: a control owned by its window, placed on a parent.

#include <string>

#include "ui/Form.h"

template <class T>
T* Place(ui::Form* form, ui::Control* parent, const char* name, int left, int top, int width,
         int height, const std::string& caption = {}) {
  auto* c = new T(form, name);
  c->SetBounds(left, top, width, height);
  if (!caption.empty()) c->SetText(caption);
  c->SetParent(parent);
  return c;
}
