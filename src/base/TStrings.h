#pragma once
// A list of strings with an optional owned object per entry, the shape the language and terminal
// components keep their named items in. The object is owned by its entry; ClearTStrings drops the
// objects while keeping the strings.

#include <cstddef>
#include <memory>
#include <string>
#include <utility>
#include <vector>

// Base of anything attached to an entry; deleted through this base.
class StringObject {
 public:
  virtual ~StringObject() = default;
};

struct TStringEntry {
  std::string text;
  std::unique_ptr<StringObject> object;
};

class TStringList {
 public:
  std::vector<TStringEntry> items;

  std::size_t Count() const { return items.size(); }
  // Appends an entry and returns its index.
  std::size_t Add(std::string text, std::unique_ptr<StringObject> object = nullptr) {
    items.push_back(TStringEntry{std::move(text), std::move(object)});
    return items.size() - 1;
  }
  const std::string& Strings(std::size_t index) const { return items.at(index).text; }
  StringObject* Objects(std::size_t index) const { return items.at(index).object.get(); }
  // Index of the first entry whose text equals `text` with ASCII letters compared without regard
  // to case; -1 when there is none.
  int IndexOf(const std::string& text) const;
  void Clear() { items.clear(); }
};
