#pragma once
// The one way to hold a component that somebody else owns and may destroy first (a control of a
// window, a window of the application, the language's combo box). A component announces its
// destruction once, to the references that point to it: each then reads null and, if it was given
// one, runs its OnGone handler. A reference never destroys its target; when the reference goes
// first it simply leaves the target's list.
//
// The same reference is the guard for code that may outlive its own object: a handler that runs
// something able to destroy `this` (a user's click that closes and frees the window, a modal
// message box or "process messages" pass in between) holds a Ref to itself and looks at it
// afterwards:
//     const ui::Ref<Control> self(this);
//     OnClick(*this);
//     if (!self) return;  // the handler destroyed us
//
// Toolkit objects that are not components use their toolkit's own (QPointer for Qt).

#include <functional>

namespace ui {

class Component;

class RefBase {
 public:
  RefBase(const RefBase& other) { Reset(other.target_); }
  RefBase& operator=(const RefBase& other) {
    Reset(other.target_);
    return *this;
  }

  // Points to another component (or none); the old one is forgotten. A component that is being
  // destroyed cannot be pointed to: the reference then reads null.
  void Reset(Component* target);

  // Runs each time the target is destroyed, after this reference reads null. The handler may
  // destroy or reset this reference. Copies of a reference do not take it.
  void OnGone(std::function<void()> gone) { gone_ = std::move(gone); }

 protected:
  RefBase() = default;
  ~RefBase() { Reset(nullptr); }
  Component* Target() const { return target_; }

 private:
  friend class Component;
  void Link();
  void Unlink();

  Component* target_ = nullptr;
  RefBase* prev_ = nullptr;
  RefBase* next_ = nullptr;
  std::function<void()> gone_;
};

template <class T>
class Ref : public RefBase {
 public:
  Ref() = default;
  Ref(T* target) { Reset(target); }  // NOLINT: converts like a pointer
  Ref& operator=(T* target) {
    Reset(target);
    return *this;
  }

  T* get() const { return static_cast<T*>(Target()); }
  T* operator->() const { return get(); }
  T& operator*() const { return *get(); }
  explicit operator bool() const { return Target() != nullptr; }
  bool operator==(const T* other) const { return get() == other; }
};

}  // namespace ui
