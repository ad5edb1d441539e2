// Growable array of texts, the framework's string array. Entry points and the
// host hand it across module boundaries by pointer; every module is built by
// the same compiler with the same runtime, so its layout is shared.
#pragma once

#include <cstddef>
#include <vector>

#include "framework/text.h"

namespace zu {

class TextArray {
 public:
  // Appends and returns the new element's index.
  int Add(const Text& text) {
    items_.push_back(text);
    return static_cast<int>(items_.size()) - 1;
  }
  int GetSize() const { return static_cast<int>(items_.size()); }
  // Element `index`; the caller keeps `index` within 0 .. GetSize() - 1.
  const Text& GetAt(int index) const { return items_.at(static_cast<std::size_t>(index)); }
  Text& operator[](int index) { return items_.at(static_cast<std::size_t>(index)); }
  void RemoveAll() { items_.clear(); }

  auto begin() const { return items_.begin(); }
  auto end() const { return items_.end(); }

 private:
  std::vector<Text> items_;
};

}  // namespace zu
