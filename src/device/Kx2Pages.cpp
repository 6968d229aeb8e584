#include "device/Kx2Pages.h"

#include "ui/Controls.h"

namespace kx2 {

RowMaker::RowMaker(ui::Component* window, ui::Control* page) : window_(window), page_(page) {
  if (page_ == nullptr) page_ = dynamic_cast<ui::Control*>(window);
}

ui::Label* RowMaker::Label(const std::string& name, int left, int top, int width, int height,
                           const std::string& caption) {
  // The control model has no automatic sizing to switch off and no vertical text layout: a label
  // keeps the bounds it is given, which is what the rows need.
  auto* label = new ui::Label(window_, name);
  label->SetBounds(left, top, width, height);
  label->SetCaption(caption);
  label->SetParent(page_);
  return label;
}

ui::Edit* RowMaker::Edit(const std::string& name, int left, int top, int width, int height) {
  auto* edit = new ui::Edit(window_, name);
  edit->SetBounds(left, top, width, height);
  edit->SetParent(page_);
  return edit;
}

ui::CheckBox* RowMaker::Check(const std::string& name, int left, int top, const std::string& hint) {
  auto* check = new ui::CheckBox(window_, name);
  check->SetBounds(left, top, kCheckSize, kCheckSize);
  check->SetCaption("");
  if (!hint.empty()) check->SetHint(hint);
  check->SetParent(page_);
  return check;
}

}  // namespace kx2
