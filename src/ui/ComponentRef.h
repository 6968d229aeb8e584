#pragma once
// A pointer to a component that somebody else owns (usually a control of a window) and may
// destroy first. A small watch component owned by the target tells the reference when the target
// goes, so the reference then reads null instead of pointing to freed memory; when the reference
// goes first it takes its watch away. The reference never destroys its target.

#include "ui/Component.h"

namespace ui {

class ComponentRefBase {
 public:
  ComponentRefBase(const ComponentRefBase&) = delete;
  ComponentRefBase& operator=(const ComponentRefBase&) = delete;

  // Points to another component (or none); the old one is forgotten.
  void Reset(Component* target);

 protected:
  ComponentRefBase() = default;
  ~ComponentRefBase() { Reset(nullptr); }
  Component* Target() const { return target_; }

 private:
  class Watch;
  Component* target_ = nullptr;
  Watch* watch_ = nullptr;
};

template <class T>
class Ref : public ComponentRefBase {
 public:
  Ref() = default;
  explicit Ref(T* target) { Reset(target); }
  Ref& operator=(T* target) {
    Reset(target);
    return *this;
  }

  T* get() const { return static_cast<T*>(Target()); }
  T* operator->() const { return get(); }
  explicit operator bool() const { return Target() != nullptr; }
};

}  // namespace ui
