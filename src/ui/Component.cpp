#include "ui/Component.h"

#include <algorithm>

#include "ui/Ref.h"

namespace ui {

bool SameName(const std::string& a, const std::string& b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i) {
    char x = a[i], y = b[i];
    if (x >= 'a' && x <= 'z') x = static_cast<char>(x - 32);
    if (y >= 'a' && y <= 'z') y = static_cast<char>(y - 32);
    if (x != y) return false;
  }
  return true;
}

Component::Component(Component* owner, std::string name) : name_(std::move(name)) {
  Attach(owner);
}

Component::~Component() {
  AnnounceEnd();
  destroying_ = true;
  // Last created first, as the platform destroys owned components.
  while (!owned_.empty()) {
    Component* child = owned_.back();
    owned_.pop_back();
    child->owner_ = nullptr;
    delete child;
  }
  Detach();
}

void Component::Attach(Component* owner) {
  owner_ = owner;
  if (owner_ != nullptr) owner_->owned_.push_back(this);
}

void Component::Detach() {
  if (owner_ == nullptr) return;
  if (!owner_->destroying_) {
    auto& list = owner_->owned_;
    list.erase(std::remove(list.begin(), list.end(), this), list.end());
  }
  owner_ = nullptr;
}

Component* Component::FindComponent(const std::string& name) const {
  if (name.empty()) return nullptr;
  for (Component* c : owned_)
    if (SameName(c->Name(), name)) return c;
  return nullptr;
}

Component* Component::FindDeep(const std::string& name) const {
  if (name.empty()) return nullptr;
  for (Component* c : owned_) {
    if (SameName(c->Name(), name)) return c;
    if (Component* found = c->FindDeep(name)) return found;
  }
  return nullptr;
}

}  // namespace ui
