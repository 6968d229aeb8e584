#include "app/BoundValues.h"

#include <algorithm>
#include <climits>

#include "settings/ControlHandle.h"
#include "ui/Component.h"
#include "ui/Controls.h"

namespace {

// The controls under root that an editor holds, depth-first in creation order.
void CollectBound(const ui::Component& root, std::vector<ui::Control*>& out) {
  for (ui::Component* c : root.Components()) {
    auto* control = dynamic_cast<ui::Control*>(c);
    if (control != nullptr && settings::HeldByEditor(*control)) out.push_back(control);
    CollectBound(*c, out);
  }
}

bool Overlap(int a0, int a1, int b0, int b1) {
  return a0 < b1 && b0 < a1;
}

// The label a user reads a control by: the nearest one on its left in the same row, and (for a
// control without a caption of its own, such as the check boxes of a table) the nearest one
// above it in the same column.
std::string CaptionOf(const ui::Control& c) {
  std::string own;
  if (dynamic_cast<const ui::CheckBox*>(&c) != nullptr ||
      dynamic_cast<const ui::RadioButton*>(&c) != nullptr)
    own = c.Text();
  const ui::Control* parent = c.Parent();
  const ui::Label* left = nullptr;
  const ui::Label* above = nullptr;
  if (parent != nullptr) {
    int leftGap = INT_MAX, aboveGap = INT_MAX;
    for (ui::Control* sibling : parent->Children()) {
      auto* label = dynamic_cast<const ui::Label*>(sibling);
      if (label == nullptr || label->Text().empty()) continue;
      const int right = label->Left() + label->Width();
      const int bottom = label->Top() + label->Height();
      if (right <= c.Left() + 2 && Overlap(label->Top(), bottom, c.Top(), c.Top() + c.Height()) &&
          c.Left() - right < leftGap) {
        leftGap = c.Left() - right;
        left = label;
      }
      if (bottom <= c.Top() + 2 && Overlap(label->Left(), right, c.Left(), c.Left() + c.Width()) &&
          c.Top() - bottom < aboveGap) {
        aboveGap = c.Top() - bottom;
        above = label;
      }
    }
  }
  std::string caption = own.empty() && left != nullptr ? left->Text() : own;
  if (own.empty() && above != nullptr && above != left)
    caption += (caption.empty() ? "" : " / ") + above->Text();
  if (caption.empty()) caption = c.Hint();
  // Accelerator marks are not part of what is read.
  std::string out;
  for (size_t i = 0; i < caption.size(); ++i) {
    if (caption[i] == '&' && i + 1 < caption.size()) ++i;
    out += caption[i];
  }
  return out;
}

}  // namespace

std::vector<ui::Control*> BoundControls(const ui::Component& root) {
  std::vector<ui::Control*> out;
  CollectBound(root, out);
  return out;
}

BoundValue ValueOfControl(const ui::Control& c) {
  BoundValue v;
  v.name = c.Name();
  v.caption = CaptionOf(c);
  if (auto* box = dynamic_cast<const ui::CheckBox*>(&c)) {
    if (box->State() == ui::CheckState::Grayed) {
      v.kind = BoundValue::Kind::Mixed;
      v.value = "mixed";
    } else {
      v.kind = BoundValue::Kind::Bool;
      v.value = box->Checked() ? "1" : "0";
    }
  } else if (auto* radio = dynamic_cast<const ui::RadioButton*>(&c)) {
    v.kind = BoundValue::Kind::Bool;
    v.value = radio->Checked() ? "1" : "0";
  } else {
    v.value = c.Text();
  }
  return v;
}

std::vector<BoundValue> BoundValues(const ui::Component& root) {
  std::vector<BoundValue> out;
  for (ui::Control* c : BoundControls(root)) out.push_back(ValueOfControl(*c));
  return out;
}

std::vector<ValueDifference> Differences(const std::vector<BoundValue>& a,
                                         const std::vector<BoundValue>& b) {
  std::vector<ValueDifference> out;
  auto find = [](const std::vector<BoundValue>& in, const std::string& name) {
    return std::find_if(in.begin(), in.end(),
                        [&](const BoundValue& v) { return ui::SameName(v.name, name); });
  };
  for (const BoundValue& va : a) {
    const auto vb = find(b, va.name);
    if (vb == b.end())
      out.push_back({va.name, va.caption, va.value, {}});
    else if (vb->value != va.value)
      out.push_back({va.name, va.caption, va.value, vb->value});
  }
  for (const BoundValue& vb : b)
    if (find(a, vb.name) == a.end()) out.push_back({vb.name, vb.caption, {}, vb.value});
  return out;
}
