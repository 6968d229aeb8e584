#pragma once
// Components: named objects with an owner. Destroying a component destroys what it owns, last
// created first. Find-by-name is case-insensitive, as the platform's is. A component announces
// its destruction to the references that point to it (ui/Ref.h).

#include <memory>
#include <string>
#include <vector>

namespace ui {

class RefBase;

class Component {
 public:
  explicit Component(Component* owner, std::string name = {});
  virtual ~Component();
  Component(const Component&) = delete;
  Component& operator=(const Component&) = delete;

  const std::string& Name() const { return name_; }
  void SetName(std::string name) { name_ = std::move(name); }

  Component* Owner() const { return owner_; }
  // Owned components in creation order.
  const std::vector<Component*>& Components() const { return owned_; }
  int ComponentCount() const { return static_cast<int>(owned_.size()); }

  // A directly owned component by name (case-insensitive), or null.
  Component* FindComponent(const std::string& name) const;
  // Depth-first search over everything owned, directly or not (case-insensitive), or null.
  Component* FindDeep(const std::string& name) const;
  template <class T>
  T* FindDeepAs(const std::string& name) const {
    return dynamic_cast<T*>(FindDeep(name));
  }

  // Kind name for diagnostics and export ("TEdit", "TCheckBox", ...).
  virtual const char* ClassName() const { return "TComponent"; }

 protected:
  // Tells the references to this component that it goes (once; later calls do nothing) and
  // refuses new ones. The destructor does it; a class whose destructor does work that references
  // must not see half done calls it first.
  void AnnounceEnd();

 private:
  friend class RefBase;
  void Attach(Component* owner);
  void Detach();

  std::string name_;
  Component* owner_ = nullptr;
  std::vector<Component*> owned_;
  RefBase* refs_ = nullptr;  // references to this component, newest first
  bool ended_ = false;       // announced: no new references
  bool destroying_ = false;  // destroying what it owns: they need not leave the list
};

// ASCII-only case-insensitive equality, the way component names compare.
bool SameName(const std::string& a, const std::string& b);

}  // namespace ui
