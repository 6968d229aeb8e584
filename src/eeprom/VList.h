#pragma once
// The program's ordered list of pointers. Whether a list owns its items is stated once, when it
// is built: an owning list deletes them when it is cleared or destroyed, last item first.
// Removing an item never deletes it; the item goes back to the caller. Because an item is taken
// out of the list before it is deleted, an item whose destructor unregisters itself from the same
// list (a dependant leaving its setting) is safe during clearing as well.

#include <cassert>
#include <cstddef>
#include <type_traits>
#include <vector>

enum class VListMode { NotOwning, Owning };

template <class T>
class VList {
  static_assert(std::is_pointer_v<T>, "VList holds pointers");

 public:
  explicit VList(VListMode mode) : owning_(mode == VListMode::Owning) {}
  ~VList() { Clear(); }
  VList(const VList&) = delete;
  VList& operator=(const VList&) = delete;

  bool Owning() const { return owning_; }
  int Count() const { return static_cast<int>(items_.size()); }
  bool IsEmpty() const { return items_.empty(); }

  // Appends at the end; returns the item's index.
  int Add(T item) {
    items_.push_back(item);
    return Count() - 1;
  }

  T operator[](int index) const { return At(index); }
  T At(int index) const {
    assert(index >= 0 && index < Count());
    return items_[static_cast<std::size_t>(index)];
  }

  // Index of the item, searching from the end (the latest entry wins); -1 when absent.
  int IndexOf(T item) const {
    for (int i = Count() - 1; i >= 0; --i)
      if (items_[static_cast<std::size_t>(i)] == item) return i;
    return -1;
  }
  bool Contains(T item) const { return IndexOf(item) >= 0; }

  // Takes the item at index out of the list; the last item moves into the gap, so the order of
  // the others is kept only up to that move. The item is returned, never deleted.
  T RemoveAt(int index) {
    assert(index >= 0 && index < Count());
    T item = items_[static_cast<std::size_t>(index)];
    items_[static_cast<std::size_t>(index)] = items_.back();
    items_.pop_back();
    return item;
  }
  // Takes the item out (see RemoveAt); false when it was not in the list.
  bool Remove(T item) {
    int index = IndexOf(item);
    if (index < 0) return false;
    RemoveAt(index);
    return true;
  }

  // Empties the list; an owning list deletes its items, last first.
  void Clear() {
    while (!items_.empty()) {
      T item = items_.back();
      items_.pop_back();
      if (owning_) delete item;
    }
  }

  auto begin() const { return items_.begin(); }
  auto end() const { return items_.end(); }

 private:
  std::vector<T> items_;
  bool owning_;
};
